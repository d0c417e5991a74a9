#pragma once
#include <QMetaObject>

#include <optional>

class Document;

// Where a document's text has changed since it was last asked: the lowest
// byte position of every insertion and deletion, whichever view, step, undo
// or load made it. For readers that keep what they learnt of the text up to
// some position (the page's markup at the caret). Hearing of a change costs
// a comparison; nothing of the changed text is copied.
class EditWatch {
public:
    explicit EditWatch(const Document& document);
    ~EditWatch();
    EditWatch(const EditWatch&) = delete;
    EditWatch& operator=(const EditWatch&) = delete;

    // The lowest position changed since the last call; none when nothing was.
    std::optional<long> takeChangedFrom();

private:
    QMetaObject::Connection m_connection;
    std::optional<long> m_changedFrom;
};

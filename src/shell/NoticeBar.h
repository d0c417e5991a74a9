#pragma once
#include <QStringList>
#include <QWidget>
#include <functional>

class QVBoxLayout;

// Notices at the top of the main window, above the text: a message and a
// few buttons each, several stacked at once. A notice never takes the
// keyboard from the text and never waits for an answer; the text stays
// usable while it is shown.
class NoticeBar : public QWidget {
    Q_OBJECT
public:
    // Told the index of the button clicked, or -1 when the notice was closed.
    using Answer = std::function<void(int button)>;

    explicit NoticeBar(QWidget* parent = nullptr);

    // Shows the notice with this id, or puts new text and buttons into the
    // one shown already (it keeps its place). A click on a button or the
    // close button hides the notice, then answers.
    void showNotice(const QString& id, const QString& text, const QStringList& buttons, Answer onAnswer = {});
    void hideNotice(const QString& id);

    bool hasNotice(const QString& id) const;
    QString noticeText(const QString& id) const;
    QStringList noticeIds() const;

signals:
    // A notice that was not shown before appeared.
    void noticeShown(const QString& id);

private:
    struct Notice;
    Notice* find(const QString& id) const;
    void answer(const QString& id, int button);

    QVBoxLayout* m_layout = nullptr;
    QList<Notice*> m_notices;
};

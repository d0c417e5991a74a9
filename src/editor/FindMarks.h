#pragma once
#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

class RichTextBox;

// The occurrences of a searched text in what the view shows, marked with
// their own indicator (MarkIds::kFindMatch): a light box under the text that
// never touches the text, the selection, the undo history or the bytes. Only
// the lines on screen are looked at (and of a very long line only the part
// in view), again after each scroll, resize, edit or caret move, so a
// 20 MB page costs what a short one does. What counts as an occurrence is
// the finder's to say; the view only shows the answer.
class FindMarks : public QObject {
    Q_OBJECT
public:
    // Byte offsets into the document's UTF-8 text.
    struct Range {
        long start = 0;
        long end = 0;
        friend bool operator==(const Range&, const Range&) = default;
    };
    // The occurrences that overlap the bytes [from, to), in order.
    using Finder = std::function<QList<Range>(long from, long to)>;

    explicit FindMarks(RichTextBox& view, QObject* parent = nullptr);
    // The marks go with it.
    ~FindMarks() override;

    // Marks what the finder finds on screen, now and after every change of
    // what is shown; no finder takes every mark away.
    void setFinder(Finder finder);
    // Looks again at once (the finder's rules changed).
    void refresh();

    // The bytes on screen: runs of whole lines, a long line cut to the part
    // in view.
    QList<Range> visibleBytes() const;
    // The ranges marked now, in the whole document.
    QList<Range> marked() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refreshSoon();
    QList<Range> markedIn(long from, long to) const;
    void clearAll();

    RichTextBox& m_view;
    // The view may go first, when the window that holds it closes.
    QPointer<RichTextBox> m_viewAlive;
    Finder m_finder;
    bool m_pending = false;
};

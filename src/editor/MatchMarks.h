#pragma once
#include "html/HtmlOutline.h"

#include <QObject>
#include <QTimer>
#include <utility>
#include <vector>

class PageOutline;
class RichTextBox;

// What the view shows around the caret, never changing the text: the line
// the caret is on has a calm background; a bracket beside the caret and the
// bracket it pairs with are highlighted; in pages and XML, the names in the
// start and end tag of the element around the caret are boxed. While the
// view is disabled the caret line goes, as the caret does.
//
// The marks follow the caret a moment after it moves (moves in quick
// succession are looked at once). After an edit in a document above a
// megabyte the tags wait until typing pauses: finding the end tag of an
// element that spans the whole page reads on to its end, once per edit.
class MatchMarks : public QObject {
    Q_OBJECT
public:
    // Documents up to this size have their tags matched right after every
    // edit too.
    static constexpr long kQuickBytes = 1024 * 1024;
    static constexpr int kTypingPauseMs = 250;
    // How far either way from a bracket its partner is looked for.
    static constexpr long kBracketReach = 1024 * 1024;

    MatchMarks(RichTextBox& box, PageOutline& outline, QObject* parent = nullptr);

    // The bracket highlighted and its partner, as byte positions; -1 when
    // none is.
    std::pair<long, long> brackets() const { return {m_bracket, m_partner}; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onUpdate(int updated);
    void onTextChanged();
    void followCaret();
    void markBrackets(long caret);
    void markTags(long caret);
    void restyle();
    void showCaretLine();

    RichTextBox& m_box;
    PageOutline& m_outline;
    QTimer m_soon;
    QTimer m_pause;
    long m_caret = -1;
    // The text changed: the tags wait for a pause in a large document, and
    // the marks already made may stand elsewhere now.
    bool m_edited = false;
    bool m_bracketsMoved = false;
    bool m_tagsMoved = false;
    long m_bracket = -1;
    long m_partner = -1;
    std::vector<Html::ByteRange> m_tags;
};

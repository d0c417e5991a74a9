#pragma once
#include "html/HtmlElementPath.h"
#include "html/HtmlOutline.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <optional>
#include <vector>

class BrowserView;
class QWidget;
class RichTextBox;

// The preview follows the caret: in every browser view that shows the
// document, the element that holds the caret is outlined, and scrolled into
// view when it is out of sight; a click on an element there puts the caret
// on its start tag in the text.
//
// The previewed file is never touched. The element is found by its path in
// the page's tree, worked out from the text (HtmlOutline) and followed by a
// script of the editor's own in the page, which marks the element and
// draws the outline with a style sheet it gives the page in memory. The
// page is loaded again on every change of a live preview: the script goes
// into each load with the path of the moment, so the outline is there when
// the page first shows, and the page asks for the path once it is ready.
// Where the path names no element (a page a script builds, server code),
// nothing is outlined.
class CaretFollower : public QObject {
    Q_OBJECT
public:
    // How long a burst of caret moves is gathered before the page is told.
    static constexpr int kDelayMs = 30;

    explicit CaretFollower(RichTextBox& pad, QObject* parent = nullptr);
    ~CaretFollower() override;

    // Off: no outline in any view and no work on caret moves or edits.
    void setEnabled(bool on);
    bool isEnabled() const { return m_enabled; }

    // The view shows (or is about to show) the document: it follows the
    // caret from its next load on, and now.
    void follow(BrowserView* view);
    // The view no longer shows the document: its outline goes.
    void release(BrowserView* view);

private:
    struct Followed {
        BrowserView* view;
        QPointer<QWidget> widget;   // gone with the view
    };

    bool active() const;
    void schedule();
    void edited(long fromByte);
    void update();
    void tell(BrowserView* view, bool scroll);
    void received(BrowserView* view, const QString& message);
    void clicked(const QByteArray& json);
    void forget(Followed& followed);
    std::vector<Followed>::iterator find(BrowserView* view);
    QString pageScript() const;

    RichTextBox& m_pad;
    bool m_enabled = true;
    std::vector<Followed> m_views;
    // Kept only while some view follows: what the markup means at the caret.
    std::optional<HtmlOutline> m_outline;
    // The document's size when its last edit was told to m_outline: another
    // size means an edit whose news is still on its way.
    long m_toldLength = -1;
    QTimer m_delay;
    // The path outlined, as the page's script takes it ("null": none).
    QByteArray m_pathJson = "null";
    // Where a click in the page put the caret, and the element clicked: the
    // caret stands before the element's start tag, where by the text it is
    // in the parent, but the clicked element stays outlined until the caret
    // or the text moves on.
    struct Click {
        long caret;
        Html::ElementPath path;
    };
    std::optional<Click> m_click;
};

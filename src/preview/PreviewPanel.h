#pragma once
#include "preview/PreviewSurface.h"

#include <QPointer>

// The preview beside the text: a browser in the main window, right of the
// text (where it goes is the main window's choice; see
// PreviewController::setBesideText). The keyboard stays with the text: the
// page may not take it (a field that asks for the focus as it loads, a
// script); only a click into the page does.
class PreviewPanel : public PreviewSurface {
    Q_OBJECT
public:
    // A panel with its browser, hidden and without a place yet; fails when
    // the browser engine cannot be started. keyboardHome is where the
    // keyboard goes back to.
    static Result<PreviewPanel*> create(QWidget* keyboardHome);

private:
    explicit PreviewPanel(QWidget* keyboardHome);
    void focusMoved(QWidget* from, QWidget* to);

    QPointer<QWidget> m_keyboardHome;
};

#pragma once

class QWidget;

// An owned window in the desktop's sense: it stays above its owner and goes
// with it, yet is no child widget of it. A child window would take the
// owner's enabled state, and the main window is disabled while some tool
// windows are open; an owned window stays usable then.
namespace OwnedWindow {

// Makes owner the owner of window (a top-level widget); nullptr makes it a
// window of its own. Works before and after the window is first shown.
void setOwner(QWidget* window, QWidget* owner);

// The owner set above, or nullptr.
QWidget* owner(const QWidget* window);

}

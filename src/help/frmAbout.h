#pragma once
#include <QWidget>

class Shell;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

// The About window: version and maker, a plea for support, the computer's
// name and the current user, and the release notes. It has no OK or Close
// button; the close box closes it, and it is deleted then. Owned by the
// given window (stays above it) without being its child, so it stays usable
// while the owner is disabled.
class frmAbout : public QWidget {
    Q_OBJECT
public:
    frmAbout(Shell& shell, QWidget* owner);

    // "Current user:": $USER, else $LOGNAME, else "".
    static QString currentUser();

private:
    QWidget* buildAboutTab();
    QWidget* buildSupportTab();
    QWidget* buildSystemTab();
    QWidget* buildWhatsNewTab();

    Shell& m_shell;
};

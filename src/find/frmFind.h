#pragma once
#include <QPointer>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class FindSession;
class Prompts;
class RichTextBox;

// The Find/Replace window: a small window owned by the main window, kept
// above it while both stay usable. The Find tab searches the pad for a text
// without regard to case, one occurrence per press; the Replace tab replaces
// every occurrence at once, with regard to case. The window keeps no state
// of its own besides its controls: each search starts from the pad's
// selection as it is at that moment. It deletes itself when closed, so every
// opening starts with empty fields and "Right".
//
// With a session, the Find tab's text and direction are kept there as they
// change (for F3 and the marks of the other occurrences, while the window
// is open), and F3 here is Find Next.
class frmFind : public QWidget {
    Q_OBJECT
public:
    frmFind(RichTextBox* pad, Prompts& prompts, QWidget* owner, FindSession* session = nullptr);
    ~frmFind() override;

    // One search from the pad's selection, in the chosen direction; selects
    // the occurrence or says it cannot be found. Run by "Find Next" and Enter.
    void FindNext();
    // Replaces every occurrence of the Replace tab's text in the whole pad.
    void ReplaceAll();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void focusPad();
    void tellSession();

    QPointer<RichTextBox> m_pad;
    QPointer<FindSession> m_session;
    Prompts& m_prompts;

    QTabWidget* tabFindReplace;
    QLabel* lblFind;
    QLineEdit* txtFind;
    QLabel* lblDirection;
    QComboBox* cboDirection;
    QPushButton* cmdFind;
    QLabel* lblFind_Rep;
    QLineEdit* txtFind_Rep;
    QLabel* lblReplace;
    QLineEdit* txtReplace;
    QPushButton* cmdReplace;
};

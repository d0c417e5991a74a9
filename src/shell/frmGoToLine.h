#pragma once
#include <QPointer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class RichTextBox;

// Go to Line: a small box that takes a line number, or a line and a column
// ("12:5", both counted from 1, the column in characters), and moves the
// pad's caret there, the view following it, and the keyboard back to the
// text. Text that names no line of the document is told in lblProblem and
// the box stays open to be put right. It opens with the caret's line typed
// and selected; Go (or Enter) goes, Cancel closes it.
class frmGoToLine : public QWidget {
    Q_OBJECT
public:
    frmGoToLine(RichTextBox& pad, QWidget* owner);

    // What Go does: true when the caret moved and the box closed.
    bool go();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    QPointer<RichTextBox> m_pad;
    QLabel* lblLine;
    QLineEdit* txtLine;
    QLabel* lblProblem;
    QPushButton* cmdGo;
    QPushButton* cmdCancel;
};

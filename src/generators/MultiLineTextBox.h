#pragma once
#include <QPlainTextEdit>

// A multi-line text box of the generator windows. It asks for a few lines of
// room rather than the large area a scroll area asks for, and grows with its
// window like any other.
class MultiLineTextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MultiLineTextBox(int lines, QWidget* parent = nullptr);

    // The text with CR LF line breaks and every other character as typed.
    // (The box's own plain text would turn a no-break space into a space.)
    QString crlfText() const;

    QSize sizeHint() const override;

private:
    int m_lines;
};

#include "generators/MultiLineTextBox.h"

#include <QTextDocument>

MultiLineTextBox::MultiLineTextBox(int lines, QWidget* parent) : QPlainTextEdit(parent), m_lines(lines)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab moves on to the next control, as in any other box of a dialog.
    setTabChangesFocus(true);
}

QString MultiLineTextBox::crlfText() const
{
    const QString raw = document()->toRawText();
    // Enter ends a paragraph, Shift+Enter a line: both are line breaks.
    QString out;
    out.reserve(raw.size() + raw.size() / 16);
    for (const QChar c : raw) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            out += QStringLiteral("\r\n");
        else
            out += c;
    }
    return out;
}

QSize MultiLineTextBox::sizeHint() const
{
    const QSize hint = QPlainTextEdit::sizeHint();
    const int margins = contentsMargins().top() + contentsMargins().bottom() +
                        int(document()->documentMargin() * 2) + frameWidth() * 2;
    return {hint.width(), fontMetrics().lineSpacing() * m_lines + margins};
}

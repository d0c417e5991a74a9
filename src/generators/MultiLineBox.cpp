#include "generators/MultiLineBox.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace MultiLineBox {

QString text(const QPlainTextEdit* box)
{
    QString raw = box->document()->toRawText();
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

}

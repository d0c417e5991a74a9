#pragma once
#include <QByteArrayView>
#include <QString>

// How a document's characters are stored in its file: the encoding, whether a
// byte-order mark leads the file, and the line-break style that text the
// editor inserts should follow. A document is written back exactly in the
// format it was read in, so that an untouched file stays byte for byte the same.
enum class Encoding { Utf8, Utf16LE, Utf16BE, Cp1252 };
enum class LineBreak { CrLf, Lf, Cr };

struct TextFormat {
    Encoding encoding = Encoding::Utf8;
    bool bom = false;
    LineBreak lineBreak = LineBreak::CrLf;

    // New documents: UTF-8 without a byte-order mark, CR LF line breaks.
    static TextFormat forNewDocument() { return {}; }

    QString encodingName() const;
    QString lineBreakName() const;
    friend bool operator==(const TextFormat&, const TextFormat&) = default;
};

namespace TextFormats {

const char* lineBreakBytes(LineBreak style);

// Text the program builds uses CR LF; inserted into a document with another
// style, each CR LF becomes that document's line break.
QString withLineBreaks(const QString& crlfText, LineBreak style);

}

namespace TextFormats {

// Every line break of the text (CR LF, LF or CR) in the given style: text
// that comes from the clipboard or other programs.
QString normalizedLineBreaks(const QString& text, LineBreak style);

}

#pragma once
#include "base/Result.h"
#include "files/TextFile.h"
#include "files/TextFormat.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

// Joining up to three files into one text, and what the merge needs to know
// about the typed line count and the paths, apart from any window.
namespace MergeDocuments {

// The largest count the four-character box holds as plain digits. Larger
// counts written with an exponent ("1e9") would build line breaks until
// memory runs out, so they are refused like text that is not a number.
constexpr long long kMaxLines = 9999;

// The typed number of lines between files, rounded halves to even; nothing
// when the text is not a number or the count is above kMaxLines.
std::optional<long long> lineCount(const QString& typed);

// Whether a path names a file to merge: links are followed, a folder, a
// missing path or a broken link is no file. Dot-files are ordinary files.
bool fileExists(const QString& path);

// What is merged: the files of the three boxes in order (an empty path takes
// no part; an empty file does), with lines + 1 line breaks between two files
// that take part (none at all for a count below 0), and every line break of
// the result in the document's style, as for a paste.
struct Merge {
    std::array<QString, 3> paths;
    long long lines = -1;
    LineBreak style = LineBreak::CrLf;
};

// Refuses, before any file is read, a merge that would make the document
// longer than maxLength bytes of UTF-8 text: the files' sizes and the
// separators, beside the `kept` bytes of the document that stay. The
// description is the one a file too large to open gets.
Result<> checkSize(const Merge& merge, qint64 kept, qint64 maxLength = TextFile::kMaxTextLength);

// Reads the files one after another, decoded as the editor opens documents
// (UTF-8, UTF-16 with a byte-order mark, Windows-1252), and hands the merged
// text to the sink in pieces of UTF-8: the whole of it is never held here.
// Anything but a regular file (a device, a pipe) is refused without being
// opened: reading one could block or never end. Fails on the first file that
// cannot be read, and when the text would make the document longer than
// maxLength beside its `kept` bytes (Windows-1252 letters and converted line
// breaks take more bytes than the files), after which the sink gets nothing
// more.
Result<> write(const Merge& merge, qint64 kept, const TextFile::Utf8Sink& sink,
               qint64 maxLength = TextFile::kMaxTextLength);

// The exact bytes of the merged text, from a reading of the files that keeps
// nothing (write's failures apply): the document can make room for the text
// once, instead of growing by copies as it comes.
Result<qint64> measure(const Merge& merge, qint64 kept, qint64 maxLength = TextFile::kMaxTextLength);

// Converts every line break (CR LF, LF or CR) of a text that arrives in
// pieces to one style, and hands the result on in pieces of at most about
// kPiece bytes. A CR at the end of one piece and an LF at the start of the
// next are one line break.
class LineBreakWriter {
public:
    static constexpr qsizetype kPiece = 1 << 20;

    LineBreakWriter(LineBreak style, const TextFile::Utf8Sink& sink);
    void write(const char* utf8, qsizetype length);
    // Hands on what is still held; the text ends here.
    void finish();
    // The bytes handed on and held so far.
    qint64 written() const { return m_written; }

private:
    void lineBreak();
    void flushIfFull();

    const QByteArray m_lineBreak;
    const TextFile::Utf8Sink& m_sink;
    QByteArray m_held;
    bool m_afterCr = false;
    qint64 m_written = 0;
};

}

#pragma once
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

// The texts of the three boxes in order; an empty box takes no part (an empty
// file does). Between two files that take part stand lines + 1 line breaks
// (CR LF), none at all for a count below 0.
QString join(const std::array<std::optional<QString>, 3>& texts, long long lines);

// Whether a path names a file to merge: links are followed, a folder, a
// missing path or a broken link is no file. Dot-files are ordinary files.
bool fileExists(const QString& path);

struct ReadResult {
    std::optional<QString> text;
    QString error;   // a plain description when the file could not be read
};

// The whole text of a file, decoded as the editor opens documents (UTF-8,
// UTF-16 with a byte-order mark, Windows-1252). Anything but a regular file
// (a device, a pipe) is refused without being opened: reading one could
// block or never end.
ReadResult readText(const QString& path);

}

#pragma once
#include "base/Result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

// The words the user added to the spelling dictionary ("Add to Dictionary"):
// a plain UTF-8 file, one word a line, that the user may also edit by hand.
// A line that cannot be a word (not UTF-8, blank, with blanks inside, too
// long) is passed over when reading and kept as it is when a word is added;
// the file is only ever replaced whole.
namespace PersonalDictionary {

// The longest word kept, in characters (Hunspell's own limit).
constexpr qsizetype kLongestWord = 100;

// $XDG_DATA_HOME/Quirkpad/dictionary.txt, the data folder being
// ~/.local/share when XDG_DATA_HOME is unset, empty or not absolute.
QString defaultPath();

// Whether the text can be a word of the dictionary: not empty, no white
// space or control characters, at most kLongestWord characters.
bool isWord(QStringView text);

// The words of the file's bytes, in the file's order, each once. Line
// breaks may be LF or CR LF; blanks around a word and a leading byte-order
// mark are passed over.
QStringList wordsOf(const QByteArray& fileBytes);

// The words of the file; a file that does not exist holds none. Fails with
// the system's reason when the file exists but cannot be read.
Result<QStringList> load(const QString& path);

// Adds the word to the file, which is read again first so that words added
// meanwhile (by hand, or by another window) stay. A word the file already
// holds is not written again. The new file is the old one byte for byte
// with the word on a line of its own at the end (in the line breaks the
// file uses), written beside it and renamed over it, so that a failed write
// leaves the old file whole; the file and its folder are made when missing.
Result<> add(const QString& path, const QString& word);

}

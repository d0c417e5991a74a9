#pragma once
#include <QString>
#include <QStringList>

// The command line: one optional document path.
namespace Startup {

// The program's arguments as main() got them. File names are bytes: one
// that is not UTF-8 keeps its bytes (see NativePath), so that it still
// names its file.
QStringList arguments(int argc, const char* const* argv);

// Every argument after the program's name, joined with single blanks.
QString argumentText(const QStringList& arguments);

// The argument text with every double quote removed; the rest is one path,
// so a path with blanks works with or without quotes.
QString pathFrom(const QString& argumentText);

// A regular file (or a link to one). A folder does not count; dot-files
// are ordinary files here.
bool fileExists(const QString& path);

// The path made absolute against the working folder, without going through
// a conversion that would lose bytes of the name.
QString absolutePath(const QString& path);

}

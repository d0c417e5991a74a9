#pragma once
#include <QString>
#include <QStringList>

// The command line: one optional document path.
namespace Startup {

// Every argument after the program's name, joined with single blanks.
QString argumentText(const QStringList& arguments);

// The argument text with every double quote removed; the rest is one path,
// so a path with blanks works with or without quotes.
QString pathFrom(const QString& argumentText);

// A regular file (or a link to one). A folder does not count; dot-files
// are ordinary files here.
bool fileExists(const QString& path);

}

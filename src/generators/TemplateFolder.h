#pragma once
#include "base/Result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The page templates shipped in the Examples folder beside the program:
// which files count as templates, and reading one as text.
namespace TemplateFolder {

// The kinds of file listed, as the list's pattern.
inline const QString kPattern = QStringLiteral("*.html;*.htm;*.asp;*.aspx;*.php;*.xml;*.xhtml");

// AppPaths::dataDir() + "/Examples".
QString path();

// The names of the folder's files that match the pattern (extensions in any
// case), sorted without regard to case; folders and other kinds of file are
// left out. A folder that exists but holds no template lists nothing, and
// that is no error.
Result<QStringList> list(const QString& folder);

// Reads a template as a document file is read: the encoding detected, every
// character kept, line breaks as they stand, nothing interpreted. The
// template's characters as UTF-8, whatever its encoding.
Result<QByteArray> read(const QString& path);

// Whether a browser shows the file as a page by itself; a server page
// (.php, .asp, .aspx) would be offered for download instead.
bool browserShowsDirectly(const QString& name);

}

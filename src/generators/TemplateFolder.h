#pragma once
#include <QString>
#include <QStringList>

// The page templates shipped in the Examples folder beside the program:
// which files count as templates, and reading one as text.
namespace TemplateFolder {

// The kinds of file listed, as the list's pattern.
inline const QString kPattern = QStringLiteral("*.html;*.htm;*.asp;*.aspx;*.php;*.xml;*.xhtml");

// AppPaths::dataDir() + "/Examples".
QString path();

struct Listing {
    bool ok = false;
    QString error;        // why the folder could not be listed
    QStringList names;    // file names, sorted without regard to case
};

// The files of the folder that match the pattern (extensions in any case);
// folders and other kinds of file are left out. A folder that exists but
// holds no template lists nothing, and that is no error.
Listing list(const QString& folder);

struct Text {
    bool ok = false;
    QString error;
    QByteArray utf8;   // the template's characters, whatever its encoding
};

// Reads a template as a document file is read: the encoding detected, every
// character kept, line breaks as they stand, nothing interpreted.
Text read(const QString& path);

// Whether a browser shows the file as a page by itself; a server page
// (.php, .asp, .aspx) would be offered for download instead.
bool browserShowsDirectly(const QString& name);

}

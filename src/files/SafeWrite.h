#pragma once
#include <QByteArray>
#include <QString>
#include <functional>

// Replacing a file's content without ever leaving it half-written, and
// without changing who owns it or cutting its links (see TextFile::write).
namespace SafeWrite {

using Put = std::function<bool(const char*, qsizetype)>;
// Writes the whole new content through `put`; false when a put failed.
using Content = std::function<bool(const Put& put)>;

// The file at the path (bytes, as the system names it; symbolic links are
// followed) gets the content. False with the system's description of the
// failure, the file as it was (or, should even putting it back fail, a
// description that says where its old content is).
bool replace(const QByteArray& path, const Content& content, QString* error);

}

#pragma once
#include "base/Result.h"

#include <QByteArrayView>
#include <QString>

// The numbered pages the preview shows: Temp1.html, Temp2.html, ... in the
// application's temporary folder.
namespace PreviewFile {

// dir + "/Temp" + n + ".html" for the smallest n from 1 up that names no
// existing file (of any kind).
QString nextFreePath(const QString& dir);

// Writes the document's text, given as UTF-8, to path. The page is written
// as UTF-8 behind a byte-order mark: a document may carry no charset
// declaration, or one that named its own file's encoding, and the mark
// makes every browser read exactly the characters the editor shows. The
// bytes go out as they stand, with no copy of the text, and the file is
// replaced in one step, so that a page being loaded never sees half a file.
// Fails, with the system's description, when the file cannot be written.
Result<> write(const QString& path, QByteArrayView utf8);

}

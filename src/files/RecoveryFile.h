#pragma once
#include "files/TextFormat.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// A copy of a document's unsaved text, kept so that a crash, a kill or a
// power cut loses nothing: a few header lines that say which file the text
// belongs to and how that file is stored, then the text exactly as the
// editing control held it (UTF-8; any byte, NUL and stray CR included).
namespace RecoveryFile {

struct Header {
    QString path;          // "" for an untitled document
    TextFormat format;
    qint64 writerPid = 0;  // for whoever looks at the file by hand
};

// The header lines, ending in the empty line after which `textLength`
// bytes of text follow.
QByteArray header(const Header& h, qsizetype textLength);

struct Contents {
    Header header;
    QByteArray text;
};

// Writes a copy: the old copy stays whole until the new one is complete and
// on disk, and only the user may read it. "" on success, else the reason.
QString save(const QString& path, const Header& h, QByteArrayView text);

// The header at the start of a copy, and the length of the text that should
// follow it; nothing when the bytes start with no whole header.
struct Start {
    Header header;
    qsizetype textStart = 0;
    qsizetype textLength = 0;
};
std::optional<Start> parseHeader(QByteArrayView bytes);

// The copy in a file's bytes; nothing when they are not a whole copy
// (another kind of file, a damaged header, a text shorter or longer than
// the header says).
std::optional<Contents> parse(QByteArray bytes);

}

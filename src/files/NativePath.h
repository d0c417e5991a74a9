#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// File names on Linux are bytes, usually UTF-8 but not always (a name made
// on an older system may hold a Latin-1 byte). Qt's own conversion turns
// such a byte into U+FFFD and the name no longer reaches the file. Here a
// byte that is not part of a UTF-8 character becomes the lone surrogate
// U+DC80 + (byte - 0x80), which no name typed or chosen by the user holds,
// and goes back to the same byte on the way out.
namespace NativePath {

QString fromNative(QByteArrayView bytes);
QByteArray toNative(const QString& path);

// True when a path holds U+FFFD: what Qt makes of a name that is not UTF-8
// (file dialogs), so that the name no longer names the file on disk.
bool mayBeMangled(const QString& path);

}

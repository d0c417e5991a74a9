#include "files/NativePath.h"
#include "base/Utf8.h"

namespace NativePath {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;   // U+DC80..U+DCFF for the bytes 0x80..0xFF

}

QString fromNative(QByteArrayView bytes)
{
    QString out;
    out.reserve(bytes.size());
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        const Utf8::Char c = Utf8::decode(p, end);
        if (c.status == Utf8::Status::Ok) {
            out.append(QChar::fromUcs4(c.code));
            p += c.width;
        } else {
            out.append(QChar(char16_t(kEscapeBase + *p)));   // only bytes from 0x80 fail
            ++p;
        }
    }
    return out;
}

QByteArray toNative(const QString& path)
{
    QByteArray out;
    out.reserve(path.size());
    char buffer[4];
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t u = path.at(i).unicode();
        char32_t code = u;
        if (QChar::isHighSurrogate(u) && i + 1 < path.size() && QChar::isLowSurrogate(path.at(i + 1).unicode())) {
            code = QChar::surrogateToUcs4(u, path.at(++i).unicode());
        } else if (u >= kEscapeBase + 0x80 && u <= kEscapeBase + 0xFF) {
            out.append(char(u - kEscapeBase));
            continue;
        } else if (QChar::isSurrogate(u)) {
            code = QChar::ReplacementCharacter;
        }
        out.append(buffer, Utf8::encode(code, buffer));
    }
    return out;
}

bool mayBeMangled(const QString& path)
{
    return path.contains(QChar(QChar::ReplacementCharacter));
}

}

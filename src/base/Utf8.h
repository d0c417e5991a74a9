#pragma once
#include <cstdint>
#include <cstring>

// The one UTF-8 decoder of the program: file reading and writing, the check
// of which encoding a file is in, file names and Find all walk text with it,
// so they agree on what a character is. Strict: no overlong forms, no
// surrogates, nothing above U+10FFFF. Inline, because Find and the file
// reader spend their time in these few lines.
namespace Utf8 {

enum class Status {
    Ok,
    Invalid,   // this byte begins no character
    Cut,       // the bytes up to the end begin a character that needs more
};

struct Char {
    char32_t code;   // valid for Ok only
    int width;       // bytes taken: 1-4 for Ok, 1 for Invalid, what there is for Cut
    Status status;
};

// The character that starts at p (p < end).
inline Char decode(const std::uint8_t* p, const std::uint8_t* end)
{
    const std::uint8_t lead = p[0];
    if (lead < 0x80)
        return {lead, 1, Status::Ok};
    int width;
    char32_t code;
    // The allowed range of the second byte rules out overlong forms,
    // surrogates and code points above U+10FFFF.
    std::uint8_t low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        width = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        width = 3;
        code = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        width = 4;
        code = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return {0, 1, Status::Invalid};
    }
    const long available = end - p;
    for (int i = 1; i < width; ++i) {
        if (i >= available)
            return {0, int(available), Status::Cut};
        const std::uint8_t c = p[i];
        if (i == 1 ? (c < low || c > high) : (c & 0xC0) != 0x80)
            return {0, 1, Status::Invalid};
        code = (code << 6) | (c & 0x3F);
    }
    return {code, width, Status::Ok};
}

// Past the run of ASCII bytes from p: eight at a time, as most of a web
// page is ASCII.
inline const std::uint8_t* skipAscii(const std::uint8_t* p, const std::uint8_t* end)
{
    while (end - p >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        if (word & 0x8080808080808080ULL)
            break;
        p += 8;
    }
    while (p < end && *p < 0x80)
        ++p;
    return p;
}

// Where the whole, valid characters from p end: end itself for valid text,
// else the first byte that begins no character or a character cut off.
inline const std::uint8_t* validUpTo(const std::uint8_t* p, const std::uint8_t* end)
{
    for (;;) {
        p = skipAscii(p, end);
        if (p == end)
            return p;
        const Char c = decode(p, end);
        if (c.status != Status::Ok)
            return p;
        p += c.width;
    }
}

inline bool isValid(const char* text, long length)
{
    const auto* p = reinterpret_cast<const std::uint8_t*>(text);
    return validUpTo(p, p + length) == p + length;
}

inline int width(char32_t code)
{
    return code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
}

// Writes the character's bytes at out; returns how many.
inline int encode(char32_t code, char* out)
{
    if (code < 0x80) {
        out[0] = char(code);
        return 1;
    }
    if (code < 0x800) {
        out[0] = char(0xC0 | (code >> 6));
        out[1] = char(0x80 | (code & 0x3F));
        return 2;
    }
    if (code < 0x10000) {
        out[0] = char(0xE0 | (code >> 12));
        out[1] = char(0x80 | ((code >> 6) & 0x3F));
        out[2] = char(0x80 | (code & 0x3F));
        return 3;
    }
    out[0] = char(0xF0 | (code >> 18));
    out[1] = char(0x80 | ((code >> 12) & 0x3F));
    out[2] = char(0x80 | ((code >> 6) & 0x3F));
    out[3] = char(0x80 | (code & 0x3F));
    return 4;
}

}

#pragma once
#include <QtGlobal>

// One pass over UTF-8 bytes that counts what the status bar wants to know:
// line breaks and the bytes that continue a character. Sixteen bytes at a
// time where the processor has SSE2 (every x86-64 one), a byte at a time
// otherwise. For the text library's own use.
namespace ByteScan {

struct Counts {
    qsizetype cr = 0;            // every CR, also those of CR LF pairs
    qsizetype lf = 0;            // every LF, also those of CR LF pairs
    qsizetype crLf = 0;          // pairs whose CR is in the range
    qsizetype continuation = 0;  // bytes 0x80 to 0xBF
};

// The counts of bytes [from, to) of a text of `size` bytes; a CR at the end
// of the range pairs with an LF just after it.
Counts scan(const char* text, qsizetype size, qsizetype from, qsizetype to);

}

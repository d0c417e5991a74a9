#pragma once
#include <QString>

// How many copies the typed count asks for: each copy is a print job of its
// own. The count is a number rounded to a 16-bit whole number after taking
// one off (halves to the even neighbour), so "2.5" gives three copies and
// "1.5" one; zero and negative counts give none.
struct PrintCount {
    enum class Kind { Empty, NotANumber, Overflow, Copies };
    Kind kind = Kind::Empty;
    int copies = 0;

    static PrintCount from(const QString& typed);
};

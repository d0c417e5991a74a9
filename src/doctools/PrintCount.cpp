#include "doctools/PrintCount.h"
#include "base/NumberText.h"

#include <algorithm>
#include <limits>

PrintCount PrintCount::from(const QString& typed)
{
    PrintCount c;
    if (typed.isEmpty())
        return c;
    const std::optional<double> value = NumberText::parse(typed);
    if (!value) {
        c.kind = Kind::NotANumber;
        return c;
    }
    // The last copy's number, counted from 0, must fit a 16-bit integer.
    // Clamping first keeps the rounding within range for huge values.
    const long long last = NumberText::roundHalfEven(std::clamp(*value - 1, -1e6, 1e6));
    if (last < std::numeric_limits<qint16>::min() || last > std::numeric_limits<qint16>::max()) {
        c.kind = Kind::Overflow;
        return c;
    }
    c.kind = Kind::Copies;
    c.copies = int(std::max(last + 1, 0LL));
    return c;
}

#include "editor/BracePair.h"

namespace BracePair {

namespace {

struct Kind {
    char open;
    char close;
};
constexpr Kind kKinds[] = {{'(', ')'}, {'[', ']'}, {'{', '}'}};

}

bool isBracket(char c)
{
    for (const Kind& k : kKinds)
        if (c == k.open || c == k.close)
            return true;
    return false;
}

std::optional<qsizetype> partner(QByteArrayView text, qsizetype at, const std::function<bool(qsizetype)>& sameStyle)
{
    if (at < 0 || at >= text.size())
        return std::nullopt;
    const char c = text[at];
    for (const Kind& k : kKinds) {
        if (c != k.open && c != k.close)
            continue;
        const bool forward = c == k.open;
        const char seek = forward ? k.close : k.open;
        int depth = 0;
        for (qsizetype i = at + (forward ? 1 : -1); i >= 0 && i < text.size(); i += forward ? 1 : -1) {
            const char here = text[i];
            if ((here != c && here != seek) || !sameStyle(i))
                continue;
            if (here == c)
                ++depth;
            else if (depth-- == 0)
                return i;
        }
        return std::nullopt;
    }
    return std::nullopt;
}

}

#include "base/CommandIds.h"

#include <array>

namespace Commands {
namespace {

constexpr std::array<const char*, kCount> kNames = {
#define QUIRKPAD_COMMAND_NAME(id) #id,
    QUIRKPAD_COMMANDS(QUIRKPAD_COMMAND_NAME)
#undef QUIRKPAD_COMMAND_NAME
};

}

QLatin1StringView name(Cmd command)
{
    return QLatin1StringView(kNames[static_cast<std::size_t>(command)]);
}

std::optional<Cmd> named(QStringView text)
{
    for (int i = 0; i < kCount; ++i)
        if (text == QLatin1StringView(kNames[i]))
            return static_cast<Cmd>(i);
    return std::nullopt;
}

}

#include "generators/ColourChooser.h"
#include "generators/ColourText.h"
#include "services/Prompts.h"

std::optional<QString> ColourChooser::choose()
{
    const std::optional<QColor> chosen = m_prompts.colour(m_last);
    if (!chosen || !chosen->isValid())
        return std::nullopt;
    m_last = *chosen;
    return ColourText::fromColorRef(ColourText::colorRef(*chosen));
}

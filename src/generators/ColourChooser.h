#pragma once
#include <QColor>
#include <QString>
#include <optional>

class Prompts;

// The colour dialog of a generator window. Each dialog starts from the colour
// chosen last in that window, black at first.
class ColourChooser {
public:
    explicit ColourChooser(Prompts& prompts) : m_prompts(prompts) {}

    // The chosen colour as colour text ("#RRGGBB"), or nothing when the user
    // cancelled: then the field keeps what the user had typed.
    std::optional<QString> choose();

private:
    Prompts& m_prompts;
    QColor m_last = Qt::black;
};

#include "generators/OneCharacterValidator.h"

#include <QTextBoundaryFinder>

QValidator::State OneCharacterValidator::validate(QString& input, int&) const
{
    if (input.isEmpty())
        return Acceptable;
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, input);
    // Refused like a key pressed into a full box.
    return characters.toNextBoundary() == input.size() ? Acceptable : Invalid;
}

#pragma once
#include <QString>
#include <QStringList>

namespace Fonts {

inline const QString kDefaultName = QStringLiteral("Lucida Console");
inline const QString kDefaultSize = QStringLiteral("9");

// "Lucida Console" is rarely installed on Linux. When it is missing, the
// name stands for the system's fixed-pitch font, so the default still shows
// a fixed-pitch face and the name stays a valid choice.
void installDefaultSubstitute();

// The font names the screen offers, each once, sorted alphabetically; the
// default name is among them once it has a substitute.
QStringList screenFonts();

}

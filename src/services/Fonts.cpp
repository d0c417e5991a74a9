#include "services/Fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>

#include <algorithm>

namespace Fonts {

void installDefaultSubstitute()
{
    if (QFontDatabase::hasFamily(kDefaultName) || !QFont::substitutes(kDefaultName).isEmpty())
        return;
    QString fixed;
    for (const char* preferred : {"DejaVu Sans Mono", "Liberation Mono", "Noto Mono", "Noto Sans Mono"}) {
        if (QFontDatabase::hasFamily(QLatin1String(preferred))) {
            fixed = QLatin1String(preferred);
            break;
        }
    }
    if (fixed.isEmpty())
        fixed = QFontInfo(QFontDatabase::systemFont(QFontDatabase::FixedFont)).family();
    if (fixed.isEmpty())
        fixed = QStringLiteral("Monospace");
    QFont::insertSubstitution(kDefaultName, fixed);
}

QStringList screenFonts()
{
    QStringList names = QFontDatabase::families();
    if (!names.contains(kDefaultName) && !QFont::substitutes(kDefaultName).isEmpty())
        names << kDefaultName;
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

}

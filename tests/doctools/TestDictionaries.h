#pragma once
#include <QDir>
#include <QString>

// The small Hunspell dictionaries shipped with these tests (en_US in UTF-8,
// de_DE in ISO 8859-1, ru_RU in KOI8-R), found from the source tree the
// tests were built from.
inline QString testDictionaries()
{
    return QDir::cleanPath(QStringLiteral(QUIRKPAD_SOURCE_DATA_DIR "/../tests/doctools/dictionaries"));
}

#pragma once
#include <QStringView>

#include <optional>

// Character references of web pages: &eacute;, &#233; and &#xE9; all stand
// for "é" where a browser shows the page.
namespace CharacterReferences {

struct Reference {
    qsizetype length = 0;   // characters of the text it takes, "&" and ";" included
    // What it stands for; nothing for a name this table does not know.
    std::optional<char32_t> character;
};

// The reference that starts at the text's first character (an "&"), if it
// is one: "&" followed by a name, "#" and decimal digits or "#x" and
// hexadecimal digits, the ";" after it optional as browsers allow. An "&"
// followed by anything else is just that character. A number that names no
// character stands for U+FFFD, as a browser shows it.
std::optional<Reference> read(QStringView text);

}

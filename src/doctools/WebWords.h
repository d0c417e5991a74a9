#pragma once
#include <QStringView>

// The vocabulary of web pages that a language's dictionary does not know:
// element and attribute names (href, src, ul, iframe), and the names of the
// formats and languages hand-coders write about (CSS, PHP, JavaScript).
// Written in the text between tags, they are still no misspellings.
namespace WebWords {

bool contains(QStringView word);

}

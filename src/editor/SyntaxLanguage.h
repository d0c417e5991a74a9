#pragma once
#include <QByteArrayView>
#include <QString>

// The languages the editor colours. Which one a document is in follows its
// file name's extension; an untitled document is markup when its text starts
// with "<" after any blanks.
enum class SyntaxLanguage { Plain, Html, Css, JavaScript, Xml };

namespace SyntaxLanguages {

// By the extension of the file's name, in any case; Plain for any other.
SyntaxLanguage forFileName(const QString& fileName);

// For an untitled document, from the first bytes of its text.
SyntaxLanguage forUntitledText(QByteArrayView leadingText);

}

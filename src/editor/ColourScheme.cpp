#include "editor/ColourScheme.h"

#include <Qsci/qscilexercpp.h>
#include <Qsci/qscilexercss.h>
#include <Qsci/qscilexerhtml.h>

namespace ColourScheme {

namespace {

// A few tones, so that a page reads as markup, names, literal values and
// remarks rather than as a rainbow. Operators and plain words keep the
// text's colour.
enum class Tone { Markup, Name, Literal, Remark, Special };

QColor colourOf(Tone tone)
{
    switch (tone) {
    case Tone::Markup: return QColor(0x1F, 0x4E, 0x8C);    // deep blue: tags, selectors, keywords
    case Tone::Name: return QColor(0x7A, 0x3E, 0x9D);      // muted purple: attributes, properties, variables
    case Tone::Literal: return QColor(0x2D, 0x6B, 0x33);   // green: strings, values, numbers
    case Tone::Remark: return QColor(0x7B, 0x7F, 0x86);    // grey: comments
    case Tone::Special: return QColor(0xA1, 0x48, 0x1F);   // sienna: entities, server code marks, at-rules
    }
    return {};
}

struct StyleTone {
    int style;
    Tone tone;
};

using H = QsciLexerHTML;
using S = QsciLexerCSS;
using J = QsciLexerCPP;   // the lexer JavaScript is coloured with
// "{$name}" in a PHP string: the HTML lexer has the style, its wrapper no name.
constexpr int kPhpComplexVariable = 104;

// Markup and the scripts a page may hold (client JavaScript and VBScript,
// and the same on the server through ASP, Python, PHP).
constexpr StyleTone kHtml[] = {
    {H::Tag, Tone::Markup}, {H::UnknownTag, Tone::Markup}, {H::OtherInTag, Tone::Markup},
    {H::XMLTagEnd, Tone::Markup}, {H::Script, Tone::Markup},
    {H::Attribute, Tone::Name}, {H::UnknownAttribute, Tone::Name},
    {H::HTMLNumber, Tone::Literal}, {H::HTMLDoubleQuotedString, Tone::Literal},
    {H::HTMLSingleQuotedString, Tone::Literal}, {H::HTMLValue, Tone::Literal},
    {H::HTMLComment, Tone::Remark}, {H::ASPXCComment, Tone::Remark}, {H::XMLStart, Tone::Special}, {H::XMLEnd, Tone::Special},
    {H::Entity, Tone::Special}, {H::ASPStart, Tone::Special}, {H::ASPAtStart, Tone::Special},
    {H::PHPStart, Tone::Special}, {H::CDATA, Tone::Special},
    {H::SGMLDefault, Tone::Markup}, {H::SGMLCommand, Tone::Markup}, {H::SGMLBlockDefault, Tone::Markup},
    {H::SGMLParameter, Tone::Name}, {H::SGMLDoubleQuotedString, Tone::Literal},
    {H::SGMLSingleQuotedString, Tone::Literal}, {H::SGMLSpecial, Tone::Special}, {H::SGMLEntity, Tone::Special},
    {H::SGMLComment, Tone::Remark}, {H::SGMLParameterComment, Tone::Remark},
    // JavaScript in the page, then on the server.
    {H::JavaScriptComment, Tone::Remark}, {H::JavaScriptCommentLine, Tone::Remark},
    {H::JavaScriptCommentDoc, Tone::Remark}, {H::JavaScriptNumber, Tone::Literal},
    {H::JavaScriptKeyword, Tone::Markup}, {H::JavaScriptDoubleQuotedString, Tone::Literal},
    {H::JavaScriptSingleQuotedString, Tone::Literal}, {H::JavaScriptUnclosedString, Tone::Literal},
    {H::JavaScriptRegex, Tone::Special},
    {H::ASPJavaScriptComment, Tone::Remark}, {H::ASPJavaScriptCommentLine, Tone::Remark},
    {H::ASPJavaScriptCommentDoc, Tone::Remark}, {H::ASPJavaScriptNumber, Tone::Literal},
    {H::ASPJavaScriptKeyword, Tone::Markup}, {H::ASPJavaScriptDoubleQuotedString, Tone::Literal},
    {H::ASPJavaScriptSingleQuotedString, Tone::Literal}, {H::ASPJavaScriptUnclosedString, Tone::Literal},
    {H::ASPJavaScriptRegex, Tone::Special},
    // VBScript.
    {H::VBScriptComment, Tone::Remark}, {H::VBScriptNumber, Tone::Literal}, {H::VBScriptKeyword, Tone::Markup},
    {H::VBScriptString, Tone::Literal}, {H::VBScriptUnclosedString, Tone::Literal},
    {H::ASPVBScriptComment, Tone::Remark}, {H::ASPVBScriptNumber, Tone::Literal},
    {H::ASPVBScriptKeyword, Tone::Markup}, {H::ASPVBScriptString, Tone::Literal},
    {H::ASPVBScriptUnclosedString, Tone::Literal},
    // Python.
    {H::PythonComment, Tone::Remark}, {H::PythonNumber, Tone::Literal}, {H::PythonDoubleQuotedString, Tone::Literal},
    {H::PythonSingleQuotedString, Tone::Literal}, {H::PythonKeyword, Tone::Markup},
    {H::PythonTripleSingleQuotedString, Tone::Literal}, {H::PythonTripleDoubleQuotedString, Tone::Literal},
    {H::PythonClassName, Tone::Name}, {H::PythonFunctionMethodName, Tone::Name},
    {H::ASPPythonComment, Tone::Remark}, {H::ASPPythonNumber, Tone::Literal},
    {H::ASPPythonDoubleQuotedString, Tone::Literal}, {H::ASPPythonSingleQuotedString, Tone::Literal},
    {H::ASPPythonKeyword, Tone::Markup}, {H::ASPPythonTripleSingleQuotedString, Tone::Literal},
    {H::ASPPythonTripleDoubleQuotedString, Tone::Literal}, {H::ASPPythonClassName, Tone::Name},
    {H::ASPPythonFunctionMethodName, Tone::Name},
    // PHP.
    {H::PHPDoubleQuotedString, Tone::Literal}, {H::PHPSingleQuotedString, Tone::Literal},
    {H::PHPKeyword, Tone::Markup}, {H::PHPNumber, Tone::Literal}, {H::PHPVariable, Tone::Name},
    {H::PHPComment, Tone::Remark}, {H::PHPCommentLine, Tone::Remark},
    {H::PHPDoubleQuotedVariable, Tone::Name}, {kPhpComplexVariable, Tone::Name},
};

// Style sheets: selectors read as markup, properties as names, values as
// literals. Properties the lexer's word lists do not know (newer CSS, vendor
// prefixes) look like the known ones: they are no mistake.
constexpr StyleTone kCss[] = {
    {S::Tag, Tone::Markup}, {S::ClassSelector, Tone::Markup}, {S::PseudoClass, Tone::Markup},
    {S::UnknownPseudoClass, Tone::Markup}, {S::IDSelector, Tone::Markup}, {S::Attribute, Tone::Markup},
    {S::PseudoElement, Tone::Markup}, {S::ExtendedPseudoClass, Tone::Markup},
    {S::ExtendedPseudoElement, Tone::Markup},
    {S::CSS1Property, Tone::Name}, {S::UnknownProperty, Tone::Name}, {S::CSS2Property, Tone::Name},
    {S::CSS3Property, Tone::Name}, {S::ExtendedCSSProperty, Tone::Name}, {S::Variable, Tone::Name},
    {S::Value, Tone::Literal}, {S::DoubleQuotedString, Tone::Literal}, {S::SingleQuotedString, Tone::Literal},
    {S::Comment, Tone::Remark},
    {S::Important, Tone::Special}, {S::AtRule, Tone::Special}, {S::MediaRule, Tone::Special},
};

constexpr StyleTone kJavaScript[] = {
    {J::Comment, Tone::Remark}, {J::CommentLine, Tone::Remark}, {J::CommentDoc, Tone::Remark},
    {J::CommentLineDoc, Tone::Remark}, {J::CommentDocKeyword, Tone::Remark},
    {J::CommentDocKeywordError, Tone::Remark}, {J::PreProcessorComment, Tone::Remark},
    {J::TaskMarker, Tone::Remark},
    {J::Number, Tone::Literal}, {J::DoubleQuotedString, Tone::Literal}, {J::SingleQuotedString, Tone::Literal},
    {J::UnclosedString, Tone::Literal}, {J::VerbatimString, Tone::Literal}, {J::RawString, Tone::Literal},
    {J::TripleQuotedVerbatimString, Tone::Literal}, {J::HashQuotedString, Tone::Literal},
    {J::Keyword, Tone::Markup}, {J::KeywordSet2, Tone::Name}, {J::GlobalClass, Tone::Name},
    {J::Regex, Tone::Special}, {J::PreProcessor, Tone::Special}, {J::EscapeSequence, Tone::Special},
};

template <size_t N>
void add(QList<StyleColour>& out, const StyleTone (&table)[N], int base = 0)
{
    for (const StyleTone& s : table)
        out.append({base + s.style, colourOf(s.tone)});
}

}

QList<StyleColour> styles(SyntaxLanguage language)
{
    QList<StyleColour> out;
    switch (language) {
    case SyntaxLanguage::Plain:
        break;
    case SyntaxLanguage::Html:
        add(out, kHtml);
        add(out, kCss, kStyleSheetBase);
        break;
    case SyntaxLanguage::Xml:
        add(out, kHtml);
        break;
    case SyntaxLanguage::Css:
        add(out, kCss);
        break;
    case SyntaxLanguage::JavaScript:
        add(out, kJavaScript);
        break;
    }
    return out;
}

QColor lineNumberText()
{
    return QColor(0x8A, 0x8F, 0x96);
}

QColor lineNumberBackground()
{
    return QColor(0xF4, 0xF5, 0xF7);
}

QColor problemError()
{
    return QColor(0xD3, 0x2F, 0x2F);
}

QColor problemWarning()
{
    // Amber dark enough to see under text on white.
    return QColor(0xE0, 0x8E, 0x00);
}

QColor caretLineBackground()
{
    return QColor(0xF2, 0xF5, 0xFA);
}

QColor matchBackground()
{
    return QColor(0xD5, 0xE1, 0xF0);
}

QColor matchOutline()
{
    return colourOf(Tone::Markup);
}

}

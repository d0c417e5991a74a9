#pragma once

// The engine's indicators and margins, each given to one part of the
// editing view, so that marks of different kinds never share a number.
// Indicators draw over the text and never change it, its undo history or
// its bytes; the lexers use none of these numbers.
namespace MarkIds {

// Indicators (the engine offers 0-35 to containers; 8 and up are safe from
// lexers).
constexpr int kFindMatch = 8;        // other occurrences of the Find window's text
constexpr int kTagPair = 9;          // the start and end tag around the caret
constexpr int kProblemError = 10;    // a problem the page checker calls an error
constexpr int kProblemWarning = 11;  // a problem the page checker calls a warning
constexpr int kCompletion = 12;      // text a typing aid put ahead of the caret

// Margins: 0 shows line numbers (LineNumberMargin); 1 shows symbols.
constexpr int kLineNumberMargin = 0;
constexpr int kSymbolMargin = 1;

// Markers in the symbol margin.
constexpr int kProblemErrorMarker = 0;
constexpr int kProblemWarningMarker = 1;

}

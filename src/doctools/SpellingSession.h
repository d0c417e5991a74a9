#pragma once
#include "base/Result.h"
#include "doctools/MisspellingFinder.h"
#include "doctools/SpellingDialog.h"

#include <QString>
#include <vector>

class Speller;

// Steps through a document's misspelt words with the user and collects the
// corrections; the text itself is not touched here.
namespace SpellingSession {

// The word's characters, a character reference inside it included
// (caf&eacute;), give way to the replacement as typed, in plain characters;
// the references around the word stay.
struct Correction {
    qsizetype start = 0;
    qsizetype length = 0;
    QString replacement;
    friend bool operator==(const Correction&, const Correction&) = default;
};

struct Outcome {
    // In document order, none overlapping; only real changes (a word
    // "changed" to itself is no correction).
    std::vector<Correction> corrections;
    bool cancelled = false;
    // Whether every word added to the user's dictionary was kept there; the
    // first failure when not, for the caller to tell.
    Result<> wordsKept;
};

// The lines of a question are cut to this many characters around the word.
constexpr qsizetype kLongestLine = 160;

// Asks about each misspelling in turn, as the page shows the word. Change
// All and Ignore All settle the later occurrences of the same word, however
// it is written, without asking again, and so does Add to Dictionary, which
// also passes every later word the speller now knows (the word in capitals);
// Cancel ends the check and keeps the corrections made so far.
Outcome run(QStringView text, const std::vector<MisspellingFinder::Misspelling>& misspellings, Speller& speller,
            SpellingDialog& dialog);

// The question for the word at [start, start + length), with the corrections
// made so far (all before it) shown in its line.
SpellingDialog::Question question(QStringView text, qsizetype start, qsizetype length,
                                  const std::vector<Correction>& made);

// The text with the corrections made: everything else stays as it was.
QString corrected(QStringView text, const std::vector<Correction>& corrections);

}

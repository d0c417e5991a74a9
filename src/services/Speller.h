#pragma once
#include "base/Result.h"

#include <QString>
#include <QStringList>

// The spelling service: whether a word is spelt right and what it might have
// been meant to be, from one dictionary that was loaded (a speller exists
// only once it was). Tests run it on small dictionaries of their own.
class Speller {
public:
    virtual ~Speller() = default;

    // The dictionary's language for people, such as "English (United States)".
    virtual QString dictionaryName() const = 0;

    // Whether the dictionary is for the word's writing system at all: an
    // English dictionary cannot judge a Greek word, and should not flag it.
    virtual bool handles(const QString& word) const = 0;

    virtual bool check(const QString& word) = 0;
    // In the dictionary's order of likelihood.
    virtual QStringList suggest(const QString& word) = 0;

    // Takes the word into the user's own dictionary for good: from now on
    // it is spelt right, in this check and every later one. Fails, with the
    // reason worded for the user, when it could not be kept for later; it
    // still passes as long as this speller lives.
    virtual Result<> addWord(const QString& word) = 0;
};

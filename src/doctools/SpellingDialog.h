#pragma once
#include <QString>
#include <QStringList>

// The interactive part of a whole-document check: shown one misspelt word at
// a time, the user says what to do with it. The window asks the user; tests
// answer from a script.
class SpellingDialog {
public:
    // AddToDictionary keeps the word in the user's dictionary for good and
    // passes it for the rest of the check, as IgnoreAll does.
    enum class Action { Change, ChangeAll, Ignore, IgnoreAll, AddToDictionary, Cancel };

    struct Question {
        // The word as the page shows it ("café" for caf&eacute;).
        QString word;
        // The line the word stands in, as written, with the corrections
        // already made in it; a long line is cut to a stretch around the word.
        QString line;
        qsizetype wordInLine = 0;
        qsizetype wordLengthInLine = 0;
        QStringList suggestions;
    };

    struct Reply {
        Action action = Action::Cancel;
        QString replacement;   // for Change and Change All
    };

    virtual ~SpellingDialog() = default;
    virtual Reply ask(const Question& question) = 0;
};

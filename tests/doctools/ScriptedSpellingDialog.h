#pragma once
#include "doctools/SpellingDialog.h"

#include <QStringList>
#include <QTest>

// Answers the spelling dialog's questions from a script, in order:
// "change:TEXT", "changeall:TEXT", "ignore", "ignoreall", "add", "cancel". Records
// each question as "word[suggestion,suggestion]". A question nobody
// scripted fails the test and calls the check off.
class ScriptedSpellingDialog : public SpellingDialog {
public:
    explicit ScriptedSpellingDialog(QStringList script = {}) : script(std::move(script)) {}

    Reply ask(const Question& q) override
    {
        asked << q.word + QLatin1Char('[') + q.suggestions.join(QLatin1Char(',')) + QLatin1Char(']');
        questions << q;
        if (script.isEmpty()) {
            QTest::qFail("the spelling dialog asked more than scripted", __FILE__, __LINE__);
            return {Action::Cancel, {}};
        }
        const QString step = script.takeFirst();
        const QString action = step.section(QLatin1Char(':'), 0, 0);
        const QString text = step.section(QLatin1Char(':'), 1);
        if (action == QLatin1String("change"))
            return {Action::Change, text};
        if (action == QLatin1String("changeall"))
            return {Action::ChangeAll, text};
        if (action == QLatin1String("ignore"))
            return {Action::Ignore, {}};
        if (action == QLatin1String("ignoreall"))
            return {Action::IgnoreAll, {}};
        if (action == QLatin1String("add"))
            return {Action::AddToDictionary, {}};
        return {Action::Cancel, {}};
    }

    QStringList script;
    QStringList asked;
    QList<Question> questions;
};

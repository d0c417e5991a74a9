#pragma once
#include "base/Result.h"
#include "doctools/SpellingSession.h"

#include <QWidget>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QProgressBar;
class Prompts;
class RichTextBox;
class SimpleComboBox;
class Speller;

// The Spell Checker: suggestions for one typed word, and a check of the whole
// document word by word in the spelling dialog, whose corrections then go
// into the document as one step.
class frmSpellCheck : public QWidget {
    Q_OBJECT
public:
    // With no dialog given, each whole-document check opens the spelling
    // dialog of its own. Without a speller (no dictionary could be loaded)
    // the window still opens; each check then tells why.
    frmSpellCheck(RichTextBox& pad, Result<std::unique_ptr<Speller>> speller, Prompts& prompts, QWidget* owner,
                  SpellingDialog* dialog = nullptr);
    ~frmSpellCheck() override;

    // Lets the user correct the text; the corrections made (also when the
    // user called the check off), or nothing when no check could run or
    // the search for misspelt words was cancelled.
    std::optional<SpellingSession::Outcome> SpellCheck(const QString& incorrectText);
    // Fills the suggestions for the word in txtWord.
    void Single_CheckSpell();

    // The text of the note and the last sentence of the help (nullptr: no
    // dictionary).
    static QString dictionaryNote(const Speller* speller);

private:
    Speller* loadedSpeller() const { return m_speller ? m_speller->get() : nullptr; }
    void checkWholeDocument();
    void showHelp();
    void applyCorrections(const QString& text, const std::vector<SpellingSession::Correction>& corrections);
    std::optional<std::vector<MisspellingFinder::Misspelling>> findMisspellings(const QString& text);

    RichTextBox& m_pad;
    Result<std::unique_ptr<Speller>> m_speller;
    Prompts& m_prompts;
    SpellingDialog* m_dialog;
    SimpleComboBox* m_suggestions;
    QProgressBar* m_progress;
    QLineEdit* m_word;
    QLabel* m_numSuggestions;
};

#include "doctools/frmSpellCheck.h"
#include "doctools/frmSpelling.h"
#include "widgets/OwnedWindow.h"
#include "services/Prompts.h"
#include "editor/RichTextBox.h"
#include "widgets/SimpleComboBox.h"
#include "services/Speller.h"
#include "widgets/Controls.h"
#include "widgets/WorkProgress.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace Controls;

namespace {

// How much text one step of the search reads before the progress is shown
// and Cancel is looked at: a few milliseconds' work.
constexpr qsizetype kSlice = 1 << 16;

}

frmSpellCheck::frmSpellCheck(RichTextBox& pad, Result<std::unique_ptr<Speller>> speller, Prompts& prompts,
                             QWidget* owner, SpellingDialog* dialog)
    : QWidget(nullptr, Qt::Dialog), m_pad(pad), m_speller(std::move(speller)), m_prompts(prompts), m_dialog(dialog)
{
    // Owned, not a child: the main window is disabled while this one is open.
    OwnedWindow::setOwner(this, owner);
    setObjectName(QStringLiteral("frmSpellCheck"));
    setWindowTitle(QStringLiteral("Quirkpad - Spell Checker"));

    auto* cmdLoadWord = button("cmdLoadWord", QStringLiteral("Check Whole Document"), this);
    auto* cmdHelp = button("cmdHelp", QStringLiteral("Help"), this);
    auto* cmdCancel = button("cmdCancel", QStringLiteral("Cancel"), this);

    auto* fraSingleSugg = groupBox("fraSingleSugg", QStringLiteral("Single Word Spell Check Tool"), this);
    auto* fraChecl = groupBox("fraChecl", QString(), fraSingleSugg);
    m_suggestions = named(new SimpleComboBox(fraSingleSugg), "lstSuggestions");

    m_word = textBox("txtWord", QString(), fraChecl);
    m_word->setMaxLength(50);
    auto* cmdCheck = button("cmdCheck", QStringLiteral("Check"), fraChecl);
    m_numSuggestions = label("lblNumSugges", QStringLiteral("Number of suggestions: None"), fraChecl);
    m_progress = named(new QProgressBar(fraChecl), "barProgress");
    m_progress->setRange(0, 100);
    m_progress->setTextVisible(false);

    auto* lblNote = label("lblNote", QStringLiteral("Note: ") + dictionaryNote(loadedSpeller()), this);
    lblNote->setWordWrap(true);

    auto* checkLayout = new QGridLayout(fraChecl);
    checkLayout->addWidget(m_word, 0, 0);
    checkLayout->addWidget(cmdCheck, 0, 1);
    checkLayout->addWidget(m_numSuggestions, 1, 0, 1, 2);
    checkLayout->addWidget(m_progress, 2, 0, 1, 2);
    // The word and its count at the top, beside the list that runs down.
    fraSingleSugg->setLayout(row({{column({fraChecl, stretch}), 3}, {m_suggestions, 2}}));

    setLayout(column({row({cmdLoadWord, stretch, cmdHelp}),
                      {fraSingleSugg, 1},
                      row({{lblNote, 1}, {cmdCancel, 0, Qt::AlignBottom}})}));

    connect(cmdLoadWord, &QPushButton::clicked, this, &frmSpellCheck::checkWholeDocument);
    connect(cmdHelp, &QPushButton::clicked, this, &frmSpellCheck::showHelp);
    connect(cmdCheck, &QPushButton::clicked, this, &frmSpellCheck::Single_CheckSpell);
    connect(m_word, &QLineEdit::returnPressed, this, &frmSpellCheck::Single_CheckSpell);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);

    m_progress->setValue(0);
    resize(sizeHint().expandedTo(QSize(480, 300)));
}

frmSpellCheck::~frmSpellCheck() = default;

QString frmSpellCheck::dictionaryNote(const Speller* speller)
{
    if (!speller)
        return QStringLiteral("Spelling needs a Hunspell dictionary (the Debian package hunspell-en-us).");
    return QStringLiteral("Spelling uses the ") + speller->dictionaryName() + QStringLiteral(" Hunspell dictionary.");
}

void frmSpellCheck::showHelp()
{
    m_prompts.message(QStringLiteral("- SPELL CHECKER HELP -\r\n\r\n"
                                     "You can use this Spell Checker tool to either check a single word (using the "
                                     "Single Word Spell Check Tool) or check your whole document (click Check Whole "
                                     "Document).\r\n\r\n")
                          + dictionaryNote(loadedSpeller()),
                      Prompts::Icon::Information, Prompts::Buttons::Ok);
}

void frmSpellCheck::Single_CheckSpell()
{
    m_progress->setValue(30);
    // Without a dictionary the check ends here, as a failure: the list and
    // the count stay as they were.
    if (!m_speller) {
        m_prompts.error(m_speller.error());
        return;
    }
    m_suggestions->clear();
    const QString word = m_word->text();
    m_progress->setValue(60);
    const QStringList suggestions = loadedSpeller()->suggest(word);
    m_progress->setValue(70);
    if (!suggestions.isEmpty()) {
        m_numSuggestions->setText(QStringLiteral("Number of suggestions: ") + QString::number(suggestions.size()));
    } else {
        m_numSuggestions->setText(QStringLiteral("Number of suggestions: None"));
        m_prompts.message(QStringLiteral("Unable to return suggestions for: '") + word + QStringLiteral("'."),
                          Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
    }
    for (const QString& s : suggestions)
        m_suggestions->addItem(s);
    m_progress->setValue(90);
    m_progress->setValue(0);
}

std::optional<std::vector<MisspellingFinder::Misspelling>> frmSpellCheck::findMisspellings(const QString& text)
{
    MisspellingFinder finder(text, *loadedSpeller());
    // A long document shows how far the search is and can be called off; a
    // short one is done before the progress would show.
    WorkProgress progress(this, QStringLiteral("Checking spelling..."), text.size(), true);
    while (finder.work(kSlice))
        if (!progress.advance(finder.position()))
            return std::nullopt;
    return finder.found();
}

std::optional<SpellingSession::Outcome> frmSpellCheck::SpellCheck(const QString& incorrectText)
{
    if (!m_speller) {
        m_prompts.error(m_speller.error());
        return std::nullopt;
    }
    const std::optional<std::vector<MisspellingFinder::Misspelling>> found = findMisspellings(incorrectText);
    if (!found)
        return std::nullopt;
    std::unique_ptr<frmSpelling> own;
    SpellingDialog* dialog = m_dialog;
    if (!dialog && !found->empty()) {
        own = std::make_unique<frmSpelling>(this);
        dialog = own.get();
    }
    if (!dialog)
        return SpellingSession::Outcome{};
    return SpellingSession::run(incorrectText, *found, *loadedSpeller(), *dialog);
}

void frmSpellCheck::checkWholeDocument()
{
    const QString text = m_pad.Text();
    const std::optional<SpellingSession::Outcome> outcome = SpellCheck(text);
    if (!outcome)
        return;
    if (!outcome->corrections.empty())
        applyCorrections(text, outcome->corrections);
    if (!outcome->wordsKept)
        m_prompts.error(outcome->wordsKept.error());
    if (!outcome->cancelled)
        m_prompts.message(QStringLiteral("The spelling check is complete."), Prompts::Icon::Information,
                          Prompts::Buttons::Ok);
    raise();
    activateWindow();
}

void frmSpellCheck::applyCorrections(const QString& text, const std::vector<SpellingSession::Correction>& corrections)
{
    // One replacement from the first corrected word to the end of the last:
    // one undo step and one change, whatever the number of words (Change
    // All over a long page can make hundreds of thousands). Everything
    // outside the corrected words, line breaks included, goes back as it was.
    const qsizetype from = corrections.front().start;
    const qsizetype to = corrections.back().start + corrections.back().length;
    std::vector<SpellingSession::Correction> inSpan = corrections;
    for (SpellingSession::Correction& c : inSpan)
        c.start -= from;
    const QString span = SpellingSession::corrected(QStringView(text).sliced(from, to - from), inSpan);

    // The caret stays behind the same text; inside a corrected word it goes
    // to the word's start.
    qsizetype caret = m_pad.SelStart();
    qsizetype shift = 0;
    for (const SpellingSession::Correction& c : corrections) {
        if (c.start + c.length > caret) {
            caret = std::min(caret, c.start);
            break;
        }
        shift += c.replacement.size() - c.length;
    }

    m_pad.SetSelStart(int(from));
    m_pad.SetSelLength(int(to - from));
    m_pad.SetSelText(span);
    m_pad.SetSelStart(int(caret + shift));
}

#include "doctools/frmSpelling.h"
#include "widgets/Controls.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

using namespace Controls;

frmSpelling::frmSpelling(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmSpelling"));
    setWindowTitle(QStringLiteral("Quirkpad - Spelling"));
    setModal(true);

    m_context = named(new QTextEdit(this), "txtNotInDictionary");
    m_context->setReadOnly(true);
    m_context->setAcceptRichText(false);
    m_context->setLineWrapMode(QTextEdit::WidgetWidth);
    m_context->setFixedHeight(m_context->fontMetrics().lineSpacing() * 4 + 12);
    m_changeTo = textBox("txtChangeTo", QString(), this);
    m_suggestions = named(new QListWidget(this), "lstSpellingSuggestions");

    // Enter changes the word to what the field holds, wherever the focus is.
    auto* cmdIgnore = button("cmdIgnore", QStringLiteral("&Ignore"), this, Enter::Ignored);
    auto* cmdIgnoreAll = button("cmdIgnoreAll", QStringLiteral("I&gnore All"), this, Enter::Ignored);
    auto* cmdAddToDictionary = button("cmdAddToDictionary", QStringLiteral("&Add to Dictionary"), this, Enter::Ignored);
    auto* cmdChange = button("cmdChange", QStringLiteral("&Change"), this, Enter::PressesThis);
    auto* cmdChangeAll = button("cmdChangeAll", QStringLiteral("Change A&ll"), this, Enter::Ignored);
    auto* cmdCancel = button("cmdCancel", QStringLiteral("Cancel"), this, Enter::Ignored);

    auto* grid = new QGridLayout(this);
    grid->addWidget(buddyLabel("lblNotInDictionary", QStringLiteral("Not in dictionary:"), m_context, this), 0, 0);
    grid->addWidget(m_context, 1, 0);
    grid->addWidget(buddyLabel("lblChangeTo", QStringLiteral("Change &to:"), m_changeTo, this), 2, 0);
    grid->addWidget(m_changeTo, 3, 0);
    grid->addWidget(buddyLabel("lblSpellingSuggestions", QStringLiteral("&Suggestions:"), m_suggestions, this), 4, 0);
    grid->addWidget(m_suggestions, 5, 0);
    grid->addLayout(column({cmdIgnore, cmdIgnoreAll, cmdAddToDictionary, cmdChange, cmdChangeAll, stretch, cmdCancel}),
                    1, 1, 5, 1);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(0, 1);
    resize(520, 340);

    connect(m_suggestions, &QListWidget::currentTextChanged, this, [this](const QString& text) {
        if (m_suggestions->currentItem() && (m_suggestions->currentItem()->flags() & Qt::ItemIsSelectable))
            m_changeTo->setText(text);
    });
    connect(m_suggestions, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (item->flags() & Qt::ItemIsSelectable) {
            m_changeTo->setText(item->text());
            answer(Action::Change);
        }
    });
    connect(cmdIgnore, &QPushButton::clicked, this, [this] { answer(Action::Ignore); });
    connect(cmdIgnoreAll, &QPushButton::clicked, this, [this] { answer(Action::IgnoreAll); });
    connect(cmdAddToDictionary, &QPushButton::clicked, this, [this] { answer(Action::AddToDictionary); });
    connect(cmdChange, &QPushButton::clicked, this, [this] { answer(Action::Change); });
    connect(cmdChangeAll, &QPushButton::clicked, this, [this] { answer(Action::ChangeAll); });
    connect(cmdCancel, &QPushButton::clicked, this, &frmSpelling::reject);
}

SpellingDialog::Reply frmSpelling::ask(const Question& question)
{
    // The mark of the last word must not carry over into the next line.
    m_context->setCurrentCharFormat(QTextCharFormat());
    m_context->setPlainText(question.line);
    QTextCursor mark(m_context->document());
    mark.setPosition(int(question.wordInLine));
    mark.setPosition(int(question.wordInLine + question.wordLengthInLine), QTextCursor::KeepAnchor);
    QTextCharFormat marked;
    marked.setForeground(QColor(0xC0, 0x00, 0x00));
    marked.setFontWeight(QFont::Bold);
    mark.mergeCharFormat(marked);
    mark.clearSelection();
    m_context->setTextCursor(mark);
    m_context->ensureCursorVisible();

    m_suggestions->clear();
    m_suggestions->addItems(question.suggestions);
    if (question.suggestions.isEmpty()) {
        auto* none = new QListWidgetItem(QStringLiteral("(no suggestions)"), m_suggestions);
        none->setFlags(Qt::NoItemFlags);
        m_changeTo->setText(question.word);
    } else {
        m_suggestions->setCurrentRow(0);
    }
    m_changeTo->setFocus();
    m_changeTo->selectAll();

    m_reply = Reply{};
    if (!isVisible()) {
        show();
        raise();
        activateWindow();
    }
    m_loop.exec();
    return m_reply;
}

void frmSpelling::answer(Action action)
{
    m_reply = {action, m_changeTo->text()};
    m_loop.quit();
}

void frmSpelling::reject()
{
    // Escape and the close box call the check off; the window stays until
    // its owner is done with it.
    answer(Action::Cancel);
}

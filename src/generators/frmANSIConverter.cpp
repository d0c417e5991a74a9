#include "generators/frmANSIConverter.h"
#include "generators/AnsiCodes.h"
#include "widgets/Controls.h"
#include "generators/OneCharacterValidator.h"
#include "widgets/OwnedWindow.h"
#include "services/Prompts.h"

#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Controls;

namespace {

// Room for a few characters of text, not the whole width of the window.
QLineEdit* smallBox(const char* name, int characters)
{
    auto* box = textBox(name);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QLatin1Char('W')) * (characters + 2) + 12);
    return box;
}

QLineEdit* codeBox(const char* name)
{
    auto* box = smallBox(name, 3);
    box->setMaxLength(3);
    return box;
}

QLineEdit* characterBox(const char* name, QObject* owner)
{
    auto* box = smallBox(name, 1);
    box->setValidator(new OneCharacterValidator(owner));
    return box;
}

const QString kChr = QStringLiteral("ANSI:         Chr(");

void copyToClipboard(const QLineEdit* box)
{
    QApplication::clipboard()->setText(box->text());
}

}

frmANSIConverter::frmANSIConverter(Prompts& prompts, QWidget* owner)
    : QWidget(nullptr, Qt::Dialog), m_prompts(prompts)
{
    OwnedWindow::setOwner(this, owner);
    setObjectName(QStringLiteral("frmANSIConverter"));
    setWindowTitle(QStringLiteral("Quirkpad - ANSI Converter"));

    auto* tabANSI = tabs("tabANSI");
    tabANSI->addTab(buildCodeToCharacter(), QStringLiteral("ANSI -> Character"));
    tabANSI->addTab(buildCharacterToCode(), QStringLiteral("Character -> ANSI"));
    auto* cmdANSIHelp = button("cmdANSIHelp", QStringLiteral("Help"));

    setLayout(column({{tabANSI, 1}, row({stretch, cmdANSIHelp})}));

    connect(cmdANSIHelp, &QPushButton::clicked, this, &frmANSIConverter::help);

    resize(sizeHint());
    setMinimumSize(minimumSizeHint());
    // Two rows a page: taller only opens an empty gap above "Help".
    setMaximumHeight(sizeHint().height());
    txtANSIQuery1->setFocus();
}

QWidget* frmANSIConverter::buildCodeToCharacter()
{
    auto* page = new QWidget;
    txtANSIQuery1 = codeBox("txtANSIQuery1");
    txtANSIResult1 = characterBox("txtANSIResult1", this);
    auto* cmdANSIFind1 = button("cmdANSIFind1", QStringLiteral("Find"));
    auto* cmdCopy1 = button("cmdCopy1", QStringLiteral("Copy"));

    auto* grid = new QGridLayout(page);
    grid->addWidget(label("lblANSI1", kChr), 0, 0);
    grid->addWidget(txtANSIQuery1, 0, 1);
    grid->addWidget(label("lblCloseBracket1", QStringLiteral(")")), 0, 2);
    grid->addWidget(cmdANSIFind1, 0, 4);
    grid->addWidget(line("lneANSI"), 1, 0, 1, 5);
    grid->addWidget(label("lblChar1", QStringLiteral("Character:")), 2, 0);
    grid->addWidget(txtANSIResult1, 2, 1);
    grid->addWidget(cmdCopy1, 2, 4);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(3, 1);

    connect(cmdANSIFind1, &QPushButton::clicked, this, &frmANSIConverter::findCharacter);
    connect(cmdCopy1, &QPushButton::clicked, this, [this] { copyToClipboard(txtANSIResult1); });
    return page;
}

QWidget* frmANSIConverter::buildCharacterToCode()
{
    auto* page = new QWidget;
    txtANSIQuery2 = characterBox("txtANSIQuery2", this);
    txtANSIResult2 = codeBox("txtANSIResult2");
    auto* cmdANSIFind2 = button("cmdANSIFind2", QStringLiteral("Find"));
    auto* cmdCopy2 = button("cmdCopy2", QStringLiteral("Copy"));

    auto* grid = new QGridLayout(page);
    grid->addWidget(label("lblChar2", QStringLiteral("Character:")), 0, 0);
    grid->addWidget(txtANSIQuery2, 0, 1);
    grid->addWidget(cmdANSIFind2, 0, 4);
    grid->addWidget(line("Line1"), 1, 0, 1, 5);
    grid->addWidget(label("lblANSI2", kChr), 2, 0);
    grid->addWidget(txtANSIResult2, 2, 1);
    grid->addWidget(label("lblCloseBracket2", QStringLiteral(")")), 2, 2);
    grid->addWidget(cmdCopy2, 2, 4);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(3, 1);

    connect(cmdANSIFind2, &QPushButton::clicked, this, &frmANSIConverter::findCode);
    connect(cmdCopy2, &QPushButton::clicked, this, [this] { copyToClipboard(txtANSIResult2); });
    return page;
}

void frmANSIConverter::findCharacter()
{
    if (const std::optional<QString> character = AnsiCodes::characterFor(txtANSIQuery1->text()))
        txtANSIResult1->setText(*character);
}

void frmANSIConverter::findCode()
{
    if (const std::optional<QString> code = AnsiCodes::codeFor(txtANSIQuery2->text()))
        txtANSIResult2->setText(*code);
}

void frmANSIConverter::help()
{
    const QString crlf = QStringLiteral("\r\n");
    m_prompts.message(QStringLiteral("- ANSI CONVERTER HELP -") + crlf + crlf +
                          QStringLiteral("In web site development, it is very oftern you will need to know what is "
                                         "called the ANSI code of a character to show a particular character.") +
                          crlf + crlf +
                          QStringLiteral("For example, the ANSI code: Chr(34) will return a: \" (speach mark) "
                                         "character."),
                      Prompts::Icon::Information, Prompts::Buttons::Ok);
}

#include "find/frmFind.h"

#include "find/FindReplace.h"
#include "find/FindSession.h"
#include "widgets/OwnedWindow.h"
#include "services/Prompts.h"
#include "editor/RichTextBox.h"
#include "widgets/Controls.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace Controls;

namespace {

constexpr int kLeft = 0;
constexpr int kRight = 1;

// A tab page: labels in the first column, fields stretching in the second,
// the tab's button beside the first field; spare height goes below.
QGridLayout* pageGrid(QWidget* page)
{
    auto* grid = new QGridLayout(page);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
    return grid;
}

}

frmFind::frmFind(RichTextBox* pad, Prompts& prompts, QWidget* owner, FindSession* session)
    : QWidget(nullptr, Qt::Dialog), m_pad(pad), m_session(session), m_prompts(prompts)
{
    // Owned, so that it stays above the main window, which each Find Next
    // activates; not a child, so that it stays usable while a tool window
    // has the main window disabled.
    OwnedWindow::setOwner(this, owner);
    setObjectName(QStringLiteral("frmFind"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Quirkpad - Find/Replace"));

    tabFindReplace = tabs("tabFindReplace", this);

    auto* findPage = new QWidget(tabFindReplace);
    lblFind = label("lblFind", QStringLiteral("Find:"), findPage);
    txtFind = textBox("txtFind", QString(), findPage);
    lblDirection = label("lblDirection", QStringLiteral("Direction:"), findPage);
    cboDirection = dropDownList("cboDirection", {QStringLiteral("Left"), QStringLiteral("Right")}, findPage);
    cboDirection->setCurrentIndex(kRight);
    cmdFind = button("cmdFind", QStringLiteral("Find Next"), findPage, Enter::PressesThis);
    lblFind->setBuddy(txtFind);
    lblDirection->setBuddy(cboDirection);
    QGridLayout* findGrid = pageGrid(findPage);
    findGrid->addWidget(lblFind, 0, 0);
    findGrid->addWidget(txtFind, 0, 1);
    findGrid->addWidget(cmdFind, 0, 2);
    findGrid->addWidget(lblDirection, 1, 0);
    findGrid->addWidget(cboDirection, 1, 1, Qt::AlignLeft);

    auto* replacePage = new QWidget(tabFindReplace);
    lblFind_Rep = label("lblFind", QStringLiteral("Find:"), replacePage);
    txtFind_Rep = textBox("txtFind_Rep", QString(), replacePage);
    lblReplace = label("lblReplace", QStringLiteral("Replace:"), replacePage);
    txtReplace = textBox("txtReplace", QString(), replacePage);
    // Enter on the focused button presses it, as on the Find tab.
    cmdReplace = button("cmdReplace", QStringLiteral("Replace All"), replacePage);
    lblFind_Rep->setBuddy(txtFind_Rep);
    lblReplace->setBuddy(txtReplace);
    QGridLayout* replaceGrid = pageGrid(replacePage);
    replaceGrid->addWidget(lblFind_Rep, 0, 0);
    replaceGrid->addWidget(txtFind_Rep, 0, 1);
    replaceGrid->addWidget(cmdReplace, 0, 2);
    replaceGrid->addWidget(lblReplace, 1, 0);
    replaceGrid->addWidget(txtReplace, 1, 1);

    tabFindReplace->addTab(findPage, QStringLiteral("Find"));
    tabFindReplace->addTab(replacePage, QStringLiteral("Replace"));

    // The fields of both tabs line up, so switching tabs does not make them jump.
    int labelWidth = 0;
    for (QLabel* l : {lblFind, lblDirection, lblFind_Rep, lblReplace})
        labelWidth = std::max(labelWidth, l->sizeHint().width());
    findGrid->setColumnMinimumWidth(0, labelWidth);
    replaceGrid->setColumnMinimumWidth(0, labelWidth);
    const int buttonWidth = std::max(cmdFind->sizeHint().width(), cmdReplace->sizeHint().width());
    cmdFind->setMinimumWidth(buttonWidth);
    cmdReplace->setMinimumWidth(buttonWidth);

    setLayout(column({tabFindReplace}));

    setTabOrder(txtFind, cboDirection);
    setTabOrder(cboDirection, cmdFind);
    setTabOrder(txtFind_Rep, txtReplace);
    setTabOrder(txtReplace, cmdReplace);
    txtFind->setFocus();

    connect(cmdFind, &QPushButton::clicked, this, &frmFind::FindNext);
    connect(cmdReplace, &QPushButton::clicked, this, &frmFind::ReplaceAll);
    if (m_session) {
        m_session->windowOpened();
        tellSession();
        connect(txtFind, &QLineEdit::textChanged, this, &frmFind::tellSession);
        connect(cboDirection, &QComboBox::currentIndexChanged, this, &frmFind::tellSession);
        // F3 repeats the search in the main window; here it is Find Next.
        connect(new QShortcut(QKeySequence(Qt::Key_F3), this), &QShortcut::activated, this, &frmFind::FindNext);
    }

    // A small window: the fields take any width the user gives it, and
    // there is nothing to gain from more height.
    const QSize hint = sizeHint();
    setMaximumHeight(hint.height());
    resize(std::max(hint.width(), 380), hint.height());
}

frmFind::~frmFind()
{
    if (m_session)
        m_session->windowClosed();
}

void frmFind::tellSession()
{
    if (m_session)
        m_session->setSearch(txtFind->text(), cboDirection->currentIndex() == kLeft ? FindReplace::Direction::Left
                                                                                    : FindReplace::Direction::Right);
}

void frmFind::FindNext()
{
    const QString what = txtFind->text();
    if (!m_pad || what.isEmpty())
        return;
    const auto direction = cboDirection->currentIndex() == kLeft ? FindReplace::Direction::Left
                                                                  : FindReplace::Direction::Right;
    // Searching left from the very start cannot find anything; the message
    // comes at once and the focus stays in this window.
    const bool atStart = direction == FindReplace::Direction::Left && m_pad->SelStart() == 0;
    if (FindReplace::findNext(*m_pad, what, direction)) {
        focusPad();
        return;
    }
    m_prompts.message(FindReplace::notFoundMessage(what), Prompts::Icon::Information, Prompts::Buttons::Ok);
    if (!atStart)
        focusPad();
}

void frmFind::ReplaceAll()
{
    if (m_pad)
        FindReplace::replaceAll(*m_pad, txtFind_Rep->text(), txtReplace->text());
}

void frmFind::focusPad()
{
    // The pad lives in another window: that window has to become the active
    // one for the keyboard to reach it. While a tool window has it disabled,
    // it cannot take the keyboard, and this window keeps it.
    if (!m_pad || !m_pad->window()->isEnabled())
        return;
    m_pad->window()->activateWindow();
    m_pad->SetFocus();
}

void frmFind::keyPressEvent(QKeyEvent* e)
{
    // Keys the focused control leaves alone arrive here. Enter is the
    // window's default button, "Find Next", wherever the focus is on the Find
    // tab (the text box and the direction list pass it on).
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    if (enter && mods == Qt::NoModifier && tabFindReplace->currentIndex() == 0) {
        e->accept();
        cmdFind->click();
        return;
    }
    QWidget::keyPressEvent(e);
}

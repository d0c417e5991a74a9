#include "shell/ToolWindowTable.h"
#include "dbwizard/frmDatabaseWizard.h"
#include "doctools/frmMergeDocs.h"
#include "doctools/frmPrint.h"
#include "doctools/frmSpellCheck.h"
#include "editor/RichTextBox.h"
#include "find/frmFind.h"
#include "generators/frmANSIConverter.h"
#include "generators/frmCustomFont.h"
#include "generators/frmWebPageTemplates.h"
#include "generators/frmWebPageWizard.h"
#include "help/frmAbout.h"
#include "services/HunspellSpeller.h"
#include "services/Prompts.h"
#include "shell/CommandTable.h"
#include "find/FindSession.h"
#include "shell/frmFileProperties.h"
#include "shell/frmGoToLine.h"
#include "shell/frmMain.h"
#include "shell/frmSettings.h"
#include "widgets/OwnedWindow.h"

#include <QShortcut>

ToolWindowTable::ToolWindowTable(frmMain& main) : m_main(main), m_rows(makeRows()) {}

ToolWindowTable::~ToolWindowTable()
{
    for (const QPointer<QWidget>& w : std::as_const(m_open))
        delete w.data();
}

QList<ToolWindowTable::Row> ToolWindowTable::makeRows()
{
    frmMain& m = m_main;
    return {
        {Cmd::mnuSettings, [&m] { return new frmSettings(*m.pad(), m.settings(), m.prompts(), &m); }},
        {Cmd::mnuAbout, [&m] { return new frmAbout(m.shell(), &m); }},
        {Cmd::mnuMergeDocs, [&m] { return new frmMergeDocs(m.files(), m.prompts(), &m); }},
        {Cmd::mnuPrint, [&m] { return new frmPrint(*m.pad(), m.printers(), m.prompts(), &m); }},
        {Cmd::mnuSpellCheck,
         [&m] { return new frmSpellCheck(*m.pad(), HunspellSpeller::forUserLocale(), m.prompts(), &m); }},
        {Cmd::mnuWebPageWizard, [&m] { return new frmWebPageWizard(m.files(), m.prompts(), &m); }},
        {Cmd::mnuCustomFont, [&m] { return new frmCustomFont(*m.pad(), m.prompts(), &m); }},
        {Cmd::mnuANSIConverter, [&m] { return new frmANSIConverter(m.prompts(), &m); }},
        {Cmd::mnuWebPageTemplates, [&m] { return new frmWebPageTemplates(m.files(), m.prompts(), m.shell(), &m); }},
        {Cmd::mnuDBCW, [&m] { return new frmDatabaseWizard(*m.pad(), m.prompts(), &m); }},
        // Find works on the text while the user goes on editing it; opened
        // again, it comes forward with what it holds.
        {.command = Cmd::rcFindReplace,
         .make = [&m] { return new frmFind(m.pad(), m.prompts(), &m, &m.findSession()); },
         .main = Main::Usable,
         .place = Place::TopRightOfText},
        // The properties of the document's file as they are at this opening.
        {.command = Cmd::mnuFileProps,
         .make = [&m]() -> QWidget* {
             if (m.document().isUntitled()) {
                 m.prompts().message(QStringLiteral("No file is currently open to view."), Prompts::Icon::Error,
                                     Prompts::Buttons::Ok);
                 return nullptr;
             }
             return new frmFileProperties(m.document().location(), &m);
         },
         .main = Main::Usable,
         .instances = Instances::EachOpening},
        // A small box over the text; the text stays usable meanwhile.
        {.command = std::nullopt,
         .make = [&m] { return new frmGoToLine(*m.pad(), &m); },
         .main = Main::Usable,
         .shortcut = kGoToLine},
    };
}

void ToolWindowTable::wire(CommandTable& commands)
{
    for (const Row& row : std::as_const(m_rows)) {
        if (row.command)
            commands.on(*row.command, [this, &row] { open(row); });
        if (!row.shortcut.isEmpty())
            QObject::connect(new QShortcut(row.shortcut, &m_main), &QShortcut::activated, &m_main,
                             [this, &row] { open(row); });
    }
}

void ToolWindowTable::openByKey(const QKeySequence& key)
{
    for (const Row& row : std::as_const(m_rows))
        if (row.shortcut == key)
            open(row);
}

QList<QKeySequence> ToolWindowTable::shortcuts() const
{
    QList<QKeySequence> keys;
    for (const Row& row : m_rows)
        if (!row.shortcut.isEmpty())
            keys << row.shortcut;
    return keys;
}

void ToolWindowTable::open(const Row& row)
{
    if (row.instances == Instances::One) {
        if (QWidget* open = m_single.value(&row)) {
            open->setWindowState(open->windowState() & ~Qt::WindowMinimized);
            open->show();
            open->raise();
            open->activateWindow();
            return;
        }
    }
    QWidget* window = row.make();
    if (!window)
        return;
    if (row.instances == Instances::One)
        m_single.insert(&row, window);
    m_open.removeIf([](const QPointer<QWidget>& w) { return w.isNull(); });
    m_open.append(window);
    showToolWindow(window, row);
}

void ToolWindowTable::showToolWindow(QWidget* window, const Row& row)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    // Escape closes a tool window as Cancel or the close box would, as in
    // any dialog (a window that stores on closing still stores).
    QObject::connect(new QShortcut(QKeySequence(Qt::Key_Escape), window), &QShortcut::activated, window,
                     &QWidget::close);
    if (!window->parentWidget() && !OwnedWindow::owner(window))
        OwnedWindow::setOwner(window, &m_main);
    if (row.main == Main::Disabled) {
        m_main.setInputEnabled(false);
        frmMain* main = &m_main;
        QObject::connect(window, &QObject::destroyed, main, [main] { main->setInputEnabled(true); });
    }
    place(window, row.place);
    window->show();
    window->raise();
    window->activateWindow();
}

void ToolWindowTable::place(QWidget* window, Place where)
{
    switch (where) {
    case Place::OverMain: {
        window->adjustSize();
        const QRect frame = m_main.frameGeometry();
        window->move(frame.center() - QPoint(window->width() / 2, window->height() / 2));
        break;
    }
    case Place::TopRightOfText: {
        // The window keeps the size it chose for itself.
        const RichTextBox* pad = m_main.pad();
        const QRect area = QRect(pad->mapTo(&m_main, QPoint()), pad->size()).translated(m_main.geometry().topLeft());
        window->move(area.right() - window->frameGeometry().width() - 24, area.top() + 24);
        break;
    }
    }
}

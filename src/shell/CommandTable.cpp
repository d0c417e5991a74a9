#include "shell/CommandTable.h"
#include "shell/ToolbarIcons.h"
#include "base/Failure.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>

namespace {

using Row = CommandTable::MenuRow;

Row menu(int depth, const char* name, const char* caption)
{
    return {Row::Kind::Menu, depth, name, std::nullopt, caption, "", false};
}

Row separator(int depth, const char* name)
{
    return {Row::Kind::Separator, depth, name, std::nullopt, "", "", false};
}

Row command(int depth, Cmd cmd, const char* caption, const char* shortcut, bool checkable = false)
{
    return {Row::Kind::Command, depth, Commands::name(cmd).data(), cmd, caption, shortcut, checkable};
}

Row checkable(int depth, Cmd cmd, const char* caption, const char* shortcut)
{
    return command(depth, cmd, caption, shortcut, true);
}

}

const QList<CommandTable::MenuRow>& CommandTable::menuRows()
{
    static const QList<MenuRow> rows = {
        menu(0, "mnuFile", "File"),
        command(1, Cmd::mnuNew, "New", "Ctrl+N"),
        separator(1, "mnuBreak1"),
        command(1, Cmd::mnuOpen, "Open", "Ctrl+O"),
        separator(1, "mnuBreak2"),
        command(1, Cmd::mnuSave, "Save", "Ctrl+S"),
        command(1, Cmd::mnuSaveAs, "Save As...", ""),
        separator(1, "mnuBreak3"),
        command(1, Cmd::mnuPrint, "Print", "Ctrl+P"),
        separator(1, "mnuBreak4"),
        command(1, Cmd::mnuExit, "Exit", ""),

        menu(0, "mnuEdit", "Edit"),
        command(1, Cmd::mnuUndo, "Undo", ""),
        command(1, Cmd::mnuCut, "Cut", ""),
        command(1, Cmd::mnuCopy, "Copy", ""),
        command(1, Cmd::mnuPaste, "Paste", ""),
        separator(1, "mnuBreak5"),
        command(1, Cmd::mnuSelAll, "Select All", ""),
        command(1, Cmd::mnuFind, "Find/Replace", "Ctrl+F"),
        separator(1, "mnuBreak6"),
        menu(1, "mnuEditExtra", "Extra"),
        command(2, Cmd::mnuEditExtra_RevText, "Reverse selected text", ""),
        command(2, Cmd::mnuEditExtra_UCase, "Convert selected to Upper Case", ""),
        command(2, Cmd::mnuEditExtra_LCase, "Convert selected to Lower Case", ""),
        separator(2, "mnuBreak7"),
        command(2, Cmd::mnuStart, "Start", ""),
        command(2, Cmd::mnuEnd, "End", ""),
        separator(1, "mnuBreak8"),
        command(1, Cmd::mnuRevertDocument, "Revert Document", "Ctrl+F12"),
        checkable(1, Cmd::mnuLockText, "Lock text", "Ctrl+L"),

        menu(0, "mnuInsert", "Insert"),
        menu(1, "mnuTime", "Time/Date"),
        command(2, Cmd::mnuTimeOnly, "Time only", ""),
        command(2, Cmd::mnuDateOnly, "Date only", ""),
        command(2, Cmd::mnuTimeDate, "Time and Date", "F5"),
        command(1, Cmd::mnuMergeDocs, "Merge Documents...", ""),

        menu(0, "mnuView", "View"),
        checkable(1, Cmd::mnuViewHTML, "ViewHTML", ""),
        checkable(1, Cmd::mnuLiveHTML, "LiveHTML", ""),
        checkable(1, Cmd::mnuAlwaysOnTop, "Always On Top", ""),
        command(1, Cmd::mnuFileProps, "File's properties...", ""),
        separator(1, "mnuBreak9"),
        command(1, Cmd::mnuZoomIn, "Zoom In", ""),
        command(1, Cmd::mnuZoomOut, "Zoom Out", ""),

        menu(0, "mnuWebDevelopment", "Web Development"),
        menu(1, "mnuHTMLCSS", "HTML/CSS"),
        command(2, Cmd::mnuHTMLTags, "HTML tags", "Ctrl+H"),
        command(2, Cmd::mnuHTMLBold, "Bold", "Ctrl+B"),
        command(2, Cmd::mnuHTMLUnderlined, "Underlined", "Ctrl+U"),
        command(2, Cmd::mnuHTMLItalic, "Italic", "Ctrl+I"),
        command(2, Cmd::mnuHTMLComment, "Comment", ""),
        separator(2, "mnuBreak10"),
        command(2, Cmd::mnuCustomFont, "Custom Font...", ""),
        menu(1, "mnudotNET", ".NET"),
        command(2, Cmd::mnudotNETScript, "Script tags", ""),
        command(2, Cmd::mnudotNETForm, "Form tags", ""),
        menu(2, "mnudotNETComment", "Comment"),
        command(3, Cmd::mnudotNETComment_VB, "Visual Basic", ""),
        command(3, Cmd::mnudotNETComment_CCJ, "Visual C# .NET, Visual C++ .NET or JScript .NET", ""),
        command(3, Cmd::mnudotNETComment_Delphi, "Delphi .NET", ""),
        menu(1, "mnuASP", "ASP"),
        command(2, Cmd::mnuASPTags, "ASP tags", "Ctrl+F3"),
        command(2, Cmd::mnuASPOutput, "Output", "Shift+F3"),
        command(2, Cmd::mnuASPComment, "Comment", ""),
        menu(1, "mnuPHP", "PHP"),
        command(2, Cmd::mnuPHPTags, "PHP tags", "Ctrl+F4"),
        command(2, Cmd::mnuASPOuput, "PHP Output", "Shift+F4"),
        command(2, Cmd::mnuPHPComment, "Comment", ""),
        menu(1, "mnuJS", "JavaScript"),
        command(2, Cmd::mnuJSTags, "JavaScript tags", "Ctrl+F1"),
        command(2, Cmd::mnuJSOutput, "Output", "Shift+F1"),
        command(2, Cmd::mnuJSComment, "Comment", ""),
        menu(1, "mnuVBS", "VBScript"),
        command(2, Cmd::mnuVBSTags, "VBScript tags", "Ctrl+F2"),
        command(2, Cmd::mnuVBSOutput, "Output", "Shift+F2"),
        command(2, Cmd::mnuVBSComment, "Comment", ""),
        separator(1, "mnuBreak11"),
        command(1, Cmd::mnuWebPageWizard, "Web Page Wizard", ""),
        command(1, Cmd::mnuWebPageTemplates, "Web Page Templates", ""),
        command(1, Cmd::mnuDBCW, "Database Connection Wizard", ""),

        menu(0, "mnuTools", "Tools"),
        command(1, Cmd::mnuSpellCheck, "Spell Checker", ""),
        command(1, Cmd::mnuANSIConverter, "ANSI Converter", ""),
        separator(1, "mnuBreak12"),
        command(1, Cmd::mnuSettings, "Settings", ""),

        menu(0, "mnuHelp", "Help"),
        command(1, Cmd::mnuAbout, "About", "F12"),
        separator(1, "mnuBreak13"),
        command(1, Cmd::mnuLicenceAgreement, "Licence Agreement", ""),
        command(1, Cmd::mnuInterface, "Interface", ""),
        separator(1, "mnuBreak14"),
        command(1, Cmd::mnuWebSite, "Corvane Web Site", ""),
        command(1, Cmd::mnuQPWebSite, "Quirkpad Web Site", ""),
    };
    return rows;
}

const QList<CommandTable::ContextRow>& CommandTable::contextRows()
{
    static const QList<ContextRow> rows = {
        {Cmd::rcCopy, "Copy", "Ctrl+C", ""},
        {Cmd::rcPaste, "Paste", "Ctrl+V", ""},
        {Cmd::rcCut, "Cut", "Ctrl+X", ""},
        {Cmd::rcDelete, "Delete", "", ""},
        {std::nullopt, "", "", "mnuBreakRC1"},
        {Cmd::rcUndo, "Undo", "Ctrl+Z", ""},
        {Cmd::rcSelAll, "Select All...", "Ctrl+A", ""},
        {std::nullopt, "", "", "mnuBreakRC2"},
        {Cmd::rcZoomIn, "Zoom in", "", ""},
        {Cmd::rcZoomOut, "Zoom out", "", ""},
        {std::nullopt, "", "", "mnuBreakRC3"},
        {Cmd::rcLOS, "Length of selected", "", ""},
        {Cmd::rcFindReplace, "Find/Replace", "", ""},
    };
    return rows;
}

const QList<CommandTable::ToolRow>& CommandTable::toolRows()
{
    static const QList<ToolRow> rows = {
        {"New", "New", Cmd::mnuNew, "document-new"},
        {"Open", "Open", Cmd::mnuOpen, "document-open"},
        {"Save", "Save", Cmd::mnuSave, "document-save"},
        {"", "", std::nullopt, ""},
        {"Print", "Print", Cmd::mnuPrint, "document-print"},
        {"SpellCheck", "Sell Check", Cmd::mnuSpellCheck, "tools-check-spelling"},
        {"FindReplace", "FindReplace", Cmd::mnuFind, "edit-find-replace"},
        {"", "", std::nullopt, ""},
        {"Cut", "Cut", Cmd::rcCut, "edit-cut"},
        {"Copy", "Copy", Cmd::rcCopy, "edit-copy"},
        {"Paste", "Paste", Cmd::mnuPaste, "edit-paste"},
        {"Undo", "Undo", Cmd::mnuUndo, "edit-undo"},
        {"", "", std::nullopt, ""},
        {"ViewOnTop", "ViewOnTop", Cmd::mnuAlwaysOnTop, "view-pin;view-pin-symbolic;go-up"},
        {"ViewProperties", "View file's properties", Cmd::mnuFileProps, "document-properties"},
        {"Revert", "Revert file", Cmd::mnuRevertDocument, "document-revert"},
        {"", "", std::nullopt, ""},
        {"ViewHTML", "ViewHTML", Cmd::mnuViewHTML, "web-browser;text-html"},
        {"LiveHTML", "LiveHTML", Cmd::mnuLiveHTML, "view-refresh"},
        {"WebPageWizard", "Web Page Wizard", Cmd::mnuWebPageWizard, "applications-internet"},
        {"DatabaseWizard", "Database Connection Wizard", Cmd::mnuDBCW, "network-server"},
        {"", "", std::nullopt, ""},
        {"Start", "Start of document", Cmd::mnuStart, "go-top"},
        {"End", "End of document", Cmd::mnuEnd, "go-bottom"},
        {"", "", std::nullopt, ""},
        {"About", "About Quirkpad", Cmd::mnuAbout, "help-about"},
    };
    return rows;
}

CommandTable::CommandTable(QWidget* window) : QObject(window), m_window(window)
{
    for (const MenuRow& r : menuRows())
        if (r.command)
            makeAction(*r.command, QString::fromUtf8(r.caption), QLatin1String(r.shortcut), r.checkable);
    for (const ContextRow& r : contextRows()) {
        if (!r.command)
            continue;
        QString caption = QString::fromUtf8(r.caption);
        // The label only: the editor itself handles these keys.
        if (*r.shortcutLabel)
            caption += QLatin1Char('\t') + QLatin1String(r.shortcutLabel);
        makeAction(*r.command, caption, QString(), false);
    }
}

QAction* CommandTable::makeAction(Cmd command, const QString& caption, const QString& shortcut, bool checkable)
{
    auto* a = new QAction(caption, m_window);
    a->setObjectName(Commands::name(command));
    a->setCheckable(checkable);
    if (!shortcut.isEmpty()) {
        a->setShortcut(QKeySequence(shortcut, QKeySequence::PortableText));
        a->setShortcutContext(Qt::WindowShortcut);
    }
    // Menu captions are literal: "&" has no mnemonic meaning here.
    a->setIconVisibleInMenu(false);
    m_window->addAction(a);
    connect(a, &QAction::triggered, this, [this, command, a] { run(command, a); });
    m_actions.insert(command, a);
    m_order << command;
    return a;
}

void CommandTable::run(Cmd command, QAction* a)
{
    // Qt flips a check mark before it reports the click; the command itself
    // decides the new state from the old one, so put the old one back first.
    if (a->isCheckable())
        a->setChecked(!a->isChecked());
    const auto it = m_handlers.constFind(command);
    if (it == m_handlers.constEnd() || !*it)
        return;
    try {
        (*it)();
    } catch (...) {
        // A command that fails part-way is reported, never passed over as if
        // it had done its work; dispatch goes on with the next event.
        if (m_failureReport)
            m_failureReport(describeFailure(std::current_exception()));
    }
}

QAction* CommandTable::action(Cmd command) const
{
    return m_actions.value(command);
}

QList<QKeySequence> CommandTable::shortcuts() const
{
    QList<QKeySequence> keys;
    for (QAction* a : m_actions)
        if (!a->shortcut().isEmpty())
            keys << a->shortcut();
    return keys;
}

void CommandTable::on(Cmd command, std::function<void()> handler)
{
    m_handlers.insert(command, std::move(handler));
}

void CommandTable::buildMenuBar(QMenuBar* bar)
{
    // A stack of open menus by depth; rows below a menu row fill it.
    QList<QMenu*> stack;
    for (const MenuRow& r : menuRows()) {
        const QString name = QLatin1String(r.name);
        while (stack.size() > r.depth)
            stack.removeLast();
        switch (r.kind) {
        case MenuRow::Kind::Menu: {
            QMenu* menu = r.depth == 0 ? bar->addMenu(QString::fromUtf8(r.caption))
                                       : stack.last()->addMenu(QString::fromUtf8(r.caption));
            menu->setObjectName(name);
            stack << menu;
            break;
        }
        case MenuRow::Kind::Separator:
            stack.last()->addSeparator()->setObjectName(name);
            break;
        case MenuRow::Kind::Command:
            stack.last()->addAction(m_actions.value(*r.command));
            break;
        }
    }
}

QMenu* CommandTable::buildContextMenu(QWidget* parent)
{
    auto* menu = new QMenu(QStringLiteral("RightClick"), parent);
    menu->setObjectName(QStringLiteral("rcRightClick"));
    for (const ContextRow& r : contextRows()) {
        if (r.command)
            menu->addAction(m_actions.value(*r.command));
        else
            menu->addSeparator()->setObjectName(QLatin1String(r.separatorName));
    }
    return menu;
}

void CommandTable::buildToolBar(QToolBar* bar)
{
    for (const ToolRow& r : toolRows()) {
        if (!*r.key) {
            bar->addSeparator();
            continue;
        }
        QAction* a = m_actions.value(*r.command);
        a->setToolTip(QString::fromUtf8(r.tooltip));
        a->setIcon(ToolbarIcons::icon(QLatin1String(r.icon), QLatin1String(r.key)));
        bar->addAction(a);
        if (QWidget* button = bar->widgetForAction(a)) {
            button->setObjectName(QLatin1String(r.key));
            button->setProperty("key", QLatin1String(r.key));
        }
    }
}

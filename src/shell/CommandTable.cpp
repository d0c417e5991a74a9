#include "shell/CommandTable.h"
#include "shell/ToolbarIcons.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>

const QList<CommandTable::MenuRow>& CommandTable::menuRows()
{
    static const QList<MenuRow> rows = {
        {0, "mnuFile", "File", "", false},
        {1, "mnuNew", "New", "Ctrl+N", false},
        {1, "mnuBreak1", "", "", false},
        {1, "mnuOpen", "Open", "Ctrl+O", false},
        {1, "mnuBreak2", "", "", false},
        {1, "mnuSave", "Save", "Ctrl+S", false},
        {1, "mnuSaveAs", "Save As...", "", false},
        {1, "mnuBreak3", "", "", false},
        {1, "mnuPrint", "Print", "Ctrl+P", false},
        {1, "mnuBreak4", "", "", false},
        {1, "mnuExit", "Exit", "", false},

        {0, "mnuEdit", "Edit", "", false},
        {1, "mnuUndo", "Undo", "", false},
        {1, "mnuCut", "Cut", "", false},
        {1, "mnuCopy", "Copy", "", false},
        {1, "mnuPaste", "Paste", "", false},
        {1, "mnuBreak5", "", "", false},
        {1, "mnuSelAll", "Select All", "", false},
        {1, "mnuFind", "Find/Replace", "Ctrl+F", false},
        {1, "mnuBreak6", "", "", false},
        {1, "mnuEditExtra", "Extra", "", false},
        {2, "mnuEditExtra_RevText", "Reverse selected text", "", false},
        {2, "mnuEditExtra_UCase", "Convert selected to Upper Case", "", false},
        {2, "mnuEditExtra_LCase", "Convert selected to Lower Case", "", false},
        {2, "mnuBreak7", "", "", false},
        {2, "mnuStart", "Start", "", false},
        {2, "mnuEnd", "End", "", false},
        {1, "mnuBreak8", "", "", false},
        {1, "mnuRevertDocument", "Revert Document", "Ctrl+F12", false},
        {1, "mnuLockText", "Lock text", "Ctrl+L", true},

        {0, "mnuInsert", "Insert", "", false},
        {1, "mnuTime", "Time/Date", "", false},
        {2, "mnuTimeOnly", "Time only", "", false},
        {2, "mnuDateOnly", "Date only", "", false},
        {2, "mnuTimeDate", "Time and Date", "F5", false},
        {1, "mnuMergeDocs", "Merge Documents...", "", false},

        {0, "mnuView", "View", "", false},
        {1, "mnuViewHTML", "ViewHTML", "", true},
        {1, "mnuLiveHTML", "LiveHTML", "", true},
        {1, "mnuAlwaysOnTop", "Always On Top", "", true},
        {1, "mnuFileProps", "File's properties...", "", false},
        {1, "mnuBreak9", "", "", false},
        {1, "mnuZoomIn", "Zoom In", "", false},
        {1, "mnuZoomOut", "Zoom Out", "", false},

        {0, "mnuWebDevelopment", "Web Development", "", false},
        {1, "mnuHTMLCSS", "HTML/CSS", "", false},
        {2, "mnuHTMLTags", "HTML tags", "Ctrl+H", false},
        {2, "mnuHTMLBold", "Bold", "Ctrl+B", false},
        {2, "mnuHTMLUnderlined", "Underlined", "Ctrl+U", false},
        {2, "mnuHTMLItalic", "Italic", "Ctrl+I", false},
        {2, "mnuHTMLComment", "Comment", "", false},
        {2, "mnuBreak10", "", "", false},
        {2, "mnuCustomFont", "Custom Font...", "", false},
        {1, "mnudotNET", ".NET", "", false},
        {2, "mnudotNETScript", "Script tags", "", false},
        {2, "mnudotNETForm", "Form tags", "", false},
        {2, "mnudotNETComment", "Comment", "", false},
        {3, "mnudotNETComment_VB", "Visual Basic", "", false},
        {3, "mnudotNETComment_CCJ", "Visual C# .NET, Visual C++ .NET or JScript .NET", "", false},
        {3, "mnudotNETComment_Delphi", "Delphi .NET", "", false},
        {1, "mnuASP", "ASP", "", false},
        {2, "mnuASPTags", "ASP tags", "Ctrl+F3", false},
        {2, "mnuASPOutput", "Output", "Shift+F3", false},
        {2, "mnuASPComment", "Comment", "", false},
        {1, "mnuPHP", "PHP", "", false},
        {2, "mnuPHPTags", "PHP tags", "Ctrl+F4", false},
        {2, "mnuASPOuput", "PHP Output", "Shift+F4", false},
        {2, "mnuPHPComment", "Comment", "", false},
        {1, "mnuJS", "JavaScript", "", false},
        {2, "mnuJSTags", "JavaScript tags", "Ctrl+F1", false},
        {2, "mnuJSOutput", "Output", "Shift+F1", false},
        {2, "mnuJSComment", "Comment", "", false},
        {1, "mnuVBS", "VBScript", "", false},
        {2, "mnuVBSTags", "VBScript tags", "Ctrl+F2", false},
        {2, "mnuVBSOutput", "Output", "Shift+F2", false},
        {2, "mnuVBSComment", "Comment", "", false},
        {1, "mnuBreak11", "", "", false},
        {1, "mnuWebPageWizard", "Web Page Wizard", "", false},
        {1, "mnuWebPageTemplates", "Web Page Templates", "", false},
        {1, "mnuDBCW", "Database Connection Wizard", "", false},

        {0, "mnuTools", "Tools", "", false},
        {1, "mnuSpellCheck", "Spell Checker", "", false},
        {1, "mnuANSIConverter", "ANSI Converter", "", false},
        {1, "mnuBreak12", "", "", false},
        {1, "mnuSettings", "Settings", "", false},

        {0, "mnuHelp", "Help", "", false},
        {1, "mnuAbout", "About", "F12", false},
        {1, "mnuBreak13", "", "", false},
        {1, "mnuLicenceAgreement", "Licence Agreement", "", false},
        {1, "mnuInterface", "Interface", "", false},
        {1, "mnuBreak14", "", "", false},
        {1, "mnuWebSite", "Corvane Web Site", "", false},
        {1, "mnuQPWebSite", "Quirkpad Web Site", "", false},
    };
    return rows;
}

const QList<CommandTable::ContextRow>& CommandTable::contextRows()
{
    static const QList<ContextRow> rows = {
        {"rcCopy", "Copy", "Ctrl+C"},
        {"rcPaste", "Paste", "Ctrl+V"},
        {"rcCut", "Cut", "Ctrl+X"},
        {"rcDelete", "Delete", ""},
        {"mnuBreakRC1", "", ""},
        {"rcUndo", "Undo", "Ctrl+Z"},
        {"rcSelAll", "Select All...", "Ctrl+A"},
        {"mnuBreakRC2", "", ""},
        {"rcZoomIn", "Zoom in", ""},
        {"rcZoomOut", "Zoom out", ""},
        {"mnuBreakRC3", "", ""},
        {"rcLOS", "Length of selected", ""},
        {"rcFindReplace", "Find/Replace", ""},
    };
    return rows;
}

const QList<CommandTable::ToolRow>& CommandTable::toolRows()
{
    static const QList<ToolRow> rows = {
        {"New", "New", "mnuNew", "document-new"},
        {"Open", "Open", "mnuOpen", "document-open"},
        {"Save", "Save", "mnuSave", "document-save"},
        {"", "", "", ""},
        {"Print", "Print", "mnuPrint", "document-print"},
        {"SpellCheck", "Sell Check", "mnuSpellCheck", "tools-check-spelling"},
        {"FindReplace", "FindReplace", "mnuFind", "edit-find-replace"},
        {"", "", "", ""},
        {"Cut", "Cut", "rcCut", "edit-cut"},
        {"Copy", "Copy", "rcCopy", "edit-copy"},
        {"Paste", "Paste", "mnuPaste", "edit-paste"},
        {"Undo", "Undo", "mnuUndo", "edit-undo"},
        {"", "", "", ""},
        {"ViewOnTop", "ViewOnTop", "mnuAlwaysOnTop", "view-pin;view-pin-symbolic;go-up"},
        {"ViewProperties", "View file's properties", "mnuFileProps", "document-properties"},
        {"Revert", "Revert file", "mnuRevertDocument", "document-revert"},
        {"", "", "", ""},
        {"ViewHTML", "ViewHTML", "mnuViewHTML", "web-browser;text-html"},
        {"LiveHTML", "LiveHTML", "mnuLiveHTML", "view-refresh"},
        {"WebPageWizard", "Web Page Wizard", "mnuWebPageWizard", "applications-internet"},
        {"DatabaseWizard", "Database Connection Wizard", "mnuDBCW", "network-server"},
        {"", "", "", ""},
        {"Start", "Start of document", "mnuStart", "go-top"},
        {"End", "End of document", "mnuEnd", "go-bottom"},
        {"", "", "", ""},
        {"About", "About Quirkpad", "mnuAbout", "help-about"},
    };
    return rows;
}

bool CommandTable::isMenuRow(int i)
{
    // A menu of the bar, or a row whose next row lies deeper: a submenu.
    const QList<MenuRow>& rows = menuRows();
    return rows[i].depth == 0 || (i + 1 < rows.size() && rows[i + 1].depth > rows[i].depth);
}

CommandTable::CommandTable(QWidget* window) : QObject(window), m_window(window)
{
    const QList<MenuRow>& rows = menuRows();
    for (int i = 0; i < rows.size(); ++i) {
        const MenuRow& r = rows[i];
        const QString name = QLatin1String(r.name);
        if (isMenuRow(i) || name.startsWith(QLatin1String("mnuBreak")))
            continue;
        makeAction(name, QString::fromUtf8(r.caption), QLatin1String(r.shortcut), r.checkable);
    }
    for (const ContextRow& r : contextRows()) {
        const QString name = QLatin1String(r.name);
        if (name.startsWith(QLatin1String("mnuBreak")))
            continue;
        QString caption = QString::fromUtf8(r.caption);
        // The label only: the editor itself handles these keys.
        if (*r.shortcutLabel)
            caption += QLatin1Char('\t') + QLatin1String(r.shortcutLabel);
        makeAction(name, caption, QString(), false);
    }
}

QAction* CommandTable::makeAction(const QString& name, const QString& caption, const QString& shortcut,
                                  bool checkable)
{
    auto* a = new QAction(caption, m_window);
    a->setObjectName(name);
    a->setCheckable(checkable);
    if (!shortcut.isEmpty()) {
        a->setShortcut(QKeySequence(shortcut, QKeySequence::PortableText));
        a->setShortcutContext(Qt::WindowShortcut);
    }
    // Menu captions are literal: "&" has no mnemonic meaning here.
    a->setIconVisibleInMenu(false);
    m_window->addAction(a);
    connect(a, &QAction::triggered, this, [this, name, a] { run(name, a); });
    m_actions.insert(name, a);
    m_order << name;
    return a;
}

void CommandTable::run(const QString& name, QAction* a)
{
    // Qt flips a check mark before it reports the click; the command itself
    // decides the new state from the old one, so put the old one back first.
    if (a->isCheckable())
        a->setChecked(!a->isChecked());
    const auto it = m_handlers.constFind(name);
    if (it == m_handlers.constEnd() || !*it)
        return;
    try {
        (*it)();
    } catch (...) {
        // A failing command reports through its own handling; dispatch goes on.
    }
}

QAction* CommandTable::action(const QString& name) const
{
    return m_actions.value(name);
}

QStringList CommandTable::commandNames() const
{
    return m_order;
}

QList<QKeySequence> CommandTable::shortcuts() const
{
    QList<QKeySequence> keys;
    for (QAction* a : m_actions)
        if (!a->shortcut().isEmpty())
            keys << a->shortcut();
    return keys;
}

void CommandTable::on(const QString& name, std::function<void()> handler)
{
    Q_ASSERT(m_actions.contains(name));
    m_handlers.insert(name, std::move(handler));
}

void CommandTable::buildMenuBar(QMenuBar* bar)
{
    // A stack of open menus by depth; rows below a menu row fill it.
    QList<QMenu*> stack;
    const QList<MenuRow>& rows = menuRows();
    for (int i = 0; i < rows.size(); ++i) {
        const MenuRow& r = rows[i];
        const QString name = QLatin1String(r.name);
        while (stack.size() > r.depth)
            stack.removeLast();
        if (isMenuRow(i)) {
            QMenu* menu = r.depth == 0 ? bar->addMenu(QString::fromUtf8(r.caption))
                                       : stack.last()->addMenu(QString::fromUtf8(r.caption));
            menu->setObjectName(name);
            stack << menu;
        } else if (name.startsWith(QLatin1String("mnuBreak"))) {
            stack.last()->addSeparator()->setObjectName(name);
        } else {
            stack.last()->addAction(m_actions.value(name));
        }
    }
}

QMenu* CommandTable::buildContextMenu(QWidget* parent)
{
    auto* menu = new QMenu(QStringLiteral("RightClick"), parent);
    menu->setObjectName(QStringLiteral("rcRightClick"));
    for (const ContextRow& r : contextRows()) {
        const QString name = QLatin1String(r.name);
        if (name.startsWith(QLatin1String("mnuBreak")))
            menu->addSeparator()->setObjectName(name);
        else
            menu->addAction(m_actions.value(name));
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
        QAction* a = m_actions.value(QLatin1String(r.command));
        a->setToolTip(QString::fromUtf8(r.tooltip));
        a->setIcon(ToolbarIcons::icon(QLatin1String(r.icon), QLatin1String(r.key)));
        bar->addAction(a);
        if (QWidget* button = bar->widgetForAction(a)) {
            button->setObjectName(QLatin1String(r.key));
            button->setProperty("key", QLatin1String(r.key));
        }
    }
}

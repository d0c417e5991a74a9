#pragma once
#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

// Every command of the main window, declared once: its menu place, caption,
// shortcut and check mark; the context menu; the toolbar with its keys and
// tooltips. Menu items, toolbar buttons and context items are made from this
// table, and each runs the one handler registered for its command, so twins
// cannot drift apart. A checkable command is one QAction shared by its menu
// item and its toolbar button, so the check mark and the pressed state agree.
class CommandTable : public QObject {
    Q_OBJECT
public:
    struct MenuRow {
        int depth;             // 0: a menu of the bar; deeper rows belong to the row above
        const char* name;      // objectName; "mnuBreakN" rows are separators
        const char* caption;
        const char* shortcut;  // QKeySequence text, "" for none
        bool checkable;
    };
    struct ContextRow {
        const char* name;      // "mnuBreakRCn" rows are separators
        const char* caption;
        const char* shortcutLabel;  // shown beside the caption; the editor handles the key itself
    };
    struct ToolRow {
        const char* key;       // "" for a separator
        const char* tooltip;
        const char* command;   // the action the button shares
        const char* icon;      // icon theme name
    };

    static const QList<MenuRow>& menuRows();
    static const QList<ContextRow>& contextRows();
    static const QList<ToolRow>& toolRows();
    // Whether menu row i opens a menu rather than running a command.
    static bool isMenuRow(int i);

    explicit CommandTable(QWidget* window);

    QAction* action(const QString& name) const;
    QStringList commandNames() const;
    // Every shortcut the window binds (the editor must not bind them too).
    QList<QKeySequence> shortcuts() const;

    // The one handler of a command. Commands without a handler do nothing.
    void on(const QString& name, std::function<void()> handler);
    bool hasHandler(const QString& name) const { return m_handlers.contains(name); }

    void buildMenuBar(QMenuBar* bar);
    QMenu* buildContextMenu(QWidget* parent);
    void buildToolBar(QToolBar* bar);

private:
    QAction* makeAction(const QString& name, const QString& caption, const QString& shortcut, bool checkable);
    void run(const QString& name, QAction* action);

    QWidget* m_window;
    QHash<QString, QAction*> m_actions;
    QHash<QString, std::function<void()>> m_handlers;
    QStringList m_order;
};

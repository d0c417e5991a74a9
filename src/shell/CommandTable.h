#pragma once
#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "base/CommandIds.h"

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
        enum class Kind { Menu, Command, Separator };
        Kind kind;
        int depth;                  // 0: a menu of the bar; deeper rows belong to the row above
        const char* name;           // objectName: the menu's, the separator's or the command's
        std::optional<Cmd> command; // command rows only
        const char* caption;
        const char* shortcut;       // QKeySequence text, "" for none
        bool checkable;
    };
    struct ContextRow {
        std::optional<Cmd> command; // none for a separator
        const char* caption;
        const char* shortcutLabel;  // shown beside the caption; the editor handles the key itself
        const char* separatorName;  // "mnuBreakRCn" for a separator
    };
    struct ToolRow {
        const char* key;            // "" for a separator
        const char* tooltip;
        std::optional<Cmd> command; // the action the button shares
        const char* icon;           // icon theme name
    };

    static const QList<MenuRow>& menuRows();
    static const QList<ContextRow>& contextRows();
    static const QList<ToolRow>& toolRows();

    explicit CommandTable(QWidget* window);

    QAction* action(Cmd command) const;
    // Every command, in the order of the table.
    QList<Cmd> commandList() const { return m_order; }
    // Every shortcut the window binds (the editor must not bind them too).
    QList<QKeySequence> shortcuts() const;

    // The one handler of a command. Commands without a handler do nothing.
    void on(Cmd command, std::function<void()> handler);
    bool hasHandler(Cmd command) const { return m_handlers.contains(command); }
    // Told the description of a failure that ended a command (an exception).
    void onFailure(std::function<void(const QString& description)> report) { m_failureReport = std::move(report); }

    void buildMenuBar(QMenuBar* bar);
    QMenu* buildContextMenu(QWidget* parent);
    void buildToolBar(QToolBar* bar);

private:
    QAction* makeAction(Cmd command, const QString& caption, const QString& shortcut, bool checkable);
    void run(Cmd command, QAction* action);

    QWidget* m_window;
    QHash<Cmd, QAction*> m_actions;
    QHash<Cmd, std::function<void()>> m_handlers;
    QList<Cmd> m_order;
    std::function<void(const QString&)> m_failureReport;
};

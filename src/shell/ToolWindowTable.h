#pragma once
#include "base/CommandIds.h"

#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QPointer>
#include <functional>
#include <optional>

class CommandTable;
class QWidget;
class frmMain;

// Every tool window the main window opens, one row each, and the one way
// they open: the row's command makes the window, showToolWindow() owns it
// to the main window, places it, lets Escape close it and, for a window that
// acts as a dialog, keeps the main window from taking input until the window
// is gone, however it goes. A window deletes itself when closed, so the
// next opening starts afresh.
//
// The preview window is not here: one window serves View HTML, Live HTML
// and Help > Interface, and the preview's modes decide when it opens and
// closes (see PreviewController).
class ToolWindowTable {
public:
    // Whether the main window takes input while the window is open.
    enum class Main { Disabled, Usable };
    // What the command does while one of its windows is open: bring that
    // one forward (as it was), or open another.
    enum class Instances { One, EachOpening };
    // Where a new window appears: over the middle of the main window, where
    // the user is looking, or near the top right of the text, clear of the
    // text being searched.
    enum class Place { OverMain, TopRightOfText };

    struct Row {
        // The command that opens the window; a window no command opens has
        // a key of its own instead (see shortcut).
        std::optional<Cmd> command;
        // The window, owned by the main window; or nullptr when there is
        // none to show (the maker has told the user why).
        std::function<QWidget*()> make;
        Main main = Main::Disabled;
        Instances instances = Instances::One;
        Place place = Place::OverMain;
        // A key of the main window that opens the window (no menu item does).
        QKeySequence shortcut = {};
    };

    explicit ToolWindowTable(frmMain& main);
    ToolWindowTable(const ToolWindowTable&) = delete;
    ToolWindowTable& operator=(const ToolWindowTable&) = delete;
    // Owned windows are no children: they must not outlive the editor whose
    // controls they work on.
    ~ToolWindowTable();

    // Gives every row's command its handler, and every row's key its
    // shortcut in the main window.
    void wire(CommandTable& commands);
    // Opens the window of the row with this key, as the key does.
    void openByKey(const QKeySequence& key);
    // The keys of the rows: the editor must not bind them too.
    QList<QKeySequence> shortcuts() const;

    // Go to Line: Ctrl+G, and a click on the caret's place in the status bar.
    static inline const QKeySequence kGoToLine{Qt::CTRL | Qt::Key_G};

private:
    QList<Row> makeRows();
    void open(const Row& row);
    void showToolWindow(QWidget* window, const Row& row);
    void place(QWidget* window, Place where);

    frmMain& m_main;
    QList<Row> m_rows;
    // The open window of each command whose window is one at a time.
    QHash<const Row*, QPointer<QWidget>> m_single;
    // Every window opened and not yet gone.
    QList<QPointer<QWidget>> m_open;
};

#pragma once
#include "base/CommandIds.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <functional>

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
        Cmd command;
        // The window, owned by the main window; or nullptr when there is
        // none to show (the maker has told the user why).
        std::function<QWidget*()> make;
        Main main = Main::Disabled;
        Instances instances = Instances::One;
        Place place = Place::OverMain;
    };

    explicit ToolWindowTable(frmMain& main);
    ToolWindowTable(const ToolWindowTable&) = delete;
    ToolWindowTable& operator=(const ToolWindowTable&) = delete;
    // Owned windows are no children: they must not outlive the editor whose
    // controls they work on.
    ~ToolWindowTable();

    // Gives every row's command its handler.
    void wire(CommandTable& commands);

private:
    QList<Row> makeRows();
    void open(const Row& row);
    void showToolWindow(QWidget* window, const Row& row);
    void place(QWidget* window, Place where);

    frmMain& m_main;
    QList<Row> m_rows;
    // The open window of each command whose window is one at a time.
    QHash<Cmd, QPointer<QWidget>> m_single;
    // Every window opened and not yet gone.
    QList<QPointer<QWidget>> m_open;
};

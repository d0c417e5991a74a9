#pragma once
#include "files/TextFormat.h"
#include "base/CommandIds.h"

#include <QLatin1StringView>
#include <QString>
#include <QStringView>
#include <span>

// The fragments of web code the Web Development menu inserts. Every
// fragment is "before" + middle + "after", where the middle is nothing for a
// fixed block, the text typed into the input box for a prompted fragment, and
// the selected text for a wrap. Line breaks inside the pieces are CR LF.
enum class SnippetKind { Fixed, Prompted, Wrap };

struct Snippet {
    Cmd command;                  // the menu item that inserts it
    SnippetKind kind;
    QLatin1StringView prompt;     // prompted fragments only
    QLatin1StringView before;
    QLatin1StringView after;
};

namespace Snippets {

// All twenty-two snippets, in the order of the menu.
std::span<const Snippet> table();

// The snippet of a menu item, or nullptr for a command that inserts none.
const Snippet* find(Cmd command);

// The fragment's text around the middle (the input or the selection; ignored
// for a fixed block). The pieces' line breaks come in the given style; the
// middle is taken exactly as given.
QString text(const Snippet& snippet, const QString& middle, LineBreak style = LineBreak::CrLf);

}

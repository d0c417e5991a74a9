#include "text/BlockIndent.h"

#include <QList>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace BlockIndent {
namespace {

int leadingSpaces(const QString& line)
{
    int n = 0;
    while (n < line.size() && line[n] == QLatin1Char(' '))
        ++n;
    return n;
}

bool isBlankLine(const QString& line)
{
    for (QChar c : line)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t'))
            return false;
    return true;
}

// The selection with each end moved by what was inserted (positive) or
// removed (negative) at the start of its line. An end at column 0 stays
// there, so that whole lines stay selected; an end inside removed blanks
// goes to the line's start.
Selection shifted(const Selection& selection, int firstLine, const QList<int>& change)
{
    auto move = [&](Position p) {
        const int i = p.line - firstLine;
        if (i >= 0 && i < change.size() && p.column > 0)
            p.column = std::max(0, p.column + change[i]);
        return p;
    };
    return {move(selection.anchor), move(selection.caret)};
}

}

bool spansLines(const Selection& selection)
{
    return selection.anchor.line != selection.caret.line;
}

Lines linesOf(const Selection& selection)
{
    const Position& start = std::min(selection.anchor, selection.caret, [](const Position& a, const Position& b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
    const Position& end = &start == &selection.anchor ? selection.caret : selection.anchor;
    Lines lines{start.line, end.line};
    if (end.line > start.line && end.column == 0)
        --lines.last;
    return lines;
}

Unit detect(const QStringList& sample, int tabWidth)
{
    int withTab = 0;
    int withSpace = 0;
    std::array<int, 9> steps{};
    // The indentation of the last non-blank line indented with spaces or
    // not at all; -1 after a line indented with tabs. The sample's first
    // line grows from no indentation.
    int previous = 0;
    for (const QString& line : sample) {
        if (isBlankLine(line))
            continue;
        const QChar first = line.front();
        if (first == QLatin1Char('\t')) {
            ++withTab;
            previous = -1;   // a step from tabs to spaces says nothing of a level's width
            continue;
        }
        if (first == QLatin1Char(' '))
            ++withSpace;
        const int spaces = leadingSpaces(line);
        if (previous >= 0 && spaces > previous && spaces - previous <= 8)
            ++steps[size_t(spaces - previous)];
        previous = spaces;
    }
    if (withSpace <= withTab)
        return {true, tabWidth};
    int best = 0;
    for (int width = 1; width <= 8; ++width)
        if (steps[size_t(width)] > steps[size_t(best)])
            best = width;
    return {false, best > 0 ? best : tabWidth};
}

Outcome indent(const QStringList& lines, int firstLine, const Selection& selection, const Unit& unit)
{
    const QString spaces(unit.spaces, QLatin1Char(' '));
    const QString tab(1, QLatin1Char('\t'));
    Outcome out;
    QList<int> change;
    for (const QString& line : lines) {
        const QString& level = line.startsWith(QLatin1Char('\t')) ? tab
                               : line.startsWith(QLatin1Char(' ')) ? spaces
                               : unit.tabs                         ? tab
                                                                   : spaces;
        if (line.isEmpty() || level.isEmpty()) {
            out.lines << line;
            change << 0;
            continue;
        }
        out.lines << level + line;
        change << int(level.size());
        out.changed = true;
    }
    out.selection = shifted(selection, firstLine, change);
    return out;
}

Outcome outdent(const QStringList& lines, int firstLine, const Selection& selection, const Unit& unit)
{
    Outcome out;
    QList<int> change;
    for (const QString& line : lines) {
        const int removed = line.startsWith(QLatin1Char('\t')) ? 1 : std::min(leadingSpaces(line), unit.spaces);
        out.lines << line.mid(removed);
        change << -removed;
        out.changed = out.changed || removed > 0;
    }
    out.selection = shifted(selection, firstLine, change);
    return out;
}

}

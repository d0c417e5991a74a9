#include "editor/BlockIndenter.h"
#include "editor/RichTextBox.h"
#include "text/BlockIndent.h"

#include <algorithm>

namespace {

using Sci = QsciScintillaBase;

// The lines around the block that the indentation's kind is guessed from.
constexpr int kSampleAround = 500;
constexpr int kMostSampled = 4000;

// A line's leading blanks and the character after them: all that indenting
// and outdenting look at (whether a line is empty or blank, and what its
// indentation begins with), whatever the line's length.
QString lineHead(const Document& document, const QsciScintillaBase& engine, int line)
{
    const long start = document.lineStartByte(line);
    const long end = engine.SendScintilla(Sci::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line));
    const QByteArrayView text = document.utf8Range(start, end);
    qsizetype n = 0;
    while (n < text.size() && (text[n] == ' ' || text[n] == '\t'))
        ++n;
    // Any one character after the blanks will do: only that there is one counts.
    return QString::fromLatin1(text.first(std::min(n + 1, text.size())));
}

BlockIndent::Position positionOf(const Document& document, long byte)
{
    const int line = document.lineOfByte(byte);
    return {line, int(byte - document.lineStartByte(line))};
}

}

bool BlockIndenter::shift(RichTextBox& box, Direction direction)
{
    Document& document = box.document();
    // Columns in bytes: only blanks change, one byte each (see BlockIndent).
    const BlockIndent::Selection selection{positionOf(document, box.SendScintilla(Sci::SCI_GETANCHOR)),
                                           positionOf(document, box.SendScintilla(Sci::SCI_GETCURRENTPOS))};
    if (!BlockIndent::spansLines(selection))
        return false;
    const BlockIndent::Lines lines = BlockIndent::linesOf(selection);
    QStringList block;
    for (int line = lines.first; line <= lines.last; ++line)
        block << lineHead(document, box.engine(), line);
    QStringList sample;
    const int sampleFirst = std::max(0, lines.first - kSampleAround);
    const int sampleEnd = std::min({document.lineCount(), lines.last + 1 + kSampleAround, sampleFirst + kMostSampled});
    for (int line = sampleFirst; line < sampleEnd; ++line)
        sample << lineHead(document, box.engine(), line);
    const BlockIndent::Unit unit =
        BlockIndent::detect(sample, int(box.SendScintilla(Sci::SCI_GETTABWIDTH)));
    const BlockIndent::Outcome outcome = direction == Direction::Indent
                                             ? BlockIndent::indent(block, lines.first, selection, unit)
                                             : BlockIndent::outdent(block, lines.first, selection, unit);
    if (!outcome.changed)
        return true;

    Document::EditStep step(document);
    box.SendScintilla(Sci::SCI_BEGINUNDOACTION);
    // From the first line down, so that Undo leaves the caret at the block's start.
    for (int i = 0; i < int(block.size()); ++i) {
        const long start = document.lineStartByte(lines.first + i);
        const qsizetype grown = outcome.lines[i].size() - block[i].size();
        if (grown > 0)
            document.replaceBytes(start, start, outcome.lines[i].first(grown).toLatin1());
        else if (grown < 0)
            document.replaceBytes(start, start - grown, {});
    }
    box.SendScintilla(Sci::SCI_ENDUNDOACTION);
    auto byteOf = [&document](const BlockIndent::Position& p) { return document.lineStartByte(p.line) + p.column; };
    box.placeSelection(byteOf(outcome.selection.anchor), byteOf(outcome.selection.caret), true);
    return true;
}

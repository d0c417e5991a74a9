#include "html/TidyCheck.h"

#include <tidy/tidy.h>
#include <tidy/tidybuffio.h>

#include <algorithm>
#include <climits>
#include <mutex>

namespace TidyCheck {
namespace {

// libtidy keeps state of the whole process that every new Tidy document
// writes: its table of character classes (rewritten by each tidyCreate
// while other documents' parsers read it) and the language of its messages
// (set from LC_MESSAGES or LANG by each tidyCreate unless the program has
// set one itself). The language is set once; the checks themselves take
// turns, which costs nothing while one document has at most one check
// running and keeps any check from seeing another's half-written table.
std::mutex& tidyTurn()
{
    static std::mutex turn;
    return turn;
}

void setLanguageOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { tidySetLanguage("en"); });
}

Bool TIDY_CALL collect(TidyMessage message)
{
    const TidyReportLevel level = tidyGetMessageLevel(message);
    if (level == TidyWarning || level == TidyError) {
        auto* problems = static_cast<std::vector<Problem>*>(tidyGetAppData(tidyGetMessageDoc(message)));
        Problem p;
        p.severity = level == TidyError ? Severity::Error : Severity::Warning;
        // A problem of the page as a whole (none has been seen without a
        // place, but Tidy allows it) stands at its beginning.
        p.line = std::max(1, tidyGetMessageLine(message));
        p.column = std::max(1, tidyGetMessageColumn(message));
        // The message in Tidy's default (English) wording whatever the locale.
        p.message = QString::fromUtf8(tidyGetMessageDefault(message)).trimmed();
        p.key = tidyGetMessageKey(message);
        problems->push_back(std::move(p));
    }
    return no;   // nothing to Tidy's own error output
}

// Walks the text forward, line by line and column by column, as Tidy counts
// them; positions must be asked for in increasing order.
class Walker {
public:
    explicit Walker(QByteArrayView text) : m_text(text)
    {
        if (text.startsWith("\xEF\xBB\xBF"))
            m_pos = 3;
    }

    qsizetype seek(int line, int column)
    {
        while (m_line < line) {
            if (!nextLine())
                return m_text.size();
        }
        while (m_column < column && m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (c == '\r' || c == '\n')
                break;
            const int next = c == '\t' ? ((m_column - 1) / kTabSize + 1) * kTabSize + 1 : m_column + 1;
            if (next > column)
                break;   // the column is inside a tab
            m_column = next;
            m_pos += sequenceLength(m_pos);
        }
        return m_pos;
    }

private:
    bool nextLine()
    {
        const qsizetype size = m_text.size();
        while (m_pos < size && m_text[m_pos] != '\n' && m_text[m_pos] != '\r')
            ++m_pos;
        if (m_pos == size)
            return false;
        if (m_text[m_pos] == '\r' && m_pos + 1 < size && m_text[m_pos + 1] == '\n')
            ++m_pos;
        ++m_pos;
        ++m_line;
        m_column = 1;
        return true;
    }

    // The bytes of the character at pos: a whole UTF-8 sequence, or as much
    // of a broken one as belongs together, or a single stray byte.
    qsizetype sequenceLength(qsizetype pos) const
    {
        const auto lead = static_cast<unsigned char>(m_text[pos]);
        const int expected = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xC2 && lead <= 0xDF                                  ? 2
                                                                                             : 1;
        qsizetype length = 1;
        while (length < expected && pos + length < m_text.size()
               && (static_cast<unsigned char>(m_text[pos + length]) & 0xC0) == 0x80)
            ++length;
        return length;
    }

    QByteArrayView m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
    int m_column = 1;
};

}

qsizetype offsetOf(QByteArrayView utf8, int line, int column)
{
    return Walker(utf8).seek(line, column);
}

Result<std::vector<Problem>> check(QByteArrayView utf8)
{
    if (utf8.size() > qsizetype(UINT_MAX))
        return Failure(QStringLiteral("The page is too large for HTML Tidy."));
    setLanguageOnce();
    std::vector<Problem> problems;
    int parsed = 0;
    {
        const std::lock_guard<std::mutex> turn(tidyTurn());
        TidyDoc doc = tidyCreate();
        tidySetAppData(doc, &problems);
        tidySetMessageCallback(doc, collect);
        tidyOptSetBool(doc, TidyQuiet, yes);
        tidyOptSetBool(doc, TidyShowWarnings, yes);
        tidyOptSetBool(doc, TidyShowInfo, no);
        tidyOptSetInt(doc, TidyShowErrors, UINT_MAX);
        tidyOptSetInt(doc, TidyAccessibilityCheckLevel, 0);
        tidyOptSetInt(doc, TidyTabSize, kTabSize);
        tidySetCharEncoding(doc, "utf8");

        TidyBuffer input;
        tidyBufInit(&input);
        // Tidy only reads the buffer it is given.
        tidyBufAttach(&input, reinterpret_cast<byte*>(const_cast<char*>(utf8.data())), uint(utf8.size()));
        parsed = tidyParseBuffer(doc, &input);
        // Some problems (unknown attributes among them) are found only while
        // Tidy repairs the document, as the tidy command does before it
        // reports; the repaired document is never written anywhere.
        if (parsed >= 0)
            parsed = tidyCleanAndRepair(doc);
        if (parsed >= 0)
            parsed = tidyRunDiagnostics(doc);
        tidyBufDetach(&input);
        tidyRelease(doc);
    }
    if (parsed < 0)
        return Failure(QStringLiteral("HTML Tidy could not check the page."));

    std::stable_sort(problems.begin(), problems.end(), [](const Problem& a, const Problem& b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
    Walker walker(utf8);
    for (Problem& p : problems)
        p.offset = walker.seek(p.line, p.column);
    return problems;
}

}

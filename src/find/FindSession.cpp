#include "find/FindSession.h"
#include "editor/FindMarks.h"
#include "editor/RichTextBox.h"
#include "services/Prompts.h"

FindSession::FindSession(RichTextBox& pad, Prompts& prompts, QObject* parent)
    : QObject(parent), m_pad(pad), m_prompts(prompts), m_marks(new FindMarks(pad, this))
{
}

FindSession::~FindSession() = default;

void FindSession::setSearch(const QString& text, FindReplace::Direction direction)
{
    const bool newText = text != m_text;
    m_text = text;
    if (!text.isEmpty())
        m_lastText = text;
    m_direction = direction;
    if (newText)
        updateMarks();
}

void FindSession::windowOpened()
{
    ++m_openWindows;
    m_text.clear();
    updateMarks();
}

void FindSession::windowClosed()
{
    m_openWindows = std::max(0, m_openWindows - 1);
    updateMarks();
}

void FindSession::updateMarks()
{
    if (m_openWindows == 0 || m_text.isEmpty()) {
        m_marks->setFinder({});
        return;
    }
    m_marks->setFinder([this, text = m_text](long from, long to) {
        // The occurrence selected now is the one the user is at, not another.
        const RichTextBox::ByteRange selected = m_pad.selectionBytes();
        QList<FindMarks::Range> others;
        for (const FindReplace::Occurrence& o : FindReplace::occurrencesNear(m_pad, from, to, text))
            if (o.start != selected.start || o.end != selected.end)
                others.append({o.start, o.end});
        return others;
    });
}

bool FindSession::repeat()
{
    const QString what = text();
    if (what.isEmpty())
        return false;
    if (!FindReplace::findNext(m_pad, what, m_direction))
        m_prompts.message(FindReplace::notFoundMessage(what), Prompts::Icon::Information, Prompts::Buttons::Ok);
    return true;
}

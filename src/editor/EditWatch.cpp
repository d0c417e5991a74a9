#include "editor/EditWatch.h"
#include "document/Document.h"

#include <cstddef>
#include <forward_list>
#include <memory>
#include <string>
#include <vector>

#include <Platform.h>
#include <ILoader.h>
#include <ILexer.h>
#include <Scintilla.h>
#include <CharacterCategory.h>
#include <Position.h>
#include <SplitVector.h>
#include <Partitioning.h>
#include <RunStyles.h>
#include <CellBuffer.h>
#include <PerLine.h>
#include <CharClassify.h>
#include <Decoration.h>
#include <CaseFolder.h>
#include <Document.h>

#include <algorithm>
#include <utility>

// Keeps its own reference to the engine's document, so that it can let go
// of it whichever of the two goes first.
class EditWatch::Watcher : public Scintilla::DocWatcher {
public:
    explicit Watcher(Scintilla::Document* doc) : m_doc(doc)
    {
        m_doc->AddRef();
        m_doc->AddWatcher(this, nullptr);
    }
    ~Watcher() override
    {
        m_doc->RemoveWatcher(this, nullptr);
        m_doc->Release();
    }

    void NotifyModifyAttempt(Scintilla::Document*, void*) override {}
    void NotifySavePoint(Scintilla::Document*, void*, bool) override {}
    void NotifyModified(Scintilla::Document*, Scintilla::DocModification mh, void*) override
    {
        if (mh.modificationType & (SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT))
            changedFrom = changedFrom ? std::min(*changedFrom, long(mh.position)) : long(mh.position);
    }
    void NotifyDeleted(Scintilla::Document*, void*) noexcept override {}
    void NotifyStyleNeeded(Scintilla::Document*, void*, Sci::Position) override {}
    void NotifyLexerChanged(Scintilla::Document*, void*) override {}
    void NotifyErrorOccurred(Scintilla::Document*, void*, int) override {}

    std::optional<long> changedFrom;

private:
    Scintilla::Document* m_doc;
};

EditWatch::EditWatch(const Document& document)
    : m_watcher(std::make_unique<Watcher>(static_cast<Scintilla::Document*>(document.engineDocument())))
{
}

EditWatch::~EditWatch() = default;

std::optional<long> EditWatch::takeChangedFrom()
{
    return std::exchange(m_watcher->changedFrom, std::nullopt);
}

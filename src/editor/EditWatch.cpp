#include "editor/EditWatch.h"
#include "document/Document.h"

#include <algorithm>
#include <utility>

EditWatch::EditWatch(const Document& document)
    : m_connection(QObject::connect(&document, &Document::textChangedFrom, [this](long startByte) {
          m_changedFrom = m_changedFrom ? std::min(*m_changedFrom, startByte) : startByte;
      }))
{
}

EditWatch::~EditWatch()
{
    QObject::disconnect(m_connection);
}

std::optional<long> EditWatch::takeChangedFrom()
{
    return std::exchange(m_changedFrom, std::nullopt);
}

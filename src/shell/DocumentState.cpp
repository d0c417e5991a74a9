#include "shell/DocumentState.h"

QString DocumentState::captionFor(const QString& path)
{
    if (path.isEmpty())
        return QStringLiteral("Quirkpad");
    return QStringLiteral("Quirkpad (\"") + path + QStringLiteral("\")");
}

void DocumentState::untitled()
{
    setLocation(QString());
    setChanged(false);
    setCaption(captionFor(QString()));
}

void DocumentState::named(const QString& path)
{
    setLocation(path);
    setChanged(false);
    setCaption(captionFor(path));
    emit synced(m_location);
}

void DocumentState::saved()
{
    setChanged(false);
    emit synced(m_location);
}

void DocumentState::reverted()
{
    setChanged(true);
    emit synced(m_location);
}

void DocumentState::reloaded()
{
    setChanged(false);
    emit synced(m_location);
}

void DocumentState::restored(const QString& path)
{
    setLocation(path);
    setChanged(true);
    setCaption(captionFor(path));
}

void DocumentState::setChanged(bool changed)
{
    const QString value = changed ? Yes : No;
    if (value == m_changed)
        return;
    m_changed = value;
    emit changedChanged(m_changed);
}

void DocumentState::setLocation(const QString& path)
{
    if (path == m_location)
        return;
    m_location = path;
    emit locationChanged(m_location);
}

void DocumentState::setCaption(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    emit captionChanged(m_caption);
}

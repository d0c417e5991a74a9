#include "ScriptedPrompts.h"

#include <QTest>

namespace {

const char* kindName(ScriptedPrompts::Kind k)
{
    switch (k) {
    case ScriptedPrompts::Kind::Message: return "message box";
    case ScriptedPrompts::Kind::Input: return "input box";
    case ScriptedPrompts::Kind::OpenFile: return "open dialog";
    case ScriptedPrompts::Kind::SaveFile: return "save dialog";
    case ScriptedPrompts::Kind::Colour: return "colour dialog";
    }
    return "?";
}

}

ScriptedPrompts& ScriptedPrompts::answer(Answer a)
{
    m_queue.append({Kind::Message, a});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::answerInput(const QString& text)
{
    m_queue.append({Kind::Input, text});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::answerOpen(std::optional<QString> path)
{
    m_queue.append({Kind::OpenFile, path});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::answerSave(std::optional<QString> path)
{
    m_queue.append({Kind::SaveFile, path});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::answerColour(std::optional<QColor> colour)
{
    m_queue.append({Kind::Colour, colour});
    return *this;
}

bool ScriptedPrompts::take(Kind kind, const QString& what, Reply* reply)
{
    if (m_queue.isEmpty() || m_queue.first().kind != kind) {
        const QString expected = m_queue.isEmpty() ? QStringLiteral("nothing") : QLatin1String(kindName(m_queue.first().kind));
        const QByteArray msg = QStringLiteral("Unexpected %1 (\"%2\"); scripted: %3")
                                   .arg(QLatin1String(kindName(kind)), what, expected)
                                   .toUtf8();
        QTest::qFail(msg.constData(), __FILE__, __LINE__);
        return false;
    }
    *reply = m_queue.takeFirst().reply;
    return true;
}

QStringList ScriptedPrompts::messages() const
{
    QStringList out;
    for (const Call& c : calls)
        if (c.kind == Kind::Message)
            out << c.text;
    return out;
}

Prompts::Answer ScriptedPrompts::message(const QString& text, Icon icon, Buttons buttons)
{
    calls.append({Kind::Message, text, icon, buttons, {}});
    Reply r;
    if (!take(Kind::Message, text, &r))
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    return std::get<Answer>(r);
}

QString ScriptedPrompts::input(const QString& prompt)
{
    calls.append({Kind::Input, prompt, Icon::None, Buttons::OkCancel, {}});
    Reply r;
    if (!take(Kind::Input, prompt, &r))
        return QString();
    return std::get<QString>(r);
}

std::optional<QString> ScriptedPrompts::openFile(const FileDialog& dialog)
{
    calls.append({Kind::OpenFile, dialog.title, Icon::None, Buttons::OkCancel, dialog});
    Reply r;
    if (!take(Kind::OpenFile, dialog.title, &r))
        return std::nullopt;
    return std::get<std::optional<QString>>(r);
}

std::optional<QString> ScriptedPrompts::saveFile(const FileDialog& dialog)
{
    calls.append({Kind::SaveFile, dialog.title, Icon::None, Buttons::OkCancel, dialog});
    Reply r;
    if (!take(Kind::SaveFile, dialog.title, &r))
        return std::nullopt;
    return std::get<std::optional<QString>>(r);
}

std::optional<QColor> ScriptedPrompts::colour(const QColor& initial)
{
    calls.append({Kind::Colour, initial.name(), Icon::None, Buttons::OkCancel, {}});
    Reply r;
    if (!take(Kind::Colour, initial.name(), &r))
        return std::nullopt;
    return std::get<std::optional<QColor>>(r);
}

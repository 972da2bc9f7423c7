#include "ScriptedPrompt.h"

Prompt::Answer ScriptedPrompt::ask(const Message& message)
{
    shown.append(message);
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    return m_default;
}

QStringList ScriptedPrompt::texts() const
{
    QStringList list;
    for (const Message& m : shown)
        list << m.text;
    return list;
}

#include "ScriptedPrompt.h"

Prompt::Answer ScriptedPrompt::ask(const Message& message)
{
    shown.append(message);
    return m_answers.isEmpty() ? m_default : m_answers.takeFirst();
}

QStringList ScriptedPrompt::texts() const
{
    QStringList list;
    for (const Message& m : shown)
        list << m.text;
    return list;
}

bool ScriptedPrompt::told(Icon icon, const QStringList& parts) const
{
    const QString text = shown.isEmpty() ? QString() : shown.last().text;
    for (const QString& part : parts) {
        if (!text.contains(part)) {
            qWarning("not in the message: %s\nmessage: %s", qPrintable(part), qPrintable(text));
            return false;
        }
    }
    return !shown.isEmpty() && shown.last().icon == icon;
}

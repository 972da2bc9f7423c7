#pragma once

#include "base/Prompt.h"

#include <QList>

// A Prompt for tests: records every message and answers from a script (queued answers first, then the
// default answer).
class ScriptedPrompt : public Prompt
{
public:
    Answer ask(const Message& message) override;

    void queue(Answer answer) { m_answers.append(answer); }
    void setDefaultAnswer(Answer answer) { m_default = answer; }

    QList<Message> shown;
    QStringList texts() const;
    void clear() { shown.clear(); }
    // Whether the last message shown has the icon and holds every part (the text is printed when it does not).
    bool told(Icon icon, const QStringList& parts) const;

private:
    QList<Answer> m_answers;
    Answer m_default = Answer::Ok;
};

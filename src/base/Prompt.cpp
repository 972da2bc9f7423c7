#include "base/Prompt.h"

#include <cstdio>

void Prompt::information(const QString& text, const QString& title)
{
    ask({text, title, Icon::Information, Buttons::Ok});
}

void Prompt::plain(const QString& text, const QString& title)
{
    ask({text, title, Icon::None, Buttons::Ok});
}

void Prompt::warning(const QString& text, const QString& title)
{
    ask({text, title, Icon::Warning, Buttons::Ok});
}

Prompt::Answer Prompt::question(const QString& text, Buttons buttons, const QString& title)
{
    return ask({text, title, Icon::Question, buttons});
}

Prompt::Answer BatchPrompt::ask(const Message& message)
{
    QString line = message.text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fprintf(stderr, "%s\n", qUtf8Printable(line.trimmed()));
    switch (message.buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::OkCancel:
        return m_answer == Answer::Yes ? Answer::Ok : Answer::Cancel;
    case Buttons::RetryCancel:
        return Answer::Cancel;
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
        break;
    }
    return m_answer;
}

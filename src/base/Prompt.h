#pragma once

#include <QString>
#include <QStringList>

// Every message box and question goes through a Prompt: the window shows real message boxes, the batch
// command writes to stderr, and tests script the answers and record every text shown.
class Prompt
{
public:
    enum class Icon { None, Information, Question, Warning, Critical };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
    enum class Answer { Ok, Cancel, Yes, No, Retry };

    struct Message
    {
        QString text;
        QString title; // empty: the program's title
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
    };

    virtual ~Prompt() = default;

    // Shows the message and returns the button chosen.
    virtual Answer ask(const Message& message) = 0;

    // False where nobody can answer (the batch command): choices that would change files are then not offered.
    virtual bool canAsk() const { return true; }

    // Conveniences for the common styles.
    void information(const QString& text, const QString& title = {});
    void plain(const QString& text, const QString& title = {});
    void warning(const QString& text, const QString& title = {});
    Answer question(const QString& text, Buttons buttons = Buttons::YesNo, const QString& title = {});
};

// The program's title: the default title of every message box.
inline constexpr char kAppTitle[] = "Corvane R-318 Form";

// Answers every question with a fixed answer and writes each text to stderr: for the batch command,
// where nobody can answer.
class BatchPrompt : public Prompt
{
public:
    explicit BatchPrompt(Answer questionAnswer = Answer::Yes) : m_answer(questionAnswer) {}
    Answer ask(const Message& message) override;
    bool canAsk() const override { return false; }

private:
    Answer m_answer;
};

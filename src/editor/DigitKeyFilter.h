#pragma once

#include <QObject>
#include <QValidator>

class QKeyEvent;
class QLineEdit;

// Lets only digits and Backspace reach a box; Enter moves the focus to the next control; every other key that
// types something is dropped. Keys that type nothing (arrows, Tab, Delete, shortcuts) pass. A box may be given
// a cap: a digit typed while the box holds that many characters is dropped.
class DigitKeyFilter : public QObject
{
    Q_OBJECT
public:
    explicit DigitKeyFilter(QObject* parent = nullptr, int maxDigits = 0) : QObject(parent), m_max(maxDigits) {}

    // What happens to the key: passed on, dropped, or Enter (the caller moves the focus).
    enum class Verdict { Pass, Drop, Enter };
    static Verdict judge(const QKeyEvent& key);

    // Puts a filter with the cap on the box, and a DigitsValidator with the same cap for what comes in without a
    // key (paste, drag and drop, input methods): the box never holds anything but up to maxDigits digits.
    static void install(QLineEdit* box, int maxDigits);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int m_max;
};

// Accepts a text of ASCII digits only, at most maxDigits of them (no cap when 0); a change that would make it
// anything else is refused as a whole.
class DigitsValidator : public QValidator
{
    Q_OBJECT
public:
    explicit DigitsValidator(int maxDigits, QObject* parent = nullptr) : QValidator(parent), m_max(maxDigits) {}
    State validate(QString& input, int& pos) const override;

private:
    int m_max;
};

#pragma once

#include <QObject>

class QKeyEvent;

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int m_max;
};

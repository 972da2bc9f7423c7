#pragma once

#include <QString>

#include <limits>

// The leading whole number of a text, as numbers held in text fields are read: blanks first are skipped, then
// an optional sign and the digits 0-9 up to the first other character ("12abc" gives 12; "" and "abc" give 0).
// Reading stops before the number would overflow.
inline qint64 leadingNumber(const QString& text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t.at(i) == QLatin1Char('-') || t.at(i) == QLatin1Char('+'))) {
        negative = t.at(i) == QLatin1Char('-');
        ++i;
    }
    qint64 value = 0;
    for (; i < t.size() && t.at(i) >= QLatin1Char('0') && t.at(i) <= QLatin1Char('9'); ++i) {
        if (value > (std::numeric_limits<qint64>::max() - 9) / 10)
            break;
        value = value * 10 + (t.at(i).unicode() - '0');
    }
    return negative ? -value : value;
}

#pragma once

#include <QString>

// Removes leading and trailing blanks (spaces only): texts from the host and the report are held without them,
// while line breaks and tabs at either end are the text's own and stay.
inline QString trimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return (begin == 0 && end == text.size()) ? text : text.mid(begin, end - begin);
}

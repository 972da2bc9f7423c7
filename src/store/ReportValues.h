#pragma once

#include "base/Text.h"
#include "base/TextNumber.h"

#include <QString>
#include <QVariant>

#include <limits>

// How report values are read from and written to the report database: texts are held trimmed of leading
// and trailing blanks, Null reads as empty text, as the number 0 and as false, and empty text is written
// as Null.
namespace ReportValues {

// Removes leading and trailing blanks (spaces only; line breaks inside activity texts are the text's own).
using ::trimBlanks;

// A field's value as trimmed text; Null gives empty text.
inline QString text(const QVariant& value)
{
    if (value.isNull())
        return {};
    return trimBlanks(value.toString());
}

// A field's numeric value; Null gives 0, text gives its leading number. Held as a 32-bit number like the
// report's Long fields.
inline qint32 number(const QVariant& value)
{
    if (value.isNull())
        return 0;
    qint64 n = 0;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        n = value.toLongLong();
        break;
    case QMetaType::Double:
        n = qint64(value.toDouble());
        break;
    default:
        n = leadingNumber(value.toString());
        break;
    }
    if (n > std::numeric_limits<qint32>::max())
        return std::numeric_limits<qint32>::max();
    if (n < std::numeric_limits<qint32>::min())
        return std::numeric_limits<qint32>::min();
    return qint32(n);
}

// A Boolean field's value; Null gives false.
inline bool boolean(const QVariant& value)
{
    if (value.isNull())
        return false;
    if (value.typeId() == QMetaType::QString) {
        const QString t = trimBlanks(value.toString()).toLower();
        if (t == QLatin1String("true") || t == QLatin1String("yes"))
            return true;
        return leadingNumber(t) != 0;
    }
    return value.toLongLong() != 0;
}

// Empty text as Null, any other text as it is.
inline QVariant textOrNull(const QString& text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

} // namespace ReportValues

#include "store/DateText.h"

#include <array>

namespace DateText {

namespace {
const std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

int twoDigits(const QString& s, int at)
{
    return s.at(at).digitValue() * 10 + s.at(at + 1).digitValue();
}
} // namespace

QString DigitsOnly(const QString& text)
{
    QString digits;
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    }
    return digits;
}

QString FormatDateDigits(const QString& digits)
{
    switch (digits.size()) {
    case 4:
        return QLatin1Char('0') + digits.mid(0, 1) + QLatin1String("/0") + digits.mid(1, 1) + QLatin1Char('/') +
               digits.mid(2, 2);
    case 5:
        return QLatin1Char('0') + digits.mid(0, 1) + QLatin1Char('/') + digits.mid(1, 2) + QLatin1Char('/') +
               digits.mid(3, 2);
    case 6:
        return digits.mid(0, 2) + QLatin1Char('/') + digits.mid(2, 2) + QLatin1Char('/') + digits.mid(4, 2);
    default:
        return {};
    }
}

QDate parseSlashDate(const QString& text)
{
    if (text.size() != 8 || text.at(2) != QLatin1Char('/') || text.at(5) != QLatin1Char('/'))
        return {};
    const QString digits = DigitsOnly(text);
    if (digits.size() != 6)
        return {};
    const int yy = twoDigits(digits, 4);
    return QDate(yy < 30 ? 2000 + yy : 1900 + yy, twoDigits(digits, 0), twoDigits(digits, 2));
}

QString displayText(const QDate& date)
{
    if (!date.isValid())
        return {};
    return QStringLiteral("%1 %2, %3")
        .arg(QLatin1String(kMonths[date.month() - 1]))
        .arg(date.day())
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

QDate parseStored(const QString& stored)
{
    const QString t = stored.trimmed();
    if (t.size() < 10)
        return {};
    int month = 0;
    for (int m = 0; m < 12; ++m) {
        if (t.startsWith(QLatin1String(kMonths[m]), Qt::CaseInsensitive))
            month = m + 1;
    }
    if (month == 0 || t.at(3) != QLatin1Char(' '))
        return {};
    const int comma = int(t.indexOf(QLatin1Char(','), 4));
    if (comma < 0)
        return {};
    bool okDay = false;
    bool okYear = false;
    const QString dayText = t.mid(4, comma - 4);
    const QString yearText = t.mid(comma + 1).trimmed();
    if (dayText.size() > 2 || yearText.size() != 4 || DigitsOnly(dayText) != dayText ||
        DigitsOnly(yearText) != yearText)
        return {};
    const int day = dayText.toInt(&okDay);
    const int year = yearText.toInt(&okYear);
    if (!okDay || !okYear)
        return {};
    return QDate(year, month, day);
}

QString fromDigits(const QString& digits)
{
    return displayText(parseSlashDate(FormatDateDigits(digits)));
}

QString toDigits(const QString& stored)
{
    const QDate d = parseStored(stored);
    if (!d.isValid())
        return {};
    return QStringLiteral("%1%2%3")
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(d.year() % 100, 2, 10, QLatin1Char('0'));
}

QString keyYearMonth(const QString& stored)
{
    const QDate d = parseStored(stored);
    if (!d.isValid())
        return {};
    return QStringLiteral("%1%2").arg(d.year(), 4, 10, QLatin1Char('0')).arg(d.month(), 2, 10, QLatin1Char('0'));
}

QString keyYear(const QString& stored)
{
    const QDate d = parseStored(stored);
    return d.isValid() ? QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0')) : QString();
}

QString mmddyyyy(const QString& stored)
{
    const QDate d = parseStored(stored);
    if (!d.isValid())
        return {};
    return QStringLiteral("%1%2%3")
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(d.year(), 4, 10, QLatin1Char('0'));
}

QString reportYearFor(const QString& fromDate)
{
    const QDate d = parseStored(fromDate);
    if (!d.isValid())
        return {};
    return QString::number(d.month() > 8 ? d.year() + 1 : d.year());
}

} // namespace DateText

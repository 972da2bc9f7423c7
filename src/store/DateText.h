#pragma once

#include <QDate>
#include <QString>

// Dates of the report are typed as "mmddyy" digits and stored as display texts "mmm d, yyyy" (Sep 1, 2019)
// with English month names whatever the user's locale.
namespace DateText {

// The digits of a text, everything else dropped.
QString DigitsOnly(const QString& text);

// 4 digits m d yy give "0m/0d/yy", 5 digits m dd yy give "0m/dd/yy", 6 digits give "mm/dd/yy"; any other count
// gives an empty text.
QString FormatDateDigits(const QString& digits);

// Reads "mm/dd/yy" (two-digit years 00..29 are 2000..2029, 30..99 are 1930..1999); null when impossible.
QDate parseSlashDate(const QString& text);

// "mmm d, yyyy"; empty for a null date.
QString displayText(const QDate& date);

// Reads a stored "mmm d, yyyy" text; null when empty or not such a date.
QDate parseStored(const QString& stored);

// The stored date for typed digits: FormatDateDigits, then displayed; empty for a wrong count or an
// impossible date.
QString fromDigits(const QString& digits);

// The typed digits "mmddyy" for a stored date; empty when it is empty or does not read as a date.
QString toDigits(const QString& stored);

// Keys of a stored date: "yyyymm" and "yyyy"; empty when the date does not read.
QString keyYearMonth(const QString& stored);
QString keyYear(const QString& stored);

// Eight digits "mmddyyyy"; empty when the date does not read.
QString mmddyyyy(const QString& stored);

// The report's history year for a from-date: its year, plus 1 from September on; empty when the from-date
// is empty or does not read (the year is then left as it was).
QString reportYearFor(const QString& fromDate);

} // namespace DateText

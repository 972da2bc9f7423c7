// Report dates: typed digits, the stored display form, keys for host searches and the report year.

#include "store/DateText.h"

#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;

class TestDateText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void typedDigits_data()
    {
        QTest::addColumn<QString>("digits");
        QTest::addColumn<QString>("slashed");
        QTest::addColumn<QString>("stored");
        const char* const rows[][4] = {{"6 digits", "090119", "09/01/19", "Sep 1, 2019"},
                                       {"4 digits", "7419", "07/04/19", "Jul 4, 2019"},
                                       {"5 digits", "70419", "07/04/19", "Jul 4, 2019"},
                                       {"3 digits", "123", "", ""},
                                       {"7 digits", "1231199", "", ""},
                                       {"year 29", "123129", "12/31/29", "Dec 31, 2029"},
                                       {"year 30", "010130", "01/01/30", "Jan 1, 1930"},
                                       {"impossible day", "023019", "02/30/19", ""},
                                       {"leap day", "022924", "02/29/24", "Feb 29, 2024"}};
        for (const auto& r : rows)
            QTest::newRow(r[0]) << QString::fromLatin1(r[1]) << QString::fromLatin1(r[2]) << QString::fromLatin1(r[3]);
    }
    void typedDigits()
    {
        QFETCH(QString, digits);
        QFETCH(QString, slashed);
        QFETCH(QString, stored);
        QCOMPARE(DateText::FormatDateDigits(digits), slashed);
        QCOMPARE(DateText::fromDigits(digits), stored);
    }

    // A date that does not read gives empty keys; the report year turns in September.
    void storedDates_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("keys"); // digits, yyyymm, mmddyyyy, report year
        QTest::newRow("Sep 1") << u"Sep 1, 2019"_s << QStringList{"090119", "201909", "09012019", "2020"};
        QTest::newRow("Aug 31") << u"Aug 31, 2019"_s << QStringList{"083119", "201908", "08312019", "2019"};
        QTest::newRow("spaces") << u"  Dec 15, 2018 "_s << QStringList{"121518", "201812", "12152018", "2019"};
        for (const char* wrong : {"sometime", "Sept 1, 2019", "Feb 30, 2019", "Sep 1 2019"})
            QTest::newRow(wrong) << QString::fromLatin1(wrong) << QStringList(4, QString());
    }
    void storedDates()
    {
        QFETCH(QString, stored);
        QFETCH(QStringList, keys);
        QCOMPARE(QStringList({DateText::toDigits(stored), DateText::keyYearMonth(stored), DateText::mmddyyyy(stored),
                              DateText::reportYearFor(stored)}),
                 keys);
        QCOMPARE(DateText::keyYear(stored), keys[1].left(4));
    }

    // The stored form never depends on the user's language.
    void locale()
    {
        const QLocale old;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(DateText::fromDigits(u"031519"_s), u"Mar 15, 2019"_s);
        QCOMPARE(DateText::keyYearMonth(u"Mar 15, 2019"_s), u"201903"_s);
        QLocale::setDefault(old);
        QCOMPARE(DateText::DigitsOnly(u"a1/2-3 x4"_s), u"1234"_s);
    }
};

QTEST_GUILESS_MAIN(TestDateText)
#include "tst_datetext.moc"

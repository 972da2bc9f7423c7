// Report dates: typed digits, the stored display form, keys for host searches and the report year.

#include "store/DateText.h"

#include <QLocale>
#include <QTest>

class TestDateText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void typedDigits_data()
    {
        QTest::addColumn<QString>("digits");
        QTest::addColumn<QString>("slashed");
        QTest::addColumn<QString>("stored");
        const auto row = [](const char* name, const char* digits, const char* slashed, const char* stored) {
            QTest::newRow(name) << QString::fromLatin1(digits) << QString::fromLatin1(slashed)
                                << QString::fromLatin1(stored);
        };
        row("6 digits", "090119", "09/01/19", "Sep 1, 2019");
        row("4 digits", "7419", "07/04/19", "Jul 4, 2019");
        row("5 digits", "70419", "07/04/19", "Jul 4, 2019");
        row("3 digits", "123", "", "");
        row("7 digits", "1231199", "", "");
        row("year 29", "123129", "12/31/29", "Dec 31, 2029");
        row("year 30", "010130", "01/01/30", "Jan 1, 1930");
        row("impossible day", "023019", "02/30/19", "");
        row("leap day", "022924", "02/29/24", "Feb 29, 2024");
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
        QTest::addColumn<QString>("digits");
        QTest::addColumn<QString>("yyyymm");
        QTest::addColumn<QString>("eight");
        QTest::addColumn<QString>("reportYear");
        const auto row = [](const char* stored, const char* digits, const char* yyyymm, const char* eight,
                            const char* year) {
            QTest::newRow(stored) << QString::fromLatin1(stored) << QString::fromLatin1(digits)
                                  << QString::fromLatin1(yyyymm) << QString::fromLatin1(eight)
                                  << QString::fromLatin1(year);
        };
        row("Sep 1, 2019", "090119", "201909", "09012019", "2020");
        row("Aug 31, 2019", "083119", "201908", "08312019", "2019");
        row("  Dec 15, 2018 ", "121518", "201812", "12152018", "2019");
        for (const char* wrong : {"sometime", "Sept 1, 2019", "Feb 30, 2019", "Sep 1 2019"})
            row(wrong, "", "", "", "");
    }
    void storedDates()
    {
        QFETCH(QString, stored);
        QFETCH(QString, digits);
        QFETCH(QString, yyyymm);
        QFETCH(QString, eight);
        QFETCH(QString, reportYear);
        QCOMPARE(DateText::toDigits(stored), digits);
        QCOMPARE(DateText::keyYearMonth(stored), yyyymm);
        QCOMPARE(DateText::keyYear(stored), yyyymm.left(4));
        QCOMPARE(DateText::mmddyyyy(stored), eight);
        QCOMPARE(DateText::reportYearFor(stored), reportYear);
    }

    // The stored form never depends on the user's language.
    void locale()
    {
        const QLocale old;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(DateText::fromDigits(QStringLiteral("031519")), QStringLiteral("Mar 15, 2019"));
        QCOMPARE(DateText::keyYearMonth(QStringLiteral("Mar 15, 2019")), QStringLiteral("201903"));
        QLocale::setDefault(old);
        QCOMPARE(DateText::DigitsOnly(QStringLiteral("a1/2-3 x4")), QStringLiteral("1234"));
    }
};

QTEST_GUILESS_MAIN(TestDateText)
#include "tst_datetext.moc"

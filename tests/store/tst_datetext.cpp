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
        QTest::newRow("6 digits") << "090119"
                                  << "09/01/19"
                                  << "Sep 1, 2019";
        QTest::newRow("4 digits") << "7419"
                                  << "07/04/19"
                                  << "Jul 4, 2019";
        QTest::newRow("5 digits") << "70419"
                                  << "07/04/19"
                                  << "Jul 4, 2019";
        QTest::newRow("3 digits") << "123"
                                  << ""
                                  << "";
        QTest::newRow("7 digits") << "1231199"
                                  << ""
                                  << "";
        QTest::newRow("empty") << ""
                               << ""
                               << "";
        QTest::newRow("year 29") << "123129"
                                 << "12/31/29"
                                 << "Dec 31, 2029";
        QTest::newRow("year 30") << "010130"
                                 << "01/01/30"
                                 << "Jan 1, 1930";
        QTest::newRow("impossible day") << "023019"
                                        << "02/30/19"
                                        << "";
        QTest::newRow("month 13") << "130119"
                                  << "13/01/19"
                                  << "";
        QTest::newRow("leap day") << "022924"
                                  << "02/29/24"
                                  << "Feb 29, 2024";
    }
    void typedDigits()
    {
        QFETCH(QString, digits);
        QFETCH(QString, slashed);
        QFETCH(QString, stored);
        QCOMPARE(DateText::FormatDateDigits(digits), slashed);
        QCOMPARE(DateText::fromDigits(digits), stored);
    }

    void storedDates_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("digits");
        QTest::addColumn<QString>("yyyymm");
        QTest::addColumn<QString>("eight");
        QTest::addColumn<QString>("reportYear");
        QTest::newRow("September") << "Sep 1, 2019"
                                   << "090119"
                                   << "201909"
                                   << "09012019"
                                   << "2020";
        QTest::newRow("June") << "Jun 30, 2019"
                              << "063019"
                              << "201906"
                              << "06302019"
                              << "2019";
        QTest::newRow("August") << "Aug 31, 2019"
                                << "083119"
                                << "201908"
                                << "08312019"
                                << "2019";
        QTest::newRow("December, blanks") << "  Dec 15, 2018 "
                                          << "121518"
                                          << "201812"
                                          << "12152018"
                                          << "2019";
        QTest::newRow("empty") << ""
                               << ""
                               << ""
                               << ""
                               << "";
        QTest::newRow("not a date") << "sometime"
                                    << ""
                                    << ""
                                    << ""
                                    << "";
        QTest::newRow("wrong month") << "Sept 1, 2019"
                                     << ""
                                     << ""
                                     << ""
                                     << "";
        QTest::newRow("impossible") << "Feb 30, 2019"
                                    << ""
                                    << ""
                                    << ""
                                    << "";
        QTest::newRow("no comma") << "Sep 1 2019"
                                  << ""
                                  << ""
                                  << ""
                                  << "";
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
    }

    void digitsOnly() { QCOMPARE(DateText::DigitsOnly(QStringLiteral("a1/2-3 x4")), QStringLiteral("1234")); }
};

QTEST_GUILESS_MAIN(TestDateText)
#include "tst_datetext.moc"

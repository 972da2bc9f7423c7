// Fill from host and the look-ups that follow loading a report.

#include "HostCase.h"

#include "host/FillFromHost.h"

#include <QTest>

#include <functional>

using HostCase::dump;
using HostCase::entry;

class TestFill : public QObject
{
    Q_OBJECT

public:
    TestFill() { m_yes.setDefaultAnswer(Prompt::Answer::Yes); }

private:
    ScriptedPrompt m_yes;

    // By default the squadron's Commander, two holders of one office, the Historian, a district and a national
    // assignment; the report before Fill holds something else in every value Fill may change.
    static void openFilled(HostFixture& fx, Session& session, const std::function<void(HostCase::Writer&)>& rows = {})
    {
        QVERIFY(HostCase::openWith(fx, session, [&rows](HostCase::Writer& w) {
            rows ? rows(w) : HostCase::squadron(w, "2:1101 1:7703 3:1901 4:1901 2:2701D 3:1705N");
        }));
        ReportModel& m = session.model;
        const QList<std::pair<QString, QString>> offices{
            {"Bridge", "A000"},           {"Commander", "1101"}, {"Treasurer", "1805"}, {"Members at large", "1901"},
            {"Members at large", "1901"}, {"Secretary", "1705"}, {"Historian", "7703"}};
        HostCase::setOfficers(m, offices);
        HostCase::setOfficer(m, 3, "|Treasurer kept|||");
        for (int c = 1; c <= ReportModel::CategoryCount; ++c)
            HostCase::markCategory(m, c, "Old");
        m.FromDate = "Sep 1, 2019";
        m.ToDate = "Aug 31, 2020";
        m.NoActive = m.NoMM = m.NoSenior = 9;
        m.AGCount = {9, 9, 9, 9, 9};
        m.EGCount = {9, 9, 9, 9, 9, 9};
        m.BCCount = {21, 22, 23};
        m.OCCount = {31, 32, 33, 34};
    }

private Q_SLOTS:
    void fillTakesWhatTheHostKnows()
    {
        HostFixture fx;
        Session session;
        openFilled(fx, session);
        ReportModel expected = session.model;
        // Answered No, or without the watch year, nothing changes.
        ScriptedPrompt no, told;
        no.queue(Prompt::Answer::No);
        QVERIFY(!FillFromHost(session, no).filled);
        QCOMPARE(HostCase::shown(no),
                 QStringList{"This action will overwrite data in affected fields. Continue? ? @Fill from Rostrel"});
        session.model.FromDate = session.model.ToDate = QString();
        QCOMPARE(FillFromHost(session, told).focus, QStringLiteral("txtFrom"));
        QCOMPARE(told.texts(), QStringList{"Cannot search database without watch year dates."});
        session.model.FromDate = expected.FromDate;
        session.model.ToDate = expected.ToDate;
        QCOMPARE(dump(session.model), dump(expected));

        const FillOutcome out = FillFromHost(session, m_yes);
        QVERIFY(out.filled && out.historian.found && out.historian.title == "Historian" &&
                out.historian.officerRow == 7);
        // Offices staffed in the host; the Treasurer (not staffed) and the Secretary (national only) keep theirs.
        HostCase::setOfficer(expected, 2, "1000002|Baker|Bo|Cdr|N");
        HostCase::setOfficer(expected, 4, "1000003|Cole|Cy|1st/Lt|S");
        HostCase::setOfficer(expected, 5, "1000004|Dunn|Di|Lt|");
        HostCase::setOfficer(expected, 7, "1000001|Abel|Amy|Lt/C|AP");
        HostCase::setSubmitter(
            expected, "1000001|Abel|Amy|AP|Lt/C|1 Main St Apt 2|Port|ME|04101|Historian|555-0101|amy@example.org");
        // Assignments and new senior members (their Rank, not SquadRank); the rest of each list is emptied.
        for (int c : {1, 2, 7})
            expected.clearCategory(c);
        HostCase::setEntry(expected, 1, 1, "1000002|Baker|Bo|Cdr|N|Education, Chairman|1");
        HostCase::setEntry(expected, 2, 1, "1000003|Cole|Cy|1st/Lt|S|Secretary, Chairman|2");
        HostCase::setEntry(expected, 7, 1, "1000002|Baker|Bo|P/C|N||7");
        HostCase::setEntry(expected, 7, 2, "1000003|Cole|Cy||S||7");
        // Active members 1, 2, 3, 6; Dockready and Seminar are kept.
        expected.NoActive = 4;
        expected.NoMM = expected.NoSenior = 2;
        expected.AGCount = {3, 3, 0, 0, 3};
        expected.EGCount = {3, 0, 0, 0, 3, 3};
        expected.OCCount = {31, 3, 3, 34};
        QCOMPARE(dump(session.model), dump(expected));
        QVERIFY(FillFromHost(session, m_yes).filled); // a second Fill gives the same report
        QCOMPARE(dump(session.model), dump(expected));
    }

    // An empty host, or one without a table (gone after start-up or before): what is not found leaves the Commander
    // and the submitting officer empty and counts 0; a query that fails keeps what it would have changed (a list
    // whose job titles cannot be read, the counts); no merit marks keep the stored count.
    void hostLackingRows()
    {
        const QString baker = "1000002|Baker|Bo|Cdr|N", senior = "1000002|Baker|Bo|P/C|N||7";
        const QList<QStringList> cases{
            {"", "||||", "", "|Old 1|||||1", "|Old 1|||||7", "0", "0", "9"},
            {"Members", "||||", "", "||||||0", "|Old 1|||||7", "9", "9", "2"},
            {"MemberCom", "||||", "", "|Old 1|||||1", senior, "4", "3", "2"},
            {"commdept", baker, "Historian", "|Old 1|||||1", "|Old 1|||||7", "4", "3", "2"},
            {"CommDesc", baker, "Historian", "|Old 1|||||1", senior, "4", "3", "2"},
            {"CommPos", baker, "Historian", "|Old 1|||||1", senior, "4", "3", "2"},
            {"MeritMarks", baker, "Historian", baker + "|Education, Chairman|1", senior, "4", "3", "9"}};
        for (const QStringList& c : cases) {
            HostFixture fx;
            Session session;
            openFilled(fx, session, c[0].isEmpty() ? +[](HostCase::Writer&) {} : nullptr); // nullptr: the squadron
            const ReportModel before = session.model;
            if (!c[0].isEmpty())
                HostCase::Writer(fx.primaryPath()).exec("DROP TABLE " + c[0]);
            QVERIFY(FillFromHost(session, m_yes).filled);
            Session reopened;
            QCOMPARE(HostCase::openHost(fx, reopened), c[0] != "Members");
            reopened.model = before;
            QVERIFY(FillFromHost(reopened, m_yes).filled);
            const ReportModel& m = reopened.model;
            QCOMPARE((QStringList{c[0], HostCase::officer(m, 2), m.SubOTitle, entry(m, 1, 1), entry(m, 7, 1),
                                  QString::number(m.NoActive), QString::number(m.AGCount[0]), QString::number(m.NoMM)}),
                     c);
        }
    }

    // Each list takes the first 24 rows; a row whose member number is 0 or not in Members leaves its entry empty;
    // every new senior member is counted.
    void allTwentyFourEntriesAreFilled()
    {
        HostFixture fx;
        Session session;
        openFilled(fx, session, [](HostCase::Writer& w) {
            w.exec("INSERT INTO Members (Mem_ID, Cert, Last, First, Rank, SquadRank, Grade, MemTypeStat, GH_Senior) "
                   "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 30) "
                   "SELECT i, 'C' || i, printf('L%02d', i), 'F', 'R', 'SR', 'AP', 'AC', '2019' FROM n");
            w.exec("INSERT INTO MemberCom SELECT Mem_ID, '2', '7', '201', 'D', 0 FROM Members ORDER BY Mem_ID");
            w.exec("INSERT INTO MemberCom SELECT Mem_ID, '2', '7', '201', 'N', 1 FROM Members WHERE Mem_ID <= 25");
            w.exec("UPDATE Members SET Mem_ID = 0 WHERE Mem_ID = 2");
        });
        QVERIFY(FillFromHost(session, m_yes).filled);
        QCOMPARE(session.model.NoSenior, 30);
        for (int c : {1, 2, 7}) {
            for (int e = 1; e <= 24; ++e) {
                const QString filled = QStringLiteral("C%1|L%2|F|%3|AP||%4").arg(e).arg(e, 2, 10, QChar('0'));
                QCOMPARE(entry(session.model, c, e), e == 2 ? "||||||0" : filled.arg(c == 7 ? "R" : "SR").arg(c));
            }
        }
    }

    // Stored counts, submitting officer's name (last|first|grade), archive, submission date in; the same out.
    void loadTimeLookups()
    {
        const QList<QStringList> cases{
            {"0", "0", "||", "", "", "4", "2", "Historian", "Abel", "Mar 7, 2021"},
            {"5", "7", "||", "", "Sep 15, 2020", "5", "7", "Historian", "Abel", "Sep 15, 2020"},
            {"0", "7", "Someone||", "", "", "4", "7", "Title kept", "Someone", "Mar 7, 2021"},
            {"0", "7", "|Jo|", "", "", "4", "7", "Title kept", "", "Mar 7, 2021"},
            {"0", "7", "||AP", "", "", "4", "7", "Title kept", "", "Mar 7, 2021"},
            {"0", "0", "||", "archive", "Sep 15, 2020", "4", "2", "Title kept", "", "Sep 15, 2020"}};
        for (const QStringList& c : cases) {
            HostFixture fx;
            Session session;
            openFilled(fx, session);
            ReportModel& m = session.model;
            m.NoActive = c[0].toInt();
            m.NoMM = c[1].toInt();
            HostCase::setSubmitter(m, "|" + c[2] + "||||||Title kept|");
            m.SubDate = c[4];
            m.FromDate.clear(); // none of these needs the watch year
            const LoadLookupsOutcome out = LoadTimeLookups(session, !c[3].isEmpty(), QDate(2021, 3, 7));
            const QString active = QString::number(m.NoActive), marks = QString::number(m.NoMM);
            QCOMPARE((QStringList{active, marks, m.SubOTitle, m.SubOLast, m.SubDate}), c.mid(5));
            QCOMPARE(out.historian.found, m.SubOTitle == "Historian");
            QCOMPARE(out.subDateSet, c[4].isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(TestFill)
#include "tst_fill.moc"

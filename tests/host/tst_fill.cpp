// Fill from host and the look-ups that follow loading a report.

#include "HostCase.h"

#include "host/FillFromHost.h"

#include <QTest>

using HostCase::dump;
using HostCase::entry;

class TestFill : public QObject
{
    Q_OBJECT

private:
    // A squadron with a Historian, a commander, two holders of one committee office, district and national
    // assignments, active and other members (5), accepted merit marks of any year, new senior members and course
    // completions; the report before Fill holds something else in every value Fill may change.
    static void openFilled(HostFixture& fx, Session& session, bool withRows = true)
    {
        QVERIFY(HostCase::openWith(fx, session, [withRows](HostCase::Writer& w) {
            if (!withRows)
                return;
            w.members("(1, 'Abel', 'Amy', '1000001', 'AP', 'Lt', 'Lt/C', 'AC'), (2, 'Baker', 'Bo', '1000002', 'N', "
                      "'P/C', 'Cdr', 'AC'), (3, 'Cole', 'Cy', '1000003', 'S', '', '1st/Lt', 'AC'), (4, 'Dunn', 'Di', "
                      "'1000004', '', '', 'Lt', 'RE'), (5, 'Eve', 'Ed', '1000005', 'JN', '', 'P/Lt', 'AC')");
            w.exec("UPDATE Members SET Address = '1 Main St', City = 'Port', State = 'ME', ZIP = '04101', "
                   "Phone = '555-0101', Email = 'amy@example.org' WHERE Mem_ID = 1");
            w.exec("UPDATE Members SET OtherMember = CASE Mem_ID WHEN 5 THEN 'X' END, "
                   "GH_Senior = CASE WHEN Mem_ID IN (2, 3, 5) THEN '2019' END");
            w.exec("UPDATE Members SET GH_S = '201910', GH_P = '202008', GH_AP = '20200801', GH_N = '201909', "
                   "GH_EM = '202001', GH_CP = '202001', ID_001 = '202001', GH_OT = '202003', LDP = '202004' "
                   "WHERE Mem_ID IN (1, 2, 3)");
            w.exec("UPDATE Members SET GH_S = '202001' WHERE Mem_ID = 5");
            w.exec("INSERT INTO commdept VALUES ('1', 'Executive'), ('7', 'Secretary Dept'), ('2', 'Education')");
            w.exec("INSERT INTO CommDesc VALUES ('105', 'Secretary'), ('703', 'History'), ('201', 'Education')");
            w.exec("INSERT INTO CommPos VALUES ('7', 'Chairman'), ('1', 'Member')");
            w.exec("INSERT INTO MemberCom VALUES (2, '1', '1', '101', 'S', 0), (1, '7', '7', '703', 'S', 0), "
                   "(3, '1', '9', '101', 'S', 0), (4, '1', '9', '101', 'S', 0), (2, '2', '7', '201', 'D', 0), "
                   "(3, '1', '7', '105', 'N', 0)");
            w.exec("INSERT INTO MeritMarks VALUES (1, '2015', 'A'), (2, '2020', 'A'), (3, '2020', 'R'), (4, '2020', "
                   "NULL)");
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
        m.NoActive = 40;
        m.NoMM = 9;
        m.NoSenior = 8;
        m.AGCount = {9, 9, 9, 9, 9};
        m.EGCount = {9, 9, 9, 9, 9, 9};
        m.BCCount = {21, 22, 23};
        m.OCCount = {31, 32, 33, 34};
        m.PubName = "The Log";
    }

    static FillOutcome fill(Session& session)
    {
        ScriptedPrompt prompt;
        prompt.setDefaultAnswer(Prompt::Answer::Yes);
        return FillFromHost(session, prompt);
    }

private Q_SLOTS:
    void fillTakesWhatTheHostKnows()
    {
        HostFixture fx;
        Session session;
        openFilled(fx, session);
        ReportModel expected = session.model;
        // Answered No, or without the watch year, nothing changes.
        ScriptedPrompt prompt;
        prompt.queue(Prompt::Answer::No);
        QVERIFY(!FillFromHost(session, prompt).filled);
        const QString question = QStringLiteral("This action will overwrite data in affected fields. Continue?");
        QCOMPARE(HostCase::shown(prompt), QStringList{HostCase::message(question, true, "Fill from Rostrel")});
        session.model.FromDate.clear();
        session.model.ToDate.clear();
        prompt.clear();
        prompt.setDefaultAnswer(Prompt::Answer::Yes);
        QCOMPARE(FillFromHost(session, prompt).focus, QStringLiteral("txtFrom"));
        QCOMPARE(prompt.texts(), QStringList{QStringLiteral("Cannot search database without watch year dates.")});
        session.model.FromDate = expected.FromDate;
        session.model.ToDate = expected.ToDate;
        QCOMPARE(dump(session.model), dump(expected));

        const FillOutcome out = fill(session);
        QVERIFY(out.filled && out.historian.found);
        QCOMPARE(out.historian.title, QStringLiteral("Historian"));
        QCOMPARE(out.historian.officerRow, 7);
        // Offices staffed in the host; the Treasurer (not staffed) and the Secretary (national only) keep theirs.
        HostCase::setOfficer(expected, 2, "1000002|Baker|Bo|Cdr|N");
        HostCase::setOfficer(expected, 4, "1000003|Cole|Cy|1st/Lt|S");
        HostCase::setOfficer(expected, 5, "1000004|Dunn|Di|Lt|");
        HostCase::setOfficer(expected, 7, "1000001|Abel|Amy|Lt/C|AP");
        HostCase::setSubmitter(expected,
                               "1000001|Abel|Amy|AP|Lt/C|1 Main St|Port|ME|04101|Historian|555-0101|amy@example.org");
        // Assignments and new senior members (their Rank, not SquadRank); the rest of each list is emptied.
        for (int c : {1, 2, 7})
            expected.clearCategory(c);
        HostCase::setEntry(expected, 1, 1, "1000002|Baker|Bo|Cdr|N|Education, Chairman|1");
        HostCase::setEntry(expected, 2, 1, "1000003|Cole|Cy|1st/Lt|S|Secretary, Chairman|2");
        HostCase::setEntry(expected, 7, 1, "1000002|Baker|Bo|P/C|N||7");
        HostCase::setEntry(expected, 7, 2, "1000003|Cole|Cy||S||7");
        // Active members 1, 2, 3 (4 is not active, 5 is another squadron's); Dockready and Seminar are kept.
        expected.NoActive = 3;
        expected.NoMM = 2;
        expected.NoSenior = 2;
        expected.AGCount = {3, 3, 0, 0, 3};
        expected.EGCount = {3, 0, 0, 0, 3, 3};
        expected.OCCount = {31, 3, 3, 34};
        QCOMPARE(dump(session.model), dump(expected));
        QVERIFY(fill(session).filled); // a second Fill gives the same report
        QCOMPARE(dump(session.model), dump(expected));

        // On an empty host the counts are replaced (0 when nothing is found) but for the merit marks; lists
        // without host rows stay.
        HostFixture empty;
        Session emptySession;
        openFilled(empty, emptySession, false);
        expected = emptySession.model;
        QVERIFY(fill(emptySession).filled);
        expected.NoActive = expected.NoSenior = 0;
        expected.AGCount = {};
        expected.EGCount = {};
        expected.OCCount = {31, 0, 0, 34};
        QCOMPARE(dump(emptySession.model), dump(expected));
    }

    // A table the host lacks counts as nothing found, whether it goes after start-up or before: the Commander's
    // row, the submitting officer's title, district entry 1, new senior entry 1, active members (and AG_S),
    // merit marks.
    void hostLackingATable()
    {
        const QString baker = "1000002|Baker|Bo|Cdr|N", senior = "1000002|Baker|Bo|P/C|N||7";
        const QList<QStringList> cases{
            {"Members", "||||", "", "||||||0", "|Old 1|||||7", "0", "0", "2"},
            {"MemberCom", "||||", "", "|Old 1|||||1", senior, "3", "3", "2"},
            {"commdept", baker, "Historian", baker + "||1", senior, "3", "3", "2"},
            {"CommDesc", baker, "Historian", baker + "||1", senior, "3", "3", "2"},
            {"CommPos", baker, "Historian", baker + "||1", senior, "3", "3", "2"},
            {"MeritMarks", baker, "Historian", baker + "|Education, Chairman|1", senior, "3", "3", "9"}};
        for (const QStringList& c : cases) {
            HostFixture fx;
            Session session;
            openFilled(fx, session);
            const ReportModel before = session.model;
            HostCase::Writer(fx.primaryPath()).exec("DROP TABLE " + c[0]);
            QVERIFY(fill(session).filled);
            Session reopened;
            QCOMPARE(HostCase::openHost(fx, reopened), c[0] != "Members");
            reopened.model = before;
            QVERIFY(fill(reopened).filled);
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
        openFilled(fx, session, false);
        {
            HostCase::Writer w(fx.primaryPath());
            w.exec("INSERT INTO Members (Mem_ID, Cert, Last, First, Rank, SquadRank, Grade, MemTypeStat, GH_Senior) "
                   "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 30) "
                   "SELECT i, 'C' || i, printf('L%02d', i), 'F', 'R', 'SR', 'AP', 'AC', '2019' FROM n");
            w.exec("INSERT INTO MemberCom SELECT Mem_ID, '2', '7', '201', 'D', 0 FROM Members ORDER BY Mem_ID");
            w.exec("INSERT INTO MemberCom SELECT Mem_ID, '2', '7', '201', 'N', 1 FROM Members WHERE Mem_ID <= 25");
            w.exec("UPDATE Members SET Mem_ID = 0 WHERE Mem_ID = 2");
        }
        QVERIFY(HostCase::openHost(fx, session));
        QVERIFY(fill(session).filled);
        QCOMPARE(session.model.NoSenior, 30);
        for (int c : {1, 2, 7}) {
            for (int e = 1; e <= 24; ++e) {
                const QString filled = QStringLiteral("C%1|L%2|F|%3|AP||%4").arg(e).arg(e, 2, 10, QChar('0'));
                QCOMPARE(entry(session.model, c, e), e == 2 ? "||||||0" : filled.arg(c == 7 ? "R" : "SR").arg(c));
            }
        }
    }

    // Stored counts, the submitting officer's name (last, first, grade), whether the report is an archive and the
    // submission date in; the counts, whether the Historian was looked up and the submission date out.
    void loadTimeLookups()
    {
        const QString stored = QStringLiteral("Sep 15, 2020");
        const struct
        {
            qint32 active, marks;
            QString name;
            bool archive;
            QString subDate;
            qint32 expectActive, expectMarks;
            bool historian;
        } cases[] = {{0, 0, "||", false, "", 3, 2, true},         {5, 7, "||", false, stored, 5, 7, true},
                     {0, 7, "Someone||", false, "", 3, 7, false}, {0, 7, "|Jo|", false, "", 3, 7, false},
                     {0, 7, "||AP", false, "", 3, 7, false},      {0, 0, "||", true, stored, 3, 2, false}};
        for (const auto& c : cases) {
            HostFixture fx;
            Session session;
            openFilled(fx, session);
            ReportModel& m = session.model;
            m.NoActive = c.active;
            m.NoMM = c.marks;
            HostCase::setSubmitter(m, "|" + c.name + "||||||Title kept|");
            m.SubDate = c.subDate;
            m.FromDate.clear(); // none of these needs the watch year
            const LoadLookupsOutcome out = LoadTimeLookups(session, c.archive, QDate(2021, 3, 7));
            QCOMPARE(m.NoActive, c.expectActive);
            QCOMPARE(m.NoMM, c.expectMarks);
            QCOMPARE(out.historian.found, c.historian);
            QCOMPARE(m.SubOTitle, c.historian ? "Historian" : "Title kept");
            QCOMPARE(m.SubOLast, c.historian ? "Abel" : c.name.section('|', 0, 0));
            QCOMPARE(out.subDateSet, c.subDate.isEmpty());
            QCOMPARE(m.SubDate, c.subDate.isEmpty() ? "Mar 7, 2021" : c.subDate);
        }
    }
};

QTEST_GUILESS_MAIN(TestFill)
#include "tst_fill.moc"

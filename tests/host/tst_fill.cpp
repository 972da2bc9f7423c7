// Fill from host and the look-ups that follow loading a report.

#include "HostCase.h"

#include "host/FillFromHost.h"
#include "host/HostSchema.h"
#include "host/MemberStats.h"

#include <QElapsedTimer>
#include <QTest>

using HostCase::entry;
using HostCase::officer;

namespace {
const QString kFrom = QStringLiteral("Sep 1, 2019");
const QString kTo = QStringLiteral("Aug 31, 2020");
} // namespace

class TestFill : public QObject
{
    Q_OBJECT

private:
    // A squadron with a Historian, a commander, two holders of one committee office, district and national
    // assignments, active and other members, accepted merit marks, new senior members and course completions.
    static void squadronRows(HostCase::Writer& w)
    {
        w.member({1, "Abel", "Amy", "1000001", "AP", "Lt", "Lt/C"});
        w.member({2, "Baker", "Bo", "1000002", "N", "P/C", "Cdr"});
        w.member({3, "Cole", "Cy", "1000003", "S", "", "1st/Lt"});
        w.member({4, "Dunn", "Di", "1000004", "", "", "Lt", 0, "RE"});
        w.member({5, "Eve", "Ed", "1000005", "JN", "", "P/Lt", 0, "AC", "X"});
        w.exec("UPDATE Members SET Address = '1 Main St', City = 'Port', State = 'ME', ZIP = '04101', "
               "Phone = '555-0101', Email = 'amy@example.org' WHERE Mem_ID = 1");
        w.exec("UPDATE Members SET GH_Senior = '2019' WHERE Mem_ID IN (2, 3)");
        w.exec("UPDATE Members SET GH_S = '201910', GH_P = '202008', GH_AP = '20200801', GH_N = '201909', "
               "GH_EM = '202001', GH_CP = '202001', ID_001 = '202001', GH_OT = '202003', LDP = '202004' "
               "WHERE Mem_ID IN (1, 2, 3)");
        w.exec("UPDATE Members SET GH_S = '202001' WHERE Mem_ID = 5"); // another squadron's member
        w.exec("INSERT INTO commdept VALUES ('1', 'Executive'), ('7', 'Secretary Dept'), ('2', 'Education')");
        w.exec("INSERT INTO CommDesc VALUES ('105', 'Secretary'), ('703', 'History'), ('201', 'Education')");
        w.exec("INSERT INTO CommPos VALUES ('7', 'Chairman'), ('1', 'Member')");
        w.committee(2, "1", "1", "101");
        w.committee(1, "7", "7", "703");
        w.committee(3, "1", "9", "101");
        w.committee(4, "1", "9", "101");
        w.committee(2, "2", "7", "201", "D");
        w.committee(3, "1", "7", "105", "N");
        w.exec("INSERT INTO MeritMarks VALUES (1, '2020', 'A'), (2, '2020', 'A'), (3, '2020', 'R')");
    }

    static void openFilled(HostFixture& fx, Session& session, bool withRows = true)
    {
        HostCase::prepare(fx);
        {
            HostCase::Writer w(fx.primaryPath());
            if (withRows)
                squadronRows(w);
        }
        QVERIFY(HostCase::openHost(fx, session));
        ReportModel& m = session.model;
        HostCase::setOfficers(m, {{"Bridge", "A000"},
                                  {"Commander", "1101"},
                                  {"Treasurer", "1805"},
                                  {"Members at large", "1901"},
                                  {"Members at large", "1901"},
                                  {"Secretary", "1705"},
                                  {"Historian", "7703"}});
        m.FromDate = kFrom;
        m.ToDate = kTo;
        m.ReportYear = "2020";
        m.SubDate = "Sep 15, 2020";
        m.OffLast[3] = "Treasurer kept";
        m.NoActive = 40;
        m.NoMM = 9;
        m.NoSenior = 8;
        m.AGCount = {9, 9, 9, 9, 9};
        m.EGCount = {9, 9, 9, 9, 9, 9};
        m.BCCount = {21, 22, 23};
        m.OCCount = {31, 32, 33, 34};
        m.FromKUR = true;
        m.PubName = "The Log";
        m.Incorp = true;
        m.SubmitURL = "https://example.org/r318";
        m.ActivityText[0] = "Meetings";
        m.ActivityText[12] = "Awards";
        for (int c = 1; c <= 7; ++c) {
            for (int e = 1; e <= 24; ++e) {
                m.RecLast[c][e] = QStringLiteral("Old %1-%2").arg(c).arg(e);
                m.RecCategory[c][e] = c;
            }
        }
    }

private Q_SLOTS:
    void answeredNoChangesNothing()
    {
        HostFixture fx;
        Session session;
        openFilled(fx, session);
        const QStringList before = HostCase::dump(session.model);
        ScriptedPrompt prompt;
        prompt.queue(Prompt::Answer::No);
        const FillOutcome out = FillFromHost(session, prompt);
        QVERIFY(!out.filled);
        QCOMPARE(prompt.shown.size(), 1);
        QCOMPARE(prompt.shown[0].text, QStringLiteral("This action will overwrite data in affected fields. Continue?"));
        QCOMPARE(prompt.shown[0].title, QStringLiteral("Fill from Rostrel"));
        QCOMPARE(prompt.shown[0].icon, Prompt::Icon::Question);
        QCOMPARE(prompt.shown[0].buttons, Prompt::Buttons::YesNo);
        QCOMPARE(HostCase::dump(session.model), before);
    }

    void missingWatchDatesOnlyTellTheUser()
    {
        HostFixture fx;
        Session session;
        openFilled(fx, session);
        session.model.ToDate.clear();
        const QStringList before = HostCase::dump(session.model);
        ScriptedPrompt prompt;
        prompt.setDefaultAnswer(Prompt::Answer::Yes);
        const FillOutcome out = FillFromHost(session, prompt);
        QVERIFY(!out.filled);
        QCOMPARE(out.focus, QStringLiteral("txtTo"));
        QCOMPARE(prompt.texts(), QStringList{QStringLiteral("Cannot search database without watch year dates.")});
        QCOMPARE(HostCase::dump(session.model), before);
    }

    void fillTakesWhatTheHostKnows()
    {
        HostFixture fx;
        Session session;
        openFilled(fx, session);
        ReportModel& m = session.model;
        const ReportModel before = m;
        ScriptedPrompt prompt;
        prompt.queue(Prompt::Answer::Yes);
        const FillOutcome out = FillFromHost(session, prompt);
        QVERIFY(out.filled);
        QCOMPARE(prompt.shown.size(), 1);

        // Officer list.
        QCOMPARE(officer(m, 1), QStringLiteral("||||"));
        QCOMPARE(officer(m, 2), QStringLiteral("1000002|Baker|Bo|Cdr|N"));
        QCOMPARE(officer(m, 3), QStringLiteral("|Treasurer kept|||")); // not staffed in the host: kept
        QCOMPARE(officer(m, 4), QStringLiteral("1000003|Cole|Cy|1st/Lt|S"));
        QCOMPARE(officer(m, 5), QStringLiteral("1000004|Dunn|Di|Lt|"));
        QCOMPARE(officer(m, 6), QStringLiteral("||||"));
        QCOMPARE(officer(m, 7), QStringLiteral("1000001|Abel|Amy|Lt/C|AP"));
        // Submitting officer.
        QVERIFY(out.historian.found);
        QCOMPARE(out.historian.title, QStringLiteral("Historian"));
        QCOMPARE(out.historian.officerRow, 7);
        QCOMPARE(m.SubOTitle, QStringLiteral("Historian"));
        QCOMPARE(m.SubOEmail, QStringLiteral("amy@example.org"));
        QCOMPARE(m.SubOAddress, QStringLiteral("1 Main St"));
        // Assignments.
        QCOMPARE(entry(m, 1, 1), QStringLiteral("1000002|Baker|Bo|Cdr|N|Education, Chairman|1"));
        QCOMPARE(entry(m, 1, 2), QStringLiteral("||||||0"));
        QCOMPARE(entry(m, 2, 1), QStringLiteral("1000003|Cole|Cy|1st/Lt|S|Secretary, Chairman|2"));
        // Counts: active members 1, 2, 3 (4 is not active, 5 is another squadron's).
        QCOMPARE(m.NoActive, 3);
        QCOMPARE(m.NoMM, 2);
        QCOMPARE(m.NoSenior, 2);
        QCOMPARE(entry(m, 7, 1), QStringLiteral("1000002|Baker|Bo|P/C|N||7"));
        QCOMPARE(entry(m, 7, 2), QStringLiteral("1000003|Cole|Cy||S||7"));
        QCOMPARE(entry(m, 7, 3), QStringLiteral("||||||0"));
        QCOMPARE(m.AGCount, (std::array<qint32, 5>{3, 3, 0, 0, 3}));
        QCOMPARE(m.EGCount, (std::array<qint32, 6>{3, 0, 0, 0, 3, 3}));
        QCOMPARE(m.OCCount, (std::array<qint32, 4>{31, 3, 3, 34})); // Dockready and Seminar kept

        // Nothing else changes.
        QCOMPARE(m.BCCount, before.BCCount);
        QCOMPARE(m.FromKUR, before.FromKUR);
        QCOMPARE(m.ActivityText, before.ActivityText);
        QCOMPARE((QStringList{m.FromDate, m.ToDate, m.SubDate, m.ReportYear, m.PubName, m.SubmitURL}),
                 (QStringList{before.FromDate, before.ToDate, before.SubDate, before.ReportYear, before.PubName,
                              before.SubmitURL}));
        QCOMPARE(m.Incorp, before.Incorp);
        for (int c = 3; c <= 6; ++c) {
            for (int e = 1; e <= 24; ++e)
                QCOMPARE(entry(m, c, e), entry(before, c, e));
        }
        QCOMPARE(m.OffTitle, before.OffTitle);
        QCOMPARE(m.OffCode, before.OffCode);
    }

    void fillTwiceEqualsFillOnce()
    {
        HostFixture fx;
        Session session;
        openFilled(fx, session);
        ScriptedPrompt prompt;
        prompt.setDefaultAnswer(Prompt::Answer::Yes);
        QVERIFY(FillFromHost(session, prompt).filled);
        const QStringList once = HostCase::dump(session.model);
        QVERIFY(FillFromHost(session, prompt).filled);
        const QStringList twice = HostCase::dump(session.model);
        QVERIFY2(once == twice, qPrintable(HostCase::firstDifference(once, twice)));
    }

    void emptyHostKeepsWhatItCannotSupply()
    {
        HostFixture fx;
        Session session;
        openFilled(fx, session, false);
        const ReportModel before = session.model;
        ScriptedPrompt prompt;
        prompt.setDefaultAnswer(Prompt::Answer::Yes);
        QVERIFY(FillFromHost(session, prompt).filled);
        ReportModel& m = session.model;
        // Counts are replaced (0 when nothing is found), except the merit marks.
        QCOMPARE(m.NoActive, 0);
        QCOMPARE(m.NoSenior, 0);
        QCOMPARE(m.NoMM, 9);
        QCOMPARE(m.AGCount, (std::array<qint32, 5>{}));
        QCOMPARE(m.EGCount, (std::array<qint32, 6>{}));
        QCOMPARE(m.OCCount, (std::array<qint32, 4>{31, 0, 0, 34}));
        // Lists and names without host rows stay.
        m.NoActive = before.NoActive;
        m.NoSenior = before.NoSenior;
        m.AGCount = before.AGCount;
        m.EGCount = before.EGCount;
        m.OCCount = before.OCCount;
        QCOMPARE(HostCase::dump(m), HostCase::dump(before));
    }

    void hostLackingATable_data()
    {
        QTest::addColumn<QString>("table");
        for (const char* t : {"Members", "MemberCom", "commdept", "CommDesc", "CommPos", "MeritMarks"})
            QTest::newRow(t) << QString::fromLatin1(t);
    }
    void hostLackingATable()
    {
        QFETCH(QString, table);
        HostFixture fx;
        Session session;
        openFilled(fx, session);
        {
            // The table disappears after start-up as well as before the recordsets are opened.
            HostCase::Writer w(fx.primaryPath());
            w.exec("DROP TABLE " + table);
        }
        ScriptedPrompt prompt;
        prompt.setDefaultAnswer(Prompt::Answer::Yes);
        QVERIFY(FillFromHost(session, prompt).filled);
        Session reopened;
        QCOMPARE(HostCase::openHost(fx, reopened), table != "Members");
        reopened.model = session.model;
        QVERIFY(FillFromHost(reopened, prompt).filled);
        const ReportModel& m = reopened.model;
        if (table == "MeritMarks")
            QCOMPARE(m.NoMM, 9);
        if (table == "Members") {
            QCOMPARE(m.NoActive, 0);
            QCOMPARE(m.AGCount, (std::array<qint32, 5>{}));
        } else {
            QCOMPARE(m.NoActive, 3);
            QCOMPARE(m.AGCount, (std::array<qint32, 5>{3, 3, 0, 0, 3}));
        }
        if (table == "CommDesc" || table == "CommPos" || table == "commdept")
            QCOMPARE(entry(m, 1, 1), QStringLiteral("1000002|Baker|Bo|Cdr|N||1"));
    }

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
            w.exec("INSERT INTO MemberCom (Mem_ID, Department, Position, Committee, SDN, NewOD) "
                   "SELECT Mem_ID, '2', '7', '201', 'D', 0 FROM Members ORDER BY Mem_ID");
            w.exec("INSERT INTO MemberCom (Mem_ID, Department, Position, Committee, SDN, NewOD) "
                   "SELECT Mem_ID, '2', '7', '201', 'N', 1 FROM Members WHERE Mem_ID <= 24 ORDER BY Mem_ID");
        }
        QVERIFY(HostCase::openHost(fx, session));
        ScriptedPrompt prompt;
        prompt.setDefaultAnswer(Prompt::Answer::Yes);
        QVERIFY(FillFromHost(session, prompt).filled);
        const ReportModel& m = session.model;
        QCOMPARE(m.NoSenior, 30);
        QCOMPARE(m.NoActive, 30);
        for (int e = 1; e <= 24; ++e) {
            const QString last = QStringLiteral("L%1").arg(e, 2, 10, QLatin1Char('0'));
            QCOMPARE(m.RecLast[1][e], last);
            QCOMPARE(m.RecLast[2][e], last);
            QCOMPARE(m.RecLast[7][e], last);
            QCOMPARE(m.RecCategory[7][e], 7);
        }
    }

    void loadTimeLookups_data()
    {
        QTest::addColumn<qint32>("noActive");
        QTest::addColumn<qint32>("noMM");
        QTest::addColumn<QString>("subLast");
        QTest::addColumn<bool>("archive");
        QTest::addColumn<QString>("subDate");
        QTest::addColumn<qint32>("expectActive");
        QTest::addColumn<qint32>("expectMM");
        QTest::addColumn<bool>("expectHistorian");
        QTest::newRow("new report") << 0 << 0 << "" << false << "" << 3 << 2 << true;
        QTest::newRow("counts stored") << 5 << 7 << "" << false << "Sep 15, 2020" << 5 << 7 << true;
        QTest::newRow("officer named") << 0 << 7 << "Someone" << false << "" << 3 << 7 << false;
        QTest::newRow("archive") << 0 << 0 << "" << true << "Sep 15, 2020" << 3 << 2 << false;
    }
    void loadTimeLookups()
    {
        QFETCH(qint32, noActive);
        QFETCH(qint32, noMM);
        QFETCH(QString, subLast);
        QFETCH(bool, archive);
        QFETCH(QString, subDate);
        QFETCH(qint32, expectActive);
        QFETCH(qint32, expectMM);
        QFETCH(bool, expectHistorian);
        HostFixture fx;
        Session session;
        openFilled(fx, session);
        ReportModel& m = session.model;
        m.NoActive = noActive;
        m.NoMM = noMM;
        m.SubOLast = subLast;
        m.SubOTitle = "Title kept";
        m.SubDate = subDate;
        m.FromDate.clear(); // none of these needs the watch year
        const LoadLookupsOutcome out = LoadTimeLookups(session, archive, QDate(2021, 3, 7));
        QCOMPARE(m.NoActive, expectActive);
        QCOMPARE(m.NoMM, expectMM);
        QCOMPARE(out.historian.found, expectHistorian);
        QCOMPARE(m.SubOTitle, expectHistorian ? QStringLiteral("Historian") : QStringLiteral("Title kept"));
        QCOMPARE(m.SubOLast, expectHistorian ? QStringLiteral("Abel") : subLast);
        QCOMPARE(out.subDateSet, subDate.isEmpty());
        QCOMPARE(m.SubDate, subDate.isEmpty() ? QStringLiteral("Mar 7, 2021") : subDate);
    }

    void loadTimeLookupsWithOnlyARankOrGrade()
    {
        // The label shows " Jo" for a first name alone, which is not blank: no look-up.
        HostFixture fx;
        Session session;
        openFilled(fx, session);
        session.model.SubOFirst = "Jo";
        QVERIFY(!LoadTimeLookups(session, false).historian.found);
        session.model.SubOFirst.clear();
        session.model.SubOGrade = "AP";
        QVERIFY(!LoadTimeLookups(session, false).historian.found);
        session.model.SubOGrade.clear();
        QVERIFY(LoadTimeLookups(session, false).historian.found);
    }

    // A rough figure for a squadron host of a few thousand members; the district-size run is in bench/.
    void fillOnALargerHost()
    {
        HostFixture fx;
        HostCase::prepare(fx);
        const int members = 3000;
        {
            HostCase::Writer w(fx.primaryPath());
            QString courses;
            for (const QString& f : HostSchema::courseFields())
                courses += QStringLiteral(", printf('%d%02d', 2019 + (i % 3), 1 + i % 12) AS ") + f;
            w.exec(QStringLiteral("CREATE TABLE Gen AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                                  "WHERE i < %1) SELECT i%2 FROM n")
                       .arg(members)
                       .arg(courses));
            w.exec(QStringLiteral("INSERT INTO Members (Mem_ID, Cert, Last, First, Rank, SquadRank, Grade, "
                                  "MemTypeStat, OtherMember, GH_Senior, %1) SELECT i, 'C' || i, 'L' || (i * 7919 % "
                                  "%2), 'F', '', 'Lt', 'AP', CASE WHEN i % 10 = 0 THEN 'RE' ELSE 'AC' END, CASE WHEN "
                                  "i % 50 = 0 THEN 'X' END, CASE WHEN i % 100 = 1 THEN '2019' END, %1 FROM Gen")
                       .arg(HostSchema::courseFields().join(", "))
                       .arg(members));
            w.exec("INSERT INTO MemberCom SELECT i, CAST(i % 9 AS TEXT), CAST(i % 8 AS TEXT), CAST(i % 9 AS TEXT) || "
                   "printf('%02d', i % 30), CASE WHEN i % 97 = 0 THEN 'D' WHEN i % 89 = 0 THEN 'N' ELSE 'S' END, "
                   "i % 5 = 0 FROM Gen");
            w.exec("INSERT INTO MemberCom SELECT i, CAST(i % 7 AS TEXT), CAST(i % 6 AS TEXT), CAST(i % 7 AS TEXT) || "
                   "printf('%02d', i % 40), 'S', 0 FROM Gen");
            w.exec("INSERT INTO MeritMarks SELECT i, '2020', CASE WHEN i % 3 = 0 THEN 'A' ELSE 'R' END FROM Gen");
            w.exec("DROP TABLE Gen");
        }
        QElapsedTimer refresh;
        refresh.start();
        Session session;
        QVERIFY(HostCase::openHost(fx, session));
        const qint64 refreshMs = refresh.elapsed();
        ReportModel& m = session.model;
        QList<std::pair<QString, QString>> offices;
        for (int i = 0; i < 100; ++i)
            offices << std::pair<QString, QString>(
                QStringLiteral("Office %1").arg(i),
                i % 10 == 0 ? QStringLiteral("A000")
                            : QStringLiteral("%1%2%3").arg(i % 9).arg(i % 8).arg(i % 30, 2, 10, QLatin1Char('0')));
        HostCase::setOfficers(m, offices);
        m.FromDate = kFrom;
        m.ToDate = kTo;
        ScriptedPrompt prompt;
        prompt.setDefaultAnswer(Prompt::Answer::Yes);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(FillFromHost(session, prompt).filled);
        const qint64 fillMs = timer.elapsed();
        QVERIFY(FillFromHost(session, prompt).filled);
        const qint64 secondMs = timer.elapsed() - fillMs;
        qInfo("%d members, %d committee rows: refresh %lld ms, Fill %lld ms, again %lld ms", members, 2 * members,
              refreshMs, fillMs, secondMs);
        // Own members: all but every 50th; active: all but every 10th; new seniors: every 100th from 1.
        qint32 active = 0;
        qint32 completed = 0;
        for (int i = 1; i <= members; ++i) {
            if (i % 50 == 0)
                continue;
            active += i % 10 != 0;
            const int year = 2019 + i % 3;
            const int month = 1 + i % 12;
            completed += (year == 2019 && month >= 9) || (year == 2020 && month <= 8);
        }
        QCOMPARE(m.NoActive, active);
        QCOMPARE(m.NoSenior, members / 100);
        QCOMPARE(m.AGCount, (std::array<qint32, 5>{completed, completed, completed, completed, completed}));
        QCOMPARE(m.OCCount[2], completed);
        QCOMPARE(m.NoMM, members / 3);
    }
};

QTEST_GUILESS_MAIN(TestFill)
#include "tst_fill.moc"

// The host look-ups (officer rows, submitting officer, district and national assignments), Fill from host and
// the look-ups that follow loading a report.

#include "HostCase.h"

#include "host/FillFromHost.h"
#include "host/HostLookups.h"

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
        std::tie(m.FromDate, m.ToDate, m.NoActive, m.NoMM, m.NoSenior) =
            std::tuple("Sep 1, 2019", "Aug 31, 2020", 9, 9, 9);
        std::tie(m.AGCount, m.EGCount) = std::tuple(std::array{9, 9, 9, 9, 9}, std::array{9, 9, 9, 9, 9, 9});
        std::tie(m.BCCount, m.OCCount) = std::tuple(std::array{21, 22, 23}, std::array{31, 32, 33, 34});
    }

private Q_SLOTS:
    void officerRowsFromTheHost()
    {
        HostFixture fx;
        Session session;
        // Three current holders of 1901 (3, 5, 6); a district row and next watch's holder of that code are none.
        QVERIFY(HostCase::openSquadron(fx, session, "3:1901 1:1101 5:1901 4:1901D 6:1901 2:1901+ 99:1705 4:1'05"));
        ReportModel& m = session.model;
        const QList<std::pair<QString, QString>> offices{
            {"Bridge", "A000"},           {"Commander", "1101"},        {"Secretary", "1705"},
            {"Members at large", "1901"}, {"Heading", "C000"},          {"Members at large", "1901"},
            {"Members at large", "1901"}, {"Members at large", "1901"}, {"Historian", "7703"},
            {"Members at large", "1901"}, {"Quoted", "1'05"},           {"Short", "7"}};
        HostCase::setOfficers(m, offices);
        HostCase::setOfficer(m, 3, "7777777|Kept|||");
        HostCase::setOfficer(m, 8, "|Fourth kept|||");
        HostCase::setOfficer(m, 9, "|Historian kept|||");
        QCOMPARE(OfficersFromHost(session), 6);
        QStringList rows;
        for (int i = 1; i <= offices.size(); ++i)
            rows << HostCase::officer(m, i);
        // Headings are never searched nor end a run of one office's rows, which take its holders in turn and keep
        // theirs when there are no more; after another office the run starts again. The Secretary's holder is not
        // in Members; officers show their squadron rank; codes may hold a quote or be short.
        QCOMPARE(rows, (QStringList{"||||", "1000001|Abel|Amy|Lt/C|AP", "7777777|Kept|||", "1000003|Cole|Cy|1st/Lt|S",
                                    "||||", "1000005|Eve|Ed|P/Lt|JN", "1000006|Fox|Flo||P", "|Fourth kept|||",
                                    "|Historian kept|||", "1000003|Cole|Cy|1st/Lt|S", "1000004|Dunn|Di|Lt|", "||||"}));
    }

    // Office holders, whether the list holds the Historian and the Secretary, the office asked for in; the row and
    // submitting officer out (none: no change; stray rows with empty codes never pass for an office not listed).
    void submittingOfficer()
    {
        const QList<QStringList> cases{
            {"2:1705 1:7703+", "listed", "", "3",
             "1000002|Baker|Bo|N|Cdr|9 Shore Rd|Bay|NH|03801|Secretary|555-0202|bo@example.org", "Cdr Bo Baker, N"},
            {"6:1101", "listed", "Commander", "2", "1000006|Fox|Flo|P||||||Commander||", " Flo Fox, P"},
            {"2:1705 1:7703", "", "", "0"},
            {"", "listed", "", "0"},
            {"2:1705 77:7703", "listed", "", "0"}}; // a holder missing from Members: no falling back
        for (const QStringList& c : cases) {
            HostFixture fx;
            Session session;
            QVERIFY(HostCase::openSquadron(
                fx, session, c[0], "INSERT INTO MemberCom VALUES (4, '', '0', '', 'S', 0), (5, '', '', '', 'S', 0)"));
            ReportModel& m = session.model;
            const bool listed = !c[1].isEmpty();
            HostCase::setOfficers(m, {{"Bridge", "A000"},
                                      {"Commander", "1101"},
                                      {listed ? "Secretary" : "Treasurer", "1705"},
                                      {listed ? "Historian" : "Chaplain", "7703"}});
            m.SubOLast = "Old";
            ReportModel expected = m;
            const HistorianOutcome out = FindHistorian(session, c[2]);
            QCOMPARE(QString::number(out.officerRow), c[3]);
            QCOMPARE(out.found, out.officerRow > 0);
            if (out.found) {
                const QString name = MemberFullName(m.SubOLast, m.SubOFirst, m.SubOGrade, m.SubORank);
                QCOMPARE((QStringList{HostCase::submitter(m), name, out.title}), (c.mid(4) << m.SubOTitle));
                // The office's row shows the submitting officer; the other rows are not touched.
                const HostMember& u = out.unify;
                HostCase::setOfficer(expected, out.officerRow, HostCase::read(HostCase::officerFields(u)));
                HostCase::setSubmitter(expected, HostCase::submitter(m));
                QCOMPARE(u.Last + u.Rank, m.SubOLast + m.SubORank);
            }
            QCOMPARE(dump(m), dump(expected));
        }
    }

    void fillTakesWhatTheHostKnows()
    {
        HostFixture fx;
        Session session;
        // District rows in turn: one naming no member, one whose member is not in Members, one of next watch's
        // (every watch counts) with blanks around its department, three lacking committee, position and department.
        openFilled(fx, session, [](HostCase::Writer& w) {
            HostCase::squadron(w, "2:1101 1:7703 3:1901 4:1901 2:2701D 0:2701D 98:2101D 3:1705N");
            w.exec("INSERT INTO MemberCom VALUES (2, ' 2 ', '7', '201', 'D', 1), (3, '2', '3', '205', 'D', 0), "
                   "(5, '2', '8', '201', 'D', 0), (6, '9', '7', '105', 'D', 0)");
        });
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
        std::tie(session.model.FromDate, session.model.ToDate) = std::tie(expected.FromDate, expected.ToDate);
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
        HostCase::setEntry(expected, 1, 4, "1000002|Baker|Bo|Cdr|N|Education, Chairman|1");
        HostCase::setEntry(expected, 1, 5, "1000003|Cole|Cy|1st/Lt|S||1");
        HostCase::setEntry(expected, 1, 6, "1000005|Eve|Ed|P/Lt|JN||1");
        HostCase::setEntry(expected, 1, 7, "1000006|Fox|Flo||P||1");
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
            // Fill goes on past a failed query and shows the engine's text at the end.
            ScriptedPrompt yes;
            yes.setDefaultAnswer(Prompt::Answer::Yes);
            const FillOutcome first = FillFromHost(session, yes);
            QVERIFY(first.filled);
            QCOMPARE(first.hostFailed, !c[0].isEmpty());
            QVERIFY(c[0].isEmpty() || yes.told(Prompt::Icon::Warning, {"no such table: " + c[0]}));
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

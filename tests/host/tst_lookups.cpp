// Officer rows, submitting officer, district and national assignments and assignment texts from the host.

#include "HostCase.h"

#include "host/HostLookups.h"

#include <QTest>

using HostCase::dump;

class TestLookups : public QObject
{
    Q_OBJECT

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

    // Entries take the rows in turn with the titles of committee and position, trimmed, when all three codes are known.
    void districtAndNationalAssignments()
    {
        HostFixture fx;
        Session session;
        // Entry 1 names no member, entry 2's member is not in Members, entry 3 is next watch's (every watch
        // counts); entries 4, 5 and 6 lack their committee, position and department.
        QVERIFY(HostCase::openSquadron(
            fx, session, "4:1705 0:2701D 98:2101D",
            "INSERT INTO MemberCom VALUES (2, ' 2 ', '7', '201', 'D', 1), (3, '2', '3', '205', 'D', 0), "
            "(5, '2', '8', '201', 'D', 0), (6, '9', '7', '105', 'D', 0)"));
        ReportModel& m = session.model;
        HostCase::markCategory(m, 1, "Old");
        HostCase::markCategory(m, 2, "Old");
        ReportModel expected = m;
        QVERIFY(!FindDNOffices(session, "N")); // no national rows: the category stays
        QVERIFY(!FindDNOffices(session, "S")); // only the two assignment categories
        QCOMPARE(dump(m), dump(expected));

        QVERIFY(FindDNOffices(session, "D"));
        expected.clearCategory(1);
        HostCase::setEntry(expected, 1, 3, "1000002|Baker|Bo|Cdr|N|Education, Chairman|1");
        HostCase::setEntry(expected, 1, 4, "1000003|Cole|Cy|1st/Lt|S||1");
        HostCase::setEntry(expected, 1, 5, "1000005|Eve|Ed|P/Lt|JN||1");
        HostCase::setEntry(expected, 1, 6, "1000006|Fox|Flo||P||1");
        QCOMPARE(dump(m), dump(expected));
        fx.execPrimary("INSERT INTO MemberCom VALUES (5, '1', '7', '105', 'N', 0)");
        QVERIFY(FindDNOffices(session, "N"));
        expected.clearCategory(2);
        HostCase::setEntry(expected, 2, 1, "1000005|Eve|Ed|P/Lt|JN|Secretary, Chairman|2");
        QCOMPARE(dump(m), dump(expected));
    }
};

QTEST_GUILESS_MAIN(TestLookups)
#include "tst_lookups.moc"

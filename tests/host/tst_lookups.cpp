// Officer rows, submitting officer, district and national assignments and assignment texts from the host.

#include "HostCase.h"

#include "host/HostLookups.h"

#include <QTest>

using HostCase::entry;
using HostCase::officer;

class TestLookups : public QObject
{
    Q_OBJECT

private:
    // Members 1..6, some with blanks the look-ups trim, the title tables for committee 105 (Secretary), 703
    // (Historian) and 201 (Education), and office holders written as "member:code" with the code as the officer
    // list holds it ("d" marks a district row, "n" next watch's holder); then any further rows.
    static void open(HostFixture& fx, Session& session, const QString& holders, const QString& moreRows = {})
    {
        QVERIFY(HostCase::openWith(fx, session, [&](HostCase::Writer& w) {
            w.members("(1, 'Abel', 'Amy', '1000001', 'AP', 'Lt', 'Lt/C', 'AC'), (2, ' Baker ', ' Bo ', ' 1000002 ', "
                      "' N ', ' P/C ', ' Cdr ', 'AC'), (3, 'Cole', 'Cy', '1000003', 'S', '', '1st/Lt', 'AC'), (4, "
                      "'Dunn', 'Di', '1000004', '', '', 'Lt', 'AC'), (5, 'Eve', 'Ed', '1000005', 'JN', '', 'P/Lt', "
                      "'AC'), (6, 'Fox', 'Flo', '1000006', 'P', '', '', 'AC')");
            w.exec("UPDATE Members SET Address = ' 1 Main St ', Address2 = ' Apt 2 ', City = ' Port ', State = 'ME', "
                   "ZIP = '04101', Phone = '555-0101', Email = ' amy@example.org ' WHERE Mem_ID = 1");
            w.exec("UPDATE Members SET Address = '9 Shore Rd', Address2 = NULL, City = 'Bay', State = 'NH', "
                   "ZIP = '03801', Phone = '555-0202', Email = 'bo@example.org' WHERE Mem_ID = 2");
            w.exec("INSERT INTO commdept VALUES ('1', 'Executive'), ('7', 'Secretary Dept'), ('2', 'Education')");
            w.exec("INSERT INTO CommDesc VALUES ('105', ' Secretary '), ('703', 'History'), ('201', 'Education'), "
                   "('5', 'District Ed')");
            w.exec("INSERT INTO CommPos VALUES ('7', ' Chairman '), ('1', 'Member'), ('3', 'Assistant')");
            for (QString r : holders.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                const bool district = r.contains(QLatin1Char('d')), next = r.contains(QLatin1Char('n'));
                const QString code = r.remove(QLatin1Char('d')).remove(QLatin1Char('n')).section(QLatin1Char(':'), 1);
                w.committee(r.section(QLatin1Char(':'), 0, 0).toInt(), code.left(1), code.mid(1, 1),
                            code.left(1) + code.mid(2), district ? "D" : "S", next);
            }
            if (!moreRows.isEmpty())
                w.exec(moreRows);
        }));
    }

    static QStringList category(const ReportModel& m, int c)
    {
        QStringList entries;
        for (int e = 1; e <= ReportModel::EntriesPerCategory; ++e)
            entries << entry(m, c, e);
        return entries;
    }

private Q_SLOTS:
    // An office code's parts, and a search for them that the recordsets understand and that finds only the
    // squadron's own office.
    void officeCodeParts()
    {
        const QList<QStringList> cases{
            {"7703", "7", "7", "703"}, {"1705", "1", "7", "105"}, {"7", "7", "", "7"}, {"1'05", "1", "'", "105"}};
        for (const QStringList& c : cases) {
            const OfficeCode parts = OfficeCodeParts(c[0]);
            QCOMPARE((QStringList{c[0], parts.Department, parts.Position, parts.Committee}), c);
            QCOMPARE(parts.key(), c[1] + c[2] + c[3]);
            Recordset rs = Recordset::fromRows({"Department", "Position", "Committee", "SDN"},
                                               {{c[1], c[2], c[3], "D"}, {c[1], c[2], c[3], "S"}});
            QVERIFY2(rs.findFirst(OfficeCriteria(parts)), qPrintable(rs.error()));
            QCOMPARE(rs.text("SDN"), QStringLiteral("S"));
        }
    }

    void officerRowsFromTheHost()
    {
        HostFixture fx;
        Session session;
        // Three current holders of 1901 (3, 5, 6); a district row and next watch's holder of that code are none.
        open(fx, session, "3:1901 1:1101 5:1901 4:1901d 6:1901 2:1901n 99:1705");
        ReportModel& m = session.model;
        const QList<std::pair<QString, QString>> offices{{"Bridge", "A000"},           {"Commander", "1101"},
                                                         {"Secretary", "1705"},        {"Members at large", "1901"},
                                                         {"Heading", "C000"},          {"Members at large", "1901"},
                                                         {"Members at large", "1901"}, {"Members at large", "1901"},
                                                         {"Historian", "7703"},        {"Members at large", "1901"}};
        HostCase::setOfficers(m, offices);
        HostCase::setOfficer(m, 3, "7777777|Kept|||");
        HostCase::setOfficer(m, 8, "|Fourth kept|||");
        HostCase::setOfficer(m, 9, "|Historian kept|||");
        QCOMPARE(OfficersFromHost(session), 5);
        QStringList rows;
        for (int i = 1; i <= offices.size(); ++i)
            rows << officer(m, i);
        // Headings are never searched and do not end a run of one office's rows; rows of one office take its
        // holders in turn and keep theirs when there are no more; after another office the run starts again.
        // The holder of the Secretary's office is missing from Members; officers show their squadron rank.
        QCOMPARE(rows, (QStringList{"||||", "1000001|Abel|Amy|Lt/C|AP", "7777777|Kept|||", "1000003|Cole|Cy|1st/Lt|S",
                                    "||||", "1000005|Eve|Ed|P/Lt|JN", "1000006|Fox|Flo||P", "|Fourth kept|||",
                                    "|Historian kept|||", "1000003|Cole|Cy|1st/Lt|S"}));
    }

    // Office holders, whether the officer list holds the Historian and the Secretary (else other titles hold
    // their codes) and the office asked for in; the officer row and the submitting officer found out. When none is
    // found the report does not change; stray rows with empty codes never pass for an office that is not listed.
    void submittingOfficer()
    {
        const QList<QStringList> cases{
            {"2:1705 1:7703", "listed", "", "4",
             "1000001|Abel|Amy|AP|Lt/C|1 Main St Apt 2|Port|ME|04101|Historian|555-0101|amy@example.org",
             "Lt/C Amy Abel, AP"},
            {"2:1705 1:7703n", "listed", "", "3",
             "1000002|Baker|Bo|N|Cdr|9 Shore Rd|Bay|NH|03801|Secretary|555-0202|bo@example.org", "Cdr Bo Baker, N"},
            {"6:1101", "listed", "Commander", "2", "1000006|Fox|Flo|P||||||Commander||", " Flo Fox, P"},
            {"2:1705 1:7703", "", "", "0"},
            {"", "listed", "", "0"},
            {"2:1705 77:7703", "listed", "", "0"}}; // a holder missing from Members: no falling back
        for (const QStringList& c : cases) {
            HostFixture fx;
            Session session;
            open(fx, session, c[0], "INSERT INTO MemberCom VALUES (4, '', '0', '', 'S', 0), (5, '', '', '', 'S', 0)");
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
                HostCase::setOfficer(expected, out.officerRow,
                                     QStringList{u.Cert, u.Last, u.First, u.Rank, u.Grade}.join(QLatin1Char('|')));
                HostCase::setSubmitter(expected, HostCase::submitter(m));
                QCOMPARE(u.Last + u.Rank, m.SubOLast + m.SubORank);
            }
            QCOMPARE(HostCase::dump(m), HostCase::dump(expected));
        }
    }

    void districtAndNationalAssignments()
    {
        HostFixture fx;
        Session session;
        // Entry 1 names no member, entry 2 is next watch's (every watch counts), entry 3's member is not in
        // Members, entry 4's committee is missing from CommDesc (no text).
        open(fx, session, "4:1705 0:2701d 2:2701dn 98:2101d 3:2305d");
        ReportModel& m = session.model;
        HostCase::markCategory(m, 1, "Old");
        HostCase::markCategory(m, 2, "Old");
        const QStringList kept = category(m, 2);
        QVERIFY(!FindDNOffices(session, "N")); // no national rows: the category stays
        QVERIFY(!FindDNOffices(session, "S")); // only the two assignment categories
        QCOMPARE(category(m, 2), kept);

        QVERIFY(FindDNOffices(session, "D"));
        QStringList district(ReportModel::EntriesPerCategory, "||||||0");
        district[1] = "1000002|Baker|Bo|Cdr|N|Education, Chairman|1";
        district[3] = "1000003|Cole|Cy|1st/Lt|S||1";
        QCOMPARE(category(m, 1), district);
        QCOMPARE(category(m, 2), kept);

        HostCase::Writer(fx.primaryPath()).committee(5, "1", "7", "105", "N");
        QVERIFY(FindDNOffices(session, "N"));
        QStringList national(ReportModel::EntriesPerCategory, "||||||0");
        national[0] = "1000005|Eve|Ed|P/Lt|JN|Secretary, Chairman|2";
        QCOMPARE(category(m, 2), national);
        QCOMPARE(category(m, 1), district);
    }

    // The text of an assignment: committee and position titles, trimmed, when all three codes are known.
    void assignmentText()
    {
        HostFixture fx;
        Session session;
        open(fx, session, "");
        const QList<QStringList> cases{{" 1 ", "7", "105", "Secretary, Chairman"},
                                       {"1", "7", "106", ""},
                                       {"9", "7", "105", ""},
                                       {"1", "8", "105", ""},
                                       {"1", "7", "1'5", ""}};
        for (const QStringList& c : cases) {
            const Recordset row =
                Recordset::fromRows({"Mem_ID", "Department", "Position", "Committee"}, {{"1", c[0], c[1], c[2]}});
            QCOMPARE(FindJob(session.host.HostDB, row), c[3]);
        }
        // A row without the code fields gives no text.
        QCOMPARE(FindJob(session.host.HostDB, Recordset::fromRows({"Mem_ID"}, {{"1"}})), QString());
    }
};

QTEST_GUILESS_MAIN(TestLookups)
#include "tst_lookups.moc"

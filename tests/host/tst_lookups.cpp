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
    // Members 1..6 and the title tables for committee 105 (Secretary), 703 (Historian) and 201 (Education).
    static void standardHost(HostCase::Writer& w)
    {
        w.member({1, "Abel", "Amy", "1000001", "AP", "Lt", "Lt/C"});
        w.member({2, " Baker ", " Bo ", " 1000002 ", " N ", " P/C ", " Cdr "});
        w.member({3, "Cole", "Cy", "1000003", "S", "", "1st/Lt"});
        w.member({4, "Dunn", "Di", "1000004", "", "", "Lt"});
        w.member({5, "Eve", "Ed", "1000005", "JN", "", "P/Lt"});
        w.member({6, "Fox", "Flo", "1000006", "P", "", ""});
        w.exec("UPDATE Members SET Address = ' 1 Main St ', Address2 = ' Apt 2 ', City = ' Port ', "
               "State = 'ME', ZIP = '04101', Phone = '555-0101', Email = ' amy@example.org ' WHERE Mem_ID = 1");
        w.exec("UPDATE Members SET Address = '9 Shore Rd', Address2 = NULL, City = 'Bay', State = 'NH', "
               "ZIP = '03801', Phone = '555-0202', Email = 'bo@example.org' WHERE Mem_ID = 2");
        w.exec("INSERT INTO commdept VALUES ('1', 'Executive'), ('7', 'Secretary Dept'), ('2', 'Education')");
        w.exec("INSERT INTO CommDesc VALUES ('105', ' Secretary '), ('703', 'History'), ('201', 'Education'), "
               "('5', 'District Ed')");
        w.exec("INSERT INTO CommPos VALUES ('7', ' Chairman '), ('1', 'Member'), ('3', 'Assistant')");
    }

    static QList<std::pair<QString, QString>> officerList()
    {
        return {{"Bridge", "A000"},           {"Commander", "1101"},        {"Secretary", "1705"},
                {"Members at large", "1901"}, {"Members at large", "1901"}, {"Committees", "B000"},
                {"Historian", "7703"},        {"Members at large", "1901"}};
    }

private Q_SLOTS:
    void officeCodeParts_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("department");
        QTest::addColumn<QString>("position");
        QTest::addColumn<QString>("committee");
        QTest::addColumn<QString>("criteria");
        QTest::newRow("historian") << "7703"
                                   << "7"
                                   << "7"
                                   << "703"
                                   << "Department = '7' AND Position = '7' AND Committee = '703' AND SDN = 'S'";
        QTest::newRow("secretary") << "1705"
                                   << "1"
                                   << "7"
                                   << "105"
                                   << "Department = '1' AND Position = '7' AND Committee = '105' AND SDN = 'S'";
        QTest::newRow("short") << "7"
                               << "7"
                               << ""
                               << "7"
                               << "Department = '7' AND Position = '' AND Committee = '7' AND SDN = 'S'";
        QTest::newRow("quote in a stored code") << "1'05"
                                                << "1"
                                                << "'"
                                                << "105"
                                                << "Department = '1' AND Position = '''' AND Committee = '105' AND "
                                                   "SDN = 'S'";
    }
    void officeCodeParts()
    {
        QFETCH(QString, code);
        QFETCH(QString, department);
        QFETCH(QString, position);
        QFETCH(QString, committee);
        QFETCH(QString, criteria);
        const OfficeCode parts = OfficeCodeParts(code);
        QCOMPARE(parts.Department, department);
        QCOMPARE(parts.Position, position);
        QCOMPARE(parts.Committee, committee);
        QCOMPARE(parts.key(), department + position + committee);
        QCOMPARE(OfficeCriteria(parts), criteria);
        // The criteria is one the recordsets understand.
        Recordset rs = Recordset::fromRows({"Department", "Position", "Committee", "SDN"},
                                           {{department, position, committee, "S"}});
        QVERIFY2(rs.findFirst(criteria), qPrintable(rs.error()));
    }

    void officerRowsFromTheHost()
    {
        HostFixture fx;
        HostCase::prepare(fx);
        HostCase::Writer w(fx.primaryPath());
        standardHost(w);
        // Three holders of 1901, in MemberComRS order 3, 5, 6 (Department, then Position; rows of one office in
        // the order the host stored them).
        w.committee(3, "1", "9", "101");
        w.committee(1, "1", "1", "101");
        w.committee(5, "1", "9", "101");
        w.committee(6, "1", "9", "101");
        w.committee(4, "1", "9", "101", "D");       // a district row of the same code is no holder
        w.committee(2, "1", "9", "101", "S", true); // nor is next watch's holder
        w.committee(99, "1", "7", "105");           // the Secretary is not in Members
        w.done();
        Session session;
        QVERIFY(HostCase::openHost(fx, session));
        ReportModel& m = session.model;
        HostCase::setOfficers(m, officerList());
        m.OffLast[3] = "Kept";
        m.OffCert[3] = "7777777";
        m.OffLast[7] = "Historian kept";

        // The holders of 1901 in MemberComRS order.
        QStringList holders;
        const QString criteria = OfficeCriteria(OfficeCodeParts("1901"));
        for (bool hit = session.host.MemberComRS.findFirst(criteria); hit;
             hit = session.host.MemberComRS.findNext(criteria))
            holders << session.host.MemberComRS.text("Mem_ID");
        QCOMPARE(holders, (QStringList{"3", "5", "6"}));

        QCOMPARE(OfficersFromHost(session), 4);
        QCOMPARE(officer(m, 2), QStringLiteral("1000001|Abel|Amy|Lt/C|AP")); // squadron rank, not rank
        QCOMPARE(officer(m, 3), QStringLiteral("7777777|Kept|||"));          // holder missing from Members
        QCOMPARE(officer(m, 4), QStringLiteral("1000003|Cole|Cy|1st/Lt|S"));
        QCOMPARE(officer(m, 5), QStringLiteral("1000005|Eve|Ed|P/Lt|JN"));
        QCOMPARE(officer(m, 7), QStringLiteral("|Historian kept|||")); // no holder: kept
        // The third "Members at large" row follows another office: it starts again at the first holder.
        QCOMPARE(officer(m, 8), QStringLiteral("1000003|Cole|Cy|1st/Lt|S"));
        QCOMPARE(officer(m, 1), QStringLiteral("||||")); // headings are never searched
        QCOMPARE(officer(m, 6), QStringLiteral("||||"));
    }

    void sameOfficeAcrossAHeadingTakesTheNextHolder()
    {
        HostFixture fx;
        HostCase::prepare(fx);
        HostCase::Writer w(fx.primaryPath());
        standardHost(w);
        w.committee(3, "1", "9", "101");
        w.committee(5, "1", "9", "101");
        w.done();
        Session session;
        QVERIFY(HostCase::openHost(fx, session));
        ReportModel& m = session.model;
        HostCase::setOfficers(m, {{"Members at large", "1901"},
                                  {"Heading", "C000"},
                                  {"Members at large", "1901"},
                                  {"Members at large", "1901"}});
        m.OffLast[4] = "Third kept";
        QCOMPARE(OfficersFromHost(session), 2);
        QCOMPARE(m.OffLast[1], QStringLiteral("Cole"));
        QCOMPARE(m.OffLast[3], QStringLiteral("Eve"));
        QCOMPARE(m.OffLast[4], QStringLiteral("Third kept")); // only two holders
    }

    void historianBecomesSubmittingOfficer()
    {
        HostFixture fx;
        HostCase::prepare(fx);
        HostCase::Writer w(fx.primaryPath());
        standardHost(w);
        w.committee(2, "1", "7", "105"); // Secretary
        w.committee(1, "7", "7", "703"); // Historian
        w.done();
        Session session;
        QVERIFY(HostCase::openHost(fx, session));
        ReportModel& m = session.model;
        HostCase::setOfficers(m, officerList());
        const HistorianOutcome out = FindHistorian(session);
        QVERIFY(out.found);
        QCOMPARE(out.title, QStringLiteral("Historian"));
        QCOMPARE(out.officerRow, 7);
        QCOMPARE(out.unify.Last, QStringLiteral("Abel"));
        QCOMPARE(out.unify.Rank, QStringLiteral("Lt/C"));
        QCOMPARE((QStringList{m.SubOCert, m.SubOLast, m.SubOFirst, m.SubOGrade, m.SubORank}),
                 (QStringList{"1000001", "Abel", "Amy", "AP", "Lt/C"}));
        QCOMPARE(m.SubOAddress, QStringLiteral("1 Main St Apt 2"));
        QCOMPARE(m.SubOCity, QStringLiteral("Port"));
        QCOMPARE(m.SubOState, QStringLiteral("ME"));
        QCOMPARE(m.SubOZip, QStringLiteral("04101"));
        QCOMPARE(m.SubOTitle, QStringLiteral("Historian"));
        QCOMPARE(m.SubOPhone, QStringLiteral("555-0101"));
        QCOMPARE(m.SubOEmail, QStringLiteral("amy@example.org"));
        QCOMPARE(officer(m, 7), QStringLiteral("1000001|Abel|Amy|Lt/C|AP"));
        QCOMPARE(officer(m, 3), QStringLiteral("||||")); // the Secretary's row is not touched
        QCOMPARE(MemberFullName(m.SubOLast, m.SubOFirst, m.SubOGrade, m.SubORank), QStringLiteral("Lt/C Amy Abel, AP"));
    }

    void secretaryStandsInForAMissingHistorian()
    {
        HostFixture fx;
        HostCase::prepare(fx);
        HostCase::Writer w(fx.primaryPath());
        standardHost(w);
        w.committee(2, "1", "7", "105");
        w.committee(1, "7", "7", "703", "S", true); // next watch's historian does not count
        w.done();
        Session session;
        QVERIFY(HostCase::openHost(fx, session));
        ReportModel& m = session.model;
        HostCase::setOfficers(m, officerList());
        m.SubOAddress = "old";
        const HistorianOutcome out = FindHistorian(session);
        QVERIFY(out.found);
        QCOMPARE(out.title, QStringLiteral("Secretary"));
        QCOMPARE(out.officerRow, 3);
        QCOMPARE(m.SubOTitle, QStringLiteral("Secretary"));
        QCOMPARE(m.SubOLast, QStringLiteral("Baker"));
        QCOMPARE(m.SubOAddress, QStringLiteral("9 Shore Rd")); // no Address2: no trailing blank
        QCOMPARE(officer(m, 3), QStringLiteral("1000002|Baker|Bo|Cdr|N"));
        QCOMPARE(officer(m, 7), QStringLiteral("||||"));
    }

    void historianNotFoundChangesNothing_data()
    {
        QTest::addColumn<bool>("listHasOffices");
        QTest::addColumn<bool>("secretaryStaffed");
        QTest::addColumn<bool>("historianInMembers");
        QTest::newRow("neither office listed") << false << true << true;
        QTest::newRow("neither office staffed") << true << false << true;
        QTest::newRow("historian's holder not in Members") << true << true << false;
    }
    void historianNotFoundChangesNothing()
    {
        QFETCH(bool, listHasOffices);
        QFETCH(bool, secretaryStaffed);
        QFETCH(bool, historianInMembers);
        HostFixture fx;
        HostCase::prepare(fx);
        HostCase::Writer w(fx.primaryPath());
        standardHost(w);
        if (secretaryStaffed)
            w.committee(2, "1", "7", "105");
        if (!historianInMembers)
            w.committee(77, "7", "7", "703"); // the search stops there, it does not fall back
        // A stray row with empty codes must not pass for an office that is not listed.
        w.exec("INSERT INTO MemberCom VALUES (4, '', '0', '', 'S', 0)");
        w.exec("INSERT INTO MemberCom VALUES (5, '', '', '', 'S', 0)");
        w.done();
        Session session;
        QVERIFY(HostCase::openHost(fx, session));
        ReportModel& m = session.model;
        if (listHasOffices)
            HostCase::setOfficers(m, officerList());
        else
            HostCase::setOfficers(m, {{"Commander", "1101"}, {"Treasurer", "1805"}});
        m.SubOLast = "Old";
        m.SubOTitle = "Old title";
        const QStringList before = HostCase::dump(m);
        const HistorianOutcome out = FindHistorian(session);
        QVERIFY(!out.found);
        QCOMPARE(out.officerRow, 0);
        QCOMPARE(HostCase::dump(m), before);
    }

    void anotherOfficeCanBeAsked()
    {
        HostFixture fx;
        HostCase::prepare(fx);
        HostCase::Writer w(fx.primaryPath());
        standardHost(w);
        w.committee(6, "1", "1", "101");
        w.done();
        Session session;
        QVERIFY(HostCase::openHost(fx, session));
        HostCase::setOfficers(session.model, officerList());
        const HistorianOutcome out = FindHistorian(session, "Commander");
        QVERIFY(out.found);
        QCOMPARE(session.model.SubOTitle, QStringLiteral("Commander"));
        QCOMPARE(session.model.SubOLast, QStringLiteral("Fox"));
        QCOMPARE(session.model.SubORank, QString());
        QCOMPARE(MemberFullName(session.model.SubOLast, session.model.SubOFirst, session.model.SubOGrade,
                                session.model.SubORank),
                 QStringLiteral(" Flo Fox, P"));
    }

    void districtAndNationalAssignments()
    {
        HostFixture fx;
        HostCase::prepare(fx);
        HostCase::Writer w(fx.primaryPath());
        standardHost(w);
        w.committee(0, "2", "7", "201", "D");       // no member: entry 1 stays empty
        w.committee(2, "2", "7", "201", "D", true); // every watch counts
        w.committee(98, "2", "1", "201", "D");      // not in Members: entry 3 empty
        w.committee(3, "2", "3", "205", "D");       // committee missing from CommDesc: no text
        w.committee(4, "1", "7", "105", "S");
        w.committee(5, "1", "7", "105", "N");
        w.done();
        Session session;
        QVERIFY(HostCase::openHost(fx, session));
        ReportModel& m = session.model;
        for (int e = 1; e <= 24; ++e) {
            m.RecLast[1][e] = QStringLiteral("Old %1").arg(e);
            m.RecCategory[1][e] = 1;
            m.RecLast[2][e] = QStringLiteral("Old N %1").arg(e);
        }
        QVERIFY(FindDNOffices(session, "D"));
        QCOMPARE(entry(m, 1, 1), QStringLiteral("||||||0"));
        QCOMPARE(entry(m, 1, 2), QStringLiteral("1000002|Baker|Bo|Cdr|N|Education, Chairman|1"));
        QCOMPARE(entry(m, 1, 3), QStringLiteral("||||||0"));
        QCOMPARE(entry(m, 1, 4), QStringLiteral("1000003|Cole|Cy|1st/Lt|S||1"));
        for (int e = 5; e <= 24; ++e)
            QCOMPARE(entry(m, 1, e), QStringLiteral("||||||0"));
        QCOMPARE(m.RecLast[2][1], QStringLiteral("Old N 1"));

        QVERIFY(FindDNOffices(session, "N"));
        QCOMPARE(entry(m, 2, 1), QStringLiteral("1000005|Eve|Ed|P/Lt|JN|Secretary, Chairman|2"));
        QCOMPARE(entry(m, 2, 2), QStringLiteral("||||||0"));
        QCOMPARE(entry(m, 1, 2), QStringLiteral("1000002|Baker|Bo|Cdr|N|Education, Chairman|1"));

        QVERIFY(!FindDNOffices(session, "S")); // only the two assignment categories
    }

    void noRowsKeepTheCategory()
    {
        HostFixture fx;
        HostCase::prepare(fx);
        HostCase::Writer w(fx.primaryPath());
        standardHost(w);
        w.committee(1, "1", "7", "105", "N");
        w.done();
        Session session;
        QVERIFY(HostCase::openHost(fx, session));
        session.model.RecLast[1][1] = "Kept";
        session.model.RecLast[1][24] = "Kept too";
        QVERIFY(!FindDNOffices(session, "D"));
        QCOMPARE(session.model.RecLast[1][1], QStringLiteral("Kept"));
        QCOMPARE(session.model.RecLast[1][24], QStringLiteral("Kept too"));
    }

    void allTwentyFourEntriesAreFilled()
    {
        HostFixture fx;
        HostCase::prepare(fx);
        HostCase::Writer w(fx.primaryPath());
        standardHost(w);
        QStringList members;
        QStringList rows;
        for (int id = 101; id <= 126; ++id) {
            members << QStringLiteral("(%1, 0, 'C%1', 'Last%1', 'First%1', 'AP', '', 'Lt', 'AC', NULL)").arg(id);
            rows << QStringLiteral("(%1, '2', '7', '201', 'D', 0)").arg(id);
        }
        w.exec("INSERT INTO Members (Mem_ID, Squadron, Cert, Last, First, Grade, Rank, SquadRank, "
               "MemTypeStat, OtherMember) VALUES " +
               members.join(", "));
        w.exec("INSERT INTO MemberCom VALUES " + rows.join(", "));
        w.done();
        Session session;
        QVERIFY(HostCase::openHost(fx, session));
        QVERIFY(FindDNOffices(session, "D"));
        for (int e = 1; e <= 24; ++e)
            QCOMPARE(entry(session.model, 1, e),
                     QStringLiteral("C%1|Last%1|First%1|Lt|AP|Education, Chairman|1").arg(100 + e));
    }

    void assignmentText_data()
    {
        QTest::addColumn<QString>("department");
        QTest::addColumn<QString>("position");
        QTest::addColumn<QString>("committee");
        QTest::addColumn<QString>("text");
        QTest::newRow("all found, titles trimmed") << " 1 "
                                                   << "7"
                                                   << "105"
                                                   << "Secretary, Chairman";
        QTest::newRow("committee missing") << "1"
                                           << "7"
                                           << "106"
                                           << "";
        QTest::newRow("department missing") << "9"
                                            << "7"
                                            << "105"
                                            << "";
        QTest::newRow("position missing") << "1"
                                          << "8"
                                          << "105"
                                          << "";
        QTest::newRow("quote in a code") << "1"
                                         << "7"
                                         << "1'5"
                                         << "";
    }
    void assignmentText()
    {
        QFETCH(QString, department);
        QFETCH(QString, position);
        QFETCH(QString, committee);
        QFETCH(QString, text);
        HostFixture fx;
        HostCase::prepare(fx);
        HostCase::Writer w(fx.primaryPath());
        standardHost(w);
        w.done();
        Session session;
        QVERIFY(HostCase::openHost(fx, session));
        const Recordset row = Recordset::fromRows({"Mem_ID", "Department", "Position", "Committee"},
                                                  {{"1", department, position, committee}});
        QCOMPARE(FindJob(session.host.HostDB, row), text);
        // A row without the code fields gives no text.
        const Recordset members = Recordset::fromRows({"Mem_ID"}, {{"1"}});
        QCOMPARE(FindJob(session.host.HostDB, members), QString());
    }

    void hostLackingTablesCountsAsNotFound_data()
    {
        QTest::addColumn<QString>("table");
        QTest::newRow("MemberCom") << "MemberCom";
        QTest::newRow("Members") << "Members";
        QTest::newRow("commdept") << "commdept";
        QTest::newRow("CommDesc") << "CommDesc";
        QTest::newRow("CommPos") << "CommPos";
    }
    void hostLackingTablesCountsAsNotFound()
    {
        QFETCH(QString, table);
        HostFixture fx;
        HostCase::prepare(fx);
        HostCase::Writer w(fx.primaryPath());
        standardHost(w);
        w.committee(1, "7", "7", "703");
        w.committee(2, "1", "7", "105", "D");
        w.exec("DROP TABLE " + table);
        w.done();
        Session session;
        HostCase::openHost(fx, session);
        ReportModel& m = session.model;
        HostCase::setOfficers(m, officerList());
        m.RecLast[1][1] = "Kept";
        const bool noAssignments = table == "MemberCom" || table == "Members";
        const int written = OfficersFromHost(session);
        const HistorianOutcome out = FindHistorian(session);
        const bool refilled = FindDNOffices(session, "D");
        if (noAssignments) {
            QCOMPARE(written, 0);
            QVERIFY(!out.found);
            QCOMPARE(m.SubOLast, QString());
            QCOMPARE(m.RecLast[1][1], table == "MemberCom" ? QStringLiteral("Kept") : QString());
            QCOMPARE(refilled, table == "Members");
        } else {
            QCOMPARE(written, 1);
            QVERIFY(out.found);
            QVERIFY(refilled);
            QCOMPARE(entry(m, 1, 1), QStringLiteral("1000002|Baker|Bo|Cdr|N||1")); // no title: no text
        }
    }
};

QTEST_GUILESS_MAIN(TestLookups)
#include "tst_lookups.moc"

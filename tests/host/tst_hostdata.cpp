// Host data refresh, the squadron identity, the member list, host texts, and host queries that fail.

#include "HostCase.h"

#include "app/Startup.h"
#include "host/FillFromHost.h"
#include "host/MemberStats.h"

#include <QDir>
#include <QTest>

class TestHostData : public QObject
{
    Q_OBJECT

private:
    // A new host, started up; with one member and the watch year Sep 1, 2019 .. Aug 31, 2020 if `watchYear`.
    static bool startUp(HostFixture& host, Session& session, bool watchYear = false)
    {
        host.writeSettings();
        host.createDatabases();
        if (watchYear) {
            host.addMember({1, "Abel", "Amy"});
            std::tie(session.model.FromDate, session.model.ToDate) = std::tuple("Sep 1, 2019", "Aug 31, 2020");
        }
        ScriptedPrompt prompt;
        return Startup::Main(session, host.commandLine(), prompt).kind == Startup::Outcome::Kind::Ready;
    }

private Q_SLOTS:
    // An empty member table leaves the list as it was; a refresh sees the members added since. Host texts lose
    // leading and trailing blanks only: a tab at either end is the text's own.
    void memberList()
    {
        HostFixture host;
        Session session;
        QVERIFY(startUp(host, session));
        QList<qint32> ids{0, 5};
        QStringList entries{"kept"};
        FillMemberList(session, ids, entries);
        QVERIFY(entries == QStringList{"kept"} && ids == QList<qint32>({0, 5}));

        host.addMember({.id = 31, .last = " Baker\t", .first = " Ann ", .memTypeStat = "\tAC"});
        host.addMember({.id = 7, .last = "Abel", .first = "Amy", .memTypeStat = " AC "});
        host.addMember({.id = 12, .last = "abel", .first = "Zed", .squadron = 101});
        host.execPrimary("INSERT INTO MemberCom VALUES (31, '7', '7', '703', 'S', 0)");
        ScriptedPrompt prompt;
        QVERIFY(RefreshHostData(session, false, prompt));
        FillMemberList(session, ids, entries);
        // Sorted as stored, letter case ignored (the stored leading blank sorts first).
        QCOMPARE(entries, (QStringList{"Baker\t, Ann", "Abel, Amy", "abel, Zed"}));
        QCOMPARE(ids, (QList<qint32>{0, 31, 7, 12}));
        QCOMPARE(FindActMem(session), 2); // a tab before "AC" is no active member
        ReportModel& m = session.model;
        HostCase::setOfficers(m, {{"Historian", "7703"}});
        QVERIFY(FindHistorian(session).found);
        QCOMPARE(m.SubOLast + '|' + m.SubOFirst + '|' + m.officer(1).Last, QStringLiteral("Baker\t|Ann|Baker\t"));

        // A district's list shows each member's squadron code, when the squadron is one of the district's.
        host.execPrimary("UPDATE HomeSquad SET Home_Name = 'District'");
        host.execSquadrons("INSERT INTO AllSquadrons VALUES (101, ' HC ', 'Harbor City', 5)");
        host.execSquadrons("INSERT INTO AllSquadrons VALUES (102, 'LK', 'Lake', 6)"); // another district
        host.execPrimary("UPDATE Members SET Squadron = 102 WHERE Mem_ID = 7");
        QVERIFY(RefreshHostData(session, false, prompt));
        FillMemberList(session, ids, entries);
        QCOMPARE(entries, (QStringList{"Baker\t, Ann", "Abel, Amy", "abel, Zed  (HC)"}));
    }

    // A refresh reads the identity again and says so (the number as four digits at least); one that fails says why
    // instead and keeps the identity.
    void refresh()
    {
        HostFixture host;
        Session session;
        QVERIFY(startUp(host, session));
        host.execPrimary("UPDATE HomeSquad SET Home_No = 42");
        ScriptedPrompt prompt;
        QVERIFY(RefreshHostData(session, true, prompt));
        QCOMPARE(session.model.SquadronNoText, QStringLiteral("0042"));
        QCOMPARE(SquadronNoText(7) + SquadronNoText(12345), QStringLiteral("000712345"));
        QCOMPARE(MemberFullName("Baker", "Ann", "", ""), QStringLiteral(" Ann Baker"));
        QVERIFY(prompt.shown.size() == 1 && prompt.told(Prompt::Icon::Information, {}));
        QCOMPARE(prompt.shown[0].text,
                 QStringLiteral("Data tables and variables derived from Rostrel have been refreshed\n"
                                "If changes made in Rostrel affect member's data, they must be reentered\n"
                                "in the appropriate grid for the changes to become effective."));
        const QString failed = "Data tables and variables derived from Rostrel could not be refreshed:\n";
        host.execPrimary("DROP TABLE MemberCom");
        QVERIFY(!RefreshHostData(session, true, prompt));
        QVERIFY(prompt.told(Prompt::Icon::Warning, {failed + "no such table: MemberCom"}));
        QVERIFY(QFile::rename(host.primaryPath(), host.primaryPath() + ".gone"));
        QVERIFY(!RefreshHostData(session, true, prompt));
        QVERIFY(!RefreshHostData(session, false, prompt)); // start-up: only the caller is told
        QCOMPARE(prompt.shown.size(), 3);
        QVERIFY(prompt.told(Prompt::Icon::Warning,
                            {failed + QDir::toNativeSeparators(host.primaryPath()) + ": the file does not exist"}));
        QVERIFY(!session.host.HostDB.isOpen() && !session.host.MembersRS.isOpen());
        QCOMPARE(session.model.SquadronNoText, QStringLiteral("0042"));
    }

    // A count whose host query fails shows the engine's text and keeps the report's values; nothing is offered.
    void failedQueries()
    {
        HostFixture host;
        Session session;
        QVERIFY(startUp(host, session, true));
        ReportModel& m = session.model;
        ScriptedPrompt prompt;
        prompt.setDefaultAnswer(Prompt::Answer::Yes);
        std::tie(m.NoActive, m.NoMM, m.NoSenior, m.AGCount[0], m.entry(7, 1).Last) = std::tuple(10, 11, 12, 13, "Kept");
        host.execPrimary("DROP TABLE MeritMarks");
        host.execPrimary("DROP TABLE Members");
        const QList<qint32> shown = {cmdActiveClick(session, prompt).shown, cmdUpdateMMClick(session, prompt).shown,
                                     cmdNewSenClick(session, prompt).shown, cmdAGdbClick(session, 0, prompt).shown};
        QCOMPARE(shown, QList<qint32>({10, 11, 12, 13}));
        QCOMPARE(QList<qint32>({m.NoActive, m.NoMM, m.NoSenior, m.AGCount[0]}), shown);
        QCOMPARE(m.entry(7, 1).Last, QStringLiteral("Kept"));
        const QString failed = "Rostrel could not answer; the report keeps the values it had:\nno such table: ";
        QCOMPARE(prompt.texts(),
                 QStringList({failed + "Members", failed + "MeritMarks", failed + "Members", failed + "Members"}));
        QVERIFY(prompt.told(Prompt::Icon::Warning, {}));
    }
};

QTEST_GUILESS_MAIN(TestHostData)
#include "tst_hostdata.moc"

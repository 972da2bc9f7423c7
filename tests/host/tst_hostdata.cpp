// Host data refresh, the squadron identity and the member list.

#include "HostFixture.h"
#include "ScriptedPrompt.h"

#include "app/Session.h"
#include "app/Startup.h"
#include "host/HostData.h"

#include <QTest>

class TestHostData : public QObject
{
    Q_OBJECT

private:
    static bool startUp(HostFixture& host, Session& session)
    {
        ScriptedPrompt prompt;
        return Startup::Main(session, host.commandLine(), prompt).kind == Startup::Outcome::Kind::Ready;
    }

private Q_SLOTS:
    void squadronNumberText_data()
    {
        QTest::addColumn<qint64>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("7") << qint64(7) << "0007";
        QTest::newRow("123") << qint64(123) << "0123";
        QTest::newRow("4 digits") << qint64(4321) << "4321";
        QTest::newRow("5 digits") << qint64(12345) << "12345";
        QTest::newRow("0") << qint64(0) << "0000";
    }
    void squadronNumberText()
    {
        QFETCH(qint64, number);
        QFETCH(QString, text);
        QCOMPARE(SquadronNoText(number), text);
    }

    void memberFullName_data()
    {
        QTest::addColumn<QString>("rank");
        QTest::addColumn<QString>("grade");
        QTest::addColumn<QString>("name");
        QTest::newRow("all") << "Lt/C"
                             << "AP"
                             << "Lt/C Ann Baker, AP";
        QTest::newRow("no rank") << ""
                                 << "AP"
                                 << " Ann Baker, AP";
        QTest::newRow("no grade") << "Lt/C"
                                  << ""
                                  << "Lt/C Ann Baker";
        QTest::newRow("neither") << ""
                                 << ""
                                 << " Ann Baker";
    }
    void memberFullName()
    {
        QFETCH(QString, rank);
        QFETCH(QString, grade);
        QFETCH(QString, name);
        QCOMPARE(MemberFullName(QStringLiteral("Baker"), QStringLiteral("Ann"), grade, rank), name);
    }

    void memberListOfASquadron()
    {
        HostFixture host;
        host.writeSettings();
        host.createDatabases();
        host.addMember({31, " Baker ", " Ann "});
        host.addMember({12, "abel", "Zed"});
        host.addMember({7, "Abel", "Amy"});
        Session session;
        QVERIFY(startUp(host, session));
        QList<qint32> ids;
        QStringList entries;
        FillMemberList(session, ids, entries);
        // Sorted as stored, letter case ignored (the stored leading blank sorts first); shown trimmed.
        QCOMPARE(entries, (QStringList{"Baker, Ann", "Abel, Amy", "abel, Zed"}));
        QCOMPARE(ids, (QList<qint32>{0, 31, 7, 12}));
    }

    void memberListOfADistrict()
    {
        HostFixture host;
        host.writeSettings();
        host.createDatabases(QStringLiteral("District"), QStringLiteral("D5"), 0, 5);
        host.execSquadrons("INSERT INTO AllSquadrons VALUES (101, ' HC ', 'Harbor City', 5)");
        host.execSquadrons("INSERT INTO AllSquadrons VALUES (102, 'LK', 'Lake', 6)"); // another district
        HostFixture::Member a{1, "Abel", "Amy"};
        a.squadron = 101;
        HostFixture::Member b{2, "Baker", "Bo"};
        b.squadron = 102;
        HostFixture::Member c{3, "Cole", "Cy"};
        c.squadron = 999;
        host.addMember(a);
        host.addMember(b);
        host.addMember(c);
        Session session;
        QVERIFY(startUp(host, session));
        QList<qint32> ids;
        QStringList entries;
        FillMemberList(session, ids, entries);
        // Only squadrons of the district are known; a squadron missing from them shows no code.
        QCOMPARE(entries, (QStringList{"Abel, Amy  (HC)", "Baker, Bo", "Cole, Cy"}));
    }

    void emptyMembersLeavesTheList()
    {
        HostFixture host;
        host.writeSettings();
        host.createDatabases();
        Session session;
        QVERIFY(startUp(host, session));
        QList<qint32> ids{0, 5};
        QStringList entries{QStringLiteral("kept")};
        FillMemberList(session, ids, entries);
        QCOMPARE(entries, QStringList{QStringLiteral("kept")});
        QCOMPARE(ids, (QList<qint32>{0, 5}));
    }

    void refreshSeesNewHostDataAndTellsTheUser()
    {
        HostFixture host;
        host.writeSettings();
        host.createDatabases();
        host.addMember({1, "Abel", "Amy"});
        Session session;
        QVERIFY(startUp(host, session));
        QCOMPARE(session.host.MembersRS.recordCount(), 1); // the rows are read
        host.execPrimary("UPDATE Members SET Last = 'Adams' WHERE Mem_ID = 1");
        host.execPrimary("UPDATE HomeSquad SET Home_No = 42");
        QVERIFY(session.host.MembersRS.findFirst("Mem_ID = 1"));
        QCOMPARE(session.host.MembersRS.text("Last"), QStringLiteral("Abel"));

        ScriptedPrompt prompt;
        RefreshHostData(session, true, prompt);
        QVERIFY(session.host.MembersRS.findFirst("Mem_ID = 1"));
        QCOMPARE(session.host.MembersRS.text("Last"), QStringLiteral("Adams"));
        QCOMPARE(session.model.SquadronNoText, QStringLiteral("0042"));
        QCOMPARE(prompt.shown.size(), 1);
        QCOMPARE(prompt.shown[0].icon, Prompt::Icon::Information);
        QCOMPARE(prompt.shown[0].text,
                 QStringLiteral("Data tables and variables derived from Rostrel have been refreshed\n"
                                "If changes made in Rostrel affect member's data, they must be reentered\n"
                                "in the appropriate grid for the changes to become effective."));

        // A refresh that fails keeps the identity, closes the handles and still tells the user.
        QFile::rename(host.primaryPath(), host.primaryPath() + QStringLiteral(".gone"));
        RefreshHostData(session, true, prompt);
        QVERIFY(!session.host.HostDB.isOpen());
        QVERIFY(!session.host.MembersRS.isOpen());
        QVERIFY(!session.host.MembersRS.findFirst("Mem_ID = 1"));
        QCOMPARE(session.model.SquadronNoText, QStringLiteral("0042"));
        QCOMPARE(prompt.shown.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestHostData)
#include "tst_hostdata.moc"

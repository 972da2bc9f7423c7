// Start-up from the host's command line: modes, refusals, host settings, registration and the paths.

#include "HostFixture.h"
#include "ScriptedPrompt.h"

#include "app/HostSettings.h"
#include "app/Session.h"
#include "app/Startup.h"
#include "host/HostDatabase.h"

#include <QSqlQuery>
#include <QTest>

using Kind = Startup::Outcome::Kind;

class TestStartup : public QObject
{
    Q_OBJECT

private:
    static Startup::Outcome start(Session& session, const QString& commandLine)
    {
        ScriptedPrompt prompt; // start-up never shows anything
        const Startup::Outcome outcome = Startup::Main(session, commandLine, prompt);
        [&] {
            QVERIFY2(prompt.shown.isEmpty(), qPrintable(prompt.texts().join('|')));
        }();
        return outcome;
    }

    // The rows of the host table FormsAddin, "MenuName|Addinexe|ComLine|Window" each.
    static QStringList formsAddin(const HostFixture& host)
    {
        HostDatabase db;
        db.open(host.primaryPath());
        QSqlQuery q("SELECT MenuName || '|' || Addinexe || '|' || ComLine || '|' || Window FROM FormsAddin",
                    db.database());
        QStringList rows;
        while (q.next())
            rows << q.value(0).toString();
        return rows;
    }

private Q_SLOTS:
    void pieces()
    {
        QCOMPARE(Startup::joinArguments({"Rostrel,", "ABC.mdb,Sq.mdb,color"}), "Rostrel, ABC.mdb,Sq.mdb,color");
        // A digit at character 3 marks a national database; the first "D" from character 2 on, at character 3
        // and followed by a digit, a district's.
        const QList<std::pair<const char*, bool>> names = {{"XY5.mdb", false}, {"XYD5.mdb", false}, {"XYDA.mdb", true},
                                                           {"XDD5.mdb", true}, {"ABC.mdb", true},   {"AB", true},
                                                           {"XYd5.mdb", true}, {"DYx5.mdb", true}};
        for (const auto& [name, passes] : names)
            QVERIFY2(Startup::SquadronCheck(QLatin1String(name)) == passes, name);
        const QList<std::pair<const char*, bool>> mouse = {{"", false},      {"True", true},  {"true", true},
                                                           {"False", false}, {"1", true},     {"-1", true},
                                                           {"0", false},     {"maybe", false}};
        for (const auto& [text, wheel] : mouse)
            QVERIFY2(HostSettings::mouseSettingValue(QLatin1String(text)) == wheel, text);

        // Sections and keys are found whatever their letter case; an absent key gives the default.
        HostFixture host;
        host.writeSettings();
        QCOMPARE(HostSettings::read("Rostrel", "STARTUP", "primarydb"), "TST.mdb");
        QCOMPARE(HostSettings::read("Rostrel", "Startup", "Missing", "dflt"), "dflt");
    }

    // Everything the add-in works with is derived from the host; the data path may use backslashes and end in
    // a separator, and a historian address with no value gives an empty one.
    void runModeDerivesPaths()
    {
        for (const bool backslashes : {false, true}) {
            const QVariant historian = backslashes ? QVariant() : QVariant(QStringLiteral("https://example.org/r318"));
            HostFixture host;
            host.writeSettings("TST.mdb", backslashes ? "" : "-1", "a,b&c"); // the value keeps its comma
            host.createDatabases("  Harbor City ", " HC ", 123, 7, historian);
            if (backslashes)
                HostSettings::write("Rostrelv3", "Startup", "DataPath", host.dataPath().replace('/', '\\') + '\\');
            Session session;
            // Field 2 differing from PrimaryDB only in letter case passes.
            QCOMPARE(start(session, "Rostrel, tst.MDB ,Squadrons.mdb,mono").kind, Kind::Ready);
            const ReportModel& m = session.model;
            QCOMPARE(QStringList({session.SettingsApp, session.ColorMode, session.HostConnect, session.UserPW,
                                  m.SquadronName, m.SquadronCode, m.SquadronNoText, QString::number(m.DistrictNo),
                                  session.HistorianURL}),
                     QStringList({"Rostrel", "mono", ";pwd=Q84#mZr&UvL%", "a,b&c", "Harbor City", "HC", "0123", "7",
                                  historian.toString()}));
            QCOMPARE(session.MouseWheel, !backslashes);
            const QString d = host.dataDir();
            QCOMPARE(QStringList({session.DataDir, session.PrimaryDBPath, session.SquadronsDBPath,
                                  session.UploadFilePath, session.ReportDBPath, session.ReportBakPath,
                                  session.CurrentDBPath, session.CurrentBakPath, session.HelpFilePath}),
                     QStringList({d, d + "TST.mdb", d + "Squadrons.mdb", d + "R318_Upload.txt", d + "r318_HC.mdb",
                                  d + "r318_HC.bak", d + "r318_HC.mdb", d + "r318_HC.bak", d + "r318form.chm"}));
            const HostData& h = session.host;
            QVERIFY(h.HostDB.isOpen() && h.SquadronsRS.isOpen() && h.MembersRS.isOpen() && h.MemberComRS.isOpen());
        }
    }

    // Every refusal closes the host databases, changes nothing and creates no report file.
    void refusals_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("line");
        const auto row = [](const char* name, const char* setup, const char* line) {
            QTest::newRow(name) << QString::fromLatin1(setup) << QString::fromLatin1(line);
        };
        const char* usual = "Rostrel,TST.mdb,Squadrons.mdb,color";
        row("two commas", "", "Rostrel,TST.mdb,Squadrons.mdb");
        row("four commas", "", "Rostrel,TST.mdb,Squadrons.mdb,color,x");
        row("no PrimaryDB", "", "Other,TST.mdb,Squadrons.mdb,color");
        row("district database", "XYD5.mdb", "Rostrel,XYD5.mdb,Squadrons.mdb,color");
        row("other primary", "", "Rostrel,OTHER.mdb,Squadrons.mdb,color");
        row("squadrons file missing", "", "Rostrel,TST.mdb,Missing.mdb,color");
        // No data path, a primary database that is none, no url_list, no HomeSquad row.
        for (const char* setup : {"nodatapath", "garbage", "nourl", "nohome"})
            row(setup, setup, usual);
        row("registration, no settings for the application", "", "Nobody");
        row("registration, national database", "XY5.mdb", "Rostrel");
    }
    void refusals()
    {
        QFETCH(QString, setup);
        QFETCH(QString, line);
        HostFixture host;
        host.writeSettings(setup.endsWith(".mdb") ? setup : "TST.mdb", {}, "pw", setup != "nodatapath");
        host.createDatabases();
        if (setup == "nourl")
            host.execSquadrons("DROP TABLE url_list");
        if (setup == "nohome")
            host.execPrimary("DELETE FROM HomeSquad");
        QFile primary(host.primaryPath());
        QVERIFY(primary.open(QIODevice::ReadWrite));
        if (setup == "garbage")
            QVERIFY(primary.resize(0) && primary.write("this is no database at all, just some text\n") > 0);
        QVERIFY(primary.seek(0));
        const QByteArray before = primary.readAll();
        Session session;
        const Startup::Outcome outcome = start(session, line);
        QVERIFY(outcome.kind == Kind::Refused && !outcome.reason.isEmpty() && outcome.exitCode() == 1);
        QVERIFY(!session.host.HostDB.isOpen() && !session.host.SquadronsDB.isOpen());
        QVERIFY(QDir(host.dataDir()).entryList({"r318_*"}).isEmpty() && primary.seek(0));
        QCOMPARE(primary.readAll(), before);
    }

    // Registration updates the add-in's row (its file name in any letter case) or writes one, once, and leaves
    // the rows of other add-ins alone.
    void registration()
    {
        HostFixture host;
        host.writeSettings();
        host.createDatabases();
        host.execPrimary(
            "INSERT INTO FormsAddin VALUES ('Other', 'other.exe', '1', 0), ('Old', 'R318FORM.EXE', '9', 0)");
        for (const char* exe : {"R318FORM.EXE", "R318FORM.EXE", "r318form.exe"}) {
            if (exe[0] == 'r') // the next start finds no row of its own
                host.execPrimary("DELETE FROM FormsAddin WHERE Addinexe = 'R318FORM.EXE'");
            Session session;
            QCOMPARE(start(session, "  Rostrel ").kind, Kind::Registered);
            QVERIFY(!session.host.HostDB.isOpen());
            QCOMPARE(formsAddin(host),
                     QStringList({"Other|other.exe|1|0", QStringLiteral("Historian Form|%1|2,4,18,22|1").arg(exe)}));
        }
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"

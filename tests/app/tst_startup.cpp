// Start-up from the host's command line: modes, refusals, host settings, registration and the paths.

#include "HostFixture.h"
#include "ScriptedPrompt.h"

#include "app/HostSettings.h"
#include "app/Session.h"
#include "app/Startup.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

using Kind = Startup::Outcome::Kind;

class TestStartup : public QObject
{
    Q_OBJECT

private:
    static Startup::Outcome start(Session& session, const QString& commandLine)
    {
        ScriptedPrompt prompt;
        const Startup::Outcome outcome = Startup::Main(session, commandLine, prompt);
        if (outcome.kind == Kind::Refused)
            session.host.closeAll();
        // Start-up never shows anything.
        [&] {
            QVERIFY2(prompt.shown.isEmpty(), qPrintable(prompt.texts().join(QLatin1Char('|'))));
        }();
        return outcome;
    }

    static int formsAddinRows(const HostFixture& host, QString* comLine = nullptr)
    {
        int rows = 0;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("count"));
            db.setDatabaseName(host.primaryPath());
            db.open();
            QSqlQuery q(QStringLiteral("SELECT MenuName, Addinexe, ComLine, Window FROM FormsAddin"), db);
            while (q.next()) {
                ++rows;
                if (comLine)
                    *comLine = q.value(0).toString() + QLatin1Char('|') + q.value(1).toString() + QLatin1Char('|') +
                               q.value(2).toString() + QLatin1Char('|') + q.value(3).toString();
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("count"));
        return rows;
    }

private Q_SLOTS:
    void commandLineFields_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("commas");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("four fields trimmed")
            << " Rostrel , ABC.mdb,Sq.mdb ,  mono " << 3 << QStringList{"Rostrel", "ABC.mdb", "Sq.mdb", "mono"};
        QTest::newRow("empty fields") << ",,," << 3 << QStringList{"", "", "", ""};
        QTest::newRow("no comma") << "  Rostrel  " << 0 << QStringList{"Rostrel"};
        QTest::newRow("two commas") << "a,b,c" << 2 << QStringList{"a", "b", "c"};
    }
    void commandLineFields()
    {
        QFETCH(QString, line);
        QFETCH(int, commas);
        QFETCH(QStringList, fields);
        const auto parsed = Startup::CommandLine::parse(line);
        QCOMPARE(parsed.commas, commas);
        QCOMPARE(parsed.fields, fields);
        QCOMPARE(Startup::joinArguments({"Rostrel,", "ABC.mdb,Sq.mdb,color"}),
                 QStringLiteral("Rostrel, ABC.mdb,Sq.mdb,color"));
    }

    void squadronCheck_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("passes");
        QTest::newRow("XY5") << "XY5.mdb" << false;
        QTest::newRow("XYD5") << "XYD5.mdb" << false;
        QTest::newRow("XYDA") << "XYDA.mdb" << true;
        QTest::newRow("XDD5") << "XDD5.mdb" << true;
        QTest::newRow("plain") << "ABC.mdb" << true;
        QTest::newRow("short") << "AB" << true;
        QTest::newRow("lower d") << "XYd5.mdb" << true;
        QTest::newRow("D at 1") << "DYx5.mdb" << true;
    }
    void squadronCheck()
    {
        QFETCH(QString, name);
        QFETCH(bool, passes);
        QCOMPARE(Startup::SquadronCheck(name), passes);
    }

    void settingsDefaultsAndMouse_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<bool>("wheel");
        QTest::newRow("absent") << QString() << false;
        QTest::newRow("True") << "True" << true;
        QTest::newRow("true") << "true" << true;
        QTest::newRow("False") << "False" << false;
        QTest::newRow("1") << "1" << true;
        QTest::newRow("-1") << "-1" << true;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("junk") << "maybe" << false;
    }
    void settingsDefaultsAndMouse()
    {
        QFETCH(QString, written);
        QFETCH(bool, wheel);
        HostFixture host;
        host.writeSettings(QStringLiteral("TST.mdb"), written);
        host.createDatabases();
        Session session;
        QCOMPARE(start(session, host.commandLine()).kind, Kind::Ready);
        QCOMPARE(session.MouseWheel, wheel);
        QCOMPARE(session.UserPW, QStringLiteral("secret"));
        QCOMPARE(HostSettings::read(QStringLiteral("Rostrel"), QStringLiteral("Startup"), QStringLiteral("Missing"),
                                    QStringLiteral("dflt")),
                 QStringLiteral("dflt"));
        QCOMPARE(HostSettings::read(QStringLiteral("Rostrel"), QStringLiteral("STARTUP"), QStringLiteral("primarydb")),
                 QStringLiteral("TST.mdb"));
    }

    void settingWithCommasKeepsItsText()
    {
        HostFixture host;
        HostSettings::write(QStringLiteral("Rostrel"), QStringLiteral("TST"), QStringLiteral("UserPW"),
                            QStringLiteral("a,b&c"));
        QCOMPARE(HostSettings::read(QStringLiteral("Rostrel"), QStringLiteral("TST"), QStringLiteral("UserPW")),
                 QStringLiteral("a,b&c"));
    }

    void runModeDerivesPaths()
    {
        HostFixture host;
        host.writeSettings();
        host.createDatabases(QStringLiteral("  Harbor City "), QStringLiteral(" HC "), 123, 7);
        Session session;
        // Field 2 differing from PrimaryDB only in letter case passes.
        QCOMPARE(start(session, QStringLiteral("Rostrel, tst.MDB ,Squadrons.mdb,mono")).kind, Kind::Ready);
        QCOMPARE(session.SettingsApp, QStringLiteral("Rostrel"));
        QCOMPARE(session.ColorMode, QStringLiteral("mono"));
        QCOMPARE(session.HostConnect, QStringLiteral(";pwd=Q84#mZr&UvL%"));
        QCOMPARE(session.DataDir, host.dataDir());
        QCOMPARE(session.PrimaryDBPath, host.primaryPath());
        QCOMPARE(session.SquadronsDBPath, host.squadronsPath());
        QCOMPARE(session.UploadFilePath, host.dataDir() + QStringLiteral("R318_Upload.txt"));
        QCOMPARE(session.model.SquadronName, QStringLiteral("Harbor City"));
        QCOMPARE(session.model.SquadronCode, QStringLiteral("HC"));
        QCOMPARE(session.model.SquadronNoText, QStringLiteral("0123"));
        QCOMPARE(session.model.DistrictNo, 7);
        QCOMPARE(session.ReportDBPath, host.dataDir() + QStringLiteral("r318_HC.mdb"));
        QCOMPARE(session.ReportBakPath, host.dataDir() + QStringLiteral("r318_HC.bak"));
        QCOMPARE(session.CurrentDBPath, session.ReportDBPath);
        QCOMPARE(session.CurrentBakPath, session.ReportBakPath);
        QCOMPARE(session.HistorianURL, QStringLiteral("https://example.org/r318"));
        QCOMPARE(session.HelpFilePath, host.dataDir() + QStringLiteral("r318form.chm"));
        QVERIFY(session.host.HostDB.isOpen());
        QVERIFY(session.host.MembersRS.isOpen());
        QVERIFY(session.host.MemberComRS.isOpen());
        QVERIFY(session.host.SquadronsRS.isOpen());
    }

    void dataPathWithBackslashesAndTrailingSeparator()
    {
        HostFixture host;
        host.writeSettings();
        host.createDatabases();
        HostSettings::write(QStringLiteral("Rostrelv3"), QStringLiteral("Startup"), QStringLiteral("DataPath"),
                            host.dataPath() + QStringLiteral("/"));
        Session session;
        QCOMPARE(start(session, host.commandLine()).kind, Kind::Ready);
        QCOMPARE(session.DataDir, host.dataDir());
    }

    void nullHistorianGivesEmptyAddress()
    {
        HostFixture host;
        host.writeSettings();
        host.createDatabases(QStringLiteral("Test"), QStringLiteral("TST"), 7, 5, QVariant());
        Session session;
        QCOMPARE(start(session, host.commandLine()).kind, Kind::Ready);
        QVERIFY(session.HistorianURL.isEmpty());
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("line");
        QTest::newRow("two commas") << ""
                                    << "Rostrel,TST.mdb,Squadrons.mdb";
        QTest::newRow("four commas") << ""
                                     << "Rostrel,TST.mdb,Squadrons.mdb,color,x";
        QTest::newRow("no PrimaryDB") << "noprimary"
                                      << "Other,TST.mdb,Squadrons.mdb,color";
        QTest::newRow("PrimaryDB without a dot") << "nodot"
                                                 << "Rostrel,TST,Squadrons.mdb,color";
        QTest::newRow("district database") << "district"
                                           << "Rostrel,XYD5.mdb,Squadrons.mdb,color";
        QTest::newRow("other primary") << ""
                                       << "Rostrel,OTHER.mdb,Squadrons.mdb,color";
        QTest::newRow("no data path") << "nodatapath"
                                      << "Rostrel,TST.mdb,Squadrons.mdb,color";
        QTest::newRow("squadrons file missing") << ""
                                                << "Rostrel,TST.mdb,Missing.mdb,color";
        QTest::newRow("primary not a database") << "garbage"
                                                << "Rostrel,TST.mdb,Squadrons.mdb,color";
        QTest::newRow("no url_list") << "nourl"
                                     << "Rostrel,TST.mdb,Squadrons.mdb,color";
        QTest::newRow("no HomeSquad row") << "nohome"
                                          << "Rostrel,TST.mdb,Squadrons.mdb,color";
    }
    void refusals()
    {
        QFETCH(QString, setup);
        QFETCH(QString, line);
        HostFixture host;
        if (setup == QLatin1String("nodot"))
            host.writeSettings(QStringLiteral("TST"));
        else if (setup == QLatin1String("district"))
            host.writeSettings(QStringLiteral("XYD5.mdb"));
        else if (setup == QLatin1String("nodatapath"))
            host.writeSettings(QStringLiteral("TST.mdb"), {}, QStringLiteral("pw"), false);
        else if (setup != QLatin1String("noprimary"))
            host.writeSettings();
        host.createDatabases();
        if (setup == QLatin1String("garbage")) {
            QFile f(host.primaryPath());
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write("this is no database at all, just some text\n");
        } else if (setup == QLatin1String("nourl")) {
            host.execSquadrons(QStringLiteral("DROP TABLE url_list"));
        } else if (setup == QLatin1String("nohome")) {
            host.execPrimary(QStringLiteral("DELETE FROM HomeSquad"));
        }
        const QByteArray before = [&] {
            QFile f(host.primaryPath());
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        Session session;
        const Startup::Outcome outcome = start(session, line);
        QCOMPARE(outcome.kind, Kind::Refused);
        QVERIFY(!outcome.reason.isEmpty());
        QCOMPARE(outcome.exitCode(), 1);
        QVERIFY(!session.host.HostDB.isOpen());
        QVERIFY(!session.host.SquadronsDB.isOpen());
        // A refusal changes nothing and creates no report file.
        QVERIFY(QDir(host.dataDir()).entryList({QStringLiteral("r318_*")}).isEmpty());
        QFile f(host.primaryPath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
    }

    void registrationTwiceGivesOneRow()
    {
        HostFixture host;
        host.writeSettings();
        host.createDatabases();
        host.execPrimary(QStringLiteral("INSERT INTO FormsAddin VALUES ('Other', 'other.exe', '1', 0)"));
        for (int run = 0; run < 2; ++run) {
            Session session;
            QCOMPARE(start(session, QStringLiteral("  Rostrel ")).kind, Kind::Registered);
            QVERIFY(!session.host.HostDB.isOpen());
        }
        QCOMPARE(formsAddinRows(host), 2);
        host.execPrimary(QStringLiteral("DELETE FROM FormsAddin WHERE Addinexe = 'other.exe'"));
        QString row;
        QCOMPARE(formsAddinRows(host, &row), 1);
        QCOMPARE(row, QStringLiteral("Historian Form|r318form.exe|2,4,18,22|1"));
    }

    void registrationUpdatesAStaleRow()
    {
        HostFixture host;
        host.writeSettings();
        host.createDatabases();
        host.execPrimary(QStringLiteral("INSERT INTO FormsAddin VALUES ('Old name', 'R318FORM.EXE', '9', 0)"));
        Session session;
        QCOMPARE(start(session, QStringLiteral("Rostrel")).kind, Kind::Registered);
        QString row;
        QCOMPARE(formsAddinRows(host, &row), 1);
        QCOMPARE(row, QStringLiteral("Historian Form|R318FORM.EXE|2,4,18,22|1"));
    }

    void registrationRefusals_data()
    {
        QTest::addColumn<QString>("app");
        QTest::addColumn<QString>("primary");
        QTest::newRow("no settings for the application") << "Nobody"
                                                         << "TST.mdb";
        QTest::newRow("national database") << "Rostrel"
                                           << "XY5.mdb";
    }
    void registrationRefusals()
    {
        QFETCH(QString, app);
        QFETCH(QString, primary);
        HostFixture host;
        host.writeSettings(primary);
        Session session;
        QCOMPARE(start(session, app).kind, Kind::Refused);
    }

    // The add-in itself: a refused start ends at once with a reason on stderr and no window.
    void addInRefusesWithoutWindow()
    {
        const QString gui = qEnvironmentVariable("R318_GUI");
        if (gui.isEmpty())
            QSKIP("R318_GUI is not set");
        HostFixture host;
        host.writeSettings();
        host.createDatabases();
        QProcess p;
        p.start(gui, {QStringLiteral("Rostrel,TST.mdb,Squadrons.mdb")});
        QVERIFY(p.waitForFinished(20000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(p.readAllStandardError().contains("fields"));

        // Arguments are joined with one blank: no comma means registration.
        QProcess reg;
        reg.start(gui, {QStringLiteral("Rostrel")});
        QVERIFY(reg.waitForFinished(20000));
        QCOMPARE(reg.exitCode(), 0);
        QCOMPARE(formsAddinRows(host), 1);
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"

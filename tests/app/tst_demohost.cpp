// The demo host: made the same way every time, complete for the add-in's host contract, and a host the
// add-in starts on with officers, assignments and a watch year's worth of data to find.

#include "ScriptedPrompt.h"

#include "demo/DemoHost.h"
#include "app/Session.h"
#include "app/Startup.h"
#include "host/HostData.h"
#include "host/HostDatabase.h"
#include "host/Recordset.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using Kind = Startup::Outcome::Kind;

namespace {

QString readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("<cannot read %1>").arg(path);
    return QString::fromUtf8(file.readAll());
}

// Every table of a database with its statement and its rows in stored order, as one text.
QString dumpDatabase(const QString& path)
{
    HostDatabase db;
    if (!db.open(path))
        return QStringLiteral("<cannot open %1: %2>").arg(path, db.error());
    QString dump;
    QSqlQuery tables(db.database());
    tables.exec(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'table' ORDER BY name"));
    while (tables.next()) {
        dump += tables.value(1).toString() + QLatin1Char('\n');
        QSqlQuery rows(db.database());
        rows.exec(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(tables.value(0).toString()));
        while (rows.next()) {
            QStringList cells;
            for (int c = 0; c < rows.record().count(); ++c)
                cells << (rows.value(c).isNull() ? QStringLiteral("\\N") : rows.value(c).toString());
            dump += cells.join(QLatin1Char('|')) + QLatin1Char('\n');
        }
    }
    return dump;
}

QString settingsFile(const QString& dir, const QString& app)
{
    return DemoHost::configDir(dir) + QStringLiteral("/VB and VBA Program Settings/") + app + QStringLiteral(".conf");
}

// The distinct host codes of the squadron's officer list.
const QStringList kCatalogueCodes = {
    "1701", "1702", "1703", "1704", "1705", "1706", "5700", "7700", "8700", "6700", "2003", "2303", "2001",
    "2401", "2501", "2300", "2002", "2402", "2502", "2302", "3702", "3704", "3701", "4003", "2006", "3710",
    "3003", "3700", "4005", "4001", "4004", "4006", "4002", "6004", "6005", "6001", "6728", "6006", "4009",
    "7002", "7703", "7017", "7001", "7011", "8001", "2004", "8005", "6003", "4000", "2005", "6008", "6010",
    "7007", "7008", "8006", "5003", "5005", "5031", "5006", "5007", "5032", "5008", "5033", "5009", "5034",
    "5011", "5013", "5035", "5012", "5014", "5017", "5015", "5740", "5016", "5022"};

const QStringList kCourseFields = {"GH_S",    "GH_P", "GH_AP",  "GH_JN", "GH_N",  "GH_EM", "GH_ME",
                                   "GH_SAIL", "GH_W", "ID_001", "GH_CP", "GH_OT", "LDP"};

// The MemberCom criteria of an office code: department = 1st character, position = 2nd, committee = the
// 1st followed by the 3rd on.
QString officeCriteria(const QString& code)
{
    return QStringLiteral("Department = '%1' AND Position = '%2' AND Committee = '%3' AND SDN = 'S'")
        .arg(code.left(1), code.mid(1, 1), code.left(1) + code.mid(2));
}

int count(const HostDatabase& db, const QString& statement, const QVariantList& params = {})
{
    Recordset rs = Recordset::open(db, statement, params);
    return rs.isOpen() ? rs.recordCount() : -1;
}

} // namespace

class TestDemoHost : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_tmp;
    QString m_demo;
    QByteArray m_oldConfig;
    bool m_hadConfig = false;

    // Starts the add-in on the demo host as the host does; the session is ready or the test has failed.
    bool start(Session& session)
    {
        ScriptedPrompt prompt;
        const Startup::Outcome outcome = Startup::Main(session, DemoHost::hostLine(), prompt);
        if (outcome.kind != Kind::Ready) {
            qWarning("start-up refused: %s", qPrintable(outcome.reason));
            return false;
        }
        if (!prompt.shown.isEmpty()) {
            qWarning("start-up showed: %s", qPrintable(prompt.texts().join(QLatin1Char('|'))));
            return false;
        }
        return true;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        m_demo = m_tmp.filePath(QStringLiteral("demo"));
        QString error;
        QVERIFY2(CreateDemoHost(m_demo, &error), qPrintable(error));
        m_hadConfig = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        m_oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(DemoHost::configDir(m_demo)));
    }

    void cleanupTestCase()
    {
        if (m_hadConfig)
            qputenv("XDG_CONFIG_HOME", m_oldConfig);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }

    // ---- making the demo ------------------------------------------------------------------------------

    void deterministic()
    {
        QTemporaryDir tmp;
        const QString a = tmp.filePath(QStringLiteral("first"));
        const QString b = tmp.filePath(QStringLiteral("second"));
        QString error;
        QVERIFY2(CreateDemoHost(a, &error), qPrintable(error));
        QVERIFY2(CreateDemoHost(b, &error), qPrintable(error));
        for (const char* file : {DemoHost::kPrimaryDb, DemoHost::kSquadronsDb}) {
            const QString dumpA = dumpDatabase(DemoHost::dataDir(a) + QLatin1String(file));
            const QString dumpB = dumpDatabase(DemoHost::dataDir(b) + QLatin1String(file));
            QVERIFY2(!dumpA.startsWith(QLatin1Char('<')), qPrintable(dumpA));
            QCOMPARE(dumpA, dumpB);
        }
        const QString members = dumpDatabase(DemoHost::dataDir(a) + QLatin1String(DemoHost::kPrimaryDb));
        QVERIFY(members.count(QStringLiteral("|143|")) > 250);
        // Settings and the shell file differ only by the folder they name.
        for (const QString& app : {QStringLiteral("Rostrel"), QStringLiteral("Rostrelv3")}) {
            QString textB = readAll(settingsFile(b, app));
            textB.replace(QFileInfo(b).absoluteFilePath(), QFileInfo(a).absoluteFilePath());
            QCOMPARE(readAll(settingsFile(a, app)), textB);
        }
        QString envB = readAll(DemoHost::envFilePath(b));
        envB.replace(QFileInfo(b).absoluteFilePath(), QFileInfo(a).absoluteFilePath());
        QCOMPARE(readAll(DemoHost::envFilePath(a)), envB);
    }

    void refusesToOverwrite()
    {
        QTemporaryDir tmp;
        const QString dir = tmp.filePath(QStringLiteral("demo"));
        QString error;
        QVERIFY2(CreateDemoHost(dir, &error), qPrintable(error));
        const QString primary = DemoHost::dataDir(dir) + QLatin1String(DemoHost::kPrimaryDb);
        const QString before = dumpDatabase(primary);
        QVERIFY(!CreateDemoHost(dir, &error));
        QVERIFY2(error.contains(QLatin1String("already exists")), qPrintable(error));
        QCOMPARE(dumpDatabase(primary), before);

        // A folder holding something else is not taken over, and nothing is added to it.
        const QString busy = tmp.filePath(QStringLiteral("busy"));
        QVERIFY(QDir().mkpath(busy));
        QFile stray(busy + QStringLiteral("/notes.txt"));
        QVERIFY(stray.open(QIODevice::WriteOnly));
        stray.close();
        error.clear();
        QVERIFY(!CreateDemoHost(busy, &error));
        QVERIFY2(error.contains(QLatin1String("not empty")), qPrintable(error));
        QCOMPARE(QDir(busy).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("notes.txt")});

        // A file is no folder; an empty folder is fine.
        error.clear();
        QVERIFY(!CreateDemoHost(stray.fileName(), &error));
        QVERIFY(!error.isEmpty());
        const QString empty = tmp.filePath(QStringLiteral("empty"));
        QVERIFY(QDir().mkpath(empty));
        QVERIFY2(CreateDemoHost(empty, &error), qPrintable(error));
        QVERIFY(DemoHost::exists(empty));
    }

    void commandLineTool()
    {
        const QString cli = qEnvironmentVariable("R318_CLI");
        if (cli.isEmpty() || !QFileInfo(cli).isExecutable())
            QSKIP("R318_CLI does not name the command-line tool");
        QTemporaryDir tmp;
        const QString dir = tmp.filePath(QStringLiteral("demo"));
        QProcess p;
        p.start(cli, {QStringLiteral("demo"), dir});
        QVERIFY(p.waitForFinished(60000));
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(p.exitCode() == 0, qPrintable(QString::fromUtf8(p.readAllStandardError())));
        QVERIFY2(out.contains(DemoHost::hostLine()), qPrintable(out));
        QVERIFY2(out.contains(QStringLiteral("XDG_CONFIG_HOME=") + DemoHost::shellQuoted(DemoHost::configDir(dir))),
                 qPrintable(out));
        QVERIFY(DemoHost::exists(dir));

        p.start(cli, {QStringLiteral("demo"), dir});
        QVERIFY(p.waitForFinished(60000));
        QVERIFY(p.exitCode() != 0);
        QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains(QLatin1String("already exists")));

        p.start(cli, {QStringLiteral("demo")});
        QVERIFY(p.waitForFinished(60000));
        QVERIFY(p.exitCode() != 0);
        QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains(QLatin1String("usage")));
    }

    void envFileSetsTheHostUp()
    {
#ifdef Q_OS_WIN
        QSKIP("the shell file is for bash");
#endif
        const QString bash = QStandardPaths::findExecutable(QStringLiteral("bash"));
        if (bash.isEmpty())
            QSKIP("no bash");
        QTemporaryDir tmp;
        const QString dir = tmp.filePath(QStringLiteral("Dan's demo $HOME"));
        QString error;
        QVERIFY2(CreateDemoHost(dir, &error), qPrintable(error));
        QProcess p;
        p.start(bash, {QStringLiteral("-c"),
                       QStringLiteral("source \"$1\" && printf '%s\\n%s' \"$XDG_CONFIG_HOME\" "
                                      "\"$R318_HOST_LINE\""),
                       QStringLiteral("bash"), DemoHost::envFilePath(dir)});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()),
                 DemoHost::configDir(dir) + QLatin1Char('\n') + QStringLiteral("Rostrel,ASQ.mdb,Squadrons.mdb,color"));
    }

    // ---- the host contract ----------------------------------------------------------------------------

    void hostContract_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<bool>("filled");
        const QString primary = QLatin1String(DemoHost::kPrimaryDb);
        const QString squadrons = QLatin1String(DemoHost::kSquadronsDb);
        QTest::newRow("HomeSquad") << primary << "HomeSquad"
                                   << QStringList{"Home_Name", "Home_Code", "Home_No", "Home_Dist"} << true;
        QTest::newRow("Members") << primary << "Members"
                                 << QStringList{"Mem_ID",      "Squadron",    "Cert",      "Last",    "First",
                                                "Grade",       "Rank",        "SquadRank", "Address", "Address2",
                                                "City",        "State",       "ZIP",       "Phone",   "Email",
                                                "MemTypeStat", "OtherMember", "GH_Senior", "GH_S",    "GH_P",
                                                "GH_AP",       "GH_JN",       "GH_N",      "GH_EM",   "GH_ME",
                                                "GH_SAIL",     "GH_W",        "ID_001",    "GH_CP",   "GH_OT",
                                                "LDP"}
                                 << true;
        QTest::newRow("MemberCom") << primary << "MemberCom"
                                   << QStringList{"Mem_ID", "Department", "Position", "Committee", "SDN", "NewOD"}
                                   << true;
        QTest::newRow("commdept") << primary << "commdept" << QStringList{"Dep_Code", "Dep_Title"} << true;
        QTest::newRow("CommDesc") << primary << "CommDesc" << QStringList{"Com_Code", "Com_Title"} << true;
        QTest::newRow("CommPos") << primary << "CommPos" << QStringList{"Pos_Code", "Pos_Title"} << true;
        QTest::newRow("MeritMarks") << primary << "MeritMarks" << QStringList{"Mem_ID", "MM_Year", "MM_Prec"} << true;
        QTest::newRow("FormsAddin") << primary << "FormsAddin"
                                    << QStringList{"MenuName", "Addinexe", "ComLine", "Window"} << false;
        QTest::newRow("AllSquadrons") << squadrons << "AllSquadrons"
                                      << QStringList{"Squad_No", "Squad_Code", "Squad_District"} << true;
        QTest::newRow("url_list") << squadrons << "url_list" << QStringList{"historian"} << true;
    }

    void hostContract()
    {
        QFETCH(QString, file);
        QFETCH(QString, table);
        QFETCH(QStringList, fields);
        QFETCH(bool, filled);
        HostDatabase db;
        QVERIFY2(db.open(DemoHost::dataDir(m_demo) + file), qPrintable(db.error()));
        QSet<QString> columns;
        QSqlQuery info(db.database());
        QVERIFY(info.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table)));
        while (info.next())
            columns.insert(info.value(1).toString().toCaseFolded());
        for (const QString& field : fields)
            QVERIFY2(columns.contains(field.toCaseFolded()), qPrintable(table + QLatin1Char('.') + field));
        Recordset rs = Recordset::open(db, QStringLiteral("SELECT * FROM ") + table);
        QVERIFY2(rs.isOpen(), qPrintable(rs.error()));
        QCOMPARE(rs.recordCount() > 0, filled);
    }

    // Every text fits the size its field declares (the certificate number into 7 characters and so on).
    void valuesFitTheirFields()
    {
        for (const char* file : {DemoHost::kPrimaryDb, DemoHost::kSquadronsDb}) {
            HostDatabase db;
            QVERIFY2(db.open(DemoHost::dataDir(m_demo) + QLatin1String(file)), qPrintable(db.error()));
            QSqlQuery tables(db.database());
            QVERIFY(tables.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'")));
            int checked = 0;
            while (tables.next()) {
                const QString table = tables.value(0).toString();
                QSqlQuery info(db.database());
                QVERIFY(info.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table)));
                static const QRegularExpression varchar(QStringLiteral(R"(VARCHAR\((\d+)\))"),
                                                        QRegularExpression::CaseInsensitiveOption);
                while (info.next()) {
                    const QRegularExpressionMatch m = varchar.match(info.value(2).toString());
                    if (!m.hasMatch())
                        continue;
                    const QString column = info.value(1).toString();
                    QSqlQuery longest(db.database());
                    QVERIFY(longest.exec(QStringLiteral("SELECT max(length(\"%1\")) FROM \"%2\"").arg(column, table)));
                    QVERIFY(longest.next());
                    QVERIFY2(
                        longest.value(0).toInt() <= m.captured(1).toInt(),
                        qPrintable(
                            QStringLiteral("%1.%2: %3 characters").arg(table, column).arg(longest.value(0).toInt())));
                    ++checked;
                }
            }
            QVERIFY(checked >= 4);
        }
    }

    void membersAreWellFormed()
    {
        HostDatabase db;
        QVERIFY(db.open(DemoHost::dataDir(m_demo) + QLatin1String(DemoHost::kPrimaryDb)));
        Recordset rs = Recordset::open(db, QStringLiteral("SELECT * FROM Members"));
        QVERIFY2(rs.isOpen(), qPrintable(rs.error()));
        QSet<QString> ids, certs;
        QSet<QString> grades;
        int others = 0, inactive = 0, withEmail = 0;
        static const QRegularExpression month(QStringLiteral(R"(^(19[89]\d|20[012]\d)(0[1-9]|1[0-2])$)"));
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
            ids.insert(rs.text(QStringLiteral("Mem_ID")));
            const QString cert = rs.text(QStringLiteral("Cert"));
            QVERIFY(!cert.isEmpty() && cert.size() <= 7);
            certs.insert(cert);
            QVERIFY(!rs.text(QStringLiteral("Last")).isEmpty() && !rs.text(QStringLiteral("First")).isEmpty());
            grades.insert(rs.text(QStringLiteral("Grade")));
            if (!rs.text(QStringLiteral("OtherMember")).isEmpty())
                ++others;
            if (!rs.text(QStringLiteral("MemTypeStat")).trimmed().startsWith(QLatin1String("AC")))
                ++inactive;
            const QString email = rs.text(QStringLiteral("Email"));
            if (!email.isEmpty()) {
                QVERIFY2(email.contains(
                             QRegularExpression(QStringLiteral(R"(^[a-z0-9._]+@([a-z]+\.)?example\.(com|net|org)$)"))),
                         qPrintable(email));
                ++withEmail;
            }
            for (const QString& course : kCourseFields) {
                const QString value = rs.text(course);
                QVERIFY2(value.isEmpty() || month.match(value).hasMatch(),
                         qPrintable(course + QLatin1Char('=') + value));
                QVERIFY2(value <= QStringLiteral("202602"), qPrintable(value));
            }
        }
        QCOMPARE(ids.size(), rs.recordCount());
        QCOMPARE(certs.size(), rs.recordCount());
        QCOMPARE(grades, (QSet<QString>{"", "S", "P", "AP", "JN", "N"}));
        QVERIFY(others >= 3 && others <= 20);
        QVERIFY(inactive >= 5 && inactive < rs.recordCount() / 5);
        QVERIFY(withEmail > rs.recordCount() * 3 / 4);
    }

    // ---- the add-in on the demo -----------------------------------------------------------------------

    void startsUpWithTheMemberList()
    {
        Session session;
        QVERIFY(start(session));
        const ReportModel& m = session.model;
        QCOMPARE(m.SquadronName, QLatin1String(DemoHost::kSquadronName));
        QCOMPARE(m.SquadronCode, QStringLiteral("ASQ"));
        QCOMPARE(m.SquadronNoText, QStringLiteral("0143"));
        QCOMPARE(m.DistrictNo, 27);
        QCOMPARE(session.UserPW, QLatin1String(DemoHost::kUserPw));
        QVERIFY(session.MouseWheel);
        QCOMPARE(session.HistorianURL, QStringLiteral("https://example.org/r318/submit.html"));
        QCOMPARE(session.DataDir, DemoHost::dataDir(m_demo));
        QCOMPARE(session.host.SquadronsRS.recordCount(), 6); // the squadrons of district 27 only

        QList<qint32> ids;
        QStringList entries;
        FillMemberList(session, ids, entries);
        QVERIFY2(entries.size() >= 280 && entries.size() <= 320, qPrintable(QString::number(entries.size())));
        QCOMPARE(entries.size(), session.host.MembersRS.recordCount());
        QCOMPARE(ids.size(), entries.size() + 1);
        QCOMPARE(QSet<qint32>(ids.begin() + 1, ids.end()).size(), entries.size());

        // By last name, then first name, letter case aside; each entry is its member's "Last, First".
        Recordset& members = session.host.MembersRS;
        QString lastPrev, firstPrev;
        for (int k = 0; k < entries.size(); ++k) {
            QVERIFY(members.findFirst(QStringLiteral("Mem_ID = %1").arg(ids.at(k + 1))));
            const QString last = members.text(QStringLiteral("Last"));
            const QString first = members.text(QStringLiteral("First"));
            QCOMPARE(entries.at(k), last + QStringLiteral(", ") + first);
            if (k > 0) {
                const int byLast = QString::compare(lastPrev, last, Qt::CaseInsensitive);
                QVERIFY2(byLast < 0 || (byLast == 0 && QString::compare(firstPrev, first, Qt::CaseInsensitive) <= 0),
                         qPrintable(entries.at(k - 1) + QStringLiteral(" before ") + entries.at(k)));
            }
            lastPrev = last;
            firstPrev = first;
        }
        session.host.closeAll();
    }

    void registersOnTheDemo()
    {
        QTemporaryDir tmp;
        const QString dir = tmp.filePath(QStringLiteral("demo"));
        QString error;
        QVERIFY2(CreateDemoHost(dir, &error), qPrintable(error));
        const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(DemoHost::configDir(dir)));
        for (int run = 0; run < 2; ++run) {
            Session session;
            ScriptedPrompt prompt;
            QCOMPARE(Startup::Main(session, QStringLiteral("Rostrel"), prompt).kind, Kind::Registered);
        }
        qputenv("XDG_CONFIG_HOME", saved);
        HostDatabase db;
        QVERIFY(db.open(DemoHost::dataDir(dir) + QLatin1String(DemoHost::kPrimaryDb)));
        QCOMPARE(count(db, QStringLiteral("SELECT * FROM FormsAddin WHERE Addinexe = 'r318form.exe'")), 1);
    }

    void officeHolders_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("least");
        QTest::addColumn<int>("most");
        QTest::newRow("Historian") << "7703" << 1 << 1;
        QTest::newRow("Secretary") << "1705" << 1 << 1;
        QTest::newRow("Commander") << "1701" << 1 << 1;
        QTest::newRow("Executive") << "2300" << 5 << 12;
        QTest::newRow("Nominating") << "2302" << 3 << 5;
        QTest::newRow("Rules") << "2303" << 2 << 2;
    }

    // The current watch's holders of an office, found the way the officer list finds them.
    void officeHolders()
    {
        QFETCH(QString, code);
        QFETCH(int, least);
        QFETCH(int, most);
        Session session;
        QVERIFY(start(session));
        Recordset& com = session.host.MemberComRS;
        Recordset& members = session.host.MembersRS;
        int holders = 0;
        for (bool found = com.findFirst(officeCriteria(code)); found; found = com.findNext(officeCriteria(code))) {
            ++holders;
            QVERIFY(members.findFirst(QStringLiteral("Mem_ID = ") + com.text(QStringLiteral("Mem_ID"))));
            QVERIFY(members.text(QStringLiteral("MemTypeStat")).trimmed().startsWith(QLatin1String("AC")));
            QVERIFY(members.text(QStringLiteral("OtherMember")).isEmpty());
            QVERIFY(!members.text(QStringLiteral("Cert")).isEmpty());
            if (code == QLatin1String("7703") || code == QLatin1String("1705"))
                QVERIFY(!members.text(QStringLiteral("Email")).isEmpty()); // a submitting officer can be reached
        }
        QVERIFY2(holders >= least && holders <= most, qPrintable(QString::number(holders)));
        session.host.closeAll();
    }

    void mostOfficesAreHeldThisWatch()
    {
        Session session;
        QVERIFY(start(session));
        int held = 0;
        for (const QString& code : kCatalogueCodes) {
            if (session.host.MemberComRS.findFirst(officeCriteria(code)))
                ++held;
        }
        QVERIFY2(held >= kCatalogueCodes.size() * 4 / 5 && held < kCatalogueCodes.size(),
                 qPrintable(QString::number(held)));

        // Rows of another watch exist but are not the current watch's.
        HostDatabase& db = session.host.HostDB;
        const int current = count(db, QStringLiteral("SELECT * FROM MemberCom WHERE NewOD = False"));
        QVERIFY(count(db, QStringLiteral("SELECT * FROM MemberCom WHERE NewOD = True")) >= 5);
        QCOMPARE(session.host.MemberComRS.recordCount(), current);
        Recordset old = Recordset::open(
            db, QStringLiteral("SELECT * FROM MemberCom WHERE NewOD = True AND Department = '1' AND Position = '7' "
                               "AND Committee = '101'"));
        QCOMPARE(old.recordCount(), 1);
        QVERIFY(session.host.MemberComRS.findFirst(officeCriteria(QStringLiteral("1701"))));
        QVERIFY(session.host.MemberComRS.text(QStringLiteral("Mem_ID")) != old.text(QStringLiteral("Mem_ID")));
        session.host.closeAll();
    }

    // District and national assignments name their job from the title tables: department, committee and
    // position all found.
    void assignmentTitlesResolve_data()
    {
        QTest::addColumn<QString>("sdn");
        QTest::addColumn<int>("least");
        QTest::newRow("district") << "D" << 5;
        QTest::newRow("national") << "N" << 3;
    }

    void assignmentTitlesResolve()
    {
        QFETCH(QString, sdn);
        QFETCH(int, least);
        HostDatabase db;
        QVERIFY(db.open(DemoHost::dataDir(m_demo) + QLatin1String(DemoHost::kPrimaryDb)));
        Recordset rows = Recordset::open(db, QStringLiteral("SELECT * FROM MemberCom WHERE SDN = ?"), {sdn});
        QVERIFY2(rows.isOpen(), qPrintable(rows.error()));
        QVERIFY2(rows.recordCount() >= least && rows.recordCount() <= 23,
                 qPrintable(QString::number(rows.recordCount())));
        for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
            const QString department = rows.text(QStringLiteral("Department")).trimmed();
            const QString position = rows.text(QStringLiteral("Position")).trimmed();
            const QString committee = rows.text(QStringLiteral("Committee")).trimmed();
            const QString where = department + QLatin1Char('/') + position + QLatin1Char('/') + committee;
            QCOMPARE(count(db, QStringLiteral("SELECT * FROM Members WHERE Mem_ID = ?"),
                           {rows.number(QStringLiteral("Mem_ID"))}),
                     1);
            QVERIFY2(count(db, QStringLiteral("Select Dep_Title FROM commdept WHERE Dep_Code = ?"), {department}) == 1,
                     qPrintable(where));
            Recordset com =
                Recordset::open(db, QStringLiteral("SELECT Com_Title FROM CommDesc WHERE Com_Code = ?"), {committee});
            QVERIFY2(com.recordCount() == 1 && !com.text(QStringLiteral("Com_Title")).isEmpty(), qPrintable(where));
            Recordset pos =
                Recordset::open(db, QStringLiteral("SELECT Pos_Title FROM CommPos WHERE Pos_Code = ?"), {position});
            QVERIFY2(pos.recordCount() == 1 && !pos.text(QStringLiteral("Pos_Title")).isEmpty(), qPrintable(where));
        }
    }

    // The watch year has something to count: active members, accepted merit marks, new senior members and
    // course completions, with members of other squadrons and other kinds of rows that must not count.
    void theWatchYearHasData()
    {
        HostDatabase db;
        QVERIFY(db.open(DemoHost::dataDir(m_demo) + QLatin1String(DemoHost::kPrimaryDb)));
        Recordset active =
            Recordset::open(db, QStringLiteral("SELECT MemTypeStat FROM Members WHERE OtherMember = NULL"));
        QVERIFY(active.isOpen());
        int activeCount = 0;
        for (active.moveFirst(); !active.eof(); active.moveNext())
            activeCount += active.text(QStringLiteral("MemTypeStat")).trimmed().startsWith(QLatin1String("AC")) ? 1 : 0;
        const int all = count(db, QStringLiteral("SELECT * FROM Members"));
        QVERIFY2(activeCount >= all * 3 / 4 && activeCount < active.recordCount() && active.recordCount() < all,
                 qPrintable(
                     QStringLiteral("%1 active of %2 own of %3").arg(activeCount).arg(active.recordCount()).arg(all)));

        QVERIFY(count(db, QStringLiteral("SELECT * FROM MeritMarks WHERE MM_Prec = 'A'")) > 20);
        QVERIFY(count(db, QStringLiteral("SELECT * FROM MeritMarks WHERE MM_Prec <> 'A'")) > 5);

        const QString year = QString::number(DemoHost::watchFrom().year());
        const int seniors =
            count(db, QStringLiteral("SELECT * FROM Members WHERE OtherMember = NULL AND GH_Senior ='") + year +
                          QLatin1Char('\''));
        QVERIFY2(seniors >= 3 && seniors <= 23, qPrintable(QString::number(seniors)));
        QVERIFY(count(db, QStringLiteral("SELECT * FROM Members WHERE GH_Senior = ?"), {year}) > seniors);
        QVERIFY(count(db, QStringLiteral("SELECT * FROM Members WHERE GH_Senior < ?"), {year}) > 30);

        const QString from = DemoHost::watchFrom().toString(QStringLiteral("yyyyMM"));
        const QString to = DemoHost::watchTo().toString(QStringLiteral("yyyyMM"));
        int coursesWithCompletions = 0;
        QSet<QString> years;
        for (const QString& field : kCourseFields) {
            const int n = count(db, QStringLiteral("SELECT %1 FROM Members WHERE OtherMember = NULL AND %1 >= '%2' AND "
                                                   "%1 <= '%3'")
                                        .arg(field, from, to));
            QVERIFY(n >= 0);
            coursesWithCompletions += n > 0 ? 1 : 0;
            Recordset all = Recordset::open(db, QStringLiteral("SELECT %1 FROM Members WHERE %1 <> NULL").arg(field));
            for (all.moveFirst(); !all.eof(); all.moveNext())
                years.insert(all.text(field).left(4));
        }
        QVERIFY2(coursesWithCompletions >= 8, qPrintable(QString::number(coursesWithCompletions)));
        QVERIFY2(years.size() >= 15, qPrintable(QString::number(years.size())));
    }
};

QTEST_GUILESS_MAIN(TestDemoHost)
#include "tst_demohost.moc"

// The demo host: made the same way every time, complete for the add-in's host contract, and a host the
// add-in starts on with officers, assignments and a watch year's worth of data to find.

#include "ScriptedPrompt.h"

#include "app/Session.h"
#include "app/Startup.h"
#include "demo/DemoHost.h"
#include "host/HostDatabase.h"
#include "host/HostSchema.h"
#include "host/Recordset.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The files of a demo host, with the name of its folder replaced by DIR.
QList<QByteArray> demoFiles(const QString& dir)
{
    QList<QByteArray> files;
    const QString data = DemoHost::dataDir(dir), settings = DemoHost::configDir(dir) + "/VB and VBA Program Settings/";
    for (const QString& path : {data + DemoHost::kPrimaryDb, data + DemoHost::kSquadronsDb, settings + "Rostrel.conf",
                                settings + "Rostrelv3.conf", DemoHost::envFilePath(dir)}) {
        QFile file(path);
        files << (file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>"))
                     .replace(QFile::encodeName(QFileInfo(dir).absoluteFilePath()), "DIR");
    }
    return files;
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
    HostDatabase m_primary;

private Q_SLOTS:
    void initTestCase()
    {
        m_demo = m_tmp.filePath(QStringLiteral("demo"));
        QString error;
        QVERIFY2(CreateDemoHost(m_demo, &error), qPrintable(error));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(DemoHost::configDir(m_demo)));
        QVERIFY(m_primary.open(DemoHost::dataDir(m_demo) + QLatin1String(DemoHost::kPrimaryDb)));
    }

    // The demo is made in a new or empty folder only, a refused folder is left as it was, and two demo hosts are
    // the same but for the folder they name.
    void madeOnceTheSameWay()
    {
        QTemporaryDir tmp;
        const QList<QByteArray> demo = demoFiles(m_demo);
        QString error;
        QVERIFY2(!CreateDemoHost(m_demo, &error) && error.contains(QLatin1String("already exists")), qPrintable(error));
        QCOMPARE(demoFiles(m_demo), demo);
        const QString stray = tmp.filePath(QStringLiteral("notes.txt"));
        QVERIFY(QFile(stray).open(QIODevice::WriteOnly));
        QVERIFY2(!CreateDemoHost(tmp.path(), &error) && error.contains(QLatin1String("not empty")), qPrintable(error));
        QCOMPARE(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"notes.txt"});
        QVERIFY(!CreateDemoHost(stray, &error)); // a file is no folder
        const QString empty = tmp.filePath(QStringLiteral("empty"));
        QVERIFY(QDir().mkpath(empty));
        QVERIFY2(CreateDemoHost(empty, &error), qPrintable(error));
        QCOMPARE(demoFiles(empty), demo);
    }

    // The shell file and the start instructions (as the command-line tool prints them) start the add-in on the
    // demo, whatever characters the folder's name holds.
    void shellStartsTheAddIn()
    {
        const QString bash = QStandardPaths::findExecutable(QStringLiteral("bash"));
        if (bash.isEmpty())
            QSKIP("no bash");
        QTemporaryDir tmp;
        const QString dir = tmp.filePath(QStringLiteral("Dan's demo $HOME"));
        QVERIFY(CreateDemoHost(dir, nullptr));
        QFile script(tmp.filePath("the add-in's stand-in"));
        QVERIFY(script.open(QIODevice::WriteOnly) &&
                script.write("#!/bin/sh\nprintf '%s\\n%s' \"$XDG_CONFIG_HOME\" \"$1\"\n"));
        script.close();
        QVERIFY(script.setPermissions(script.permissions() | QFileDevice::ExeOwner));
        const QStringList lines = DemoHost::startInstructions(dir, script.fileName());
        for (const QString& commands : {lines.at(1), lines.at(3) + '\n' + lines.at(4)}) {
            QProcess p;
            p.start(bash, {"-c", commands});
            QVERIFY(p.waitForFinished(30000));
            QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()),
                     DemoHost::configDir(dir) + "\nRostrel,ASQ.mdb,Squadrons.mdb,color");
        }
    }

    // Every table is filled but for FormsAddin, and every text fits the size its field declares.
    void tablesFilledAndTextsFit()
    {
        HostDatabase squadrons;
        QVERIFY(squadrons.open(DemoHost::dataDir(m_demo) + QLatin1String(DemoHost::kSquadronsDb)));
        static const QRegularExpression varchar(QStringLiteral(R"(VARCHAR\((\d+)\))"));
        for (const HostDatabase* db : {&m_primary, &squadrons}) {
            Recordset tables = Recordset::open(*db, "SELECT name FROM sqlite_master WHERE type = 'table'");
            QVERIFY(tables.recordCount() > 1);
            for (tables.moveFirst(); !tables.eof(); tables.moveNext()) {
                const QString table = tables.text("name");
                QCOMPARE(count(*db, "SELECT * FROM " + table) > 0, table != QLatin1String("FormsAddin"));
                Recordset info = Recordset::open(*db, "PRAGMA table_info(" + table + ")");
                for (info.moveFirst(); !info.eof(); info.moveNext()) {
                    const QString size = varchar.match(info.text("type")).captured(1);
                    const QString longer = " WHERE length(" + info.text("name") + ") > " + size;
                    QVERIFY2(size.isEmpty() || count(*db, "SELECT * FROM " + table + longer) == 0,
                             qPrintable(table + longer));
                }
            }
        }
    }

    void startsUp()
    {
        // The add-in starts on the demo host as the host starts it, and shows nothing.
        Session session;
        ScriptedPrompt prompt;
        const Startup::Outcome outcome = Startup::Main(session, DemoHost::hostLine(), prompt);
        QVERIFY2(outcome.kind == Startup::Outcome::Kind::Ready, qPrintable(outcome.reason));
        QVERIFY2(prompt.shown.isEmpty(), qPrintable(prompt.texts().join(QLatin1Char('|'))));
        QCOMPARE(session.host.SquadronsRS.recordCount(), 6); // the squadrons of district 27 only
        Recordset& members = session.host.MembersRS;
        // Course completions are months, none after the watch year; the addresses are examples.
        for (members.moveFirst(); !members.eof(); members.moveNext()) {
            static const QRegularExpression month(QStringLiteral(R"(^$|^(19[89]\d|20[012]\d)(0[1-9]|1[0-2])$)"));
            for (const QString& field : HostSchema::courseFields())
                QVERIFY2(month.match(members.text(field)).hasMatch() &&
                             members.text(field) <= DemoHost::watchTo().toString("yyyyMM"),
                         qPrintable(members.text(field)));
            static const QRegularExpression email(
                QStringLiteral(R"(^$|^[a-z0-9._]+@([a-z]+\.)?example\.(com|net|org)$)"));
            QVERIFY2(email.match(members.text("Email")).hasMatch(), qPrintable(members.text("Email")));
        }

        // The current watch's Commander, Secretary and Historian (offices 1701, 1705 and 7703), found the way the
        // officer list finds them: one each, an active member of the squadron who can be reached.
        Recordset& com = session.host.MemberComRS;
        QCOMPARE(com.recordCount(), count(m_primary, "SELECT * FROM MemberCom WHERE NewOD = False"));
        for (const char* office : {"Department = '1' AND Position = '7' AND Committee = '101' AND SDN = 'S'",
                                   "Department = '1' AND Position = '7' AND Committee = '105' AND SDN = 'S'",
                                   "Department = '7' AND Position = '7' AND Committee = '703' AND SDN = 'S'"}) {
            QVERIFY2(com.findFirst(office) && !com.findNext(office), office);
            QVERIFY(members.findFirst(QStringLiteral("Mem_ID = ") + com.text(QStringLiteral("Mem_ID"))));
            QVERIFY(members.text("MemTypeStat").startsWith("AC") && members.text("OtherMember").isEmpty() &&
                    !members.text(QStringLiteral("Email")).isEmpty());
        }
        session.host.closeAll();
    }

    // The watch year has something to count, and rows that must not count: members of other squadrons and
    // inactive ones, merit marks not accepted, assignments of another watch, district and national assignments.
    void theWatchYearHasData()
    {
        const struct
        {
            const char* where;
            int least, most;
        } rows[] = {
            {"Members", 280, 320},
            {"Members WHERE OtherMember <> NULL", 3, 20},
            {"Members WHERE MemTypeStat NOT LIKE 'AC%'", 5, 60},
            {"Members WHERE OtherMember = NULL AND GH_Senior = '2025'", 3, 23},
            {"Members WHERE GH_Senior < '2025'", 31, 300},
            {"MeritMarks WHERE MM_Prec = 'A'", 21, 10000},
            {"MeritMarks WHERE MM_Prec <> 'A'", 6, 10000},
            {"MemberCom WHERE NewOD = True", 5, 100},
            {"MemberCom WHERE SDN = 'D'", 5, 23},
            {"MemberCom WHERE SDN = 'N'", 3, 23},
            {"MemberCom WHERE NewOD = False AND Department = '2' AND Position = '3' AND Committee = '200'", 5, 12},
        };
        // District and national assignments name a member and their job from the title tables.
        const QList<std::pair<const char*, const char*>> lookups = {
            {"SELECT * FROM Members WHERE Mem_ID = ?", "Mem_ID"},
            {"SELECT * FROM commdept WHERE Dep_Code = ? AND Dep_Title <> NULL", "Department"},
            {"SELECT * FROM CommDesc WHERE Com_Code = ? AND Com_Title <> NULL", "Committee"},
            {"SELECT * FROM CommPos WHERE Pos_Code = ? AND Pos_Title <> NULL", "Position"}};
        for (const auto& r : rows) {
            Recordset found = Recordset::open(m_primary, QStringLiteral("SELECT * FROM ") + r.where);
            QVERIFY2(found.recordCount() >= r.least && found.recordCount() <= r.most,
                     qPrintable(r.where + QStringLiteral(": %1").arg(found.recordCount())));
            for (found.moveFirst(); QByteArray(r.where).contains("SDN") && !found.eof(); found.moveNext()) {
                for (const auto& [lookup, field] : lookups)
                    QCOMPARE(count(m_primary, lookup, {found.text(field)}), 1);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestDemoHost)
#include "tst_demohost.moc"

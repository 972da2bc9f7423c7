// The batch command "dump": start-up creates or upgrades the report, the stored report comes out as JSON;
// a report file that cannot be opened is left alone and the command fails with the reason.

#include "HostFixture.h"
#include "ReportFixture.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QString err;
};

} // namespace

class TestStoreCli : public QObject
{
    Q_OBJECT

private:
    QString m_cli;

    Run dump(const HostFixture& host)
    {
        QProcess p;
        p.start(m_cli, {QStringLiteral("--host"), host.commandLine(), QStringLiteral("dump")});
        Run r;
        if (!p.waitForFinished(60000))
            return r;
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = p.readAllStandardOutput();
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

    static QString reportPath(const HostFixture& host) { return host.dataDir() + QStringLiteral("r318_TST.mdb"); }

private Q_SLOTS:
    void initTestCase()
    {
        m_cli = qEnvironmentVariable("R318_CLI");
        if (m_cli.isEmpty() || !QFileInfo(m_cli).isExecutable())
            QSKIP("R318_CLI does not name the command-line tool");
    }

    void dumpCreatesAndPrintsTheReport()
    {
        HostFixture host;
        host.writeSettings();
        host.createDatabases();
        const Run first = dump(host);
        QVERIFY2(first.exitCode == 0, qPrintable(first.err));
        QVERIFY(QFile::exists(reportPath(host)));
        QVERIFY(QFile::exists(host.dataDir() + QStringLiteral("r318_TST.bak")));

        const QJsonObject o = QJsonDocument::fromJson(first.out).object();
        QCOMPARE(o.value(QStringLiteral("SquadronCode")).toString(), QStringLiteral("TST"));
        QCOMPARE(o.value(QStringLiteral("SubmitURL")).toString(), QStringLiteral("https://example.org/r318"));
        QCOMPARE(o.value(QStringLiteral("OfficerCount")).toInt(), 100);
        const QJsonArray officers = o.value(QStringLiteral("Officers")).toArray();
        QCOMPARE(officers.size(), 100);
        QCOMPARE(officers.at(0).toObject().value(QStringLiteral("OffTitle")).toString(),
                 QStringLiteral("ELECTED OFFICERS:"));
        QCOMPARE(officers.at(0).toObject().value(QStringLiteral("OffHeading")).toBool(), true);
        QCOMPARE(officers.at(18).toObject().value(QStringLiteral("OffCode")).toString(), QStringLiteral("2300"));
        const QJsonObject lists = o.value(QStringLiteral("Recognized")).toObject();
        QCOMPARE(lists.keys(), QStringList({"1", "2", "3", "4", "5", "6", "7"}));
        for (const QString& key : lists.keys())
            QVERIFY(lists.value(key).toArray().isEmpty());
        for (const char* key :
             {"SubDate", "FromDate", "ToDate", "ReportYear", "NoMM", "Incorp", "NoActive", "NoSenior", "SubOCert",
              "SubOEmail", "PubName", "AGCount", "EGCount", "BCCount", "OCCount", "FromKUR", "ActivityText"})
            QVERIFY2(o.contains(QLatin1String(key)), key);
        QCOMPARE(o.value(QStringLiteral("ActivityText")).toArray().size(), 13);
        QCOMPARE(o.value(QStringLiteral("AGCount")).toArray().size(), 5);
        QCOMPARE(o.value(QStringLiteral("OCCount")).toArray().size(), 4);

        // Stored values come out under their names.
        const QString db = reportPath(host);
        ReportFixture::exec(db, QStringLiteral("UPDATE Misc SET PubName = 'Harbour Lights', No_MM = 14"));
        ReportFixture::exec(db, QStringLiteral("UPDATE Recognized SET Last = 'Quay', First = 'Ada', Office = NULL "
                                               "WHERE rowid = 52"));
        ReportFixture::exec(db, QStringLiteral("UPDATE Activities SET VSC = 'Forty checks'"));
        const Run second = dump(host);
        QVERIFY2(second.exitCode == 0, qPrintable(second.err));
        const QJsonObject p = QJsonDocument::fromJson(second.out).object();
        QCOMPARE(p.value(QStringLiteral("PubName")).toString(), QStringLiteral("Harbour Lights"));
        QCOMPARE(p.value(QStringLiteral("NoMM")).toInt(), 14);
        QCOMPARE(p.value(QStringLiteral("ActivityText")).toArray().at(11).toString(), QStringLiteral("Forty checks"));
        const QJsonArray third = p.value(QStringLiteral("Recognized")).toObject().value(QStringLiteral("3")).toArray();
        QCOMPARE(third.size(), 1);
        QCOMPARE(third.at(0).toObject().value(QStringLiteral("RecLast")).toString(), QStringLiteral("Quay"));
        QCOMPARE(third.at(0).toObject().value(QStringLiteral("RecCategory")).toInt(), 3);
    }

    void dumpRefusesUnreadableFile()
    {
        HostFixture host;
        host.writeSettings();
        host.createDatabases();
        const QString db = reportPath(host);
        {
            QFile f(db);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(2000, '\0'));
        }
        const QByteArray before = ReportFixture::bytes(db);
        const QStringList filesBefore = ReportFixture::files(host.dataDir());
        const Run r = dump(host);
        QVERIFY(r.exitCode > 0);
        QVERIFY2(r.err.contains(QStringLiteral("old desktop database format")), qPrintable(r.err));
        QVERIFY2(r.err.contains(db), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
        QCOMPARE(ReportFixture::bytes(db), before);
        QCOMPARE(ReportFixture::files(host.dataDir()), filesBefore);
    }

    void dumpRestoresFromBackup()
    {
        HostFixture host;
        host.writeSettings();
        host.createDatabases();
        QCOMPARE(dump(host).exitCode, 0);
        const QString db = reportPath(host);
        ReportFixture::exec(db, QStringLiteral("UPDATE Misc SET PubName = 'Saved Before'"));
        QVERIFY(QFile::remove(host.dataDir() + QStringLiteral("r318_TST.bak")));
        QVERIFY(QFile::rename(db, host.dataDir() + QStringLiteral("r318_TST.bak")));

        const Run r = dump(host);
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QVERIFY2(r.err.contains(QStringLiteral("restored from its backup copy")), qPrintable(r.err));
        QCOMPARE(QJsonDocument::fromJson(r.out).object().value(QStringLiteral("PubName")).toString(),
                 QStringLiteral("Saved Before"));
        QVERIFY(QFile::exists(db));
    }
};

QTEST_GUILESS_MAIN(TestStoreCli)
#include "tst_storecli.moc"

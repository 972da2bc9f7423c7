// The batch commands "set" and "dump" on the report: "set" stores each value under its field and "dump" prints
// the stored report as JSON.

#include "HostFixture.h"
#include "ReportFixture.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

class TestStoreCli : public QObject
{
    Q_OBJECT

    QString m_cli;
    int m_status = -1;
    QString m_err;

    // An object given as JSON, with ' for ".
    static QJsonObject json(const char* t)
    {
        return QJsonDocument::fromJson(QByteArray(t).replace('\'', '"')).object();
    }

    // Runs the command; its output as JSON.
    QJsonObject cli(const HostFixture& host, const QStringList& args)
    {
        QProcess p;
        p.start(m_cli, QStringList{u"--host"_s, host.commandLine()} + args);
        m_status = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        m_err = QString::fromUtf8(p.readAllStandardError());
        return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_cli = qEnvironmentVariable("R318_CLI");
        if (m_cli.isEmpty() || !QFileInfo(m_cli).isExecutable())
            QSKIP("R318_CLI does not name the command-line tool");
    }

    void setAndDumpEveryField()
    {
        HostFixture host;
        host.writeSettings();
        host.createDatabases();
        const QString db = host.dataDir() + u"r318_TST.mdb"_s;
        // "set" takes every field of Misc (but the squadron's identity, the marker and the address the host gives),
        // Education and Activities. Given a number of its own, each that is no date or flag holds it in the file
        // under the field's name, and the dump shows it once.
        QCOMPARE(cli(host, {u"dump"_s}).value(u"SquadronCode"_s).toString(), u"TST"_s); // makes the report
        QStringList stored, args{u"set"_s}, storedNow, values;
        static const QRegularExpression skipped(
            u"^Misc\\.(Squadron|Squad_No|District|Rostrelv6|SubmitURL) |_Date |BOOLEAN"_s);
        for (const QString& table : {u"Misc"_s, u"Education"_s, u"Activities"_s}) {
            for (const QString& c : ReportFixture::columns(db, table)) {
                if (!skipped.match(table + u'.' + c).hasMatch())
                    stored << table + u'.' + c.section(u' ', 0, 0) + u'=' + QString::number(10 + stored.size());
            }
        }
        for (const QString& field : stored)
            args += field.split(u'=');
        cli(host, args);
        QVERIFY2(m_status == 0, qPrintable(m_err));
        for (const QString& field : stored) {
            const QStringList name = field.section(u'=', 0, 0).split(u'.');
            storedNow << name.join(u'.') + u'=' +
                             ReportFixture::value(db, u"SELECT %2 FROM %1"_s.arg(name[0], name[1])).toString();
        }
        QCOMPARE(storedNow, stored);
        // An officer and a recognition entry stored by hand come out too.
        ReportFixture::exec(db, "UPDATE Officers SET Cert = '1', Last = 'Quay', First = 'Ada', Rank = 'Lt/C', Grade = "
                                "'AP' WHERE Forder = 19");
        ReportFixture::exec(db, "UPDATE Recognized SET Cert = '2', Last = 'Reed', First = 'Bo', Rank = 'Cdr', Grade = "
                                "'N', Office = 'Fleet' WHERE rowid = 52");
        const QJsonObject dump = cli(host, {u"dump"_s});
        QVERIFY2(m_status == 0, qPrintable(m_err));
        for (const QJsonValue& v : dump) {
            for (const QJsonValue& e : v.isArray() ? v.toArray() : QJsonArray{v})
                values << e.toVariant().toString();
        }
        for (int n = 10; n < 10 + stored.size(); ++n)
            QVERIFY2(values.count(QString::number(n)) == 1, qPrintable(stored[n - 10]));
        QCOMPARE(dump.value(u"Officers"_s).toArray().at(18).toObject(),
                 json("{'OffOrder': 19, 'OffTitle': 'Executive', 'OffCode': '2300', 'OffHeading': false, "
                      "'OffCert': '1', 'OffLast': 'Quay', 'OffFirst': 'Ada', 'OffRank': 'Lt/C', 'OffGrade': 'AP'}"));
        QCOMPARE(dump.value(u"Recognized"_s).toObject().value(u"3"_s).toArray(),
                 QJsonArray{json("{'RecCert': '2', 'RecLast': 'Reed', 'RecFirst': 'Bo', 'RecRank': 'Cdr', "
                                 "'RecGrade': 'N', 'RecOffice': 'Fleet', 'RecCategory': 3}")});
    }
};

QTEST_GUILESS_MAIN(TestStoreCli)
#include "tst_storecli.moc"

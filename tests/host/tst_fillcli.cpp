// The batch commands "fill" and "set", run as the user runs them, on a small host.

#include "HostCase.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

class TestFillCli : public QObject
{
    Q_OBJECT

private:
    struct Run
    {
        int status = -1;
        QString out, err;
    };

    QString m_cli;

    Run run(const HostFixture& fx, const QStringList& args) const
    {
        QProcess p;
        p.start(m_cli, QStringList{QStringLiteral("--host"), fx.commandLine()} + args);
        const bool finished = p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit;
        return {finished ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }

    QJsonObject dump(const HostFixture& fx) const
    {
        return QJsonDocument::fromJson(run(fx, {QStringLiteral("dump")}).out.toUtf8()).object();
    }

    // Each value of the object `expected` (JSON text) is the report's.
    static void compareValues(const QJsonObject& report, const QString& expected)
    {
        const QJsonObject values = QJsonDocument::fromJson(expected.toUtf8()).object();
        QVERIFY(!values.isEmpty());
        for (auto it = values.begin(); it != values.end(); ++it)
            QVERIFY2(report[it.key()] == *it, qPrintable(it.key()));
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_cli = qEnvironmentVariable("R318_CLI");
        if (m_cli.isEmpty())
            QSKIP("R318_CLI does not name the command-line tool");
    }

    // The squadron's Commander, Historian, three members of the executive committee and a district assignment.
    void fillNeedsTheWatchYearThenFillsAndSaves()
    {
        HostFixture fx;
        fx.writeSettings();
        fx.createDatabases();
        HostCase::Writer w(fx.primaryPath());
        HostCase::squadron(w, "2:1701 1:7703 3:2300 4:2300 5:2300 5:2701D");
        w.done();
        const QJsonObject fresh = dump(fx);
        QVERIFY(!fresh.isEmpty());

        Run r = run(fx, {"fill"});
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.contains("Cannot search database without watch year dates."), qPrintable(r.err));
        QVERIFY2(!r.err.contains("overwrite"), qPrintable(r.err)); // the question is never reached
        QCOMPARE(dump(fx), fresh);                                 // nothing saved, not even the load-time look-ups

        r = run(fx, {"set", "Misc.From_Date", "090119", "Misc.To_Date", "83120"});
        QCOMPARE(r.out,
                 QStringLiteral("Misc.From_Date = Sep 1, 2019\nMisc.Year = 2020\nMisc.To_Date = Aug 31, 2020\n"));

        r = run(fx, {"fill"});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QVERIFY2(r.out.contains("Submitting officer: Lt/C Amy Abel, AP (Historian)"), qPrintable(r.out));
        const QJsonObject filled = dump(fx);
        QCOMPARE(filled["SubDate"].toString(), QDate::currentDate().toString("MMM d, yyyy"));
        compareValues(filled, R"({"NoActive": 4, "NoMM": 2, "NoSenior": 2, "SubOEmail": "amy@example.org",
                                  "AGCount": [3, 3, 0, 0, 3], "OCCount": [0, 3, 3, 0]})");
    }

    // "set" stores what the window stores, or refuses and saves nothing.
    void setStoresWhatTheWindowStoresOrNothing()
    {
        HostFixture fx;
        fx.writeSettings();
        fx.createDatabases();
        Run r =
            run(fx, QStringLiteral("set|Misc.Sub_Date|7419|Misc.To_Date|70419|Misc.From_Date|063019|Misc.No_Active|"
                                   "42|Misc.No_MM||Misc.Incorp|yes|Education.PB_HWC|2400|Misc.PubName|  The \"Log\"  "
                                   "|Misc.SubO_State|Maine|Activities.Award_S|Best newsletter|Education.PB_KUR|TRUE")
                        .split(QLatin1Char('|')));
        QVERIFY2(r.status == 0, qPrintable(r.err));
        // Dates of four and five digits; the year before September; an empty count is 0; texts as typed into
        // the window and cut to the field.
        const QJsonObject report = dump(fx);
        compareValues(report, R"({"SubDate": "Jul 4, 2019", "ToDate": "Jul 4, 2019", "FromDate": "Jun 30, 2019",
                                  "ReportYear": "2019", "NoActive": 42, "NoMM": 0, "Incorp": true, "FromKUR": true,
                                  "BCCount": [0, 2400, 0], "PubName": "The 'Log'", "SubOState": "Ma"})");
        QCOMPARE(report["ActivityText"][12].toString(), QStringLiteral("Best newsletter"));

        const auto fileBytes = [&fx] {
            QFile f(fx.dataDir() + QStringLiteral("r318_TST.mdb"));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const QByteArray stored = fileBytes();
        QVERIFY(!stored.isEmpty());
        // The squadron's identity comes from the host.
        const QList<std::pair<QString, QString>> cases{
            {"Misc.Colour red", "unknown field Misc.Colour"},
            {"Misc.Squadron Other", "unknown field Misc.Squadron"},
            {"Misc.From_Date 09O119", "is no date"},
            {"Misc.From_Date 123", "is no date"},
            {"Misc.From_Date 0901190", "is no date"},
            {"Misc.To_Date 023020", "is no date"},
            {"Misc.To_Date 08/31/20", "is no date"},
            {"Misc.No_MM 12a", "is no count"},
            {"Education.AG_S -1", "is no count"},
            {"Misc.No_Active 2147483648", "is no count"},
            {"Misc.Incorp maybe", "neither true nor false"},
            {"Misc.No_MM", "pairs of FIELD VALUE"},
            {"Misc.No_MM 5 Misc.PubName Log Misc.No_Senior x", "Misc.No_Senior"}};
        for (const auto& [args, message] : cases) {
            r = run(fx, ("set " + args).split(QLatin1Char(' ')));
            QVERIFY2(r.status == 2, qPrintable(args));
            QVERIFY2(r.err.contains(message), qPrintable(r.err));
            // The list of fields answers an unknown name only; a bad value names its field and the form.
            QCOMPARE(r.err.contains("Misc.SubO_Email\n"), message.startsWith("unknown"));
            QVERIFY2(fileBytes() == stored, qPrintable(args));
        }
        QCOMPARE(dump(fx), report);

        // Field names in any letter case; from September on the year is the next; no from-date keeps the year.
        r = run(fx, {"set", "misc.from_date", "090119"});
        QCOMPARE(r.out, QStringLiteral("Misc.From_Date = Sep 1, 2019\nMisc.Year = 2020\n"));
        QCOMPARE(run(fx, {"set", "Misc.From_Date", ""}).status, 0);
        compareValues(dump(fx), R"({"FromDate": "", "ReportYear": "2020", "NoActive": 42})");
    }
};

QTEST_GUILESS_MAIN(TestFillCli)
#include "tst_fillcli.moc"

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
        QString out;
        QString err;
    };

    QString m_cli;

    static Run run(const HostFixture& fx, const QString& cli, const QStringList& args)
    {
        QProcess p;
        p.start(cli, QStringList{QStringLiteral("--host"), fx.commandLine()} + args);
        Run r;
        if (!p.waitForFinished(30000))
            return r;
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        return r;
    }

    QJsonObject dump(const HostFixture& fx)
    {
        const Run r = run(fx, m_cli, {QStringLiteral("dump")});
        if (r.status != 0)
            qWarning("dump failed: %s", qPrintable(r.err));
        return QJsonDocument::fromJson(r.out.toUtf8()).object();
    }

    // The office holders of a squadron whose officer list is the standard catalogue.
    static void hostRows(HostFixture& fx)
    {
        HostCase::prepare(fx, true);
        HostCase::Writer w(fx.primaryPath());
        w.member({1, "Abel", "Amy", "1000001", "AP", "Lt", "Lt/C"});
        w.member({2, "Baker", "Bo", "1000002", "N", "P/C", "Cdr"});
        w.member({3, "Cole", "Cy", "1000003", "S", "", "1st/Lt"});
        w.member({4, "Dunn", "Di", "1000004", "", "", "Lt", 0, "RE"});
        w.member({5, "Eve", "Ed", "1000005", "JN", "", "P/Lt"});
        w.exec("UPDATE Members SET Email = 'amy@example.org', GH_Senior = '2019', GH_S = '201909', "
               "GH_N = '202008', LDP = '202001' WHERE Mem_ID IN (1, 3)");
        w.exec("INSERT INTO commdept VALUES ('2', 'Education')");
        w.exec("INSERT INTO CommDesc VALUES ('201', 'Education')");
        w.exec("INSERT INTO CommPos VALUES ('7', 'Chairman')");
        w.committee(2, "1", "7", "101"); // Commander 1701
        w.committee(1, "7", "7", "703"); // Historian 7703
        w.committee(3, "2", "3", "200"); // three members of the executive committee 2300
        w.committee(4, "2", "3", "200");
        w.committee(5, "2", "3", "200");
        w.committee(5, "2", "7", "201", "D");
        w.exec("INSERT INTO MeritMarks VALUES (1, '2020', 'A'), (2, '2020', 'A'), (3, '2020', 'A')");
    }

    static QStringList officers(const QJsonObject& report, const QString& title)
    {
        QStringList names;
        for (const QJsonValue v : report.value("Officers").toArray()) {
            const QJsonObject o = v.toObject();
            if (o.value("OffTitle").toString() == title)
                names << o.value("OffLast").toString();
        }
        return names;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_cli = qEnvironmentVariable("R318_CLI");
        if (m_cli.isEmpty())
            QSKIP("R318_CLI does not name the command-line tool");
    }

    void fillNeedsTheWatchYearThenFillsAndSaves()
    {
        HostFixture fx;
        hostRows(fx);
        const QJsonObject fresh = dump(fx);
        QVERIFY(!fresh.isEmpty());

        Run r = run(fx, m_cli, {"fill"});
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.contains("Cannot search database without watch year dates."), qPrintable(r.err));
        QVERIFY2(!r.err.contains("overwrite"), qPrintable(r.err)); // the question is never reached
        QCOMPARE(dump(fx), fresh);                                 // nothing saved, not even the load-time look-ups

        r = run(fx, m_cli, {"set", "Misc.From_Date", "090119", "Misc.To_Date", "83120"});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QCOMPARE(r.out,
                 QStringLiteral("Misc.From_Date = Sep 1, 2019\nMisc.Year = 2020\nMisc.To_Date = Aug 31, 2020\n"));

        r = run(fx, m_cli, {"fill"});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QVERIFY2(r.out.contains("Submitting officer: Lt/C Amy Abel, AP (Historian)"), qPrintable(r.out));
        const QJsonObject filled = dump(fx);
        QCOMPARE(filled.value("FromDate").toString(), QStringLiteral("Sep 1, 2019"));
        QCOMPARE(filled.value("ReportYear").toString(), QStringLiteral("2020"));
        QCOMPARE(filled.value("SubDate").toString(), QDate::currentDate().toString("MMM d, yyyy"));
        QCOMPARE(filled.value("NoActive").toInt(), 4);
        QCOMPARE(filled.value("NoMM").toInt(), 3);
        QCOMPARE(filled.value("NoSenior").toInt(), 2);
        QCOMPARE(filled.value("SubOTitle").toString(), QStringLiteral("Historian"));
        QCOMPARE(filled.value("SubOEmail").toString(), QStringLiteral("amy@example.org"));
        QCOMPARE(officers(filled, "Commander"), QStringList{"Baker"});
        QCOMPARE(officers(filled, "Historian"), QStringList{"Abel"});
        QStringList executive = officers(filled, "Executive");
        QCOMPARE(executive.size(), 12);
        QCOMPARE(executive.mid(0, 4), (QStringList{"Cole", "Dunn", "Eve", ""}));
        QCOMPARE(filled.value("AGCount").toArray(), (QJsonArray{2, 0, 0, 0, 2}));
        QCOMPARE(filled.value("OCCount").toArray(), (QJsonArray{0, 0, 2, 0}));
        const QJsonArray district = filled.value("Recognized").toObject().value("1").toArray();
        QCOMPARE(district.size(), 1);
        QCOMPARE(district[0].toObject().value("RecLast").toString(), QStringLiteral("Eve"));
        QCOMPARE(district[0].toObject().value("RecOffice").toString(), QStringLiteral("Education, Chairman"));
        const QJsonArray seniors = filled.value("Recognized").toObject().value("7").toArray();
        QCOMPARE(seniors.size(), 2);

        // A second fill gives the same report.
        r = run(fx, m_cli, {"fill"});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QCOMPARE(dump(fx), filled);
    }

    void setStoresWhatTheWindowStores()
    {
        HostFixture fx;
        HostCase::prepare(fx, true);
        Run r = run(fx, m_cli,
                    {"set",
                     "Misc.Sub_Date",
                     "7419",
                     "Misc.To_Date",
                     "70419",
                     "Misc.From_Date",
                     "063019",
                     "Misc.No_Active",
                     "42",
                     "Misc.No_MM",
                     "",
                     "Misc.Incorp",
                     "yes",
                     "Education.PB_HWC",
                     "2400",
                     "Misc.PubName",
                     "  The \"Log\"  ",
                     "Misc.SubO_State",
                     "Maine",
                     "Activities.Award_S",
                     "Best newsletter",
                     "Education.PB_KUR",
                     "TRUE"});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QJsonObject report = dump(fx);
        QCOMPARE(report.value("SubDate").toString(), QStringLiteral("Jul 4, 2019")); // four digits
        QCOMPARE(report.value("ToDate").toString(), QStringLiteral("Jul 4, 2019"));  // five digits
        QCOMPARE(report.value("FromDate").toString(), QStringLiteral("Jun 30, 2019"));
        QCOMPARE(report.value("ReportYear").toString(), QStringLiteral("2019")); // before September
        QCOMPARE(report.value("NoActive").toInt(), 42);
        QCOMPARE(report.value("NoMM").toInt(), 0); // an empty count is 0
        QCOMPARE(report.value("Incorp").toBool(), true);
        QCOMPARE(report.value("FromKUR").toBool(), true);
        QCOMPARE(report.value("BCCount").toArray(), (QJsonArray{0, 2400, 0}));
        QCOMPARE(report.value("PubName").toString(), QStringLiteral("The 'Log'")); // as typed into the window
        QCOMPARE(report.value("SubOState").toString(), QStringLiteral("Ma"));      // cut to the field
        QCOMPARE(report.value("ActivityText").toArray().at(12).toString(), QStringLiteral("Best newsletter"));

        // Field names are taken in any letter case; from September on the year is the next one.
        r = run(fx, m_cli, {"set", "misc.from_date", "090119"});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QCOMPARE(r.out, QStringLiteral("Misc.From_Date = Sep 1, 2019\nMisc.Year = 2020\n"));
        // Clearing the from-date keeps the year.
        r = run(fx, m_cli, {"set", "Misc.From_Date", ""});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        report = dump(fx);
        QCOMPARE(report.value("FromDate").toString(), QString());
        QCOMPARE(report.value("ReportYear").toString(), QStringLiteral("2020"));
        QCOMPARE(report.value("NoActive").toInt(), 42);
    }

    void setRefusesAndSavesNothing()
    {
        HostFixture fx;
        HostCase::prepare(fx, true);
        QCOMPARE(run(fx, m_cli, {"set", "Misc.No_MM", "7"}).status, 0);
        const QJsonObject before = dump(fx);
        QCOMPARE(before.value("NoMM").toInt(), 7);
        const auto fileBytes = [&fx] {
            QFile f(fx.dataDir() + QStringLiteral("r318_TST.mdb"));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const QByteArray stored = fileBytes();
        QVERIFY(!stored.isEmpty());
        const QList<std::pair<QStringList, QString>> cases{
            {{"Misc.Colour", "red"}, "unknown field Misc.Colour"},
            {{"Misc.Squadron", "Other"}, "unknown field Misc.Squadron"}, // the identity comes from the host
            {{"Misc.From_Date", "09O119"}, "is no date"},
            {{"Misc.From_Date", "123"}, "is no date"},
            {{"Misc.From_Date", "0901190"}, "is no date"},
            {{"Misc.To_Date", "023020"}, "is no date"},
            {{"Misc.To_Date", "08/31/20"}, "is no date"},
            {{"Misc.No_MM", "12a"}, "is no count"},
            {{"Education.AG_S", "-1"}, "is no count"},
            {{"Misc.No_Active", "2147483648"}, "is no count"},
            {{"Misc.Incorp", "maybe"}, "neither true nor false"},
            {{"Misc.No_MM"}, "pairs of FIELD VALUE"},
            {{"Misc.No_MM", "5", "Misc.PubName", "Log", "Misc.No_Senior", "x"}, "Misc.No_Senior"},
        };
        for (const auto& [args, message] : cases) {
            const Run r = run(fx, m_cli, QStringList{"set"} + args);
            QVERIFY2(r.status == 2, qPrintable(args.join(' ')));
            QVERIFY2(r.err.contains(message), qPrintable(r.err));
            QVERIFY2(fileBytes() == stored, qPrintable(args.join(' ')));
        }
        QCOMPARE(dump(fx), before);
    }
};

QTEST_GUILESS_MAIN(TestFillCli)
#include "tst_fillcli.moc"

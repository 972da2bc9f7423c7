// Archives: their names and letters, archiving, Start a New R-318, opening, closing and replacing the current
// report with an archive; a failing file operation never loses the report.

#include "ReportFixture.h"

#include "store/ReportArchive.h"
#include "store/ReportDatabase.h"
#include "store/ReportFile.h"
#include "store/ReportFiles.h"
#include "store/ReportIO.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace ReportFixture;

namespace {

// The first operation `op` ("copy", "rename") whose target ends with `suffix` fails; all others run.
class FailOnce : public ReportFiles
{
public:
    FailOnce(const QString& op, const QString& suffix) : m_op(op), m_suffix(suffix) {}
    bool copy(const QString& from, const QString& to, QString* why) override
    {
        return !hit(QStringLiteral("copy"), to, why) && ReportFiles::copy(from, to, why);
    }
    bool rename(const QString& from, const QString& to, QString* why) override
    {
        return !hit(QStringLiteral("rename"), to, why) && ReportFiles::rename(from, to, why);
    }

private:
    bool hit(const QString& op, const QString& path, QString* why)
    {
        if (m_done || op != m_op || !path.endsWith(m_suffix))
            return false;
        m_done = true;
        if (why)
            *why = QStringLiteral("simulated failure of %1 on %2").arg(op, path);
        return true;
    }
    QString m_op, m_suffix;
    bool m_done = false;
    ScopedReportFiles m_scoped{this};
};

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QVariant pubName(const QString& path)
{
    return value(path, QStringLiteral("SELECT PubName FROM Misc"));
}

const QStringList kReportAndBackup = {QStringLiteral("r318_TST.bak"), QStringLiteral("r318_TST.mdb")};
const QByteArray kOld = "an older archive";

} // namespace

class TestArchives : public QObject
{
    Q_OBJECT

    QTemporaryDir m_top;
    const QString d = m_top.path() + QStringLiteral("/data");
    Session s;
    ScriptedPrompt p;

    // The report of the watch year 2019-2020, saved with `pub` as its publication.
    void report(const QString& pub = QStringLiteral("Current"))
    {
        openReport(s, d);
        s.model.FromDate = QStringLiteral("Sep 1, 2019");
        s.model.ToDate = QStringLiteral("Aug 31, 2020");
        s.model.PubName = pub;
        QVERIFY(Save(s, p));
    }
    QString at(const QString& name) const { return d + QLatin1Char('/') + name; }

private Q_SLOTS:
    void init()
    {
        QDir(d).removeRecursively();
        QVERIFY(QDir().mkpath(d));
        s.model = ReportModel();
        p.shown.clear();
    }

    void fileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind"); // report, archive or -
        QTest::newRow("report") << "r318_12.mdb"
                                << "report";
        QTest::newRow("report, upper case") << "R318_12.MDB"
                                            << "report";
        QTest::newRow("archive") << "r318_12_1920A.mdb"
                                 << "archive";
        QTest::newRow("archive, upper case") << "R318_12_FFTTB.MDB"
                                             << "archive";
        QTest::newRow("another squadron's report") << "r318_123.mdb"
                                                   << "-";
        QTest::newRow("another squadron's archive") << "r318_123_1920A.mdb"
                                                    << "-";
        QTest::newRow("a shorter code") << "r318_1_1920A.mdb"
                                        << "-";
        QTest::newRow("backup copy") << "r318_12_1920A.bak"
                                     << "-";
        QTest::newRow("set aside report") << "r318_12.unreadable-20240131-154500.mdb"
                                          << "-";
        QTest::newRow("set aside archive") << "r318_12_1920A.unreadable-20240131-154500.mdb"
                                           << "-";
        QTest::newRow("scratch file") << "~r318_12_1920A.mdb.0badcafe.tmp"
                                      << "-";
        QTest::newRow("compaction scratch") << "~~Temp.mdb"
                                            << "-";
    }
    void fileNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        const QString code = QStringLiteral(" 12 ");
        QCOMPARE(IsReportFileName(name, code) ? "report" : IsArchiveFileName(name, code) ? "archive" : "-", kind);
        QVERIFY(!(IsReportFileName(name, code) && IsArchiveFileName(name, code)));
    }

    // The first archive of a watch period gets A without a question; a later one asks: Yes overwrites the latest
    // archive (under the name it carries), No writes the first free letter, Cancel writes nothing.
    void archiveLetters_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("written");
        const QString a = "r318_TST_1920A.mdb", b = "r318_TST_1920B.mdb", c = "r318_TST_1920C.mdb";
        const int yes = int(Prompt::Answer::Yes), no = int(Prompt::Answer::No), cancel = int(Prompt::Answer::Cancel);
        QTest::newRow("first") << QStringList{} << -1 << a;
        QTest::newRow("second, Yes") << QStringList{a} << yes << a;
        QTest::newRow("second, No") << QStringList{a} << no << b;
        QTest::newRow("second, Cancel") << QStringList{a} << cancel << "";
        QTest::newRow("A and C, Yes") << QStringList{a, c} << yes << a;
        QTest::newRow("A and C, No") << QStringList{a, c} << no << b;
        QTest::newRow("upper-case A, Yes") << QStringList{"R318_TST_1920A.MDB"} << yes << "R318_TST_1920A.MDB";
        QTest::newRow("upper-case A, No") << QStringList{"R318_TST_1920A.MDB"} << no << b;
    }
    void archiveLetters()
    {
        QFETCH(QStringList, present);
        QFETCH(int, answer);
        QFETCH(QString, written);
        report();
        for (const QString& name : present)
            writeBytes(at(name), kOld);
        p.shown.clear();
        if (answer >= 0)
            p.queue(Prompt::Answer(answer));

        const ArchiveOutcome outcome = ArchiveReport(s, p);
        QCOMPARE(outcome.written, !written.isEmpty());
        if (!present.isEmpty()) {
            const Prompt::Message& q = p.shown.first();
            QCOMPARE(q.text, "A previous archive for the current reporting period exists.\n"
                             "Click 'Yes' to overwright existing file.\n"
                             "Click 'No' to create a new archive file.\n"
                             "Click 'Cancel' to abort save.");
            QVERIFY(q.title == "Save Archive" && q.buttons == Prompt::Buttons::YesNoCancel &&
                    q.icon == Prompt::Icon::Question);
        }
        QCOMPARE(p.shown.size(), int(!present.isEmpty()) + int(!written.isEmpty()));
        QStringList expected = kReportAndBackup + present;
        if (!written.isEmpty()) {
            QCOMPARE(p.shown.last().text, "File saved as " + native(at(written)) + "\n");
            QVERIFY(p.shown.last().icon == Prompt::Icon::Warning && p.shown.last().title.isEmpty());
            QCOMPARE(pubName(at(written)), QVariant("Current"));
            expected << written;
        }
        expected.removeDuplicates();
        expected.sort();
        QCOMPARE(files(d), expected);
        for (const QString& name : present) {
            if (name != written)
                QCOMPARE(bytes(at(name)), kOld);
        }
    }

    // With A to Z taken neither Archive nor Start a New writes anything, and the report stays as it was.
    void tooManyArchives()
    {
        report();
        for (char letter = 'A'; letter <= 'Z'; ++letter)
            writeBytes(at(QStringLiteral("r318_TST_1920%1.mdb").arg(QLatin1Char(letter))), kOld);
        const QStringList before = files(d);
        const auto main = snapshot(s.CurrentDBPath);
        const QStringList model = modelLines(s.model);
        for (const QString op : {"archive", "start new"}) {
            p.shown.clear();
            QVERIFY(op == "archive" ? !ArchiveReport(s, p).written : !StartNewReport(s, p).started);
            QCOMPARE(p.shown.size(), 1);
            QCOMPARE(p.shown.first().text,
                     "Too many Archive files for this year.\nSuggest deleting some earlier ones.");
            QVERIFY(p.shown.first().title == "Name archive file" && p.shown.first().icon == Prompt::Icon::Warning);
            QCOMPARE(files(d), before);
            QCOMPARE(snapshot(s.CurrentDBPath), main);
            QCOMPARE(modelLines(s.model), model);
        }
    }

    // Start a New: the report becomes the next archive of its watch period ("ff"/"tt" for a missing date), a new
    // empty report with its backup copy takes its place, the model is emptied; nothing is asked.
    void startNew_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("archive");
        QTest::newRow("no dates") << ""
                                  << ""
                                  << "r318_TST_ffttA.mdb";
        QTest::newRow("no to-date") << "Sep 1, 2019"
                                    << ""
                                    << "r318_TST_19ttA.mdb";
        QTest::newRow("no from-date") << ""
                                      << "Aug 31, 2020"
                                      << "r318_TST_ff20A.mdb";
    }
    void startNew()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, archive);
        report(QStringLiteral("Old report"));
        s.model.FromDate = from;
        s.model.ToDate = to;
        const StartNewOutcome outcome = StartNewReport(s, p);
        QVERIFY(outcome.started && !outcome.archiveClosed);
        QCOMPARE(p.shown.size(), 0);
        QCOMPARE(files(d), QStringList({"r318_TST.bak", "r318_TST.mdb", archive}));
        QCOMPARE(pubName(at(archive)), QVariant("Old report"));
        QCOMPARE(value(at(archive), "SELECT From_Date FROM Misc").toString(), from);
        QVERIFY(pubName(s.CurrentDBPath).isNull());
        QCOMPARE(value(s.CurrentDBPath, "SELECT count(*) FROM Officers"), QVariant(100));
        QCOMPARE(bytes(s.CurrentBakPath), bytes(s.CurrentDBPath));
        QVERIFY(s.model.PubName.isEmpty() && s.model.FromDate.isEmpty() && s.model.officerCount() == 100);
        QCOMPARE(s.model.SquadronCode, "TST");
    }

    // A failing step of Start a New stops it with a warning naming the report and the reason; the report, its
    // backup copy and the model stay as they were, and no archive or scratch file is left.
    void startNewStepFails_data()
    {
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("new report not made") << "copy"
                                             << ".tmp";
        QTest::newRow("report not renamed to the archive") << "rename"
                                                           << "_ffttA.mdb";
        QTest::newRow("new report not moved in") << "rename"
                                                 << "r318_TST.mdb";
        QTest::newRow("new backup copy not moved in") << "rename"
                                                      << "r318_TST.bak";
    }
    void startNewStepFails()
    {
        QFETCH(QString, op);
        QFETCH(QString, suffix);
        openReport(s, d);
        s.model.PubName = QStringLiteral("Kept");
        QVERIFY(WriteReport(s));
        const auto main = snapshot(s.CurrentDBPath);
        const QByteArray bak = bytes(s.CurrentBakPath);
        const QStringList model = modelLines(s.model);
        {
            FailOnce failing(op, suffix);
            QVERIFY(!StartNewReport(s, p).started);
        }
        QVERIFY(p.told(Prompt::Icon::Warning, {"simulated failure", native(s.CurrentDBPath), "unchanged"}));
        QCOMPARE(files(d), kReportAndBackup);
        QCOMPARE(snapshot(s.CurrentDBPath), main);
        QCOMPARE(bytes(s.CurrentBakPath), bak);
        QCOMPARE(modelLines(s.model), model);
    }

    // Start a New while an archive is open closes the archive first, keeping what was edited in it; the new
    // report is started from the current report, which becomes the next archive.
    void startNewWhileArchiveOpen()
    {
        report();
        const QString a = at("r318_TST_1920A.mdb");
        QVERIFY(ArchiveReport(s, p).written);
        QVERIFY(OpenArchiveFile(s, a, p) && LoadReport(s));
        QCOMPARE(s.CurrentBakPath, at("r318_TST_1920A.bak"));
        s.model.PubName = QStringLiteral("Edited in the archive");

        const StartNewOutcome outcome = StartNewReport(s, p);
        QVERIFY(outcome.archiveClosed && outcome.started);
        QCOMPARE(s.CurrentDBPath, s.ReportDBPath);
        QCOMPARE(s.CurrentBakPath, s.ReportBakPath);
        QCOMPARE(pubName(a), QVariant("Edited in the archive"));
        QCOMPARE(pubName(at("r318_TST_1920B.mdb")), QVariant("Current"));
        QVERIFY(pubName(s.ReportDBPath).isNull());
        QCOMPARE(files(d), QStringList({"r318_TST.bak", "r318_TST.mdb", "r318_TST_1920A.mdb", "r318_TST_1920B.mdb"}));
    }

    // Replace Current With Archive: the archive (saved first) and its backup copy take the places of the report
    // and its backup copy. Any failing step leaves both as they were, the archive open, and says why.
    void replaceCurrent_data()
    {
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("replaced") << ""
                                  << "";
        QTest::newRow("copy fails") << "copy"
                                    << ".tmp";
        QTest::newRow("backup copy not moved in") << "rename"
                                                  << "r318_TST.bak";
        QTest::newRow("report not replaced") << "rename"
                                             << "r318_TST.mdb";
    }
    void replaceCurrent()
    {
        QFETCH(QString, op);
        QFETCH(QString, suffix);
        report();
        const QString a = at("r318_TST_1920A.mdb");
        QVERIFY(ArchiveReport(s, p).written);
        QVERIFY(OpenArchiveFile(s, a, p) && LoadReport(s));
        s.model.PubName = QStringLiteral("Archive saved");
        QVERIFY(Save(s, p));
        s.model.PubName = QStringLiteral("Archive edited");
        const QByteArray main = bytes(s.ReportDBPath), bak = bytes(s.ReportBakPath);
        p.shown.clear();

        bool replaced = false;
        {
            FailOnce failing(op, suffix);
            replaced = ReplaceCurrentWithArchive(s, p);
        }
        QCOMPARE(replaced, op.isEmpty());
        QCOMPARE(files(d), QStringList({"r318_TST.bak", "r318_TST.mdb", "r318_TST_1920A.bak", "r318_TST_1920A.mdb"}));
        QCOMPARE(pubName(a), QVariant("Archive edited"));
        if (replaced) {
            QCOMPARE(p.shown.size(), 0);
            QVERIFY(s.CurrentDBPath == s.ReportDBPath && s.CurrentBakPath == s.ReportBakPath);
            QCOMPARE(pubName(s.ReportDBPath), QVariant("Archive edited"));
            QCOMPARE(pubName(s.ReportBakPath), QVariant("Archive saved"));
        } else {
            QVERIFY(p.told(Prompt::Icon::Warning, {"simulated failure", native(s.ReportDBPath), "unchanged"}));
            QVERIFY(s.CurrentDBPath == a && s.CurrentBakPath == at("r318_TST_1920A.bak"));
            QCOMPARE(bytes(s.ReportDBPath), main);
            QCOMPARE(bytes(s.ReportBakPath), bak);
        }
    }

    // An opened archive has its own revert point: Revert after a Save returns exactly to the saved state.
    // Closing it saves it and removes its backup copy.
    void revertAndCloseArchive()
    {
        report();
        const QString a = at("r318_TST_1920A.mdb");
        QVERIFY(ArchiveReport(s, p).written);
        QVERIFY(OpenArchiveFile(s, a, p) && LoadReport(s));
        fillModel(s.model);
        QVERIFY(Save(s, p));
        const QStringList saved = modelLines(s.model);
        s.model.PubName = QStringLiteral("Draft");
        QVERIFY(WriteReport(s));
        s.model.NoMM = 999;
        QVERIFY(Revert(s, p));
        QCOMPARE(modelLines(s.model), saved);
        QCOMPARE(bytes(s.CurrentDBPath), bytes(s.CurrentBakPath));

        s.model.PubName = QStringLiteral("Closed");
        QVERIFY(CloseArchive(s, p));
        QVERIFY(s.CurrentDBPath == s.ReportDBPath && s.CurrentBakPath == s.ReportBakPath);
        QCOMPARE(pubName(a), QVariant("Closed"));
        QCOMPARE(pubName(s.ReportDBPath), QVariant("Current"));
        QCOMPARE(files(d), QStringList({"r318_TST.bak", "r318_TST.mdb", "r318_TST_1920A.mdb"}));
    }
};

QTEST_GUILESS_MAIN(TestArchives)
#include "tst_archives.moc"

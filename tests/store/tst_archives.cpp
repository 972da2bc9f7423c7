// Archives: their letters, archiving, Start a New R-318, opening, closing and replacing the current
// report with an archive; a failing file operation never loses the report.

#include "FailingReportFiles.h"
#include "ReportFixture.h"

#include "store/ReportArchive.h"
#include "store/ReportDatabase.h"
#include "store/ReportFile.h"
#include "store/ReportIO.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <tuple>

using namespace ReportFixture;

namespace {

// Only the first operation that matches fails: undoing a step by the same operation works.
struct FailOnce : FailingReportFiles
{
    using FailingReportFiles::FailingReportFiles;
    bool copy(const QString& f, const QString& t, QString* why) override
    {
        return once(FailingReportFiles::copy(f, t, why));
    }
    bool rename(const QString& f, const QString& t, QString* why) override
    {
        return once(FailingReportFiles::rename(f, t, why));
    }
    bool once(bool done) { return done || (op.clear(), false); }
};

QVariant pubName(const QString& path)
{
    return value(path, QStringLiteral("SELECT PubName FROM Misc"));
}

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
        std::tie(s.model.FromDate, s.model.ToDate, s.model.PubName) = std::tie("Sep 1, 2019", "Aug 31, 2020", pub);
        QVERIFY(Save(s, p));
    }
    // That report archived as A, and the archive opened and loaded.
    void openArchive()
    {
        report();
        QVERIFY(ArchiveReport(s, p).written);
        QVERIFY(OpenArchiveFile(s, at("r318_TST_1920A.mdb"), p) && LoadReport(s));
        QCOMPARE(s.CurrentBakPath, at("r318_TST_1920A.bak"));
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

    // The first archive of a watch period gets A without a question; a later one asks: Yes overwrites the latest
    // archive (under the name it carries), No writes the first free letter, Cancel writes nothing.
    void archiveLetters_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("written");
        const QString a = "r318_TST_1920A.mdb", b = "r318_TST_1920B.mdb", c = "r318_TST_1920C.mdb";
        const QString upperA = "R318_TST_1920A.MDB";
        const int yes = int(Prompt::Answer::Yes), no = int(Prompt::Answer::No), cancel = int(Prompt::Answer::Cancel);
        QTest::newRow("first") << QStringList{} << -1 << a;
        QTest::newRow("second, Yes") << QStringList{a} << yes << a;
        QTest::newRow("second, No") << QStringList{a} << no << b;
        QTest::newRow("second, Cancel") << QStringList{a} << cancel << "";
        QTest::newRow("A and C, Yes") << QStringList{a, c} << yes << a;
        QTest::newRow("A and C, No") << QStringList{a, c} << no << b;
        QTest::newRow("upper-case A, Yes") << QStringList{upperA} << yes << upperA;
        QTest::newRow("upper-case A, No") << QStringList{upperA} << no << b;
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

        QCOMPARE(ArchiveReport(s, p).written, !written.isEmpty());
        QCOMPARE(p.shown.size(), int(!present.isEmpty()) + int(!written.isEmpty()));
        if (!present.isEmpty()) {
            const Prompt::Message& q = p.shown.first();
            QCOMPARE(q.text, "A previous archive for the current reporting period exists.\n"
                             "Click 'Yes' to overwright existing file.\n"
                             "Click 'No' to create a new archive file.\n"
                             "Click 'Cancel' to abort save.");
            QVERIFY(q.title == "Save Archive" && q.buttons == Prompt::Buttons::YesNoCancel &&
                    q.icon == Prompt::Icon::Question);
        }
        QStringList expected = kReportAndBackup + present;
        if (!written.isEmpty()) {
            QCOMPARE(p.shown.last().text, "File saved as " + QDir::toNativeSeparators(at(written)) + "\n");
            QVERIFY(p.shown.last().icon == Prompt::Icon::Warning && p.shown.last().title.isEmpty());
            QCOMPARE(pubName(at(written)), QVariant("Current"));
            expected << written;
        }
        expected.removeDuplicates();
        expected.sort();
        QCOMPARE(files(d), expected);
        for (const QString& name : present)
            QVERIFY(name == written || bytes(at(name)) == kOld);
    }

    // With A to Z taken neither Archive nor Start a New writes anything, and the report stays as it was.
    void tooManyArchives()
    {
        report();
        for (char letter = 'A'; letter <= 'Z'; ++letter)
            writeBytes(at(QStringLiteral("r318_TST_1920%1.mdb").arg(QLatin1Char(letter))), kOld);
        const QStringList before = files(d), model = modelLines(s.model);
        const auto main = snapshot(s.CurrentDBPath);
        for (const bool archive : {true, false}) {
            p.shown.clear();
            QVERIFY(archive ? !ArchiveReport(s, p).written : !StartNewReport(s, p).started);
            QCOMPARE(p.texts(),
                     QStringList("Too many Archive files for this year.\nSuggest deleting some earlier ones."));
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
        for (const auto& [from, to, archive] : {std::array{"", "", "r318_TST_ffttA.mdb"},
                                                {"Sep 1, 2019", "", "r318_TST_19ttA.mdb"},
                                                {"", "Aug 31, 2020", "r318_TST_ff20A.mdb"}})
            QTest::newRow(archive) << QString(from) << QString(to) << QString(archive);
    }
    void startNew()
    {
        QFETCH(QString, from);
        QFETCH(QString, archive);
        report(QStringLiteral("Old report"));
        s.model.FromDate = from;
        QFETCH(QString, to);
        s.model.ToDate = to;
        const StartNewOutcome outcome = StartNewReport(s, p);
        QVERIFY(outcome.started && !outcome.archiveClosed && p.shown.isEmpty());
        QCOMPARE(files(d), kReportAndBackup + QStringList(archive));
        QCOMPARE(pubName(at(archive)), QVariant("Old report"));
        QCOMPARE(value(at(archive), "SELECT From_Date FROM Misc").toString(), from);
        QVERIFY(pubName(s.CurrentDBPath).isNull());
        QCOMPARE(value(s.CurrentDBPath, "SELECT count(*) FROM Officers"), QVariant(100));
        QCOMPARE(bytes(s.CurrentBakPath), bytes(s.CurrentDBPath));
        QVERIFY(s.model.PubName.isEmpty() && s.model.FromDate.isEmpty() && s.model.officerCount() == 100);
        QCOMPARE(s.model.SquadronCode, "TST");
    }

    // A failing step of Start a New stops it with a warning naming the report and the reason; the report, its
    // backup copy and the model stay as they were, and no archive or scratch file is left. Replace Current With
    // Archive: the archive (saved first) and its backup copy take the places of the report and its backup copy;
    // any failing step leaves both as they were and the archive open.
    void stepFails_data()
    {
        QTest::addColumn<bool>("replace");
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("suffix");
        for (const auto& [replace, name, op, suffix] :
             {std::tuple(false, "new report not made", "copy", ".tmp"),
              {false, "report not renamed to the archive", "rename", "_ffttA.mdb"},
              {false, "new report not moved in", "rename", "r318_TST.mdb"},
              {false, "new backup copy not moved in", "rename", "r318_TST.bak"},
              {true, "replaced", "", ""},
              {true, "replace, copy fails", "copy", ".tmp"},
              {true, "replace, backup copy not moved in", "rename", "r318_TST.bak"},
              {true, "replace, report not replaced", "rename", "r318_TST.mdb"}})
            QTest::newRow(name) << replace << QString(op) << QString(suffix);
    }
    void stepFails()
    {
        QFETCH(bool, replace);
        QFETCH(QString, op);
        QFETCH(QString, suffix);
        if (replace) {
            openArchive();
            s.model.PubName = QStringLiteral("Archive saved");
            QVERIFY(Save(s, p));
            s.model.PubName = QStringLiteral("Archive edited");
        } else {
            openReport(s, d);
            s.model.PubName = QStringLiteral("Kept");
            QVERIFY(WriteReport(s));
        }
        const QString a = s.CurrentDBPath, aBak = s.CurrentBakPath;
        const QByteArray main = bytes(s.ReportDBPath);
        const QByteArray bak = bytes(s.ReportBakPath);
        const QStringList model = modelLines(s.model);
        p.shown.clear();
        bool done = false;
        {
            FailOnce failing(op, suffix);
            done = replace ? ReplaceCurrentWithArchive(s, p) : StartNewReport(s, p).started;
        }
        QCOMPARE(done, op.isEmpty());
        QCOMPARE(files(d), kReportAndBackup +
                               (replace ? QStringList({"r318_TST_1920A.bak", "r318_TST_1920A.mdb"}) : QStringList()));
        QVERIFY(!replace || pubName(a) == QVariant("Archive edited"));
        if (done) {
            QVERIFY(p.shown.isEmpty() && s.CurrentDBPath == s.ReportDBPath && s.CurrentBakPath == s.ReportBakPath);
            QCOMPARE(pubName(s.ReportDBPath), QVariant("Archive edited"));
            QCOMPARE(pubName(s.ReportBakPath), QVariant("Archive saved"));
            return;
        }
        QVERIFY(p.told(Prompt::Icon::Warning,
                       {"simulated failure", QDir::toNativeSeparators(s.ReportDBPath), "unchanged"}));
        QVERIFY(s.CurrentDBPath == a && s.CurrentBakPath == aBak);
        QCOMPARE(bytes(s.ReportDBPath), main);
        QCOMPARE(bytes(s.ReportBakPath), bak);
        QCOMPARE(modelLines(s.model), model);
    }

    // An opened archive has its own revert point: Revert after a Save returns exactly to the saved state. Start a
    // New then closes the archive, saving it and removing its backup copy, and the current report becomes the
    // next archive.
    void revertArchiveThenStartNew()
    {
        openArchive();
        fillModel(s.model);
        QVERIFY(Save(s, p));
        const QStringList saved = modelLines(s.model);
        s.model.PubName = QStringLiteral("Draft");
        QVERIFY(WriteReport(s));
        s.model.NoMM = 999;
        QVERIFY(Revert(s, p));
        QCOMPARE(modelLines(s.model), saved);
        QCOMPARE(bytes(s.CurrentDBPath), bytes(s.CurrentBakPath));

        s.model.PubName = QStringLiteral("Edited in the archive");
        const StartNewOutcome outcome = StartNewReport(s, p);
        QVERIFY(outcome.archiveClosed && outcome.started);
        QVERIFY(s.CurrentDBPath == s.ReportDBPath && s.CurrentBakPath == s.ReportBakPath);
        QCOMPARE(pubName(at("r318_TST_1920A.mdb")), QVariant("Edited in the archive"));
        QCOMPARE(pubName(at("r318_TST_1920B.mdb")), QVariant("Current"));
        QVERIFY(pubName(s.ReportDBPath).isNull());
        QCOMPARE(files(d), kReportAndBackup + QStringList({"r318_TST_1920A.mdb", "r318_TST_1920B.mdb"}));
    }
};

QTEST_GUILESS_MAIN(TestArchives)
#include "tst_archives.moc"

// The report file: opening it (files that cannot be opened are never destroyed or replaced silently, a missing
// report file is restored from its backup copy, a file that cannot be set aside or brought up to date says so),
// save, revert and compaction with the backup copy, never losing the report when a file operation fails.

#include "FailingReportFiles.h"
#include "ReportFixture.h"

#include "store/ReportConnection.h"
#include "store/ReportDatabase.h"
#include "store/ReportFile.h"
#include "store/ReportIO.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace ReportFixture;

namespace {

// A file of each kind that cannot serve as the report, made at `path`.
void makeUnusable(const QString& kind, const QString& path)
{
    if (kind == "empty" || kind == "text")
        writeBytes(path, QByteArray(kind == "text" ? "Squadron history notes, not a database.\n" : "").repeated(40));
    else if (kind == "old desktop")
        writeBytes(path, QByteArray("\x00\x01\x00\x00Standard Jet DB", 19) + QByteArray(2029, '\0'));
    else if (kind == "folder")
        QDir().mkpath(path + "/inside");
    else
        write(path);
    if (kind == "damaged") {
        QByteArray b = bytes(path);
        writeBytes(path, b.replace(4096, b.size() - 4096, QByteArray(b.size() - 4096, char(0xA5))));
    } else if (kind == "missing table" || kind == "missing field") {
        exec(path, kind == "missing table" ? "DROP TABLE Recognized" : "ALTER TABLE Officers DROP COLUMN Forder");
    }
}

// Takes away the permission that the kinds "unreadable" and "read-only" lack (or gives it back).
void restrict(const QString& kind, const QString& path, bool on = true)
{
    if (kind == "unreadable" || kind == "read-only")
        QFile::setPermissions(path, !on ? QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                        : (kind == "unreadable" ? QFileDevice::WriteOwner : QFileDevice::ReadOwner));
}

QStringList setAside(const QString& dir, const QString& suffix = "mdb")
{
    return QDir(dir).entryList({"r318_TST.unreadable-*." + suffix}, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
}

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// A report with much text saved and then removed, so that its file has free pages to compact away.
void reportWithFreeSpace(Session& s, const QString& dir)
{
    openReport(s, dir);
    for (QString& t : s.model.ActivityText)
        t = QString(40000, QLatin1Char('w'));
    const bool big = WriteReport(s);
    fillModel(s.model);
    s.model.SubmitURL = kUrl; // as every start refreshes it
    if (!big || !WriteReport(s) || !BackupReport(s))
        qFatal("cannot save");
}

// What the next start finds: OpenReportDatabase on a fresh session, which asks nothing, and the loaded report.
QStringList nextStart(const QString& dir)
{
    Session next;
    setUp(next, dir);
    ScriptedPrompt p;
    if (!OpenReportDatabase(next, {}, p) || !LoadReport(next) || !p.shown.isEmpty())
        return QStringList{QStringLiteral("<cannot open>")} + p.texts();
    return modelLines(next.model);
}

} // namespace

class TestReportFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_top;
    // Every test starts in an empty folder whose name reaches the engine as a file URI and a bound value: quotes,
    // "#", "%", "?", letters beyond ASCII.
    const QString d = m_top.path() + QStringLiteral("/Dan's #1 100% sure? Ünïcødé");
    Session s; // the session under test, its report files in d
    ScriptedPrompt p;

private Q_SLOTS:
    void initTestCase() { ReportConnection::setBusyTimeout(50); }
    void init()
    {
        QDir(d).removeRecursively();
        QVERIFY(QDir().mkpath(d));
        setUp(s, d);
        p.clear();
    }

    // The batch command and the answer No change nothing; Yes sets the file aside, untouched, and starts anew.
    void unusableFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        const char* const rows[][2] = {{"empty", "the file is empty (zero length)"},
                                       {"text", "it is not a report database"},
                                       {"old desktop", "old desktop database format"},
                                       {"damaged", "it is damaged"},
                                       {"missing table", "the table Recognized is missing"},
                                       {"missing field", "the table Officers has no field Forder"},
                                       {"unreadable", "no permission to read it"},
                                       {"read-only", "no permission to write to it"},
                                       {"folder", "it is a folder"}};
        for (const auto& row : rows)
            QTest::newRow(row[0]) << QString(row[0]) << QString(row[1]);
    }
    void unusableFile()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const QString path = s.CurrentDBPath;
        makeUnusable(kind, path);
        const QByteArray before = bytes(path);
        const QStringList filesBefore = files(d);
        restrict(kind, path);
        BatchPrompt batch(Prompt::Answer::Yes); // would say yes to any question: none may be asked
        QString why;
        QVERIFY(!OpenReportDatabase(s, {}, batch, &why));
        QVERIFY2(why.contains(reason) && why.contains(native(path)), qPrintable(why));
        p.queue(Prompt::Answer::No);
        QVERIFY(!OpenReportDatabase(s, {}, p, &why));
        QVERIFY(p.shown.size() == 1 && p.shown[0].buttons == Prompt::Buttons::YesNo);
        QVERIFY(p.told(Prompt::Icon::Warning, {native(path), reason, "Click 'No' to quit; nothing is changed."}));
        restrict(kind, path, false);
        QCOMPARE(files(d), filesBefore);
        QCOMPARE(bytes(path), before);

        restrict(kind, path);
        p.clear();
        p.queue(Prompt::Answer::Yes);
        QVERIFY(OpenReportDatabase(s, {}, p));
        const QStringList aside = setAside(d);
        QVERIFY(aside.size() == 1 && aside[0].size() == QString("r318_TST.unreadable-20240131-154500.mdb").size());
        QVERIFY(p.shown.size() == 1 && p.told(Prompt::Icon::Warning, {aside[0], "start a new report"}));
        restrict(kind, d + u'/' + aside[0], false);
        QCOMPARE(bytes(d + u'/' + aside[0]), before);
        QCOMPARE(bytes(s.CurrentBakPath), bytes(path));
    }

    // A file that cannot be set aside stays as it was, together with its journal, and the user is told why.
    void setAsideFails()
    {
        makeUnusable("text", s.CurrentDBPath);
        writeBytes(s.CurrentDBPath + "-journal", QByteArray(512, 'j'));
        const QStringList before = files(d);
        for (const auto& [failing, text] : {std::pair(".mdb", "could not be set aside: simulated failure of rename"),
                                            {"-journal", "could not go with it (simulated failure of rename"}}) {
            FailingReportFiles failingFiles("rename", failing);
            p.clear();
            p.queue(Prompt::Answer::Yes);
            QString why;
            QVERIFY(!OpenReportDatabase(s, {}, p, &why));
            QVERIFY(p.shown.size() == 2 && p.told(Prompt::Icon::Warning, {text}));
            QVERIFY(why.contains(native(s.CurrentDBPath)));
            QCOMPARE(files(d), before);
        }
    }

    // While another program holds the file the window offers retry or quit; nothing changes until it lets go.
    void lockedFile()
    {
        QVERIFY(OpenReportDatabase(s, {}, p));
        exec(s.CurrentDBPath, "UPDATE Misc SET PubName = 'Kept'");
        const QByteArray before = bytes(s.CurrentDBPath);
        auto lock = std::make_unique<ReportConnection>(s.CurrentDBPath);
        QVERIFY(lock->begin(ReportConnection::Lock::Exclusive));
        p.queue(Prompt::Answer::Retry);
        p.queue(Prompt::Answer::Cancel);
        QVERIFY(!OpenReportDatabase(s, {}, p));
        QVERIFY(p.shown.size() == 2 && p.told(Prompt::Icon::Warning, {"locked by another program"}));
        QCOMPARE(p.shown[1].buttons, Prompt::Buttons::RetryCancel);
        QCOMPARE(bytes(s.CurrentDBPath), before);
        lock.reset();
        QVERIFY(OpenReportDatabase(s, {}, p)); // the other program let go: the file opens and is upgraded
        QCOMPARE(value(s.CurrentDBPath, "SELECT Rostrelv6 || PubName FROM Misc").toString(), "7.0.0Kept");
    }

    // Without either file a new report is made silently; a missing file is restored from its backup copy (a
    // backup copy that cannot be copied back is left alone and nothing replaces it).
    void missingFile()
    {
        QVERIFY(OpenReportDatabase(s, {}, p) && p.shown.isEmpty());
        {
            // The first reopening rebuilds the officer list; a backup copy that cannot follow is reported.
            const QByteArray bak = bytes(s.CurrentBakPath);
            FailingReportFiles failing("copy", ".bak");
            QVERIFY(OpenReportDatabase(s, {}, p));
            QVERIFY(p.shown.size() == 1 &&
                    p.told(Prompt::Icon::Warning, {native(s.CurrentBakPath), "could not be replaced"}));
            QCOMPARE(bytes(s.CurrentBakPath), bak);
        }
        QVERIFY(QFile::remove(s.CurrentBakPath) && QFile::copy(s.CurrentDBPath, s.CurrentBakPath));
        exec(s.CurrentBakPath, "UPDATE Misc SET PubName = 'Last Saved', No_MM = 12");
        const auto saved = snapshot(s.CurrentBakPath);
        QVERIFY(QFile::remove(s.CurrentDBPath));
        p.clear();
        QVERIFY(OpenReportDatabase(s, {}, p));
        QVERIFY(p.shown.size() == 1 &&
                p.told(Prompt::Icon::Information,
                       {"restored from its backup copy", native(s.CurrentDBPath), native(s.CurrentBakPath)}));
        QCOMPARE(snapshot(s.CurrentDBPath), saved);
        QCOMPARE(snapshot(s.CurrentBakPath), saved);
        QCOMPARE(files(d), kReportAndBackup);

        // The batch command does the same; a journal whose file is gone is not applied to the restored file.
        QVERIFY(QFile::remove(s.CurrentDBPath));
        writeBytes(s.CurrentDBPath + "-journal", QByteArray(1024, 'j'));
        BatchPrompt batch;
        QVERIFY(OpenReportDatabase(s, {}, batch));
        QVERIFY(!QFile::exists(s.CurrentDBPath + "-journal"));
        QCOMPARE(snapshot(s.CurrentDBPath), saved);

        QVERIFY(QFile::remove(s.CurrentDBPath));
        {
            FailingReportFiles failing("copy", ".mdb");
            QVERIFY(!OpenReportDatabase(s, {}, p) && p.shown.size() == 2);
            QVERIFY(p.told(Prompt::Icon::Warning, {"could not be restored: simulated failure of copy"}));
            QCOMPARE(snapshot(s.CurrentBakPath), saved);
            QVERIFY(!QFile::exists(s.CurrentDBPath));
        }

        // A backup copy that cannot be opened either is offered to be set aside before a new report is made.
        writeBytes(s.CurrentBakPath, QByteArray());
        p.queue(Prompt::Answer::No);
        QVERIFY(!OpenReportDatabase(s, {}, p));
        QVERIFY(p.told(Prompt::Icon::Warning, {native(s.CurrentBakPath), "zero length", "start a new report"}));
        QCOMPARE(files(d), QStringList({"r318_TST.bak"}));
        p.queue(Prompt::Answer::Yes);
        QVERIFY(OpenReportDatabase(s, {}, p));
        QCOMPARE(setAside(d, "bak").size(), 1);
        QCOMPARE(bytes(s.CurrentBakPath), bytes(s.CurrentDBPath));
    }

    // A save whose backup copy cannot be written, and a revert from a backup copy that is missing or unusable
    // or cannot be copied over the report, warn with the reason; the report keeps what the file held and the
    // backup copy stays as it was.
    void refused_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QByteArray>("backup");
        QTest::addColumn<QString>("reason");
        QTest::newRow("save, read-only backup") << true << QByteArray("read-only") << "read-only";
        QTest::newRow("revert, no backup copy") << false << QByteArray() << "the file does not exist";
        QTest::newRow("revert, not a database") << false << QByteArray("notes") << "not a report database";
        QTest::newRow("revert, read-only report") << false << QByteArray("report") << "read-only";
    }
    void refused()
    {
        QFETCH(bool, save);
        QFETCH(QByteArray, backup);
        QFETCH(QString, reason);
        openReport(s, d);
        s.model.PubName = QStringLiteral("Kept");
        QVERIFY(save || WriteReport(s));
        if (backup == "read-only" || backup == "report")
            QVERIFY(
                QFile::setPermissions(backup == "report" ? s.CurrentDBPath : s.CurrentBakPath, QFileDevice::ReadOwner));
        else if (backup.isNull())
            QVERIFY(QFile::remove(s.CurrentBakPath));
        else
            writeBytes(s.CurrentBakPath, backup);
        const QByteArray bak = bytes(s.CurrentBakPath), mdb = bytes(s.CurrentDBPath);
        QVERIFY(save ? !Save(s, p) : !Revert(s, p));
        QVERIFY(p.shown.size() == 1 && p.told(Prompt::Icon::Warning, {reason}));
        QVERIFY(backup == "report" || p.told(Prompt::Icon::Warning, {native(s.CurrentBakPath)}));
        QVERIFY(value(s.CurrentDBPath, "SELECT PubName FROM Misc") == "Kept" && s.model.PubName == "Kept");
        QVERIFY(save || bytes(s.CurrentDBPath) == mdb);
        QCOMPARE(bytes(s.CurrentBakPath), bak);
        QCOMPARE(files(d).filter(QStringLiteral("~")), QStringList());
    }

    // The compacted copy, made beside the report, replaces the report; the backup copy takes the content
    // uncompacted; scratch files of interrupted runs, which a start never takes for anything, are cleared away.
    // Any step that fails, or a compacted copy that is damaged, leaves the complete report where the next start
    // looks. What fails, which the reason names: a folder where the scratch file goes cannot be deleted, a
    // simulated flush or rename, the damaged compacted copy, or a read-only backup copy.
    void compaction_data()
    {
        QTest::addColumn<QString>("step");
        for (const char* step : {"", "delete", "flush", "rename", "damage", "read-only"})
            QTest::newRow(*step ? step : "compacted") << QString::fromLatin1(step);
    }
    void compaction()
    {
        QFETCH(QString, step);
        reportWithFreeSpace(s, d);
        if (step == "delete")
            QVERIFY(QDir().mkpath(CompactScratchPath(s) + QStringLiteral("/in-the-way")));
        if (step == "read-only")
            QVERIFY(QFile::setPermissions(s.CurrentBakPath, QFileDevice::ReadOwner));
        for (const char* name : {"~~Temp.mdb", "~~Temp.mdb-journal", "~r318_TST.bak.0badf00d.tmp",
                                 "~r318_TST.mdb.12345678.tmp", "~r318_TST.mdb.12345678.tmp-journal"}) {
            if (step.isEmpty())
                writeBytes(s.DataDir + QLatin1String(name), QByteArray(3000, 'x'));
        }
        const QByteArray mdb = bytes(s.CurrentDBPath);
        const auto content = snapshot(s.CurrentDBPath);
        const QStringList saved = modelLines(s.model);
        QVERIFY(OpenReportDatabase(s, {}, p) && p.shown.isEmpty());
        QString why;
        {
            FailingReportFiles failing(step);
            if (step == "damage") // the compacted copy, before it is flushed
                failing.beforeFlush = [](const QString& path) {
                    writeBytes(path, bytes(path).replace(4096, 4096, QByteArray(4096, 'Z')));
                };
            QCOMPARE(CompactReportDatabase(s, &why), step.isEmpty());
            QVERIFY2(why.contains(step), qPrintable(why));
        }
        QCOMPARE(snapshot(s.CurrentBakPath), content);
        QVERIFY(QFile::setPermissions(s.CurrentBakPath, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QCOMPARE(nextStart(d), saved);
        if (!step.isEmpty()) {
            QCOMPARE(bytes(s.CurrentDBPath), mdb);
            QCOMPARE(QFile::exists(CompactScratchPath(s)), step == "delete");
            return;
        }
        QCOMPARE(CompactScratchPath(s), s.DataDir + QStringLiteral("~~Temp.mdb"));
        QVERIFY(files(m_top.path()).isEmpty());
        QCOMPARE(files(d), kReportAndBackup);
        QVERIFY(QFileInfo(s.CurrentDBPath).size() < mdb.size() / 4);
        QCOMPARE(QFileInfo(s.CurrentBakPath).size(), mdb.size());
        QCOMPARE(snapshot(s.CurrentDBPath), content);

        // Without a report there is nothing to compact, and nothing is made.
        QVERIFY(QFile::remove(s.CurrentDBPath));
        QVERIFY(!CompactReportDatabase(s, &why));
        QVERIFY2(why.contains(QStringLiteral("does not exist")), qPrintable(why));
        QCOMPARE(files(d), QStringList({QStringLiteral("r318_TST.bak")}));
    }
};

QTEST_GUILESS_MAIN(TestReportFile)
#include "tst_reportfile.moc"

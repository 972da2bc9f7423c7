// Save, revert and compaction of the report file: the backup copy, and never losing the report when a file
// operation fails.

#include "ReportFixture.h"
#include "ScriptedPrompt.h"

#include "store/ReportConnection.h"
#include "store/ReportDatabase.h"
#include "store/ReportFile.h"
#include "store/ReportFiles.h"
#include "store/ReportIO.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace ReportFixture;

namespace {

// File operations that fail on request: operation `op` ("copy", "rename", "remove", "flush") fails when the
// path it works on (the target for copy and rename) ends with `suffix`. Every call is logged.
class FailingFiles : public ReportFiles
{
public:
    QString op;
    QString suffix;
    QStringList log;
    std::function<void(const QString&)> beforeFlush;

    bool copy(const QString& from, const QString& to, QString* why) override
    {
        log << QStringLiteral("copy %1 %2").arg(QFileInfo(from).fileName(), QFileInfo(to).fileName());
        return hit(QStringLiteral("copy"), to, why) ? false : ReportFiles::copy(from, to, why);
    }
    bool rename(const QString& from, const QString& to, QString* why) override
    {
        log << QStringLiteral("rename %1 %2").arg(from, to);
        return hit(QStringLiteral("rename"), to, why) ? false : ReportFiles::rename(from, to, why);
    }
    bool remove(const QString& path, QString* why) override
    {
        return hit(QStringLiteral("remove"), path, why) ? false : ReportFiles::remove(path, why);
    }
    bool flush(const QString& path, QString* why) override
    {
        if (beforeFlush)
            beforeFlush(path);
        return hit(QStringLiteral("flush"), path, why) ? false : ReportFiles::flush(path, why);
    }

private:
    bool hit(const QString& operation, const QString& path, QString* why) const
    {
        if (operation != op || !path.endsWith(suffix))
            return false;
        if (why)
            *why = QStringLiteral("simulated failure of %1 on %2").arg(operation, path);
        return true;
    }
};

// A report with much text saved and then removed, so that its file has free pages to compact away.
void reportWithFreeSpace(Session& s, const QString& dir)
{
    openReport(s, dir);
    for (QString& t : s.model.ActivityText)
        t = QString(40000, QLatin1Char('w'));
    if (!WriteReport(s))
        qFatal("cannot save");
    fillModel(s.model);
    s.model.SubmitURL = kUrl; // as every start refreshes it
    if (!WriteReport(s) || !BackupReport(s))
        qFatal("cannot save");
}

// What the next start finds: OpenReportDatabase on a fresh session, and the loaded report.
QStringList nextStart(const QString& dir, ScriptedPrompt& p)
{
    Session next;
    setUp(next, dir);
    if (!OpenReportDatabase(next, {}, p) || !LoadReport(next))
        return {QStringLiteral("<cannot open>")};
    return modelLines(next.model);
}

} // namespace

class TestReportFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ReportConnection::setBusyTimeout(50); }

    void saveMakesBackupCopy();
    void saveBackupFailureReported();
    void saveRefusesReadOnlyBackup();
    void revertAfterSave();
    void revertWithoutSave();
    void revertRefusesUnusableBackup_data();
    void revertRefusesUnusableBackup();
    void revertCopyFailureReported();

    void compaction();
    void compactionScratchBesideReport();
    void compactionRemovesLeftOverScratch();
    void compactionScratchUnwritable();
    void compactionStepFails_data();
    void compactionStepFails();
    void compactionRefusesDamagedCopy();
    void compactionWithoutReport();
    void awkwardFolderName();
};

void TestReportFile::saveMakesBackupCopy()
{
    QTemporaryDir dir;
    Session s;
    openReport(s, dir.path());
    fillModel(s.model);
    ScriptedPrompt p;
    QVERIFY(Save(s, p));
    QVERIFY(p.shown.isEmpty());
    QCOMPARE(bytes(s.CurrentBakPath), bytes(s.CurrentDBPath));
    QCOMPARE(value(s.CurrentBakPath, QStringLiteral("SELECT PubName FROM Misc")).toString(), s.model.PubName);
    QCOMPARE(files(dir.path()), QStringList({QStringLiteral("r318_TST.bak"), QStringLiteral("r318_TST.mdb")}));
}

void TestReportFile::saveBackupFailureReported()
{
    QTemporaryDir dir;
    Session s;
    openReport(s, dir.path());
    const QByteArray bak = bytes(s.CurrentBakPath);
    s.model.PubName = QStringLiteral("In the file");
    FailingFiles failing;
    failing.op = QStringLiteral("copy");
    failing.suffix = QStringLiteral(".bak");
    ScopedReportFiles scoped(&failing);
    ScriptedPrompt p;
    QVERIFY(!Save(s, p));
    QCOMPARE(p.shown.size(), 1);
    QCOMPARE(p.shown.first().icon, Prompt::Icon::Warning);
    QVERIFY(p.shown.first().text.contains(QDir::toNativeSeparators(s.CurrentBakPath)));
    QVERIFY(p.shown.first().text.contains(QStringLiteral("simulated failure")));
    QCOMPARE(value(s.CurrentDBPath, QStringLiteral("SELECT PubName FROM Misc")).toString(),
             QStringLiteral("In the file"));
    QCOMPARE(bytes(s.CurrentBakPath), bak);
}

void TestReportFile::saveRefusesReadOnlyBackup()
{
    QTemporaryDir dir;
    Session s;
    openReport(s, dir.path());
    const QByteArray bak = bytes(s.CurrentBakPath);
    QVERIFY(QFile::setPermissions(s.CurrentBakPath, QFileDevice::ReadOwner));
    s.model.PubName = QStringLiteral("In the file");
    ScriptedPrompt p;
    QVERIFY(!Save(s, p));
    QCOMPARE(p.shown.size(), 1);
    QVERIFY2(p.shown.first().text.contains(QStringLiteral("read-only")), qPrintable(p.shown.first().text));
    QVERIFY(p.shown.first().text.contains(QDir::toNativeSeparators(s.CurrentBakPath)));
    QCOMPARE(bytes(s.CurrentBakPath), bak);
    QCOMPARE(files(dir.path()), QStringList({QStringLiteral("r318_TST.bak"), QStringLiteral("r318_TST.mdb")}));
}

void TestReportFile::revertAfterSave()
{
    QTemporaryDir dir;
    Session s;
    openReport(s, dir.path());
    fillModel(s.model);
    ScriptedPrompt p;
    QVERIFY(Save(s, p));
    const QStringList saved = modelLines(s.model);

    // Edits saved into the file (as before a preview), but not saved by the user.
    s.model.PubName = QStringLiteral("Draft");
    s.model.OffLast[2] = QStringLiteral("Draft");
    s.model.RecLast[5][1] = QStringLiteral("Draft");
    QVERIFY(WriteReport(s));
    s.model.NoMM = 999; // and an edit only in the model

    QVERIFY(Revert(s, p));
    QVERIFY(p.shown.isEmpty());
    QCOMPARE(modelLines(s.model), saved);
    QCOMPARE(bytes(s.CurrentDBPath), bytes(s.CurrentBakPath));
}

void TestReportFile::revertWithoutSave()
{
    QTemporaryDir dir;
    Session s;
    openReport(s, dir.path());
    const QStringList atStart = modelLines(s.model);
    fillModel(s.model);
    QVERIFY(WriteReport(s));
    ScriptedPrompt p;
    QVERIFY(Revert(s, p));
    QCOMPARE(modelLines(s.model), atStart);
}

void TestReportFile::revertRefusesUnusableBackup_data()
{
    QTest::addColumn<QByteArray>("backup");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << QByteArray() << "the file does not exist";
    QTest::newRow("zero length") << QByteArray("") << "zero length";
    QTest::newRow("not a database") << QByteArray("notes") << "not a report database";
}

void TestReportFile::revertRefusesUnusableBackup()
{
    QFETCH(QByteArray, backup);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    Session s;
    openReport(s, dir.path());
    QVERIFY(QFile::remove(s.CurrentBakPath));
    if (!backup.isNull()) {
        QFile f(s.CurrentBakPath);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(backup);
    }
    s.model.PubName = QStringLiteral("Kept");
    QVERIFY(WriteReport(s));
    const QByteArray before = bytes(s.CurrentDBPath);
    ScriptedPrompt p;
    QVERIFY(!Revert(s, p));
    QCOMPARE(p.shown.size(), 1);
    QCOMPARE(p.shown.first().icon, Prompt::Icon::Warning);
    QVERIFY2(p.shown.first().text.contains(reason), qPrintable(p.shown.first().text));
    QVERIFY(p.shown.first().text.contains(QDir::toNativeSeparators(s.CurrentBakPath)));
    QCOMPARE(bytes(s.CurrentDBPath), before);
    QCOMPARE(s.model.PubName, QStringLiteral("Kept"));
}

void TestReportFile::revertCopyFailureReported()
{
    QTemporaryDir dir;
    Session s;
    openReport(s, dir.path());
    s.model.PubName = QStringLiteral("Kept");
    QVERIFY(WriteReport(s));
    const QByteArray before = bytes(s.CurrentDBPath);
    FailingFiles failing;
    failing.op = QStringLiteral("copy");
    failing.suffix = QStringLiteral(".mdb");
    ScopedReportFiles scoped(&failing);
    ScriptedPrompt p;
    QVERIFY(!Revert(s, p));
    QCOMPARE(p.shown.size(), 1);
    QVERIFY(p.shown.first().text.contains(QStringLiteral("simulated failure")));
    QCOMPARE(bytes(s.CurrentDBPath), before);
    QCOMPARE(s.model.PubName, QStringLiteral("Kept"));
}

void TestReportFile::compaction()
{
    QTemporaryDir dir;
    Session s;
    reportWithFreeSpace(s, dir.path());
    const auto content = snapshot(s.CurrentDBPath);
    const qint64 sizeBefore = QFileInfo(s.CurrentDBPath).size();
    QString why;
    QVERIFY2(CompactReportDatabase(s, &why), qPrintable(why));

    // The report is the compacted copy; the backup copy holds the same content uncompacted.
    QVERIFY(QFileInfo(s.CurrentDBPath).size() < sizeBefore / 4);
    QCOMPARE(QFileInfo(s.CurrentBakPath).size(), sizeBefore);
    QCOMPARE(snapshot(s.CurrentDBPath), content);
    QCOMPARE(snapshot(s.CurrentBakPath), content);
    QCOMPARE(CheckReportFile(s.CurrentDBPath).state, ReportFileCheck::State::Usable);
    QCOMPARE(files(dir.path()), QStringList({QStringLiteral("r318_TST.bak"), QStringLiteral("r318_TST.mdb")}));

    // The next start opens it as it is.
    const QStringList saved = modelLines(s.model);
    ScriptedPrompt p;
    QCOMPARE(nextStart(dir.path(), p), saved);
    QVERIFY(p.shown.isEmpty());
}

void TestReportFile::compactionScratchBesideReport()
{
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    Session s;
    reportWithFreeSpace(s, dir.path());
    const QString oldCurrent = QDir::currentPath();
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    FailingFiles recorder;
    ScopedReportFiles scoped(&recorder);
    const bool done = CompactReportDatabase(s);
    QDir::setCurrent(oldCurrent);
    QVERIFY(done);
    QCOMPARE(CompactScratchPath(s), s.DataDir + QStringLiteral("~~Temp.mdb"));
    QVERIFY(recorder.log.contains(QStringLiteral("rename %1 %2").arg(CompactScratchPath(s), s.CurrentDBPath)));
    QVERIFY(files(elsewhere.path()).isEmpty());
}

void TestReportFile::compactionRemovesLeftOverScratch()
{
    QTemporaryDir dir;
    Session s;
    reportWithFreeSpace(s, dir.path());
    const auto content = snapshot(s.CurrentDBPath);
    for (const QString& name :
         {QStringLiteral("~~Temp.mdb"), QStringLiteral("~~Temp.mdb-journal"),
          QStringLiteral("~r318_TST.bak.0badf00d.tmp"), QStringLiteral("~r318_TST.mdb.12345678.tmp"),
          QStringLiteral("~r318_TST.mdb.12345678.tmp-journal")}) {
        QFile f(s.DataDir + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(3000, 'x'));
    }
    // A start never takes the scratch file for anything.
    ScriptedPrompt p;
    QVERIFY(OpenReportDatabase(s, {}, p));
    QVERIFY(p.shown.isEmpty());
    QVERIFY(QFile::exists(s.DataDir + QStringLiteral("~~Temp.mdb")));

    QVERIFY(CompactReportDatabase(s));
    QCOMPARE(files(dir.path()), QStringList({QStringLiteral("r318_TST.bak"), QStringLiteral("r318_TST.mdb")}));
    QCOMPARE(snapshot(s.CurrentDBPath), content);
}

void TestReportFile::compactionScratchUnwritable()
{
    QTemporaryDir dir;
    Session s;
    reportWithFreeSpace(s, dir.path());
    const QByteArray mdb = bytes(s.CurrentDBPath);
    const QByteArray bak = bytes(s.CurrentBakPath);
    // Nothing can be written where the scratch file goes.
    QVERIFY(QDir().mkpath(CompactScratchPath(s) + QStringLiteral("/in-the-way")));
    QString why;
    QVERIFY(!CompactReportDatabase(s, &why));
    QVERIFY(!why.isEmpty());
    QCOMPARE(bytes(s.CurrentDBPath), mdb);
    QCOMPARE(bytes(s.CurrentBakPath), bak);

    const QStringList saved = modelLines(s.model);
    ScriptedPrompt p;
    QCOMPARE(nextStart(dir.path(), p), saved);
    QVERIFY(p.shown.isEmpty());
}

void TestReportFile::compactionStepFails_data()
{
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("rename of the compacted copy") << "rename"
                                                  << "r318_TST.mdb";
    QTest::newRow("backup copy") << "copy"
                                 << "r318_TST.bak";
    QTest::newRow("flush of the compacted copy") << "flush"
                                                 << "~~Temp.mdb";
    QTest::newRow("removal of a left-over scratch file") << "remove"
                                                         << "~~Temp.mdb";
}

void TestReportFile::compactionStepFails()
{
    QFETCH(QString, op);
    QFETCH(QString, suffix);
    QTemporaryDir dir;
    Session s;
    reportWithFreeSpace(s, dir.path());
    const auto content = snapshot(s.CurrentDBPath);
    const QStringList saved = modelLines(s.model);
    {
        FailingFiles failing;
        failing.op = op;
        failing.suffix = suffix;
        ScopedReportFiles scoped(&failing);
        QString why;
        QVERIFY(!CompactReportDatabase(s, &why));
        QVERIFY2(why.contains(QStringLiteral("simulated failure")), qPrintable(why));
    }
    // The complete report is still where the next start looks, and opens without a question.
    QCOMPARE(snapshot(s.CurrentDBPath), content);
    QCOMPARE(snapshot(s.CurrentBakPath), content);
    ScriptedPrompt p;
    QCOMPARE(nextStart(dir.path(), p), saved);
    QVERIFY(p.shown.isEmpty());
    QVERIFY(!QFile::exists(CompactScratchPath(s)) || op == QLatin1String("remove"));
}

void TestReportFile::compactionRefusesDamagedCopy()
{
    QTemporaryDir dir;
    Session s;
    reportWithFreeSpace(s, dir.path());
    const QByteArray mdb = bytes(s.CurrentDBPath);
    FailingFiles damaging;
    damaging.beforeFlush = [](const QString& path) {
        QFile f(path);
        if (f.open(QIODevice::ReadWrite)) {
            f.seek(4096);
            f.write(QByteArray(4096, char(0x5A)));
        }
    };
    ScopedReportFiles scoped(&damaging);
    QString why;
    QVERIFY(!CompactReportDatabase(s, &why));
    QVERIFY2(why.contains(QStringLiteral("damaged")), qPrintable(why));
    QCOMPARE(bytes(s.CurrentDBPath), mdb);
    QVERIFY(!QFile::exists(CompactScratchPath(s)));
}

void TestReportFile::compactionWithoutReport()
{
    QTemporaryDir dir;
    Session s;
    setUp(s, dir.path());
    QString why;
    QVERIFY(!CompactReportDatabase(s, &why));
    QVERIFY(why.contains(QStringLiteral("does not exist")));
    QVERIFY(files(dir.path()).isEmpty());
}

void TestReportFile::awkwardFolderName()
{
    // Folder names reach the engine as file URIs and as bound values: quotes, "#", "%", "?" and letters
    // outside ASCII must all survive.
    QTemporaryDir top;
    const QString dir = top.path() + QStringLiteral("/Dan's #1 100% sure? Ünïcødé");
    QVERIFY(QDir().mkpath(dir));
    Session s;
    openReport(s, dir);
    fillModel(s.model);
    s.model.SubmitURL = kUrl;
    ScriptedPrompt p;
    QVERIFY(Save(s, p));
    const QStringList saved = modelLines(s.model);
    s.model.PubName = QStringLiteral("Draft");
    QVERIFY(WriteReport(s));
    QVERIFY(Revert(s, p));
    QCOMPARE(modelLines(s.model), saved);
    QString why;
    QVERIFY2(CompactReportDatabase(s, &why), qPrintable(why));
    QCOMPARE(nextStart(dir, p), saved);
    QVERIFY(p.shown.isEmpty());
    QCOMPARE(files(dir), QStringList({QStringLiteral("r318_TST.bak"), QStringLiteral("r318_TST.mdb")}));
    QVERIFY(files(top.path()).isEmpty());
}

QTEST_GUILESS_MAIN(TestReportFile)
#include "tst_reportfile.moc"

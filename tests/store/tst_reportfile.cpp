// Save, revert and compaction of the report file: the backup copy, and never losing the report when a file
// operation fails.

#include "FailingReportFiles.h"
#include "ReportFixture.h"
#include "ScriptedPrompt.h"

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

const QStringList kReportAndBackup = {QStringLiteral("r318_TST.bak"), QStringLiteral("r318_TST.mdb")};

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

// A folder name reaches the engine as a file URI and a bound value: quotes, "#", "%", "?", letters beyond ASCII.
QString awkwardFolder(const QTemporaryDir& top)
{
    const QString dir = top.path() + QStringLiteral("/Dan's #1 100% sure? Ünïcødé");
    QDir().mkpath(dir);
    return dir;
}

} // namespace

class TestReportFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ReportConnection::setBusyTimeout(50); }

    void saveAndRevert()
    {
        QTemporaryDir top;
        const QString dir = awkwardFolder(top);
        Session s;
        openReport(s, dir);
        const QStringList atStart = modelLines(s.model);
        fillModel(s.model);
        QVERIFY(WriteReport(s));
        ScriptedPrompt p;
        QVERIFY(Revert(s, p)); // back to the copy made at the start
        QCOMPARE(modelLines(s.model), atStart);
        fillModel(s.model);
        QVERIFY(Save(s, p));
        QCOMPARE(bytes(s.CurrentBakPath), bytes(s.CurrentDBPath));
        QCOMPARE(files(dir), kReportAndBackup);
        QVERIFY(files(top.path()).isEmpty());
        const QStringList saved = modelLines(s.model);

        // An edit saved into the file (as before a preview) but not by the user, and an edit only in the model.
        s.model.PubName = QStringLiteral("Draft");
        QVERIFY(WriteReport(s));
        s.model.NoMM = 999;
        QVERIFY(Revert(s, p) && p.shown.isEmpty());
        QCOMPARE(modelLines(s.model), saved);
        QCOMPARE(bytes(s.CurrentDBPath), bytes(s.CurrentBakPath));
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
        QTest::newRow("revert, zero length") << false << QByteArray("") << "zero length";
        QTest::newRow("revert, not a database") << false << QByteArray("notes") << "not a report database";
        QTest::newRow("revert, read-only report") << false << QByteArray("report") << "read-only";
    }
    void refused()
    {
        QFETCH(bool, save);
        QFETCH(QByteArray, backup);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        Session s;
        openReport(s, dir.path());
        s.model.PubName = QStringLiteral("Kept");
        if (!save)
            QVERIFY(WriteReport(s));
        if (backup == "read-only" || backup == "report")
            QVERIFY(
                QFile::setPermissions(backup == "report" ? s.CurrentDBPath : s.CurrentBakPath, QFileDevice::ReadOwner));
        else if (backup.isNull())
            QVERIFY(QFile::remove(s.CurrentBakPath));
        else
            writeBytes(s.CurrentBakPath, backup);
        const QByteArray bak = bytes(s.CurrentBakPath);
        const QByteArray mdb = bytes(s.CurrentDBPath);
        ScriptedPrompt p;
        QVERIFY(save ? !Save(s, p) : !Revert(s, p));
        QVERIFY(p.shown.size() == 1 && p.shown.first().icon == Prompt::Icon::Warning);
        const QString text = p.shown.first().text;
        QVERIFY2(text.contains(reason), qPrintable(text));
        QVERIFY(backup == "report" || text.contains(QDir::toNativeSeparators(s.CurrentBakPath)));
        QVERIFY(value(s.CurrentDBPath, QStringLiteral("SELECT PubName FROM Misc")) == "Kept" &&
                s.model.PubName == "Kept");
        QVERIFY(save || bytes(s.CurrentDBPath) == mdb);
        QCOMPARE(bytes(s.CurrentBakPath), bak);
        QCOMPARE(files(dir.path()).filter(QStringLiteral("~")), QStringList());
    }

    // The compacted copy, made beside the report, replaces the report; the backup copy takes the content
    // uncompacted; scratch files of interrupted runs, which a start never takes for anything, are cleared away.
    void compaction()
    {
        QTemporaryDir top;
        const QString dir = awkwardFolder(top);
        Session s;
        reportWithFreeSpace(s, dir);
        const auto content = snapshot(s.CurrentDBPath);
        const qint64 sizeBefore = QFileInfo(s.CurrentDBPath).size();
        for (const char* name : {"~~Temp.mdb", "~~Temp.mdb-journal", "~r318_TST.bak.0badf00d.tmp",
                                 "~r318_TST.mdb.12345678.tmp", "~r318_TST.mdb.12345678.tmp-journal"})
            writeBytes(s.DataDir + QLatin1String(name), QByteArray(3000, 'x'));
        ScriptedPrompt p;
        QVERIFY(OpenReportDatabase(s, {}, p) && p.shown.isEmpty());
        QString why;
        QVERIFY2(CompactReportDatabase(s, &why), qPrintable(why));
        QCOMPARE(CompactScratchPath(s), s.DataDir + QStringLiteral("~~Temp.mdb"));
        QVERIFY(files(top.path()).isEmpty());
        QCOMPARE(files(dir), kReportAndBackup);
        QVERIFY(QFileInfo(s.CurrentDBPath).size() < sizeBefore / 4);
        QCOMPARE(QFileInfo(s.CurrentBakPath).size(), sizeBefore);
        QCOMPARE(snapshot(s.CurrentDBPath), content);
        QCOMPARE(snapshot(s.CurrentBakPath), content);
        QCOMPARE(nextStart(dir), modelLines(s.model));

        // Without a report there is nothing to compact, and nothing is made.
        QVERIFY(QFile::remove(s.CurrentDBPath));
        QVERIFY(!CompactReportDatabase(s, &why));
        QVERIFY2(why.contains(QStringLiteral("does not exist")), qPrintable(why));
        QCOMPARE(files(dir), QStringList({QStringLiteral("r318_TST.bak")}));
    }

    // Any step of the compaction that fails, or a compacted copy that is damaged, leaves the complete report
    // where the next start looks.
    void compactionStepFails_data()
    {
        // What fails, which the reason names: a folder where the scratch file goes cannot be deleted, a simulated
        // flush or rename, the damaged compacted copy, or a read-only backup copy.
        QTest::addColumn<QString>("step");
        for (const char* step : {"delete", "flush", "rename", "damage", "read-only"})
            QTest::newRow(step) << QString::fromLatin1(step);
    }
    void compactionStepFails()
    {
        QFETCH(QString, step);
        QTemporaryDir dir;
        Session s;
        reportWithFreeSpace(s, dir.path());
        if (step == QLatin1String("delete"))
            QVERIFY(QDir().mkpath(CompactScratchPath(s) + QStringLiteral("/in-the-way")));
        if (step == QLatin1String("read-only"))
            QVERIFY(QFile::setPermissions(s.CurrentBakPath, QFileDevice::ReadOwner));
        const QByteArray mdb = bytes(s.CurrentDBPath);
        const auto content = snapshot(s.CurrentDBPath);
        const QStringList saved = modelLines(s.model);
        {
            FailingReportFiles failing(step);
            if (step == QLatin1String("damage")) // the compacted copy, before it is flushed
                failing.beforeFlush = [](const QString& path) {
                    writeBytes(path, bytes(path).replace(4096, 4096, QByteArray(4096, 'Z')));
                };
            QString why;
            QVERIFY(!CompactReportDatabase(s, &why));
            QVERIFY2(why.contains(step), qPrintable(why));
        }
        QCOMPARE(bytes(s.CurrentDBPath), mdb);
        QCOMPARE(snapshot(s.CurrentBakPath), content);
        QCOMPARE(QFile::exists(CompactScratchPath(s)), step == QLatin1String("delete"));
        QVERIFY(QFile::setPermissions(s.CurrentBakPath, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QCOMPARE(nextStart(dir.path()), saved);
    }
};

QTEST_GUILESS_MAIN(TestReportFile)
#include "tst_reportfile.moc"

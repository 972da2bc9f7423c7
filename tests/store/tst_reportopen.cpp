// Opening the report database: files that cannot be opened are never destroyed or replaced silently, and a
// missing report file is restored from its backup copy.

#include "ReportFixture.h"
#include "ScriptedPrompt.h"

#include "store/ReportConnection.h"
#include "store/ReportDatabase.h"
#include "store/ReportFiles.h"
#include "store/ReportIO.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace ReportFixture;

namespace {

// Holds an exclusive lock on a report file, as another program writing it would.
class LockHolder
{
public:
    explicit LockHolder(const QString& path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        if (!db.open() || !QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE")))
            qFatal("cannot lock %s", qPrintable(path));
    }
    ~LockHolder() { release(); }
    void release()
    {
        if (m_released)
            return;
        m_released = true;
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }

private:
    QString m_name = QStringLiteral("lock-holder");
    bool m_released = false;
};

QByteArray oldDesktopHeader()
{
    QByteArray b(2048, '\0');
    const QByteArray head = QByteArray("\x00\x01\x00\x00", 4) + QByteArray("Standard Jet DB", 15);
    b.replace(0, head.size(), head);
    return b;
}

void writeBytes(const QString& path, const QByteArray& content)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
}

// A file of each kind that cannot serve as the report, made at `path`.
void makeUnusable(const QString& kind, Session& s)
{
    const QString path = s.CurrentDBPath;
    if (kind == QLatin1String("empty")) {
        writeBytes(path, {});
    } else if (kind == QLatin1String("text")) {
        writeBytes(path, QByteArray("Squadron history notes, not a database.\n").repeated(40));
    } else if (kind == QLatin1String("old desktop")) {
        writeBytes(path, oldDesktopHeader());
    } else if (kind == QLatin1String("damaged")) {
        write(path, Shape());
        QByteArray b = bytes(path);
        for (qsizetype i = 4096; i < b.size(); ++i)
            b[i] = char(0xA5);
        writeBytes(path, b);
    } else if (kind == QLatin1String("missing table")) {
        write(path, Shape());
        exec(path, QStringLiteral("DROP TABLE Recognized"));
    } else if (kind == QLatin1String("missing field")) {
        write(path, Shape());
        exec(path, QStringLiteral("ALTER TABLE Officers DROP COLUMN Forder"));
    } else if (kind == QLatin1String("unreadable") || kind == QLatin1String("read-only")) {
        write(path, Shape());
    } else if (kind == QLatin1String("folder")) {
        QDir().mkpath(path + QStringLiteral("/inside"));
    } else {
        qFatal("unknown kind %s", qPrintable(kind));
    }
}

// Takes away the permissions that the kinds "unreadable" and "read-only" lack.
void restrict(const QString& kind, const QString& path)
{
    if (kind == QLatin1String("unreadable"))
        QFile::setPermissions(path, QFileDevice::WriteOwner);
    else if (kind == QLatin1String("read-only"))
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
}

void unrestrict(const QString& path)
{
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

QStringList setAside(const QString& dir, const QString& suffix = QStringLiteral("mdb"))
{
    return QDir(dir).entryList({QStringLiteral("r318_TST.unreadable-*.") + suffix},
                               QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
}

} // namespace

class TestReportOpen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ReportConnection::setBusyTimeout(50); }

    void unusableFileQuitChangesNothing_data();
    void unusableFileQuitChangesNothing();
    void unusableFileSetAside_data() { unusableFileQuitChangesNothing_data(); }
    void unusableFileSetAside();
    void unusableFileInBatch_data() { unusableFileQuitChangesNothing_data(); }
    void unusableFileInBatch();
    void unusableFileSetAsideGoesOnWithBackup();
    void lockedFileRetryOrQuit();
    void lockedFileInBatch();

    void missingFileRestoredFromBackup();
    void missingFileOrphanJournalRemoved();
    void neitherFileCreatesNewReport();
    void missingFileWithUnusableBackup();
    void missingFileRestoreFails();
    void newDbModeDoesNotRestore();
};

void TestReportOpen::unusableFileQuitChangesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("zero length") << "empty"
                                 << "the file is empty (zero length)";
    QTest::newRow("not a database") << "text"
                                    << "it is not a report database";
    QTest::newRow("old desktop format") << "old desktop"
                                        << "old desktop database format";
    QTest::newRow("damaged") << "damaged"
                             << "it is damaged";
    QTest::newRow("table missing") << "missing table"
                                   << "the table Recognized is missing";
    QTest::newRow("field missing") << "missing field"
                                   << "the table Officers has no field Forder";
    QTest::newRow("no permission to read") << "unreadable"
                                           << "no permission to read it";
    QTest::newRow("read-only") << "read-only"
                               << "no permission to write to it";
    QTest::newRow("folder") << "folder"
                            << "it is a folder";
}

void TestReportOpen::unusableFileQuitChangesNothing()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    Session s;
    setUp(s, dir.path());
    makeUnusable(kind, s);
    const QByteArray before = bytes(s.CurrentDBPath);
    const QStringList filesBefore = files(dir.path());
    restrict(kind, s.CurrentDBPath);

    ScriptedPrompt p;
    p.queue(Prompt::Answer::No);
    QString why;
    QVERIFY(!OpenReportDatabase(s, {}, p, &why));
    QCOMPARE(p.shown.size(), 1);
    const Prompt::Message& m = p.shown.first();
    QVERIFY2(m.text.contains(QDir::toNativeSeparators(s.CurrentDBPath)), qPrintable(m.text));
    QVERIFY2(m.text.contains(reason), qPrintable(m.text));
    QVERIFY2(m.text.contains(QStringLiteral("Click 'No' to quit; nothing is changed.")), qPrintable(m.text));
    QCOMPARE(m.buttons, Prompt::Buttons::YesNo);
    QCOMPARE(m.icon, Prompt::Icon::Warning);
    QVERIFY2(why.contains(reason), qPrintable(why));

    unrestrict(s.CurrentDBPath);
    QCOMPARE(files(dir.path()), filesBefore);
    QCOMPARE(bytes(s.CurrentDBPath), before);
}

void TestReportOpen::unusableFileSetAside()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    Session s;
    setUp(s, dir.path());
    makeUnusable(kind, s);
    const QByteArray before = bytes(s.CurrentDBPath);
    restrict(kind, s.CurrentDBPath);

    ScriptedPrompt p;
    p.queue(Prompt::Answer::Yes);
    QVERIFY(OpenReportDatabase(s, {}, p));
    QCOMPARE(p.shown.size(), 1);
    QVERIFY2(p.shown.first().text.contains(QStringLiteral("start a new report")), qPrintable(p.shown.first().text));

    // The file stands beside the new report under a new name, untouched.
    const QStringList aside = setAside(dir.path());
    QCOMPARE(aside.size(), 1);
    QVERIFY(QRegularExpression(QStringLiteral("^r318_TST\\.unreadable-\\d{8}-\\d{6}\\.mdb$"))
                .match(aside.first())
                .hasMatch());
    QVERIFY2(p.shown.first().text.contains(aside.first()), qPrintable(p.shown.first().text));
    const QString asidePath = dir.path() + QLatin1Char('/') + aside.first();
    unrestrict(asidePath);
    QCOMPARE(bytes(asidePath), before);

    // A new, complete report with its backup copy.
    QCOMPARE(value(s.CurrentDBPath, QStringLiteral("SELECT count(*) FROM Officers")).toInt(), 100);
    QCOMPARE(bytes(s.CurrentBakPath), bytes(s.CurrentDBPath));
}

void TestReportOpen::unusableFileInBatch()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    Session s;
    setUp(s, dir.path());
    makeUnusable(kind, s);
    const QStringList filesBefore = files(dir.path());
    const QByteArray before = bytes(s.CurrentDBPath);
    restrict(kind, s.CurrentDBPath);

    BatchPrompt p(Prompt::Answer::Yes); // would say yes to any question: none may be asked
    QString why;
    QVERIFY(!OpenReportDatabase(s, {}, p, &why));
    QVERIFY2(why.contains(reason), qPrintable(why));
    QVERIFY(why.contains(QDir::toNativeSeparators(s.CurrentDBPath)));
    unrestrict(s.CurrentDBPath);
    QCOMPARE(files(dir.path()), filesBefore);
    QCOMPARE(bytes(s.CurrentDBPath), before);
}

void TestReportOpen::unusableFileSetAsideGoesOnWithBackup()
{
    QTemporaryDir dir;
    Session s;
    setUp(s, dir.path());
    ScriptedPrompt p;
    QVERIFY(OpenReportDatabase(s, {}, p));
    exec(s.CurrentDBPath, QStringLiteral("UPDATE Misc SET PubName = 'Saved Log'"));
    QFile::remove(s.CurrentBakPath);
    QVERIFY(QFile::copy(s.CurrentDBPath, s.CurrentBakPath));
    writeBytes(s.CurrentDBPath, QByteArray("garbage"));

    p.queue(Prompt::Answer::Yes);
    QVERIFY(OpenReportDatabase(s, {}, p));
    QCOMPARE(p.shown.size(), 2);
    QVERIFY2(p.shown.at(0).text.contains(QStringLiteral("go on with its backup copy")), qPrintable(p.shown.at(0).text));
    QCOMPARE(p.shown.at(1).icon, Prompt::Icon::Information);
    QCOMPARE(value(s.CurrentDBPath, QStringLiteral("SELECT PubName FROM Misc")).toString(),
             QStringLiteral("Saved Log"));
    QCOMPARE(setAside(dir.path()).size(), 1);
}

void TestReportOpen::lockedFileRetryOrQuit()
{
    QTemporaryDir dir;
    Session s;
    setUp(s, dir.path());
    ScriptedPrompt first;
    QVERIFY(OpenReportDatabase(s, {}, first));
    exec(s.CurrentDBPath, QStringLiteral("UPDATE Misc SET PubName = 'Kept'"));

    {
        // Quit while another program holds the file: nothing changes.
        LockHolder lock(s.CurrentDBPath);
        ScriptedPrompt p;
        p.queue(Prompt::Answer::Retry);
        p.queue(Prompt::Answer::Cancel);
        QString why;
        QVERIFY(!OpenReportDatabase(s, {}, p, &why));
        QCOMPARE(p.shown.size(), 2);
        for (const Prompt::Message& m : p.shown) {
            QCOMPARE(m.buttons, Prompt::Buttons::RetryCancel);
            QVERIFY(m.text.contains(QStringLiteral("locked by another program")));
            QVERIFY(m.text.contains(QDir::toNativeSeparators(s.CurrentDBPath)));
        }
        QVERIFY(why.contains(QStringLiteral("locked")));
    }
    QCOMPARE(files(dir.path()), QStringList({QStringLiteral("r318_TST.bak"), QStringLiteral("r318_TST.mdb")}));
    QVERIFY(value(s.CurrentDBPath, QStringLiteral("SELECT Rostrelv6 FROM Misc")).isNull()); // not upgraded

    // Retry after the other program let go: the file opens and is upgraded.
    auto lock = std::make_unique<LockHolder>(s.CurrentDBPath);
    ActingPrompt p;
    p.onAsk = [&lock](const Prompt::Message&) {
        lock.reset();
        return Prompt::Answer::Retry;
    };
    QVERIFY(OpenReportDatabase(s, {}, p));
    QCOMPARE(p.shown.size(), 1);
    QCOMPARE(value(s.CurrentDBPath, QStringLiteral("SELECT Rostrelv6 FROM Misc")).toString(), QStringLiteral("7.0.0"));
    QCOMPARE(value(s.CurrentDBPath, QStringLiteral("SELECT PubName FROM Misc")).toString(), QStringLiteral("Kept"));
}

void TestReportOpen::lockedFileInBatch()
{
    QTemporaryDir dir;
    Session s;
    setUp(s, dir.path());
    ScriptedPrompt first;
    QVERIFY(OpenReportDatabase(s, {}, first));
    const QByteArray before = bytes(s.CurrentDBPath);
    LockHolder lock(s.CurrentDBPath);
    BatchPrompt p;
    QString why;
    QVERIFY(!OpenReportDatabase(s, {}, p, &why));
    QVERIFY(why.contains(QStringLiteral("locked by another program")));
    lock.release();
    QCOMPARE(bytes(s.CurrentDBPath), before);
}

void TestReportOpen::missingFileRestoredFromBackup()
{
    QTemporaryDir dir;
    Session s;
    setUp(s, dir.path());
    ScriptedPrompt p;
    QVERIFY(OpenReportDatabase(s, {}, p));
    QVERIFY(OpenReportDatabase(s, {}, p));
    exec(s.CurrentDBPath, QStringLiteral("UPDATE Misc SET PubName = 'Last Saved', No_MM = 12"));
    exec(s.CurrentDBPath, QStringLiteral("UPDATE Officers SET Last = 'Marsh' WHERE Forder = 2"));
    QFile::remove(s.CurrentBakPath);
    QVERIFY(QFile::copy(s.CurrentDBPath, s.CurrentBakPath));
    const auto saved = snapshot(s.CurrentBakPath);
    QVERIFY(QFile::remove(s.CurrentDBPath));

    p.clear();
    QVERIFY(OpenReportDatabase(s, {}, p));
    QCOMPARE(p.shown.size(), 1);
    const Prompt::Message& m = p.shown.first();
    QCOMPARE(m.icon, Prompt::Icon::Information);
    QCOMPARE(m.buttons, Prompt::Buttons::Ok);
    QVERIFY(m.text.contains(QDir::toNativeSeparators(s.CurrentDBPath)));
    QVERIFY(m.text.contains(QDir::toNativeSeparators(s.CurrentBakPath)));
    QVERIFY(m.text.contains(QStringLiteral("restored from its backup copy")));
    QCOMPARE(snapshot(s.CurrentDBPath), saved);
    QCOMPARE(snapshot(s.CurrentBakPath), saved);
    QVERIFY(LoadScalars(s));
    QCOMPARE(s.model.PubName, QStringLiteral("Last Saved"));
    QCOMPARE(files(dir.path()), QStringList({QStringLiteral("r318_TST.bak"), QStringLiteral("r318_TST.mdb")}));

    // The batch command tells the same on stderr and goes on.
    QVERIFY(QFile::remove(s.CurrentDBPath));
    BatchPrompt batch;
    QVERIFY(OpenReportDatabase(s, {}, batch));
    QCOMPARE(snapshot(s.CurrentDBPath), saved);
}

void TestReportOpen::missingFileOrphanJournalRemoved()
{
    QTemporaryDir dir;
    Session s;
    setUp(s, dir.path());
    ScriptedPrompt p;
    QVERIFY(OpenReportDatabase(s, {}, p));
    exec(s.CurrentDBPath, QStringLiteral("UPDATE Misc SET PubName = 'Journal Test'"));
    QFile::remove(s.CurrentBakPath);
    QVERIFY(QFile::copy(s.CurrentDBPath, s.CurrentBakPath));
    QVERIFY(QFile::remove(s.CurrentDBPath));
    // A journal whose file is gone must not be applied to the restored file.
    writeBytes(s.CurrentDBPath + QStringLiteral("-journal"), QByteArray(1024, 'j'));
    QVERIFY(OpenReportDatabase(s, {}, p));
    QVERIFY(!QFile::exists(s.CurrentDBPath + QStringLiteral("-journal")));
    QCOMPARE(value(s.CurrentDBPath, QStringLiteral("SELECT PubName FROM Misc")).toString(),
             QStringLiteral("Journal Test"));
}

void TestReportOpen::neitherFileCreatesNewReport()
{
    QTemporaryDir dir;
    Session s;
    setUp(s, dir.path());
    ScriptedPrompt p;
    QVERIFY(OpenReportDatabase(s, {}, p));
    QVERIFY(p.shown.isEmpty());
    QCOMPARE(value(s.CurrentDBPath, QStringLiteral("SELECT count(*) FROM Recognized")).toInt(), 168);
    QCOMPARE(bytes(s.CurrentBakPath), bytes(s.CurrentDBPath));
}

void TestReportOpen::missingFileWithUnusableBackup()
{
    QTemporaryDir dir;
    Session s;
    setUp(s, dir.path());
    writeBytes(s.CurrentBakPath, QByteArray());

    {
        ScriptedPrompt p;
        p.queue(Prompt::Answer::No);
        QVERIFY(!OpenReportDatabase(s, {}, p));
        QCOMPARE(p.shown.size(), 1);
        QVERIFY(p.shown.first().text.contains(QDir::toNativeSeparators(s.CurrentBakPath)));
        QVERIFY(p.shown.first().text.contains(QStringLiteral("zero length")));
        QCOMPARE(files(dir.path()), QStringList({QStringLiteral("r318_TST.bak")}));
    }
    ScriptedPrompt p;
    p.queue(Prompt::Answer::Yes);
    QVERIFY(OpenReportDatabase(s, {}, p));
    QCOMPARE(setAside(dir.path(), QStringLiteral("bak")).size(), 1);
    QCOMPARE(value(s.CurrentDBPath, QStringLiteral("SELECT count(*) FROM Officers")).toInt(), 100);
    QCOMPARE(bytes(s.CurrentBakPath), bytes(s.CurrentDBPath));
}

void TestReportOpen::missingFileRestoreFails()
{
    // A backup copy that cannot be copied back is reported and left alone; no empty report replaces it.
    QTemporaryDir dir;
    Session s;
    setUp(s, dir.path());
    ScriptedPrompt p;
    QVERIFY(OpenReportDatabase(s, {}, p));
    QVERIFY(QFile::remove(s.CurrentDBPath));
    const QByteArray bak = bytes(s.CurrentBakPath);

    class FailingCopy : public ReportFiles
    {
    public:
        bool copy(const QString&, const QString&, QString* why) override
        {
            if (why)
                *why = QStringLiteral("the disk is full");
            return false;
        }
    } failing;
    ScopedReportFiles scoped(&failing);
    p.clear();
    QString reason;
    QVERIFY(!OpenReportDatabase(s, {}, p, &reason));
    QCOMPARE(p.shown.size(), 1);
    QCOMPARE(p.shown.first().icon, Prompt::Icon::Warning);
    QVERIFY(p.shown.first().text.contains(QStringLiteral("could not be restored: the disk is full")));
    QCOMPARE(bytes(s.CurrentBakPath), bak);
    QVERIFY(!QFile::exists(s.CurrentDBPath));
}

void TestReportOpen::newDbModeDoesNotRestore()
{
    QTemporaryDir dir;
    Session s;
    setUp(s, dir.path());
    ScriptedPrompt p;
    QVERIFY(OpenReportDatabase(s, {}, p));
    exec(s.CurrentBakPath, QStringLiteral("UPDATE Misc SET PubName = 'Old'"));
    QVERIFY(QFile::remove(s.CurrentDBPath));
    QVERIFY(OpenReportDatabase(s, QStringLiteral("NewDB"), p));
    QVERIFY(p.shown.isEmpty());
    QVERIFY(value(s.CurrentDBPath, QStringLiteral("SELECT PubName FROM Misc")).isNull());
    QCOMPARE(bytes(s.CurrentBakPath), bytes(s.CurrentDBPath));
}

QTEST_GUILESS_MAIN(TestReportOpen)
#include "tst_reportopen.moc"

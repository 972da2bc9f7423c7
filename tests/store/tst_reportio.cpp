// The report model: loading, saving, PutText/PutMemo and ClearReport.

#include "ReportFixture.h"
#include "ScriptedPrompt.h"

#include "store/ReportConnection.h"
#include "store/ReportDatabase.h"
#include "store/ReportIO.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace ReportFixture;

namespace {

int filled(const QString& path, int category)
{
    return value(path, QStringLiteral("SELECT count(*) FROM Recognized WHERE Category = ? AND Last IS NOT NULL"),
                 {category})
        .toInt();
}

} // namespace

class TestReportIO : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ReportConnection::setBusyTimeout(50); }

    void roundTrip();
    void newReportLoadsEmpty();
    void recognitionRepacked();
    void recognitionKeepsTwentyFour();
    void recognitionOutsideListsDropped();
    void putTextCutsToFieldSize();
    void putTextAndPutMemoStoreNull();
    void activityLineBreaks();
    void officerHeadings();
    void emptyOfficersTableKeepsList();
    void damagedFileLoadReported();
    void failingSingleWriteIsSkipped();
    void saveFailureReported_data();
    void saveFailureReported();
    void saveAtExitAsks();
    void clearReport();
};

void TestReportIO::roundTrip()
{
    QTemporaryDir dir;
    Session s;
    openReport(s, dir.path());
    fillModel(s.model);
    s.model.SquadronName = QStringLiteral("Harbour Squadron");
    s.model.SquadronNo = 318;
    s.model.DistrictNo = 27;

    QElapsedTimer timer;
    timer.start();
    QVERIFY(WriteReport(s));
    const qint64 saveUs = timer.nsecsElapsed() / 1000;
    const QStringList saved = modelLines(s.model);

    ReportModel& m = s.model;
    ClearReport(m);
    m.SubmitURL.clear();
    timer.restart();
    QVERIFY(LoadOfficers(s));
    const qint64 officersUs = timer.nsecsElapsed() / 1000;
    timer.restart();
    QVERIFY(LoadRecognized(s));
    const qint64 recognizedUs = timer.nsecsElapsed() / 1000;
    timer.restart();
    QVERIFY(LoadScalars(s));
    const qint64 scalarsUs = timer.nsecsElapsed() / 1000;
    qInfo("SaveReport %lld us, LoadOfficers %lld us, LoadRecognized %lld us, LoadScalars %lld us", saveUs, officersUs,
          recognizedUs, scalarsUs);
    QCOMPARE(modelLines(m), saved);

    // The identity goes into Misc; the marker is never written by the save.
    const QString db = s.CurrentDBPath;
    QCOMPARE(value(db, QStringLiteral("SELECT Squadron FROM Misc")).toString(), QStringLiteral("Harbour Squadron"));
    QCOMPARE(value(db, QStringLiteral("SELECT Squad_No FROM Misc")).toInt(), 318);
    QCOMPARE(value(db, QStringLiteral("SELECT District FROM Misc")).toInt(), 27);
    QCOMPARE(value(db, QStringLiteral("SELECT Rostrelv6 FROM Misc")).toString(), QStringLiteral("7.0.0"));
    QCOMPARE(value(db, QStringLiteral("SELECT Incorp FROM Misc")).toInt(), 1);
    QCOMPARE(value(db, QStringLiteral("SELECT PB_KUR FROM Education")).toInt(), 1);
    QCOMPARE(value(db, QStringLiteral("SELECT PB_DR FROM Education")).toInt(), 40);
    QCOMPARE(value(db, QStringLiteral("SELECT OC_Sem FROM Education")).toInt(), 43);
    QCOMPARE(value(db, QStringLiteral("SELECT Award_S FROM Activities")).toString(), m.ActivityText[12]);
    QCOMPARE(value(db, QStringLiteral("SELECT VSC FROM Activities")).toString(), m.ActivityText[11]);
    QCOMPARE(value(db, QStringLiteral("SELECT Award_D FROM Activities")).toString(), m.ActivityText[7]);
    // The officer list's own fields are never written by the save.
    QCOMPARE(value(db, QStringLiteral("SELECT Office FROM Officers WHERE Forder = 53")).toString(),
             QStringLiteral("Health & Welfare"));
    // Empty texts are Null, never zero-length.
    QCOMPARE(value(db, QStringLiteral("SELECT count(*) FROM Recognized WHERE Office = ''")).toInt(), 0);
    QCOMPARE(value(db, QStringLiteral("SELECT count(*) FROM Recognized WHERE Office IS NULL")).toInt(), 168 - 3 - 4);
}

void TestReportIO::newReportLoadsEmpty()
{
    QTemporaryDir dir;
    Session s;
    openReport(s, dir.path());
    const ReportModel& m = s.model;
    QCOMPARE(m.OfficerCount, 100);
    QCOMPARE(m.NoMM, 0);
    QCOMPARE(m.Incorp, false);
    QCOMPARE(m.FromKUR, false);
    QCOMPARE(m.AGCount[0], 0);
    QCOMPARE(m.OCCount[3], 0);
    QVERIFY(m.SubDate.isEmpty());
    QCOMPARE(m.SubmitURL, kUrl);
    for (const QString& t : m.ActivityText)
        QVERIFY(t.isEmpty());
    for (int c = 1; c <= 7; ++c)
        QVERIFY(m.RecLast[c][1].isEmpty());
}

void TestReportIO::recognitionRepacked()
{
    QTemporaryDir dir;
    Session s;
    openReport(s, dir.path());
    const QString db = s.CurrentDBPath;
    // Category 4 occupies rows 73..96: entries in its slots 3 and 7.
    exec(db, QStringLiteral("UPDATE Recognized SET Last = 'Young', First = 'Amy', Cert = '111' WHERE rowid = 75"));
    exec(db, QStringLiteral("UPDATE Recognized SET Last = 'Adams', First = 'Ben', Cert = '222' WHERE rowid = 79"));
    QVERIFY(LoadRecognized(s));
    QCOMPARE(s.model.RecLast[4][1], QStringLiteral("Adams"));
    QCOMPARE(s.model.RecCert[4][1], QStringLiteral("222"));
    QCOMPARE(s.model.RecLast[4][2], QStringLiteral("Young"));
    QCOMPARE(s.model.RecFirst[4][2], QStringLiteral("Amy"));
    QCOMPARE(s.model.RecCategory[4][2], 4);
    QVERIFY(s.model.RecLast[4][3].isEmpty());

    QVERIFY(WriteReport(s));
    const QList<QVariantList> slots =
        rows(db, QStringLiteral("SELECT Last, First, Cert FROM Recognized WHERE Category = 4 ORDER BY rowid"));
    QCOMPARE(slots.at(0), QVariantList({QStringLiteral("Adams"), QStringLiteral("Ben"), QStringLiteral("222")}));
    QCOMPARE(slots.at(1), QVariantList({QStringLiteral("Young"), QStringLiteral("Amy"), QStringLiteral("111")}));
    for (int n = 2; n < 24; ++n)
        QVERIFY(slots.at(n).at(0).isNull() && slots.at(n).at(1).isNull() && slots.at(n).at(2).isNull());
}

void TestReportIO::recognitionKeepsTwentyFour()
{
    QTemporaryDir dir;
    Session s;
    setUp(s, dir.path());
    // A file whose third list has 25 slots, all filled.
    Shape shape;
    shape.marker = QStringLiteral("7.0.0");
    for (int c = 1; c <= 7; ++c)
        shape.recognized.insert(shape.recognized.end(), c == 3 ? 25 : 24, c);
    write(s.CurrentDBPath, shape);
    exec(s.CurrentDBPath, QStringLiteral("UPDATE Recognized SET Last = 'N' || printf('%02d', ((rowid - 49) * 7) % 25 + "
                                         "1) WHERE Category = 3"));
    QCOMPARE(filled(s.CurrentDBPath, 3), 25);
    QVERIFY(LoadReport(s));
    for (int e = 1; e <= 24; ++e)
        QCOMPARE(s.model.RecLast[3][e], QStringLiteral("N%1").arg(e, 2, 10, QLatin1Char('0')));
    QVERIFY(WriteReport(s));
    QCOMPARE(filled(s.CurrentDBPath, 3), 24);
    QCOMPARE(value(s.CurrentDBPath, QStringLiteral("SELECT count(*) FROM Recognized WHERE Last = 'N25'")).toInt(), 0);
}

void TestReportIO::recognitionOutsideListsDropped()
{
    QTemporaryDir dir;
    Session s;
    openReport(s, dir.path());
    exec(s.CurrentDBPath, QStringLiteral("INSERT INTO Recognized (Last, Category) VALUES ('Stray', 9), ('Zero', 0)"));
    exec(s.CurrentDBPath, QStringLiteral("UPDATE Recognized SET Last = 'Kept' WHERE rowid = 1"));
    QVERIFY(LoadRecognized(s));
    QCOMPARE(s.model.RecLast[1][1], QStringLiteral("Kept"));
    for (int c = 1; c <= 7; ++c) {
        for (int e = 1; e <= 24; ++e)
            QVERIFY(s.model.RecLast[c][e] != QLatin1String("Stray") && s.model.RecLast[c][e] != QLatin1String("Zero"));
    }
}

void TestReportIO::putTextCutsToFieldSize()
{
    QTemporaryDir dir;
    Session s;
    openReport(s, dir.path());
    const QString thirty = QStringLiteral("Abcdefghijklmnopqrstuvwxyz1234");
    QCOMPARE(thirty.size(), 30);
    s.model.SubOLast = thirty;
    s.model.OffLast[2] = thirty;
    s.model.RecOffice[1][1] = QString(80, QLatin1Char('o'));
    s.model.RecLast[1][1] = QStringLiteral("Holder");
    s.model.SubmitURL = QStringLiteral("https://example.org/") + QString(100, QLatin1Char('p'));
    QVERIFY(WriteReport(s));
    QCOMPARE(s.model.SubOLast, thirty.left(25));
    QCOMPARE(s.model.OffLast[2], thirty.left(25));
    QCOMPARE(s.model.RecOffice[1][1].size(), 75);
    QCOMPARE(s.model.SubmitURL.size(), 100);
    QCOMPARE(value(s.CurrentDBPath, QStringLiteral("SELECT SubO_Last FROM Misc")).toString(), thirty.left(25));
    QCOMPARE(value(s.CurrentDBPath, QStringLiteral("SELECT Last FROM Officers WHERE Forder = 2")).toString(),
             thirty.left(25));
    QCOMPARE(value(s.CurrentDBPath, QStringLiteral("SELECT length(Office) FROM Recognized WHERE rowid = 1")).toInt(),
             75);

    // The size is read from the file: a field declared wider keeps more.
    exec(s.CurrentDBPath, QStringLiteral("ALTER TABLE Misc RENAME COLUMN PubName TO Old"));
    exec(s.CurrentDBPath, QStringLiteral("ALTER TABLE Misc ADD COLUMN PubName VARCHAR(40)"));
    s.model.PubName = QString(45, QLatin1Char('b'));
    QVERIFY(WriteReport(s));
    QCOMPARE(s.model.PubName.size(), 40);
}

void TestReportIO::putTextAndPutMemoStoreNull()
{
    QHash<QString, ReportConnection::FieldInfo> fields;
    fields.insert(QStringLiteral("last"), {QStringLiteral("Last"), QStringLiteral("VARCHAR(5)"), 5});
    fields.insert(QStringLiteral("meetings"), {QStringLiteral("Meetings"), QStringLiteral("TEXT"), 0});
    RowEdit row(fields);
    QString empty;
    QString longer = QStringLiteral("abcdefgh");
    PutText(row, QStringLiteral("Last"), empty);
    PutText(row, QStringLiteral("Last"), longer);
    PutText(row, QStringLiteral("Missing"), longer); // a failing single write: skipped
    PutMemo(row, QStringLiteral("Meetings"), QString());
    PutMemo(row, QStringLiteral("Meetings"), QString(5000, QLatin1Char('m')));
    QCOMPARE(row.names(), QStringList({"Last", "Last", "Meetings", "Meetings"}));
    QVERIFY(row.values().at(0).isNull());
    QCOMPARE(row.values().at(1).toString(), QStringLiteral("abcde"));
    QCOMPARE(longer, QStringLiteral("abcde"));
    QVERIFY(row.values().at(2).isNull());
    QCOMPARE(row.values().at(3).toString().size(), 5000);
}

void TestReportIO::activityLineBreaks()
{
    QTemporaryDir dir;
    Session s;
    openReport(s, dir.path());
    ReportModel& m = s.model;
    m.ActivityText[0] = QStringLiteral("Met monthly.\r\n\r\n");
    m.ActivityText[1] = QStringLiteral("\r\n\n\r");
    m.ActivityText[2] = QString();
    m.ActivityText[3] = QStringLiteral("line one\r\nline two\n");
    QVERIFY(WriteReport(s));
    QCOMPARE(m.ActivityText[0], QStringLiteral("Met monthly."));
    QCOMPARE(m.ActivityText[1], QString());
    QCOMPARE(m.ActivityText[3], QStringLiteral("line one\r\nline two"));
    const QString db = s.CurrentDBPath;
    QCOMPARE(value(db, QStringLiteral("SELECT Meetings FROM Activities")).toString(), QStringLiteral("Met monthly."));
    QVERIFY(value(db, QStringLiteral("SELECT Cruise FROM Activities")).isNull());
    QVERIFY(value(db, QStringLiteral("SELECT CoopChart FROM Activities")).isNull());
    QCOMPARE(value(db, QStringLiteral("SELECT District FROM Activities")).toString(),
             QStringLiteral("line one\r\nline two"));
    m.ActivityText[2] = QStringLiteral("stale");
    QVERIFY(LoadScalars(s));
    QCOMPARE(m.ActivityText[2], QString());
    QCOMPARE(m.ActivityText[1], QString());
}

void TestReportIO::officerHeadings()
{
    QTemporaryDir dir;
    Session s;
    openReport(s, dir.path());
    const ReportModel& m = s.model;
    QVERIFY(m.OffHeading[1]);
    QVERIFY(m.OffHeading[12]);
    QVERIFY(m.OffHeading[39]);
    QVERIFY(m.OffHeading[80]);
    QVERIFY(!m.OffHeading[2]);
    QVERIFY(!m.OffHeading[53]);
    QCOMPARE(m.OffCode[53], QString()); // the blank code reads as empty text
    QCOMPARE(m.OffOrder[100], 100);
    int headings = 0;
    for (int i = 1; i <= m.OfficerCount; ++i)
        headings += m.OffHeading[i];
    QCOMPARE(headings, 4);
}

void TestReportIO::emptyOfficersTableKeepsList()
{
    QTemporaryDir dir;
    Session s;
    openReport(s, dir.path());
    s.model.OffLast[2] = QStringLiteral("Unsaved");
    exec(s.CurrentDBPath, QStringLiteral("DELETE FROM Officers"));
    QVERIFY(LoadOfficers(s));
    QCOMPARE(s.model.OfficerCount, 100);
    QCOMPARE(s.model.OffLast[2], QStringLiteral("Unsaved"));
}

void TestReportIO::damagedFileLoadReported()
{
    QTemporaryDir dir;
    Session s;
    openReport(s, dir.path());
    exec(s.CurrentDBPath, QStringLiteral("UPDATE Misc SET SubO_City = 'Bayport', No_MM = 4"));
    exec(s.CurrentDBPath, QStringLiteral("ALTER TABLE Misc DROP COLUMN PubName"));
    QString why;
    QVERIFY(!LoadScalars(s, &why));
    QCOMPARE(why, QStringLiteral("the table Misc has no field PubName"));
    QCOMPARE(s.model.SubOCity, QStringLiteral("Bayport"));
    QCOMPARE(s.model.NoMM, 4);

    exec(s.CurrentDBPath, QStringLiteral("DROP TABLE Officers"));
    why.clear();
    QVERIFY(!LoadOfficers(s, &why));
    QCOMPARE(why, QStringLiteral("the table Officers is missing"));

    ScriptedPrompt p;
    QVERIFY(!LoadReport(s, p));
    QCOMPARE(p.shown.size(), 1);
    QCOMPARE(p.shown.first().icon, Prompt::Icon::Warning);
    QVERIFY(p.shown.first().text.contains(QDir::toNativeSeparators(s.CurrentDBPath)));
    QVERIFY(p.shown.first().text.contains(QStringLiteral("the table Officers is missing")));

    QVERIFY(QFile::remove(s.CurrentDBPath));
    why.clear();
    QVERIFY(!LoadRecognized(s, &why));
    QCOMPARE(why, QStringLiteral("the file does not exist"));
    QVERIFY(!QFile::exists(s.CurrentDBPath));
}

void TestReportIO::failingSingleWriteIsSkipped()
{
    QTemporaryDir dir;
    Session s;
    openReport(s, dir.path());
    exec(s.CurrentDBPath, QStringLiteral("ALTER TABLE Misc DROP COLUMN PubName"));
    exec(s.CurrentDBPath, QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON Officers WHEN NEW.Forder = 5 "
                                         "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    s.model.PubName = QStringLiteral("Nowhere");
    s.model.SubOCity = QStringLiteral("Bayport");
    s.model.OffLast[5] = QStringLiteral("Refused");
    s.model.OffLast[6] = QStringLiteral("Written");
    s.model.RecLast[7][1] = QStringLiteral("Also written");
    QVERIFY(WriteReport(s));
    QCOMPARE(value(s.CurrentDBPath, QStringLiteral("SELECT SubO_City FROM Misc")).toString(),
             QStringLiteral("Bayport"));
    QVERIFY(value(s.CurrentDBPath, QStringLiteral("SELECT Last FROM Officers WHERE Forder = 5")).isNull());
    QCOMPARE(value(s.CurrentDBPath, QStringLiteral("SELECT Last FROM Officers WHERE Forder = 6")).toString(),
             QStringLiteral("Written"));
    QCOMPARE(value(s.CurrentDBPath, QStringLiteral("SELECT Last FROM Recognized WHERE rowid = 145")).toString(),
             QStringLiteral("Also written"));
}

void TestReportIO::saveFailureReported_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("file gone") << "gone"
                               << "the file does not exist";
    QTest::newRow("read-only") << "read-only"
                               << "the file is read-only";
    QTest::newRow("locked") << "locked"
                            << "the file is locked by another program";
}

void TestReportIO::saveFailureReported()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    Session s;
    openReport(s, dir.path());
    s.model.PubName = QStringLiteral("Unsaved");
    const QString db = s.CurrentDBPath;
    const QByteArray before = bytes(db);
    const QString lockName = QStringLiteral("other-program");
    if (kind == QLatin1String("gone")) {
        QVERIFY(QFile::remove(db));
    } else if (kind == QLatin1String("read-only")) {
        QVERIFY(QFile::setPermissions(db, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    } else {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), lockName);
        other.setDatabaseName(db);
        QVERIFY(other.open());
        QVERIFY(QSqlQuery(other).exec(QStringLiteral("BEGIN EXCLUSIVE")));
    }

    ScriptedPrompt p;
    QVERIFY(!SaveReport(s, p));
    QCOMPARE(p.shown.size(), 1);
    const Prompt::Message& m = p.shown.first();
    QCOMPARE(m.icon, Prompt::Icon::Warning);
    QCOMPARE(m.text,
             QStringLiteral("The report could not be saved in %1: %2.").arg(QDir::toNativeSeparators(db), reason));

    if (kind == QLatin1String("locked")) {
        {
            QSqlDatabase other = QSqlDatabase::database(lockName, false);
            QSqlQuery(other).exec(QStringLiteral("ROLLBACK"));
            other.close();
        }
        QSqlDatabase::removeDatabase(lockName);
    }
    if (kind == QLatin1String("gone")) {
        QVERIFY(!QFile::exists(db)); // never an empty file in its place
    } else {
        QFile::setPermissions(db, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(bytes(db), before);
    }
}

void TestReportIO::saveAtExitAsks()
{
    QTemporaryDir dir;
    Session s;
    openReport(s, dir.path());
    const QString db = s.CurrentDBPath;
    s.model.PubName = QStringLiteral("Final words");
    QVERIFY(QFile::setPermissions(db, QFileDevice::ReadOwner));

    {
        // Exit without saving: asked once, the file keeps what it had.
        ScriptedPrompt p;
        p.queue(Prompt::Answer::Cancel);
        QVERIFY(!SaveReportAtExit(s, p));
        QCOMPARE(p.shown.size(), 1);
        QCOMPARE(p.shown.first().buttons, Prompt::Buttons::RetryCancel);
        QVERIFY(p.shown.first().text.contains(QDir::toNativeSeparators(db)));
        QVERIFY(p.shown.first().text.contains(QStringLiteral("the file is read-only")));
        QVERIFY(p.shown.first().text.contains(QStringLiteral("exit without saving")));
        QVERIFY(value(db, QStringLiteral("SELECT PubName FROM Misc")).isNull());
    }
    // Retry after the cause is mended: saved.
    ActingPrompt p;
    int asked = 0;
    p.onAsk = [&](const Prompt::Message&) {
        if (++asked == 2)
            QFile::setPermissions(db, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        return Prompt::Answer::Retry;
    };
    QVERIFY(SaveReportAtExit(s, p));
    QCOMPARE(asked, 2);
    QCOMPARE(value(db, QStringLiteral("SELECT PubName FROM Misc")).toString(), QStringLiteral("Final words"));

    // A save that works asks nothing.
    ScriptedPrompt quiet;
    QVERIFY(SaveReportAtExit(s, quiet));
    QVERIFY(quiet.shown.isEmpty());
}

void TestReportIO::clearReport()
{
    QTemporaryDir dir;
    Session s;
    openReport(s, dir.path());
    fillModel(s.model);
    s.model.SquadronName = QStringLiteral("Kept Squadron");
    ClearReport(s.model);
    const ReportModel& m = s.model;
    QCOMPARE(m.OfficerCount, 0);
    QCOMPARE(m.SquadronName, QStringLiteral("Kept Squadron"));
    QCOMPARE(m.SubmitURL, QStringLiteral("https://example.org/saved"));
    QCOMPARE(m.NoMM, 0);
    QCOMPARE(m.NoActive, 0);
    QCOMPARE(m.NoSenior, 0);
    QCOMPARE(m.Incorp, false);
    QCOMPARE(m.FromKUR, false);
    QVERIFY(m.SubOEmail.isEmpty() && m.SubOLast.isEmpty() && m.PubName.isEmpty() && m.FromDate.isEmpty() &&
            m.ReportYear.isEmpty());
    for (const QString& t : m.ActivityText)
        QVERIFY(t.isEmpty());
    for (qint32 n : m.EGCount)
        QCOMPARE(n, 0);
    for (int c = 1; c <= 7; ++c) {
        for (int e = 1; e <= 24; ++e) {
            QVERIFY(m.RecLast[c][e].isEmpty() && m.RecCert[c][e].isEmpty());
            QCOMPARE(m.RecCategory[c][e], 0);
        }
    }
}

QTEST_GUILESS_MAIN(TestReportIO)
#include "tst_reportio.moc"

// The report database: creation, the office catalogue, the rebuild of the officer list and the upgrade of
// older files.

#include "ReportFixture.h"
#include "ScriptedPrompt.h"

#include "store/OfficeCatalogue.h"
#include "store/ReportDatabase.h"
#include "store/ReportIO.h"
#include "store/ReportSchema.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ReportFixture;

namespace {

int count(const QString& path, const QString& table, const QString& where = {})
{
    return value(path, QStringLiteral("SELECT count(*) FROM %1 %2").arg(table, where)).toInt();
}

// Officers as "Forder|Office|DBcode|Last" in stored order.
QStringList officerLines(const QString& path)
{
    QStringList lines;
    for (const QVariantList& r :
         rows(path, QStringLiteral("SELECT Forder, Office, DBcode, Last FROM Officers ORDER BY rowid")))
        lines << QStringLiteral("%1|%2|%3|%4")
                     .arg(r[0].toString(), r[1].toString(), r[2].toString(),
                          r[3].isNull() ? QStringLiteral("<Null>") : r[3].toString());
    return lines;
}

QStringList catalogueLines()
{
    QStringList lines;
    int i = 0;
    for (const CatalogueLine& l : OfficeCatalogue())
        lines << QStringLiteral("%1|%2|%3|<Null>")
                     .arg(++i)
                     .arg(QString::fromLatin1(l.title), QString::fromLatin1(l.code));
    return lines;
}

void setOfficer(const QString& path, int forder, const QString& last, const QString& first = QStringLiteral("Ann"))
{
    exec(
        path,
        QStringLiteral("UPDATE Officers SET Cert = ?, Last = ?, First = ?, Rank = 'Lt', Grade = 'AP' WHERE Forder = ?"),
        {QStringLiteral("C%1").arg(forder), last, first, forder});
}

// A current report (created and opened once, so its marker is set).
void currentReport(Session& s, const QTemporaryDir& dir)
{
    setUp(s, dir.path());
    ScriptedPrompt p;
    if (!OpenReportDatabase(s, {}, p) || !OpenReportDatabase(s, {}, p))
        qFatal("cannot make a current report");
}

} // namespace

class TestReportDb : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void creation();
    void creationSchema();
    void creationRefusesZeroLengthText();
    void creationFailure();
    void reopeningSetsMarker();
    void newDbReplacesReportAndBackup();
    void catalogue();
    void buildCatalogueUpgradeModeWritesNothing();
    void buildCatalogueFailureMessage();
    void rebuildVacanciesFirst();
    void rebuildDropsCodesNotInCatalogue();
    void rebuildTwiceEqualsOnce();
    void rebuildReplacesExistingBackupOnly();
    void rebuildFailureWarns();
    void upgradeCurrentFileChangesOnlySubmitUrl();
    void upgradeAddsSeventhList();
    void upgradeOlderFile();
    void upgradeBcSem();
    void upgradeNewFileRebuildsOnce();
};

void TestReportDb::creation()
{
    QTemporaryDir dir;
    Session s;
    setUp(s, dir.path());
    ScriptedPrompt p;
    QString reason;
    QVERIFY(OpenReportDatabase(s, {}, p, &reason));
    QVERIFY2(p.shown.isEmpty(), qPrintable(p.texts().join(QLatin1Char('\n'))));
    const QString db = s.CurrentDBPath;

    QCOMPARE(count(db, QStringLiteral("Officers")), 100);
    QCOMPARE(count(db, QStringLiteral("Recognized")), 168);
    QCOMPARE(count(db, QStringLiteral("Misc")), 1);
    QCOMPARE(count(db, QStringLiteral("Education")), 1);
    QCOMPARE(count(db, QStringLiteral("Activities")), 1);

    // The backup copy is byte-identical; nothing else is left in the folder.
    QVERIFY(!bytes(db).isEmpty());
    QCOMPARE(bytes(s.CurrentBakPath), bytes(db));
    QCOMPARE(files(dir.path()), QStringList({QStringLiteral("r318_TST.bak"), QStringLiteral("r318_TST.mdb")}));

    // Default rows.
    QVERIFY(value(db, QStringLiteral("SELECT Rostrelv6 FROM Misc")).isNull());
    QVERIFY(value(db, QStringLiteral("SELECT Sub_Date FROM Misc")).isNull());
    QCOMPARE(value(db, QStringLiteral("SELECT SubmitURL FROM Misc")).toString(), kUrl);
    QCOMPARE(value(db, QStringLiteral("SELECT Incorp FROM Misc")).toInt(), 0);
    QVERIFY(value(db, QStringLiteral("SELECT Squadron FROM Misc")).isNull());
    QCOMPARE(value(db, QStringLiteral("SELECT AG_S FROM Education")).toInt(), 0);
    QVERIFY(!value(db, QStringLiteral("SELECT AG_S FROM Education")).isNull());
    QCOMPARE(value(db, QStringLiteral("SELECT PB_KUR FROM Education")).toInt(), 0);
    QVERIFY(value(db, QStringLiteral("SELECT AG_P FROM Education")).isNull());
    QVERIFY(value(db, QStringLiteral("SELECT Meetings FROM Activities")).isNull());

    // Recognition slots: 24 per list, stored in list order, none filled.
    QCOMPARE(count(db, QStringLiteral("Recognized"), QStringLiteral("WHERE Last IS NOT NULL")), 0);
    const QList<QVariantList> slots = rows(db, QStringLiteral("SELECT Category FROM Recognized ORDER BY rowid"));
    for (int n = 0; n < 168; ++n)
        QCOMPARE(slots.at(n).first().toInt(), n / 24 + 1);

    // The officer list is the catalogue, in catalogue order.
    QCOMPARE(officerLines(db), catalogueLines());
    QStringList byForder;
    for (const QVariantList& r : rows(db, QStringLiteral("SELECT * FROM Officers ORDER BY Forder")))
        byForder << r.at(7).toString();
    QCOMPARE(byForder.size(), 100);
    QCOMPARE(byForder.first(), QStringLiteral("ELECTED OFFICERS:"));
    QCOMPARE(byForder.last(), QStringLiteral("Teaching Aides"));
    QCOMPARE(count(db, QStringLiteral("Officers"),
                   QStringLiteral("WHERE Cert IS NOT NULL OR Last IS NOT NULL OR First IS NOT NULL OR Rank IS NOT "
                                  "NULL OR Grade IS NOT NULL")),
             0);
}

void TestReportDb::creationSchema()
{
    QTemporaryDir dir;
    Session s;
    setUp(s, dir.path());
    ScriptedPrompt p;
    QVERIFY(OpenReportDatabase(s, {}, p));
    const QString db = s.CurrentDBPath;

    QCOMPARE(rows(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid")),
             QList<QVariantList>({{QStringLiteral("Misc")},
                                  {QStringLiteral("Education")},
                                  {QStringLiteral("Officers")},
                                  {QStringLiteral("Recognized")},
                                  {QStringLiteral("Activities")}}));
    QCOMPARE(declaredColumns(db, QStringLiteral("Misc")),
             QStringList({"Squadron VARCHAR(30)",     "Squad_No INTEGER",       "District INTEGER",
                          "Sub_Date VARCHAR(20)",     "To_Date VARCHAR(20)",    "From_Date VARCHAR(20)",
                          "Year VARCHAR(4)",          "No_MM INTEGER",          "Incorp BOOLEAN",
                          "No_Active INTEGER",        "SubO_Cert VARCHAR(7)",   "SubO_Last VARCHAR(25)",
                          "SubO_First VARCHAR(16)",   "SubO_Grade VARCHAR(2)",  "SubO_Rank VARCHAR(8)",
                          "SubO_Address VARCHAR(60)", "SubO_City VARCHAR(30)",  "SubO_State VARCHAR(2)",
                          "SubO_Zip VARCHAR(10)",     "SubO_Title VARCHAR(25)", "SubO_Phone VARCHAR(12)",
                          "SubO_Email VARCHAR(40)",   "PubName VARCHAR(30)",    "No_Senior INTEGER",
                          "Rostrelv6 VARCHAR(8)",     "SubmitURL VARCHAR(100)"}));
    QCOMPARE(declaredColumns(db, QStringLiteral("Education")),
             QStringList({"AG_S INTEGER", "AG_P INTEGER", "AG_AP INTEGER", "AG_JN INTEGER", "AG_N INTEGER",
                          "EG_EM INTEGER", "EG_ME INTEGER", "EG_SA INTEGER", "EG_WE INTEGER", "EG_ID INTEGER",
                          "EG_CP INTEGER", "PB_CBC INTEGER", "PB_HWC INTEGER", "PB_SBC INTEGER", "PB_DR INTEGER",
                          "OC_Sem INTEGER", "PB_KUR BOOLEAN", "OC_OT INTEGER", "OC_LD INTEGER"}));
    QCOMPARE(declaredColumns(db, QStringLiteral("Officers")),
             QStringList({"Cert VARCHAR(7)", "Last VARCHAR(25)", "First VARCHAR(16)", "Rank VARCHAR(8)",
                          "Grade VARCHAR(2)", "DBcode VARCHAR(4)", "Forder INTEGER", "Office VARCHAR(75)"}));
    QCOMPARE(declaredColumns(db, QStringLiteral("Recognized")),
             QStringList({"Cert VARCHAR(7)", "Last VARCHAR(25)", "First VARCHAR(16)", "Rank VARCHAR(8)",
                          "Grade VARCHAR(2)", "Office VARCHAR(75)", "Category INTEGER"}));
    QCOMPARE(declaredColumns(db, QStringLiteral("Activities")),
             QStringList({"Meetings TEXT", "Cruise TEXT", "CoopChart TEXT", "District TEXT", "National TEXT",
                          "Community TEXT", "OtherPart TEXT", "Award_S TEXT", "Award_D TEXT", "Award_N TEXT",
                          "Award_C TEXT", "Award_O TEXT", "VSC TEXT"}));
    // No keys, indexes or relations.
    QCOMPARE(value(db, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type <> 'table'")).toInt(), 0);
}

void TestReportDb::creationRefusesZeroLengthText()
{
    QTemporaryDir dir;
    Session s;
    setUp(s, dir.path());
    ScriptedPrompt p;
    QVERIFY(OpenReportDatabase(s, {}, p));
    int textFields = 0;
    for (const ReportSchema::Table& t : ReportSchema::tables()) {
        for (const ReportSchema::Field& f : t.fields) {
            const QString sql = QStringLiteral("UPDATE %1 SET %2 = ?").arg(t.name, f.name);
            if (f.type == ReportSchema::FieldType::Text || f.type == ReportSchema::FieldType::Memo) {
                ++textFields;
                QVERIFY2(!tryExec(s.CurrentDBPath, sql, {QString(QLatin1String(""))}), qPrintable(sql));
                QVERIFY2(tryExec(s.CurrentDBPath, sql, {QStringLiteral("x")}), qPrintable(sql));
                QVERIFY2(tryExec(s.CurrentDBPath, sql, {QVariant()}), qPrintable(sql));
            }
        }
    }
    QCOMPARE(textFields, 20 + 7 + 6 + 13);
}

void TestReportDb::creationFailure()
{
    QTemporaryDir dir;
    Session s;
    setUp(s, dir.path() + QStringLiteral("/no-such-folder"));
    ScriptedPrompt p;
    QString reason;
    QVERIFY(!OpenReportDatabase(s, {}, p, &reason));
    QCOMPARE(p.shown.size(), 1);
    QVERIFY2(p.shown.first().text.startsWith(QStringLiteral("Error making database ")),
             qPrintable(p.shown.first().text));
    QCOMPARE(p.shown.first().buttons, Prompt::Buttons::Ok);
    QVERIFY(p.shown.first().title.isEmpty());
    QCOMPARE(reason, p.shown.first().text);
    QVERIFY(files(dir.path()).isEmpty());
}

void TestReportDb::reopeningSetsMarker()
{
    QTemporaryDir dir;
    Session s;
    setUp(s, dir.path());
    ScriptedPrompt p;
    QVERIFY(OpenReportDatabase(s, {}, p));
    QVERIFY(value(s.CurrentDBPath, QStringLiteral("SELECT Rostrelv6 FROM Misc")).isNull());
    QVERIFY(OpenReportDatabase(s, {}, p));
    QCOMPARE(value(s.CurrentDBPath, QStringLiteral("SELECT Rostrelv6 FROM Misc")).toString(), QStringLiteral("7.0.0"));
    QCOMPARE(officerLines(s.CurrentDBPath), catalogueLines());
    QCOMPARE(count(s.CurrentDBPath, QStringLiteral("Recognized")), 168);
    QVERIFY(p.shown.isEmpty());
}

void TestReportDb::newDbReplacesReportAndBackup()
{
    QTemporaryDir dir;
    Session s;
    currentReport(s, dir);
    exec(s.CurrentDBPath, QStringLiteral("UPDATE Misc SET PubName = 'Old News', From_Date = 'Sep 1, 2019'"));
    setOfficer(s.CurrentDBPath, 2, QStringLiteral("Keeper"));
    QFile::remove(s.CurrentBakPath);
    QFile::copy(s.CurrentDBPath, s.CurrentBakPath);

    ScriptedPrompt p;
    QVERIFY(OpenReportDatabase(s, QStringLiteral("NewDB"), p));
    QVERIFY(p.shown.isEmpty());
    QVERIFY(value(s.CurrentDBPath, QStringLiteral("SELECT PubName FROM Misc")).isNull());
    QVERIFY(value(s.CurrentDBPath, QStringLiteral("SELECT Rostrelv6 FROM Misc")).isNull());
    QCOMPARE(officerLines(s.CurrentDBPath), catalogueLines());
    QCOMPARE(count(s.CurrentDBPath, QStringLiteral("Recognized")), 168);
    QCOMPARE(bytes(s.CurrentBakPath), bytes(s.CurrentDBPath));
    QCOMPARE(files(dir.path()), QStringList({QStringLiteral("r318_TST.bak"), QStringLiteral("r318_TST.mdb")}));
}

void TestReportDb::catalogue()
{
    const auto& lines = OfficeCatalogue();
    QCOMPARE(int(lines.size()), 100);
    // Every title and code byte for byte, in order.
    QByteArray all;
    for (int i = 0; i < 100; ++i)
        all += QByteArray::number(i + 1) + '\t' + lines[size_t(i)].title + '\t' + lines[size_t(i)].code + '\n';
    QCOMPARE(QCryptographicHash::hash(all, QCryptographicHash::Sha256).toHex(),
             QByteArray("0c1e2d68ae7bc59b4b74af30015b666c7bf061d51a6a10c4aea01760ccba2d09"));

    const auto line = [&](int forder) {
        return QStringLiteral("%1/%2").arg(QString::fromLatin1(lines[size_t(forder - 1)].title),
                                           QString::fromLatin1(lines[size_t(forder - 1)].code));
    };
    QCOMPARE(line(1), QStringLiteral("ELECTED OFFICERS:/BROF"));
    QCOMPARE(line(12), QStringLiteral("EXEC & GENERAL:/XGEN"));
    QCOMPARE(line(39), QStringLiteral("APPOINTED OFFICERS/APOF"));
    QCOMPARE(line(80), QStringLiteral("EDUCATION DEPT:/EDEP"));
    QCOMPARE(line(58), QStringLiteral("Leadership Dev'ment/6006"));
    QCOMPARE(line(70), QStringLiteral("Nat'l Commanders Cup/ "));
    QCOMPARE(line(100), QStringLiteral("Teaching Aides/5022"));
    for (int i = 19; i <= 30; ++i)
        QCOMPARE(line(i), QStringLiteral("Executive/2300"));
    for (int i = 34; i <= 38; ++i)
        QCOMPARE(line(i), QStringLiteral("Nominating Mbr./2302"));
    QCOMPARE(line(14), QStringLiteral("Rules Mbr/2303"));
    QCOMPARE(line(15), QStringLiteral("Rules Mbr/2303"));
    int blank = 0;
    int headings = 0;
    for (const CatalogueLine& l : lines) {
        const QByteArray code(l.code);
        blank += code == " ";
        headings += code.size() == 4 && code.at(0) >= 'A';
    }
    QCOMPARE(blank, 5);
    QCOMPARE(headings, 4);
}

void TestReportDb::buildCatalogueUpgradeModeWritesNothing()
{
    QTemporaryDir dir;
    Session s;
    currentReport(s, dir);
    const auto before = snapshot(s.CurrentDBPath);
    s.model.resizeOfficers(3);
    s.model.OffLast[1] = QStringLiteral("Gone");
    ScriptedPrompt p;
    QVERIFY(BuildCatalogue(s, QStringLiteral("UD"), p));
    QCOMPARE(snapshot(s.CurrentDBPath), before);
    QCOMPARE(s.model.OfficerCount, 100);
    for (int i = 1; i <= 100; ++i) {
        QCOMPARE(s.model.OffOrder[i], i);
        QCOMPARE(s.model.OffTitle[i], QString::fromLatin1(OfficeCatalogue()[size_t(i - 1)].title));
        QCOMPARE(s.model.OffCode[i], QString::fromLatin1(OfficeCatalogue()[size_t(i - 1)].code));
        QVERIFY(s.model.OffLast[i].isEmpty());
    }
    QVERIFY(p.shown.isEmpty());
}

void TestReportDb::buildCatalogueFailureMessage()
{
    QTemporaryDir dir;
    Session s;
    currentReport(s, dir);
    exec(s.CurrentDBPath, QStringLiteral("DELETE FROM Officers"));
    exec(s.CurrentDBPath, QStringLiteral("ALTER TABLE Officers DROP COLUMN Office"));
    ScriptedPrompt p;
    QVERIFY(!BuildCatalogue(s, QString(), p));
    QCOMPARE(p.shown.size(), 1);
    const Prompt::Message& m = p.shown.first();
    const QString lead = QStringLiteral("Can't update database, R318 Form is disabled");
    QVERIFY2(m.text.startsWith(lead) && m.text.size() > lead.size(), qPrintable(m.text));
    QVERIFY2(m.text.contains(QStringLiteral("Office")), qPrintable(m.text)); // the engine's message follows
    QCOMPARE(m.icon, Prompt::Icon::None);
    QCOMPARE(m.buttons, Prompt::Buttons::Ok);
    QVERIFY(m.title.isEmpty());
}

void TestReportDb::rebuildVacanciesFirst()
{
    QTemporaryDir dir;
    Session s;
    currentReport(s, dir);
    const QString db = s.CurrentDBPath;
    // Three members among the twelve "Executive" lines, nine vacancies.
    setOfficer(db, 20, QStringLiteral("Zeta"));
    setOfficer(db, 24, QStringLiteral("Alpha"), QStringLiteral("Bob"));
    setOfficer(db, 27, QStringLiteral("Alpha"), QStringLiteral("Al"));
    setOfficer(db, 2, QStringLiteral("Commodore"));
    ScriptedPrompt p;
    QVERIFY(RebuildOfficers(s, p));
    QVERIFY(p.shown.isEmpty());

    QStringList executive;
    for (const QVariantList& r : rows(db, QStringLiteral("SELECT Last, First, Cert, Rank, Grade FROM Officers "
                                                         "WHERE Forder BETWEEN 19 AND 30 ORDER BY Forder")))
        executive << (r[0].isNull() ? QStringLiteral("-")
                                    : QStringLiteral("%1 %2 %3 %4 %5")
                                          .arg(r[0].toString(), r[1].toString(), r[2].toString(), r[3].toString(),
                                               r[4].toString()));
    QCOMPARE(executive, QStringList({"-", "-", "-", "-", "-", "-", "-", "-", "-", "Alpha Al C27 Lt AP",
                                     "Alpha Bob C24 Lt AP", "Zeta Ann C20 Lt AP"}));
    QCOMPARE(value(db, QStringLiteral("SELECT Last FROM Officers WHERE Forder = 2")).toString(),
             QStringLiteral("Commodore"));
    // Vacant lines stay Null, never zero-length.
    QCOMPARE(count(db, QStringLiteral("Officers"), QStringLiteral("WHERE Last IS NULL")), 96);
}

void TestReportDb::rebuildDropsCodesNotInCatalogue()
{
    QTemporaryDir dir;
    Session s;
    setUp(s, dir.path());
    Shape shape;
    shape.marker = QStringLiteral("7.0.0");
    shape.officers = olderOfficers();
    write(s.CurrentDBPath, shape);
    setOfficer(s.CurrentDBPath, 53, QStringLiteral("Dropped")); // "Port Engineer", code 9999
    setOfficer(s.CurrentDBPath, 69, QStringLiteral("Blank"));   // "Calendar Coordinator", code " "
    setOfficer(s.CurrentDBPath, 2, QStringLiteral("Kept"));
    ScriptedPrompt p;
    QVERIFY(RebuildOfficers(s, p));
    QCOMPARE(count(s.CurrentDBPath, QStringLiteral("Officers")), 100);
    QCOMPARE(count(s.CurrentDBPath, QStringLiteral("Officers"), QStringLiteral("WHERE Last = 'Dropped'")), 0);
    QCOMPARE(count(s.CurrentDBPath, QStringLiteral("Officers"), QStringLiteral("WHERE Last = 'Blank'")), 0);
    QCOMPARE(value(s.CurrentDBPath, QStringLiteral("SELECT Last FROM Officers WHERE Forder = 2")).toString(),
             QStringLiteral("Kept"));
    QStringList expected = catalogueLines();
    expected[1] = QStringLiteral("2|Commander|1701|Kept");
    QCOMPARE(officerLines(s.CurrentDBPath), expected);
    // The model holds the catalogue the rebuild used.
    QCOMPARE(s.model.OfficerCount, 100);
    QCOMPARE(s.model.OffTitle[53], QStringLiteral("Health & Welfare"));
}

void TestReportDb::rebuildTwiceEqualsOnce()
{
    QTemporaryDir dir;
    Session s;
    currentReport(s, dir);
    const QString db = s.CurrentDBPath;
    const QStringList names = {"Moss", "Abel", "Moss", "Zorn", "Kite", "Abel", "Lamb", "Moss"};
    const QList<int> lines = {19, 20, 23, 26, 34, 35, 36, 14};
    for (int i = 0; i < lines.size(); ++i)
        setOfficer(db, lines[i], names[i], i % 2 ? QStringLiteral("Bea") : QStringLiteral("Cal"));
    // Two members with the same name under one code, and a member of the old list on a heading line.
    setOfficer(db, 1, QStringLiteral("OnHeading"));
    ScriptedPrompt p;
    QVERIFY(RebuildOfficers(s, p));
    const auto once = snapshot(db);
    QCOMPARE(count(db, QStringLiteral("Officers"), QStringLiteral("WHERE Last = 'OnHeading'")), 0);
    QVERIFY(RebuildOfficers(s, p));
    QCOMPARE(snapshot(db), once);
    QVERIFY(p.shown.isEmpty());
}

void TestReportDb::rebuildReplacesExistingBackupOnly()
{
    QTemporaryDir dir;
    Session s;
    currentReport(s, dir);
    setOfficer(s.CurrentDBPath, 20, QStringLiteral("Zeta"));
    ScriptedPrompt p;
    QVERIFY(RebuildOfficers(s, p));
    QCOMPARE(bytes(s.CurrentBakPath), bytes(s.CurrentDBPath));

    QVERIFY(QFile::remove(s.CurrentBakPath));
    setOfficer(s.CurrentDBPath, 21, QStringLiteral("Yale"));
    QVERIFY(RebuildOfficers(s, p));
    QVERIFY(!QFile::exists(s.CurrentBakPath));
    QCOMPARE(files(dir.path()), QStringList({QStringLiteral("r318_TST.mdb")}));
}

void TestReportDb::rebuildFailureWarns()
{
    QTemporaryDir dir;
    Session s;
    currentReport(s, dir);
    setOfficer(s.CurrentDBPath, 2, QStringLiteral("Kept"));
    exec(s.CurrentDBPath, QStringLiteral("ALTER TABLE Officers DROP COLUMN Grade"));
    const auto before = snapshot(s.CurrentDBPath);
    ScriptedPrompt p;
    QVERIFY(!RebuildOfficers(s, p));
    QCOMPARE(p.shown.size(), 1);
    QCOMPARE(p.shown.first().text, QStringLiteral("Problem updating old database.\nSuggest making a new database.\n"
                                                  "'File\\Start a new R-318'"));
    QCOMPARE(p.shown.first().icon, Prompt::Icon::Warning);
    QCOMPARE(p.shown.first().buttons, Prompt::Buttons::Ok);
    // Nothing was half done.
    QCOMPARE(snapshot(s.CurrentDBPath), before);
}

void TestReportDb::upgradeCurrentFileChangesOnlySubmitUrl()
{
    QTemporaryDir dir;
    Session s;
    currentReport(s, dir);
    const QString db = s.CurrentDBPath;
    setOfficer(db, 20, QStringLiteral("Zeta"));
    setOfficer(db, 19, QStringLiteral("Alpha"));
    exec(db, QStringLiteral("UPDATE Misc SET PubName = 'Log', SubmitURL = 'https://old.example/'"));
    exec(db, QStringLiteral("UPDATE Recognized SET Last = 'Reed' WHERE rowid = 30"));
    const auto before = snapshot(db);

    ScriptedPrompt p;
    QVERIFY(OpenReportDatabase(s, {}, p));
    QVERIFY(p.shown.isEmpty());
    QCOMPARE(value(db, QStringLiteral("SELECT SubmitURL FROM Misc")).toString(), kUrl);
    exec(db, QStringLiteral("UPDATE Misc SET SubmitURL = 'https://old.example/'"));
    QCOMPARE(snapshot(db), before);
}

void TestReportDb::upgradeAddsSeventhList()
{
    QTemporaryDir dir;
    Session s;
    setUp(s, dir.path());
    Shape shape;
    shape.categories = 6;
    shape.marker = QStringLiteral("7.0.0");
    write(s.CurrentDBPath, shape);
    exec(s.CurrentDBPath, QStringLiteral("UPDATE Recognized SET Last = 'Dale' WHERE rowid = 100"));
    QCOMPARE(count(s.CurrentDBPath, QStringLiteral("Recognized")), 144);
    ScriptedPrompt p;
    QVERIFY(OpenReportDatabase(s, {}, p));
    QCOMPARE(count(s.CurrentDBPath, QStringLiteral("Recognized")), 168);
    const QList<QVariantList> slots =
        rows(s.CurrentDBPath, QStringLiteral("SELECT Category, Last FROM Recognized ORDER BY rowid"));
    for (int n = 0; n < 168; ++n)
        QCOMPARE(slots.at(n).at(0).toInt(), n / 24 + 1);
    QCOMPARE(slots.at(99).at(1).toString(), QStringLiteral("Dale"));
    // Opening again adds nothing.
    QVERIFY(OpenReportDatabase(s, {}, p));
    QCOMPARE(count(s.CurrentDBPath, QStringLiteral("Recognized")), 168);
}

void TestReportDb::upgradeOlderFile()
{
    QTemporaryDir dir;
    Session s;
    setUp(s, dir.path());
    const QString db = s.CurrentDBPath;
    write(db, olderShape());
    setOfficer(db, 2, QStringLiteral("Commodore"));
    setOfficer(db, 53, QStringLiteral("Dropped"));
    exec(db, QStringLiteral("UPDATE Misc SET PubName = 'Old Log'"));
    QVERIFY(!columns(db, QStringLiteral("Misc")).contains(QStringLiteral("Rostrelv6")));

    // First opening: the fields are added, the marker stays Null, the officer list follows the catalogue.
    ScriptedPrompt p;
    QVERIFY(OpenReportDatabase(s, {}, p));
    QVERIFY(p.shown.isEmpty());
    const QStringList misc = columns(db, QStringLiteral("Misc"));
    QVERIFY(misc.contains(QStringLiteral("SubmitURL")));
    QVERIFY(misc.contains(QStringLiteral("Year")));
    QCOMPARE(misc.last(), QStringLiteral("Rostrelv6"));
    QVERIFY(columns(db, QStringLiteral("Activities")).contains(QStringLiteral("VSC")));
    QVERIFY(columns(db, QStringLiteral("Activities")).contains(QStringLiteral("Award_S")));
    QVERIFY(value(db, QStringLiteral("SELECT Rostrelv6 FROM Misc")).isNull());
    QStringList expected = catalogueLines();
    expected[1] = QStringLiteral("2|Commander|1701|Commodore");
    QCOMPARE(officerLines(db), expected);
    QCOMPARE(count(db, QStringLiteral("Recognized")), 168);
    QCOMPARE(value(db, QStringLiteral("SELECT PubName FROM Misc")).toString(), QStringLiteral("Old Log"));
    // Added text fields also refuse zero-length text.
    QVERIFY(!tryExec(db, QStringLiteral("UPDATE Misc SET Year = ''")));

    // Second opening: the marker is set and the address refreshed.
    QVERIFY(OpenReportDatabase(s, {}, p));
    QCOMPARE(value(db, QStringLiteral("SELECT Rostrelv6 FROM Misc")).toString(), QStringLiteral("7.0.0"));
    QCOMPARE(value(db, QStringLiteral("SELECT SubmitURL FROM Misc")).toString(), kUrl);
    QCOMPARE(officerLines(db), expected);

    // Opening twice more changes nothing but SubmitURL.
    const auto settled = snapshot(db);
    s.HistorianURL = QStringLiteral("https://example.org/elsewhere");
    QVERIFY(OpenReportDatabase(s, {}, p));
    QVERIFY(OpenReportDatabase(s, {}, p));
    QCOMPARE(value(db, QStringLiteral("SELECT SubmitURL FROM Misc")).toString(), s.HistorianURL);
    exec(db, QStringLiteral("UPDATE Misc SET SubmitURL = ?"), {kUrl});
    QCOMPARE(snapshot(db), settled);
    QVERIFY(p.shown.isEmpty());
}

void TestReportDb::upgradeBcSem()
{
    QTemporaryDir dir;
    Session s;
    setUp(s, dir.path());
    Shape shape;
    shape.ocSem = false;
    shape.bcSem = true;
    shape.marker = QStringLiteral("7.0.0");
    write(s.CurrentDBPath, shape);
    exec(s.CurrentDBPath, QStringLiteral("UPDATE Education SET BC_Sem = 5, AG_P = 3"));
    ScriptedPrompt p;
    QVERIFY(OpenReportDatabase(s, {}, p));
    const QStringList education = columns(s.CurrentDBPath, QStringLiteral("Education"));
    QVERIFY(education.contains(QStringLiteral("OC_Sem")));
    QVERIFY(!education.contains(QStringLiteral("BC_Sem")));
    QVERIFY(value(s.CurrentDBPath, QStringLiteral("SELECT OC_Sem FROM Education")).isNull());
    s.model.OCCount[3] = 9;
    QVERIFY(LoadScalars(s));
    QCOMPARE(s.model.OCCount[3], 0);
    QCOMPARE(s.model.AGCount[1], 3);
}

void TestReportDb::upgradeNewFileRebuildsOnce()
{
    // A file made by this version keeps its members through the rebuild at its first reopening.
    QTemporaryDir dir;
    Session s;
    setUp(s, dir.path());
    ScriptedPrompt p;
    QVERIFY(OpenReportDatabase(s, {}, p));
    setOfficer(s.CurrentDBPath, 23, QStringLiteral("Hale"));
    QVERIFY(OpenReportDatabase(s, {}, p));
    QCOMPARE(value(s.CurrentDBPath, QStringLiteral("SELECT Rostrelv6 FROM Misc")).toString(), QStringLiteral("7.0.0"));
    // Vacant "Executive" lines come first: the member moves to the last of the twelve.
    QCOMPARE(value(s.CurrentDBPath, QStringLiteral("SELECT Last FROM Officers WHERE Forder = 30")).toString(),
             QStringLiteral("Hale"));
    QCOMPARE(count(s.CurrentDBPath, QStringLiteral("Officers"), QStringLiteral("WHERE Last IS NOT NULL")), 1);
    // The backup copy followed the rebuilt list.
    QCOMPARE(bytes(s.CurrentBakPath), bytes(s.CurrentDBPath));
}

QTEST_GUILESS_MAIN(TestReportDb)
#include "tst_reportdb.moc"

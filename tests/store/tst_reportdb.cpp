// The report database: creation, the office catalogue, the rebuild of the officer list and the upgrade of
// older files.

#include "ReportFixture.h"

#include "store/OfficeCatalogue.h"
#include "store/ReportDatabase.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <tuple>

using namespace ReportFixture;
using namespace Qt::StringLiterals;

namespace {

const QStringList kFiles{u"r318_TST.bak"_s, u"r318_TST.mdb"_s};

// Officers as "Forder|Office|DBcode|Last" in stored order.
QStringList officerLines(const QString& path)
{
    return lines(path, u"SELECT Forder, Office, DBcode, Last FROM Officers ORDER BY rowid"_s);
}

// The same for the catalogue with no members but `members` (line -> last name).
QStringList catalogueLines(const QMap<int, QString>& members = {})
{
    QStringList l;
    for (int i = 1; i <= kCatalogueSize; ++i) {
        const auto& o = OfficeCatalogue()[size_t(i - 1)];
        l << u"%1|%2|%3|%4"_s.arg(i).arg(o.title, o.code, members.value(i, u"<Null>"_s));
    }
    return l;
}

} // namespace

class TestReportDb : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Session> m_s; // a current report
    QString m_db;
    ScriptedPrompt m_p;

    void setOfficer(int forder, const QString& last, const QString& first = u"Ann"_s)
    {
        exec(m_db, "UPDATE Officers SET Cert = ?, Last = ?, First = ?, Rank = 'Lt', Grade = 'AP' WHERE Forder = ?",
             {u"C%1"_s.arg(forder), last, first, forder});
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_s = std::make_unique<Session>();
        openReport(*m_s, m_dir->path());
        m_db = m_s->CurrentDBPath;
        m_p.clear();
    }

    void creation()
    {
        QVERIFY(QFile::remove(m_db) && QFile::remove(m_s->CurrentBakPath));
        QVERIFY(OpenReportDatabase(*m_s, {}, m_p));
        QCOMPARE(bytes(m_s->CurrentBakPath), bytes(m_db)); // and nothing else is left in the folder
        QCOMPARE(files(m_dir->path()), kFiles);

        // The tables in creation order, no keys, indexes or relations, every text field refusing zero-length text.
        // A column reads "name size" for VARCHAR(size), T for TEXT, L for INTEGER and B for BOOLEAN.
        QStringList schema;
        for (const QString& table : lines(m_db, "SELECT type || ' ' || name FROM sqlite_master"))
            schema << table + u':' + columns(m_db, table.section(u' ', 1)).join(u',');
        QCOMPARE(value(m_db, "SELECT group_concat(sql) FROM sqlite_master").toString().count(u"<> '')"_s), 46);
        QCOMPARE(
            schema.join(u' ')
                .replace(QRegularExpression(u" VARCHAR\\((\\d+)\\)"_s), u" \\1"_s)
                .replace(u" TEXT"_s, u" T"_s)
                .replace(u" INTEGER"_s, u" L"_s)
                .replace(u" BOOLEAN"_s, u" B"_s),
            u"table Misc:Squadron 30,Squad_No L,District L,Sub_Date 20,To_Date 20,From_Date 20,Year 4,No_MM L,"
            "Incorp B,No_Active L,SubO_Cert 7,SubO_Last 25,SubO_First 16,SubO_Grade 2,SubO_Rank 8,SubO_Address 60,"
            "SubO_City 30,SubO_State 2,SubO_Zip 10,SubO_Title 25,SubO_Phone 12,SubO_Email 40,PubName 30,No_Senior L,"
            "Rostrelv6 8,SubmitURL 100 table Education:AG_S L,AG_P L,AG_AP L,AG_JN L,AG_N L,EG_EM L,EG_ME L,"
            "EG_SA L,EG_WE L,EG_ID L,EG_CP L,PB_CBC L,PB_HWC L,PB_SBC L,PB_DR L,OC_Sem L,PB_KUR B,OC_OT L,OC_LD L "
            "table Officers:Cert 7,Last 25,First 16,Rank 8,Grade 2,DBcode 4,Forder L,Office 75 table Recognized:"
            "Cert 7,Last 25,First 16,Rank 8,Grade 2,Office 75,Category L table Activities:Meetings T,Cruise T,"
            "CoopChart T,District T,National T,Community T,OtherPart T,Award_S T,Award_D T,Award_N T,Award_C T,"
            "Award_O T,VSC T"_s);

        // The default rows: the officer list is the catalogue, no members; 24 empty recognition slots for each
        // list, in list order.
        QCOMPARE(lines(m_db, "SELECT Rostrelv6, Sub_Date, SubmitURL, Incorp, Squadron, AG_S, PB_KUR, AG_P, Meetings, "
                             "(SELECT count(*) || ' ' || sum(Category <> (rowid - 1) / 24 + 1) FROM Recognized), "
                             "(SELECT count(*) FROM Officers WHERE coalesce(Cert, First, Rank, Grade) NOTNULL) + "
                             "(SELECT count(*) FROM Recognized WHERE coalesce(Cert, Last, First, Rank, Grade, Office) "
                             "NOTNULL) FROM Misc, Education, Activities"),
                 QStringList(u"<Null>|<Null>|%1|0|<Null>|0|0|<Null>|<Null>|168 0|0"_s.arg(kUrl)));
        QCOMPARE(officerLines(m_db), catalogueLines());
        const auto fresh = snapshot(m_db);

        // The next opening sets the marker and rebuilds the officer list once: vacant "Executive" lines first.
        setOfficer(23, u"Hale"_s);
        QVERIFY(OpenReportDatabase(*m_s, {}, m_p));
        QCOMPARE(value(m_db, "SELECT Rostrelv6 || count(*) FROM Misc, Recognized").toString(), u"7.0.0168"_s);
        QCOMPARE(officerLines(m_db), catalogueLines({{30, u"Hale"_s}}));
        QCOMPARE(bytes(m_s->CurrentBakPath), bytes(m_db)); // the backup copy followed the rebuilt list
        // Now current: an opening changes nothing, even with members out of the rebuild's order.
        setOfficer(19, u"Alpha"_s);
        const auto settled = snapshot(m_db);
        QVERIFY(OpenReportDatabase(*m_s, {}, m_p));
        QCOMPARE(snapshot(m_db), settled);

        // A new report replaces the report and its backup copy.
        exec(m_db, "UPDATE Misc SET PubName = 'Old News', From_Date = 'Sep 1, 2019'");
        QVERIFY(OpenReportDatabase(*m_s, u"NewDB"_s, m_p));
        QCOMPARE(snapshot(m_db), fresh);
        QCOMPARE(snapshot(m_s->CurrentBakPath), fresh);
        QCOMPARE(files(m_dir->path()), kFiles);
        QVERIFY2(m_p.shown.isEmpty(), qPrintable(m_p.texts().join(u'\n')));
    }

    // A step that fails shows one message, with no title and an OK button, that starts with `text` and holds the
    // engine's message `engine`, and leaves the report file as it was.
    void failure_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("engine");
        QTest::newRow("creation") << u"Error making database "_s << u"unable to open database file"_s;
        QTest::newRow("catalogue") << u"Can't update database, R318 Form is disabled"_s << u"Office"_s;
        QTest::newRow("rebuild")
            << u"Problem updating old database.\nSuggest making a new database.\n'File\\Start a new R-318'"_s
            << QString();
    }
    void failure()
    {
        QFETCH(QString, text);
        QFETCH(QString, engine);
        const QLatin1String step(QTest::currentDataTag());
        setOfficer(2, u"Kept"_s);
        if (step == "creation"_L1)
            setUp(*m_s, m_dir->path() + u"/none"_s);
        else if (step == "catalogue"_L1) // only an empty officer list is filled from the catalogue
            exec(m_db, "DELETE FROM Officers");
        if (step != "creation"_L1)
            exec(m_db, u"ALTER TABLE Officers DROP COLUMN "_s + (step == "catalogue"_L1 ? "Office"_L1 : "Grade"_L1));
        const auto before = snapshot(m_db);
        QString reason;
        QVERIFY(step == "creation"_L1    ? !OpenReportDatabase(*m_s, {}, m_p, &reason)
                : step == "catalogue"_L1 ? !BuildCatalogue(*m_s, QString(), m_p)
                                         : !RebuildOfficers(*m_s, m_p));
        QCOMPARE(m_p.shown.size(), 1);
        const Prompt::Message& m = m_p.shown.first();
        QVERIFY2(m.text.startsWith(text) && m.text.contains(engine), qPrintable(m.text));
        QCOMPARE(m.icon, step == "rebuild"_L1 ? Prompt::Icon::Warning : Prompt::Icon::None);
        QVERIFY(m.buttons == Prompt::Buttons::Ok && m.title.isEmpty() && (step != "creation"_L1 || reason == m.text));
        QCOMPARE(snapshot(m_db), before); // nothing was half done
    }

    void rebuildVacanciesFirst()
    {
        // The catalogue alone ("UD") writes nothing.
        const auto before = snapshot(m_db);
        QVERIFY(BuildCatalogue(*m_s, u"UD"_s, m_p));
        QCOMPARE(snapshot(m_db), before);
        // Three members among the twelve "Executive" lines, two with one name; a member on a heading line.
        for (const auto& [line, last, first] :
             {std::tuple(20, "Zeta", "Ann"), std::tuple(24, "Alpha", "Bob"), std::tuple(27, "Alpha", "Al"),
              std::tuple(2, "Commodore", "Ann"), std::tuple(1, "OnHeading", "Ann")})
            setOfficer(line, QString::fromLatin1(last), QString::fromLatin1(first));
        QVERIFY(RebuildOfficers(*m_s, m_p));
        QCOMPARE(lines(m_db, "SELECT Forder, Cert, Last, First, Rank, Grade FROM Officers WHERE coalesce(Cert, Last, "
                             "First, Rank, Grade) NOTNULL ORDER BY rowid"),
                 QStringList({"2|C2|Commodore|Ann|Lt|AP", "28|C27|Alpha|Al|Lt|AP", "29|C24|Alpha|Bob|Lt|AP",
                              "30|C20|Zeta|Ann|Lt|AP"}));
        QCOMPARE(bytes(m_s->CurrentBakPath), bytes(m_db)); // the backup copy follows

        // Once more changes nothing; without a backup copy none is made.
        const auto once = snapshot(m_db);
        QVERIFY(QFile::remove(m_s->CurrentBakPath));
        QVERIFY(RebuildOfficers(*m_s, m_p));
        QCOMPARE(snapshot(m_db), once);
        QCOMPARE(files(m_dir->path()), QStringList(u"r318_TST.mdb"_s));
        QVERIFY(m_p.shown.isEmpty());
    }

    void upgradeOlderFile()
    {
        // A file of an earlier version: BC_Sem for OC_Sem, fewer fields, six recognition lists, an older officer
        // list (line 53 an office since dropped, no "Teaching Aides"), and members.
        write(m_db);
        for (const char* sql :
             {"ALTER TABLE Education DROP COLUMN OC_Sem", "ALTER TABLE Education ADD COLUMN BC_Sem INTEGER",
              "ALTER TABLE Activities DROP COLUMN VSC", "ALTER TABLE Activities DROP COLUMN Award_S",
              "ALTER TABLE Misc DROP COLUMN SubmitURL", "ALTER TABLE Misc DROP COLUMN Year",
              "ALTER TABLE Misc DROP COLUMN Rostrelv6", "DELETE FROM Recognized WHERE Category = 7",
              "DELETE FROM Officers WHERE Forder = 100",
              "UPDATE Officers SET Office = 'Port Engineer', DBcode = '9999' WHERE Forder = 53",
              "UPDATE Misc SET PubName = 'Old Log'", "UPDATE Education SET BC_Sem = 5, AG_P = 3",
              "UPDATE Recognized SET Last = 'Dale' WHERE rowid = 100"})
            exec(m_db, QString::fromLatin1(sql));
        for (const auto& [line, last] : {std::pair(2, "Commodore"), std::pair(53, "Dropped"), std::pair(69, "Blank")})
            setOfficer(line, QString::fromLatin1(last)); // 69 is "Calendar Coordinator", no host code

        // First opening: the fields and the seventh list are added (BC_Sem goes), the marker stays Null, the
        // officer list follows the catalogue and keeps the members of its offices.
        QVERIFY(OpenReportDatabase(*m_s, {}, m_p));
        QCOMPARE(columns(m_db, u"Misc"_s).mid(23) + columns(m_db, u"Activities"_s).mid(11) +
                     columns(m_db, u"Education"_s).mid(14),
                 QStringList({"SubmitURL VARCHAR(100)", "Year VARCHAR(4)", "Rostrelv6 VARCHAR(8)", "VSC TEXT",
                              "Award_S TEXT", "PB_DR INTEGER", "PB_KUR BOOLEAN", "OC_OT INTEGER", "OC_LD INTEGER",
                              "OC_Sem INTEGER"}));
        QCOMPARE(lines(m_db, "SELECT Rostrelv6, PubName, OC_Sem, AG_P FROM Misc, Education"),
                 QStringList(u"<Null>|Old Log|<Null>|3"_s));
        QCOMPARE(lines(m_db, "SELECT Category, count(*), group_concat(Last) FROM Recognized GROUP BY Category ORDER "
                             "BY min(rowid)"),
                 QStringList({"1|24|<Null>", "2|24|<Null>", "3|24|<Null>", "4|24|<Null>", "5|24|Dale", "6|24|<Null>",
                              "7|24|<Null>"}));
        const QStringList expected = catalogueLines({{2, u"Commodore"_s}});
        QCOMPARE(officerLines(m_db), expected);
        // Every text field refuses zero-length text, the added ones too.
        QCOMPARE(value(m_db, "SELECT sql FROM sqlite_master WHERE name = 'Misc'").toString().count(u"<> '')"_s), 20);

        // Second opening: the marker is set and the address refreshed.
        QVERIFY(OpenReportDatabase(*m_s, {}, m_p));
        QCOMPARE(lines(m_db, "SELECT Rostrelv6, SubmitURL, count(*) FROM Misc, Recognized"),
                 QStringList(u"7.0.0|%1|168"_s.arg(kUrl)));
        QCOMPARE(officerLines(m_db), expected);
        QVERIFY(m_p.shown.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestReportDb)
#include "tst_reportdb.moc"

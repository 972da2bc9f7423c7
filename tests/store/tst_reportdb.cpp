// The report database and the report model: creation, the rebuild of the officer list, the upgrade of older files,
// loading, saving (texts cut to their field, Null for empty text) and ClearReport.

#include "ReportFixture.h"

#include "store/OfficeCatalogue.h"
#include "store/ReportConnection.h"
#include "store/ReportDatabase.h"
#include "store/ReportIO.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>
#include <tuple>

using namespace ReportFixture;
using namespace Qt::StringLiterals;

namespace {

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

// The lines of modelLines whose value is set: neither empty nor 0.
QStringList setLines(const ReportModel& m)
{
    return modelLines(m).filter(QRegularExpression(u"=.*[^0|]"_s));
}

// A prompt that runs a step of the test when it is asked, and answers what the step returns.
struct ActingPrompt : ScriptedPrompt
{
    std::function<Answer(const Message&)> onAsk;
    Answer ask(const Message& message) override
    {
        shown.append(message);
        return onAsk(message);
    }
};

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
    void initTestCase() { ReportConnection::setBusyTimeout(50); }
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
        QCOMPARE(files(m_dir->path()), kReportAndBackup);

        // Every text field refuses zero-length text.
        QCOMPARE(value(m_db, "SELECT group_concat(sql) FROM sqlite_master").toString().count(u"<> '')"_s), 46);

        // The default rows: the officer list is the catalogue, no members; 24 empty recognition slots for each
        // list, in list order.
        QCOMPARE(lines(m_db, "SELECT Rostrelv6, Sub_Date, SubmitURL, Incorp, Squadron, AG_S, PB_KUR, AG_P, Meetings, "
                             "(SELECT count(*) || ' ' || sum(Category <> (rowid - 1) / 24 + 1) FROM Recognized), "
                             "(SELECT count(*) FROM Officers WHERE coalesce(Cert, First, Rank, Grade) NOTNULL) + "
                             "(SELECT count(*) FROM Recognized WHERE coalesce(Cert, Last, First, Rank, Grade, Office) "
                             "NOTNULL) FROM Misc, Education, Activities"),
                 QStringList(u"<Null>|<Null>|%1|0|<Null>|0|0|<Null>|<Null>|168 0|0"_s.arg(kUrl)));
        const auto fresh = snapshot(m_db);

        // The next opening sets the marker and rebuilds the officer list once: of the twelve "Executive" lines the
        // vacant ones first, then the members in name order; a member on a heading line goes.
        for (const auto& [line, last, first] :
             {std::tuple(20, "Zeta", "Ann"), std::tuple(24, "Alpha", "Bob"), std::tuple(27, "Alpha", "Al"),
              std::tuple(2, "Commodore", "Ann"), std::tuple(1, "OnHeading", "Ann")})
            setOfficer(line, QString::fromLatin1(last), QString::fromLatin1(first));
        QVERIFY(OpenReportDatabase(*m_s, {}, m_p));
        QCOMPARE(value(m_db, "SELECT Rostrelv6 || count(*) FROM Misc, Recognized").toString(), u"7.0.0168"_s);
        QCOMPARE(lines(m_db, "SELECT Forder, Cert, Last, First, Rank, Grade FROM Officers WHERE coalesce(Cert, Last, "
                             "First, Rank, Grade) NOTNULL ORDER BY rowid"),
                 QStringList({"2|C2|Commodore|Ann|Lt|AP", "28|C27|Alpha|Al|Lt|AP", "29|C24|Alpha|Bob|Lt|AP",
                              "30|C20|Zeta|Ann|Lt|AP"}));
        QCOMPARE(bytes(m_s->CurrentBakPath), bytes(m_db)); // the backup copy followed the rebuilt list
        // Rebuilt once more, nothing changes, and without a backup copy none is made. Now current, an opening
        // changes nothing, even with members out of the rebuild's order; nor does the catalogue alone ("UD").
        const auto once = snapshot(m_db);
        QVERIFY(QFile::remove(m_s->CurrentBakPath));
        QVERIFY(RebuildOfficers(*m_s, m_p));
        QCOMPARE(snapshot(m_db), once);
        QCOMPARE(files(m_dir->path()), QStringList(u"r318_TST.mdb"_s));
        setOfficer(19, u"Omega"_s);
        const auto settled = snapshot(m_db);
        QVERIFY(OpenReportDatabase(*m_s, {}, m_p) && BuildCatalogue(*m_s, u"UD"_s, m_p));
        QCOMPARE(snapshot(m_db), settled);

        // A new report replaces the report and its backup copy.
        exec(m_db, "UPDATE Misc SET PubName = 'Old News', From_Date = 'Sep 1, 2019'");
        QVERIFY(OpenReportDatabase(*m_s, u"NewDB"_s, m_p));
        QCOMPARE(snapshot(m_db), fresh);
        QCOMPARE(snapshot(m_s->CurrentBakPath), fresh);
        QCOMPARE(files(m_dir->path()), kReportAndBackup);
        QVERIFY2(m_p.shown.isEmpty(), qPrintable(m_p.texts().join(u'\n')));
    }

    // A step that fails shows one message, with no title and an OK button, that starts with `text` and holds the
    // engine's message `engine`, and leaves the report file as it was. The file is set up by `sql` first; the
    // upgrade of a file whose marker is set fails at the seventh list, the dropping of BC_Sem or the address.
    void failure_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QStringList>("sql");
        const QString upgrade = u"The report file %1 could not be brought up to date: "_s;
        const QString raise = u"CREATE TRIGGER t BEFORE %1 BEGIN SELECT RAISE(ABORT, 'refused'); END"_s;
        QTest::newRow("creation") << u"Error making database "_s << u"unable to open database file"_s << QStringList();
        // Only an empty officer list is filled from the catalogue.
        QTest::newRow("catalogue") << u"Can't update database, R318 Form is disabled"_s << u"Office"_s
                                   << QStringList{u"DELETE FROM Officers"_s,
                                                  u"ALTER TABLE Officers DROP COLUMN Office"_s};
        QTest::newRow("rebuild")
            << u"Problem updating old database.\nSuggest making a new database.\n'File\\Start a new R-318'"_s
            << QString() << QStringList{u"ALTER TABLE Officers DROP COLUMN Grade"_s};
        QTest::newRow("upgrade, seventh list")
            << upgrade << u"refused"_s
            << QStringList{u"DELETE FROM Recognized WHERE Category = 7"_s, raise.arg(u"INSERT ON Recognized"_s)};
        QTest::newRow("upgrade, dropping a field") << upgrade << u"no such column: BC_Sem"_s
                                                   << QStringList{u"ALTER TABLE Education ADD COLUMN BC_Sem INTEGER"_s,
                                                                  u"CREATE VIEW v AS SELECT BC_Sem FROM Education"_s};
        QTest::newRow("upgrade, address")
            << upgrade << u"refused"_s
            << QStringList{u"UPDATE Misc SET SubmitURL = 'https://example.org/old'"_s, raise.arg(u"UPDATE ON Misc"_s)};
    }
    void failure()
    {
        QFETCH(QString, text);
        QFETCH(QString, engine);
        QFETCH(QStringList, sql);
        const QLatin1String step(QTest::currentDataTag());
        const bool opens = step == "creation"_L1 || step.startsWith("upgrade"_L1);
        text = text.arg(QDir::toNativeSeparators(m_db));
        setOfficer(2, u"Kept"_s);
        if (step == "creation"_L1)
            setUp(*m_s, m_dir->path() + u"/none"_s);
        for (const QString& statement : sql)
            exec(m_db, statement);
        const auto before = snapshot(m_db);
        QString reason;
        QVERIFY(opens                    ? !OpenReportDatabase(*m_s, {}, m_p, &reason)
                : step == "catalogue"_L1 ? !BuildCatalogue(*m_s, QString(), m_p)
                                         : !RebuildOfficers(*m_s, m_p));
        QCOMPARE(m_p.shown.size(), 1);
        const Prompt::Message& m = m_p.shown.first();
        QVERIFY2(m.text.startsWith(text) && m.text.contains(engine), qPrintable(m.text));
        QCOMPARE(m.icon, step == "creation"_L1 || step == "catalogue"_L1 ? Prompt::Icon::None : Prompt::Icon::Warning);
        QVERIFY(m.buttons == Prompt::Buttons::Ok && m.title.isEmpty() && (!opens || reason.startsWith(text)));
        QCOMPARE(snapshot(m_db), before); // nothing was half done
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
    void roundTrip()
    {
        // A new report: the catalogue's officer list and the submission address; every other value empty or 0.
        ReportModel& m = m_s->model;
        const QStringList set = setLines(m);
        QCOMPARE(set.size(), 1 + 100);
        QCOMPARE(set.first(), u"V17="_s + kUrl);
        QCOMPARE(set.filter(u"Off53="_s), QStringList(u"Off53=53|Health & Welfare||-|||||"_s)); // a blank code

        // Every value of a filled file is loaded and saved back as it was.
        m.SquadronName = u"Harbour Squadron"_s;
        m.SquadronNo = 318;
        m.DistrictNo = 27;
        QVERIFY(WriteReport(*m_s));
        fillFile(m_db);
        const auto filled = snapshot(m_db);
        QVERIFY(LoadReport(*m_s));
        QVERIFY(WriteReport(*m_s));
        QCOMPARE(snapshot(m_db), filled);

        // Texts longer than their field are cut, in the file and in the model; empty texts are Null; activity texts
        // lose their trailing line breaks and are never cut.
        const QString thirty = u"Abcdefghijklmnopqrstuvwxyz1234"_s;
        m.SubOLast = m.officer(2).Last = thirty;
        m.entry(1, 1).Office = QString(80, u'o');
        m.SubmitURL = "https://example.org/"_L1 + QString(100, u'p');
        m.SubOCity = m.officer(3).First = m.entry(2, 1).Rank = u""_s;
        m.ActivityText[0] = u"Met monthly.\r\n\r\n"_s;
        m.ActivityText[1] = u"\r\n\n\r"_s;
        m.ActivityText[3] = u"line one\r\nline two\n"_s;
        m.ActivityText[4] = QString(5000, u'm');
        QVERIFY(WriteReport(*m_s));
        QCOMPARE(m.SubOLast + u'|' + m.officer(2).Last, thirty.left(25) + u'|' + thirty.left(25));
        QCOMPARE(QList<qsizetype>({m.entry(1, 1).Office.size(), m.SubmitURL.size()}), QList<qsizetype>({75, 100}));
        QCOMPARE(m.ActivityText[0] + u'|' + m.ActivityText[1] + u'|' + m.ActivityText[3],
                 u"Met monthly.||line one\r\nline two"_s);
        QCOMPARE(
            lines(m_db,
                  "SELECT Meetings, Cruise, Activities.District, length(National), SubO_City FROM Activities, Misc"),
            QStringList(u"Met monthly.|<Null>|line one\r\nline two|5000|<Null>"_s));
        const QStringList saved = modelLines(m);

        // A cleared report keeps only the submission address and the squadron's identity; the loads bring back
        // every value; an empty officers table leaves the officer list as it was.
        ClearReport(m);
        QCOMPARE(setLines(m), QStringList(u"V17="_s + m.SubmitURL));
        m.SubmitURL.clear();
        m.ActivityText[1] = u"stale"_s;
        QVERIFY(LoadOfficers(*m_s) && LoadRecognized(*m_s) && LoadScalars(*m_s));
        QCOMPARE(modelLines(m), saved);
        exec(m_db, "DELETE FROM Officers");
        QVERIFY(LoadOfficers(*m_s));
        QCOMPARE(modelLines(m), saved);

        // Saved cleared: the identity goes into Misc, the marker is never written, empty texts are Null.
        ClearReport(m);
        QVERIFY(WriteReport(*m_s));
        QCOMPARE(lines(m_db, "SELECT * FROM Misc"),
                 QStringList("Harbour Squadron|318|27|<Null>|<Null>|<Null>|<Null>|0|0|0"_L1 +
                             u"|<Null>"_s.repeated(13) + "|0|7.0.0|"_L1 + m.SubmitURL));
        QCOMPARE(lines(m_db, "SELECT * FROM Recognized WHERE coalesce(Cert, Last, First, Rank, Grade, Office) NOTNULL"),
                 QStringList());

        // A text is cut to the size its field has in the file, which an older file may declare otherwise.
        exec(m_db, "ALTER TABLE Misc DROP COLUMN PubName");
        exec(m_db, "ALTER TABLE Misc ADD COLUMN PubName VARCHAR(40)");
        m.PubName = QString(45, u'p');
        QVERIFY(WriteReport(*m_s));
        QCOMPARE(value(m_db, "SELECT PubName FROM Misc").toString(), QString(40, u'p'));
    }

    void recognitionLoadsInNameOrder()
    {
        // List 4 (rows 73..96) has entries in its slots 3 and 7; list 7 (rows 145..168) has a 25th row and 25
        // entries in no order; two rows belong to no list.
        exec(m_db, "INSERT INTO Recognized (Category) VALUES (7)");
        exec(m_db, "UPDATE Recognized SET Cert = '111', Last = 'Young', First = 'Amy' WHERE rowid = 75");
        exec(m_db, "UPDATE Recognized SET Cert = '222', Last = 'adams', First = 'Ben' WHERE rowid = 79");
        exec(m_db, "UPDATE Recognized SET Last = 'N' || printf('%02d', (rowid - 145) * 7 % 25 + 1) WHERE Category = 7");
        exec(m_db, "INSERT INTO Recognized (Last, Category) VALUES ('Stray', 9), ('Zero', 0)");
        fillModel(m_s->model); // entries that the load replaces
        QVERIFY(LoadRecognized(*m_s));
        QStringList expected{"Rec4.1=222|adams|Ben||||4", "Rec4.2=111|Young|Amy||||4"}, seventh;
        for (int e = 1; e <= 24; ++e) {
            expected << u"Rec7.%1=|N%2|||||7"_s.arg(e).arg(e, 2, 10, QChar(u'0'));
            seventh << u"<Null>|N%1|<Null>"_s.arg(e, 2, 10, QChar(u'0'));
        }
        QCOMPARE(setLines(m_s->model).filter(QRegularExpression(u"^Rec"_s)), expected);

        // Saved back into the slots in stored order; the 25th row of list 7 is left as it was.
        QVERIFY(WriteReport(*m_s));
        const QString sql = u"SELECT Cert, Last, First FROM Recognized WHERE Category = ? ORDER BY rowid"_s;
        QCOMPARE(lines(m_db, sql, {4}),
                 QStringList({"222|adams|Ben", "111|Young|Amy"}) + QStringList(22, u"<Null>|<Null>|<Null>"_s));
        QCOMPARE(lines(m_db, sql, {7}), seventh << u"<Null>|N19|<Null>"_s);
    }

    void whatTheFileLacksIsSkipped()
    {
        // A field the file lacks is skipped and the rest is saved.
        exec(m_db, "ALTER TABLE Misc DROP COLUMN PubName");
        ReportModel& m = m_s->model;
        fillModel(m);
        QString why;
        QVERIFY2(WriteReport(*m_s, &why), qPrintable(why));
        QCOMPARE(lines(m_db, "SELECT SubO_City = ? FROM Misc", {m.SubOCity}), QStringList(u"1"_s));

        // A row the engine refuses, or a table the save cannot read, fails the whole save with the reason; the
        // file keeps the report it held.
        const auto saved = snapshot(m_db);
        m.SubOCity = m.officer(5).Last = m.entry(7, 24).Last = u"Changed"_s;
        exec(m_db, "CREATE TRIGGER refuse BEFORE UPDATE ON Officers WHEN NEW.Forder = 5 "
                   "BEGIN SELECT RAISE(ABORT, 'refused'); END");
        QVERIFY(!WriteReport(*m_s, &why));
        QCOMPARE(why, u"the table Officers could not be written: refused"_s);
        QCOMPARE(snapshot(m_db), saved);
        exec(m_db, "DROP TRIGGER refuse");
        exec(m_db, "ALTER TABLE Recognized RENAME TO Gone");
        why.clear();
        QVERIFY(!WriteReport(*m_s, &why));
        QCOMPARE(why, u"the table Recognized is missing"_s);
        exec(m_db, "ALTER TABLE Gone RENAME TO Recognized");
        QCOMPARE(snapshot(m_db), saved);

        // The load says what is missing and loads the rest.
        ClearReport(m);
        why.clear();
        QVERIFY(!LoadScalars(*m_s, &why));
        QCOMPARE(why, u"the table Misc has no field PubName"_s);
        QVERIFY(!m.SubOCity.isEmpty());
        exec(m_db, "DROP TABLE Officers");
        ScriptedPrompt p;
        QVERIFY(!LoadReport(*m_s, p));
        QCOMPARE(p.texts(), QStringList(u"The report file %1 could not be read completely: the table Officers is "
                                        "missing."_s.arg(QDir::toNativeSeparators(m_db))));
        QCOMPARE(p.shown.first().icon, Prompt::Icon::Warning);
    }

    void saveFailureReported()
    {
        const auto failure = [this](const QString& reason) {
            return u"The report could not be saved in %1: %2."_s.arg(QDir::toNativeSeparators(m_db), reason);
        };
        // Read-only at the exit: asked whether to try again. Cancel leaves the file as it was; Retry after the
        // cause is mended saves; a save that works asks nothing.
        m_s->model.PubName = u"Final words"_s;
        QByteArray before = bytes(m_db);
        QVERIFY(QFile::setPermissions(m_db, QFileDevice::ReadOwner));
        ActingPrompt p;
        p.onAsk = [&](const Prompt::Message&) {
            if (p.shown.size() == 1)
                return Prompt::Answer::Cancel;
            QFile::setPermissions(m_db, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            return Prompt::Answer::Retry;
        };
        QVERIFY(!SaveReportAtExit(*m_s, p));
        QCOMPARE(bytes(m_db), before);
        QVERIFY(SaveReportAtExit(*m_s, p) && SaveReportAtExit(*m_s, p));
        QCOMPARE(p.texts(), QStringList(2, failure(u"the file is read-only"_s) +
                                               u"\n\nClick 'Retry' to try again, or 'Cancel' to exit without saving "
                                               "(the changes since the last save are lost)."_s));
        QCOMPARE(p.shown.first().buttons, Prompt::Buttons::RetryCancel);
        QCOMPARE(value(m_db, "SELECT PubName FROM Misc").toString(), u"Final words"_s);

        // Locked by another program, then gone: a warning; the file keeps what it had, or stays gone.
        m_s->model.PubName = u"Unsaved"_s;
        before = bytes(m_db);
        ScriptedPrompt q;
        {
            ReportConnection other(m_db);
            QVERIFY(other.begin(ReportConnection::Lock::Exclusive));
            QVERIFY(!SaveReport(*m_s, q));
        }
        QCOMPARE(bytes(m_db), before);
        QVERIFY(QFile::remove(m_db));
        QVERIFY(!SaveReport(*m_s, q));
        QVERIFY(!QFile::exists(m_db));
        QCOMPARE(q.texts(), QStringList({failure(u"the file is locked by another program"_s),
                                         failure(u"the file does not exist"_s)}));
        QCOMPARE(q.shown.first().icon, Prompt::Icon::Warning);
    }
};

QTEST_GUILESS_MAIN(TestReportDb)
#include "tst_reportdb.moc"

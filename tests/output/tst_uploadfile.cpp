// The upload file (records, value forms, code page, replacement of the old file) and the web submission
// (guards, address, browser seam, web addresses only, no password in the log); the batch commands that export
// the upload file and the PDF file.

#include "HostFixture.h"
#include "ScriptedPrompt.h"

#include "app/Session.h"
#include "editor/DesktopBrowser.h"
#include "output/UploadFile.h"
#include "output/WebSubmission.h"
#include "store/OfficeCatalogue.h"
#include "store/ReportConnection.h"
#include "store/ReportDatabase.h"
#include "store/ReportIO.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kGolden = QStringLiteral(R318_OUTPUT_TESTDATA "/upload_golden.txt");

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// True when the file holds the records (their bytes, without the last CR LF) as whole records.
bool hasRecord(const QByteArray& file, const QByteArray& records)
{
    return (QByteArray("\r\n") + file).contains("\r\n" + records + "\r\n");
}

// Puts a member (Cert, Last, First, Rank, Grade, an entry's office) on officer line `index` (category 0) or into
// entry `index` of a recognition list; no values empty the entry.
void setPerson(ReportModel& m, int category, int index, const QStringList& v)
{
    if (category == 0) {
        Officer& o = m.officer(index);
        std::tie(o.Cert, o.Last, o.First, o.Rank, o.Grade) =
            std::tuple(v.value(0), v.value(1), v.value(2), v.value(3), v.value(4));
        return;
    }
    m.entry(category, index) = {
        v.value(0), v.value(1), v.value(2), v.value(3), v.value(4), v.value(5), v.isEmpty() ? 0 : category};
}

// One report in a temporary folder, the report file and the upload file beside it; the model is the report
// of the golden file, with every record and every value form.
struct Report
{
    Report()
    {
        std::tie(session.CurrentDBPath, session.CurrentBakPath, session.UploadFilePath, session.UserPW) = std::tuple(
            dir.filePath("r318_HBC.mdb"), dir.filePath("r318_HBC.bak"), dir.filePath("R318_Upload.txt"), "secret");
        ScriptedPrompt prompt;
        BuildCatalogue(session, QStringLiteral("UD"), prompt); // the officer lines of the catalogue, none filled
        ReportModel& m = session.model;
        std::tie(m.SquadronName, m.SquadronNoText, m.SubDate, m.FromDate, m.ToDate, m.ReportYear, m.PubName,
                 m.SubmitURL) = std::tuple("Harbor City", "0123", "Jul 2, 2019", "Sep 1, 2018", "Aug 31, 2019", "2019",
                                           "The Binnacle", "https://example.org/r318/submit.asp?");
        std::tie(m.DistrictNo, m.NoMM, m.Incorp, m.NoActive, m.NoSenior) = std::tuple(7, 42, true, 87, 3);
        std::tie(m.SubOCert, m.SubOLast, m.SubOFirst, m.SubOGrade, m.SubORank, m.SubOAddress, m.SubOCity, m.SubOState,
                 m.SubOZip, m.SubOTitle, m.SubOPhone, m.SubOEmail) =
            std::tuple("A123456", "Marlow", "Jean", "AP", "Lt", "12 Quay St", "Harbor City", "ME", "04101", "Historian",
                       "207-555-0100", "jean@example.org");
        setPerson(m, 0, 2, {"12345", "Brooks", "Alan", "Cdr", "SN"});                        // Commander
        setPerson(m, 0, 19, {"23456", "O'Neil", "Robert \"Bob\"", "Lt", "P"});               // the first "Executive"
        setPerson(m, 0, 40, {"67890", "Ruiz", QStringLiteral("Mar\u00eda"), "1st/Lt", "S"}); // Chaplain
        setPerson(m, 0, 82,
                  {"78901", QStringLiteral("Kova\u010d"), QStringLiteral("Zo\u00eb"), "Lt", "JN"}); // Seamanship
        setPerson(m, 1, 1, {"45678", "Young", "Pat", "P/C", "N", "District Educational Officer"});
        setPerson(m, 1, 2, {"34567", "Adams", "Lee", "Lt/C", "AP", "Asst. D/Secretary"});
        setPerson(m, 2, 1, {"56789", "Quinn", "Dana", "R/C", "SN", "National Committee Member"});
        setPerson(m, 3, 1, {"22222", "Smith", "John", "", "S", "not written for this list"});
        setPerson(m, 3, 2, {"11111", "Smith", "Anne", "Lt", "AP"});
        setPerson(m, 3, 3, {"99999", "de Vries", "Hans", "Lt", "P"});
        setPerson(m, 5, 1, {"33333", "Baker", "Chris", "Lt/C", "JN"});
        setPerson(m, 6, 1, {"44444", "Doe", "Sam", "P/C", "SN"});
        setPerson(m, 7, 1, {"55555", "Evans", "Kim", "Lt", "S"}); // list 7 is written as its count only
        m.AGCount = {5, 3, 0, 0, 12};
        m.EGCount = {1, 0, 2, 0, -1, 4};
        m.BCCount = {1, 0, 2};
        m.OCCount = {0, 4, 0, 7};
        m.ActivityText[0] = QStringLiteral("Met monthly.\r\nCruise in June.");
        m.ActivityText[1] = QStringLiteral("The \"Spring Fling\" raft-up");
        m.ActivityText[2] = QStringLiteral(" ");
        m.ActivityText[4] = QStringLiteral("Two members at the national meeting.");
        m.ActivityText[6] = QStringLiteral("See newsletter.");
        m.ActivityText[7] = QStringLiteral("  Two district awards.  ");
        m.ActivityText[10] = QStringLiteral("Line one\r\nLine two\r\n\r\nLine four");
        m.ActivityText[11] = QStringLiteral("12 checks");
        m.ActivityText[12] = QStringLiteral("Cup \u20ac50 \u03a9 ") + QString::fromUcs4(U"\U0001F6A4");
    }

    // Writes the model into the report file through the report store, which makes the file first.
    bool save()
    {
        ReportSession empty = session; // for the report store's new report, which rebuilds the officer lines
        ScriptedPrompt prompt;
        QString error;
        const bool saved = (QFile::exists(session.CurrentDBPath) || CreateReportDatabase(empty, prompt, &error)) &&
                           WriteReport(session, &error);
        if (!saved)
            qWarning("cannot save the report: %s", qPrintable(error));
        return saved;
    }

    // Changes the saved report behind the model's back (values only the host or an older file can give).
    bool exec(const QString& statement)
    {
        ReportConnection db(session.CurrentDBPath);
        const bool ok = db.isOpen() && db.exec(statement);
        if (!ok)
            qWarning("%s: %s", qPrintable(statement), qPrintable(db.error()));
        return ok;
    }

    // Writes the upload file (upload() saves the model first); the file's bytes, or empty on failure.
    QByteArray upload() { return save() ? write() : QByteArray(); }
    QByteArray write()
    {
        QString reason;
        if (WriteUploadFile(session, &reason))
            return readFile(session.UploadFilePath);
        qWarning("%s", qPrintable(reason));
        return {};
    }

    QTemporaryDir dir;
    Session session;
};

struct FakeBrowser : Browser
{
    bool open(const QUrl& url) override { return urls << url, result; }
    QList<QUrl> urls;
    bool result = true;
};

} // namespace

Q_DECLARE_METATYPE(SubmitOutcome)

// Receives the addresses that QDesktopServices::openUrl hands to a registered handler, and logs them.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void handle(const QUrl& url)
    {
        urls << url;
        qWarning("opening %s (%s)", qPrintable(url.toString()), url.toEncoded().constData());
    }
};

class TestUploadFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void goldenFile()
    {
        Report r;
        QVERIFY(writeFile(r.session.UploadFilePath, QByteArray(20000, 'x'))); // a longer old file is replaced whole
        const QByteArray golden = readFile(kGolden);
        QVERIFY(!golden.isEmpty());
        QCOMPARE(r.upload(), golden);
        // Only the report file and the upload file are left in the folder.
        QCOMPARE(QDir(r.dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
                 QStringList({"R318_Upload.txt", "r318_HBC.bak", "r318_HBC.mdb"}));
    }

    // Counted texts, one activity each. The golden file has line breaks, straight quotes, trimmed blanks, a
    // text of only blanks (no record) and characters outside the code page; these give what it lacks.
    void valueForms()
    {
        const std::tuple<int, QString, QByteArray> rows[] = {
            // double quotes replaced, curly ones and code page letters one byte each
            {2, QStringLiteral("Say \"hi\" \u201cyo\u201d Caf\u00e9\u00a0\u20ac\u2019\u0178\u00ff"),
             "\"VII\",\"C\",23,\"Say 'hi' \x93yo\x94 Caf\xe9\xa0\x80\x92\x9f\xff\""},
            {5, QStringLiteral("x").repeated(3000), "\"VII\",\"F\",3000,\"" + QByteArray(3000, 'x') + '"'},
            // outside the code page one ? each, a surrogate pair one character
            {8, QString::fromUcs4(U"\u0100\u03a9\u2028\ufffd\u0080\u009fx\U0001F6A4\U00010000y"),
             "\"VIII\",\"C\",10,\"??????x??y\""},
            // Only blanks are trimmed: line breaks and tabs at either end are the text's own, bytes and count.
            {6, QStringLiteral("  \r\n  "), "\"IX\",\"A\",2,\"\r\n\""}, // blanks around a line break
            {0, QStringLiteral("\r\nx"), "\"VII\",\"A\",3,\"\r\nx\""},  // begins with CR LF
            {1, QStringLiteral(" x\t "), "\"VII\",\"B\",2,\"x\t\""}};   // ends with a tab
        Report r;
        for (const auto& [index, text, record] : rows) {
            r.session.model.ActivityText = {};
            r.session.model.ActivityText[index] = text;
            const QByteArray file = r.upload();
            QVERIFY2(hasRecord(file, record), file.constData());
            QCOMPARE(int(file.count("\"VII\",") + file.count("\"VIII\",") + file.count("\"IX\",")), 1);
        }
    }

    // Report files changed behind the model's back: values the model does not give or that the upload file
    // must not take from it, and the officer list as an older file or the host may hold it.
    void storedValues_data()
    {
        QTest::addColumn<QStringList>("statements");
        QTest::addColumn<QByteArrayList>("present"); // records, or runs of records, in the file
        QTest::addColumn<QByteArrayList>("absent");  // texts not in the file
        const auto add = [](const char* name, const QStringList& statements, const QByteArrayList& present,
                            const QByteArrayList& absent = {}) {
            QTest::newRow(name) << statements << present << absent;
        };
        const QString squadron =
            QStringLiteral("UPDATE Misc SET District = %1, Sub_Date = %2, From_Date = %3, Incorp = %4");
        const QString counts = QStringLiteral("UPDATE Misc SET No_Senior = %1, No_MM = %1, No_Active = %1");
        const QByteArray courses = "\"V\",\"A\", 5, 3, 0, 0, 12\r\n\"V\",\"B\", 1, 0, 2, 0,-1, 4\r\n"
                                   "\"V\",\"C\", 1, 0, 2\r\n\"V\",\"D\", 0, 4, 0, 7";
        add("dates trimmed, not incorporated, member counts zero",
            {squadron.arg("12", "'Jun 15, 2019'", "' Jun 15, 2018 '", "0"), counts.arg("0")},
            {"\"I\",\"S\",\"Harbor City\",0123,12,\"06152019\",\"06152018\",\"08312019\",\"False\"",
             "\"VI\",\"E\",0\r\n\"VI\",\"F\",0\r\n\"VI\",\"G\",0"});
        add("nothing stored", {squadron.arg("NULL", "NULL", "NULL", "NULL"), counts.arg("NULL")},
            {"\"I\",\"S\",\"Harbor City\",0123,0,\"\",\"\",\"08312019\",\"False\"",
             "\"VI\",\"E\",\r\n\"VI\",\"F\",\r\n\"VI\",\"G\",0"});
        add("double quotes from the host kept", {"UPDATE Misc SET PubName = 'The \"Binnacle\"'"},
            {"\"X\",\"A\",\"The \"Binnacle\"\",\"Historian\",\"A123456\",\"Marlow\",\"Jean\",\"AP\",\"Lt\","
             "\"12 Quay St\",\"Harbor City\",\"ME\",\"04101\",\"207-555-0100\",\"jean@example.org\""});
        add("course counts come from the model", {"UPDATE Education SET AG_S = 99, OC_Sem = 99"}, {courses});
        add("empty tables: the course counts only",
            {"DELETE FROM Misc", "DELETE FROM Officers", "DELETE FROM Activities", "DELETE FROM Recognized",
             "DELETE FROM Education"},
            {courses}, {"\"I", "\"VI", "\"X"});
        // Without the heading of the appointed officers, their offices cannot be told from the executive
        // committee; nothing from the education heading on is written.
        const QString noAppointed = QStringLiteral("DELETE FROM Officers WHERE Office = 'APPOINTED OFFICERS'");
        add("no heading of the appointed officers", {noAppointed},
            {"\"I\",\"B\",\"Chaplain\",\"67890\",\"Ruiz\",\"Mar\xed"
             "a\",\"1st/Lt\",\"S\"",
             "\"I\",\"B\",\"Supply Officer\",\"\",\"\",\"\",\"\",\"\"\r\n"
             "\"II\",\"A\",\"Asst. D/Secretary\",\"34567\",\"Adams\",\"Lee\",\"Lt/C\",\"AP\"",
             "\"II\",\"B\",\"National Committee Member\",\"56789\",\"Quinn\",\"Dana\",\"R/C\",\"SN\"\r\n" + courses},
            {"\"III\",", "\"IV\",", "Seamanship"});
        // Offices follow Forder, not the stored order; titles are trimmed.
        add("officers stored out of order",
            {noAppointed, "INSERT INTO Officers (DBcode, Forder, Office) VALUES ('APOF', 39, 'APPOINTED OFFICERS')",
             "DELETE FROM Officers WHERE Forder = 2",
             "INSERT INTO Officers (Cert, Last, First, Rank, Grade, DBcode, Forder, Office) "
             "VALUES ('12345', 'Brooks', 'Alan', 'Cdr', 'SN', '1701', 2, ' Commander ')"},
            {readFile(kGolden).chopped(2)});
    }

    void storedValues()
    {
        QFETCH(QStringList, statements);
        QFETCH(QByteArrayList, present);
        QFETCH(QByteArrayList, absent);
        Report r;
        QVERIFY(r.save());
        for (const QString& statement : statements)
            QVERIFY(r.exec(statement));
        const QByteArray file = r.write();
        for (const QByteArray& records : present)
            QVERIFY2(hasRecord(file, records), records.constData());
        for (const QByteArray& text : absent)
            QVERIFY2(!file.contains(text), text.constData());
    }

    void recognitionLists()
    {
        Report r;
        ReportModel& m = r.session.model;
        for (int c = 1; c <= ReportModel::CategoryCount; ++c) // every slot of list 4, in reverse name order
            for (int e = 1; e <= ReportModel::EntriesPerCategory; ++e)
                setPerson(m, c, e, c == 4 ? QStringList{"", QStringLiteral("Name%1").arg(100 - e)} : QStringList());
        setPerson(m, 5, 3, {"3", "smith", "Zed"});
        setPerson(m, 5, 7, {"7", "Smith", "adam"});
        setPerson(m, 5, 9, {"9", "Abbot", "Carl"});
        setPerson(m, 5, 1, {"1", "  ", "Blank"}); // a blank name is an empty slot
        setPerson(m, 7, 1, {"1", "Senior", "New"});
        const QByteArray file = r.upload();
        QCOMPARE(file.count("\r\n\"VI\",\"B\","), ReportModel::EntriesPerCategory);
        // In the order of the names, case aside; nothing in the other lists.
        QVERIFY2(file.contains("\r\n\"V\",\"D\", 0, 4, 0, 7\r\n\"VI\",\"B\",\"\",\"Name76\",") &&
                     file.contains("\"VI\",\"B\",\"\",\"Name99\",\"\",\"\",\"\"\r\n"
                                   "\"VI\",\"C\",\"9\",\"Abbot\",\"Carl\",\"\",\"\"\r\n"
                                   "\"VI\",\"C\",\"7\",\"Smith\",\"adam\",\"\",\"\"\r\n"
                                   "\"VI\",\"C\",\"3\",\"smith\",\"Zed\",\"\",\"\"\r\n\"VI\",\"E\",3\r\n"),
                 file.constData());
        QVERIFY(!file.contains("\"II\",") && !file.contains("Senior") && !file.contains("Blank"));
    }

    void failureKeepsOldFile_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char* kind : {"report file missing", "report file not a database", "report file without a table",
                                 "upload folder is a file", "upload path is a folder", "upload folder read-only"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }

    void failureKeepsOldFile()
    {
        QFETCH(QString, kind);
        Report r;
        QVERIFY(r.save());
        QString target = r.session.UploadFilePath, folder = r.dir.path();
        const QByteArray old = "\"I\",\"S\",\"Old report\"\r\n";
        QVERIFY(writeFile(target, old));
        const auto rw = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
        if (kind == "report file missing")
            r.session.CurrentDBPath += QStringLiteral(".missing");
        if (kind == "report file not a database")
            QVERIFY(writeFile(r.session.CurrentDBPath, QByteArray(4096, 'z')));
        if (kind == "report file without a table") // found while the file is being written
            QVERIFY(r.exec(QStringLiteral("DROP TABLE Recognized")));
        if (kind == "upload folder is a file")
            target += QStringLiteral("/R318_Upload.txt");
        if (kind == "upload path is a folder")
            QVERIFY(QDir().mkpath((target = folder + QStringLiteral("/folder")) + QStringLiteral("/inside")));
        if (kind == "upload folder read-only") {
            target = (folder += QStringLiteral("/ro")) + QStringLiteral("/R318_Upload.txt");
            QVERIFY(QDir().mkpath(folder) && writeFile(target, old));
            QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
            if (writeFile(folder + QStringLiteral("/probe"), {}) && QFile::setPermissions(folder, rw))
                QSKIP("folder permissions do not hold for this user");
        }
        const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        QString reason;
        const bool written = WriteUploadFile(r.session, target, &reason);
        const QByteArray kept = readFile(target);
        QFile::setPermissions(folder, rw);
        QVERIFY(!written);
        QVERIFY2(reason.startsWith("Cannot write the upload file " + target + ": "), qPrintable(reason));
        QCOMPARE(reason.contains("cannot read the report database " + r.session.CurrentDBPath),
                 kind.startsWith(QLatin1String("report")));
        // The old file is untouched and no temporary file is left behind.
        QCOMPARE(readFile(r.session.UploadFilePath), old);
        QVERIFY(kind != "upload folder read-only" || kept == old);
        QVERIFY(kind != "upload path is a folder" || QFileInfo(target + "/inside").isDir());
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
    }

    // Our code page table against the system's; a surrogate without its partner is one "?".
    void codePage()
    {
        QCOMPARE(EncodeWindows1252(QString(QChar(0xD83D)) + QChar(u'a') + QChar(0xDE00) + QChar(0xD83D)),
                 QByteArray("?a??"));
        QStringDecoder decoder("windows-1252");
        if (!decoder.isValid())
            QSKIP("this Qt build has no Windows-1252 decoder to compare with");
        int mapped = 0;
        for (int b = 0; b < 256; ++b) {
            const QString ch = decoder.decode(QByteArray(1, char(b)));
            if (ch.size() == 1 && ch.at(0) != QChar::ReplacementCharacter && ++mapped)
                QCOMPARE(EncodeWindows1252(ch), QByteArray(1, char(b)));
        }
        QVERIFY(mapped >= 251);
    }

    // The menu item: the guards, then the save, the upload file and the browser, each stopping the submission
    // when it fails.
    void submit_data()
    {
        QTest::addColumn<QString>("submitUrl");
        QTest::addColumn<SubmitOutcome>("outcome");
        QTest::addColumn<QString>("message"); // empty: none; with %1: how it begins, naming the file
        const QString url = QStringLiteral("https://example.org/r318/submit.asp?");
        const QString refused = QStringLiteral("Unable to log on to website");
        // The row's name says what goes wrong on the way.
        QTest::newRow("blank e-mail, no password")
            << url << SubmitOutcome::MissingEmail
            << QStringLiteral("Cannot submit without submitting officer's email address");
        QTest::newRow("no password") << url << SubmitOutcome::MissingPassword
                                     << QStringLiteral(
                                            "Cannot submit without updater password.\n"
                                            "Return to Rostrel and enter password in the authorization form.");
        QTest::newRow("report file read-only")
            << url << SubmitOutcome::SaveFailed << QStringLiteral("The report could not be saved in %1: ");
        QTest::newRow("upload folder is a file")
            << url << SubmitOutcome::UploadFailed << QStringLiteral("Cannot write the upload file %1: ");
        QTest::newRow("browser fails") << url << SubmitOutcome::BrowserFailed << refused;
        // Only web addresses reach the browser: http or https (any case), and with a host.
        for (const char* address :
             {"https://example.org/submit?", "http://example.org/submit?", "HTTPS://EXAMPLE.ORG/s?"})
            QTest::newRow(address) << QString(address) << SubmitOutcome::Opened << QString();
        for (const char* address :
             {"file://server/share/x.exe?", "ftp://example.org/?", "example.org/submit?", "https:///submit?", ""})
            QTest::newRow(*address ? address : "empty") << QString(address) << SubmitOutcome::BrowserFailed << refused;
    }

    void submit()
    {
        QFETCH(QString, submitUrl);
        QFETCH(SubmitOutcome, outcome);
        QFETCH(QString, message);
        const QString fault = QString::fromLatin1(QTest::currentDataTag());
        Report r;
        r.session.model.SubmitURL = submitUrl;
        if (fault.contains("no password"))
            r.session.UserPW.clear();
        if (fault.startsWith("blank e-mail"))
            r.session.model.SubOEmail = QStringLiteral("  ");
        QVERIFY(r.save() && writeFile(r.session.UploadFilePath, "old upload"));
        const QByteArray report = readFile(r.session.CurrentDBPath);
        r.session.model.ActivityText[0] = QStringLiteral("Changed after the last save.");
        QString file = r.session.CurrentDBPath;
        if (fault == "report file read-only")
            QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner));
        if (fault == "upload folder is a file")
            r.session.UploadFilePath = file += "/R318_Upload.txt";
        ScriptedPrompt prompt;
        FakeBrowser browser;
        browser.result = fault != "browser fails";
        const SubmitOutcome result = mnuSubmit(r.session, prompt, browser);
        QFile::setPermissions(r.session.CurrentDBPath, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(result, outcome);
        const bool guarded = outcome == SubmitOutcome::MissingEmail || outcome == SubmitOutcome::MissingPassword;
        const bool saved = !guarded && outcome != SubmitOutcome::SaveFailed;
        QCOMPARE(readFile(r.session.CurrentDBPath) != report, saved);
        // Written from the report file after the save, or the old file untouched.
        const QByteArray upload = readFile(r.dir.filePath(QStringLiteral("R318_Upload.txt")));
        QVERIFY(saved && outcome != SubmitOutcome::UploadFailed
                    ? hasRecord(upload, "\"VII\",\"A\",28,\"Changed after the last save.\"")
                    : upload == "old upload");
        QCOMPARE(browser.urls, outcome == SubmitOutcome::Opened || fault == "browser fails"
                                   ? QList<QUrl>{SubmissionUrl(SubmissionAddress(r.session))}
                                   : QList<QUrl>());
        QCOMPARE(prompt.shown.size(), message.isEmpty() ? 0 : 1);
        for (const Prompt::Message& shown : prompt.shown) {
            QVERIFY2(message.contains("%1") ? shown.text.startsWith(message.arg(file)) : shown.text == message,
                     qPrintable(shown.text));
            QVERIFY(!shown.text.contains("secret"));
            QCOMPARE(shown.icon, guarded                                   ? Prompt::Icon::Information
                                 : outcome == SubmitOutcome::BrowserFailed ? Prompt::Icon::None
                                                                           : Prompt::Icon::Warning);
            QCOMPARE(shown.buttons, Prompt::Buttons::Ok);
        }
    }

    // The address as built and as a URL.
    void address()
    {
        const std::tuple<QString, QString, QString, QByteArray> rows[] = {
            // upload file path, password, the address from the upload file on, the same in the URL
            // blanks, ampersand, plus, percent first and letters beyond ASCII
            {QStringLiteral("/A & B/%x+%2B/Zo\u00eb/R.txt"), "p&w",
             QStringLiteral("/A %26 B/%25x%2B%252B/Zo\u00eb/R.txt&HistYear=2019&PassWord=p&w"),
             "/A%20%26%20B/%25x%2B%252B/Zo%C3%AB/R.txt&HistYear=2019&PassWord=p&w"},
            // percent sign in the password
            {"/A & B/R.txt", "50%off", "/A %26 B/R.txt&HistYear=2019&PassWord=50%off",
             "/A%20%26%20B/R.txt&HistYear=2019&PassWord=50%25off"},
            // A "#" stays in the address but goes into the URL as %23: the query, password included, stays
            // whole. Nothing else changes.
            {"/#1 ?=;,/R.txt", "pw", "/#1 ?=;,/R.txt&HistYear=2019&PassWord=pw",
             "/%231%20?=;,/R.txt&HistYear=2019&PassWord=pw"}};
        Report r;
        const QString start = QStringLiteral("https://example.org/r318/submit.asp?OrgNum=0123&Email=jean@example.org"
                                             "&SubCert=A123456&FileName=");
        for (const auto& [path, password, address, encoded] : rows) {
            std::tie(r.session.UploadFilePath, r.session.UserPW) = std::tie(path, password);
            QCOMPARE(SubmissionAddress(r.session), start + address);
            const QUrl url = SubmissionUrl(start + address);
            QCOMPARE(url.toEncoded(), start.toUtf8() + encoded);
            QVERIFY(!url.hasFragment());
            if (!password.contains(QLatin1Char('%')) && !path.contains(QLatin1Char('#')))
                QCOMPARE(url.toString(), start + address);
        }
    }

    // Through the system's browser: the submission URL reaches a handler as it is, and neither a handler that
    // logs it nor the offscreen platform, which refuses it and logs it, gets the password into the log.
    void passwordNeverLogged()
    {
        Report r;
        QVERIFY(r.save());
        r.session.UploadFilePath = r.dir.filePath(QStringLiteral("A & B/R318_Upload.txt"));
        QVERIFY(QDir().mkpath(r.dir.filePath(QStringLiteral("A & B"))));
        r.session.UserPW = QStringLiteral("Hunter2%pw"); // with the folder's "%26", a URL only SubmissionUrl makes
        for (const bool handler : {true, false}) {
            UrlCatcher catcher;
            if (handler)
                QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "handle");
            ScriptedPrompt prompt;
            DesktopBrowser browser;
            static QStringList logged; // messages logged while the password could reach the log
            logged.clear();
            const QtMessageHandler previous = qInstallMessageHandler(
                [](QtMsgType, const QMessageLogContext&, const QString& text) { logged << text; });
            const SubmitOutcome result = SubmitReport(r.session, prompt, browser, {});
            qInstallMessageHandler(previous);
            QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
            QCOMPARE(result, handler ? SubmitOutcome::Opened : SubmitOutcome::BrowserFailed);
            QCOMPARE(catcher.urls.size(), handler ? 1 : 0);
            QVERIFY(!logged.isEmpty());
            QVERIFY2(!logged.join('\n').contains(QStringLiteral("Hunter2")), qPrintable(logged.join('\n')));
            if (handler) { // the handler's one message, with the address and without its query
                QCOMPARE(catcher.urls.first(), SubmissionUrl(SubmissionAddress(r.session)));
                QCOMPARE(logged.size(), 1);
                QVERIFY(logged.first().contains(QStringLiteral("https://example.org/r318/submit.asp")));
            }
        }
    }

    // The batch commands: export-upload's exit codes and messages, and the upload file where the host keeps it or
    // at --out, written after the save of the load's look-ups (the active members come from the host); then
    // export-pdf, every page of the report in a PDF file on Letter paper.
    void cliExports()
    {
        const QString cli = qEnvironmentVariable("R318_CLI");
        if (cli.isEmpty())
            QSKIP("R318_CLI does not name the command-line tool");
        HostFixture host;
        host.writeSettings();
        host.createDatabases();
        host.addMember({.id = 1, .last = "Brooks", .first = "Alan", .cert = "12345", .squadron = 7});
        host.addMember({.id = 2, .last = "Adams", .first = "Alan", .cert = "23456", .squadron = 7});
        QTemporaryDir elsewhere;
        const QString upload = host.dataDir() + "R318_Upload.txt", other = elsewhere.filePath("copy.txt");
        const QString bad = other + "/R.txt", usage = "r318form-cli: export-upload takes only --out FILE, not ";
        const QStringList hostArgs{"--host", host.commandLine()};
        const auto run = [](const QString& program, const QStringList& args, int* code = nullptr) {
            QProcess p;
            p.setProcessChannelMode(QProcess::MergedChannels);
            p.start(program, args);
            const bool finished = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit;
            if (code)
                *code = finished ? p.exitCode() : -1;
            return QString::fromUtf8(p.readAll());
        };
        const std::tuple<QStringList, int, QString> runs[] = {
            {{}, 0, upload + '\n'},
            {{"--out", other}, 0, other + '\n'},
            {{"--out", bad}, 1, "r318form-cli: Cannot write the upload file " + bad + ": "},
            {{"--to", other}, 2, usage + "--to\n"},
            {{"--out"}, 2, usage + "--out\n"}};
        for (const auto& [args, code, says] : runs) {
            int exitCode = -1;
            const QString said = run(cli, hostArgs + QStringList{"export-upload"} + args, &exitCode);
            QCOMPARE(exitCode, code);
            QVERIFY2((code == 1 ? said.startsWith(says) : said == says) && !said.contains("secret"), qPrintable(said));
        }
        QVERIFY(hasRecord(readFile(upload), "\"VI\",\"G\",2"));
        QCOMPARE(readFile(other), readFile(upload));

        if (QStandardPaths::findExecutable("pdfinfo").isEmpty() ||
            QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("the PDF tools are not installed");
        // A meetings text of about 100 lines runs from page 4 onto page 5; the rest of the report fills page 6.
        const QString meetings = QStringLiteral("The squadron met on the first Tuesday of each month. ").repeated(200);
        int code = -1;
        QString out = run(cli,
                          hostArgs + QStringList{"set", "Misc.From_Date", "090119", "Misc.To_Date", "083120",
                                                 "Activities.Meetings", meetings},
                          &code);
        QVERIFY2(code == 0, qPrintable(out));
        const QString pdf = elsewhere.filePath(QStringLiteral("report.pdf"));
        out = run(cli, hostArgs + QStringList{"export-pdf", pdf}, &code);
        QVERIFY2(code == 0 && out.contains("(6 pages)"), qPrintable(out));
        const QString info = run(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY2(info.contains(QRegularExpression("Pages:\\s+6\\n")) && info.contains("612 x 792 pts (letter)"),
                 qPrintable(info));
        const QString one = run(QStringLiteral("pdftotext"), {"-f", "1", "-l", "1", pdf, "-"});
        QVERIFY2(one.contains("ANNUAL SQUADRON HISTORY REPORT FOR YEAR 2020") &&
                     one.contains(QRegularExpression("SQUADRON Test Squadron +SQUADRON No\\. 0007")) &&
                     one.contains("Page 1 of 6 pages"),
                 qPrintable(one));
        QVERIFY2(run(QStringLiteral("pdftotext"), {"-f", "5", "-l", "5", pdf, "-"}).startsWith("Continued:"),
                 "page 5 does not continue the meetings text");
    }
};

// The browser tests must never reach a real desktop.
[[maybe_unused]] static const bool offscreen = qputenv("QT_QPA_PLATFORM", "offscreen");
QTEST_MAIN(TestUploadFile)

#include "tst_uploadfile.moc"

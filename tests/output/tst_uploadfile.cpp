// The upload file (records, value forms, code page, replacement of the old file) and the web submission
// (guards, address, browser seam, web addresses only, no password in the log).

#include "HostFixture.h"
#include "ScriptedPrompt.h"

#include "app/Session.h"
#include "output/UploadFile.h"
#include "output/WebSubmission.h"
#include "editor/DesktopBrowser.h"
#include "store/OfficeCatalogue.h"
#include "store/ReportConnection.h"
#include "store/ReportDatabase.h"
#include "store/ReportIO.h"

#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

// Messages logged while a test runs, for the checks that the password never reaches the log.
QStringList g_logged;
QtMessageHandler g_testPrevious = nullptr;

void capture(QtMsgType, const QMessageLogContext&, const QString& message)
{
    g_logged << message;
}

class LogCapture
{
public:
    LogCapture()
    {
        g_logged.clear();
        g_testPrevious = qInstallMessageHandler(capture);
    }
    ~LogCapture() { qInstallMessageHandler(g_testPrevious); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;
};

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

// True when the file holds the record (its bytes, without the closing CR LF) as a whole record.
bool hasRecord(const QByteArray& file, const QByteArray& record)
{
    return (QByteArray("\r\n") + file).contains("\r\n" + record + "\r\n");
}

// The number of records that start with the keys ("\"VII\",\"C\"").
int recordsWithKeys(const QByteArray& file, const QByteArray& keys)
{
    return int((QByteArray("\r\n") + file).count("\r\n" + keys + ","));
}

// The model's officer list as the catalogue, no members.
void catalogueOfficers(ReportModel& m)
{
    m.resizeOfficers(kCatalogueSize);
    for (int i = 1; i <= kCatalogueSize; ++i) {
        const CatalogueLine& line = OfficeCatalogue()[size_t(i - 1)];
        m.OffTitle[i] = QLatin1String(line.title);
        m.OffCode[i] = QLatin1String(line.code);
        m.OffOrder[i] = i;
        m.OffHeading[i] = m.OffCode[i].at(0) >= QLatin1Char('A');
    }
}

void setOfficer(ReportModel& m, int line, const QString& cert, const QString& last, const QString& first,
                const QString& rank, const QString& grade)
{
    m.OffCert[line] = cert;
    m.OffLast[line] = last;
    m.OffFirst[line] = first;
    m.OffRank[line] = rank;
    m.OffGrade[line] = grade;
}

void setEntry(ReportModel& m, int category, int entry, const QString& cert, const QString& last, const QString& first,
              const QString& rank, const QString& grade, const QString& office = {})
{
    m.RecCert[category][entry] = cert;
    m.RecLast[category][entry] = last;
    m.RecFirst[category][entry] = first;
    m.RecRank[category][entry] = rank;
    m.RecGrade[category][entry] = grade;
    m.RecOffice[category][entry] = office;
    m.RecCategory[category][entry] = category;
}

// A report that gives every record and every value form.
ReportModel goldenModel()
{
    ReportModel m;
    m.SquadronName = QStringLiteral("Harbor City");
    m.SquadronCode = QStringLiteral("HBC");
    m.SquadronNo = 123;
    m.SquadronNoText = QStringLiteral("0123");
    m.DistrictNo = 7;
    m.SubDate = QStringLiteral("Jul 2, 2019");
    m.FromDate = QStringLiteral("Sep 1, 2018");
    m.ToDate = QStringLiteral("Aug 31, 2019");
    m.ReportYear = QStringLiteral("2019");
    m.NoMM = 42;
    m.Incorp = true;
    m.NoActive = 87;
    m.NoSenior = 3;
    m.SubOCert = QStringLiteral("A123456");
    m.SubOLast = QStringLiteral("Marlow");
    m.SubOFirst = QStringLiteral("Jean");
    m.SubOGrade = QStringLiteral("AP");
    m.SubORank = QStringLiteral("Lt");
    m.SubOAddress = QStringLiteral("12 Quay St");
    m.SubOCity = QStringLiteral("Harbor City");
    m.SubOState = QStringLiteral("ME");
    m.SubOZip = QStringLiteral("04101");
    m.SubOTitle = QStringLiteral("Historian");
    m.SubOPhone = QStringLiteral("207-555-0100");
    m.SubOEmail = QStringLiteral("jean@example.org");
    m.PubName = QStringLiteral("The Binnacle");
    m.SubmitURL = QStringLiteral("https://example.org/r318/submit.asp?");

    catalogueOfficers(m);
    setOfficer(m, 2, QStringLiteral("12345"), QStringLiteral("Brooks"), QStringLiteral("Alan"), QStringLiteral("Cdr"),
               QStringLiteral("SN")); // Commander
    setOfficer(m, 19, QStringLiteral("23456"), QStringLiteral("O'Neil"), QStringLiteral("Robert \"Bob\""),
               QStringLiteral("Lt"), QStringLiteral("P")); // the first "Executive" line
    setOfficer(m, 40, QStringLiteral("67890"), QStringLiteral("Ruiz"), QStringLiteral("Mar\u00eda"),
               QStringLiteral("1st/Lt"), QStringLiteral("S")); // Chaplain
    setOfficer(m, 82, QStringLiteral("78901"), QStringLiteral("Kova\u010d"), QStringLiteral("Zo\u00eb"),
               QStringLiteral("Lt"), QStringLiteral("JN")); // Seamanship

    setEntry(m, 1, 1, QStringLiteral("45678"), QStringLiteral("Young"), QStringLiteral("Pat"), QStringLiteral("P/C"),
             QStringLiteral("N"), QStringLiteral("District Educational Officer"));
    setEntry(m, 1, 2, QStringLiteral("34567"), QStringLiteral("Adams"), QStringLiteral("Lee"), QStringLiteral("Lt/C"),
             QStringLiteral("AP"), QStringLiteral("Asst. D/Secretary"));
    setEntry(m, 2, 1, QStringLiteral("56789"), QStringLiteral("Quinn"), QStringLiteral("Dana"), QStringLiteral("R/C"),
             QStringLiteral("SN"), QStringLiteral("National Committee Member"));
    setEntry(m, 3, 1, QStringLiteral("22222"), QStringLiteral("Smith"), QStringLiteral("John"), QString(),
             QStringLiteral("S"), QStringLiteral("not written for this list"));
    setEntry(m, 3, 2, QStringLiteral("11111"), QStringLiteral("Smith"), QStringLiteral("Anne"), QStringLiteral("Lt"),
             QStringLiteral("AP"));
    setEntry(m, 3, 3, QStringLiteral("99999"), QStringLiteral("de Vries"), QStringLiteral("Hans"), QStringLiteral("Lt"),
             QStringLiteral("P"));
    setEntry(m, 5, 1, QStringLiteral("33333"), QStringLiteral("Baker"), QStringLiteral("Chris"), QStringLiteral("Lt/C"),
             QStringLiteral("JN"));
    setEntry(m, 6, 1, QStringLiteral("44444"), QStringLiteral("Doe"), QStringLiteral("Sam"), QStringLiteral("P/C"),
             QStringLiteral("SN"));
    setEntry(m, 7, 1, QStringLiteral("55555"), QStringLiteral("Evans"), QStringLiteral("Kim"), QStringLiteral("Lt"),
             QStringLiteral("S"));

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
    return m;
}

// A full report: the 100 lines of the officer list, every recognition slot filled, long texts.
ReportModel fullModel()
{
    ReportModel m = goldenModel();
    for (int i = 1; i <= kCatalogueSize; ++i) {
        const auto n = QString::number(i);
        if (!m.OffHeading[i])
            setOfficer(m, i, QStringLiteral("C") + n, QStringLiteral("Last") + n, QStringLiteral("First") + n,
                       QStringLiteral("Lt"), QStringLiteral("AP"));
    }
    for (int c = 1; c <= ReportModel::CategoryCount; ++c) {
        for (int e = 1; e <= ReportModel::EntriesPerCategory; ++e) {
            const auto n = QString::number(c * 100 + e);
            setEntry(m, c, e, QStringLiteral("R") + n, QStringLiteral("Name") + n, QStringLiteral("Given") + n,
                     QStringLiteral("P/C"), QStringLiteral("SN"), QStringLiteral("Assignment ") + n);
        }
    }
    const QString paragraph = QStringLiteral("The squadron held its monthly meeting with a speaker on "
                                             "weather and a \"raft-up\" report; ");
    for (QString& text : m.ActivityText)
        text = paragraph.repeated(25) + QStringLiteral("\r\nEnd.");
    return m;
}

// One report in a temporary folder: the report file and the upload file beside it.
class Report
{
public:
    Report()
    {
        session.DataDir = dir.path() + QLatin1Char('/');
        session.CurrentDBPath = session.DataDir + QStringLiteral("r318_HBC.mdb");
        session.ReportDBPath = session.CurrentDBPath;
        session.CurrentBakPath = session.DataDir + QStringLiteral("r318_HBC.bak");
        session.ReportBakPath = session.CurrentBakPath;
        session.HistorianURL = QStringLiteral("https://example.org/r318/submit.asp?");
        session.UploadFilePath = session.DataDir + QStringLiteral("R318_Upload.txt");
        session.UserPW = QStringLiteral("secret");
        session.model = goldenModel();
    }

    // Writes the model into the report file through the report store, creating the file first when needed.
    bool save()
    {
        QString error;
        if (!QFile::exists(session.CurrentDBPath)) {
            const QString empty = emptyReport();
            if (empty.isEmpty() || !QFile::copy(empty, session.CurrentDBPath) ||
                !QFile::copy(empty, session.CurrentBakPath))
                return false;
        }
        if (!WriteReport(session, &error)) {
            qWarning("cannot save the report: %s", qPrintable(error));
            return false;
        }
        return true;
    }

    // A new report file made by the report store, once per run; the officer list is the catalogue, like the
    // models of these tests.
    static QString emptyReport()
    {
        static QTemporaryDir folder;
        static const QString path = [] {
            Session s;
            s.CurrentDBPath = folder.path() + QStringLiteral("/r318_NEW.mdb");
            s.CurrentBakPath = folder.path() + QStringLiteral("/r318_NEW.bak");
            s.HistorianURL = QStringLiteral("https://example.org/r318/submit.asp?");
            ScriptedPrompt prompt;
            QString error;
            if (!CreateReportDatabase(s, prompt, &error)) {
                qWarning("cannot create the report file: %s", qPrintable(error));
                return QString();
            }
            return s.CurrentDBPath;
        }();
        return path;
    }

    // Changes the saved report behind the model's back (values only the host or an older file can give).
    bool exec(const QString& statement, const QVariantList& params = {})
    {
        ReportConnection db(session.CurrentDBPath);
        const bool ok = db.isOpen() && db.exec(statement, params);
        if (!ok)
            qWarning("%s: %s", qPrintable(statement), qPrintable(db.error()));
        return ok;
    }

    // Saves the model and writes the upload file; the file's bytes, or empty on failure.
    QByteArray upload()
    {
        if (!save())
            return {};
        return write();
    }

    QByteArray write()
    {
        QString reason;
        if (!WriteUploadFile(session, &reason)) {
            qWarning("%s", qPrintable(reason));
            return {};
        }
        return readFile(session.UploadFilePath);
    }

    QStringList files() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    QTemporaryDir dir;
    Session session;
};

class FakeBrowser : public Browser
{
public:
    bool open(const QUrl& url) override
    {
        urls << url;
        return result;
    }
    QList<QUrl> urls;
    bool result = true;
};

} // namespace

// Receives the addresses that QDesktopServices::openUrl hands to a registered handler.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
    bool logUrl = false;

public Q_SLOTS:
    void handle(const QUrl& url)
    {
        urls << url;
        if (logUrl)
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
        const QByteArray bytes = r.upload();
        const QByteArray golden = readFile(QStringLiteral(R318_OUTPUT_TESTDATA "/upload_golden.txt"));
        QVERIFY(!golden.isEmpty());
        if (bytes != golden) {
            const QList<QByteArray> got = bytes.split('\n');
            const QList<QByteArray> want = golden.split('\n');
            for (qsizetype i = 0; i < qMin(got.size(), want.size()); ++i)
                QCOMPARE(got.at(i), want.at(i));
        }
        QCOMPARE(bytes, golden);
        // Only the report file and the upload file are left in the folder.
        QStringList files = r.files();
        files.sort();
        QCOMPARE(files, QStringList({QStringLiteral("R318_Upload.txt"), QStringLiteral("r318_HBC.bak"),
                                     QStringLiteral("r318_HBC.mdb")}));
    }

    void countedTexts_data()
    {
        QTest::addColumn<int>("index"); // ActivityText index
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<QByteArray>("record"); // empty: no record

        QTest::newRow("two lines") << 0 << QStringLiteral("Met monthly.\r\nCruise in June.")
                                   << QByteArray("\"VII\",\"A\"")
                                   << QByteArray("\"VII\",\"A\",29,\"Met monthly.\r\nCruise in June.\"");
        QTest::newRow("three lines and an empty one")
            << 10 << QStringLiteral("a\r\nb\r\n\r\nc") << QByteArray("\"VIII\",\"E\"")
            << QByteArray("\"VIII\",\"E\",9,\"a\r\nb\r\n\r\nc\"");
        QTest::newRow("quotes replaced") << 1 << QStringLiteral("Say \"hi\"") << QByteArray("\"VII\",\"B\"")
                                         << QByteArray("\"VII\",\"B\",8,\"Say 'hi'\"");
        QTest::newRow("only quotes") << 2 << QStringLiteral("\"\"") << QByteArray("\"VII\",\"C\"")
                                     << QByteArray("\"VII\",\"C\",2,\"''\"");
        QTest::newRow("trimmed") << 3 << QStringLiteral("   x  ") << QByteArray("\"VII\",\"D\"")
                                 << QByteArray("\"VII\",\"D\",1,\"x\"");
        QTest::newRow("single blank") << 4 << QStringLiteral(" ") << QByteArray("\"VII\",\"E\"") << QByteArray();
        QTest::newRow("blanks only") << 5 << QStringLiteral("     ") << QByteArray("\"VII\",\"F\"") << QByteArray();
        QTest::newRow("blanks and line breaks")
            << 6 << QStringLiteral("  \r\n  ") << QByteArray("\"IX\",\"A\"") << QByteArray();
        QTest::newRow("empty") << 8 << QString() << QByteArray("\"VIII\",\"C\"") << QByteArray();
        QTest::newRow("outside the code page") << 9 << QStringLiteral("\u03a9mega") << QByteArray("\"VIII\",\"D\"")
                                               << QByteArray("\"VIII\",\"D\",5,\"?mega\"");
        QTest::newRow("outside the BMP counts one")
            << 11 << QStringLiteral("a") + QString::fromUcs4(U"\U0001F6A4") + QStringLiteral("b")
            << QByteArray("\"VII\",\"G\"") << QByteArray("\"VII\",\"G\",3,\"a?b\"");
        QTest::newRow("code page letters one byte each")
            << 12 << QStringLiteral("Caf\u00e9 \u20ac\u2019") << QByteArray("\"VIII\",\"A\"")
            << QByteArray("\"VIII\",\"A\",7,\"Caf\xe9 \x80\x92\"");
    }

    void countedTexts()
    {
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(QByteArray, keys);
        QFETCH(QByteArray, record);
        Report r;
        r.session.model.ActivityText = {};
        r.session.model.ActivityText[index] = text;
        const QByteArray file = r.upload();
        QVERIFY(!file.isEmpty());
        if (record.isEmpty()) {
            QCOMPARE(recordsWithKeys(file, keys), 0);
        } else {
            QCOMPARE(recordsWithKeys(file, keys), 1);
            QVERIFY2(hasRecord(file, record), file.constData());
        }
        // No other activity record is written.
        QCOMPARE(int(file.count("\"VII\",")) + int(file.count("\"VIII\",")) + int(file.count("\"IX\",")),
                 record.isEmpty() ? 0 : 1);
    }

    void textValuesKeepQuotes()
    {
        Report r;
        QVERIFY(r.save());
        // Names from the host may hold double quotes; they are written unchanged.
        QVERIFY(r.exec(QStringLiteral("UPDATE Officers SET Last = ?, First = ? WHERE Forder = 2"),
                       {QStringLiteral("Brooks \"Jr\""), QStringLiteral("\"Al\"")}));
        QVERIFY(r.exec(QStringLiteral("UPDATE Misc SET PubName = ?"), {QStringLiteral("The \"Binnacle\"")}));
        const QByteArray file = r.write();
        QVERIFY(hasRecord(file, "\"I\",\"A\",\"Commander\",\"12345\",\"Brooks \"Jr\"\",\"\"Al\"\",\"Cdr\",\"SN\""));
        QVERIFY(file.contains("\r\n\"X\",\"A\",\"The \"Binnacle\"\",\"Historian\","));
    }

    void courseCounts_data()
    {
        QTest::addColumn<QList<int>>("ag");
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("5 3 0 0 12") << QList<int>{5, 3, 0, 0, 12} << QByteArray("\"V\",\"A\", 5, 3, 0, 0, 12");
        QTest::newRow("all zero") << QList<int>{0, 0, 0, 0, 0} << QByteArray("\"V\",\"A\", 0, 0, 0, 0, 0");
        QTest::newRow("negative") << QList<int>{-4, 10, 0, 100, -12} << QByteArray("\"V\",\"A\",-4, 10, 0, 100,-12");
    }

    void courseCounts()
    {
        QFETCH(QList<int>, ag);
        QFETCH(QByteArray, record);
        Report r;
        for (int i = 0; i < 5; ++i)
            r.session.model.AGCount[i] = ag.at(i);
        r.session.model.EGCount = {};
        r.session.model.BCCount = {};
        r.session.model.OCCount = {};
        const QByteArray file = r.upload();
        QVERIFY(hasRecord(file, record));
        QVERIFY(hasRecord(file, "\"V\",\"B\", 0, 0, 0, 0, 0, 0"));
        QVERIFY(hasRecord(file, "\"V\",\"C\", 0, 0, 0"));
        QVERIFY(hasRecord(file, "\"V\",\"D\", 0, 0, 0, 0"));
    }

    void courseCountsComeFromTheModel()
    {
        Report r;
        QVERIFY(r.save());
        QVERIFY(r.exec(QStringLiteral("UPDATE Education SET AG_S = 99, OC_Sem = 99")));
        const QByteArray file = r.write();
        QVERIFY(hasRecord(file, "\"V\",\"A\", 5, 3, 0, 0, 12"));
        QVERIFY(hasRecord(file, "\"V\",\"D\", 0, 4, 0, 7")); // PB_DR, OC_OT, OC_LD, OC_Sem
    }

    void miscCounts_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QByteArray>("senior");
        QTest::addColumn<QByteArray>("mm");
        QTest::addColumn<QByteArray>("active");
        QTest::newRow("empty") << QVariant() << QByteArray("\"VI\",\"E\",") << QByteArray("\"VI\",\"F\",")
                               << QByteArray("\"VI\",\"G\",0");
        QTest::newRow("zero") << QVariant(0) << QByteArray("\"VI\",\"E\",0") << QByteArray("\"VI\",\"F\",0")
                              << QByteArray("\"VI\",\"G\",0");
        QTest::newRow("numbers") << QVariant(1234) << QByteArray("\"VI\",\"E\",1234") << QByteArray("\"VI\",\"F\",1234")
                                 << QByteArray("\"VI\",\"G\",1234");
    }

    void miscCounts()
    {
        QFETCH(QVariant, value);
        QFETCH(QByteArray, senior);
        QFETCH(QByteArray, mm);
        QFETCH(QByteArray, active);
        Report r;
        QVERIFY(r.save());
        QVERIFY(
            r.exec(QStringLiteral("UPDATE Misc SET No_Senior = ?, No_MM = ?, No_Active = ?"), {value, value, value}));
        const QByteArray file = r.write();
        QVERIFY2(hasRecord(file, senior), file.constData());
        QVERIFY(hasRecord(file, mm));
        QVERIFY(hasRecord(file, active));
        // The three follow one another, after the recognition lists.
        QVERIFY(file.contains(senior + "\r\n" + mm + "\r\n" + active + "\r\n\"VII\""));
    }

    void squadronRecord_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("numberText");
        QTest::addColumn<QVariant>("district");
        QTest::addColumn<QVariant>("subDate");
        QTest::addColumn<QVariant>("fromDate");
        QTest::addColumn<QVariant>("incorp");
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("123 as 0123, a date")
            << 123 << QStringLiteral("0123") << QVariant(7) << QVariant(QStringLiteral("Jun 15, 2019"))
            << QVariant(QStringLiteral(" Jun 15, 2018 ")) << QVariant(true)
            << QByteArray("\"I\",\"S\",\"Harbor City\",0123,7,\"06152019\",\"06152018\",\"08312019\",\"True\"");
        QTest::newRow("empty dates, not incorporated")
            << 4567 << QStringLiteral("4567") << QVariant(12) << QVariant() << QVariant() << QVariant(false)
            << QByteArray("\"I\",\"S\",\"Harbor City\",4567,12,\"\",\"\",\"08312019\",\"False\"");
        QTest::newRow("no district, no number, no incorporation flag")
            << 0 << QString() << QVariant() << QVariant(QStringLiteral("Jan 1, 2020")) << QVariant() << QVariant()
            << QByteArray("\"I\",\"S\",\"Harbor City\",0,0,\"01012020\",\"\",\"08312019\",\"False\"");
    }

    void squadronRecord()
    {
        QFETCH(int, number);
        QFETCH(QString, numberText);
        QFETCH(QVariant, district);
        QFETCH(QVariant, subDate);
        QFETCH(QVariant, fromDate);
        QFETCH(QVariant, incorp);
        QFETCH(QByteArray, record);
        Report r;
        r.session.model.SquadronNo = number;
        r.session.model.SquadronNoText = numberText;
        QVERIFY(r.save());
        QVERIFY(r.exec(QStringLiteral("UPDATE Misc SET District = ?, Sub_Date = ?, From_Date = ?, Incorp = ?"),
                       {district, subDate, fromDate, incorp}));
        const QByteArray file = r.write();
        QVERIFY2(file.startsWith(record + "\r\n"), file.left(120).constData());
    }

    void officerSections()
    {
        Report r;
        QVERIFY(r.save());
        // Without the heading of the appointed officers, sections III and IV stay empty and nothing of the
        // education department lands in section I.
        QVERIFY(r.exec(QStringLiteral("DELETE FROM Officers WHERE Office = 'APPOINTED OFFICERS'")));
        QByteArray file = r.write();
        QCOMPARE(recordsWithKeys(file, "\"I\",\"A\""), 10);
        QCOMPARE(recordsWithKeys(file, "\"I\",\"B\""), 26 + 40); // the appointed offices cannot be told apart
        QCOMPARE(recordsWithKeys(file, "\"II\",\"A\""), 2);
        QCOMPARE(recordsWithKeys(file, "\"III\",\"A\""), 0);
        QCOMPARE(recordsWithKeys(file, "\"IV\",\"A\""), 0);
        QVERIFY(!file.contains("Seamanship"));
        QVERIFY(!file.contains("EDUCATION DEPT:"));
        QVERIFY(
            file.contains("\"II\",\"B\",\"National Committee Member\",\"56789\",\"Quinn\",\"Dana\",\"R/C\",\"SN\"\r\n"
                          "\"V\",\"A\","));

        // Heading rows are never written; offices follow Forder, not the stored order; titles are trimmed.
        QVERIFY(r.exec(QStringLiteral("INSERT INTO Officers (DBcode, Forder, Office) VALUES ('APOF', 39, ?)"),
                       {QStringLiteral("APPOINTED OFFICERS")}));
        QVERIFY(r.exec(QStringLiteral("DELETE FROM Officers WHERE Forder = 2")));
        QVERIFY(r.exec(QStringLiteral("INSERT INTO Officers (Cert, Last, First, Rank, Grade, DBcode, Forder, Office) "
                                      "VALUES ('12345', 'Brooks', 'Alan', 'Cdr', 'SN', '1701', 2, ' Commander ')")));
        file = r.write();
        for (const char* heading : {"ELECTED OFFICERS:", "EXEC & GENERAL:", "APPOINTED OFFICERS", "EDUCATION DEPT:"})
            QVERIFY(!file.contains(heading));
        QVERIFY(file.startsWith("\"I\",\"S\",\"Harbor City\",0123,7,\"07022019\",\"09012018\",\"08312019\",\"True\"\r\n"
                                "\"I\",\"A\",\"Commander\",\"12345\",\"Brooks\",\"Alan\",\"Cdr\",\"SN\"\r\n"
                                "\"I\",\"A\",\"Executive Officer\","));
        QCOMPARE(recordsWithKeys(file, "\"III\",\"A\""), 40);
        QCOMPARE(recordsWithKeys(file, "\"IV\",\"A\""), 20);
        QVERIFY(hasRecord(file, "\"IV\",\"A\",\"Seamanship\",\"78901\",\"Kova?\",\"Zo\xeb\",\"Lt\",\"JN\""));
    }

    void recognitionOrder()
    {
        Report r;
        ReportModel& m = r.session.model;
        for (int c = 1; c <= ReportModel::CategoryCount; ++c)
            m.clearCategory(c);
        setEntry(m, 5, 3, "3", "smith", "Zed", "", "");
        setEntry(m, 5, 7, "7", "Smith", "adam", "", "");
        setEntry(m, 5, 9, "9", "Abbot", "Carl", "", "");
        setEntry(m, 5, 24, "24", "  ", "Blank", "", ""); // a blank name is an empty slot
        setEntry(m, 7, 1, "1", "Senior", "New", "", "");
        const QByteArray file = r.upload();
        const QByteArray expected = "\r\n\"V\",\"D\", 0, 4, 0, 7\r\n"
                                    "\"VI\",\"C\",\"9\",\"Abbot\",\"Carl\",\"\",\"\"\r\n"
                                    "\"VI\",\"C\",\"7\",\"Smith\",\"adam\",\"\",\"\"\r\n"
                                    "\"VI\",\"C\",\"3\",\"smith\",\"Zed\",\"\",\"\"\r\n"
                                    "\"VI\",\"E\",3\r\n";
        QVERIFY2(file.contains(expected), file.constData());
        QVERIFY(!file.contains("Senior"));
        QVERIFY(!file.contains("Blank"));
        for (const char* keys : {"\"II\",\"A\"", "\"II\",\"B\"", "\"VI\",\"A\"", "\"VI\",\"B\"", "\"VI\",\"D\""})
            QCOMPARE(recordsWithKeys(file, keys), 0);
    }

    void emptyTables()
    {
        Report r;
        QVERIFY(r.save());
        for (const char* table : {"Misc", "Officers", "Activities", "Recognized", "Education"})
            QVERIFY(r.exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table))));
        const QByteArray file = r.write();
        QCOMPARE(file, QByteArray("\"V\",\"A\", 5, 3, 0, 0, 12\r\n"
                                  "\"V\",\"B\", 1, 0, 2, 0,-1, 4\r\n"
                                  "\"V\",\"C\", 1, 0, 2\r\n"
                                  "\"V\",\"D\", 0, 4, 0, 7\r\n"));
    }

    void oldFileReplacedWhole()
    {
        Report r;
        QVERIFY(writeFile(r.session.UploadFilePath, QByteArray(20000, 'x')));
        QByteArray first = r.upload();
        QVERIFY(first.startsWith("\"I\",\"S\""));
        QVERIFY(!first.contains('x' + QByteArray(50, 'x')));
        r.session.model.SquadronName = QStringLiteral("Second Report");
        r.session.model.ActivityText = {};
        const QByteArray second = r.upload();
        QVERIFY(second.startsWith("\"I\",\"S\",\"Second Report\""));
        QVERIFY(!second.contains("\"Harbor City\",0123"));
        QVERIFY(second.size() < first.size());
        QCOMPARE(readFile(r.session.UploadFilePath), second);
    }

    void failureKeepsOldFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("no report file") << QStringLiteral("no report file");
        QTest::newRow("report file not a database") << QStringLiteral("not a database");
        QTest::newRow("table missing mid-way") << QStringLiteral("table missing");
        QTest::newRow("upload folder is a file") << QStringLiteral("folder is a file");
        QTest::newRow("upload path is a folder") << QStringLiteral("path is a folder");
        QTest::newRow("read-only folder") << QStringLiteral("read-only folder");
    }

    void failureKeepsOldFile()
    {
        QFETCH(QString, kind);
        Report r;
        QVERIFY(r.save());
        QString target = r.session.UploadFilePath;
        const QByteArray old = "\"I\",\"S\",\"Old report\"\r\n";
        QVERIFY(writeFile(target, old));
        QString folder = r.dir.path();
        if (kind == QLatin1String("no report file")) {
            r.session.CurrentDBPath = r.dir.path() + QStringLiteral("/missing.mdb");
        } else if (kind == QLatin1String("not a database")) {
            QVERIFY(writeFile(r.session.CurrentDBPath, QByteArray(4096, 'z')));
        } else if (kind == QLatin1String("table missing")) {
            // The file is already being written when the recognition lists cannot be read.
            QVERIFY(r.exec(QStringLiteral("DROP TABLE Recognized")));
        } else if (kind == QLatin1String("folder is a file")) {
            target = r.session.UploadFilePath + QStringLiteral("/R318_Upload.txt");
        } else if (kind == QLatin1String("path is a folder")) {
            target = r.dir.path() + QStringLiteral("/folder");
            QVERIFY(QDir().mkpath(target + QStringLiteral("/inside")));
        } else if (kind == QLatin1String("read-only folder")) {
            folder = r.dir.path() + QStringLiteral("/ro");
            QVERIFY(QDir().mkpath(folder));
            target = folder + QStringLiteral("/R318_Upload.txt");
            QVERIFY(writeFile(target, old));
            QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
            QFile probe(folder + QStringLiteral("/probe"));
            if (probe.open(QIODevice::WriteOnly)) { // the superuser writes anyway
                probe.close();
                probe.remove();
                QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
                QSKIP("folder permissions do not hold for this user");
            }
        }
        const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        QString reason;
        QVERIFY(!WriteUploadFile(r.session, target, &reason));
        QVERIFY2(reason.startsWith(QStringLiteral("Cannot write the upload file ") + target + QStringLiteral(": ")),
                 qPrintable(reason));
        const bool unreadable = kind == QLatin1String("no report file") || kind == QLatin1String("not a database") ||
                                kind == QLatin1String("table missing");
        QCOMPARE(reason.contains(QStringLiteral("cannot read the report database ") + r.session.CurrentDBPath),
                 unreadable);
        // The old file is untouched and no temporary file is left behind.
        QCOMPARE(readFile(r.session.UploadFilePath), old);
        if (kind == QLatin1String("read-only folder")) {
            QCOMPARE(readFile(target), old);
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
        if (kind == QLatin1String("path is a folder"))
            QVERIFY(QFileInfo(target + QStringLiteral("/inside")).isDir());
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
    }

    void encodeWindows1252_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii and controls") << QStringLiteral("Az09 ~\t\r\n") << QByteArray("Az09 ~\t\r\n");
        QTest::newRow("latin-1 range") << QStringLiteral("\u00a0\u00e9\u00ff\u00c4") << QByteArray("\xa0\xe9\xff\xc4");
        QTest::newRow("0x80 to 0x9f") << QStringLiteral(
                                             "\u20ac\u201a\u0192\u2026\u0160\u2019\u201c\u201d\u2014\u2122\u0178")
                                      << QByteArray("\x80\x82\x83\x85\x8a\x92\x93\x94\x97\x99\x9f");
        QTest::newRow("outside the code page")
            << QStringLiteral("\u0100\u03a9\u2028\ufffd\u0080\u009f") << QByteArray("??????");
        QTest::newRow("surrogate pair is one character")
            << QString::fromUcs4(U"x\U0001F6A4\U00010000y") << QByteArray("x??y");
        QTest::newRow("lone surrogates") << QString(QChar(0xD83D)) + QChar(u'a') + QChar(0xDE00) << QByteArray("?a?");
        QTest::newRow("lone high surrogate at the end") << QStringLiteral("a") + QChar(0xD83D) << QByteArray("a?");
    }

    void encodeWindows1252()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(EncodeWindows1252(text), bytes);
    }

    void encodeWindows1252AgainstTheSystemTable()
    {
        QStringDecoder decoder("windows-1252");
        if (!decoder.isValid())
            QSKIP("this Qt build has no Windows-1252 decoder to compare with");
        int mapped = 0;
        for (int b = 0; b < 256; ++b) {
            const QByteArray byte(1, char(b));
            const QString ch = decoder.decode(byte);
            QCOMPARE(ch.size(), 1);
            if (ch.at(0) == QChar::ReplacementCharacter)
                continue;
            ++mapped;
            QCOMPARE(EncodeWindows1252(ch), byte);
        }
        QVERIFY(mapped >= 251);
    }

    void helpers()
    {
        QString record;
        AddField(record, QStringLiteral("I"), false);
        AddField(record, QString(), true);
        AddField(record, QStringLiteral("12"), true);
        AddField(record, QString(), false);
        AddField(record, QStringLiteral("a\"b"), false);
        QCOMPARE(record, QStringLiteral("\"I\",0,12,\"\",\"a\"b\","));
        QCOMPARE(ReplaceQuotes(QStringLiteral("\"a\" 'b' \u201cc\u201d\"")), QStringLiteral("'a' 'b' \u201cc\u201d'"));
        QCOMPARE(SignedCount(0), QStringLiteral(" 0"));
        QCOMPARE(SignedCount(12), QStringLiteral(" 12"));
        QCOMPARE(SignedCount(-7), QStringLiteral("-7"));
    }

    void fullReportTiming()
    {
        Report r;
        r.session.model = fullModel();
        QVERIFY(r.save());
        const int runs = 20;
        QElapsedTimer timer;
        timer.start();
        QByteArray file;
        for (int i = 0; i < runs; ++i)
            file = r.write();
        const double ms = double(timer.nsecsElapsed()) / 1e6 / runs;
        qInfo("WriteUploadFile on a full report (%lld bytes): %.2f ms", qlonglong(file.size()), ms);
        // 96 offices, 48 assignments, 96 recognitions, 4 counts, 3 Misc counts, 13 texts, I S and X A.
        QCOMPARE(int((QByteArray("\r\n") + file).count("\r\n\"")), 96 + 48 + 96 + 4 + 3 + 13 + 2);
        QCOMPARE(recordsWithKeys(file, "\"VI\",\"D\""), 24);
        QVERIFY(!file.contains("Name7")); // category 7 is written by its count only
    }

    // ---- web submission ----

    void parseFilePath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("percent code") << QStringLiteral("C:\\a%2Bb\\R318_Upload.txt")
                                      << QStringLiteral("C:\\a%252Bb\\R318_Upload.txt");
        QTest::newRow("plus") << QStringLiteral("C:\\a+b\\f.txt") << QStringLiteral("C:\\a%2Bb\\f.txt");
        QTest::newRow("ampersand between blanks") << QStringLiteral("C:\\Rostrel Data\\A & B\\R318_Upload.txt")
                                                  << QStringLiteral("C:\\Rostrel Data\\A %26 B\\R318_Upload.txt");
        QTest::newRow("all three, percent first") << QStringLiteral("%+&%26") << QStringLiteral("%25%2B%26%2526");
        QTest::newRow("nothing else changes")
            << QStringLiteral("/home/u/Zo\u00eb #1/?=;,.txt") << QStringLiteral("/home/u/Zo\u00eb #1/?=;,.txt");
        QTest::newRow("empty") << QString() << QString();
    }

    void parseFilePath()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(ParseFilePath(path), expected);
    }

    void submissionAddress()
    {
        Report r;
        r.session.UploadFilePath = QStringLiteral("/home/u/Rostrel Data/A & B+%2B/R318_Upload.txt");
        r.session.UserPW = QStringLiteral("p&ss+w%rd");
        QCOMPARE(SubmissionAddress(r.session),
                 QStringLiteral("https://example.org/r318/submit.asp?OrgNum=0123&Email=jean@example.org&SubCert=A123456"
                                "&FileName=/home/u/Rostrel Data/A %26 B%2B%252B/R318_Upload.txt&HistYear=2019"
                                "&PassWord=p&ss+w%rd"));
    }

    void guards_data()
    {
        QTest::addColumn<QString>("email");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("outcome");
        const QString noEmail = QStringLiteral("Cannot submit without submitting officer's email address");
        const QString noPassword = QStringLiteral("Cannot submit without updater password.\n"
                                                  "Return to Rostrel and enter password in the authorization form.");
        QTest::newRow("neither") << QString() << QString() << noEmail << int(SubmitOutcome::MissingEmail);
        QTest::newRow("no e-mail") << QString() << QStringLiteral("pw") << noEmail << int(SubmitOutcome::MissingEmail);
        QTest::newRow("blank e-mail") << QStringLiteral("  ") << QString() << noEmail
                                      << int(SubmitOutcome::MissingEmail);
        QTest::newRow("no password") << QStringLiteral("a@b.org") << QString() << noPassword
                                     << int(SubmitOutcome::MissingPassword);
    }

    void guards()
    {
        QFETCH(QString, email);
        QFETCH(QString, password);
        QFETCH(QString, message);
        QFETCH(int, outcome);
        Report r;
        QVERIFY(r.save());
        const QByteArray old = "old upload";
        QVERIFY(writeFile(r.session.UploadFilePath, old));
        const QByteArray report = readFile(r.session.CurrentDBPath);
        r.session.model.SubOEmail = email;
        r.session.UserPW = password;
        ScriptedPrompt prompt;
        FakeBrowser browser;
        int saves = 0;
        const SubmitOutcome result = SubmitReport(r.session, prompt, browser, [&](HostSession&, Prompt&) {
            ++saves;
            return true;
        });
        QCOMPARE(int(result), outcome);
        QCOMPARE(prompt.texts(), QStringList{message});
        QCOMPARE(prompt.shown.first().icon, Prompt::Icon::Information);
        QCOMPARE(prompt.shown.first().buttons, Prompt::Buttons::Ok);
        QCOMPARE(saves, 0);
        QVERIFY(browser.urls.isEmpty());
        QCOMPARE(readFile(r.session.UploadFilePath), old);
        QCOMPARE(readFile(r.session.CurrentDBPath), report);
    }

    void submitSavesWritesAndOpens()
    {
        Report r;
        r.session.model.SquadronName = QStringLiteral("Old Name");
        QVERIFY(r.save());
        r.session.model.SquadronName = QStringLiteral("Harbor City");
        r.session.UploadFilePath = r.dir.path() + QStringLiteral("/A & B/R318_Upload.txt");
        QVERIFY(QDir().mkpath(r.dir.path() + QStringLiteral("/A & B")));
        ScriptedPrompt prompt;
        FakeBrowser browser;
        bool uploadExistedAtSave = true;
        const auto save = [&](HostSession& s, Prompt& p) {
            uploadExistedAtSave = QFile::exists(s.UploadFilePath);
            return SaveReport(s, p);
        };
        QCOMPARE(SubmitReport(r.session, prompt, browser, save), SubmitOutcome::Opened);
        QVERIFY(prompt.shown.isEmpty());
        QVERIFY(!uploadExistedAtSave);
        // The upload file holds the saved model, not what the report file held before.
        QVERIFY(readFile(r.session.UploadFilePath).startsWith("\"I\",\"S\",\"Harbor City\","));
        QCOMPARE(browser.urls.size(), 1);
        QCOMPARE(browser.urls.first().toString(), SubmissionAddress(r.session));
        QVERIFY(
            browser.urls.first().toEncoded().contains("/A%20%26%20B/R318_Upload.txt&HistYear=2019&PassWord=secret"));
    }

    void mnuSubmitSavesFirst()
    {
        Report r;
        QVERIFY(r.save());
        r.session.model.ActivityText[0] = QStringLiteral("Changed after the last save.\r\n\r\n");
        ScriptedPrompt prompt;
        FakeBrowser browser;
        QCOMPARE(mnuSubmit(r.session, prompt, browser), SubmitOutcome::Opened);
        QVERIFY(prompt.shown.isEmpty());
        const QByteArray upload = readFile(r.session.UploadFilePath);
        QVERIFY(hasRecord(upload, "\"VII\",\"A\",28,\"Changed after the last save.\""));
        QCOMPARE(browser.urls.size(), 1);

        // A report that cannot be saved is not submitted: the save tells why, nothing is written or opened.
        r.session.model.ActivityText[0] = QStringLiteral("Not saved.");
        QVERIFY(QFile::setPermissions(r.session.CurrentDBPath, QFileDevice::ReadOwner));
        QCOMPARE(mnuSubmit(r.session, prompt, browser), SubmitOutcome::SaveFailed);
        QFile::setPermissions(r.session.CurrentDBPath, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(prompt.shown.size(), 1);
        QCOMPARE(prompt.shown.first().icon, Prompt::Icon::Warning);
        QVERIFY(prompt.shown.first().text.contains(r.session.CurrentDBPath));
        QCOMPARE(readFile(r.session.UploadFilePath), upload);
        QCOMPARE(browser.urls.size(), 1);
    }

    void submitStopsWhenTheUploadFails()
    {
        Report r;
        QVERIFY(r.save());
        r.session.UploadFilePath = r.session.CurrentDBPath + QStringLiteral("/R318_Upload.txt");
        ScriptedPrompt prompt;
        FakeBrowser browser;
        QCOMPARE(SubmitReport(r.session, prompt, browser, {}), SubmitOutcome::UploadFailed);
        QCOMPARE(prompt.shown.size(), 1);
        QCOMPARE(prompt.shown.first().icon, Prompt::Icon::Warning);
        QVERIFY(prompt.shown.first().text.contains(r.session.UploadFilePath));
        QVERIFY(!prompt.shown.first().text.contains(QStringLiteral("secret")));
        QVERIFY(browser.urls.isEmpty());
    }

    void webAddressesOnly_data()
    {
        QTest::addColumn<QString>("submitUrl");
        QTest::addColumn<bool>("opened");
        QTest::newRow("https") << QStringLiteral("https://example.org/r318/submit.asp?") << true;
        QTest::newRow("http") << QStringLiteral("http://example.org/submit?") << true;
        QTest::newRow("capitals") << QStringLiteral("HTTPS://EXAMPLE.ORG/submit?") << true;
        QTest::newRow("file") << QStringLiteral("file:///etc/passwd?") << false;
        QTest::newRow("file on a host") << QStringLiteral("file://server/share/x.exe?") << false;
        QTest::newRow("javascript") << QStringLiteral("javascript:alert(1)//?") << false;
        QTest::newRow("ftp") << QStringLiteral("ftp://example.org/?") << false;
        QTest::newRow("mailto") << QStringLiteral("mailto:a@example.org?") << false;
        QTest::newRow("program path") << QStringLiteral("C:\\Windows\\notepad.exe ") << false;
        QTest::newRow("no scheme") << QStringLiteral("example.org/submit?") << false;
        QTest::newRow("no host") << QStringLiteral("https:///submit?") << false;
        QTest::newRow("empty") << QString() << false;
    }

    void webAddressesOnly()
    {
        QFETCH(QString, submitUrl);
        QFETCH(bool, opened);
        Report r;
        r.session.model.SubmitURL = submitUrl;
        QVERIFY(r.save());
        ScriptedPrompt prompt;
        FakeBrowser browser;
        const SubmitOutcome result = SubmitReport(r.session, prompt, browser, {});
        QCOMPARE(result, opened ? SubmitOutcome::Opened : SubmitOutcome::BrowserFailed);
        QCOMPARE(browser.urls.size(), opened ? 1 : 0);
        if (!opened) {
            QCOMPARE(prompt.texts(), QStringList{QStringLiteral("Unable to log on to website")});
            QCOMPARE(prompt.shown.first().icon, Prompt::Icon::None);
        } else {
            QVERIFY(prompt.shown.isEmpty());
        }
        // Saved and written either way.
        QVERIFY(readFile(r.session.UploadFilePath).startsWith("\"I\",\"S\""));
    }

    void browserFailure()
    {
        Report r;
        QVERIFY(r.save());
        ScriptedPrompt prompt;
        FakeBrowser browser;
        browser.result = false;
        QCOMPARE(SubmitReport(r.session, prompt, browser, {}), SubmitOutcome::BrowserFailed);
        QCOMPARE(browser.urls.size(), 1);
        QCOMPARE(prompt.texts(), QStringList{QStringLiteral("Unable to log on to website")});
        QCOMPARE(prompt.shown.first().icon, Prompt::Icon::None);
        QCOMPARE(prompt.shown.first().buttons, Prompt::Buttons::Ok);
        QVERIFY(readFile(r.session.UploadFilePath).startsWith("\"I\",\"S\""));
    }

    void addressReachesTheUrlHandler_data()
    {
        QTest::addColumn<QString>("uploadPath");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QByteArray>("encoded");
        QTest::newRow("blanks, ampersand, plus and percent code")
            << QStringLiteral("/data/A & B/x+%2B/R318_Upload.txt") << QStringLiteral("p&w")
            << QByteArray("https://example.org/r318/submit.asp?OrgNum=0123&Email=jean@example.org&SubCert=A123456"
                          "&FileName=/data/A%20%26%20B/x%2B%252B/R318_Upload.txt&HistYear=2019&PassWord=p&w");
        QTest::newRow("percent sign in the password")
            << QStringLiteral("/data/A & B/R318_Upload.txt") << QStringLiteral("50%off")
            << QByteArray("https://example.org/r318/submit.asp?OrgNum=0123&Email=jean@example.org&SubCert=A123456"
                          "&FileName=/data/A%20%26%20B/R318_Upload.txt&HistYear=2019&PassWord=50%25off");
        QTest::newRow("letters beyond ASCII")
            << QStringLiteral("/data/Zo\u00eb/R318_Upload.txt") << QStringLiteral("pw")
            << QByteArray("https://example.org/r318/submit.asp?OrgNum=0123&Email=jean@example.org&SubCert=A123456"
                          "&FileName=/data/Zo%C3%AB/R318_Upload.txt&HistYear=2019&PassWord=pw");
    }

    void addressReachesTheUrlHandler()
    {
        QFETCH(QString, uploadPath);
        QFETCH(QString, password);
        QFETCH(QByteArray, encoded);
        Report r;
        QVERIFY(r.save());
        QVERIFY(QDir().mkpath(QFileInfo(r.dir.path() + uploadPath).path()));
        r.session.UploadFilePath = r.dir.path() + uploadPath;
        r.session.UserPW = password;
        const QByteArray dir = QUrl::toPercentEncoding(r.dir.path(), "/");
        encoded.replace("&FileName=", "&FileName=" + dir);

        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "handle");
        ScriptedPrompt prompt;
        DesktopBrowser browser;
        const SubmitOutcome result = SubmitReport(r.session, prompt, browser, {});
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(result, SubmitOutcome::Opened);
        QVERIFY(prompt.shown.isEmpty());
        QCOMPARE(catcher.urls.size(), 1);
        QCOMPARE(catcher.urls.first().toEncoded(), encoded);
        if (!password.contains(QLatin1Char('%')))
            QCOMPARE(catcher.urls.first().toString(), SubmissionAddress(r.session));
    }

    void passwordNeverLogged()
    {
        Report r;
        QVERIFY(r.save());
        r.session.UserPW = QStringLiteral("Hunter2pw");
        {
            // A handler that logs what it opens.
            UrlCatcher catcher;
            catcher.logUrl = true;
            QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "handle");
            ScriptedPrompt prompt;
            DesktopBrowser browser;
            const LogCapture log;
            QCOMPARE(SubmitReport(r.session, prompt, browser, {}), SubmitOutcome::Opened);
            QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
            QCOMPARE(catcher.urls.size(), 1);
            QVERIFY(catcher.urls.first().toString().endsWith(QStringLiteral("&PassWord=Hunter2pw")));
            QCOMPARE(g_logged.size(), 1);
            QVERIFY2(!g_logged.join(QLatin1Char('\n')).contains(QStringLiteral("Hunter2pw")),
                     qPrintable(g_logged.join('\n')));
            QVERIFY(g_logged.first().contains(QStringLiteral("https://example.org/r318/submit.asp?")));
        }
        {
            // No handler: the offscreen platform refuses the address and logs it.
            ScriptedPrompt prompt;
            DesktopBrowser browser;
            const LogCapture log;
            QCOMPARE(SubmitReport(r.session, prompt, browser, {}), SubmitOutcome::BrowserFailed);
            QCOMPARE(prompt.texts(), QStringList{QStringLiteral("Unable to log on to website")});
            QVERIFY(!g_logged.isEmpty());
            QVERIFY2(!g_logged.join(QLatin1Char('\n')).contains(QStringLiteral("Hunter2pw")),
                     qPrintable(g_logged.join('\n')));
        }
        // Logging is back to normal afterwards.
        const LogCapture log;
        qWarning("after Hunter2pw");
        QCOMPARE(g_logged, QStringList{QStringLiteral("after Hunter2pw")});
    }

    // ---- the batch command ----

    void cliExportUpload()
    {
        const QString cli = qEnvironmentVariable("R318_CLI");
        if (cli.isEmpty())
            QSKIP("R318_CLI does not name the command-line tool");
        HostFixture host;
        host.writeSettings();
        host.createDatabases();
        HostFixture::Member member;
        member.id = 1;
        member.last = QStringLiteral("Brooks");
        member.first = QStringLiteral("Alan");
        member.cert = QStringLiteral("12345");
        member.squadron = 7;
        host.addMember(member);
        member.id = 2;
        member.last = QStringLiteral("Adams");
        member.cert = QStringLiteral("23456");
        host.addMember(member);

        const auto run = [&](const QStringList& args, QByteArray* out, QByteArray* err) {
            QProcess p;
            p.start(cli, QStringList{QStringLiteral("--host"), host.commandLine()} + args);
            if (!p.waitForFinished(30000))
                return -1;
            *out = p.readAllStandardOutput();
            *err = p.readAllStandardError();
            return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        };
        QByteArray out;
        QByteArray err;
        const QString upload = host.dataDir() + QStringLiteral("R318_Upload.txt");
        QCOMPARE(run({QStringLiteral("export-upload")}, &out, &err), 0);
        QCOMPARE(out.trimmed(), upload.toUtf8());
        const QByteArray file = readFile(upload);
        // Loaded as the add-in loads: today's date for the empty submission date and the active members from
        // the host, saved before the file was written from the report file.
        const QByteArray today = QDate::currentDate().toString(QStringLiteral("MMddyyyy")).toLatin1();
        QVERIFY2(file.startsWith("\"I\",\"S\",\"Test Squadron\",0007,5,\"" + today + "\",\"\",\"\",\"False\"\r\n"),
                 file.left(100).constData());
        QVERIFY(hasRecord(file, "\"VI\",\"G\",2"));
        QCOMPARE(recordsWithKeys(file, "\"I\",\"A\""), 10);
        QVERIFY(file.endsWith("\r\n"));
        QVERIFY(!out.contains("secret") && !err.contains("secret"));

        QTemporaryDir elsewhere;
        const QString other = elsewhere.path() + QStringLiteral("/copy.txt");
        QCOMPARE(run({QStringLiteral("export-upload"), QStringLiteral("--out"), other}, &out, &err), 0);
        QCOMPARE(readFile(other), file);

        // A file that cannot be written: non-zero, with the file and the reason.
        const QString bad = other + QStringLiteral("/R318_Upload.txt");
        QCOMPARE(run({QStringLiteral("export-upload"), QStringLiteral("--out"), bad}, &out, &err), 1);
        QVERIFY2(err.contains("Cannot write the upload file " + bad.toUtf8()), err.constData());
        QVERIFY(!err.contains("secret"));
        QCOMPARE(readFile(other), file);

        QCOMPARE(run({QStringLiteral("export-upload"), QStringLiteral("--to"), other}, &out, &err), 2);
        QCOMPARE(run({QStringLiteral("export-upload"), QStringLiteral("--out")}, &out, &err), 2);
    }
};

int main(int argc, char** argv)
{
    // The browser tests must never reach a real desktop.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    TestUploadFile test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_uploadfile.moc"

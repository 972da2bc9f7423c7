// The report model: loading, saving (texts cut to their field, Null for empty text) and ClearReport.

#include "ReportFixture.h"

#include "store/ReportConnection.h"
#include "store/ReportIO.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace ReportFixture;
using namespace Qt::StringLiterals;

class TestReportIO : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Session> m_s; // a current report, loaded
    QString m_db;

    // The lines of modelLines whose value is set: neither empty nor 0.
    static QStringList setLines(const ReportModel& m)
    {
        return modelLines(m).filter(QRegularExpression(u"=.*[^0|]"_s));
    }

private Q_SLOTS:
    void initTestCase() { ReportConnection::setBusyTimeout(50); }
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_s = std::make_unique<Session>();
        openReport(*m_s, m_dir->path());
        m_db = m_s->CurrentDBPath;
    }

    void roundTrip()
    {
        // A new report: the catalogue's officer list and the submission address; every other value empty or 0.
        ReportModel& m = m_s->model;
        const QStringList set = setLines(m);
        QCOMPARE(set.size(), 1 + 100);
        QCOMPARE(set.first(), u"V17="_s + kUrl);
        QCOMPARE(set.filter(QRegularExpression(u"\\|H\\||^Off(53|100)="_s)), // a blank code reads as empty text
                 QStringList({"Off1=1|ELECTED OFFICERS:|BROF|H|||||", "Off12=12|EXEC & GENERAL:|XGEN|H|||||",
                              "Off39=39|APPOINTED OFFICERS|APOF|H|||||", "Off53=53|Health & Welfare||-|||||",
                              "Off80=80|EDUCATION DEPT:|EDEP|H|||||", "Off100=100|Teaching Aides|5022|-|||||"}));

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
        QVERIFY(QFile::remove(m_db));
        why.clear();
        QVERIFY(!LoadRecognized(*m_s, &why));
        QCOMPARE(why, u"the file does not exist"_s);
        QVERIFY(!QFile::exists(m_db));
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

QTEST_GUILESS_MAIN(TestReportIO)
#include "tst_reportio.moc"

// The host recordset layer: moves, fields, the host's statement forms, the criteria searches and failures.

#include "HostFixture.h"

#include "host/HostDatabase.h"
#include "host/Recordset.h"

#include <QRandomGenerator>
#include <QTest>

class TestRecordset : public QObject
{
    Q_OBJECT

private:
    static Recordset people()
    {
        const std::vector<QStringList> rows = {{"10", "Abel", "S", "7"}, {"11", "Baker", "D", "1"},
                                               {"12", "Cole", "S", "7"}, {"0012", "Dunn", "s", "7"},
                                               {"x", "Eddy", "S", ""},   {"", QString(), "N", "7"}};
        return Recordset::fromRows({"Mem_ID", "Last", "SDN", "Department"}, rows);
    }

private Q_SLOTS:
    // Moves, fields, and the criteria searches on the same rows.
    void movesFieldsAndSearches()
    {
        Recordset rs = people();
        QCOMPARE(rs.recordCount(), 6);
        QCOMPARE(rs.text("last"), QStringLiteral("Abel")); // field names ignore letter case
        rs.moveLast();
        QCOMPARE(rs.text("Last"), QString()); // Null reads as empty
        rs.moveNext();
        QVERIFY(rs.eof() && !rs.bof());
        bool ok = true;
        QVERIFY(rs.text("Last", &ok).isEmpty() && !ok); // no current row
        rs.moveFirst();
        QVERIFY(rs.text("Nope", &ok).isEmpty() && !ok); // missing field: an engine error, not a crash
        Recordset empty = Recordset::fromRows({"A"}, {});
        empty.moveLast();
        QVERIFY(empty.isEmpty() && empty.bof() && empty.eof());
        QVERIFY(!empty.findFirst("A = 1") && empty.noMatch());
        QVERIFY(!Recordset().isOpen() && !Recordset().findFirst("A = 1"));
        const QStringList texts = {"  42 ", "12abc", "", "abc", "-7", "5.9", "99999999999999999999999"};
        const QList<qint64> numbers = {42, 12, 0, 0, -7, 5, 999999999999999999};
        for (qsizetype i = 0; i < texts.size(); ++i)
            QCOMPARE(leadingNumber(texts[i]), numbers[i]);

        QVERIFY(rs.findFirst("Mem_ID = 12"));
        QCOMPARE(rs.text("Last"), QStringLiteral("Cole"));
        QVERIFY(rs.findNext("Mem_ID = 12")); // "0012" is the number 12 too
        QCOMPARE(rs.text("Last"), QStringLiteral("Dunn"));
        QVERIFY(!rs.findNext("Mem_ID = 12") && rs.noMatch());
        QCOMPARE(rs.text("Last"), QStringLiteral("Dunn")); // a failed search keeps the row
        // Text compares without regard to letter case; AND joins terms.
        QStringList found;
        for (bool hit = rs.findFirst("Department = '7' and SDN = 's'"); hit;
             hit = rs.findNext("Department = '7' AND SDN = 'S'"))
            found << rs.text("Last");
        QCOMPARE(found, (QStringList{"Abel", "Cole", "Dunn"}));
        QVERIFY(rs.findFirst("[Last] = \"eddy\"") && rs.findFirst("Department = ''"));
        QCOMPARE(rs.text("Last"), QStringLiteral("Eddy"));
        QVERIFY(!rs.findFirst("Last = 'O''Brien'"));

        // Malformed criteria, or a field the recordset lacks, find nothing and say why; the row stays.
        for (const char* criteria : {"", "Mem_ID =", "Mem_ID 12", "Mem_ID > 12", "Last = 'Abel", "[Last = 'Abel'",
                                     "Mem_ID = 10 AND", "Mem_ID = 10 OR Mem_ID = 11", "Nope = 1", "Mem_ID = ten",
                                     "Mem_ID = 10 x", "Mem_ID = 10; DROP TABLE Members"}) {
            rs.moveLast();
            QVERIFY2(!rs.findFirst(criteria) && rs.noMatch() && !rs.error().isEmpty(), criteria);
            QCOMPARE(rs.position(), 5);
            QVERIFY(rs.failure().isEmpty()); // a search is no failure of the statement
        }
    }

    // The index answers exactly what a scan of the rows answers, in row order.
    void indexAgreesWithScan()
    {
        QRandomGenerator rng(318);
        std::vector<QStringList> rows;
        for (int i = 0; i < 3000; ++i)
            rows.push_back({QString::number(rng.bounded(400)), QString::number(rng.bounded(9)),
                            QString(QChar(u"SDNsdn"[rng.bounded(6)]))});
        Recordset rs = Recordset::fromRows({"Mem_ID", "Department", "SDN"}, rows);
        for (int probe = 0; probe < 200; ++probe) {
            const QStringList key{QString::number(rng.bounded(420)), QString::number(rng.bounded(10)),
                                  QString(QChar(u"SDNx"[rng.bounded(4)]))};
            const QString criteria =
                QStringLiteral("Mem_ID = %1 AND Department = '%2' AND SDN = '%3'").arg(key[0], key[1], key[2]);
            std::vector<int> expected;
            for (int r = 0; r < int(rows.size()); ++r) {
                if (rows[r][0] == key[0] && rows[r][1] == key[1] &&
                    rows[r][2].compare(key[2], Qt::CaseInsensitive) == 0)
                    expected.push_back(r);
            }
            std::vector<int> found;
            for (bool hit = rs.findFirst(criteria); hit; hit = rs.findNext(criteria))
                found.push_back(rs.position());
            QCOMPARE(found, expected);
        }
    }

    // Statements on a real host file: "= NULL" selects Null and empty text, "= False" the stored false, values
    // are bound, text compares and sorts without regard to letter case, and a statement that fails says so.
    void statementsOnAHostFile()
    {
        HostFixture host;
        host.createDatabases();
        host.execPrimary("INSERT INTO Members (Mem_ID, Last, First, OtherMember) VALUES (1, 'baker', 'Ann', NULL), "
                         "(2, 'Abel', 'Bob', NULL), (3, 'Cole', 'Cy', 'X'), (4, 'Dunn', 'Di', '')");
        host.execPrimary("INSERT INTO MemberCom VALUES (1, '7', '7', '703', 'S', 0), (2, '7', '7', '703', 'S', 1)");
        HostDatabase db;
        QVERIFY2(db.open(host.primaryPath()), qPrintable(db.error()));
        Recordset members = Recordset::open(db, "SELECT * FROM Members ORDER BY Last, First");
        QStringList order;
        for (members.moveFirst(); !members.eof(); members.moveNext())
            order << members.text("Last");
        QCOMPARE(order, (QStringList{"Abel", "baker", "Cole", "Dunn"}));
        QCOMPARE(Recordset::open(db, "SELECT Mem_ID FROM Members WHERE OtherMember = NULL").recordCount(), 3);
        QCOMPARE(Recordset::open(db, "SELECT * FROM MemberCom WHERE SDN = 's'").recordCount(), 2);
        QCOMPARE(Recordset::open(db, "SELECT * FROM Members WHERE Last = ?", {"BAKER"}).recordCount(), 1);
        QCOMPARE(Recordset::open(db, "SELECT * FROM MemberCom WHERE NewOD = False").number("Mem_ID"), qint64(1));
        QVERIFY(Recordset::open(db, "SELECT * FROM MemberCom WHERE Department = ?", {"7' OR '1'='1"}).isEmpty());

        const Recordset missing = Recordset::open(db, "SELECT * FROM NoSuchTable");
        QVERIFY(!missing.isOpen() && missing.isEmpty());
        QCOMPARE(missing.failure(), QStringLiteral("no such table: NoSuchTable"));
        // A statement that fails only when its rows are read fails as well.
        const Recordset late = Recordset::open(db, "SELECT * FROM MemberCom");
        host.execPrimary("DROP TABLE MemberCom");
        QVERIFY(late.isEmpty() && !late.failure().isEmpty());
        QVERIFY(db.failed(late) && db.failed(missing) && !db.failed(members));
        QCOMPARE(db.takeFailures().size(), 2);

        // A search answered by asking the database before the rows are read gives what a search over all rows
        // gives, whatever the stored values look like; moving on from the row found behaves the same too.
        host.execPrimary("CREATE TABLE T (Mem_ID, Last, Kind)");
        const QList<QVariantList> rows = {{12, "int", "S"},       {"0012", "padded", "s"},   {" 13 ", "blank", "S"},
                                          {"13abc", "tail", "S"}, {QVariant(), "null", "S"}, {"x", "word", "S"},
                                          {14.0, "real", "D"},    {"14", "text", "S"},       {"1e1", "exp", "S"},
                                          {-5, "neg", "S"},       {15, "one", "n"},          {16, "sixteen", ""}};
        for (const QVariantList& r : rows)
            host.execPrimary("INSERT INTO T VALUES (?, ?, ?)", r);
        for (const char* criteria :
             {"Mem_ID = 12", "Mem_ID = 13", "Mem_ID = 14", "Mem_ID = 10", "Mem_ID = -5", "Mem_ID = 15 AND Kind = 'N'",
              "Mem_ID = 15 AND Kind = 'S'", "Mem_ID = 99", "Mem_ID = 16 AND Kind = ''", "Mem_ID = 0", "Nope = 1"}) {
            Recordset lazy = Recordset::open(db, "SELECT * FROM T ORDER BY Last");
            Recordset full = Recordset::open(db, "SELECT * FROM T ORDER BY Last");
            QVERIFY(full.recordCount() > 0 && !lazy.isLoaded());
            const auto search = [criteria](Recordset& rs) { // braces read left to right
                QStringList out{QString::number(rs.findFirst(criteria)), QString::number(rs.noMatch()), rs.text("Last"),
                                QString::number(rs.position())};
                rs.moveNext();
                return out << rs.text("Last");
            };
            QCOMPARE(search(lazy), search(full));
        }
    }

    // Opening never creates a file; other content is refused with a reason before the engine sees it.
    void filesThatCannotBeOpened()
    {
        QTemporaryDir dir;
        const QString absent = dir.filePath("absent.mdb");
        HostDatabase db;
        QVERIFY(!db.open(absent) && !QFile::exists(absent));
        const std::pair<QByteArray, const char*> files[] = {
            {{}, "the file is empty (zero length)"},
            {QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20), "it is a file of the old desktop database format"},
            {QByteArray("SQLite format 2\0", 16), "it is not a database"}};
        for (const auto& [content, reason] : files) {
            QFile file(dir.filePath("host.mdb"));
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size());
            file.close();
            QVERIFY(!db.open(file.fileName()) && !db.isOpen());
            QCOMPARE(db.error(), QString(reason));
        }
    }
};

QTEST_GUILESS_MAIN(TestRecordset)
#include "tst_recordset.moc"

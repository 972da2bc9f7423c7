// The host recordset layer: moves, fields, the host's statement forms and the criteria searches.

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
        return Recordset::fromRows({"Mem_ID", "Last", "SDN", "Department"}, {
                                                                                {"10", "Abel", "S", "7"},
                                                                                {"11", "Baker", "D", "1"},
                                                                                {"12", "Cole", "S", "7"},
                                                                                {"0012", "Dunn", "s", "7"},
                                                                                {"x", "Eddy", "S", ""},
                                                                                {"", QString(), "N", "7"},
                                                                            });
    }

private Q_SLOTS:
    void movesAndCounts()
    {
        Recordset rs = people();
        QVERIFY(!rs.isEmpty());
        QCOMPARE(rs.recordCount(), 6);
        QVERIFY(!rs.bof());
        QCOMPARE(rs.text("last"), QStringLiteral("Abel")); // field names ignore letter case
        rs.moveLast();
        QVERIFY(!rs.eof());
        QCOMPARE(rs.text("Last"), QString()); // Null reads as empty
        rs.moveNext();
        QVERIFY(rs.eof());
        bool ok = true;
        QCOMPARE(rs.text("Last", &ok), QString());
        QVERIFY(!ok); // no current row
        rs.moveFirst();
        QCOMPARE(rs.text("Nope", &ok), QString());
        QVERIFY(!ok); // missing field: an engine error, not a crash

        Recordset empty = Recordset::fromRows({"A"}, {});
        QVERIFY(empty.isEmpty());
        QVERIFY(empty.bof() && empty.eof());
        empty.moveNext();
        empty.moveLast();
        QVERIFY(empty.bof() && empty.eof());
        QVERIFY(!empty.findFirst("A = 1"));
        QVERIFY(empty.noMatch());

        Recordset closed;
        QVERIFY(!closed.isOpen());
        QVERIFY(!closed.findFirst("A = 1"));
        QCOMPARE(closed.text("A", &ok), QString());
        QVERIFY(!ok);
    }

    void leadingNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("value");
        QTest::newRow("plain") << "42" << qint64(42);
        QTest::newRow("blanks") << "  42 " << qint64(42);
        QTest::newRow("tail") << "12abc" << qint64(12);
        QTest::newRow("empty") << "" << qint64(0);
        QTest::newRow("letters") << "abc" << qint64(0);
        QTest::newRow("negative") << "-7" << qint64(-7);
        QTest::newRow("decimal") << "5.9" << qint64(5);
        QTest::newRow("huge") << "99999999999999999999999" << qint64(999999999999999999);
    }
    void leadingNumbers()
    {
        QFETCH(QString, text);
        QFETCH(qint64, value);
        QCOMPARE(leadingNumber(text), value);
    }

    void criteriaSearches()
    {
        Recordset rs = people();
        QVERIFY(rs.findFirst("Mem_ID = 12"));
        QCOMPARE(rs.text("Last"), QStringLiteral("Cole"));
        // "0012" is the number 12 too: the next match.
        QVERIFY(rs.findNext("Mem_ID = 12"));
        QCOMPARE(rs.text("Last"), QStringLiteral("Dunn"));
        QVERIFY(!rs.findNext("Mem_ID = 12"));
        QVERIFY(rs.noMatch());
        QCOMPARE(rs.text("Last"), QStringLiteral("Dunn")); // a failed search keeps the row

        // Text compares without regard to letter case; AND joins terms.
        QVERIFY(rs.findFirst("Department = '7' AND SDN = 'S'"));
        QCOMPARE(rs.text("Last"), QStringLiteral("Abel"));
        QVERIFY(rs.findNext("Department = '7' and SDN = 's'"));
        QCOMPARE(rs.text("Last"), QStringLiteral("Cole"));
        QVERIFY(rs.findNext("Department = '7' AND SDN = 'S'"));
        QCOMPARE(rs.text("Last"), QStringLiteral("Dunn"));
        QVERIFY(!rs.findNext("Department = '7' AND SDN = 'S'"));

        QVERIFY(rs.findFirst("[Last] = 'O''Brien'") == false);
        QVERIFY(rs.findFirst("Last = \"eddy\""));
        QVERIFY(rs.findFirst("Department = ''"));
        QCOMPARE(rs.text("Last"), QStringLiteral("Eddy"));
        QVERIFY(!rs.findFirst("Mem_ID = 13"));
        QVERIFY(rs.noMatch());
    }

    void malformedCriteria_data()
    {
        QTest::addColumn<QString>("criteria");
        QTest::newRow("empty") << "";
        QTest::newRow("blank") << "   ";
        QTest::newRow("no value") << "Mem_ID =";
        QTest::newRow("no operator") << "Mem_ID 12";
        QTest::newRow("other operator") << "Mem_ID > 12";
        QTest::newRow("unclosed quote") << "Last = 'Abel";
        QTest::newRow("unclosed bracket") << "[Last = 'Abel'";
        QTest::newRow("dangling AND") << "Mem_ID = 10 AND";
        QTest::newRow("OR") << "Mem_ID = 10 OR Mem_ID = 11";
        QTest::newRow("unknown field") << "Nope = 1";
        QTest::newRow("word value") << "Mem_ID = ten";
        QTest::newRow("trailing junk") << "Mem_ID = 10 x";
        QTest::newRow("sign only") << "Mem_ID = -";
        QTest::newRow("injection") << "Mem_ID = 10; DROP TABLE Members";
    }
    void malformedCriteria()
    {
        QFETCH(QString, criteria);
        Recordset rs = people();
        rs.moveLast();
        QVERIFY(!rs.findFirst(criteria));
        QVERIFY(rs.noMatch());
        QVERIFY(!rs.error().isEmpty());
        QCOMPARE(rs.position(), 5);
        QVERIFY(!rs.findNext(criteria));
    }

    // The index answers exactly what a scan of the rows answers, in row order.
    void indexAgreesWithScan()
    {
        QRandomGenerator rng(318);
        std::vector<QStringList> rows;
        for (int i = 0; i < 3000; ++i) {
            rows.push_back({QString::number(rng.bounded(400)), QString::number(rng.bounded(9)),
                            QString(QChar(u"SDNsdn"[rng.bounded(6)]))});
        }
        Recordset rs = Recordset::fromRows({"Mem_ID", "Department", "SDN"}, rows);
        for (int probe = 0; probe < 200; ++probe) {
            const int id = int(rng.bounded(420));
            const int dep = int(rng.bounded(10));
            const QString sdn = QString(QChar(u"SDNx"[rng.bounded(4)]));
            const QString criteria =
                QStringLiteral("Mem_ID = %1 AND Department = '%2' AND SDN = '%3'").arg(id).arg(dep).arg(sdn);
            std::vector<int> expected;
            for (int r = 0; r < int(rows.size()); ++r) {
                if (rows[r][0].toInt() == id && rows[r][1] == QString::number(dep) &&
                    rows[r][2].compare(sdn, Qt::CaseInsensitive) == 0)
                    expected.push_back(r);
            }
            std::vector<int> found;
            for (bool hit = rs.findFirst(criteria); hit; hit = rs.findNext(criteria))
                found.push_back(rs.position());
            QCOMPARE(found, expected);
        }
    }

    void hostStatementForms()
    {
        QCOMPARE(translateHostStatement("SELECT * FROM T WHERE A = 'x''y' AND B = ? AND C = 5 AND D <> 'q'"),
                 QStringLiteral("SELECT * FROM T WHERE A = 'x''y' COLLATE NOCASE AND B = ? COLLATE NOCASE AND C = 5 "
                                "AND D <> 'q' COLLATE NOCASE"));
        QCOMPARE(translateHostStatement("SELECT MemTypeStat FROM Members WHERE OtherMember = NULL"),
                 QStringLiteral("SELECT MemTypeStat FROM Members WHERE (OtherMember IS NULL OR OtherMember = '')"));
        QCOMPARE(translateHostStatement("SELECT * FROM MemberCom WHERE NewOD = False ORDER BY Department, Position"),
                 QStringLiteral("SELECT * FROM MemberCom WHERE NewOD = 0 ORDER BY Department COLLATE NOCASE, "
                                "Position COLLATE NOCASE"));
        QCOMPARE(translateHostStatement("SELECT * FROM R WHERE Last <> null ORDER BY Last DESC"),
                 QStringLiteral(
                     "SELECT * FROM R WHERE (Last IS NOT NULL AND Last <> '') ORDER BY Last COLLATE NOCASE DESC"));
    }

    // Statements run on a real host file: "= NULL" selects Null and empty text, "= False" the stored false,
    // values are bound, and the sort ignores letter case.
    void statementsOnAHostFile()
    {
        HostFixture host;
        host.createDatabases();
        host.addMember({1, "baker", "Ann"});
        host.addMember({2, "Abel", "Bob"});
        host.addMember({3, "Cole", "Cy", {}, {}, {}, {}, 0, "AC", "X"});
        host.execPrimary("INSERT INTO Members (Mem_ID, Last, First, OtherMember) VALUES (4, 'Dunn', 'Di', '')");
        host.addCommittee(1, "7", "7", "703", "S", false);
        host.addCommittee(2, "7", "7", "703", "S", true);
        HostDatabase db;
        QVERIFY2(db.open(host.primaryPath()), qPrintable(db.error()));

        Recordset members = Recordset::open(db, "SELECT * FROM Members ORDER BY Last, First");
        QVERIFY2(members.isOpen(), qPrintable(members.error()));
        QStringList order;
        for (members.moveFirst(); !members.eof(); members.moveNext())
            order << members.text("Last");
        QCOMPARE(order, (QStringList{"Abel", "baker", "Cole", "Dunn"}));

        Recordset own = Recordset::open(db, "SELECT Mem_ID FROM Members WHERE OtherMember = NULL");
        QCOMPARE(own.recordCount(), 3);

        // Text compares without regard to letter case, as in the host.
        QCOMPARE(Recordset::open(db, "SELECT * FROM MemberCom WHERE SDN = 's'").recordCount(), 2);
        QCOMPARE(Recordset::open(db, "SELECT * FROM Members WHERE Last = ?", {"BAKER"}).recordCount(), 1);
        QCOMPARE(Recordset::open(db, "SELECT * FROM Members WHERE Last = 'O''x' OR Last <> 'abel'").recordCount(), 3);

        Recordset current = Recordset::open(db, "SELECT * FROM MemberCom WHERE NewOD = False");
        QCOMPARE(current.recordCount(), 1);
        QCOMPARE(current.number("Mem_ID"), qint64(1));

        const QString hostile = QStringLiteral("7' OR '1'='1");
        Recordset bound = Recordset::open(db, "SELECT * FROM MemberCom WHERE Department = ?", {hostile});
        QVERIFY(bound.isOpen());
        QVERIFY(bound.isEmpty());

        Recordset missing = Recordset::open(db, "SELECT * FROM NoSuchTable");
        QVERIFY(!missing.isOpen());
        QVERIFY(!missing.error().isEmpty());
        QVERIFY(missing.isEmpty());
    }

    // A search answered by asking the database before the rows are read gives what a search over all rows
    // gives, whatever the stored values look like.
    void searchBeforeReadingAgreesWithFullSearch()
    {
        HostFixture host;
        host.createDatabases();
        host.execPrimary("CREATE TABLE T (Mem_ID, Last, Kind)");
        const QList<QVariantList> rows = {{12, "int", "S"},       {"0012", "padded", "s"},   {" 13 ", "blank", "S"},
                                          {"13abc", "tail", "S"}, {QVariant(), "null", "S"}, {"x", "word", "S"},
                                          {14.0, "real", "D"},    {"14", "text", "S"},       {"1e1", "exp", "S"},
                                          {-5, "neg", "S"},       {15, "one", "n"},          {16, "sixteen", ""}};
        for (const QVariantList& r : rows)
            host.execPrimary("INSERT INTO T VALUES (?, ?, ?)", r);
        HostDatabase db;
        QVERIFY(db.open(host.primaryPath()));
        const QStringList probes = {"Mem_ID = 12",
                                    "Mem_ID = 13",
                                    "Mem_ID = 14",
                                    "Mem_ID = 10",
                                    "Mem_ID = -5",
                                    "Mem_ID = 15 AND Kind = 'N'",
                                    "Mem_ID = 15 AND Kind = 'S'",
                                    "Mem_ID = 99",
                                    "Mem_ID = 16 AND Kind = ''",
                                    "Mem_ID = 0",
                                    "Nope = 1"};
        for (const QString& criteria : probes) {
            Recordset lazy = Recordset::open(db, "SELECT * FROM T ORDER BY Last");
            Recordset full = Recordset::open(db, "SELECT * FROM T ORDER BY Last");
            QVERIFY(full.recordCount() > 0);
            QVERIFY(!lazy.isLoaded());
            const bool a = lazy.findFirst(criteria);
            const bool b = full.findFirst(criteria);
            QCOMPARE(a, b);
            QCOMPARE(lazy.noMatch(), full.noMatch());
            QCOMPARE(lazy.text("Last"), full.text("Last"));
            // Moving on from the found row behaves as if the rows had been read all along.
            QCOMPARE(lazy.position(), full.position());
            lazy.moveNext();
            full.moveNext();
            QCOMPARE(lazy.text("Last"), full.text("Last"));
        }
    }

    void unreadableHostFiles()
    {
        QTemporaryDir dir;
        HostDatabase db;
        QVERIFY(!db.open(dir.filePath("absent.mdb")));
        QVERIFY(!QFile::exists(dir.filePath("absent.mdb"))); // opening never creates a file
        QFile empty(dir.filePath("empty.mdb"));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        QVERIFY(!db.open(empty.fileName()));
        QVERIFY(db.error().contains("zero length"));
        QFile jet(dir.filePath("old.mdb"));
        QVERIFY(jet.open(QIODevice::WriteOnly));
        jet.write(QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20));
        jet.close();
        QVERIFY(!db.open(jet.fileName()));
        QVERIFY(db.error().contains("old desktop database"));
        QVERIFY(!db.isOpen());
    }
};

QTEST_GUILESS_MAIN(TestRecordset)
#include "tst_recordset.moc"

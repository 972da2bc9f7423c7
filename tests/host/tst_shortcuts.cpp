// The shortcuts of the host look-ups give what the statements as written give: Fill from host on awkward hosts
// with and without them, and the recordset pieces they are made of.

#include "HostCase.h"

#include "host/FillFromHost.h"
#include "host/HostDatabase.h"
#include "host/HostSchema.h"
#include "host/HostShortcuts.h"
#include "host/MemberStats.h"
#include "host/Recordset.h"

#include <QRegularExpression>
#include <QTest>

namespace {

const QString kNbsp = QString(QChar(0x00A0));

// Turns the shortcuts off for as long as it lives.
class StatementsAsWritten
{
public:
    StatementsAsWritten() { HostShortcuts::setEnabled(false); }
    ~StatementsAsWritten() { HostShortcuts::setEnabled(true); }
    StatementsAsWritten(const StatementsAsWritten&) = delete;
    StatementsAsWritten& operator=(const StatementsAsWritten&) = delete;
};

void member(HostCase::Writer& w, const QVariant& id, const QString& last, const QVariant& memTypeStat,
            const QVariant& otherMember = QVariant(), const QVariant& senior = QVariant())
{
    w.exec(QStringLiteral("INSERT INTO Members (Mem_ID, Cert, Last, First, Grade, Rank, SquadRank, Address, Address2, "
                          "City, State, ZIP, Phone, Email, MemTypeStat, OtherMember, GH_Senior) "
                          "VALUES (?, ?, ?, 'F', 'AP', 'Lt', 'Cdr', '1 Quay', ?, 'Port', 'ME', '04101', '555', "
                          "'m@example.org', ?, ?, ?)"),
           {id, QStringLiteral("C") + last.left(6), last,
            last.size() % 2 ? QVariant(QStringLiteral("Apt 2")) : QVariant(), memTypeStat, otherMember, senior});
}

// A squadron host with every awkward value the statements meet: member numbers stored as text, with blanks
// the host trims, twice, missing or below 1; member types with blanks, odd letter case and letters beyond
// ASCII; "other member" marks that are empty or a blank; more than 24 rows in each list; assignment levels in
// small letters; offices with several holders and a submitting officer found only as Secretary.
void trickyRows(HostCase::Writer& w)
{
    const QList<QVariant> types = {"AC",
                                   " AC",
                                   "\tAC",
                                   kNbsp + "AC",
                                   "ac",
                                   "Ac",
                                   "ACT",
                                   "AC ",
                                   QVariant(),
                                   "",
                                   "XAC",
                                   QString(QChar(0x3000)) + "AC",
                                   QString::fromUtf8("\xc3\x85") + "C",
                                   12,
                                   QByteArray("AC"),
                                   QByteArray(" AC "),
                                   QString(QChar(0x0085)) + "AC",
                                   QString(QChar(0x200B)) + "AC",
                                   "A",
                                   QString(QChar(0)) + "AC",
                                   "\n\r AC"};
    const QList<QVariant> others = {QVariant(), "", " ", "X", QVariant(), QVariant()};
    const QList<QVariant> seniors = {"2019", "2019", " 2019", "2019 ", "2018", QVariant(), "2019"};
    for (int i = 1; i <= 90; ++i) {
        member(w, i, QStringLiteral("Member%1").arg(i % 37, 2, 10, QLatin1Char('0')) + QChar(u'a' + i % 3),
               types.at(i % types.size()), others.at(i % others.size()), seniors.at(i % seniors.size()));
    }
    // Member numbers that are not plain whole numbers.
    member(w, 41, "Twin-b", "AC"); // a second row for 41
    member(w, kNbsp + "91", "Spaced", "AC", QVariant(), "2019");
    member(w, "92x", "Tailed", "AC");
    member(w, 93.5, "Halved", "AC");
    member(w, QVariant(), "Nobody", "AC", QVariant(), "2019");
    member(w, 0, "Zero", "AC", QVariant(), "2019");
    member(w, -4, "Negative", "AC");
    member(w, " 94 ", "Padded", "AC", QVariant(), "2019");

    // Course completions at the bounds of the watch year, one month outside, with a day, a blank or a dash.
    const QStringList values = {"201909", "202008", "20200801", "201908", " 201910", "202009", "2019-10", "201912"};
    const QStringList fields = HostSchema::courseFields();
    for (int k = 0; k < fields.size(); ++k) {
        QString cases;
        for (int v = 0; v < values.size(); ++v)
            cases += QStringLiteral(" WHEN %1 THEN '%2'").arg(v).arg(values.at(v));
        w.exec(
            QStringLiteral("UPDATE Members SET %1 = CASE (Mem_ID + %2) % 9%3 END").arg(fields.at(k)).arg(k).arg(cases));
    }

    w.exec("INSERT INTO commdept VALUES ('1', 'Executive'), ('2', 'Education'), ('7', 'Secretary Dept'), ('', 'None')");
    w.exec("INSERT INTO CommDesc VALUES ('101', 'Bridge'), ('105', 'Secretary'), ('201', 'Education'), "
           "('703', 'History')");
    w.exec("INSERT INTO CommPos VALUES ('1', 'Chairman'), ('7', 'Member'), ('9', 'At large')");
    // Offices: a commander, three holders of one office for two rows, a secretary who is member 41 (twice in
    // Members) and no historian; holders of another watch are not current.
    w.committee(2, "1", "1", "101");
    w.committee(5, "1", "9", "101");
    w.committee(6, "1", "9", "101");
    w.committee(7, "1", "9", "101");
    w.committee(41, "1", "7", "105");
    w.committee(8, "7", "7", "703", "S", true);
    // More than 24 district rows, some in small letters, some naming nobody, and fewer national ones.
    const QList<QVariant> listed = {3,  41, 999, 0,  -4, 9,  10, 11, 12, 13, 14, 15, 16, 17,
                                    18, 19, 20,  21, 22, 23, 24, 25, 26, 27, 28, 29, 30};
    for (int k = 0; k < listed.size(); ++k) {
        w.exec(
            "INSERT INTO MemberCom VALUES (?, ?, ?, ?, ?, ?)",
            {listed.at(k), k % 3 ? "2" : "1", k % 2 ? "7" : "1", k % 3 ? "201" : "101", k % 4 ? "D" : "d", k % 5 == 0});
    }
    w.committee(91, "2", "7", "201", "N");
    w.committee(94, "2", "7", "201", "n");
    w.committee(92, "2", "7", "201", "N");
    w.committee(41, "2", "9", "201", " N");
    w.exec("INSERT INTO MeritMarks VALUES (1, '2020', 'A'), (2, '2020', 'a'), (3, '2020', ' A'), (4, '2020', 'R'), "
           "(5, '2019', 'A')");
}

// The officer list Fill works on; the watch year Sep 2019 to Aug 2020.
void setReport(ReportModel& m)
{
    HostCase::setOfficers(m, {{"ELECTED", "AAAA"},
                              {"Commander", "1101"},
                              {"Members at large", "1901"},
                              {"Members at large", "1901"},
                              {"Treasurer", "1805"},
                              {"Secretary", "1705"},
                              {"Historian", "7703"}});
    m.FromDate = QStringLiteral("Sep 1, 2019");
    m.ToDate = QStringLiteral("Aug 31, 2020");
    m.NoMM = 77;
    for (int c = 1; c <= ReportModel::CategoryCount; ++c) {
        for (int e = 1; e <= ReportModel::EntriesPerCategory; ++e)
            m.RecLast[c][e] = QStringLiteral("Kept %1-%2").arg(c).arg(e);
    }
}

QStringList fillOnce(HostFixture& fx, bool readMembersFirst, bool twice = false)
{
    Session session;
    if (!HostCase::openHost(fx, session))
        return {QStringLiteral("host not opened")};
    setReport(session.model);
    if (readMembersFirst)
        session.host.MembersRS.recordCount(); // as the member list does
    ScriptedPrompt prompt;
    prompt.setDefaultAnswer(Prompt::Answer::Yes);
    if (!FillFromHost(session, prompt).filled)
        return {QStringLiteral("not filled")};
    if (twice) {
        prompt.clear();
        if (!FillFromHost(session, prompt).filled)
            return {QStringLiteral("not filled twice")};
    }
    QStringList dump = HostCase::dump(session.model);
    dump << prompt.texts();
    return dump;
}

// The Members table again with the same fields but no declared types: member numbers then keep the form they
// were written in ("0050" stays text).
void untypedMembers(HostCase::Writer& w)
{
    QString create = HostSchema::primaryTables().at(1);
    create.replace(QRegularExpression(QStringLiteral(" (INTEGER|VARCHAR\\(\\d+\\))")), QString());
    w.exec("DROP TABLE Members");
    w.exec(create);
}

} // namespace

class TestShortcuts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fillIsTheSameAsTheStatementsAsWritten_data()
    {
        QTest::addColumn<QString>("host");
        QTest::newRow("awkward values") << "tricky";
        QTest::newRow("awkward values, every member number held once") << "held once";
        QTest::newRow("member numbers without a declared type") << "untyped";
        QTest::newRow("empty tables") << "empty";
        QTest::newRow("no merit marks table") << "no MeritMarks";
        QTest::newRow("no MemTypeStat and GH_Senior fields") << "narrow Members";
    }
    void fillIsTheSameAsTheStatementsAsWritten()
    {
        QFETCH(QString, host);
        HostFixture fx;
        HostCase::prepare(fx);
        {
            HostCase::Writer w(fx.primaryPath());
            if (host == "untyped")
                untypedMembers(w);
            if (host != "empty")
                trickyRows(w);
            if (host == "untyped")
                w.exec("UPDATE Members SET Mem_ID = printf('%04d', Mem_ID) WHERE Mem_ID BETWEEN 9 AND 20");
            if (host == "held once" || host == "untyped")
                w.exec("DELETE FROM Members WHERE Last = 'Twin-b'");
            if (host == "no MeritMarks")
                w.exec("DROP TABLE MeritMarks");
            if (host == "narrow Members") {
                w.exec("ALTER TABLE Members DROP COLUMN MemTypeStat");
                w.exec("ALTER TABLE Members DROP COLUMN GH_Senior");
            }
        }
        QStringList asWritten;
        {
            StatementsAsWritten off;
            asWritten = fillOnce(fx, false);
            QCOMPARE(fillOnce(fx, true), asWritten);
        }
        QVERIFY(asWritten.size() > 200);
        // The first Fill after start-up, with the member table not yet read; Fill again; Fill after the member
        // list has been read.
        const QStringList first = fillOnce(fx, false);
        QVERIFY2(first == asWritten, qPrintable(HostCase::firstDifference(first, asWritten)));
        const QStringList again = fillOnce(fx, false, true);
        QVERIFY2(again == asWritten, qPrintable(HostCase::firstDifference(again, asWritten)));
        const QStringList read = fillOnce(fx, true);
        QVERIFY2(read == asWritten, qPrintable(HostCase::firstDifference(read, asWritten)));
        if (host == "tricky") {
            // The awkward values count as the host counts them.
            QVERIFY(asWritten.at(11).toInt() > 0);  // NoActive
            QVERIFY(asWritten.at(12).toInt() > 24); // NoSenior: all of them, though 24 are listed
        }
    }

    // The members a Fill needs are asked for once: the member table is not read whole unless a number is held
    // by more than one row.
    void fillReadsOnlyTheMembersItNeeds()
    {
        HostFixture fx;
        HostCase::prepare(fx);
        {
            HostCase::Writer w(fx.primaryPath());
            trickyRows(w);
            w.exec("DELETE FROM Members WHERE Last = 'Twin-b'");
        }
        Session session;
        QVERIFY(HostCase::openHost(fx, session));
        setReport(session.model);
        ScriptedPrompt prompt;
        prompt.setDefaultAnswer(Prompt::Answer::Yes);
        QVERIFY(FillFromHost(session, prompt).filled);
        QVERIFY(!session.host.MembersRS.isLoaded());
        QCOMPARE(session.model.SubOTitle, QStringLiteral("Secretary"));
        QVERIFY(!session.model.RecLast[1][2].isEmpty()); // member 41 listed in the district list
        {
            HostCase::Writer w(fx.primaryPath());
            member(w, 41, "Twin-b", "AC");
        }
        Session twice;
        QVERIFY(HostCase::openHost(fx, twice));
        setReport(twice.model);
        QVERIFY(FillFromHost(twice, prompt).filled);
        QVERIFY(twice.host.MembersRS.isLoaded());
    }

    // Searches after a prefetch answer what a search over all rows answers, whatever the stored numbers look
    // like; numbers held by one row are answered without reading the rows.
    void prefetchAgreesWithFullSearch_data()
    {
        QTest::addColumn<QString>("declared");
        QTest::newRow("no declared type") << "";
        QTest::newRow("INTEGER") << " INTEGER";
        QTest::newRow("TEXT") << " TEXT";
    }
    void prefetchAgreesWithFullSearch()
    {
        QFETCH(QString, declared);
        HostFixture host;
        host.createDatabases();
        host.execPrimary("CREATE TABLE T (Mem_ID" + declared + ", Last, Kind)");
        const QList<QVariantList> rows = {
            {12, "int", "S"},          {"0012", "padded", "s"},    {" 13 ", "blank", "S"}, {"13abc", "tail", "S"},
            {QVariant(), "null", "S"}, {"x", "word", "S"},         {14.0, "real", "D"},    {"14", "text", "S"},
            {"1e1", "exp", "S"},       {-5, "neg", "S"},           {15, "one", "n"},       {kNbsp + "16", "nbsp", ""},
            {17.5, "half", "S"},       {QByteArray("18"), "blob"}, {19, "nineteen", "S"},  {"-0", "minus zero", "S"}};
        for (const QVariantList& r : rows)
            host.execPrimary("INSERT INTO T VALUES (?, ?, ?)", r.size() == 3 ? r : r + QVariantList{"S"});
        HostDatabase db;
        QVERIFY(db.open(host.primaryPath()));
        const QList<qint64> numbers = {12, 13, 14, 10, -5, 15, 16, 17, 18, 19, 0, 99};
        for (const qint64 n : numbers) {
            const QString criteria = QStringLiteral("Mem_ID = %1").arg(n);
            Recordset lazy = Recordset::open(db, "SELECT * FROM T ORDER BY Last");
            Recordset full = Recordset::open(db, "SELECT * FROM T ORDER BY Last");
            lazy.prefetch("Mem_ID", numbers);
            QVERIFY(!lazy.isLoaded());
            QCOMPARE(lazy.findFirst(criteria), full.findFirst(criteria));
            QCOMPARE(lazy.noMatch(), full.noMatch());
            QCOMPARE(lazy.text("Last"), full.text("Last"));
            QCOMPARE(lazy.position(), full.position());
            lazy.moveNext();
            full.moveNext();
            QCOMPARE(lazy.text("Last"), full.text("Last"));
        }
        // One row holds 19, none holds 99: no need to read the rows for either.
        Recordset lazy = Recordset::open(db, "SELECT * FROM T ORDER BY Last");
        lazy.prefetch("mem_id", {19, 99});
        QVERIFY(lazy.findFirst("Mem_ID = 19"));
        QCOMPARE(lazy.text("Last"), QStringLiteral("nineteen"));
        QVERIFY(!lazy.findFirst("Mem_ID = 99"));
        QVERIFY(lazy.noMatch());
        QCOMPARE(lazy.text("Last"), QStringLiteral("nineteen"));
        QVERIFY(!lazy.isLoaded());
        QCOMPARE(lazy.recordCount(), rows.size());
    }

    // The first rows of a statement are the rows a full read begins with; the engine's count is the number of
    // rows a full read gives.
    void firstRowsAndCounts_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QVariantList>("params");
        QTest::newRow("engine order") << "SELECT * FROM MemberCom WHERE SDN = 'D'" << QVariantList();
        QTest::newRow("sorted, host forms")
            << "SELECT * FROM MemberCom WHERE NewOD = False ORDER BY Department, Position" << QVariantList();
        QTest::newRow("own members, bound year")
            << "SELECT * FROM Members WHERE OtherMember = NULL AND GH_Senior = ?" << QVariantList{"2019"};
        QTest::newRow("no rows") << "SELECT * FROM MeritMarks WHERE MM_Prec = 'Z'" << QVariantList();
    }
    void firstRowsAndCounts()
    {
        QFETCH(QString, statement);
        QFETCH(QVariantList, params);
        HostFixture fx;
        HostCase::prepare(fx);
        {
            HostCase::Writer w(fx.primaryPath());
            trickyRows(w);
        }
        HostDatabase db;
        QVERIFY(db.open(fx.primaryPath()));
        Recordset full = Recordset::open(db, statement, params);
        QCOMPARE(Recordset::countRows(db, statement, params), qint64(full.recordCount()));
        for (const int limit : {1, 5, 24, 1000}) {
            Recordset first = Recordset::openFirstRows(db, statement, params, limit);
            QCOMPARE(first.recordCount(), std::min(limit, full.recordCount()));
            full.moveFirst();
            for (first.moveFirst(); !first.eof(); first.moveNext(), full.moveNext()) {
                for (const QString& field : full.fieldNames())
                    QCOMPARE(first.text(field), full.text(field));
            }
        }
        QCOMPARE(Recordset::countRows(db, "SELECT * FROM NoSuchTable"), qint64(-1));
        QVERIFY(!Recordset::openFirstRows(db, "SELECT * FROM NoSuchTable", {}, 3).isOpen());
    }
};

QTEST_GUILESS_MAIN(TestShortcuts)
#include "tst_shortcuts.moc"

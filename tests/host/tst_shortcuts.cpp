// The shortcuts of the host look-ups give what the statements as written give: Fill from host on awkward hosts
// with and without them.

#include "HostCase.h"

#include "host/FillFromHost.h"
#include "host/HostSchema.h"
#include "host/HostShortcuts.h"

#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>

namespace {

// How a Fill runs: with the shortcuts off, after the member list has read the member table, twice in a row.
enum Run { Shortcuts = 0, AsWritten = 1, MembersRead = 2, Twice = 4 };

void member(HostCase::Writer& w, const QVariant& id, const QString& last, const QVariant& memTypeStat,
            const QVariant& otherMember = QVariant(), const QVariant& senior = QVariant())
{
    w.exec("INSERT INTO Members (Mem_ID, Cert, Last, First, Grade, Rank, SquadRank, Address, Address2, City, State, "
           "ZIP, Phone, Email, MemTypeStat, OtherMember, GH_Senior) VALUES (?, ?, ?, 'F', 'AP', 'Lt', 'Cdr', "
           "'1 Quay', ?, 'Port', 'ME', '04101', '555', 'm@example.org', ?, ?, ?)",
           {id, "C" + last.left(6), last, last.size() % 2 ? QVariant("Apt 2") : QVariant(), memTypeStat, otherMember,
            senior});
}

// A squadron host with every awkward value the statements meet: member numbers stored as text, blob or real, with
// blanks, twice, missing or below 1; member types with blanks, odd letter case and letters beyond ASCII; "other
// member" marks empty or blank; over 24 rows in each list; levels in small letters; offices with several holders.
void trickyRows(HostCase::Writer& w)
{
    const auto ahead = [](char16_t c, const char* rest = "AC") {
        return QVariant(QChar(c) + QLatin1String(rest));
    };
    const QVariant blob = QByteArray("AC"), paddedBlob = QByteArray(" AC ");
    const QList<QVariant> types = {
        "AC", " AC",    "\tAC",        ahead(0xA0),      "ac", "Ac", "ACT",      "AC ",       QVariant(),
        "",   "XAC",    ahead(0x3000), ahead(0xC5, "C"), 12,   blob, paddedBlob, ahead(0x85), ahead(0x200B),
        "A",  ahead(0), "\n\r AC"};
    const QList<QVariant> others = {QVariant(), "", " ", "X", QVariant(), QVariant()};
    const QList<QVariant> seniors = {"2019", "2019", " 2019", "2019 ", "2018", QVariant(), "2019"};
    for (int i = 1; i <= 90; ++i)
        member(w, i, QStringLiteral("Member%1").arg(i % 37, 2, 10, QLatin1Char('0')) + QChar(u'a' + i % 3),
               types.at(i % types.size()), others.at(i % others.size()), seniors.at(i % seniors.size()));
    // Member numbers that are not plain whole numbers, and a second row for 41.
    const QList<QVariantList> odd = {{41, "Twin-b", {}},     {ahead(0xA0, "91"), "Spaced", "2019"},
                                     {"92x", "Tailed", {}},  {93.5, "Halved", {}},
                                     {{}, "Nobody", "2019"}, {0, "Zero", "2019"},
                                     {-4, "Negative", {}},   {" 94 ", "Padded", "2019"}};
    for (const QVariantList& row : odd)
        member(w, row.at(0), row.at(1).toString(), "AC", QVariant(), row.at(2));
    w.exec("UPDATE Members SET Mem_ID = CAST(Mem_ID AS BLOB) WHERE Mem_ID = 3"); // stored as a blob

    // Course completions at the bounds of the watch year, one month outside, with a day, a blank or a dash.
    QString cases;
    for (int v = 0;
         const char* value : {"201909", "202008", "20200801", "201908", " 201910", "202009", "2019-10", "201912"})
        cases += QStringLiteral(" WHEN %1 THEN '%2'").arg(v++).arg(QLatin1String(value));
    for (int k = 0; const QString& field : HostSchema::courseFields())
        w.exec(QStringLiteral("UPDATE Members SET %1 = CASE (Mem_ID + %2) % 9%3 END").arg(field).arg(k++).arg(cases));

    w.exec("INSERT INTO commdept VALUES ('1', 'Executive'), ('2', 'Education'), ('7', 'Secretary Dept'), ('', 'None')");
    w.exec("INSERT INTO CommDesc VALUES ('101', 'Bridge'), ('105', 'Secretary'), ('201', 'Education'), "
           "('703', 'History')");
    w.exec("INSERT INTO CommPos VALUES ('1', 'Chairman'), ('7', 'Member'), ('9', 'At large')");
    // A commander, three holders of one office for two rows, a secretary who is member 41 (twice in Members) and
    // no historian (the submitting officer is found as Secretary); holders of another watch are not current.
    w.exec("INSERT INTO MemberCom VALUES (2, '1', '1', '101', 'S', 0), (5, '1', '9', '101', 'S', 0), "
           "(6, '1', '9', '101', 'S', 0), (7, '1', '9', '101', 'S', 0), (41, '1', '7', '105', 'S', 0), "
           "(8, '7', '7', '703', 'S', 1)");
    // More than 24 district rows, some in small letters, some naming nobody, and fewer national ones.
    const QList<QVariant> listed = {3,  41, 999, 0,  -4, 9,  10, 11, 12, 13, 14, 15, 16, 17,
                                    18, 19, 20,  21, 22, 23, 24, 25, 26, 27, 28, 29, 30};
    for (int k = 0; k < listed.size(); ++k)
        w.exec(
            "INSERT INTO MemberCom VALUES (?, ?, ?, ?, ?, ?)",
            {listed.at(k), k % 3 ? "2" : "1", k % 2 ? "7" : "1", k % 3 ? "201" : "101", k % 4 ? "D" : "d", k % 5 == 0});
    w.exec("INSERT INTO MemberCom VALUES (91, '2', '7', '201', 'N', 0), (94, '2', '7', '201', 'n', 0), "
           "(92, '2', '7', '201', 'N', 0), (41, '2', '9', '201', ' N', 0)");
    w.exec("INSERT INTO MeritMarks VALUES (1, '2020', 'A'), (2, '2020', 'a'), (3, '2020', ' A'), (4, '2020', 'R'), "
           "(5, '2019', 'A')");
}

// Fill in the watch year Sep 2019 to Aug 2020: the whole report and what was shown; whether it read all members.
QStringList fill(HostFixture& fx, int run, bool* loaded = nullptr)
{
    HostShortcuts::setEnabled(!(run & AsWritten));
    const auto restore = qScopeGuard([] { HostShortcuts::setEnabled(true); });
    Session session;
    if (!HostCase::openHost(fx, session))
        return {QStringLiteral("host not opened")};
    ReportModel& m = session.model;
    const QList<std::pair<QString, QString>> officers{
        {"ELECTED", "AAAA"},   {"Commander", "1101"}, {"Members at large", "1901"}, {"Members at large", "1901"},
        {"Treasurer", "1805"}, {"Secretary", "1705"}, {"Historian", "7703"}};
    HostCase::setOfficers(m, officers);
    std::tie(m.FromDate, m.ToDate, m.NoMM) = std::tuple("Sep 1, 2019", "Aug 31, 2020", 77);
    for (int c = 1; c <= ReportModel::CategoryCount; ++c)
        HostCase::markCategory(m, c, "Kept");
    if (run & MembersRead)
        session.host.MembersRS.recordCount(); // as the member list does
    ScriptedPrompt prompt;
    prompt.setDefaultAnswer(Prompt::Answer::Yes);
    for (int k = 0; k < (run & Twice ? 2 : 1); ++k) {
        prompt.clear();
        if (!FillFromHost(session, prompt).filled)
            return {QStringLiteral("not filled")};
    }
    if (loaded)
        *loaded = session.host.MembersRS.isLoaded();
    return HostCase::dump(m) + prompt.texts();
}

} // namespace

class TestShortcuts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Fill with the shortcuts gives what it gives without them: first after start-up, again, and after the member
    // list has read the member table, which a Fill reads whole only for a number more than one row holds.
    void fillIsTheSameAsTheStatementsAsWritten_data()
    {
        QTest::addColumn<QStringList>("before"); // the awkward rows
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<bool>("readsAllMembers");
        // Without declared types member numbers keep the form they were written in ("0050" stays text).
        const QString untyped =
            QString(HostSchema::primaryTables().at(1)).remove(QRegularExpression(" (INTEGER|VARCHAR\\(\\d+\\))"));
        const QString once = QStringLiteral("DELETE FROM Members WHERE Last = 'Twin-b'");
        QTest::newRow("awkward values") << QStringList() << QStringList() << true;
        QTest::newRow("every member number held once") << QStringList() << QStringList{once} << false;
        QTest::newRow("member numbers without a declared type")
            << QStringList{"DROP TABLE Members", untyped}
            << QStringList{"UPDATE Members SET Mem_ID = printf('%04d', Mem_ID) WHERE Mem_ID BETWEEN 9 AND 20",
                           "UPDATE Members SET Mem_ID = 22.0 WHERE Mem_ID = 22", once}
            << false;
        QTest::newRow("no awkward rows") << QStringList{"empty"} << QStringList() << false;
        QTest::newRow("no merit marks table") << QStringList() << QStringList{"DROP TABLE MeritMarks"} << true;
        QTest::newRow("no MemTypeStat and GH_Senior fields")
            << QStringList()
            << QStringList{"ALTER TABLE Members DROP COLUMN MemTypeStat", "ALTER TABLE Members DROP COLUMN GH_Senior"}
            << true;
    }
    void fillIsTheSameAsTheStatementsAsWritten()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        QFETCH(bool, readsAllMembers);
        HostFixture fx;
        fx.createDatabases();
        {
            HostCase::Writer w(fx.primaryPath());
            for (const QString& sql : before.filter(" "))
                w.exec(sql);
            if (before != QStringList{"empty"})
                trickyRows(w);
            for (const QString& sql : after)
                w.exec(sql);
        }
        const QStringList asWritten = fill(fx, AsWritten);
        QCOMPARE(fill(fx, AsWritten | MembersRead), asWritten);
        QVERIFY(asWritten.size() > 200);
        bool loaded = false;
        for (const QStringList& filled : {fill(fx, Shortcuts, &loaded), fill(fx, Twice), fill(fx, MembersRead)})
            QCOMPARE(filled, asWritten);
        QCOMPARE(loaded, readsAllMembers);
        // The awkward values count as the host counts them: NoActive, and NoSenior all of them though 24 are listed.
        QVERIFY(!before.isEmpty() || !after.isEmpty() ||
                (asWritten.at(11).toInt() > 0 && asWritten.at(12).toInt() > 24));
    }
};

QTEST_GUILESS_MAIN(TestShortcuts)
#include "tst_shortcuts.moc"

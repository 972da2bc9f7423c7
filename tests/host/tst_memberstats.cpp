// Active members, merit marks, new senior members, course completions, their buttons and the watch-date guard.

#include "HostCase.h"

#include "host/FillFromHost.h"
#include "host/HostSchema.h"
#include "host/MemberStats.h"

#include <QLocale>
#include <QTest>

using HostCase::entry;

namespace {
const QString kFrom = QStringLiteral("Sep 1, 2019");
const QString kTo = QStringLiteral("Aug 31, 2020");
const char* const kNoDate = "Cannot search database without watch year dates.";

// Member 1's MemTypeStat, OtherMember (as SQL), GH_Senior and completion of every course in; whether it counts
// as an active member, a new senior member and a completion out.
struct Counts
{
    const char *name, *memTypeStat, *otherMember, *senior, *course;
    qint32 active, seniors, courses;
};

// A button clicked with a date that does not read and its count (or course) at `old`, answered `answer`; the
// value shown and the message (none when empty) out.
enum Button { Active, Marks, Seniors, AG, EG, OC };
struct Click
{
    const char* name;
    QString ReportModel::*unread;
    Button button;
    int selected, old;
    Prompt::Answer answer;
    int shown;
    QString text;
};
} // namespace
Q_DECLARE_METATYPE(Counts)
Q_DECLARE_METATYPE(Click)

class TestMemberStats : public QObject
{
    Q_OBJECT

private:
    // A session with the watch year Sep 1, 2019 .. Aug 31, 2020 on a host with active members 1..n ("C<i>",
    // "Last<i>", "First<i>", grade AP, Rank "R<i>", SquadRank "SR<i>") and the rows that `rows` writes.
    static void open(HostFixture& fx, Session& session, int n, const std::function<void(HostCase::Writer&)>& rows)
    {
        QVERIFY(HostCase::openWith(fx, session, [&](HostCase::Writer& w) {
            w.exec(
                QStringLiteral("INSERT INTO Members (Mem_ID, Cert, Last, First, Grade, Rank, SquadRank, MemTypeStat) "
                               "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                               "SELECT i, 'C' || i, 'Last' || i, 'First' || i, 'AP', 'R' || i, 'SR' || i, 'AC' FROM n")
                    .arg(n));
            rows(w);
        }));
        session.model.FromDate = kFrom;
        session.model.ToDate = kTo;
    }

private Q_SLOTS:
    void memberCounts_data()
    {
        QTest::addColumn<Counts>("c");
        // New senior members are those of the year the watch year begins in; compared as text, "2020" lies
        // between "201909" and "202008".
        const Counts cases[] = {{"active, new senior, first month", "AC", "NULL", "2019", "201909", 1, 1, 1},
                                {"type trimmed first, last month", " AC", "NULL", "2018", "202008", 1, 0, 1},
                                {"type in small letters, inside", "Ac", "NULL", "2020", "202001", 0, 0, 1},
                                {"type begins AC, month with its day", "ACF", "NULL", "", "20200815", 1, 0, 0},
                                {"other type, month before", "AF", "NULL", "2019", "201908", 0, 1, 0},
                                {"blank inside type, month after", "A C", "NULL", "2019", "202009", 0, 1, 0},
                                {"no type, year of the first month", "", "NULL", "", "2019", 0, 0, 0},
                                {"year of the last month", "RE", "NULL", "", "2020", 0, 0, 1},
                                {"no completion", "AC", "NULL", "", "", 1, 0, 0},
                                {"another squadron's member", "AC", "'X'", "2019", "202001", 0, 0, 0},
                                {"empty mark: own member", "AC", "''", "2019", "202001", 1, 1, 1}};
        for (const Counts& c : cases)
            QTest::newRow(c.name) << c;
    }
    void memberCounts()
    {
        QFETCH(Counts, c);
        const QStringList fields = HostSchema::courseFields();
        HostFixture fx;
        Session session;
        open(fx, session, 2, [&](HostCase::Writer& w) {
            w.exec("UPDATE Members SET MemTypeStat = 'RE' WHERE Mem_ID = 2"); // no completions, not senior
            w.exec(
                QStringLiteral("UPDATE Members SET MemTypeStat = ?, OtherMember = %1, GH_Senior = ? WHERE Mem_ID = 1")
                    .arg(c.otherMember),
                {c.memTypeStat, c.senior});
            for (const QString& field : fields)
                w.exec(QStringLiteral("UPDATE Members SET %1 = ? WHERE Mem_ID = 1").arg(field), {c.course});
        });
        ReportModel& m = session.model;
        m.NoActive = 99;
        QCOMPARE(FindActMem(session), c.active);
        QCOMPARE(m.NoActive, c.active);
        QCOMPARE(FindNewSen(session), c.seniors);
        if (c.seniors) // the list shows the member's Rank, not SquadRank
            QCOMPARE(entry(m, 7, 1) + ' ' + entry(m, 7, 2), QStringLiteral("C1|Last1|First1|R1|AP||7 ||||||0"));
        for (const QString& field : fields)
            QCOMPARE(FindCourseCompletion(session, field), c.courses);
        QCOMPARE(FindCourseCompletions(session, fields), QList<qint32>(fields.size(), c.courses));
    }

    // Course k is completed in the watch year by k + 1 members, by one the year before; Fill puts each count into
    // its course. Dates read the same in every locale.
    void courseCountsPerField()
    {
        const struct Restore
        {
            QLocale saved;
            ~Restore() { QLocale::setDefault(saved); }
        } restore;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const QStringList fields = HostSchema::courseFields();
        HostFixture fx;
        Session session;
        open(fx, session, 14, [&fields](HostCase::Writer& w) {
            for (int k = 0; k < fields.size(); ++k)
                w.exec(QStringLiteral("UPDATE Members SET %1 = CASE WHEN Mem_ID <= %2 THEN '20200' || (1 + (Mem_ID + "
                                      "%2) % 8) WHEN Mem_ID = 14 THEN '201812' END")
                           .arg(fields[k])
                           .arg(k + 1));
            w.exec("UPDATE Members SET GH_Senior = '2019' WHERE Mem_ID = 3");
        });
        ReportModel& m = session.model;
        QList<qint32> expected;
        for (int k = 0; k < fields.size(); ++k) {
            QCOMPARE(FindCourseCompletion(session, fields[k]), k + 1);
            expected << k + 1;
        }
        QCOMPARE(FindCourseCompletions(session, fields), expected);
        QCOMPARE(FindCourseCompletions(session, {"GH_N", "GH_S"}), (QList<qint32>{5, 1}));
        QCOMPARE(FindNewSen(session), 1);
        m.OCCount = {7, 0, 0, 8};
        ScriptedPrompt yes;
        yes.setDefaultAnswer(Prompt::Answer::Yes);
        QVERIFY(FillFromHost(session, yes).filled);
        QCOMPARE(m.AGCount, (std::array<qint32, 5>{1, 2, 3, 4, 5}));
        QCOMPARE(m.EGCount, (std::array<qint32, 6>{6, 7, 8, 9, 10, 11}));
        QCOMPARE(m.OCCount, (std::array<qint32, 4>{7, 12, 13, 8})); // Dockready and Seminar are not in the host

        // A field that is no course, or no watch year: nothing is counted, the new senior members' list stays.
        QCOMPARE(FindCourseCompletion(session, "Last"), 0);
        QCOMPARE(FindCourseCompletion(session, "GH_S; DROP TABLE Members"), 0);
        m.ToDate.clear();
        QCOMPARE(FindCourseCompletion(session, "LDP"), 0);
        QCOMPARE(FindCourseCompletions(session, fields), QList<qint32>(fields.size(), 0));
        m.ToDate = kTo;
        m.FromDate = "not a date";
        QCOMPARE(FindCourseCompletion(session, "LDP"), 0);
        HostCase::markCategory(m, 7, "Kept");
        QCOMPARE(FindNewSen(session), 0);
        QCOMPARE(entry(m, 7, 1), QStringLiteral("|Kept 1|||||7"));

        // A host without one of the fields counts 0 for that field only.
        m.FromDate = kFrom;
        HostCase::Writer(fx.primaryPath()).exec("ALTER TABLE Members DROP COLUMN GH_P");
        QCOMPARE(FindCourseCompletions(session, {"GH_S", "GH_P", "GH_AP"}), (QList<qint32>{1, 0, 3}));
    }

    void buttons_data()
    {
        QTest::addColumn<Click>("c");
        const auto yes = Prompt::Answer::Yes, no = Prompt::Answer::No, ok = Prompt::Answer::Ok;
        const auto from = &ReportModel::FromDate, to = &ReportModel::ToDate;
        const QString change = QStringLiteral("Rostrel lists %1, change current value");
        const QString marks = QStringLiteral("Rostrel lists %1'Accepted Recomendations', change current value");
        const QString unsupported = QStringLiteral("Rostrel does not support data on the selected topic.");
        // The host lists 5 active members (the watch year is not needed), 3 accepted merit marks (none in the
        // rows named so) and 2 new senior members; completions in the watch year: GH_S 1, GH_JN 2, GH_SAIL 3,
        // GH_OT 2, LDP 4, GH_CP 6.
        const Click cases[] = {{"active, same", from, Active, 0, 5, ok, 5, "Rostrel lists 5 Active Members."},
                               {"active, differs, Yes", nullptr, Active, 0, 9, yes, 5, change.arg(5)},
                               {"active, differs, No", nullptr, Active, 0, 9, no, 9, change.arg(5)},
                               {"marks, same", nullptr, Marks, 0, 3, ok, 3, "Rostrel lists 3 Accepted Recomendations"},
                               {"marks, differ, Yes", nullptr, Marks, 0, 1, yes, 3, marks.arg(3)},
                               {"no marks, No", nullptr, Marks, 0, 5, no, 5, marks.arg(0)},
                               {"seniors, same", nullptr, Seniors, 0, 2, ok, 2, "Rostrel lists 2 new Senior Members"},
                               {"seniors, differ, Yes", nullptr, Seniors, 0, 8, yes, 2, change.arg(2)},
                               {"seniors, differ, No", nullptr, Seniors, 0, 8, no, 8, change.arg(2)},
                               {"seniors, to-date that does not read", to, Seniors, 0, 8, ok, 8, kNoDate},
                               {"JN holds the host's count", nullptr, AG, 3, 2, ok, 2, "Rostrel lists 2"},
                               {"S differs, Yes", nullptr, AG, 0, 7, yes, 1, change.arg(1)},
                               {"Sail differs, No", nullptr, EG, 2, 7, no, 7, change.arg(3)},
                               {"Cruise Planning", nullptr, EG, 5, 0, yes, 6, change.arg(6)},
                               {"Leadership, Yes", nullptr, OC, 2, 0, yes, 4, change.arg(4)},
                               {"Operations, No", nullptr, OC, 1, 1, no, 1, change.arg(2)},
                               {"Dockready", nullptr, OC, 0, 5, ok, 5, unsupported},
                               {"Seminar", nullptr, OC, 3, 5, ok, 5, unsupported},
                               {"nothing selected", nullptr, AG, -1, 5, ok, 0, ""},
                               {"beyond the group", nullptr, OC, 4, 5, ok, 0, ""},
                               {"course, from-date that does not read", from, OC, 1, 0, ok, 0, kNoDate}};
        for (const Click& c : cases)
            QTest::newRow(c.name) << c;
    }
    void buttons()
    {
        QFETCH(Click, c);
        HostFixture fx;
        Session session;
        open(fx, session, 6, [&c](HostCase::Writer& w) {
            w.exec("UPDATE Members SET MemTypeStat = CASE Mem_ID WHEN 2 THEN ' AC ' WHEN 3 THEN 'RE' ELSE 'AC' END, "
                   "GH_Senior = CASE WHEN Mem_ID IN (1, 3) THEN '2019' END");
            for (const auto& [field, n] :
                 {std::pair{"GH_S", 1}, {"GH_JN", 2}, {"GH_SAIL", 3}, {"GH_OT", 2}, {"LDP", 4}, {"GH_CP", 6}})
                w.exec(QStringLiteral("UPDATE Members SET %1 = '202002' WHERE Mem_ID <= ?").arg(field), {n});
            if (!QByteArray(c.name).startsWith("no marks"))
                w.exec("INSERT INTO MeritMarks VALUES (1, '2020', 'A'), (2, '2020', 'A'), (3, '2019', 'A'), "
                       "(4, '2020', 'R')");
        });
        ReportModel& m = session.model;
        if (c.unread)
            m.*c.unread = "31/08/2020";
        m.BCCount = {11, 12, 13};
        HostCase::markCategory(m, 7, "Kept");
        const CourseGroup group = c.button == AG ? CourseGroup::AG : c.button == EG ? CourseGroup::EG : CourseGroup::OC;
        const auto count = [&c, group](ReportModel& r) {
            return c.button == Active                                   ? &r.NoActive
                   : c.button == Marks                                  ? &r.NoMM
                   : c.button == Seniors                                ? &r.NoSenior
                   : c.selected >= 0 && c.selected < courseCount(group) ? &courseValue(r, group, c.selected)
                                                                        : nullptr;
        };
        if (count(m))
            *count(m) = c.old;
        ReportModel expected = m;
        ScriptedPrompt prompt;
        prompt.queue(c.answer);
        const bool guarded = c.text == QLatin1String(kNoDate);
        CountUpdate update;
        if (c.button == Active)
            update = cmdActiveClick(session, prompt);
        else if (c.button == Marks)
            update = cmdUpdateMMClick(session, prompt);
        else if (c.button == Seniors)
            update = cmdNewSenClick(session, prompt);
        else {
            const auto click = c.button == AG ? cmdAGdbClick : c.button == EG ? cmdECdbClick : cmdOCdbClick;
            const CourseUpdate course = click(session, c.selected, prompt);
            QCOMPARE(course.course, guarded || c.text.isEmpty() ? -1 : c.selected);
            update = {course.ran, course.focus, course.shown};
        }
        const bool asked = c.text.endsWith(QLatin1String("change current value"));
        QCOMPARE(HostCase::shown(prompt),
                 c.text.isEmpty() ? QStringList() : QStringList{HostCase::message(c.text, asked)});
        QCOMPARE(update.shown, c.shown);
        QCOMPARE(update.focus, !guarded ? "" : c.unread == &ReportModel::FromDate ? "txtFrom" : "txtTo");
        QCOMPARE(update.ran, c.text.startsWith(QLatin1String("Rostrel lists")));
        // The count takes the value shown; the new senior members' list is refilled whatever the answer; nothing
        // else of the report changes.
        if (count(expected))
            *count(expected) = c.shown;
        if (c.button == Seniors && !guarded) {
            expected.clearCategory(7);
            HostCase::setEntry(expected, 7, 1, "C1|Last1|First1|R1|AP||7");
            HostCase::setEntry(expected, 7, 2, "C3|Last3|First3|R3|AP||7");
        }
        QCOMPARE(HostCase::dump(m), HostCase::dump(expected));
    }
};

QTEST_GUILESS_MAIN(TestMemberStats)
#include "tst_memberstats.moc"

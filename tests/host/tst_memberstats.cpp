// Active members, merit marks, new senior members, course completions, their buttons and the watch-date guard.

#include "HostCase.h"

#include "host/FillFromHost.h"
#include "host/HostSchema.h"
#include "host/MemberStats.h"

#include <QLocale>
#include <QScopeGuard>
#include <QTest>

using HostCase::entry;

namespace {
const char* const kNoDate = "Cannot search database without watch year dates.";

// A button clicked with a date that does not read, its count at `old`, answered; value and message (if any) out.
enum Button { Active, Marks, Seniors, AG, EG, OC };
struct Click
{
    const char* name;
    QString ReportModel::*unread;
    Button button;
    Prompt::Answer answer;
    int selected, old, shown;
    QString text;
};
} // namespace
Q_DECLARE_METATYPE(Click)

class TestMemberStats : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Members 1..14 complete course k in the watch year when their number is k + 1 or less (member 14 the year
    // before), 3 is a new senior member; 15..25 have a MemTypeStat, OtherMember (SQL), GH_Senior and completion of
    // every course that counts or not as below ("2020" lies between "201909" and "202008"). In any locale.
    void memberCounts()
    {
        const QList<QStringList> members{{"AC", "NULL", "2019", "201909", "active", "senior", "completed"},
                                         {" AC", "NULL", "2018", "202008", "active", "", "completed"},
                                         {"Ac", "NULL", "2020", "202001", "", "", "completed"},
                                         {"ACF", "NULL", "", "20200815", "active", "", ""},
                                         {"AF", "NULL", "2019", "201908", "", "senior", ""},
                                         {"A C", "NULL", "2019", "202009", "", "senior", ""},
                                         {"", "NULL", "", "2019", "", "", ""},
                                         {"RE", "NULL", "", "2020", "", "", "completed"},
                                         {"AC", "NULL", "", "", "active", "", ""},
                                         {"AC", "'X'", "2019", "202001", "", "", ""},
                                         {"AC", "''", "2019", "202001", "active", "senior", "completed"}};
        const auto restore = qScopeGuard([saved = QLocale()] { QLocale::setDefault(saved); });
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const QStringList fields = HostSchema::courseFields();
        HostFixture fx;
        Session session;
        QVERIFY(HostCase::openWith(fx, session, [&](HostCase::Writer& w) {
            w.exec(
                "INSERT INTO Members (Mem_ID, Cert, Last, First, Grade, Rank, SquadRank, MemTypeStat) WITH RECURSIVE "
                "n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 25) SELECT i, 'C' || i, 'Last' || i, "
                "'First' || i, 'AP', 'R' || i, 'SR' || i, 'AC' FROM n");
            for (int k = 0; k < fields.size(); ++k)
                w.exec(QStringLiteral("UPDATE Members SET %1 = CASE WHEN Mem_ID <= %2 THEN '20200' || (1 + (Mem_ID + "
                                      "%2) % 8) WHEN Mem_ID = 14 THEN '201812' END")
                           .arg(fields[k])
                           .arg(k + 1));
            w.exec("UPDATE Members SET GH_Senior = '2019' WHERE Mem_ID = 3");
            for (int i = 0; i < members.size(); ++i) {
                const QStringList& c = members[i];
                w.exec(QStringLiteral("UPDATE Members SET MemTypeStat = ?, OtherMember = %1, GH_Senior = ?, %2 = ? "
                                      "WHERE Mem_ID = ?")
                           .arg(c[1], fields.join(" = ?, ")),
                       QVariantList{c[0], c[2]} + QVariantList(fields.size(), c[3]) + QVariantList{15 + i});
            }
        }));
        const auto counted = [&members](int column) {
            return qint32(
                std::count_if(members.begin(), members.end(), [column](auto& c) { return !c[column].isEmpty(); }));
        };
        const qint32 active = 14 + counted(4), seniors = 1 + counted(5), more = counted(6);
        ReportModel& m = session.model;
        std::tie(m.FromDate, m.ToDate) = std::tuple("Sep 1, 2019", "Aug 31, 2020");
        QCOMPARE(QList<qint32>({FindActMem(session), m.NoActive}), QList<qint32>({active, active})); // braces: in order
        QCOMPARE(FindNewSen(session), seniors); // listed with their Rank, not SquadRank
        QCOMPARE(entry(m, 7, 1) + ' ' + entry(m, 7, seniors + 1), QStringLiteral("C3|Last3|First3|R3|AP||7 ||||||0"));
        QList<qint32> expected;
        for (int k = 0; k < fields.size(); ++k)
            expected << k + 1 + more;
        QCOMPARE(FindCourseCompletion(session, fields[5]), expected[5]);
        QCOMPARE(FindCourseCompletions(session, fields), expected);
        QCOMPARE(FindCourseCompletions(session, {"GH_N", "GH_S"}), (QList<qint32>{5 + more, 1 + more}));
        m.OCCount = {-1, 0, 0, -2};
        ScriptedPrompt yes;
        yes.setDefaultAnswer(Prompt::Answer::Yes);
        QVERIFY(FillFromHost(session, yes).filled);
        // Dockready and Seminar are not in the host.
        QCOMPARE(QList<qint32>(m.AGCount.begin(), m.AGCount.end()) + QList<qint32>(m.EGCount.begin(), m.EGCount.end()),
                 expected.mid(0, 11));
        QCOMPARE(QList<qint32>(m.OCCount.begin(), m.OCCount.end()),
                 (QList<qint32>{-1, expected[11], expected[12], -2}));

        // A host without one of the fields cannot count it: that count stays as the report has it.
        fx.execPrimary("ALTER TABLE Members DROP COLUMN GH_P");
        QCOMPARE(FindCourseCompletions(session, {"GH_S", "GH_P", "GH_AP"}),
                 (QList<qint32>{1 + more, m.AGCount[1], 3 + more}));
        QVERIFY(session.host.HostDB.failureCount() > 0);
    }

    void buttons_data()
    {
        QTest::addColumn<Click>("c");
        const auto yes = Prompt::Answer::Yes, no = Prompt::Answer::No, ok = Prompt::Answer::Ok;
        const auto from = &ReportModel::FromDate, to = &ReportModel::ToDate;
        const QString change = QStringLiteral("Rostrel lists %1, change current value ?");
        const QString marks = QStringLiteral("Rostrel lists %1'Accepted Recomendations', change current value ?");
        const QString unsupported = QStringLiteral("Rostrel does not support data on the selected topic.");
        // The squadron lists 4 active members (the watch year is not needed), 2 accepted merit marks (none in the
        // rows named so) and 2 new senior members; 3 members completed GH_S, GH_CP and GH_OT, none GH_AP or GH_SAIL.
        const Click cases[] = {{"active, same", from, Active, ok, 0, 4, 4, "Rostrel lists 4 Active Members."},
                               {"active, differs, Yes", nullptr, Active, yes, 0, 9, 4, change.arg(4)},
                               {"marks, same", nullptr, Marks, ok, 0, 2, 2, "Rostrel lists 2 Accepted Recomendations"},
                               {"marks, differ, Yes", nullptr, Marks, yes, 0, 1, 2, marks.arg(2)},
                               {"no marks, No", nullptr, Marks, no, 0, 5, 5, marks.arg(0)},
                               {"seniors, same", nullptr, Seniors, ok, 0, 2, 2, "Rostrel lists 2 new Senior Members"},
                               {"seniors, differ, Yes", nullptr, Seniors, yes, 0, 8, 2, change.arg(2)},
                               {"seniors, differ, No", nullptr, Seniors, no, 0, 8, 8, change.arg(2)},
                               {"seniors, to-date that does not read", to, Seniors, ok, 0, 8, 8, kNoDate},
                               {"S holds the host's count", nullptr, AG, ok, 0, 3, 3, "Rostrel lists 3"},
                               {"AP differs, Yes", nullptr, AG, yes, 2, 7, 0, change.arg(0)},
                               {"Sail differs, No", nullptr, EG, no, 2, 7, 7, change.arg(0)},
                               {"Leadership, Yes", nullptr, OC, yes, 2, 0, 3, change.arg(3)},
                               {"Dockready", nullptr, OC, ok, 0, 5, 5, unsupported},
                               {"beyond the group", nullptr, OC, ok, 4, 5, 0, ""},
                               {"course, from-date that does not read", from, OC, ok, 1, 0, 0, kNoDate}};
        for (const Click& c : cases)
            QTest::newRow(c.name) << c;
    }
    void buttons()
    {
        QFETCH(Click, c);
        HostFixture fx;
        Session session;
        const bool noMarks = QByteArray(c.name).startsWith("no marks");
        QVERIFY(HostCase::openSquadron(fx, session, "", noMarks ? "DELETE FROM MeritMarks" : ""));
        ReportModel& m = session.model;
        std::tie(m.FromDate, m.ToDate) = std::tuple("Sep 1, 2019", "Aug 31, 2020");
        if (c.unread)
            m.*c.unread = "31/08/2020";
        m.BCCount = {11, 12, 13};
        HostCase::markCategory(m, 7, "Kept");
        const CourseGroup group = CourseGroup(std::max(0, c.button - AG));
        qint32* const counts[] = {&m.NoActive, &m.NoMM, &m.NoSenior};
        qint32* value = c.button < AG                                        ? counts[c.button]
                        : c.selected >= 0 && c.selected < courseCount(group) ? &courseValue(m, group, c.selected)
                                                                             : nullptr;
        if (value)
            *value = c.old;
        const ReportModel before = m;
        ScriptedPrompt prompt;
        prompt.queue(c.answer);
        const bool guarded = c.text == QLatin1String(kNoDate);
        const auto click = c.button == AG ? cmdAGdbClick : c.button == EG ? cmdECdbClick : cmdOCdbClick;
        const CourseUpdate course = c.button >= AG ? click(session, c.selected, prompt) : CourseUpdate();
        CountUpdate (*const count[])(HostSession&, Prompt&) = {cmdActiveClick, cmdUpdateMMClick, cmdNewSenClick};
        const CountUpdate update =
            c.button < AG ? count[c.button](session, prompt) : CountUpdate{course.ran, course.focus, course.shown};
        QCOMPARE(course.course, c.button < AG || guarded || c.text.isEmpty() ? -1 : c.selected);
        QCOMPARE(HostCase::shown(prompt), c.text.isEmpty() ? QStringList() : QStringList{c.text});
        QCOMPARE(update.shown, c.shown);
        QCOMPARE(update.focus, !guarded ? "" : c.unread == &ReportModel::FromDate ? "txtFrom" : "txtTo");
        QCOMPARE(update.ran, c.text.startsWith(QLatin1String("Rostrel lists")));
        // The count takes the value shown, new senior members are listed whatever the answer, nothing else changes.
        if (value) {
            QCOMPARE(*value, c.shown);
            *value = c.old;
        }
        if (c.button == Seniors && !guarded) {
            QCOMPARE(entry(m, 7, 1) + ' ' + entry(m, 7, 2) + ' ' + entry(m, 7, 3),
                     QStringLiteral("1000002|Baker|Bo|P/C|N||7 1000003|Cole|Cy||S||7 ||||||0"));
            HostCase::markCategory(m, 7, "Kept");
        }
        QCOMPARE(HostCase::dump(m), HostCase::dump(before));
    }
};

QTEST_GUILESS_MAIN(TestMemberStats)
#include "tst_memberstats.moc"

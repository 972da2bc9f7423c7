// Active members, merit marks, new senior members, course completions, their buttons and the watch-date guard.

#include "HostCase.h"

#include "host/HostSchema.h"
#include "host/MemberStats.h"

#include <QLocale>
#include <QTest>

using HostCase::entry;

namespace {
const QString kFrom = QStringLiteral("Sep 1, 2019");
const QString kTo = QStringLiteral("Aug 31, 2020");
} // namespace

class TestMemberStats : public QObject
{
    Q_OBJECT

private:
    // A session on the fixture's host with the watch year Sep 1, 2019 .. Aug 31, 2020.
    static void open(HostFixture& fx, Session& session)
    {
        QVERIFY(HostCase::openHost(fx, session));
        session.model.FromDate = kFrom;
        session.model.ToDate = kTo;
    }

    static HostFixture::Member member(qint32 id, const QString& memTypeStat = QStringLiteral("AC"),
                                      const QString& otherMember = {})
    {
        HostFixture::Member m{id, QStringLiteral("Last%1").arg(id), QStringLiteral("First%1").arg(id),
                              QStringLiteral("C%1").arg(id)};
        m.grade = QStringLiteral("AP");
        m.rank = QStringLiteral("R%1").arg(id);
        m.squadRank = QStringLiteral("SR%1").arg(id);
        m.memTypeStat = memTypeStat;
        m.otherMember = otherMember;
        return m;
    }

    static Prompt::Message message(const QString& text, Prompt::Icon icon = Prompt::Icon::None,
                                   Prompt::Buttons buttons = Prompt::Buttons::Ok)
    {
        return {text, QString(), icon, buttons};
    }

    static void compareShown(const ScriptedPrompt& prompt, const QList<Prompt::Message>& expected)
    {
        QCOMPARE(prompt.texts().size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QCOMPARE(prompt.shown[i].text, expected[i].text);
            QCOMPARE(prompt.shown[i].title, expected[i].title);
            QCOMPARE(prompt.shown[i].icon, expected[i].icon);
            QCOMPARE(prompt.shown[i].buttons, expected[i].buttons);
        }
    }

    static Prompt::Message noDateMessage()
    {
        return message(QStringLiteral("Cannot search database without watch year dates."));
    }

private Q_SLOTS:
    void noDate_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("focus");
        QTest::newRow("both") << kFrom << kTo << "";
        QTest::newRow("no from-date") << "" << kTo << "txtFrom";
        QTest::newRow("no to-date") << kFrom << ""
                                    << "txtTo";
        QTest::newRow("neither") << ""
                                 << ""
                                 << "txtFrom";
        QTest::newRow("from-date that does not read") << "Sept 1, 2019" << kTo << "txtFrom";
        QTest::newRow("to-date that does not read") << kFrom << "31/08/2020"
                                                    << "txtTo";
    }
    void noDate()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, focus);
        ReportModel model;
        model.FromDate = from;
        model.ToDate = to;
        ScriptedPrompt prompt;
        const DateGuard guard = NoDate(model, prompt);
        QCOMPARE(bool(guard), !focus.isEmpty());
        QCOMPARE(guard.focus, focus);
        if (focus.isEmpty())
            compareShown(prompt, {});
        else
            compareShown(prompt, {noDateMessage()});
    }

    void activeMembers()
    {
        HostFixture fx;
        HostCase::prepare(fx);
        HostCase::Writer w(fx.primaryPath());
        w.member(member(1, "AC"));
        w.member(member(2, " AC")); // trimmed first: counts
        w.member(member(3, "Ac"));  // letter case matters
        w.member(member(4, "ACF")); // only the first two characters
        w.member(member(5, "AF"));
        w.member(member(6, ""));
        w.member(member(7, "AC", "X")); // another squadron's member
        w.member(member(8, "A C"));
        w.exec("INSERT INTO Members (Mem_ID, MemTypeStat, OtherMember) VALUES (9, 'AC', '')"); // empty: own member
        w.done();
        Session session;
        open(fx, session);
        session.model.NoActive = 99;
        QCOMPARE(FindActMem(session), 4);
        QCOMPARE(session.model.NoActive, 4);
    }

    void meritMarks()
    {
        HostFixture fx;
        HostCase::prepare(fx);
        Session session;
        open(fx, session);
        session.model.NoMM = 7;
        QVERIFY(!FindMM(session)); // none accepted: the value stays
        QCOMPARE(session.model.NoMM, 7);

        HostCase::Writer w(fx.primaryPath());
        w.exec("INSERT INTO MeritMarks VALUES (1, '2019', 'A'), (2, '2015', 'A'), (3, '2019', 'R'), (4, '2019', NULL)");
        w.done();
        QVERIFY(FindMM(session));
        QCOMPARE(session.model.NoMM, 2); // every accepted recommendation, whatever its year
    }

    void courseCompletion_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("otherMember");
        QTest::addColumn<bool>("counted");
        QTest::newRow("first month") << "201909"
                                     << "" << true;
        QTest::newRow("last month") << "202008"
                                    << "" << true;
        QTest::newRow("inside") << "202001"
                                << "" << true;
        QTest::newRow("last month with its day") << "20200815"
                                                 << "" << false;
        QTest::newRow("month before") << "201908"
                                      << "" << false;
        QTest::newRow("month after") << "202009"
                                     << "" << false;
        QTest::newRow("year of the first month only") << "2019"
                                                      << "" << false;
        // Compared as text, "2020" lies between "201909" and "202008".
        QTest::newRow("year of the last month only") << "2020"
                                                     << "" << true;
        QTest::newRow("empty") << ""
                               << "" << false;
        QTest::newRow("another squadron's member") << "202001"
                                                   << "X" << false;
    }
    void courseCompletion()
    {
        QFETCH(QString, value);
        QFETCH(QString, otherMember);
        QFETCH(bool, counted);
        HostFixture fx;
        HostCase::prepare(fx);
        HostCase::Writer w(fx.primaryPath());
        w.member(member(1, "AC", otherMember));
        w.member(member(2)); // no completions at all
        for (const QString& field : HostSchema::courseFields())
            w.exec(QStringLiteral("UPDATE Members SET %1 = ? WHERE Mem_ID = 1").arg(field), {value});
        w.done();
        Session session;
        open(fx, session);
        QList<qint32> expected;
        for (const QString& field : HostSchema::courseFields()) {
            QCOMPARE(FindCourseCompletion(session, field), counted ? 1 : 0);
            expected << (counted ? 1 : 0);
        }
        QCOMPARE(FindCourseCompletions(session, HostSchema::courseFields()), expected);
    }

    void courseCompletionCountsEveryField()
    {
        HostFixture fx;
        HostCase::prepare(fx);
        HostCase::Writer w(fx.primaryPath());
        const QStringList fields = HostSchema::courseFields();
        // Field k is completed in the watch year by k + 1 members, and by one member the year before.
        for (int id = 1; id <= 14; ++id) {
            w.member(member(id));
            for (int k = 0; k < fields.size(); ++k) {
                const QString value = id <= k + 1 ? QStringLiteral("2020%1").arg(1 + (id + k) % 8, 2, 10, QChar('0'))
                                      : id == 14  ? QStringLiteral("201812")
                                                  : QString();
                w.exec(QStringLiteral("UPDATE Members SET %1 = ? WHERE Mem_ID = ?").arg(fields[k]), {value, id});
            }
        }
        w.done();
        Session session;
        open(fx, session);
        QList<qint32> expected;
        for (int k = 0; k < fields.size(); ++k) {
            QCOMPARE(FindCourseCompletion(session, fields[k]), k + 1);
            expected << k + 1;
        }
        QCOMPARE(FindCourseCompletions(session, fields), expected);
        QCOMPARE(FindCourseCompletions(session, {"GH_N", "GH_S"}), (QList<qint32>{5, 1}));

        // Without both dates, or for a field that is no course, nothing is counted.
        QCOMPARE(FindCourseCompletion(session, "Last"), 0);
        QCOMPARE(FindCourseCompletion(session, "GH_S; DROP TABLE Members"), 0);
        session.model.ToDate.clear();
        QCOMPARE(FindCourseCompletion(session, "LDP"), 0);
        QCOMPARE(FindCourseCompletions(session, fields), QList<qint32>(fields.size(), 0));
        session.model.ToDate = kTo;
        session.model.FromDate = "not a date";
        QCOMPARE(FindCourseCompletion(session, "LDP"), 0);
    }

    void dateKeysIgnoreTheUsersLocale()
    {
        HostFixture fx;
        HostCase::prepare(fx);
        HostCase::Writer w(fx.primaryPath());
        w.member(member(1));
        w.exec("UPDATE Members SET GH_S = '201903', GH_Senior = '2019' WHERE Mem_ID = 1");
        w.done();
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        Session session;
        open(fx, session);
        session.model.FromDate = "Mar 1, 2019";
        session.model.ToDate = "Mar 31, 2019";
        const qint32 count = FindCourseCompletion(session, "GH_S");
        const qint32 seniors = FindNewSen(session);
        QLocale::setDefault(saved);
        QCOMPARE(count, 1);
        QCOMPARE(seniors, 1);
    }

    void newSeniorMembers()
    {
        HostFixture fx;
        HostCase::prepare(fx);
        HostCase::Writer w(fx.primaryPath());
        for (int id = 1; id <= 6; ++id)
            w.member(member(id, "AC", id == 3 ? "X" : ""));
        w.exec("UPDATE Members SET GH_Senior = '2018' WHERE Mem_ID IN (2, 3, 5)");
        w.exec("UPDATE Members SET GH_Senior = '2019' WHERE Mem_ID = 4");
        w.exec("INSERT INTO commdept VALUES ('', 'No department')"); // a Members row has no codes to look up
        w.done();
        Session session;
        open(fx, session);
        ReportModel& m = session.model;
        m.FromDate = "Oct 1, 2018"; // the watch year begins in 2018
        m.ToDate = "Sep 30, 2019";
        for (int e = 1; e <= 24; ++e)
            m.RecLast[7][e] = "Old";
        QCOMPARE(FindNewSen(session), 2);
        QCOMPARE(entry(m, 7, 1), QStringLiteral("C2|Last2|First2|R2|AP||7")); // Rank, not SquadRank
        QCOMPARE(entry(m, 7, 2), QStringLiteral("C5|Last5|First5|R5|AP||7"));
        for (int e = 3; e <= 24; ++e)
            QCOMPARE(entry(m, 7, e), QStringLiteral("||||||0"));
    }

    void newSeniorMembersNotFound()
    {
        HostFixture fx;
        HostCase::prepare(fx);
        HostCase::Writer w(fx.primaryPath());
        w.member(member(1));
        w.exec("UPDATE Members SET GH_Senior = '2020' WHERE Mem_ID = 1");
        w.done();
        Session session;
        open(fx, session);
        session.model.RecLast[7][1] = "Kept";
        QCOMPARE(FindNewSen(session), 0); // none in 2019: the category keeps its entries
        QCOMPARE(session.model.RecLast[7][1], QStringLiteral("Kept"));
        session.model.FromDate.clear();
        session.model.RecLast[7][1] = "Kept";
        QCOMPARE(FindNewSen(session), 0);
        QCOMPARE(session.model.RecLast[7][1], QStringLiteral("Kept"));
    }

    void moreThanTwentyFourNewSeniorMembers()
    {
        HostFixture fx;
        HostCase::prepare(fx);
        HostCase::Writer w(fx.primaryPath());
        for (int id = 1; id <= 30; ++id)
            w.member(member(id == 2 ? 0 : id)); // the second row has no member number
        w.exec("UPDATE Members SET GH_Senior = '2019'");
        w.done();
        Session session;
        open(fx, session);
        QCOMPARE(FindNewSen(session), 30); // all of them are counted
        QCOMPARE(session.model.RecLast[7][1], QStringLiteral("Last1"));
        QCOMPARE(entry(session.model, 7, 2), QStringLiteral("||||||0"));
        for (int e = 3; e <= 24; ++e)
            QCOMPARE(session.model.RecLast[7][e], QStringLiteral("Last%1").arg(e));
    }

    void statisticsOnAHostLackingTables()
    {
        HostFixture fx;
        HostCase::prepare(fx);
        HostCase::Writer w(fx.primaryPath());
        w.exec("DROP TABLE Members");
        w.exec("DROP TABLE MeritMarks");
        w.done();
        Session session;
        HostCase::openHost(fx, session);
        session.model.FromDate = kFrom;
        session.model.ToDate = kTo;
        session.model.NoActive = 5;
        session.model.NoMM = 6;
        session.model.RecLast[7][1] = "Kept";
        QCOMPARE(FindActMem(session), 0);
        QCOMPARE(session.model.NoActive, 0);
        QVERIFY(!FindMM(session));
        QCOMPARE(session.model.NoMM, 6);
        QCOMPARE(FindNewSen(session), 0);
        QCOMPARE(session.model.RecLast[7][1], QStringLiteral("Kept"));
        QCOMPARE(FindCourseCompletion(session, "GH_S"), 0);

        // A host without the course field counts 0 for that field only.
        HostFixture fx2;
        HostCase::prepare(fx2);
        HostCase::Writer w2(fx2.primaryPath());
        w2.member(member(1));
        w2.exec("UPDATE Members SET GH_S = '202001', GH_P = '202001'");
        w2.exec("ALTER TABLE Members DROP COLUMN GH_P");
        w2.done();
        Session s2;
        open(fx2, s2);
        QCOMPARE(FindCourseCompletions(s2, {"GH_S", "GH_P", "GH_AP"}), (QList<qint32>{1, 0, 0}));
    }

    void activeButton_data()
    {
        QTest::addColumn<qint32>("old");
        QTest::addColumn<int>("answer");
        QTest::addColumn<qint32>("shown");
        QTest::newRow("same") << 2 << int(Prompt::Answer::Ok) << 2;
        QTest::newRow("different, Yes") << 9 << int(Prompt::Answer::Yes) << 2;
        QTest::newRow("different, No") << 9 << int(Prompt::Answer::No) << 9;
        QTest::newRow("from 0, No") << 0 << int(Prompt::Answer::No) << 0;
    }
    void activeButton()
    {
        QFETCH(qint32, old);
        QFETCH(int, answer);
        QFETCH(qint32, shown);
        HostFixture fx;
        HostCase::prepare(fx);
        HostCase::Writer w(fx.primaryPath());
        w.member(member(1));
        w.member(member(2, " AC "));
        w.member(member(3, "RE"));
        w.done();
        Session session;
        open(fx, session);
        session.model.FromDate.clear(); // the active members need no watch year
        session.model.NoActive = old;
        ScriptedPrompt prompt;
        prompt.queue(Prompt::Answer(answer));
        const CountUpdate update = cmdActiveClick(session, prompt);
        QVERIFY(update.ran);
        QCOMPARE(update.shown, shown);
        QCOMPARE(session.model.NoActive, shown);
        if (old == 2)
            compareShown(prompt, {message("Rostrel lists 2 Active Members.")});
        else
            compareShown(prompt, {message("Rostrel lists 2, change current value", Prompt::Icon::Question,
                                          Prompt::Buttons::YesNo)});
    }

    void meritMarksButton_data()
    {
        QTest::addColumn<int>("marks");
        QTest::addColumn<qint32>("old");
        QTest::addColumn<int>("answer");
        QTest::addColumn<qint32>("shown");
        QTest::addColumn<QString>("text");
        QTest::newRow("none, stored 0") << 0 << 0 << int(Prompt::Answer::Ok) << 0
                                        << "Rostrel lists 0 Accepted Recomendations";
        QTest::newRow("none, stored 5, Yes") << 0 << 5 << int(Prompt::Answer::Yes) << 0
                                             << "Rostrel lists 0'Accepted Recomendations', change current value";
        QTest::newRow("none, stored 5, No") << 0 << 5 << int(Prompt::Answer::No) << 5
                                            << "Rostrel lists 0'Accepted Recomendations', change current value";
        QTest::newRow("three, stored 3") << 3 << 3 << int(Prompt::Answer::Ok) << 3
                                         << "Rostrel lists 3 Accepted Recomendations";
        QTest::newRow("three, stored 1, Yes") << 3 << 1 << int(Prompt::Answer::Yes) << 3
                                              << "Rostrel lists 3'Accepted Recomendations', change current value";
    }
    void meritMarksButton()
    {
        QFETCH(int, marks);
        QFETCH(qint32, old);
        QFETCH(int, answer);
        QFETCH(qint32, shown);
        QFETCH(QString, text);
        HostFixture fx;
        HostCase::prepare(fx);
        HostCase::Writer w(fx.primaryPath());
        for (int i = 0; i < marks; ++i)
            w.exec("INSERT INTO MeritMarks VALUES (?, '2020', 'A')", {i + 1});
        w.done();
        Session session;
        open(fx, session);
        session.model.NoMM = old;
        ScriptedPrompt prompt;
        prompt.queue(Prompt::Answer(answer));
        const CountUpdate update = cmdUpdateMMClick(session, prompt);
        QCOMPARE(update.shown, shown);
        QCOMPARE(session.model.NoMM, shown);
        const bool asked = answer != int(Prompt::Answer::Ok);
        compareShown(prompt, {asked ? message(text, Prompt::Icon::Question, Prompt::Buttons::YesNo) : message(text)});
    }

    void newSeniorButton()
    {
        HostFixture fx;
        HostCase::prepare(fx);
        HostCase::Writer w(fx.primaryPath());
        for (int id = 1; id <= 3; ++id)
            w.member(member(id));
        w.exec("UPDATE Members SET GH_Senior = '2019' WHERE Mem_ID IN (1, 3)");
        w.done();
        Session session;
        open(fx, session);
        ReportModel& m = session.model;

        // Without watch dates only the guard speaks.
        m.ToDate.clear();
        m.NoSenior = 8;
        m.RecLast[7][1] = "Kept";
        ScriptedPrompt prompt;
        CountUpdate update = cmdNewSenClick(session, prompt);
        QVERIFY(!update.ran);
        QCOMPARE(update.focus, QStringLiteral("txtTo"));
        QCOMPARE(update.shown, 8);
        compareShown(prompt, {noDateMessage()});
        QCOMPARE(m.RecLast[7][1], QStringLiteral("Kept"));

        // Answered No: the count stays, the list is refilled all the same.
        m.ToDate = kTo;
        prompt.clear();
        prompt.queue(Prompt::Answer::No);
        update = cmdNewSenClick(session, prompt);
        QVERIFY(update.ran);
        QCOMPARE(update.shown, 8);
        QCOMPARE(m.NoSenior, 8);
        compareShown(
            prompt, {message("Rostrel lists 2, change current value", Prompt::Icon::Question, Prompt::Buttons::YesNo)});
        QCOMPARE(m.RecLast[7][1], QStringLiteral("Last1"));
        QCOMPARE(m.RecLast[7][2], QStringLiteral("Last3"));

        prompt.clear();
        prompt.queue(Prompt::Answer::Yes);
        QCOMPARE(cmdNewSenClick(session, prompt).shown, 2);
        QCOMPARE(m.NoSenior, 2);

        prompt.clear();
        QCOMPARE(cmdNewSenClick(session, prompt).shown, 2);
        compareShown(prompt, {message("Rostrel lists 2 new Senior Members")});
    }

    void courseButtons_data()
    {
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("selected");
        QTest::addColumn<qint32>("old");
        QTest::addColumn<int>("answer");
        QTest::addColumn<qint32>("shown");
        QTest::addColumn<QString>("text"); // empty: no message
        QTest::addColumn<bool>("asks");
        const int AG = int(CourseGroup::AG), EG = int(CourseGroup::EG), OC = int(CourseGroup::OC);
        const int yes = int(Prompt::Answer::Yes), no = int(Prompt::Answer::No), ok = int(Prompt::Answer::Ok);
        QTest::newRow("JN holds the host's count") << AG << 3 << 2 << ok << 2 << "Rostrel lists 2" << false;
        QTest::newRow("S differs, Yes") << AG << 0 << 7 << yes << 1 << "Rostrel lists 1, change current value" << true;
        QTest::newRow("Sail differs, No") << EG << 2 << 7 << no << 7 << "Rostrel lists 3, change current value" << true;
        QTest::newRow("Cruise Planning") << EG << 5 << 0 << yes << 6 << "Rostrel lists 6, change current value" << true;
        QTest::newRow("Leadership, Yes") << OC << 2 << 0 << yes << 4 << "Rostrel lists 4, change current value" << true;
        QTest::newRow("Operations, No") << OC << 1 << 1 << no << 1 << "Rostrel lists 2, change current value" << true;
        QTest::newRow("Dockready") << OC << 0 << 5 << ok << 5 << "Rostrel does not support data on the selected topic."
                                   << false;
        QTest::newRow("Seminar") << OC << 3 << 5 << ok << 5 << "Rostrel does not support data on the selected topic."
                                 << false;
        QTest::newRow("nothing selected") << AG << -1 << 5 << ok << 0 << "" << false;
        QTest::newRow("beyond the group") << OC << 4 << 5 << ok << 0 << "" << false;
    }
    void courseButtons()
    {
        QFETCH(int, group);
        QFETCH(int, selected);
        QFETCH(qint32, old);
        QFETCH(int, answer);
        QFETCH(qint32, shown);
        QFETCH(QString, text);
        QFETCH(bool, asks);
        HostFixture fx;
        HostCase::prepare(fx);
        HostCase::Writer w(fx.primaryPath());
        // GH_S 1, GH_JN 2, GH_SAIL 3, GH_OT 2, LDP 4, GH_CP 6 completions in the watch year.
        const QList<std::pair<QString, int>> counts{{"GH_S", 1},  {"GH_JN", 2}, {"GH_SAIL", 3},
                                                    {"GH_OT", 2}, {"LDP", 4},   {"GH_CP", 6}};
        for (int id = 1; id <= 6; ++id) {
            w.member(member(id));
            for (const auto& [field, n] : counts) {
                if (id <= n)
                    w.exec(QStringLiteral("UPDATE Members SET %1 = '202002' WHERE Mem_ID = ?").arg(field), {id});
            }
        }
        w.done();
        Session session;
        open(fx, session);
        ReportModel& m = session.model;
        const CourseGroup g = CourseGroup(group);
        if (selected >= 0 && selected < courseCount(g))
            courseValue(m, g, selected) = old;
        m.BCCount = {11, 12, 13};
        const QStringList before = HostCase::dump(m);
        ScriptedPrompt prompt;
        prompt.queue(Prompt::Answer(answer));
        const CourseUpdate update = cmdCourseClick(session, g, selected, prompt);
        QCOMPARE(update.shown, shown);
        if (text.isEmpty()) {
            compareShown(prompt, {});
            QCOMPARE(HostCase::dump(m), before);
            return;
        }
        compareShown(prompt, {asks ? message(text, Prompt::Icon::Question, Prompt::Buttons::YesNo) : message(text)});
        QCOMPARE(update.course, selected);
        QCOMPARE(courseValue(m, g, selected), shown);
        // Nothing else of the report changes.
        courseValue(m, g, selected) = old;
        QCOMPARE(HostCase::dump(m), before);
    }

    void courseButtonsNeedTheWatchYear()
    {
        HostFixture fx;
        HostCase::prepare(fx);
        Session session;
        open(fx, session);
        session.model.FromDate.clear();
        session.model.AGCount = {1, 2, 3, 4, 5};
        const QStringList before = HostCase::dump(session.model);
        for (auto click : {cmdAGdbClick, cmdECdbClick, cmdOCdbClick}) {
            ScriptedPrompt prompt;
            const CourseUpdate update = click(session, 1, prompt);
            QVERIFY(!update.ran);
            QCOMPARE(update.focus, QStringLiteral("txtFrom"));
            compareShown(prompt, {noDateMessage()});
        }
        QCOMPARE(HostCase::dump(session.model), before);
    }

    void courseTable()
    {
        QCOMPARE(courseCount(CourseGroup::AG), 5);
        QCOMPARE(courseCount(CourseGroup::EG), 6);
        QCOMPARE(courseCount(CourseGroup::OC), 4);
        QStringList fields;
        for (CourseGroup g : {CourseGroup::AG, CourseGroup::EG, CourseGroup::OC}) {
            for (int i = 0; i < courseCount(g); ++i) {
                if (!courseHostField(g, i).isEmpty())
                    fields << courseHostField(g, i);
            }
        }
        QCOMPARE(fields, HostSchema::courseFields());
        QCOMPARE(courseHostField(CourseGroup::OC, 0), QString());
        QCOMPARE(courseHostField(CourseGroup::OC, 3), QString());
        ReportModel m;
        courseValue(m, CourseGroup::OC, 3) = 4;
        courseValue(m, CourseGroup::EG, 5) = 3;
        courseValue(m, CourseGroup::AG, 4) = 2;
        QCOMPARE(m.OCCount[3], 4);
        QCOMPARE(m.EGCount[5], 3);
        QCOMPARE(m.AGCount[4], 2);
    }
};

QTEST_GUILESS_MAIN(TestMemberStats)
#include "tst_memberstats.moc"

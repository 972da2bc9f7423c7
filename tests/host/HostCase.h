#pragma once

// Shared set-up of the host look-up tests: a session on a HostFixture host, an officer list, and the only place
// that reads or writes the model's officer rows and recognition entries.

#include "HostFixture.h"
#include "ScriptedPrompt.h"

#include "app/Session.h"
#include "host/HostData.h"
#include "store/ReportModel.h"

#include <array>
#include <functional>
#include <numeric>

namespace HostCase {

using Writer = HostFixture::Writer;

// A squadron: members 1..6 (some with blanks to trim; 4 not active, 5 another squadron's), new senior members 2, 3,
// 5, course completions, merit marks of any year, titles of committees 105, 703, 201 and positions 7, 1, 3, and the
// holders "member:code" (code as in the officer list) with D for a district, N a national row, + next watch's.
inline void squadron(Writer& w, const QString& holders)
{
    w.exec(
        "INSERT INTO Members (Mem_ID, Last, First, Cert, Grade, Rank, SquadRank, MemTypeStat) VALUES (1, 'Abel', "
        "'Amy', '1000001', 'AP', 'Lt', 'Lt/C', 'AC'), (2, ' Baker ', ' Bo ', ' 1000002 ', ' N ', ' P/C ', ' Cdr ', "
        "'AC'), (3, 'Cole', 'Cy', '1000003', 'S', '', '1st/Lt', 'AC'), (4, 'Dunn', 'Di', '1000004', '', '', 'Lt', "
        "'RE'), (5, 'Eve', 'Ed', '1000005', 'JN', '', 'P/Lt', 'AC'), (6, 'Fox', 'Flo', '1000006', 'P', '', '', 'AC')");
    w.exec("UPDATE Members SET Address = ' 1 Main St ', Address2 = ' Apt 2 ', City = ' Port ', State = 'ME', "
           "ZIP = '04101', Phone = '555-0101', Email = ' amy@example.org ' WHERE Mem_ID = 1");
    w.exec("UPDATE Members SET Address = '9 Shore Rd', City = 'Bay', State = 'NH', ZIP = '03801', Phone = '555-0202', "
           "Email = 'bo@example.org' WHERE Mem_ID = 2");
    w.exec("UPDATE Members SET OtherMember = CASE Mem_ID WHEN 5 THEN 'X' END, GH_Senior = CASE WHEN Mem_ID IN (2, 3, "
           "5) THEN '2019' END, GH_S = CASE WHEN Mem_ID IN (1, 2, 3) THEN '201910' WHEN Mem_ID = 5 THEN '202001' END");
    w.exec("UPDATE Members SET GH_P = '202008', GH_AP = '20200801', GH_N = '201909', GH_EM = '202001', GH_CP = "
           "'202001', ID_001 = '202001', GH_OT = '202003', LDP = '202004' WHERE Mem_ID IN (1, 2, 3)");
    w.exec("INSERT INTO commdept VALUES ('1', 'Executive'), ('7', 'Secretary Dept'), ('2', 'Education')");
    w.exec("INSERT INTO CommDesc VALUES ('105', ' Secretary '), ('703', 'History'), ('201', 'Education')");
    w.exec("INSERT INTO CommPos VALUES ('7', ' Chairman '), ('1', 'Member'), ('3', 'Assistant')");
    w.exec("INSERT INTO MeritMarks VALUES (1, '2015', 'A'), (2, '2020', 'A'), (3, '2020', 'R'), (4, '2020', NULL)");
    for (QString r : holders.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const bool next = r.endsWith(QLatin1Char('+'));
        const QString sdn = r.remove(QLatin1Char('+')).back().isLetter() ? QString(r.back()) : QStringLiteral("S");
        const QString code = r.section(QLatin1Char(':'), 1).remove(sdn);
        w.exec("INSERT INTO MemberCom VALUES (?, ?, ?, ?, ?, ?)",
               {r.section(QLatin1Char(':'), 0, 0).toInt(), code.left(1), code.mid(1, 1), code.left(1) + code.mid(2),
                sdn, next ? 1 : 0});
    }
}

// Opens the fixture's host databases and recordsets the way start-up does, without a report file.
inline bool openHost(HostFixture& fixture, Session& session)
{
    session.PrimaryDBPath = fixture.primaryPath();
    session.SquadronsDBPath = fixture.squadronsPath();
    session.host.closeAll();
    session.host.SquadronsDB.open(fixture.squadronsPath());
    ScriptedPrompt prompt;
    RefreshHostData(session, false, prompt);
    return session.host.HostDB.isOpen() && session.host.MembersRS.isOpen();
}

// The same on a fresh host holding the rows that `rows` writes.
inline bool openWith(HostFixture& fixture, Session& session, const std::function<void(Writer&)>& rows)
{
    fixture.createDatabases();
    Writer w(fixture.primaryPath());
    rows(w);
    w.done();
    return openHost(fixture, session);
}

// The same on a fresh host holding the squadron with `holders` and, if any, `moreSql` run after it.
inline bool openSquadron(HostFixture& fixture, Session& session, const QString& holders, const QString& moreSql = {})
{
    return openWith(fixture, session, [&](Writer& w) {
        squadron(w, holders);
        if (!moreSql.isEmpty())
            w.exec(moreSql);
    });
}

// An officer list of (title, code) rows; a code starting with a letter is a heading.
inline void setOfficers(ReportModel& model, const QList<std::pair<QString, QString>>& rows)
{
    model.Officers = QList<Officer>(rows.size());
    for (int i = 1; i <= rows.size(); ++i) {
        Officer& o = model.officer(i);
        std::tie(o.Title, o.Code, o.Order) = std::tuple(rows.at(i - 1).first, rows.at(i - 1).second, i);
        o.Heading = !o.Code.isEmpty() && o.Code.at(0).unicode() >= 65;
    }
}

// The fields of an officer row, a recognition entry (but its category) and the submitting officer, in order.
template <class O> auto officerFields(O& o)
{
    return std::array{&o.Cert, &o.Last, &o.First, &o.Rank, &o.Grade};
}
template <class R> auto entryFields(R& r)
{
    return std::array{&r.Cert, &r.Last, &r.First, &r.Rank, &r.Grade, &r.Office};
}
template <class M> auto submitterFields(M& m)
{
    return std::array{&m.SubOCert, &m.SubOLast,  &m.SubOFirst, &m.SubOGrade, &m.SubORank,  &m.SubOAddress,
                      &m.SubOCity, &m.SubOState, &m.SubOZip,   &m.SubOTitle, &m.SubOPhone, &m.SubOEmail};
}

// The fields' values joined by '|', and the same written: officer row i as "cert|last|first|rank|grade",
// recognition entry (c, e) as "cert|last|first|rank|grade|office|category" (marked: "|<text> e|||||c"), the
// submitting officer as "cert|last|first|grade|rank|address|city|state|zip|title|phone|email".
inline QString read(const auto& fields)
{
    QStringList v;
    for (const QString* f : fields)
        v << *f;
    return v.join(QLatin1Char('|'));
}
inline void write(const auto& fields, const QString& values)
{
    for (qsizetype k = 0; k < qsizetype(fields.size()); ++k)
        *fields[k] = values.section(QLatin1Char('|'), int(k), int(k));
}
inline QString officer(const ReportModel& m, int i)
{
    return read(officerFields(m.officer(i)));
}
inline void setOfficer(ReportModel& m, int i, const QString& values)
{
    write(officerFields(m.officer(i)), values);
}
inline QString entry(const ReportModel& m, int c, int e)
{
    return read(entryFields(m.entry(c, e))) + QLatin1Char('|') + QString::number(m.entry(c, e).Category);
}
inline void setEntry(ReportModel& m, int c, int e, const QString& values)
{
    write(entryFields(m.entry(c, e)), values);
    m.entry(c, e).Category = values.section(QLatin1Char('|'), 6).toInt();
}
inline void markCategory(ReportModel& m, int c, const QString& text)
{
    for (int e = 1; e <= ReportModel::EntriesPerCategory; ++e)
        setEntry(m, c, e, QStringLiteral("|%1 %2|||||%3").arg(text).arg(e).arg(c));
}
inline QString submitter(const ReportModel& m)
{
    return read(submitterFields(m));
}
inline void setSubmitter(ReportModel& m, const QString& values)
{
    write(submitterFields(m), values);
}

// Every message shown: its text, " ?" after a question (Yes, No) or the icon and buttons after anything but a
// plain message, " @" and the title when it has one.
inline QStringList shown(const ScriptedPrompt& prompt)
{
    QStringList out;
    for (const Prompt::Message& s : prompt.shown) {
        QString kind = QString(" !%1,%2").arg(int(s.icon)).arg(int(s.buttons));
        if (s.icon == Prompt::Icon::None && s.buttons == Prompt::Buttons::Ok)
            kind.clear();
        else if (s.icon == Prompt::Icon::Question && s.buttons == Prompt::Buttons::YesNo)
            kind = " ?";
        out << s.text + kind + (s.title.isEmpty() ? QString() : " @" + s.title);
    }
    return out;
}

// Every value of the model as lines, for comparing whole reports.
inline QStringList dump(const ReportModel& m)
{
    QStringList out{m.SquadronName, m.SquadronCode, QString::number(m.SquadronNo), m.SquadronNoText,
                    QString::number(m.DistrictNo)};
    out << m.SubDate << m.FromDate << m.ToDate << m.ReportYear << QString::number(m.NoMM) << QString::number(m.Incorp)
        << QString::number(m.NoActive) << QString::number(m.NoSenior);
    out << submitter(m) << m.PubName << m.SubmitURL;
    const auto numbers = [](const auto& v) {
        return std::accumulate(v.begin(), v.end(), QString(),
                               [](QString s, qint32 n) { return s + ' ' + QString::number(n); });
    };
    out << numbers(m.AGCount) << numbers(m.EGCount) << numbers(m.BCCount) << numbers(m.OCCount)
        << QString::number(m.FromKUR);
    for (const QString& t : m.ActivityText)
        out << t;
    out << QString::number(m.officerCount());
    for (int i = 1; i <= m.officerCount(); ++i)
        out << m.officer(i).Title + QLatin1Char('|') + m.officer(i).Code + QLatin1Char('|') + officer(m, i);
    for (int c = 1; c <= ReportModel::CategoryCount; ++c) {
        for (int e = 1; e <= ReportModel::EntriesPerCategory; ++e)
            out << entry(m, c, e);
    }
    return out;
}

} // namespace HostCase

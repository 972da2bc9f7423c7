#pragma once

// Shared set-up of the host look-up tests: a session on a HostFixture host, an officer list, and the only place
// that reads or writes the model's officer rows and recognition entries.

#include "HostFixture.h"
#include "ScriptedPrompt.h"

#include "app/Session.h"
#include "host/HostData.h"
#include "store/ReportModel.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>
#include <utility>

namespace HostCase {

// Writes rows into a host database file through one connection and one transaction, without waiting for the
// disk: tests build many small hosts.
class Writer
{
public:
    explicit Writer(const QString& path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        if (!db.open())
            qFatal("cannot open %s", qPrintable(path));
        exec(QStringLiteral("PRAGMA synchronous = OFF"));
        db.transaction();
    }
    ~Writer() { done(); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    void exec(const QString& sql, const QVariantList& params = {})
    {
        QSqlQuery q(QSqlDatabase::database(m_name, false));
        if (!q.prepare(sql))
            qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
        for (const QVariant& v : params)
            q.addBindValue(v);
        if (!q.exec())
            qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    }

    // Members from rows "(Mem_ID, 'Last', 'First', 'Cert', 'Grade', 'Rank', 'SquadRank', 'MemTypeStat')".
    void members(const QString& rows)
    {
        exec("INSERT INTO Members (Mem_ID, Last, First, Cert, Grade, Rank, SquadRank, MemTypeStat) VALUES " + rows);
    }

    void committee(qint32 memId, const QString& department, const QString& position, const QString& committee,
                   const QString& sdn = QStringLiteral("S"), bool newOd = false)
    {
        exec(QStringLiteral("INSERT INTO MemberCom VALUES (?, ?, ?, ?, ?, ?)"),
             {memId, department, position, committee, sdn, newOd ? 1 : 0});
    }

    // Commits and closes; the writer is of no further use.
    void done()
    {
        if (m_name.isEmpty())
            return;
        QSqlDatabase::database(m_name, false).commit();
        QSqlDatabase::removeDatabase(std::exchange(m_name, QString()));
    }

private:
    QString m_name = QStringLiteral("hostcase-writer");
};

// Both host databases of the fixture, copied from one set made once per test program; with settings also the
// host's settings, which start-up needs.
inline void prepare(HostFixture& fixture, bool settings = false)
{
    static std::unique_ptr<QTemporaryDir> model;
    if (!model) {
        model = std::make_unique<QTemporaryDir>();
        HostFixture maker;
        maker.writeSettings();
        maker.createDatabases();
        QFile::copy(maker.primaryPath(), model->filePath(QStringLiteral("primary")));
        QFile::copy(maker.squadronsPath(), model->filePath(QStringLiteral("squadrons")));
    }
    if (settings)
        fixture.writeSettings();
    QFile::remove(fixture.primaryPath());
    QFile::remove(fixture.squadronsPath());
    if (!QFile::copy(model->filePath(QStringLiteral("primary")), fixture.primaryPath()) ||
        !QFile::copy(model->filePath(QStringLiteral("squadrons")), fixture.squadronsPath()))
        qFatal("cannot copy the host databases");
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

// A session on a fresh host holding the rows that `rows` writes.
inline bool openWith(HostFixture& fixture, Session& session, const std::function<void(Writer&)>& rows)
{
    prepare(fixture);
    Writer w(fixture.primaryPath());
    rows(w);
    w.done();
    return openHost(fixture, session);
}

// An officer list of (title, code) rows; a code starting with a letter is a heading.
inline void setOfficers(ReportModel& model, const QList<std::pair<QString, QString>>& rows)
{
    model.resizeOfficers(int(rows.size()));
    for (int i = 1; i <= rows.size(); ++i) {
        model.OffTitle[i] = rows.at(i - 1).first;
        model.OffCode[i] = rows.at(i - 1).second;
        model.OffOrder[i] = i;
        model.OffHeading[i] = !rows.at(i - 1).second.isEmpty() && rows.at(i - 1).second.at(0).unicode() >= 65;
    }
}

// Writes the values, separated by '|', into the fields in turn.
inline void assign(std::initializer_list<QString*> fields, const QString& values)
{
    const QStringList v = values.split(QLatin1Char('|'));
    for (qsizetype k = 0; k < qsizetype(fields.size()); ++k)
        *fields.begin()[k] = v.value(k);
}

// Officer row i as "cert|last|first|rank|grade", and the same written.
inline QString officer(const ReportModel& m, int i)
{
    return QStringList{m.OffCert[i], m.OffLast[i], m.OffFirst[i], m.OffRank[i], m.OffGrade[i]}.join(QLatin1Char('|'));
}
inline void setOfficer(ReportModel& m, int i, const QString& values)
{
    assign({&m.OffCert[i], &m.OffLast[i], &m.OffFirst[i], &m.OffRank[i], &m.OffGrade[i]}, values);
}

// Recognition entry (c, e) as "cert|last|first|rank|grade|office|category", and the same written.
inline QString entry(const ReportModel& m, int c, int e)
{
    QStringList v;
    v << m.RecCert[c][e] << m.RecLast[c][e] << m.RecFirst[c][e] << m.RecRank[c][e] << m.RecGrade[c][e]
      << m.RecOffice[c][e] << QString::number(m.RecCategory[c][e]);
    return v.join(QLatin1Char('|'));
}
inline void setEntry(ReportModel& m, int c, int e, const QString& values)
{
    assign({&m.RecCert[c][e], &m.RecLast[c][e], &m.RecFirst[c][e], &m.RecRank[c][e], &m.RecGrade[c][e],
            &m.RecOffice[c][e]},
           values);
    m.RecCategory[c][e] = values.section(QLatin1Char('|'), 6).toInt();
}

// Every entry of category c holds a stand-in "|<text> e|||||c": a look-up that leaves the category keeps them.
inline void markCategory(ReportModel& m, int c, const QString& text)
{
    for (int e = 1; e <= ReportModel::EntriesPerCategory; ++e)
        setEntry(m, c, e, QStringLiteral("|%1 %2|||||%3").arg(text).arg(e).arg(c));
}

// The submitting officer as "cert|last|first|grade|rank|address|city|state|zip|title|phone|email", and the same
// written.
inline QString submitter(const ReportModel& m)
{
    return QStringList{m.SubOCert, m.SubOLast,  m.SubOFirst, m.SubOGrade, m.SubORank,  m.SubOAddress,
                       m.SubOCity, m.SubOState, m.SubOZip,   m.SubOTitle, m.SubOPhone, m.SubOEmail}
        .join(QLatin1Char('|'));
}
inline void setSubmitter(ReportModel& m, const QString& values)
{
    assign({&m.SubOCert, &m.SubOLast, &m.SubOFirst, &m.SubOGrade, &m.SubORank, &m.SubOAddress, &m.SubOCity,
            &m.SubOState, &m.SubOZip, &m.SubOTitle, &m.SubOPhone, &m.SubOEmail},
           values);
}

// Every message shown as "text|title|icon|buttons", and one such message: a question or a plain message.
inline QStringList shown(const ScriptedPrompt& prompt)
{
    QStringList out;
    for (const Prompt::Message& s : prompt.shown)
        out << QStringLiteral("%1|%2|%3|%4").arg(s.text, s.title).arg(int(s.icon)).arg(int(s.buttons));
    return out;
}
inline QString message(const QString& text, bool question = false, const QString& title = {})
{
    return QStringLiteral("%1|%2|%3|%4")
        .arg(text, title)
        .arg(int(question ? Prompt::Icon::Question : Prompt::Icon::None))
        .arg(int(question ? Prompt::Buttons::YesNo : Prompt::Buttons::Ok));
}

// Every value of the model as lines, for comparing whole reports.
inline QStringList dump(const ReportModel& m)
{
    QStringList out{m.SquadronName, m.SquadronCode, QString::number(m.SquadronNo), m.SquadronNoText,
                    QString::number(m.DistrictNo)};
    out << m.SubDate << m.FromDate << m.ToDate << m.ReportYear << QString::number(m.NoMM) << QString::number(m.Incorp)
        << QString::number(m.NoActive) << QString::number(m.NoSenior);
    out << submitter(m) << m.PubName << m.SubmitURL;
    for (qint32 v : m.AGCount)
        out << QStringLiteral("AG %1").arg(v);
    for (qint32 v : m.EGCount)
        out << QStringLiteral("EG %1").arg(v);
    for (qint32 v : m.BCCount)
        out << QStringLiteral("BC %1").arg(v);
    for (qint32 v : m.OCCount)
        out << QStringLiteral("OC %1").arg(v);
    out << QString::number(m.FromKUR);
    for (const QString& t : m.ActivityText)
        out << t;
    out << QString::number(m.OfficerCount);
    for (int i = 1; i <= m.OfficerCount; ++i)
        out << m.OffTitle[i] + QLatin1Char('|') + m.OffCode[i] + QLatin1Char('|') + officer(m, i);
    for (int c = 1; c <= ReportModel::CategoryCount; ++c) {
        for (int e = 1; e <= ReportModel::EntriesPerCategory; ++e)
            out << entry(m, c, e);
    }
    return out;
}

// The first entries of the list that differ, for readable failures.
inline QString firstDifference(const QStringList& a, const QStringList& b)
{
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        const QString x = a.value(i, QStringLiteral("<none>"));
        const QString y = b.value(i, QStringLiteral("<none>"));
        if (x != y)
            return QStringLiteral("line %1: \"%2\" vs \"%3\"").arg(i).arg(x, y);
    }
    return {};
}

} // namespace HostCase

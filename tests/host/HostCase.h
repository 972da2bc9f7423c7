#pragma once

// Shared set-up of the host look-up tests: a session on a HostFixture host, an officer list and a way to compare
// whole report models.

#include "HostFixture.h"
#include "ScriptedPrompt.h"

#include "app/Session.h"
#include "host/HostData.h"
#include "store/ReportModel.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <utility>

namespace HostCase {

// Writes rows into a host database file through one connection and one transaction, without waiting for the
// disk: tests build many small hosts.
class Writer
{
public:
    explicit Writer(const QString& path) : m_name(QStringLiteral("hostcase-writer"))
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

    void member(const HostFixture::Member& m)
    {
        exec(QStringLiteral("INSERT INTO Members (Mem_ID, Squadron, Cert, Last, First, Grade, Rank, SquadRank, "
                            "MemTypeStat, OtherMember) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
             {m.id, m.squadron, m.cert, m.last, m.first, m.grade, m.rank, m.squadRank, m.memTypeStat,
              m.otherMember.isEmpty() ? QVariant() : QVariant(m.otherMember)});
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
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.commit();
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
        m_name.clear();
    }

private:
    QString m_name;
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

inline QString officer(const ReportModel& m, int i)
{
    return QStringList{m.OffCert[i], m.OffLast[i], m.OffFirst[i], m.OffRank[i], m.OffGrade[i]}.join(QLatin1Char('|'));
}

inline QString entry(const ReportModel& m, int c, int e)
{
    return QStringList{m.RecCert[c][e],
                       m.RecLast[c][e],
                       m.RecFirst[c][e],
                       m.RecRank[c][e],
                       m.RecGrade[c][e],
                       m.RecOffice[c][e],
                       QString::number(m.RecCategory[c][e])}
        .join(QLatin1Char('|'));
}

// Every value of the model as lines, for comparing whole reports.
inline QStringList dump(const ReportModel& m)
{
    QStringList out;
    out << m.SquadronName << m.SquadronCode << QString::number(m.SquadronNo) << m.SquadronNoText
        << QString::number(m.DistrictNo);
    out << m.SubDate << m.FromDate << m.ToDate << m.ReportYear << QString::number(m.NoMM) << QString::number(m.Incorp)
        << QString::number(m.NoActive) << QString::number(m.NoSenior);
    out << m.SubOCert << m.SubOLast << m.SubOFirst << m.SubOGrade << m.SubORank << m.SubOAddress << m.SubOCity
        << m.SubOState << m.SubOZip << m.SubOTitle << m.SubOPhone << m.SubOEmail << m.PubName << m.SubmitURL;
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

#include "host/HostLookups.h"

#include "base/Text.h"
#include "host/HostData.h"
#include "host/HostSession.h"
#include "host/HostShortcuts.h"
#include "host/LookupDetail.h"
#include "store/OfficeCatalogue.h"

namespace {

QString quoted(const QString& value)
{
    QString v = value;
    v.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + v + QLatin1Char('\'');
}

} // namespace

namespace LookupDetail {

HostMember currentMember(const Recordset& rs, const QString& rankField)
{
    HostMember m;
    m.Cert = trimBlanks(rs.text(QStringLiteral("Cert")));
    m.Last = trimBlanks(rs.text(QStringLiteral("Last")));
    m.First = trimBlanks(rs.text(QStringLiteral("First")));
    m.Rank = trimBlanks(rs.text(rankField));
    m.Grade = trimBlanks(rs.text(QStringLiteral("Grade")));
    return m;
}

void setEntry(ReportModel& model, int category, int entry, const HostMember& member, const QString& office)
{
    model.entry(category, entry) = {member.Cert,  member.Last, member.First, member.Rank,
                                    member.Grade, office,      category};
}

bool fillCategory(HostSession& session, Recordset& rows, int category, const QString& rankField)
{
    ReportModel& model = session.model;
    HostData& host = session.host;
    // A host query that fails leaves the category as it was.
    const auto kept = model.Recognized[size_t(category - 1)];
    const qsizetype failures = host.HostDB.failureCount();
    model.clearCategory(category);
    rows.moveFirst();
    for (int n = 1; n <= ReportModel::EntriesPerCategory && !rows.eof(); ++n, rows.moveNext()) {
        const qint64 memId = rows.number(QStringLiteral("Mem_ID"));
        if (memId < 1 || !FindMemberByID(host, memId))
            continue;
        setEntry(model, category, n, currentMember(host.MembersRS, rankField), FindJob(host.HostDB, rows));
    }
    if (host.HostDB.failureCount() == failures)
        return true;
    model.Recognized[size_t(category - 1)] = kept;
    return false;
}

QList<qint64> categoryMemberIds(Recordset& rows)
{
    QList<qint64> ids;
    rows.moveFirst();
    for (int n = 1; n <= ReportModel::EntriesPerCategory && !rows.eof(); ++n, rows.moveNext()) {
        const qint64 memId = rows.number(QStringLiteral("Mem_ID"));
        if (memId >= 1)
            ids << memId;
    }
    return ids;
}

Recordset assignmentRows(HostSession& session, const QString& sdn)
{
    const QString statement = QStringLiteral("SELECT * FROM MemberCom WHERE SDN = '") + sdn + QLatin1Char('\'');
    // Only the first 24 rows are looked at.
    if (HostShortcuts::enabled())
        return Recordset::openFirstRows(session.host.HostDB, statement, {}, ReportModel::EntriesPerCategory);
    return Recordset::open(session.host.HostDB, statement);
}

bool fillAssignments(HostSession& session, Recordset& rows, int category)
{
    if (session.host.HostDB.failed(rows) || rows.isEmpty())
        return false;
    return fillCategory(session, rows, category, QStringLiteral("SquadRank"));
}

std::vector<OfficerHolder> officerHolders(HostSession& session)
{
    const ReportModel& model = session.model;
    Recordset& memberCom = session.host.MemberComRS;
    const int rows = model.officerCount();
    std::vector<OfficerHolder> holders;
    QString previousKey;
    bool searched = false;
    for (int i = 1; i <= rows; ++i) {
        const QString code = model.officer(i).Code;
        if (code.isEmpty() || IsHeadingCode(code))
            continue;
        const OfficeCode office = OfficeCodeParts(code);
        const QString criteria = OfficeCriteria(office);
        // Several rows of one office take its holders one after the other.
        const bool found =
            searched && office.key() == previousKey ? memberCom.findNext(criteria) : memberCom.findFirst(criteria);
        previousKey = office.key();
        searched = true;
        if (found)
            holders.push_back({i, memberCom.number(QStringLiteral("Mem_ID"))});
    }
    return holders;
}

int setOfficerHolders(HostSession& session, const std::vector<OfficerHolder>& holders)
{
    int written = 0;
    for (const OfficerHolder& holder : holders) {
        if (!FindMemberByID(session.host, holder.memId))
            continue;
        SetOfficerMember(session.model, holder.row,
                         LookupDetail::currentMember(session.host.MembersRS, QStringLiteral("SquadRank")));
        ++written;
    }
    return written;
}

QList<qint64> historianCandidates(HostSession& session)
{
    const ReportModel& model = session.model;
    Recordset& memberCom = session.host.MemberComRS;
    QList<qint64> ids;
    const int rows = model.officerCount();
    for (const QString& name : {QStringLiteral("Historian"), QStringLiteral("Secretary")}) {
        for (int i = 1; i <= rows; ++i) {
            if (model.officer(i).Title != name)
                continue;
            const QString code = model.officer(i).Code;
            OfficeCode parts = OfficeCodeParts(code);
            parts.Position = QString::number(leadingNumber(code.mid(1, 1)));
            if (memberCom.findFirst(OfficeCriteria(parts)))
                ids << memberCom.number(QStringLiteral("Mem_ID"));
            break;
        }
    }
    return ids;
}

} // namespace LookupDetail

OfficeCode OfficeCodeParts(const QString& code)
{
    OfficeCode parts;
    parts.Department = code.left(1);
    parts.Position = code.mid(1, 1);
    parts.Committee = code.left(1) + code.mid(2);
    return parts;
}

QString OfficeCriteria(const OfficeCode& office)
{
    return QStringLiteral("Department = ") + quoted(office.Department) + QStringLiteral(" AND Position = ") +
           quoted(office.Position) + QStringLiteral(" AND Committee = ") + quoted(office.Committee) +
           QStringLiteral(" AND SDN = 'S'");
}

void SetOfficerMember(ReportModel& model, int row, const HostMember& member)
{
    Officer& o = model.officer(row);
    o.Cert = member.Cert;
    o.Last = member.Last;
    o.First = member.First;
    o.Rank = member.Rank;
    o.Grade = member.Grade;
}

bool FindMemberByID(HostData& host, qint64 memId)
{
    return host.MembersRS.findFirst(QStringLiteral("Mem_ID = ") + QString::number(memId));
}

namespace {

// The submitting officer: the member (the current row of MembersRS) with the host's address, phone and e-mail.
void setSubmittingOfficer(ReportModel& model, const Recordset& member, const HostMember& m, const QString& title)
{
    model.SubOCert = m.Cert;
    model.SubOLast = m.Last;
    model.SubOFirst = m.First;
    model.SubOGrade = m.Grade;
    model.SubORank = m.Rank;
    model.SubOAddress = trimBlanks(member.text(QStringLiteral("Address")));
    const QString address2 = trimBlanks(member.text(QStringLiteral("Address2")));
    if (!address2.isEmpty())
        model.SubOAddress += QLatin1Char(' ') + address2;
    model.SubOCity = trimBlanks(member.text(QStringLiteral("City")));
    model.SubOState = trimBlanks(member.text(QStringLiteral("State")));
    model.SubOZip = trimBlanks(member.text(QStringLiteral("ZIP")));
    model.SubOTitle = title;
    model.SubOPhone = trimBlanks(member.text(QStringLiteral("Phone")));
    model.SubOEmail = trimBlanks(member.text(QStringLiteral("Email")));
}

} // namespace

std::optional<HostMember> MemberBuffer(HostData& host, qint64 memId)
{
    if (memId < 1 || !FindMemberByID(host, memId))
        return std::nullopt;
    return LookupDetail::currentMember(host.MembersRS, QStringLiteral("SquadRank"));
}

bool SubmittingOfficerFromMember(HostSession& session, qint64 memId)
{
    HostData& host = session.host;
    const std::optional<HostMember> member = MemberBuffer(host, memId);
    if (!member)
        return false;
    setSubmittingOfficer(session.model, host.MembersRS, *member, QString());
    const QString id = QStringLiteral("Mem_ID = ") + QString::number(memId);
    if (host.MemberComRS.findFirst(id + QStringLiteral(" AND Department = '1' AND Position = '7' AND Committee = '105' "
                                                       "AND SDN = 'S'")))
        session.model.SubOTitle = QStringLiteral("Secretary");
    else if (host.MemberComRS.findFirst(id + QStringLiteral(" AND Department = '7' AND Position = '7' AND Committee = "
                                                            "'703' AND SDN = 'S'")))
        session.model.SubOTitle = QStringLiteral("Historian");
    return true;
}

int OfficersFromHost(HostSession& session)
{
    return LookupDetail::setOfficerHolders(session, LookupDetail::officerHolders(session));
}

HistorianOutcome FindHistorian(HostSession& session, const QString& office)
{
    ReportModel& model = session.model;
    HostData& host = session.host;
    HistorianOutcome outcome;
    const int rows = model.officerCount();
    QString name = office.isEmpty() ? QStringLiteral("Historian") : office;
    for (;;) {
        int row = 0;
        for (int i = 1; i <= rows && row == 0; ++i) {
            if (model.officer(i).Title == name)
                row = i;
        }
        // An office missing from the officer list has no holder (its empty code must not match stray rows).
        bool found = false;
        if (row > 0) {
            const QString code = model.officer(row).Code;
            OfficeCode parts = OfficeCodeParts(code);
            parts.Position = QString::number(leadingNumber(code.mid(1, 1)));
            found = host.MemberComRS.findFirst(OfficeCriteria(parts));
        }
        if (found) {
            if (!FindMemberByID(host, host.MemberComRS.number(QStringLiteral("Mem_ID"))))
                return outcome;
            outcome.officerRow = row;
            break;
        }
        if (name == QLatin1String("Secretary"))
            return outcome;
        name = QStringLiteral("Secretary");
    }

    outcome.found = true;
    outcome.title = name;
    outcome.unify = LookupDetail::currentMember(host.MembersRS, QStringLiteral("SquadRank"));
    setSubmittingOfficer(model, host.MembersRS, outcome.unify, name);
    SetOfficerMember(model, outcome.officerRow, outcome.unify);
    return outcome;
}

bool FindDNOffices(HostSession& session, const QString& sdn)
{
    int category = 0;
    if (sdn == QLatin1String("D"))
        category = 1;
    else if (sdn == QLatin1String("N"))
        category = 2;
    else
        return false;
    Recordset rows = LookupDetail::assignmentRows(session, sdn);
    return LookupDetail::fillAssignments(session, rows, category);
}

QString FindJob(const HostDatabase& db, const Recordset& row)
{
    const QString department = trimBlanks(row.text(QStringLiteral("Department")));
    const QString position = trimBlanks(row.text(QStringLiteral("Position")));
    const QString committee = trimBlanks(row.text(QStringLiteral("Committee")));

    // The department must exist; its title is not part of the text.
    const Recordset dep =
        Recordset::open(db, QStringLiteral("Select Dep_Title FROM commdept WHERE Dep_Code = ?"), {department});
    if (db.failed(dep) || dep.isEmpty())
        return {};
    const Recordset com =
        Recordset::open(db, QStringLiteral("SELECT Com_Title FROM CommDesc WHERE Com_Code = ?"), {committee});
    if (db.failed(com) || com.isEmpty())
        return {};
    const QString title = trimBlanks(com.text(QStringLiteral("Com_Title")));
    const Recordset pos =
        Recordset::open(db, QStringLiteral("SELECT Pos_Title FROM CommPos WHERE Pos_Code = ?"), {position});
    if (db.failed(pos) || pos.isEmpty())
        return {};
    return title + QLatin1String(", ") + trimBlanks(pos.text(QStringLiteral("Pos_Title")));
}

#pragma once

#include "host/HostLookups.h"
#include "host/Recordset.h"

#include <QList>
#include <QString>

#include <vector>

struct ReportModel;
struct HostSession;

// Pieces shared by the host look-ups; not for callers outside src/host.
namespace LookupDetail {

// The member of the recordset's current row, every value trimmed; rankField is "SquadRank" for offices and
// assignments, "Rank" for new senior members.
HostMember currentMember(const Recordset& rs, const QString& rankField);

void setEntry(ReportModel& model, int category, int entry, const HostMember& member, const QString& office);

// Clears the category, then gives entry n the member of row n (n = 1..24) with the row's assignment text; a
// row whose Mem_ID is below 1 or not in MembersRS leaves its entry empty. When a title query fails, the category
// is put back as it was and false returned.
bool fillCategory(HostSession& session, Recordset& rows, int category, const QString& rankField);

// The member numbers of the rows fillCategory looks at (the first 24 rows, numbers of 1 and more).
QList<qint64> categoryMemberIds(Recordset& rows);

// The MemberCom rows of district ("D") or national ("N") assignments, as FindDNOffices reads them.
Recordset assignmentRows(HostSession& session, const QString& sdn);
// FindDNOffices on rows already opened: false (category unchanged) when there are none or a query failed.
bool fillAssignments(HostSession& session, Recordset& rows, int category);

// The new senior members' rows as FindNewSen reads them, and their number; rows is closed or empty when there
// is no from-date or the host lists none.
struct NewSeniors
{
    Recordset rows;
    qint32 count = 0;
};
NewSeniors newSeniorRows(HostSession& session);
// FindNewSen on rows already opened: refills category 7 when there are rows; returns the count (the report's
// No_Senior, category 7 kept, when the rows could not be read).
qint32 fillNewSeniors(HostSession& session, NewSeniors& seniors);

// The holder of an office of the officer list found for row `row`, by the searches of the officer rows.
struct OfficerHolder
{
    int row = 0;
    qint64 memId = 0;
};
// The MemberComRS searches of the officer rows, in order: the holder found for each office row.
std::vector<OfficerHolder> officerHolders(HostSession& session);
// Writes each holder found in MembersRS into its officer row; returns the number of rows written.
int setOfficerHolders(HostSession& session, const std::vector<OfficerHolder>& holders);
// The member numbers FindHistorian may look up: the holders of the Historian's and the Secretary's offices.
QList<qint64> historianCandidates(HostSession& session);

} // namespace LookupDetail

#pragma once

#include "host/HostLookups.h"

#include <QString>

class Recordset;
struct ReportModel;
struct Session;

// Pieces shared by the host look-ups; not for callers outside src/host.
namespace LookupDetail {

// The member of the recordset's current row, every value trimmed; rankField is "SquadRank" for offices and
// assignments, "Rank" for new senior members.
HostMember currentMember(const Recordset& rs, const QString& rankField);

void setEntry(ReportModel& model, int category, int entry, const HostMember& member, const QString& office);

// Clears the category, then gives entry n the member of row n (n = 1..24) with the row's assignment text; a
// row whose Mem_ID is below 1 or not in MembersRS leaves its entry empty.
void fillCategory(Session& session, Recordset& rows, int category, const QString& rankField);

} // namespace LookupDetail

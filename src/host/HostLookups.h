#pragma once

#include <QString>

#include <optional>

class HostDatabase;
class Recordset;
struct HostData;
struct HostSession;
struct ReportModel;

// The host's department, position and committee of an office of the officer list. The office code has four
// characters: department, position, then the committee's last two digits; the committee code is the department
// followed by the characters from the third on ("1705" is department "1", position "7", committee "105").
struct OfficeCode
{
    QString Department;
    QString Position;
    QString Committee;

    // Department + Position + Committee: rows of the officer list with equal keys share one office.
    QString key() const { return Department + Position + Committee; }
};

OfficeCode OfficeCodeParts(const QString& code);

// The MemberCom criteria of a squadron office: "Department = '1' AND Position = '7' AND Committee = '105' AND
// SDN = 'S'". Quote marks inside the codes are doubled.
QString OfficeCriteria(const OfficeCode& office);

// A member's reference as the report copies it from the host (every value trimmed).
struct HostMember
{
    QString Cert;
    QString Last;
    QString First;
    QString Rank;
    QString Grade;
};

// Officer row `row` (1-based) gets the member's certificate, names, rank and grade.
void SetOfficerMember(ReportModel& model, int row, const HostMember& member);

// Moves MembersRS to the member with that Mem_ID; false when there is none (or the recordset is closed).
bool FindMemberByID(HostData& host, qint64 memId);

// The member buffer of the window for a member of the member list: Cert, Last, First, SquadRank as the rank and
// Grade, each trimmed; nothing when the member number is not found.
std::optional<HostMember> MemberBuffer(HostData& host, qint64 memId);

// The submitting officer taken from a member of the member list (cmdSubO): the member with the host's address,
// phone and e-mail, titled "Secretary" or "Historian" when the member holds that squadron office, else without a
// title. The officer list is not changed. False, and nothing changed, when the member is not found.
bool SubmittingOfficerFromMember(HostSession& session, qint64 memId);

// Officer rows from the host: every office row of the officer list whose holder is found in MemberComRS and
// MembersRS gets the holder's certificate, names, squadron rank and grade. Rows sharing one office code get the
// first, second, third... holder in MemberComRS order. A row without a holder keeps its member. Returns the
// number of rows written.
int OfficersFromHost(HostSession& session);

// What FindHistorian found, for the window: the submitting-officer label, txtTitle and txtEmail follow the
// model's SubO values; unify is the member found last (the window's Unify buffer).
struct HistorianOutcome
{
    bool found = false;
    QString title;      // "Historian" or "Secretary" (or the office asked for)
    int officerRow = 0; // the officer-list row that received the member, 0 when none
    HostMember unify;
};

// Makes the holder of the office (empty: "Historian"; when that office has no holder, "Secretary") the
// submitting officer and writes the member into the office's officer-list row. Nothing changes when neither
// office is listed, staffed, or its holder is missing from Members.
HistorianOutcome FindHistorian(HostSession& session, const QString& office = {});

// Refills recognition category 1 ("D": district assignments) or 2 ("N": national assignments) from every
// MemberCom row of that level, one entry per row in the engine's order: a row whose member is not found leaves
// its entry empty. When the host has no such rows the category keeps its entries. Returns true when the
// category was refilled.
bool FindDNOffices(HostSession& session, const QString& sdn);

// The assignment text of the current row of a recordset that carries Department, Position and Committee:
// committee title, ", ", position title; empty unless the department, committee and position are all found in
// the host's title tables. A title query that fails gives empty text and is noted on db (HostDatabase::failed);
// the category being filled then keeps its entries.
QString FindJob(const HostDatabase& db, const Recordset& row);

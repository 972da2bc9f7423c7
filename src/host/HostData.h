#pragma once

#include "host/HostDatabase.h"
#include "host/Recordset.h"

#include <QList>
#include <QString>
#include <QStringList>

class Prompt;
struct HostSession;

// The host databases and the recordsets kept open from start-up to exit.
struct HostData
{
    HostDatabase HostDB;      // the host's primary database
    HostDatabase SquadronsDB; // the district's squadrons and the web addresses
    Recordset MembersRS;      // all members by last, then first name
    Recordset MemberComRS;    // the current watch's committee assignments by department, then position
    Recordset SquadronsRS;    // the squadrons of the district

    void closeAll();
};

// Reopens the primary host database and its recordsets and reads the squadron identity; with showMessage
// it then tells the user that member data already in the report is not changed. When the database cannot be
// opened again or one of its statements fails, returns false; with showMessage the user is told why instead.
bool RefreshHostData(HostSession& session, bool showMessage, Prompt& prompt);

// Shows in one warning the engine errors of the host queries that failed (HostDatabase::failed) and forgets
// them. True when more than `before` failures were noted, that is when the operation that began with
// failureCount() == before had a query fail.
bool ShowHostFailures(HostSession& session, Prompt& prompt, qsizetype before = 0);

// The member list: one entry per member of MembersRS ("Last, First", in a district's database followed by
// two blanks and the squadron code in parentheses) and the member number of each entry (MemberIDs, 1-based:
// element 0 is unused). With no members, both stay as they were.
void FillMemberList(HostSession& session, QList<qint32>& MemberIDs, QStringList& entries);

// rank, first name, last name and ", " grade when there is a grade; the blank after the rank is written
// even when the rank is empty.
QString MemberFullName(const QString& last, const QString& first, const QString& grade, const QString& rank);

// The squadron number as text, left-padded with "0" to four characters.
QString SquadronNoText(qint64 number);

#pragma once

#include <QStringList>

// The host tables the add-in reads and writes, as SQLite statements: for the demo host and the tests.
namespace HostSchema {

// The primary database: HomeSquad, Members, MemberCom, commdept, CommDesc, CommPos, MeritMarks, FormsAddin.
QStringList primaryTables();

// The second database: AllSquadrons and url_list.
QStringList squadronsTables();

// The thirteen course-completion fields of Members, in the order of the education panel.
QStringList courseFields();

} // namespace HostSchema

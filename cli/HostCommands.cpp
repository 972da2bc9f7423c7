// Commands that show what start-up read from the host.

#include "Cli.h"

#include "app/Session.h"
#include "host/HostData.h"

namespace {

int members(CliContext& c)
{
    QList<qint32> ids;
    QStringList entries;
    FillMemberList(*c.session, ids, entries);
    for (const QString& entry : entries)
        *c.out << entry << '\n';
    return 0;
}

int identity(CliContext& c)
{
    const ReportModel& m = c.session->model;
    *c.out << "Squadron: " << m.SquadronName << '\n'
           << "Code: " << m.SquadronCode << '\n'
           << "Number: " << m.SquadronNoText << '\n'
           << "District: " << m.DistrictNo << '\n';
    return 0;
}

const CliRegistrar membersCommand({"members", true, members, "members                print the member list"});
const CliRegistrar identityCommand({"identity", true, identity,
                                    "identity               print the squadron's name, code, number and district"});

} // namespace

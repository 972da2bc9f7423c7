#include "host/HostData.h"

#include "base/Prompt.h"
#include "base/Text.h"
#include "host/HostSession.h"

#include <QDir>

#include <limits>

namespace {
qint32 toLong(qint64 value)
{
    return qint32(std::clamp<qint64>(value, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
}
} // namespace

void HostData::closeAll()
{
    MembersRS.close();
    SquadronsRS.close();
    MemberComRS.close();
    HostDB.close();
    SquadronsDB.close();
}

QString SquadronNoText(qint64 number)
{
    return QString::number(number).rightJustified(4, QLatin1Char('0'));
}

QString MemberFullName(const QString& last, const QString& first, const QString& grade, const QString& rank)
{
    QString name = rank + QLatin1Char(' ') + first + QLatin1Char(' ') + last;
    if (!grade.isEmpty())
        name += QLatin1String(", ") + grade;
    return name;
}

bool RefreshHostData(HostSession& session, bool showMessage, Prompt& prompt)
{
    HostData& host = session.host;
    ReportModel& model = session.model;

    host.MembersRS.close();
    host.SquadronsRS.close();
    host.MemberComRS.close();
    host.HostDB.close();

    // The first failure is the one that tells why: once the database is closed, every statement fails.
    QString failure;
    const auto check = [&failure](const Recordset& rs) {
        if (failure.isEmpty() && !rs.isOpen())
            failure = rs.error();
    };
    if (!host.HostDB.open(session.PrimaryDBPath, session.HostConnect))
        failure = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(session.PrimaryDBPath), host.HostDB.error());

    Recordset home = Recordset::open(host.HostDB, QStringLiteral("SELECT * FROM HomeSquad"));
    if (failure.isEmpty())
        failure = home.failure();
    if (!home.isEmpty()) {
        model.SquadronName = trimBlanks(home.text(QStringLiteral("Home_Name")));
        model.SquadronCode = trimBlanks(home.text(QStringLiteral("Home_Code")));
        model.SquadronNo = toLong(home.number(QStringLiteral("Home_No")));
        model.SquadronNoText = SquadronNoText(model.SquadronNo);
        model.DistrictNo = toLong(home.number(QStringLiteral("Home_Dist")));
    }
    home.close();

    host.SquadronsRS =
        Recordset::open(host.SquadronsDB, QStringLiteral("SELECT * FROM AllSquadrons WHERE Squad_District = ") +
                                              QString::number(model.DistrictNo));
    check(host.SquadronsRS);
    host.MembersRS = Recordset::open(host.HostDB, QStringLiteral("SELECT * FROM Members ORDER BY Last, First"));
    check(host.MembersRS);
    host.MemberComRS = Recordset::open(
        host.HostDB, QStringLiteral("SELECT * FROM MemberCom WHERE NewOD = False ORDER BY Department, Position"));
    check(host.MemberComRS);

    if (showMessage && !failure.isEmpty()) {
        prompt.warning(QStringLiteral("Data tables and variables derived from Rostrel could not be refreshed:\n") +
                       failure);
    } else if (showMessage) {
        prompt.information(QStringLiteral("Data tables and variables derived from Rostrel have been refreshed\n"
                                          "If changes made in Rostrel affect member's data, they must be reentered\n"
                                          "in the appropriate grid for the changes to become effective."));
    }
    return failure.isEmpty();
}

bool ShowHostFailures(HostSession& session, Prompt& prompt, qsizetype before)
{
    const QStringList failures = session.host.HostDB.takeFailures();
    if (failures.isEmpty())
        return false;
    QStringList texts = failures;
    texts.removeDuplicates();
    prompt.warning(QStringLiteral("Rostrel could not answer; the report keeps the values it had:\n") +
                   texts.join(QLatin1Char('\n')));
    return failures.size() > before;
}

void FillMemberList(HostSession& session, QList<qint32>& MemberIDs, QStringList& entries)
{
    // The list needs four fields of every member: they are read alone, in the order of MembersRS, which is then
    // left unread until a look-up needs it (a district's member table is large). When that statement fails,
    // MembersRS itself is read.
    Recordset narrow = Recordset::open(session.host.HostDB, QStringLiteral("SELECT Mem_ID, Last, First, Squadron "
                                                                           "FROM Members ORDER BY Last, First"));
    Recordset& members = narrow.isOpen() && narrow.failure().isEmpty() ? narrow : session.host.MembersRS;
    if (!members.isOpen() || members.isEmpty())
        return;
    const bool district = session.model.SquadronName == QLatin1String("District");
    Recordset& squadrons = session.host.SquadronsRS;
    MemberIDs = QList<qint32>(members.recordCount() + 1, 0);
    entries.clear();
    entries.reserve(members.recordCount());
    members.moveFirst();
    for (int k = 1; !members.eof(); ++k, members.moveNext()) {
        QString text = trimBlanks(members.text(QStringLiteral("Last"))) + QLatin1String(", ") +
                       trimBlanks(members.text(QStringLiteral("First")));
        if (district && squadrons.isOpen() &&
            squadrons.findFirst(QStringLiteral("Squad_No = ") +
                                QString::number(members.number(QStringLiteral("Squadron"))))) {
            text += QLatin1String("  (") + trimBlanks(squadrons.text(QStringLiteral("Squad_Code"))) + QLatin1Char(')');
        }
        entries << text;
        MemberIDs[k] = toLong(members.number(QStringLiteral("Mem_ID")));
    }
}

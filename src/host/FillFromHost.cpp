#include "host/FillFromHost.h"

#include "base/Prompt.h"
#include "base/Text.h"
#include "host/HostData.h"
#include "host/HostSession.h"
#include "host/HostShortcuts.h"
#include "host/LookupDetail.h"
#include "host/MemberStats.h"
#include "store/DateText.h"

namespace {

// Writes the host's counts of the group's courses; courses the host does not record keep their values.
void fillCourses(HostSession& session, CourseGroup group)
{
    QStringList fields;
    QList<int> courses;
    for (int i = 0; i < courseCount(group); ++i) {
        const QString field = courseHostField(group, i);
        if (field.isEmpty())
            continue;
        fields << field;
        courses << i;
    }
    const QList<qint32> counts = FindCourseCompletions(session, fields);
    for (qsizetype k = 0; k < courses.size(); ++k)
        courseValue(session.model, group, courses.at(k)) = counts.at(k);
}

// Before the member recordset has been read, asks the host once for every member the Fill will look up: the
// officers' holders, the submitting officer's candidates and the members of the three lists. A member the Fill
// then looks up is found among them (unless several rows hold the number); the member table is not read whole.
void prefetchMembers(HostSession& session, const std::vector<LookupDetail::OfficerHolder>& holders,
                     std::initializer_list<Recordset*> lists)
{
    Recordset& members = session.host.MembersRS;
    if (!HostShortcuts::enabled() || !members.isOpen() || members.isLoaded())
        return;
    QList<qint64> ids;
    for (const LookupDetail::OfficerHolder& holder : holders)
        ids << holder.memId;
    ids << LookupDetail::historianCandidates(session);
    for (Recordset* rows : lists)
        ids << LookupDetail::categoryMemberIds(*rows);
    members.prefetch(QStringLiteral("Mem_ID"), ids);
}

} // namespace

FillOutcome FillFromHost(HostSession& session, Prompt& prompt)
{
    FillOutcome outcome;
    const DateGuard guard = NoDate(session.model, prompt);
    if (guard) {
        outcome.focus = guard.focus;
        return outcome;
    }
    if (prompt.question(QStringLiteral("This action will overwrite data in affected fields. Continue?"),
                        Prompt::Buttons::YesNo, QStringLiteral("Fill from Rostrel")) != Prompt::Answer::Yes)
        return outcome;
    const qsizetype failures = session.host.HostDB.failureCount();

    // The rows of the officer list, the two assignment lists and the new senior members are found first, so
    // that the members they name can be asked for together; they are written in the order of the steps.
    const std::vector<LookupDetail::OfficerHolder> holders = LookupDetail::officerHolders(session);
    Recordset district = LookupDetail::assignmentRows(session, QStringLiteral("D"));
    Recordset national = LookupDetail::assignmentRows(session, QStringLiteral("N"));
    LookupDetail::NewSeniors seniors = LookupDetail::newSeniorRows(session);
    prefetchMembers(session, holders, {&district, &national, &seniors.rows});

    LookupDetail::setOfficerHolders(session, holders);
    outcome.historian = FindHistorian(session);
    LookupDetail::fillAssignments(session, district, 1);
    LookupDetail::fillAssignments(session, national, 2);
    FindActMem(session);
    FindMM(session);
    session.model.NoSenior = LookupDetail::fillNewSeniors(session, seniors);
    fillCourses(session, CourseGroup::AG);
    fillCourses(session, CourseGroup::EG);
    fillCourses(session, CourseGroup::OC);
    outcome.filled = true;
    outcome.hostFailed = ShowHostFailures(session, prompt, failures);
    return outcome;
}

LoadLookupsOutcome LoadTimeLookups(HostSession& session, bool archive, const QDate& today)
{
    ReportModel& model = session.model;
    LoadLookupsOutcome outcome;
    if (model.NoActive == 0)
        FindActMem(session);
    if (model.SubDate.isEmpty()) {
        model.SubDate = DateText::displayText(today);
        outcome.subDateSet = true;
    }
    if (model.NoMM == 0)
        FindMM(session);
    if (!archive &&
        trimBlanks(MemberFullName(model.SubOLast, model.SubOFirst, model.SubOGrade, model.SubORank)).isEmpty())
        outcome.historian = FindHistorian(session);
    return outcome;
}

LoadLookupsOutcome LoadTimeLookups(HostSession& session, bool archive, Prompt& prompt, const QDate& today)
{
    const qsizetype failures = session.host.HostDB.failureCount();
    LoadLookupsOutcome outcome = LoadTimeLookups(session, archive, today);
    outcome.hostFailed = ShowHostFailures(session, prompt, failures);
    return outcome;
}

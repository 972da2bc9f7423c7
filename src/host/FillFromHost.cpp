#include "host/FillFromHost.h"

#include "app/Prompt.h"
#include "app/Session.h"
#include "host/HostData.h"
#include "host/MemberStats.h"
#include "store/DateText.h"

namespace {

// Writes the host's counts of the group's courses; courses the host does not record keep their values.
void fillCourses(Session& session, CourseGroup group)
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

} // namespace

FillOutcome FillFromHost(Session& session, Prompt& prompt)
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

    OfficersFromHost(session);
    outcome.historian = FindHistorian(session);
    FindDNOffices(session, QStringLiteral("D"));
    FindDNOffices(session, QStringLiteral("N"));
    FindActMem(session);
    FindMM(session);
    session.model.NoSenior = FindNewSen(session);
    fillCourses(session, CourseGroup::AG);
    fillCourses(session, CourseGroup::EG);
    fillCourses(session, CourseGroup::OC);
    outcome.filled = true;
    return outcome;
}

LoadLookupsOutcome LoadTimeLookups(Session& session, bool archive, const QDate& today)
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
        MemberFullName(model.SubOLast, model.SubOFirst, model.SubOGrade, model.SubORank).trimmed().isEmpty())
        outcome.historian = FindHistorian(session);
    return outcome;
}

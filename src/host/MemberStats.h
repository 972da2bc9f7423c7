#pragma once

#include <QString>
#include <QStringList>

class Prompt;
struct ReportModel;
struct HostSession;

// The guard of every host query that needs the watch year. missing is true when the from-date or the to-date is
// empty (a stored date that does not read as a date counts as empty); the message has then been shown and focus
// names the date box that wants the focus ("txtFrom" when the from-date is missing, else "txtTo").
struct DateGuard
{
    bool missing = false;
    QString focus;
    explicit operator bool() const { return missing; }
};

DateGuard NoDate(const ReportModel& model, Prompt& prompt);

// The look-ups below do not read a host query that fails as "none": the report keeps its value, which is returned
// where a count is, and the engine's error is noted on the host database (HostDatabase::failed) for the operation
// to show (ShowHostFailures).

// Active members of the squadron (OtherMember empty, MemTypeStat beginning "AC" after trimming its blanks) into
// Misc.No_Active; 0 when the host has none. Returns the count.
qint32 FindActMem(HostSession& session);

// Accepted merit mark recommendations into Misc.No_MM; when there are none (or the host cannot answer) No_MM keeps
// its value and false is returned.
bool FindMM(HostSession& session);

// New senior members: the number of the squadron's members who became senior members in the year the watch year
// begins, and category 7 refilled with the first 24 of them. Without a from-date, or when the host lists none,
// returns 0 and category 7 keeps its entries.
qint32 FindNewSen(HostSession& session);

// The number of the squadron's members whose completion of the course (one of the thirteen course fields of
// Members) lies in the watch year, both months included; 0 without watch dates or for an unknown field.
qint32 FindCourseCompletion(HostSession& session, const QString& field);

// The same counts for several fields at once, each equal to FindCourseCompletion of that field.
QList<qint32> FindCourseCompletions(HostSession& session, const QStringList& fields);

// What a count button leaves for the window: whether the host was asked, the control that wants the focus when
// the watch dates were missing, and the value the count's text box shows. When the host cannot answer, the
// buttons show why and keep the report's value.
struct CountUpdate
{
    bool ran = false;
    QString focus;
    qint32 shown = 0;
};

// cmdActive: asks the host for the active members and, when the number differs, whether to take it.
CountUpdate cmdActiveClick(HostSession& session, Prompt& prompt);
// cmdNewSen: the same for new senior members; category 7 is refilled whatever the answer.
CountUpdate cmdNewSenClick(HostSession& session, Prompt& prompt);
// cmdUpdateMM: the same for accepted merit marks.
CountUpdate cmdUpdateMMClick(HostSession& session, Prompt& prompt);

// The three course sub-groups that the host can count: advanced grades, electives, other courses.
enum class CourseGroup { AG, EG, OC };

// The host field of course i of the group; empty for a course the host does not record (other courses 0 and 3)
// or an index outside the group.
QString courseHostField(CourseGroup group, int course);
int courseCount(CourseGroup group);

// What a course button leaves for the window: whether it ran, the focus wanted by a missing watch date, the course
// and the value its count label shows. The window then recomputes the sub-group and panel totals.
struct CourseUpdate
{
    bool ran = false;
    QString focus;
    int course = -1;
    qint32 shown = 0;
};

// cmdAGdb, cmdECdb, cmdOCdb: selected is the first selected option button of the sub-group (-1: none).
CourseUpdate cmdCourseClick(HostSession& session, CourseGroup group, int selected, Prompt& prompt);
inline CourseUpdate cmdAGdbClick(HostSession& session, int selected, Prompt& prompt)
{
    return cmdCourseClick(session, CourseGroup::AG, selected, prompt);
}
inline CourseUpdate cmdECdbClick(HostSession& session, int selected, Prompt& prompt)
{
    return cmdCourseClick(session, CourseGroup::EG, selected, prompt);
}
inline CourseUpdate cmdOCdbClick(HostSession& session, int selected, Prompt& prompt)
{
    return cmdCourseClick(session, CourseGroup::OC, selected, prompt);
}

// The model's count of course i of the group (AGCount, EGCount, OCCount).
qint32& courseValue(ReportModel& model, CourseGroup group, int course);

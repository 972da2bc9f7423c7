#include "host/MemberStats.h"

#include "base/Prompt.h"
#include "base/Text.h"
#include "host/HostSchema.h"
#include "host/HostSession.h"
#include "host/HostShortcuts.h"
#include "host/LookupDetail.h"
#include "store/DateText.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

namespace {

QString listsText(qint32 n)
{
    return QStringLiteral("Rostrel lists ") + QString::number(n);
}

QString changeQuestion(qint32 n)
{
    return listsText(n) + QStringLiteral(", change current value");
}

const std::array<const char*, 5> kAGFields = {"GH_S", "GH_P", "GH_AP", "GH_JN", "GH_N"};
const std::array<const char*, 6> kEGFields = {"GH_EM", "GH_ME", "GH_SAIL", "GH_W", "ID_001", "GH_CP"};
// nullptr: the host does not record the course.
const std::array<const char*, 4> kOCFields = {nullptr, "GH_OT", "LDP", nullptr};

} // namespace

DateGuard NoDate(const ReportModel& model, Prompt& prompt)
{
    DateGuard guard;
    const bool noFrom = DateText::keyYearMonth(model.FromDate).isEmpty();
    const bool noTo = DateText::keyYearMonth(model.ToDate).isEmpty();
    if (!noFrom && !noTo)
        return guard;
    prompt.plain(QStringLiteral("Cannot search database without watch year dates."));
    guard.missing = true;
    guard.focus = noFrom ? QStringLiteral("txtFrom") : QStringLiteral("txtTo");
    return guard;
}

namespace {

// The rows whose MemTypeStat, trimmed of blanks, begins with "AC" (a tab before it is no blank).
qint32 countActive(Recordset& rs)
{
    qint32 count = 0;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        if (trimBlanks(rs.text(QStringLiteral("MemTypeStat"))).startsWith(QLatin1String("AC")))
            ++count;
    }
    return count;
}

// The same count without reading every member. A stored text that does not begin with a blank begins with "AC"
// after trimming exactly when it does before, which the engine counts (GLOB compares letter case); a number
// never does. A text that begins with a blank loses it to the trimming, and a blob is read as text only here:
// those rows are read and checked as the statement's rows are. Nothing when the engine cannot answer.
std::optional<qint32> countActiveByEngine(const HostDatabase& db)
{
    const QString unusual = QStringLiteral("(typeof(MemTypeStat) = 'blob' OR unicode(MemTypeStat) = 32)");
    const Recordset counts = Recordset::open(
        db, QStringLiteral("SELECT COUNT(CASE WHEN typeof(MemTypeStat) = 'text' AND MemTypeStat GLOB "
                           "'AC*' THEN 1 END) AS Plain, COUNT(CASE WHEN ") +
                unusual + QStringLiteral(" THEN 1 END) AS Unusual FROM Members WHERE OtherMember = NULL"));
    bool ok = false;
    qint64 count = counts.number(QStringLiteral("Plain"), &ok);
    if (!ok)
        return std::nullopt;
    if (counts.number(QStringLiteral("Unusual")) > 0) {
        Recordset rows = Recordset::open(
            db, QStringLiteral("SELECT MemTypeStat FROM Members WHERE OtherMember = NULL AND ") + unusual);
        if (!rows.failure().isEmpty())
            return std::nullopt;
        count += countActive(rows);
    }
    return qint32(count);
}

} // namespace

qint32 FindActMem(HostSession& session)
{
    const HostDatabase& db = session.host.HostDB;
    std::optional<qint32> count;
    if (HostShortcuts::enabled())
        count = countActiveByEngine(db);
    if (!count) {
        Recordset rs = Recordset::open(db, QStringLiteral("SELECT MemTypeStat FROM Members WHERE OtherMember = NULL"));
        if (db.failed(rs))
            return session.model.NoActive;
        count = countActive(rs);
    }
    session.model.NoActive = *count;
    return *count;
}

bool FindMM(HostSession& session)
{
    const QString statement = QStringLiteral("SELECT * FROM MeritMarks WHERE MM_Prec = 'A'");
    // Only the number of rows is wanted.
    const HostDatabase& db = session.host.HostDB;
    qint64 count = HostShortcuts::enabled() ? Recordset::countRows(db, statement) : -1;
    if (count < 0) {
        const Recordset rs = Recordset::open(db, statement);
        if (db.failed(rs))
            return false;
        count = rs.recordCount();
    }
    if (count <= 0)
        return false;
    session.model.NoMM = qint32(std::min<qint64>(count, std::numeric_limits<qint32>::max()));
    return true;
}

namespace {

// The report's count of the course whose completions the host records in the field; 0 for any other field.
qint32 reportCount(ReportModel& model, const QString& field)
{
    for (const CourseGroup group : {CourseGroup::AG, CourseGroup::EG, CourseGroup::OC}) {
        for (int course = 0; course < courseCount(group); ++course) {
            if (courseHostField(group, course) == field)
                return courseValue(model, group, course);
        }
    }
    return 0;
}

} // namespace

qint32 FindCourseCompletion(HostSession& session, const QString& field)
{
    // The field name goes into the statement: only the host's course fields are accepted.
    if (!HostSchema::courseFields().contains(field))
        return 0;
    const QString from = DateText::keyYearMonth(session.model.FromDate);
    const QString to = DateText::keyYearMonth(session.model.ToDate);
    if (from.isEmpty() || to.isEmpty())
        return 0;
    const HostDatabase& db = session.host.HostDB;
    const Recordset rs = Recordset::open(db,
                                         QStringLiteral("SELECT ") + field +
                                             QStringLiteral(" FROM Members WHERE OtherMember = "
                                                            "NULL AND ") +
                                             field + QStringLiteral(" >= ? AND ") + field + QStringLiteral(" <= ?"),
                                         {from, to});
    if (db.failed(rs))
        return reportCount(session.model, field);
    return rs.recordCount();
}

QList<qint32> FindCourseCompletions(HostSession& session, const QStringList& fields)
{
    QList<qint32> counts(fields.size(), 0);
    const QString from = DateText::keyYearMonth(session.model.FromDate);
    const QString to = DateText::keyYearMonth(session.model.ToDate);
    if (from.isEmpty() || to.isEmpty())
        return counts;
    if (!HostShortcuts::enabled()) {
        for (qsizetype k = 0; k < fields.size(); ++k)
            counts[k] = FindCourseCompletion(session, fields.at(k));
        return counts;
    }
    const QStringList known = HostSchema::courseFields();
    QStringList terms;
    QList<qsizetype> columns;
    QVariantList params;
    for (qsizetype k = 0; k < fields.size(); ++k) {
        if (!known.contains(fields.at(k)))
            continue;
        terms << QStringLiteral("COUNT(CASE WHEN %1 >= ? AND %1 <= ? THEN 1 END) AS n%2").arg(fields.at(k)).arg(k);
        columns << k;
        params << from << to;
    }
    if (terms.isEmpty())
        return counts;
    // One pass over the members answers every course with the comparisons of FindCourseCompletion.
    const Recordset rs = Recordset::open(session.host.HostDB,
                                         QStringLiteral("SELECT ") + terms.join(QStringLiteral(", ")) +
                                             QStringLiteral(" FROM Members WHERE OtherMember = NULL"),
                                         params);
    if (!rs.isEmpty()) {
        for (const qsizetype k : columns)
            counts[k] = qint32(rs.number(QStringLiteral("n%1").arg(k)));
        return counts;
    }
    // A host that lacks one of the fields fails the whole statement: then each field is counted alone.
    for (const qsizetype k : columns)
        counts[k] = FindCourseCompletion(session, fields.at(k));
    return counts;
}

namespace LookupDetail {

NewSeniors newSeniorRows(HostSession& session)
{
    NewSeniors seniors;
    const QString year = DateText::keyYear(session.model.FromDate);
    if (year.isEmpty())
        return seniors;
    const HostDatabase& db = session.host.HostDB;
    const QString statement = QStringLiteral("SELECT * FROM Members WHERE OtherMember = NULL AND GH_Senior = ?");
    const int listed = ReportModel::EntriesPerCategory;
    if (HostShortcuts::enabled()) {
        // The category lists the first 24 rows; the engine counts the rest.
        seniors.rows = Recordset::openFirstRows(db, statement, {year}, listed);
        const int read = seniors.rows.recordCount();
        const qint64 count = read < listed ? read : Recordset::countRows(db, statement, {year});
        if (count >= 0) {
            seniors.count = qint32(std::min<qint64>(count, std::numeric_limits<qint32>::max()));
            return seniors;
        }
    }
    seniors.rows = Recordset::open(db, statement, {year});
    seniors.count = seniors.rows.recordCount();
    return seniors;
}

qint32 fillNewSeniors(HostSession& session, NewSeniors& seniors)
{
    if (session.host.HostDB.failed(seniors.rows))
        return session.model.NoSenior;
    if (seniors.rows.isEmpty())
        return 0;
    if (!fillCategory(session, seniors.rows, 7, QStringLiteral("Rank")))
        return session.model.NoSenior;
    return seniors.count;
}

} // namespace LookupDetail

qint32 FindNewSen(HostSession& session)
{
    LookupDetail::NewSeniors seniors = LookupDetail::newSeniorRows(session);
    return LookupDetail::fillNewSeniors(session, seniors);
}

namespace {

// The common end of the three count buttons: the same number is only told, a different one is offered.
qint32 offer(qint32& value, qint32 old, const QString& sameText, const QString& question, Prompt& prompt)
{
    if (value == old) {
        prompt.plain(sameText);
    } else if (prompt.question(question) != Prompt::Answer::Yes) {
        value = old;
    }
    return value;
}

} // namespace

CountUpdate cmdActiveClick(HostSession& session, Prompt& prompt)
{
    ReportModel& model = session.model;
    const qint32 old = model.NoActive;
    model.NoActive = 0;
    const qsizetype failures = session.host.HostDB.failureCount();
    const qint32 n = FindActMem(session);
    CountUpdate update;
    update.ran = true;
    if (ShowHostFailures(session, prompt, failures)) {
        update.shown = model.NoActive = old;
        return update;
    }
    update.shown =
        offer(model.NoActive, old, listsText(n) + QStringLiteral(" Active Members."), changeQuestion(n), prompt);
    return update;
}

CountUpdate cmdNewSenClick(HostSession& session, Prompt& prompt)
{
    ReportModel& model = session.model;
    CountUpdate update;
    const DateGuard guard = NoDate(model, prompt);
    if (guard) {
        update.focus = guard.focus;
        update.shown = model.NoSenior;
        return update;
    }
    const qint32 old = model.NoSenior;
    const qsizetype failures = session.host.HostDB.failureCount();
    const qint32 n = FindNewSen(session);
    update.ran = true;
    if (ShowHostFailures(session, prompt, failures)) {
        update.shown = old;
        return update;
    }
    model.NoSenior = n;
    update.shown =
        offer(model.NoSenior, old, listsText(n) + QStringLiteral(" new Senior Members"), changeQuestion(n), prompt);
    return update;
}

CountUpdate cmdUpdateMMClick(HostSession& session, Prompt& prompt)
{
    ReportModel& model = session.model;
    const qint32 old = model.NoMM;
    model.NoMM = 0;
    const qsizetype failures = session.host.HostDB.failureCount();
    FindMM(session);
    const qint32 n = model.NoMM;
    CountUpdate update;
    update.ran = true;
    if (ShowHostFailures(session, prompt, failures)) {
        update.shown = model.NoMM = old;
        return update;
    }
    update.shown = offer(model.NoMM, old, listsText(n) + QStringLiteral(" Accepted Recomendations"),
                         listsText(n) + QStringLiteral("'Accepted Recomendations', change current value"), prompt);
    return update;
}

int courseCount(CourseGroup group)
{
    switch (group) {
    case CourseGroup::AG:
        return int(kAGFields.size());
    case CourseGroup::EG:
        return int(kEGFields.size());
    case CourseGroup::OC:
        return int(kOCFields.size());
    }
    return 0;
}

QString courseHostField(CourseGroup group, int course)
{
    if (course < 0 || course >= courseCount(group))
        return {};
    const char* field = nullptr;
    switch (group) {
    case CourseGroup::AG:
        field = kAGFields[std::size_t(course)];
        break;
    case CourseGroup::EG:
        field = kEGFields[std::size_t(course)];
        break;
    case CourseGroup::OC:
        field = kOCFields[std::size_t(course)];
        break;
    }
    return field ? QString::fromLatin1(field) : QString();
}

qint32& courseValue(ReportModel& model, CourseGroup group, int course)
{
    switch (group) {
    case CourseGroup::AG:
        return model.AGCount.at(std::size_t(course));
    case CourseGroup::EG:
        return model.EGCount.at(std::size_t(course));
    case CourseGroup::OC:
        break;
    }
    return model.OCCount.at(std::size_t(course));
}

CourseUpdate cmdCourseClick(HostSession& session, CourseGroup group, int selected, Prompt& prompt)
{
    ReportModel& model = session.model;
    CourseUpdate update;
    const DateGuard guard = NoDate(model, prompt);
    if (guard) {
        update.focus = guard.focus;
        return update;
    }
    if (selected < 0 || selected >= courseCount(group))
        return update;
    update.course = selected;
    qint32& value = courseValue(model, group, selected);
    update.shown = value;
    const QString field = courseHostField(group, selected);
    if (field.isEmpty()) {
        prompt.plain(QStringLiteral("Rostrel does not support data on the selected topic."));
        return update;
    }
    const qint32 old = value;
    const qsizetype failures = session.host.HostDB.failureCount();
    const qint32 n = FindCourseCompletion(session, field);
    update.ran = true;
    if (ShowHostFailures(session, prompt, failures))
        return update;
    value = n;
    update.shown = offer(value, old, listsText(n), changeQuestion(n), prompt);
    return update;
}

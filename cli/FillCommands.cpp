// Commands that change the stored report: Fill from host, and setting single report values.

#include "Cli.h"

#include "app/Session.h"
#include "base/Prompt.h"
#include "base/Text.h"
#include "host/FillFromHost.h"
#include "store/DateText.h"
#include "store/ReportFields.h"
#include "store/ReportIO.h"

#include <QVariant>

#include <limits>
#include <utility>

namespace {

// Loads the report at CurrentDBPath; false (with the reason on stderr) when it cannot be read.
bool load(CliContext& c)
{
    QString why;
    if (LoadReport(*c.session, &why))
        return true;
    *c.err << "r318form-cli: the report file " << c.session->CurrentDBPath << " could not be read: " << why << '\n';
    c.err->flush();
    return false;
}

bool save(CliContext& c)
{
    if (SaveReport(*c.session, *c.prompt))
        return true;
    *c.err << "r318form-cli: the report was not saved\n";
    c.err->flush();
    return false;
}

int fill(CliContext& c)
{
    if (!c.args.isEmpty()) {
        *c.err << "r318form-cli: fill takes no arguments\n";
        return 2;
    }
    Session& session = *c.session;
    if (!load(c))
        return 1;
    // As the window does when it shows the loaded report.
    const bool lookupsFailed = LoadTimeLookups(session, false, *c.prompt).hostFailed;
    // Nobody can answer here: the batch prompt answers the question Yes and writes every message to stderr,
    // among them the one about missing watch dates.
    const FillOutcome outcome = FillFromHost(session, *c.prompt);
    if (!outcome.filled) {
        *c.err << "r318form-cli: nothing was filled or saved\n";
        return 2;
    }
    if (!save(c))
        return 1;
    const ReportModel& m = session.model;
    *c.out << "Filled from Rostrel and saved " << session.CurrentDBPath << '\n'
           << "Submitting officer: " << MemberFullName(m.SubOLast, m.SubOFirst, m.SubOGrade, m.SubORank).trimmed()
           << (m.SubOTitle.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(m.SubOTitle)) << '\n'
           << "Active members: " << m.NoActive << '\n'
           << "Merit marks: " << m.NoMM << '\n'
           << "New senior members: " << m.NoSenior << '\n';
    // A host query that failed left its values as they were: the run did not do all it was asked to.
    if (outcome.hostFailed || lookupsFailed) {
        *c.err << "r318form-cli: some values could not be read from the host and kept their old values\n";
        return 1;
    }
    return 0;
}

// ---- set ----

using ReportFields::Field;
using ReportFields::Kind;

// Every value of the one-row tables a user may set: Misc (but for the squadron identity, which comes from
// the host), Education and Activities.
bool settable(const Field& f)
{
    return f.role == ReportFields::Role::Report || f.role == ReportFields::Role::Address;
}

bool allDigits(const QString& s)
{
    for (const QChar ch : s) {
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return false;
    }
    return true;
}

// The value as the window stores it, or the reason it is refused.
bool parseValue(const Field& field, const QString& raw, QVariant* value, QString* why)
{
    const QString v = raw.trimmed();
    switch (field.kind) {
    case Kind::Date: {
        if (v.isEmpty()) {
            *value = QString();
            return true;
        }
        const QString stored = allDigits(v) ? DateText::fromDigits(v) : QString();
        if (stored.isEmpty()) {
            *why = QStringLiteral("\"%1\" is no date: give the date as typed into the date box, mmddyy (4 to 6 "
                                  "digits, such as 090119 for Sep 1, 2019), or an empty value to clear it")
                       .arg(raw);
            return false;
        }
        *value = stored;
        return true;
    }
    case Kind::Long: {
        bool ok = true;
        const qint64 n = v.isEmpty() ? 0 : v.toLongLong(&ok);
        if (!ok || !allDigits(v) || n > std::numeric_limits<qint32>::max()) {
            *why = QStringLiteral("\"%1\" is no count: give a whole number from 0 to %2")
                       .arg(raw)
                       .arg(std::numeric_limits<qint32>::max());
            return false;
        }
        *value = qint32(n);
        return true;
    }
    case Kind::Boolean: {
        const QString f = v.toLower();
        if (f == QLatin1String("true") || f == QLatin1String("yes") || f == QLatin1String("1")) {
            *value = true;
            return true;
        }
        if (f == QLatin1String("false") || f == QLatin1String("no") || f == QLatin1String("0")) {
            *value = false;
            return true;
        }
        *why = QStringLiteral("\"%1\" is neither true nor false (give true, false, yes, no, 1 or 0)").arg(raw);
        return false;
    }
    case Kind::Text:
    case Kind::Memo: {
        // As typed into the window: every double quote becomes an apostrophe; stored without leading and
        // trailing blanks.
        QString t = trimBlanks(raw);
        t.replace(QLatin1Char('"'), QLatin1Char('\''));
        *value = t;
        return true;
    }
    }
    return false;
}

int set(CliContext& c)
{
    if (c.args.isEmpty() || c.args.size() % 2 != 0) {
        *c.err << "r318form-cli: set takes pairs of FIELD VALUE, such as: set Misc.From_Date 090119 "
                  "Misc.No_Active 42\n";
        return 2;
    }
    Session& session = *c.session;
    if (!load(c))
        return 1;
    ReportModel& model = session.model;

    // Every pair is checked before anything changes: a refused pair leaves the report as it was.
    QList<std::pair<const Field*, QVariant>> changes;
    QStringList refused;
    bool unknown = false;
    for (qsizetype i = 0; i < c.args.size(); i += 2) {
        const QString& name = c.args.at(i);
        const Field* field = ReportFields::find(name);
        if (!field || !settable(*field)) {
            refused << QStringLiteral("unknown field %1").arg(name);
            unknown = true;
            continue;
        }
        QVariant value;
        QString why;
        if (!parseValue(*field, c.args.at(i + 1), &value, &why))
            refused << QStringLiteral("%1: %2").arg(field->qualifiedName(), why);
        else
            changes.append({field, value});
    }
    if (!refused.isEmpty()) {
        for (const QString& line : refused)
            *c.err << "r318form-cli: " << line << '\n';
        *c.err << "r318form-cli: nothing was saved\n";
        if (unknown) {
            *c.err << "r318form-cli: the fields are:\n";
            for (const Field& f : ReportFields::all()) {
                if (settable(f))
                    *c.err << "  " << f.qualifiedName() << '\n';
            }
        }
        return 2;
    }

    for (const auto& [field, value] : changes) {
        field->setIn(model, value);
        const QString shown = field->kind == Kind::Boolean
                                  ? (value.toBool() ? QStringLiteral("True") : QStringLiteral("False"))
                                  : value.toString();
        *c.out << field->qualifiedName() << " = " << shown << '\n';
        // The from-date box recomputes the history year when it loses the focus.
        if (field->in(model) == ReportFields::Ref(&model.FromDate)) {
            const QString year = DateText::reportYearFor(model.FromDate);
            if (!year.isEmpty()) {
                model.ReportYear = year;
                *c.out << "Misc.Year = " << year << '\n';
            }
        }
    }
    return save(c) ? 0 : 1;
}

const CliRegistrar fillCommand({"fill", true, fill,
                                "fill                   load the report, fill it from the host and save it"});
const CliRegistrar setCommand({"set", true, set,
                               "set FIELD VALUE...     set report values (Misc.From_Date 090119, Misc.No_MM 12, "
                               "Activities.Meetings \"text\") and save"});

} // namespace

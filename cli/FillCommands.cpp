// Commands that change the stored report: Fill from host, and setting single report values.

#include "Cli.h"

#include "app/Session.h"
#include "base/Prompt.h"
#include "host/FillFromHost.h"
#include "store/DateText.h"
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
    LoadTimeLookups(session, false, *c.prompt);
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
    return 0;
}

// ---- set ----

enum class Kind { Date, Number, Flag, Text };

struct Field
{
    QString name; // "Misc.From_Date"
    Kind kind;
    QString* text = nullptr;
    qint32* number = nullptr;
    bool* flag = nullptr;
};

Field textField(const char* name, QString& value)
{
    return {QString::fromLatin1(name), Kind::Text, &value};
}

Field dateField(const char* name, QString& value)
{
    return {QString::fromLatin1(name), Kind::Date, &value};
}

Field numberField(const char* name, qint32& value)
{
    return {QString::fromLatin1(name), Kind::Number, nullptr, &value};
}

Field flagField(const char* name, bool& value)
{
    return {QString::fromLatin1(name), Kind::Flag, nullptr, nullptr, &value};
}

// Every scalar value of the report that a user may set: the one-row tables Misc (but for the squadron identity,
// which comes from the host), Education and Activities.
QList<Field> settableFields(ReportModel& m)
{
    QList<Field> list{
        dateField("Misc.Sub_Date", m.SubDate),
        dateField("Misc.From_Date", m.FromDate),
        dateField("Misc.To_Date", m.ToDate),
        textField("Misc.Year", m.ReportYear),
        numberField("Misc.No_MM", m.NoMM),
        flagField("Misc.Incorp", m.Incorp),
        numberField("Misc.No_Active", m.NoActive),
        numberField("Misc.No_Senior", m.NoSenior),
        textField("Misc.SubO_Cert", m.SubOCert),
        textField("Misc.SubO_Last", m.SubOLast),
        textField("Misc.SubO_First", m.SubOFirst),
        textField("Misc.SubO_Grade", m.SubOGrade),
        textField("Misc.SubO_Rank", m.SubORank),
        textField("Misc.SubO_Address", m.SubOAddress),
        textField("Misc.SubO_City", m.SubOCity),
        textField("Misc.SubO_State", m.SubOState),
        textField("Misc.SubO_Zip", m.SubOZip),
        textField("Misc.SubO_Title", m.SubOTitle),
        textField("Misc.SubO_Phone", m.SubOPhone),
        textField("Misc.SubO_Email", m.SubOEmail),
        textField("Misc.PubName", m.PubName),
        textField("Misc.SubmitURL", m.SubmitURL),
        numberField("Education.AG_S", m.AGCount[0]),
        numberField("Education.AG_P", m.AGCount[1]),
        numberField("Education.AG_AP", m.AGCount[2]),
        numberField("Education.AG_JN", m.AGCount[3]),
        numberField("Education.AG_N", m.AGCount[4]),
        numberField("Education.EG_EM", m.EGCount[0]),
        numberField("Education.EG_ME", m.EGCount[1]),
        numberField("Education.EG_SA", m.EGCount[2]),
        numberField("Education.EG_WE", m.EGCount[3]),
        numberField("Education.EG_ID", m.EGCount[4]),
        numberField("Education.EG_CP", m.EGCount[5]),
        numberField("Education.PB_CBC", m.BCCount[0]),
        numberField("Education.PB_HWC", m.BCCount[1]),
        numberField("Education.PB_SBC", m.BCCount[2]),
        numberField("Education.PB_DR", m.OCCount[0]),
        numberField("Education.OC_OT", m.OCCount[1]),
        numberField("Education.OC_LD", m.OCCount[2]),
        numberField("Education.OC_Sem", m.OCCount[3]),
        flagField("Education.PB_KUR", m.FromKUR),
    };
    const char* activities[ReportModel::ActivityCount] = {"Meetings",  "Cruise",    "CoopChart", "District", "National",
                                                          "Community", "OtherPart", "Award_D",   "Award_N",  "Award_C",
                                                          "Award_O",   "VSC",       "Award_S"};
    for (int k = 0; k < ReportModel::ActivityCount; ++k)
        list << Field{QStringLiteral("Activities.") + QLatin1String(activities[k]), Kind::Text, &m.ActivityText[k]};
    return list;
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
    case Kind::Number: {
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
    case Kind::Flag: {
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
    case Kind::Text: {
        // As typed into the window: every double quote becomes an apostrophe; stored trimmed.
        QString t = v;
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
    const QList<Field> fields = settableFields(model);

    // Every pair is checked before anything changes: a refused pair leaves the report as it was.
    QList<std::pair<const Field*, QVariant>> changes;
    QStringList refused;
    for (qsizetype i = 0; i < c.args.size(); i += 2) {
        const QString& name = c.args.at(i);
        const Field* field = nullptr;
        for (const Field& f : fields) {
            if (f.name.compare(name, Qt::CaseInsensitive) == 0)
                field = &f;
        }
        if (!field) {
            refused << QStringLiteral("unknown field %1").arg(name);
            continue;
        }
        QVariant value;
        QString why;
        if (!parseValue(*field, c.args.at(i + 1), &value, &why))
            refused << QStringLiteral("%1: %2").arg(field->name, why);
        else
            changes.append({field, value});
    }
    if (!refused.isEmpty()) {
        for (const QString& line : refused)
            *c.err << "r318form-cli: " << line << '\n';
        *c.err << "r318form-cli: nothing was saved; the fields are:\n";
        for (const Field& f : fields)
            *c.err << "  " << f.name << '\n';
        return 2;
    }

    for (const auto& [field, value] : changes) {
        switch (field->kind) {
        case Kind::Date:
        case Kind::Text:
            *field->text = value.toString();
            break;
        case Kind::Number:
            *field->number = value.toInt();
            break;
        case Kind::Flag:
            *field->flag = value.toBool();
            break;
        }
        QString shown = field->kind == Kind::Flag ? (value.toBool() ? QStringLiteral("True") : QStringLiteral("False"))
                                                  : value.toString();
        *c.out << field->name << " = " << shown << '\n';
        // The from-date box recomputes the history year when it loses the focus.
        if (field->text == &model.FromDate) {
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

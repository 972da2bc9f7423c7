#include "store/ReportFields.h"

#include <array>

namespace ReportFields {

namespace {

// One row of the list: the column, then the model value behind it.
#define VALUE(table, name, kind, size, role, member)                                                                   \
    Field                                                                                                              \
    {                                                                                                                  \
        table, name, Kind::kind, size, Role::role, #member, -1, [](ReportModel& m) -> Ref {                            \
            return &m.member;                                                                                          \
        }                                                                                                              \
    }
#define ITEM(table, name, kind, list, i)                                                                               \
    Field                                                                                                              \
    {                                                                                                                  \
        table, name, Kind::kind, 0, Role::Report, #list, i, [](ReportModel& m) -> Ref {                                \
            return &m.list[i];                                                                                         \
        }                                                                                                              \
    }

const std::array kFields = {
    VALUE("Misc", "Squadron", Text, 30, Identity, SquadronName),
    VALUE("Misc", "Squad_No", Long, 0, Identity, SquadronNo),
    VALUE("Misc", "District", Long, 0, Identity, DistrictNo),
    VALUE("Misc", "Sub_Date", Date, 20, Report, SubDate),
    VALUE("Misc", "To_Date", Date, 20, Report, ToDate),
    VALUE("Misc", "From_Date", Date, 20, Report, FromDate),
    VALUE("Misc", "Year", Text, 4, Report, ReportYear),
    VALUE("Misc", "No_MM", Long, 0, Report, NoMM),
    VALUE("Misc", "Incorp", Boolean, 0, Report, Incorp),
    VALUE("Misc", "No_Active", Long, 0, Report, NoActive),
    VALUE("Misc", "SubO_Cert", Text, 7, Report, SubOCert),
    VALUE("Misc", "SubO_Last", Text, 25, Report, SubOLast),
    VALUE("Misc", "SubO_First", Text, 16, Report, SubOFirst),
    VALUE("Misc", "SubO_Grade", Text, 2, Report, SubOGrade),
    VALUE("Misc", "SubO_Rank", Text, 8, Report, SubORank),
    VALUE("Misc", "SubO_Address", Text, 60, Report, SubOAddress),
    VALUE("Misc", "SubO_City", Text, 30, Report, SubOCity),
    VALUE("Misc", "SubO_State", Text, 2, Report, SubOState),
    VALUE("Misc", "SubO_Zip", Text, 10, Report, SubOZip),
    VALUE("Misc", "SubO_Title", Text, 25, Report, SubOTitle),
    VALUE("Misc", "SubO_Phone", Text, 12, Report, SubOPhone),
    VALUE("Misc", "SubO_Email", Text, 40, Report, SubOEmail),
    VALUE("Misc", "PubName", Text, 30, Report, PubName),
    VALUE("Misc", "No_Senior", Long, 0, Report, NoSenior),
    Field{"Misc", "Rostrelv6", Kind::Text, 8, Role::Marker, "", -1,
          [](ReportModel&) -> Ref {
              return {};
          }},
    VALUE("Misc", "SubmitURL", Text, 100, Address, SubmitURL),

    ITEM("Education", "AG_S", Long, AGCount, 0),
    ITEM("Education", "AG_P", Long, AGCount, 1),
    ITEM("Education", "AG_AP", Long, AGCount, 2),
    ITEM("Education", "AG_JN", Long, AGCount, 3),
    ITEM("Education", "AG_N", Long, AGCount, 4),
    ITEM("Education", "EG_EM", Long, EGCount, 0),
    ITEM("Education", "EG_ME", Long, EGCount, 1),
    ITEM("Education", "EG_SA", Long, EGCount, 2),
    ITEM("Education", "EG_WE", Long, EGCount, 3),
    ITEM("Education", "EG_ID", Long, EGCount, 4),
    ITEM("Education", "EG_CP", Long, EGCount, 5),
    ITEM("Education", "PB_CBC", Long, BCCount, 0),
    ITEM("Education", "PB_HWC", Long, BCCount, 1),
    ITEM("Education", "PB_SBC", Long, BCCount, 2),
    ITEM("Education", "PB_DR", Long, OCCount, 0),
    ITEM("Education", "OC_Sem", Long, OCCount, 3),
    VALUE("Education", "PB_KUR", Boolean, 0, Report, FromKUR),
    ITEM("Education", "OC_OT", Long, OCCount, 1),
    ITEM("Education", "OC_LD", Long, OCCount, 2),

    ITEM("Activities", "Meetings", Memo, ActivityText, 0),
    ITEM("Activities", "Cruise", Memo, ActivityText, 1),
    ITEM("Activities", "CoopChart", Memo, ActivityText, 2),
    ITEM("Activities", "District", Memo, ActivityText, 3),
    ITEM("Activities", "National", Memo, ActivityText, 4),
    ITEM("Activities", "Community", Memo, ActivityText, 5),
    ITEM("Activities", "OtherPart", Memo, ActivityText, 6),
    ITEM("Activities", "Award_S", Memo, ActivityText, 12),
    ITEM("Activities", "Award_D", Memo, ActivityText, 7),
    ITEM("Activities", "Award_N", Memo, ActivityText, 8),
    ITEM("Activities", "Award_C", Memo, ActivityText, 9),
    ITEM("Activities", "Award_O", Memo, ActivityText, 10),
    ITEM("Activities", "VSC", Memo, ActivityText, 11),
};

#undef VALUE
#undef ITEM

} // namespace

QString Field::qualifiedName() const
{
    return QLatin1String(table) + QLatin1Char('.') + QLatin1String(name);
}

QVariant Field::valueIn(ReportModel& model) const
{
    const Ref place = ref(model);
    if (QString* const* text = std::get_if<QString*>(&place))
        return **text;
    if (qint32* const* number = std::get_if<qint32*>(&place))
        return **number;
    if (bool* const* flag = std::get_if<bool*>(&place))
        return **flag;
    return {};
}

void Field::setIn(ReportModel& model, const QVariant& value) const
{
    const Ref place = ref(model);
    if (QString* const* text = std::get_if<QString*>(&place))
        **text = value.isNull() ? QString() : value.toString();
    else if (qint32* const* number = std::get_if<qint32*>(&place))
        **number = value.toInt();
    else if (bool* const* flag = std::get_if<bool*>(&place))
        **flag = value.toBool();
}

std::span<const Field> all()
{
    return kFields;
}

std::span<const Field> of(const QString& table)
{
    size_t begin = 0;
    while (begin < kFields.size() && table.compare(QLatin1String(kFields[begin].table), Qt::CaseInsensitive) != 0)
        ++begin;
    size_t end = begin;
    while (end < kFields.size() && table.compare(QLatin1String(kFields[end].table), Qt::CaseInsensitive) == 0)
        ++end;
    return std::span<const Field>(kFields).subspan(begin, end - begin);
}

const Field* find(const QString& qualifiedName)
{
    for (const Field& f : kFields) {
        if (f.qualifiedName().compare(qualifiedName, Qt::CaseInsensitive) == 0)
            return &f;
    }
    return nullptr;
}

const Field& activity(int index)
{
    for (const Field& f : of(QStringLiteral("Activities"))) {
        if (f.index == index)
            return f;
    }
    Q_UNREACHABLE();
    return kFields.back();
}

} // namespace ReportFields

#include "store/ReportSchema.h"

#include <QRegularExpression>

namespace ReportSchema {

namespace {

Field text(const char* name, int size)
{
    return {QString::fromLatin1(name), FieldType::Text, size};
}

Field longField(const char* name)
{
    return {QString::fromLatin1(name), FieldType::Long, 0};
}

Field boolean(const char* name)
{
    return {QString::fromLatin1(name), FieldType::Boolean, 0};
}

Field memo(const char* name)
{
    return {QString::fromLatin1(name), FieldType::Memo, 0};
}

std::vector<Table> makeTables()
{
    std::vector<Table> list;
    list.push_back({QStringLiteral("Misc"),
                    {text("Squadron", 30),   longField("Squad_No"),  longField("District"), text("Sub_Date", 20),
                     text("To_Date", 20),    text("From_Date", 20),  text("Year", 4),       longField("No_MM"),
                     boolean("Incorp"),      longField("No_Active"), text("SubO_Cert", 7),  text("SubO_Last", 25),
                     text("SubO_First", 16), text("SubO_Grade", 2),  text("SubO_Rank", 8),  text("SubO_Address", 60),
                     text("SubO_City", 30),  text("SubO_State", 2),  text("SubO_Zip", 10),  text("SubO_Title", 25),
                     text("SubO_Phone", 12), text("SubO_Email", 40), text("PubName", 30),   longField("No_Senior"),
                     text("Rostrelv6", 8),   text("SubmitURL", 100)}});
    list.push_back(
        {QStringLiteral("Education"),
         {longField("AG_S"), longField("AG_P"), longField("AG_AP"), longField("AG_JN"), longField("AG_N"),
          longField("EG_EM"), longField("EG_ME"), longField("EG_SA"), longField("EG_WE"), longField("EG_ID"),
          longField("EG_CP"), longField("PB_CBC"), longField("PB_HWC"), longField("PB_SBC"), longField("PB_DR"),
          longField("OC_Sem"), boolean("PB_KUR"), longField("OC_OT"), longField("OC_LD")}});
    list.push_back({QStringLiteral("Officers"),
                    {text("Cert", 7), text("Last", 25), text("First", 16), text("Rank", 8), text("Grade", 2),
                     text("DBcode", 4), longField("Forder"), text("Office", 75)}});
    list.push_back({QStringLiteral("Recognized"),
                    {text("Cert", 7), text("Last", 25), text("First", 16), text("Rank", 8), text("Grade", 2),
                     text("Office", 75), longField("Category")}});
    list.push_back({QStringLiteral("Activities"),
                    {memo("Meetings"), memo("Cruise"), memo("CoopChart"), memo("District"), memo("National"),
                     memo("Community"), memo("OtherPart"), memo("Award_S"), memo("Award_D"), memo("Award_N"),
                     memo("Award_C"), memo("Award_O"), memo("VSC")}});
    return list;
}

} // namespace

const std::vector<Table>& tables()
{
    static const std::vector<Table> list = makeTables();
    return list;
}

const Table* table(const QString& name)
{
    for (const Table& t : tables()) {
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

const Field* field(const QString& tableName, const QString& fieldName)
{
    const Table* t = table(tableName);
    if (!t)
        return nullptr;
    for (const Field& f : t->fields) {
        if (f.name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return &f;
    }
    return nullptr;
}

QStringList tableNames()
{
    QStringList names;
    for (const Table& t : tables())
        names << t.name;
    return names;
}

QString quoted(const QString& identifier)
{
    QString q = identifier;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

QString declaredType(const Field& f)
{
    switch (f.type) {
    case FieldType::Text:
        return QStringLiteral("VARCHAR(%1)").arg(f.size);
    case FieldType::Long:
        return QStringLiteral("INTEGER");
    case FieldType::Boolean:
        return QStringLiteral("BOOLEAN");
    case FieldType::Memo:
        return QStringLiteral("TEXT");
    }
    return QStringLiteral("TEXT");
}

QString columnSql(const Field& f)
{
    QString sql = quoted(f.name) + QLatin1Char(' ') + declaredType(f);
    if (f.type == FieldType::Text || f.type == FieldType::Memo)
        sql += QStringLiteral(" CHECK (%1 <> '')").arg(quoted(f.name));
    return sql;
}

QString createTableSql(const Table& t)
{
    QStringList columns;
    for (const Field& f : t.fields)
        columns << columnSql(f);
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(t.name), columns.join(QStringLiteral(", ")));
}

int declaredSize(const QString& type)
{
    static const QRegularExpression re(QStringLiteral("^\\s*\\w+\\s*\\(\\s*(\\d+)\\s*\\)\\s*$"));
    const QRegularExpressionMatch m = re.match(type);
    if (!m.hasMatch())
        return 0;
    return m.captured(1).toInt();
}

} // namespace ReportSchema

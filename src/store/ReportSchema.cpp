#include "store/ReportSchema.h"

#include "store/ReportFields.h"

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

// A one-row table as the report's field list describes it.
Table valueTable(const char* name)
{
    Table t{QString::fromLatin1(name), {}};
    for (const ReportFields::Field& f : ReportFields::of(t.name)) {
        switch (f.kind) {
        case ReportFields::Kind::Text:
        case ReportFields::Kind::Date:
            t.fields.push_back(text(f.name, f.size));
            break;
        case ReportFields::Kind::Long:
            t.fields.push_back(longField(f.name));
            break;
        case ReportFields::Kind::Boolean:
            t.fields.push_back({f.fieldName(), FieldType::Boolean, 0});
            break;
        case ReportFields::Kind::Memo:
            t.fields.push_back({f.fieldName(), FieldType::Memo, 0});
            break;
        }
    }
    return t;
}

std::vector<Table> makeTables()
{
    std::vector<Table> list;
    list.push_back(valueTable("Misc"));
    list.push_back(valueTable("Education"));
    list.push_back({QStringLiteral("Officers"),
                    {text("Cert", 7), text("Last", 25), text("First", 16), text("Rank", 8), text("Grade", 2),
                     text("DBcode", 4), longField("Forder"), text("Office", 75)}});
    list.push_back({QStringLiteral("Recognized"),
                    {text("Cert", 7), text("Last", 25), text("First", 16), text("Rank", 8), text("Grade", 2),
                     text("Office", 75), longField("Category")}});
    list.push_back(valueTable("Activities"));
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

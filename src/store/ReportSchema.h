#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The tables and fields of the report database, in creation order. Text fields keep their declared size in
// the file ("VARCHAR(7)"), so that writers read the size they must cut to from the file itself; a CHECK
// refuses zero-length text, so Null is the only empty value a text field can hold.
namespace ReportSchema {

enum class FieldType { Text, Long, Boolean, Memo };

struct Field
{
    QString name;
    FieldType type = FieldType::Text;
    int size = 0; // characters, for Text only
};

struct Table
{
    QString name;
    std::vector<Field> fields;
};

// Misc, Education, Officers, Recognized, Activities: the current schema.
const std::vector<Table>& tables();
const Table* table(const QString& name);
const Field* field(const QString& table, const QString& field);

// The five table names in creation order.
QStringList tableNames();

// "\"Cert\" VARCHAR(7) CHECK (\"Cert\" <> '')": one column, as CREATE TABLE and ALTER TABLE ADD COLUMN take it.
QString columnSql(const Field& field);
QString createTableSql(const Table& table);

// Declared type as the file keeps it: VARCHAR(n), INTEGER, BOOLEAN or TEXT.
QString declaredType(const Field& field);

// The size n of a declared type "VARCHAR(n)" (any letter case, blanks allowed); 0 when the type has none.
int declaredSize(const QString& declaredType);

// "\"name\"": an identifier quoted for a statement.
QString quoted(const QString& identifier);

// The marker that the upgrade writes into Misc.Rostrelv6.
inline const char* const kSchemaMarker = "7.0.0";

} // namespace ReportSchema

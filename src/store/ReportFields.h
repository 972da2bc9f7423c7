#pragma once

#include "store/ReportModel.h"

#include <QString>
#include <QVariant>

#include <span>
#include <variant>

// The fields of the one-row tables Misc, Education and Activities, each described once: its column (name,
// declared type and size, in creation order) and the model value it holds. Creating the tables, loading,
// saving, clearing and the batch commands all read this list.
namespace ReportFields {

enum class Kind {
    Text,    // VARCHAR(size), cut to its size when saved
    Date,    // VARCHAR(size) holding a date as the window shows it ("Sep 1, 2019")
    Long,    // 32-bit whole number
    Boolean, // True/False, stored as 1/0
    Memo,    // long text; trailing line breaks are dropped when saved
};

enum class Role {
    Report,   // loaded, saved, cleared for a new report, settable
    Address,  // the submission page: loaded, saved and settable, kept for a new report
    Identity, // the squadron's identity: set from the host at start-up, saved, never loaded nor cleared
    Marker,   // the schema marker: written by the upgrade only
};

// Where a field's value lives in the model.
using Ref = std::variant<std::monostate, QString*, qint32*, bool*>;

struct Field
{
    const char* table;
    const char* name;
    Kind kind;
    int size; // characters, for Text and Date
    Role role;
    // The model's name for the value ("SubDate", "AGCount") and, for a list, the index in it (else -1).
    const char* modelName;
    int index;
    Ref (*ref)(ReportModel&);

    QString tableName() const { return QString::fromLatin1(table); }
    QString fieldName() const { return QString::fromLatin1(name); }
    // "Misc.Sub_Date"
    QString qualifiedName() const;
    // The field's place in the model (monostate for the marker).
    Ref in(ReportModel& model) const { return ref(model); }
    // The model's value of the field: a text, a number or a Boolean; an invalid value for the marker.
    QVariant valueIn(ReportModel& model) const;
    // Sets the model's value of the field from a value of its kind; a null value empties it.
    void setIn(ReportModel& model, const QVariant& value) const;
    bool isText() const { return kind == Kind::Text || kind == Kind::Date || kind == Kind::Memo; }
};

// Every field of Misc, Education and Activities, table by table in creation order.
std::span<const Field> all();
// The fields of one table ("Misc", "Education" or "Activities"; any letter case), in creation order.
std::span<const Field> of(const QString& table);
// The field "Table.Name" (any letter case), or null.
const Field* find(const QString& qualifiedName);
// The Activities field that holds ActivityText[index].
const Field& activity(int index);

} // namespace ReportFields

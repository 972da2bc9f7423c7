#include "store/ReportIO.h"

#include "base/Prompt.h"
#include "store/OfficeCatalogue.h"
#include "store/ReportFields.h"
#include "store/ReportFiles.h"
#include "store/ReportSchema.h"
#include "store/ReportSession.h"
#include "store/ReportValues.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <map>

namespace {

using ReportValues::text;

bool fail(QString* why, const QString& reason)
{
    if (why && why->isEmpty())
        *why = reason;
    return false;
}

QString missingTable(const QString& table)
{
    return QStringLiteral("the table %1 is missing").arg(table);
}

QString missingField(const QString& table, const QString& field)
{
    return QStringLiteral("the table %1 has no field %2").arg(table, field);
}

// Reads fields of the current row by name; a missing field reads as Null and is remembered.
class RowReader
{
public:
    RowReader(const QSqlQuery& query, const QString& table) : m_query(query), m_record(query.record()), m_table(table)
    {
    }

    QVariant value(const char* field) { return value(QString::fromLatin1(field)); }
    QVariant value(const QString& name)
    {
        const int i = m_record.indexOf(name);
        if (i < 0) {
            if (m_missing.isEmpty())
                m_missing = missingField(m_table, name);
            return {};
        }
        return m_query.value(i);
    }
    QString text(const char* field) { return ReportValues::text(value(field)); }
    qint32 number(const char* field) { return ReportValues::number(value(field)); }
    bool boolean(const char* field) { return ReportValues::boolean(value(field)); }
    QString missing() const { return m_missing; }

private:
    const QSqlQuery& m_query;
    QSqlRecord m_record;
    QString m_table;
    QString m_missing;
};

// Opens the report file for a load: it must exist (a missing file is never created by a load).
bool openForLoad(ReportConnection& db, QString* why)
{
    if (!ReportFiles::current().exists(db.path()))
        return fail(why, QStringLiteral("the file does not exist"));
    if (!db.isOpen())
        return fail(why, db.error());
    return true;
}

// Reads the first row of a one-row table; false (with the reason) when the table or its row is missing.
bool firstRow(ReportConnection& db, QSqlQuery& q, const QString& table, QString* why)
{
    if (!db.run(q, QStringLiteral("SELECT * FROM %1 ORDER BY rowid LIMIT 1").arg(ReportSchema::quoted(table))))
        return fail(why, db.hasTable(table) ? db.error() : missingTable(table));
    if (!q.next())
        return fail(why, QStringLiteral("the table %1 has no row").arg(table));
    return true;
}

QString saveReason(const ReportConnection& db)
{
    switch (db.errorCode()) {
    case SqlResult::Busy:
    case SqlResult::Locked:
        return QStringLiteral("the file is locked by another program");
    case SqlResult::ReadOnly:
        return QStringLiteral("the file is read-only");
    case SqlResult::DiskFull:
        return QStringLiteral("the disk is full");
    case SqlResult::CannotOpen:
        return QStringLiteral("the file cannot be opened (%1)").arg(db.error());
    default:
        return db.error();
    }
}

// Removes every trailing line feed and carriage return.
void chopLineBreaks(QString& text)
{
    qsizetype n = text.size();
    while (n > 0 && (text.at(n - 1) == QLatin1Char('\n') || text.at(n - 1) == QLatin1Char('\r')))
        --n;
    if (n != text.size())
        text.truncate(n);
}

} // namespace

// ---------------------------------------------------------------------------------------------- loading

bool LoadOfficers(ReportSession& session, QString* why)
{
    ReportConnection db(session.CurrentDBPath);
    if (!openForLoad(db, why))
        return false;
    QSqlQuery q(db.database());
    if (!db.run(q, QStringLiteral("SELECT * FROM Officers ORDER BY Forder, rowid")))
        return fail(why,
                    db.hasTable(QStringLiteral("Officers")) ? db.error() : missingTable(QStringLiteral("Officers")));

    QList<Officer> lines;
    RowReader row(q, QStringLiteral("Officers"));
    while (q.next()) {
        Officer o;
        o.Order = row.number("Forder");
        o.Title = row.text("Office");
        o.Code = row.text("DBcode");
        o.Heading = IsHeadingCode(o.Code);
        o.Cert = row.text("Cert");
        o.Last = row.text("Last");
        o.First = row.text("First");
        o.Rank = row.text("Rank");
        o.Grade = row.text("Grade");
        lines.append(std::move(o));
    }
    if (!row.missing().isEmpty())
        return fail(why, row.missing());
    // An empty table leaves the officer list as it was.
    if (!lines.isEmpty())
        session.model.Officers = std::move(lines);
    return true;
}

bool LoadRecognized(ReportSession& session, QString* why)
{
    ReportModel& m = session.model;
    for (int c = 1; c <= ReportModel::CategoryCount; ++c)
        m.clearCategory(c);

    ReportConnection db(session.CurrentDBPath);
    if (!openForLoad(db, why))
        return false;
    QSqlQuery q(db.database());
    if (!db.run(q, QStringLiteral("SELECT * FROM Recognized WHERE Last IS NOT NULL "
                                  "ORDER BY Category, Last COLLATE NOCASE, rowid")))
        return fail(why, db.hasTable(QStringLiteral("Recognized")) ? db.error()
                                                                   : missingTable(QStringLiteral("Recognized")));
    RowReader row(q, QStringLiteral("Recognized"));
    int current = -1;
    int counter = 0;
    while (q.next()) {
        const qint32 category = row.number("Category");
        if (category != current) {
            current = category;
            counter = 0;
        }
        ++counter;
        // Rows outside the seven lists, and beyond 24 in a list, are not held.
        if (category < 1 || category > ReportModel::CategoryCount || counter > ReportModel::EntriesPerCategory)
            continue;
        RecognizedEntry& e = m.entry(category, counter);
        e.Cert = row.text("Cert");
        e.Last = row.text("Last");
        e.First = row.text("First");
        e.Rank = row.text("Rank");
        e.Grade = row.text("Grade");
        e.Office = row.text("Office");
        e.Category = category;
    }
    if (!row.missing().isEmpty())
        return fail(why, row.missing());
    return true;
}

bool LoadScalars(ReportSession& session, QString* why)
{
    ReportConnection db(session.CurrentDBPath);
    if (!openForLoad(db, why))
        return false;
    bool ok = true;
    for (const char* table : {"Education", "Misc", "Activities"}) {
        const QString name = QString::fromLatin1(table);
        QSqlQuery q(db.database());
        if (!firstRow(db, q, name, why)) {
            ok = false;
            continue;
        }
        RowReader row(q, name);
        for (const ReportFields::Field& f : ReportFields::of(name)) {
            if (f.role == ReportFields::Role::Identity || f.role == ReportFields::Role::Marker)
                continue;
            const QVariant value = row.value(f.fieldName());
            f.setIn(session.model, f.isText()                           ? QVariant(ReportValues::text(value))
                                   : f.kind == ReportFields::Kind::Long ? QVariant(ReportValues::number(value))
                                                                        : QVariant(ReportValues::boolean(value)));
        }
        if (!row.missing().isEmpty())
            ok = fail(why, row.missing());
    }
    return ok;
}

bool LoadReport(ReportSession& session, QString* why)
{
    const bool officers = LoadOfficers(session, why);
    const bool recognized = LoadRecognized(session, why);
    const bool scalars = LoadScalars(session, why);
    return officers && recognized && scalars;
}

bool LoadReport(ReportSession& session, Prompt& prompt)
{
    QString why;
    if (LoadReport(session, &why))
        return true;
    prompt.warning(QStringLiteral("The report file %1 could not be read completely: %2.")
                       .arg(QDir::toNativeSeparators(session.CurrentDBPath), why));
    return false;
}

// ---------------------------------------------------------------------------------------------- writing

const ReportConnection::FieldInfo* RowEdit::find(const QString& field) const
{
    const auto it = m_fields->constFind(field.toLower());
    return it == m_fields->constEnd() ? nullptr : &*it;
}

void RowEdit::setValue(const QString& field, const QVariant& value)
{
    if (const ReportConnection::FieldInfo* info = find(field))
        setValue(*info, value);
}

void RowEdit::setValue(const ReportConnection::FieldInfo& field, const QVariant& value)
{
    m_names << field.name;
    m_values << value;
}

void PutText(RowEdit& row, const QString& field, QString& value)
{
    const ReportConnection::FieldInfo* info = row.find(field);
    if (!info)
        return;
    if (value.isEmpty()) {
        row.setValue(*info, QVariant());
        return;
    }
    if (info->size > 0 && value.size() > info->size)
        value.truncate(info->size);
    row.setValue(*info, value);
}

void PutMemo(RowEdit& row, const QString& field, const QString& value)
{
    row.setValue(field, ReportValues::textOrNull(value));
}

struct TableWriter::Cache
{
    std::map<QString, QSqlQuery> statements;
};

TableWriter::TableWriter(ReportConnection& db, const QString& table)
    : m_db(db), m_table(table), m_fields(db.fields(table)), m_cache(new Cache)
{
}

TableWriter::~TableWriter()
{
    delete m_cache;
}

bool TableWriter::readRows()
{
    m_rowsRead = true;
    m_rows.clear();
    QSqlQuery q(m_db.database());
    if (!m_db.run(q, QStringLiteral("SELECT rowid FROM %1 ORDER BY rowid").arg(ReportSchema::quoted(m_table)))) {
        m_error = m_db.hasTable(m_table) ? saveReason(m_db) : missingTable(m_table);
        return false;
    }
    while (q.next())
        m_rows << q.value(0).toLongLong();
    return true;
}

bool TableWriter::update(const RowEdit& row, qint64 rowid)
{
    if (row.names().isEmpty())
        return true;
    if (!m_lastQuery || row.names() != m_lastNames) {
        QStringList sets;
        for (const QString& name : row.names())
            sets << ReportSchema::quoted(name) + QLatin1String(" = ?");
        const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                                .arg(ReportSchema::quoted(m_table), sets.join(QStringLiteral(", ")));
        auto it = m_cache->statements.find(sql);
        if (it == m_cache->statements.end()) {
            QSqlQuery q(m_db.database());
            if (!q.prepare(sql)) {
                m_db.run(q, sql); // records the engine's message
                m_error = saveReason(m_db);
                return false;
            }
            it = m_cache->statements.emplace(sql, std::move(q)).first;
        }
        m_lastNames = row.names();
        m_lastQuery = &it->second;
    }
    QSqlQuery& q = *m_lastQuery;
    for (int i = 0; i < row.values().size(); ++i)
        q.bindValue(i, row.values().at(i));
    q.bindValue(int(row.values().size()), rowid);
    if (q.exec())
        return true;
    m_db.fail(q.lastError());
    m_error = QStringLiteral("the table %1 could not be written: %2").arg(m_table, saveReason(m_db));
    return false;
}

bool WriteReport(ReportSession& session, QString* why)
{
    const QString& path = session.CurrentDBPath;
    const QFileInfo info(path);
    if (!ReportFiles::current().exists(path))
        return fail(why, QStringLiteral("the file does not exist"));
    // A file marked read-only is never written, whoever runs the program.
    if (!info.isWritable() || !info.permission(QFileDevice::WriteOwner))
        return fail(why, QStringLiteral("the file is read-only"));

    ReportConnection db(path);
    if (!db.isOpen() || !db.begin(ReportConnection::Lock::Immediate))
        return fail(why, saveReason(db));

    ReportModel& m = session.model;
    for (QString& t : m.ActivityText)
        chopLineBreaks(t);
    // A statement the engine refuses ends the save: the transaction is rolled back and the file keeps the
    // report it held.
    for (const char* table : {"Misc", "Education", "Activities"}) {
        TableWriter writer(db, QString::fromLatin1(table));
        if (!writer.readRows())
            return fail(why, writer.error());
        if (writer.rows().isEmpty())
            return fail(why, QStringLiteral("the table %1 has no row").arg(QLatin1String(table)));
        RowEdit r = writer.edit();
        for (const ReportFields::Field& f : ReportFields::of(QString::fromLatin1(table))) {
            if (f.role == ReportFields::Role::Marker)
                continue;
            if (f.kind == ReportFields::Kind::Memo)
                PutMemo(r, f.fieldName(), *std::get<QString*>(f.in(m)));
            else if (f.isText())
                PutText(r, f.fieldName(), *std::get<QString*>(f.in(m)));
            else if (f.kind == ReportFields::Kind::Boolean)
                r.setValue(f.fieldName(), f.valueIn(m).toBool() ? 1 : 0);
            else
                r.setValue(f.fieldName(), f.valueIn(m));
        }
        if (!writer.update(r, writer.rows().first()))
            return fail(why, writer.error());
    }
    {
        // The stored order of Officers is Forder order; DBcode, Forder and Office are never written here.
        TableWriter officers(db, QStringLiteral("Officers"));
        if (!officers.readRows())
            return fail(why, officers.error());
        const QList<qint64>& rows = officers.rows();
        for (int i = 1; i <= m.officerCount() && i <= rows.size(); ++i) {
            Officer& o = m.officer(i);
            RowEdit r = officers.edit();
            PutText(r, QStringLiteral("Cert"), o.Cert);
            PutText(r, QStringLiteral("Last"), o.Last);
            PutText(r, QStringLiteral("First"), o.First);
            PutText(r, QStringLiteral("Rank"), o.Rank);
            PutText(r, QStringLiteral("Grade"), o.Grade);
            if (!officers.update(r, rows.at(i - 1)))
                return fail(why, officers.error());
        }
    }
    {
        // Slot n of the table, in stored order, takes entry (category, entry), n = (category - 1) * 24 + entry.
        TableWriter recognized(db, QStringLiteral("Recognized"));
        if (!recognized.readRows())
            return fail(why, recognized.error());
        const QList<qint64>& rows = recognized.rows();
        int n = 0;
        for (int c = 1; c <= ReportModel::CategoryCount; ++c) {
            for (int e = 1; e <= ReportModel::EntriesPerCategory && n < rows.size(); ++e, ++n) {
                RecognizedEntry& entry = m.entry(c, e);
                RowEdit r = recognized.edit();
                PutText(r, QStringLiteral("Cert"), entry.Cert);
                PutText(r, QStringLiteral("Last"), entry.Last);
                PutText(r, QStringLiteral("First"), entry.First);
                PutText(r, QStringLiteral("Rank"), entry.Rank);
                PutText(r, QStringLiteral("Grade"), entry.Grade);
                PutText(r, QStringLiteral("Office"), entry.Office);
                if (!recognized.update(r, rows.at(n)))
                    return fail(why, recognized.error());
            }
        }
    }
    if (!db.commit())
        return fail(why, saveReason(db));
    return true;
}

QString SaveFailureText(const QString& path, const QString& reason)
{
    return QStringLiteral("The report could not be saved in %1: %2.").arg(QDir::toNativeSeparators(path), reason);
}

bool SaveReport(ReportSession& session, Prompt& prompt)
{
    QString why;
    if (WriteReport(session, &why))
        return true;
    prompt.warning(SaveFailureText(session.CurrentDBPath, why));
    return false;
}

bool SaveReportAtExit(ReportSession& session, Prompt& prompt)
{
    for (;;) {
        QString why;
        if (WriteReport(session, &why))
            return true;
        const Prompt::Answer answer =
            prompt.ask({SaveFailureText(session.CurrentDBPath, why) +
                            QStringLiteral("\n\nClick 'Retry' to try again, or 'Cancel' to exit without saving "
                                           "(the changes since the last save are lost)."),
                        {},
                        Prompt::Icon::Warning,
                        Prompt::Buttons::RetryCancel});
        if (answer != Prompt::Answer::Retry)
            return false;
    }
}

void ClearReport(ReportModel& m)
{
    m.Officers.clear();
    for (int c = 1; c <= ReportModel::CategoryCount; ++c)
        m.clearCategory(c);
    for (const ReportFields::Field& f : ReportFields::all()) {
        if (f.role != ReportFields::Role::Report)
            continue;
        f.setIn(m, QVariant());
    }
}

#pragma once

#include "store/ReportConnection.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariantList>

class Prompt;
struct ReportModel;
struct ReportSession;

// Loading the report database at CurrentDBPath into the report model and saving it back. Each operation
// opens and closes the file itself. A load that meets a missing table or field says why in *why and
// returns false; it never ends the program.
bool LoadOfficers(ReportSession& session, QString* why = nullptr);
bool LoadRecognized(ReportSession& session, QString* why = nullptr);
bool LoadScalars(ReportSession& session, QString* why = nullptr);

// LoadOfficers, LoadRecognized and LoadScalars in this order: what revert, closing an archive and a new
// report reload. The first reason is kept; every load runs.
bool LoadReport(ReportSession& session, QString* why = nullptr);
// The same, showing a warning that names the file and the reason when a load fails.
bool LoadReport(ReportSession& session, Prompt& prompt);

// Writes the whole model into CurrentDBPath in one transaction, so the file holds the old or the new report,
// never a mix. A field the file lacks is skipped; anything else that fails (file gone, read-only, locked, a
// table missing or without its row, a statement the engine refuses, disk full, the commit) rolls the whole
// save back and returns false with the reason; nothing is shown.
bool WriteReport(ReportSession& session, QString* why = nullptr);

// WriteReport, showing a warning that names the file and the reason when it fails.
bool SaveReport(ReportSession& session, Prompt& prompt);

// The save when the program ends: while it fails, asks whether to try again or to exit without saving.
// True when the report was saved; false when the user chose to exit without saving.
bool SaveReportAtExit(ReportSession& session, Prompt& prompt);

// Empties the model for a new report; SubmitURL and the squadron identity stay.
void ClearReport(ReportModel& model);

// The texts shown when a save fails.
QString SaveFailureText(const QString& path, const QString& reason);

// One row being edited: the values set so far, written by TableWriter::update. A field the table does not
// have is skipped (a failing single write).
class RowEdit
{
public:
    explicit RowEdit(const QHash<QString, ReportConnection::FieldInfo>& fields) : m_fields(&fields) {}

    bool has(const QString& field) const { return find(field) != nullptr; }
    // The field's declared size (0 when it has none or is missing).
    int size(const QString& field) const
    {
        const ReportConnection::FieldInfo* info = find(field);
        return info ? info->size : 0;
    }
    void setValue(const QString& field, const QVariant& value);
    // The field as the file declares it, or null when the table lacks it.
    const ReportConnection::FieldInfo* find(const QString& field) const;
    void setValue(const ReportConnection::FieldInfo& field, const QVariant& value);

    const QStringList& names() const { return m_names; }
    const QVariantList& values() const { return m_values; }

private:
    const QHash<QString, ReportConnection::FieldInfo>* m_fields;
    QStringList m_names;
    QVariantList m_values;
};

// Stores one text: Null when empty; a text longer than the field's size is cut to it first, and the
// caller's variable (so the model) holds the cut text afterwards.
void PutText(RowEdit& row, const QString& field, QString& value);
// Stores one long text: Null when empty, else unchanged.
void PutMemo(RowEdit& row, const QString& field, const QString& value);

// The writer of one table inside a save: its fields as the file declares them, its rows in stored order,
// and the updates of single rows.
class TableWriter
{
public:
    TableWriter(ReportConnection& db, const QString& table);
    ~TableWriter();
    TableWriter(const TableWriter&) = delete;
    TableWriter& operator=(const TableWriter&) = delete;

    bool exists() const { return !m_fields.isEmpty(); }
    RowEdit edit() const { return RowEdit(m_fields); }
    // Reads the rowids of the table in stored order; false (see error()) when the table cannot be read.
    bool readRows();
    // The rowids read by readRows(), which runs at the first call.
    const QList<qint64>& rows()
    {
        if (!m_rowsRead)
            readRows();
        return m_rows;
    }
    // Writes the row; false (see error()) when the engine refused it.
    bool update(const RowEdit& row, qint64 rowid);
    QString error() const { return m_error; }

private:
    struct Cache;
    ReportConnection& m_db;
    QString m_table;
    QHash<QString, ReportConnection::FieldInfo> m_fields;
    QList<qint64> m_rows;
    bool m_rowsRead = false;
    QString m_error;
    Cache* m_cache;
    // The statement of the last update and the fields it sets: the rows of a table set the same fields.
    QStringList m_lastNames;
    QSqlQuery* m_lastQuery = nullptr;
};

#include "SaveFloor.h"

#include "store/ReportFields.h"
#include "store/ReportModel.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QVariant>

#include <sqlite3.h>

#include <map>

namespace {

class Writer
{
public:
    explicit Writer(const QString& path)
    {
        if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            m_ok = false;
    }
    ~Writer()
    {
        for (auto& [sql, stmt] : m_statements)
            sqlite3_finalize(stmt);
        sqlite3_close(m_db);
    }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    bool ok() const { return m_ok; }

    void exec(const char* sql) { m_ok = m_ok && sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

    QList<qint64> rowids(const char* table)
    {
        QList<qint64> ids;
        sqlite3_stmt* stmt = nullptr;
        const QByteArray sql = QByteArray("SELECT rowid FROM ") + table + " ORDER BY rowid";
        if (sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr) == SQLITE_OK) {
            while (sqlite3_step(stmt) == SQLITE_ROW)
                ids << sqlite3_column_int64(stmt, 0);
        }
        sqlite3_finalize(stmt);
        return ids;
    }

    // UPDATE table SET fields... WHERE rowid = id, texts empty as Null.
    void update(const char* table, const QStringList& fields, const QVariantList& values, qint64 rowid)
    {
        if (!m_ok)
            return;
        QByteArray sql = QByteArray("UPDATE ") + table + " SET ";
        for (qsizetype i = 0; i < fields.size(); ++i)
            sql += (i ? ", " : "") + fields.at(i).toUtf8() + " = ?";
        sql += " WHERE rowid = ?";
        sqlite3_stmt*& stmt = m_statements[sql];
        if (!stmt && sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK) {
            m_ok = false;
            return;
        }
        sqlite3_reset(stmt);
        for (int i = 0; i < int(values.size()); ++i) {
            const QVariant& v = values.at(i);
            if (v.typeId() == QMetaType::QString) {
                const QString text = v.toString();
                if (text.isEmpty()) {
                    sqlite3_bind_null(stmt, i + 1);
                } else {
                    const QByteArray utf8 = text.toUtf8();
                    sqlite3_bind_text(stmt, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
                }
            } else {
                sqlite3_bind_int64(stmt, i + 1, v.toLongLong());
            }
        }
        sqlite3_bind_int64(stmt, int(values.size()) + 1, rowid);
        m_ok = sqlite3_step(stmt) == SQLITE_DONE;
    }

private:
    sqlite3* m_db = nullptr;
    bool m_ok = true;
    std::map<QByteArray, sqlite3_stmt*> m_statements;
};

} // namespace

bool RunSaveFloor(const QString& path, ReportModel& m)
{
    Writer w(path);
    w.exec("BEGIN IMMEDIATE");
    for (const char* table : {"Education", "Misc", "Activities"}) {
        const QList<qint64> rows = w.rowids(table);
        if (rows.isEmpty())
            continue;
        QStringList names;
        QVariantList values;
        for (const ReportFields::Field& f : ReportFields::of(QString::fromLatin1(table))) {
            if (f.role == ReportFields::Role::Marker)
                continue;
            const QVariant value = f.valueIn(m);
            if (f.isText())
                values << value.toString().left(f.size > 0 ? f.size : -1);
            else
                values << (f.kind == ReportFields::Kind::Boolean ? QVariant(int(value.toBool())) : value);
            names << f.fieldName();
        }
        w.update(table, names, values, rows.first());
    }
    const QList<qint64> officers = w.rowids("Officers");
    for (int i = 1; i <= m.officerCount() && i <= officers.size(); ++i) {
        const Officer& o = m.officer(i);
        w.update("Officers", {"Cert", "Last", "First", "Rank", "Grade"}, {o.Cert, o.Last, o.First, o.Rank, o.Grade},
                 officers.at(i - 1));
    }
    const QList<qint64> recognized = w.rowids("Recognized");
    int n = 0;
    for (int c = 1; c <= ReportModel::CategoryCount; ++c) {
        for (int e = 1; e <= ReportModel::EntriesPerCategory && n < recognized.size(); ++e, ++n) {
            const RecognizedEntry& r = m.entry(c, e);
            w.update("Recognized", {"Cert", "Last", "First", "Rank", "Grade", "Office"},
                     {r.Cert, r.Last, r.First, r.Rank, r.Grade, r.Office}, recognized.at(n));
        }
    }
    w.exec("COMMIT");
    return w.ok();
}

#include "SaveFloor.h"

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

bool RunSaveFloor(const QString& path, const ReportModel& m)
{
    Writer w(path);
    w.exec("BEGIN IMMEDIATE");
    const QList<qint64> education = w.rowids("Education");
    if (!education.isEmpty()) {
        QVariantList v;
        for (const qint32 c : m.AGCount)
            v << c;
        for (const qint32 c : m.EGCount)
            v << c;
        for (const qint32 c : m.BCCount)
            v << c;
        v << m.OCCount[0] << int(m.FromKUR) << m.OCCount[1] << m.OCCount[2] << m.OCCount[3];
        w.update("Education",
                 {"AG_S", "AG_P", "AG_AP", "AG_JN", "AG_N", "EG_EM", "EG_ME", "EG_SA", "EG_WE", "EG_ID", "EG_CP",
                  "PB_CBC", "PB_HWC", "PB_SBC", "PB_DR", "PB_KUR", "OC_OT", "OC_LD", "OC_Sem"},
                 v, education.first());
    }
    const QList<qint64> misc = w.rowids("Misc");
    if (!misc.isEmpty()) {
        w.update("Misc",
                 {"Squadron",   "Squad_No",   "District",     "Sub_Date",  "To_Date",    "From_Date", "Year",
                  "No_MM",      "Incorp",     "No_Active",    "No_Senior", "SubO_Cert",  "SubO_Last", "SubO_First",
                  "SubO_Grade", "SubO_Rank",  "SubO_Address", "SubO_City", "SubO_State", "SubO_Zip",  "SubO_Title",
                  "SubO_Phone", "SubO_Email", "PubName",      "SubmitURL"},
                 {m.SquadronName, m.SquadronNo,  m.DistrictNo,  m.SubDate,  m.ToDate,    m.FromDate, m.ReportYear,
                  m.NoMM,         int(m.Incorp), m.NoActive,    m.NoSenior, m.SubOCert,  m.SubOLast, m.SubOFirst,
                  m.SubOGrade,    m.SubORank,    m.SubOAddress, m.SubOCity, m.SubOState, m.SubOZip,  m.SubOTitle,
                  m.SubOPhone,    m.SubOEmail,   m.PubName,     m.SubmitURL},
                 misc.first());
    }
    const QList<qint64> officers = w.rowids("Officers");
    for (int i = 1; i <= m.OfficerCount && i <= officers.size(); ++i) {
        w.update("Officers", {"Cert", "Last", "First", "Rank", "Grade"},
                 {m.OffCert[i], m.OffLast[i], m.OffFirst[i], m.OffRank[i], m.OffGrade[i]}, officers.at(i - 1));
    }
    const QList<qint64> activities = w.rowids("Activities");
    if (!activities.isEmpty()) {
        QVariantList v;
        for (const QString& t : m.ActivityText)
            v << t;
        w.update("Activities",
                 {"Meetings", "Cruise", "CoopChart", "District", "National", "Community", "OtherPart", "Award_D",
                  "Award_N", "Award_C", "Award_O", "VSC", "Award_S"},
                 v, activities.first());
    }
    const QList<qint64> recognized = w.rowids("Recognized");
    int n = 0;
    for (int c = 1; c <= ReportModel::CategoryCount; ++c) {
        for (int e = 1; e <= ReportModel::EntriesPerCategory && n < recognized.size(); ++e, ++n) {
            w.update("Recognized", {"Cert", "Last", "First", "Rank", "Grade", "Office"},
                     {m.RecCert[c][e], m.RecLast[c][e], m.RecFirst[c][e], m.RecRank[c][e], m.RecGrade[c][e],
                      m.RecOffice[c][e]},
                     recognized.at(n));
        }
    }
    w.exec("COMMIT");
    return w.ok();
}

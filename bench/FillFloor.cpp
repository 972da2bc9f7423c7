#include "FillFloor.h"

#include "BenchHost.h"

#include "host/HostSchema.h"
#include "host/Recordset.h"
#include "store/DateText.h"
#include "store/ReportModel.h"

namespace {

class Runner
{
public:
    explicit Runner(const QString& path) : m_db(path) {}

    int read(const QString& hostStatement, const QStringList& params = {}, int keepRows = 0)
    {
        ++m_run.statements;
        const int rows = m_db.read(translateHostStatement(hostStatement), params, keepRows);
        m_run.rows += rows;
        return rows;
    }
    const QList<QStringList>& firstRows() const { return m_db.firstRows(); }
    QStringList columns() const { return m_db.columns(); }
    FillFloorRun result() const { return m_run; }

private:
    FloorConnection m_db;
    FillFloorRun m_run;
};

// The assignment text's three look-ups, each sent only when the one before found its row.
void findJob(Runner& db, const QString& department, const QString& position, const QString& committee)
{
    if (db.read(QStringLiteral("Select Dep_Title FROM commdept WHERE Dep_Code = ?"), {department}) == 0)
        return;
    if (db.read(QStringLiteral("SELECT Com_Title FROM CommDesc WHERE Com_Code = ?"), {committee}) == 0)
        return;
    db.read(QStringLiteral("SELECT Pos_Title FROM CommPos WHERE Pos_Code = ?"), {position});
}

QString cell(const QStringList& columns, const QStringList& row, const char* field)
{
    const qsizetype c = columns.indexOf(QLatin1String(field));
    return c < 0 ? QString() : row.at(c).trimmed();
}

// A category of the recognition table: the rows of its statement, then the assignment text of each of the first
// 24 rows that name a member.
void category(Runner& db, const QString& statement, const QStringList& params)
{
    db.read(statement, params, 24);
    const QList<QStringList> rows = db.firstRows();
    const QStringList columns = db.columns();
    for (const QStringList& row : rows) {
        if (leadingNumber(cell(columns, row, "Mem_ID")) < 1)
            continue;
        findJob(db, cell(columns, row, "Department"), cell(columns, row, "Position"), cell(columns, row, "Committee"));
    }
}

} // namespace

FillFloorRun RunFillFloor(const QString& primaryPath, const ReportModel& model, bool withRecordsets)
{
    Runner db(primaryPath);
    if (withRecordsets) {
        db.read(QStringLiteral("SELECT * FROM Members ORDER BY Last, First"));
        db.read(QStringLiteral("SELECT * FROM MemberCom WHERE NewOD = False ORDER BY Department, Position"));
    }
    // District and national assignments.
    category(db, QStringLiteral("SELECT * FROM MemberCom WHERE SDN = 'D'"), {});
    category(db, QStringLiteral("SELECT * FROM MemberCom WHERE SDN = 'N'"), {});
    // Active members, merit marks, new senior members.
    db.read(QStringLiteral("SELECT MemTypeStat FROM Members WHERE OtherMember = NULL"));
    db.read(QStringLiteral("SELECT * FROM MeritMarks WHERE MM_Prec = 'A'"));
    category(db, QStringLiteral("SELECT * FROM Members WHERE OtherMember = NULL AND GH_Senior = ?"),
             {DateText::keyYear(model.FromDate)});
    // The thirteen course counts the host records, one statement each.
    const QString from = DateText::keyYearMonth(model.FromDate);
    const QString to = DateText::keyYearMonth(model.ToDate);
    for (const QString& field : HostSchema::courseFields()) {
        db.read(QStringLiteral("SELECT ") + field + QStringLiteral(" FROM Members WHERE OtherMember = NULL AND ") +
                    field + QStringLiteral(" >= ? AND ") + field + QStringLiteral(" <= ?"),
                {from, to});
    }
    return db.result();
}

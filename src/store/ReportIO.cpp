#include "store/ReportIO.h"

#include "base/Prompt.h"
#include "store/ReportSession.h"
#include "store/ReportFiles.h"
#include "store/ReportSchema.h"
#include "store/ReportValues.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>

#include <map>

namespace {

using ReportValues::text;

// Activities fields in the order of ActivityText's index.
const char* const kActivityFields[ReportModel::ActivityCount] = {
    "Meetings", "Cruise",  "CoopChart", "District", "National", "Community", "OtherPart",
    "Award_D",  "Award_N", "Award_C",   "Award_O",  "VSC",      "Award_S"};

const char* const kAgFields[5] = {"AG_S", "AG_P", "AG_AP", "AG_JN", "AG_N"};
const char* const kEgFields[6] = {"EG_EM", "EG_ME", "EG_SA", "EG_WE", "EG_ID", "EG_CP"};
const char* const kBcFields[3] = {"PB_CBC", "PB_HWC", "PB_SBC"};
const char* const kOcFields[4] = {"PB_DR", "OC_OT", "OC_LD", "OC_Sem"};

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

    QVariant value(const char* field)
    {
        const QString name = QString::fromLatin1(field);
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
    case 5:
    case 6:
        return QStringLiteral("the file is locked by another program");
    case 8:
        return QStringLiteral("the file is read-only");
    case 13:
        return QStringLiteral("the disk is full");
    case 14:
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

    struct Line
    {
        QString title, code, cert, last, first, rank, grade;
        qint32 order = 0;
    };
    std::vector<Line> lines;
    RowReader row(q, QStringLiteral("Officers"));
    while (q.next()) {
        Line l;
        l.order = row.number("Forder");
        l.title = row.text("Office");
        l.code = row.text("DBcode");
        l.cert = row.text("Cert");
        l.last = row.text("Last");
        l.first = row.text("First");
        l.rank = row.text("Rank");
        l.grade = row.text("Grade");
        lines.push_back(std::move(l));
    }
    if (!row.missing().isEmpty())
        return fail(why, row.missing());
    // An empty table leaves the officer list as it was.
    if (lines.empty())
        return true;

    ReportModel& m = session.model;
    m.resizeOfficers(int(lines.size()));
    for (int i = 1; i <= m.OfficerCount; ++i) {
        const Line& l = lines[size_t(i - 1)];
        m.OffOrder[i] = l.order;
        m.OffTitle[i] = l.title;
        m.OffCode[i] = l.code;
        m.OffHeading[i] = !l.code.isEmpty() && l.code.at(0) >= QLatin1Char('A');
        m.OffCert[i] = l.cert;
        m.OffLast[i] = l.last;
        m.OffFirst[i] = l.first;
        m.OffRank[i] = l.rank;
        m.OffGrade[i] = l.grade;
    }
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
        m.RecCert[category][counter] = row.text("Cert");
        m.RecLast[category][counter] = row.text("Last");
        m.RecFirst[category][counter] = row.text("First");
        m.RecRank[category][counter] = row.text("Rank");
        m.RecGrade[category][counter] = row.text("Grade");
        m.RecOffice[category][counter] = row.text("Office");
        m.RecCategory[category][counter] = category;
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
    ReportModel& m = session.model;
    bool ok = true;
    {
        QSqlQuery q(db.database());
        if (firstRow(db, q, QStringLiteral("Education"), why)) {
            RowReader row(q, QStringLiteral("Education"));
            for (int i = 0; i < 5; ++i)
                m.AGCount[size_t(i)] = row.number(kAgFields[i]);
            for (int i = 0; i < 6; ++i)
                m.EGCount[size_t(i)] = row.number(kEgFields[i]);
            for (int i = 0; i < 3; ++i)
                m.BCCount[size_t(i)] = row.number(kBcFields[i]);
            for (int i = 0; i < 4; ++i)
                m.OCCount[size_t(i)] = row.number(kOcFields[i]);
            m.FromKUR = row.boolean("PB_KUR");
            if (!row.missing().isEmpty())
                ok = fail(why, row.missing());
        } else {
            ok = false;
        }
    }
    {
        QSqlQuery q(db.database());
        if (firstRow(db, q, QStringLiteral("Misc"), why)) {
            RowReader row(q, QStringLiteral("Misc"));
            m.SubDate = row.text("Sub_Date");
            m.ToDate = row.text("To_Date");
            m.FromDate = row.text("From_Date");
            m.ReportYear = row.text("Year");
            m.NoMM = row.number("No_MM");
            m.NoSenior = row.number("No_Senior");
            m.Incorp = row.boolean("Incorp");
            m.PubName = row.text("PubName");
            m.SubOCert = row.text("SubO_Cert");
            m.SubOLast = row.text("SubO_Last");
            m.SubOFirst = row.text("SubO_First");
            m.SubOGrade = row.text("SubO_Grade");
            m.SubORank = row.text("SubO_Rank");
            m.SubOAddress = row.text("SubO_Address");
            m.SubOCity = row.text("SubO_City");
            m.SubOState = row.text("SubO_State");
            m.SubOZip = row.text("SubO_Zip");
            m.SubOTitle = row.text("SubO_Title");
            m.SubOPhone = row.text("SubO_Phone");
            m.SubOEmail = row.text("SubO_Email");
            m.SubmitURL = row.text("SubmitURL");
            m.NoActive = row.number("No_Active");
            if (!row.missing().isEmpty())
                ok = fail(why, row.missing());
        } else {
            ok = false;
        }
    }
    {
        QSqlQuery q(db.database());
        if (firstRow(db, q, QStringLiteral("Activities"), why)) {
            RowReader row(q, QStringLiteral("Activities"));
            for (int k = 0; k < ReportModel::ActivityCount; ++k)
                m.ActivityText[size_t(k)] = row.text(kActivityFields[k]);
            if (!row.missing().isEmpty())
                ok = fail(why, row.missing());
        } else {
            ok = false;
        }
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

const QList<qint64>& TableWriter::rows()
{
    if (!m_rowsRead) {
        m_rowsRead = true;
        QSqlQuery q(m_db.database());
        if (m_db.run(q, QStringLiteral("SELECT rowid FROM %1 ORDER BY rowid").arg(ReportSchema::quoted(m_table)))) {
            while (q.next())
                m_rows << q.value(0).toLongLong();
        }
    }
    return m_rows;
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
            if (!q.prepare(sql))
                return m_db.run(q, sql); // records the engine's message
            it = m_cache->statements.emplace(sql, std::move(q)).first;
        }
        m_lastNames = row.names();
        m_lastQuery = &it->second;
    }
    QSqlQuery& q = *m_lastQuery;
    for (int i = 0; i < row.values().size(); ++i)
        q.bindValue(i, row.values().at(i));
    q.bindValue(int(row.values().size()), rowid);
    return q.exec();
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
    {
        TableWriter education(db, QStringLiteral("Education"));
        if (!education.rows().isEmpty()) {
            RowEdit r = education.edit();
            for (int i = 0; i < 5; ++i)
                r.setValue(QString::fromLatin1(kAgFields[i]), m.AGCount[size_t(i)]);
            for (int i = 0; i < 6; ++i)
                r.setValue(QString::fromLatin1(kEgFields[i]), m.EGCount[size_t(i)]);
            for (int i = 0; i < 3; ++i)
                r.setValue(QString::fromLatin1(kBcFields[i]), m.BCCount[size_t(i)]);
            r.setValue(QStringLiteral("PB_DR"), m.OCCount[0]);
            r.setValue(QStringLiteral("PB_KUR"), m.FromKUR ? 1 : 0);
            r.setValue(QStringLiteral("OC_OT"), m.OCCount[1]);
            r.setValue(QStringLiteral("OC_LD"), m.OCCount[2]);
            r.setValue(QStringLiteral("OC_Sem"), m.OCCount[3]);
            education.update(r, education.rows().first());
        }
    }
    {
        TableWriter misc(db, QStringLiteral("Misc"));
        if (!misc.rows().isEmpty()) {
            RowEdit r = misc.edit();
            PutText(r, QStringLiteral("Squadron"), m.SquadronName);
            r.setValue(QStringLiteral("Squad_No"), m.SquadronNo);
            r.setValue(QStringLiteral("District"), m.DistrictNo);
            PutText(r, QStringLiteral("Sub_Date"), m.SubDate);
            PutText(r, QStringLiteral("To_Date"), m.ToDate);
            PutText(r, QStringLiteral("From_Date"), m.FromDate);
            PutText(r, QStringLiteral("Year"), m.ReportYear);
            r.setValue(QStringLiteral("No_MM"), m.NoMM);
            r.setValue(QStringLiteral("Incorp"), m.Incorp ? 1 : 0);
            r.setValue(QStringLiteral("No_Active"), m.NoActive);
            r.setValue(QStringLiteral("No_Senior"), m.NoSenior);
            PutText(r, QStringLiteral("SubO_Cert"), m.SubOCert);
            PutText(r, QStringLiteral("SubO_Last"), m.SubOLast);
            PutText(r, QStringLiteral("SubO_First"), m.SubOFirst);
            PutText(r, QStringLiteral("SubO_Grade"), m.SubOGrade);
            PutText(r, QStringLiteral("SubO_Rank"), m.SubORank);
            PutText(r, QStringLiteral("SubO_Address"), m.SubOAddress);
            PutText(r, QStringLiteral("SubO_City"), m.SubOCity);
            PutText(r, QStringLiteral("SubO_State"), m.SubOState);
            PutText(r, QStringLiteral("SubO_Zip"), m.SubOZip);
            PutText(r, QStringLiteral("SubO_Title"), m.SubOTitle);
            PutText(r, QStringLiteral("SubO_Phone"), m.SubOPhone);
            PutText(r, QStringLiteral("SubO_Email"), m.SubOEmail);
            PutText(r, QStringLiteral("PubName"), m.PubName);
            PutText(r, QStringLiteral("SubmitURL"), m.SubmitURL);
            misc.update(r, misc.rows().first());
        }
    }
    {
        // The stored order of Officers is Forder order; DBcode, Forder and Office are never written here.
        TableWriter officers(db, QStringLiteral("Officers"));
        const QList<qint64>& rows = officers.rows();
        for (int i = 1; i <= m.OfficerCount && i <= rows.size(); ++i) {
            RowEdit r = officers.edit();
            PutText(r, QStringLiteral("Cert"), m.OffCert[i]);
            PutText(r, QStringLiteral("Last"), m.OffLast[i]);
            PutText(r, QStringLiteral("First"), m.OffFirst[i]);
            PutText(r, QStringLiteral("Rank"), m.OffRank[i]);
            PutText(r, QStringLiteral("Grade"), m.OffGrade[i]);
            officers.update(r, rows.at(i - 1));
        }
    }
    {
        TableWriter activities(db, QStringLiteral("Activities"));
        for (QString& t : m.ActivityText)
            chopLineBreaks(t);
        if (!activities.rows().isEmpty()) {
            RowEdit r = activities.edit();
            for (int k = 0; k < ReportModel::ActivityCount; ++k)
                PutMemo(r, QString::fromLatin1(kActivityFields[k]), m.ActivityText[size_t(k)]);
            activities.update(r, activities.rows().first());
        }
    }
    {
        // Slot n of the table, in stored order, takes entry (category, entry), n = (category - 1) * 24 + entry.
        TableWriter recognized(db, QStringLiteral("Recognized"));
        const QList<qint64>& rows = recognized.rows();
        int n = 0;
        for (int c = 1; c <= ReportModel::CategoryCount; ++c) {
            for (int e = 1; e <= ReportModel::EntriesPerCategory; ++e, ++n) {
                if (n >= rows.size())
                    continue;
                RowEdit r = recognized.edit();
                PutText(r, QStringLiteral("Cert"), m.RecCert[c][e]);
                PutText(r, QStringLiteral("Last"), m.RecLast[c][e]);
                PutText(r, QStringLiteral("First"), m.RecFirst[c][e]);
                PutText(r, QStringLiteral("Rank"), m.RecRank[c][e]);
                PutText(r, QStringLiteral("Grade"), m.RecGrade[c][e]);
                PutText(r, QStringLiteral("Office"), m.RecOffice[c][e]);
                recognized.update(r, rows.at(n));
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
    m.resizeOfficers(0);
    for (int c = 1; c <= ReportModel::CategoryCount; ++c)
        m.clearCategory(c);
    m.AGCount.fill(0);
    m.EGCount.fill(0);
    m.BCCount.fill(0);
    m.OCCount.fill(0);
    m.FromKUR = false;
    for (QString& t : m.ActivityText)
        t.clear();
    for (QString* t : {&m.SubDate, &m.ToDate, &m.FromDate, &m.ReportYear, &m.PubName, &m.SubOCert, &m.SubOLast,
                       &m.SubOFirst, &m.SubOGrade, &m.SubORank, &m.SubOAddress, &m.SubOCity, &m.SubOState, &m.SubOZip,
                       &m.SubOTitle, &m.SubOPhone, &m.SubOEmail})
        t->clear();
    m.NoMM = 0;
    m.NoSenior = 0;
    m.NoActive = 0;
    m.Incorp = false;
}

#include "ReportFixture.h"

#include "store/ReportDatabase.h"
#include "store/ReportIO.h"
#include "store/ReportSchema.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace ReportFixture {

namespace {

QAtomicInt g_counter;

// Runs the statement on a plain connection to the file and hands each row to `row` as its first value and its
// line; a statement that the engine refuses ends the test program.
template <typename Row> void run(const QString& path, const QString& sql, const QVariantList& params, Row row)
{
    const QString name = u"fixture-%1"_s.arg(g_counter.fetchAndAddRelaxed(1));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
        db.setDatabaseName(path);
        if (!db.open())
            qFatal("fixture: cannot open %s: %s", qPrintable(path), qPrintable(db.lastError().text()));
        QSqlQuery q(db);
        q.exec(u"PRAGMA synchronous = OFF"_s); // what the tests write needs no protection against power loss
        q.prepare(sql);
        for (const QVariant& v : params)
            q.addBindValue(v);
        if (!q.exec())
            qFatal("fixture: %s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
        while (q.next()) {
            QStringList cells;
            for (int i = 0; i < q.record().count(); ++i)
                cells << (q.value(i).isNull() ? u"<Null>"_s : q.value(i).toString());
            row(q.value(0), cells.join(u'|'));
        }
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

void setUp(Session& s, const QString& dir)
{
    s.DataDir = QDir(dir).absolutePath() + u'/';
    s.model.SquadronCode = u"TST"_s;
    s.model.SquadronName = u"Test Squadron"_s;
    s.model.SquadronNo = 7;
    s.model.SquadronNoText = u"0007"_s;
    s.model.DistrictNo = 5;
    s.ReportDBPath = s.CurrentDBPath = s.DataDir + "r318_TST.mdb"_L1;
    s.ReportBakPath = s.CurrentBakPath = s.DataDir + "r318_TST.bak"_L1;
    s.HistorianURL = kUrl;
}

void write(const QString& path, const QVariant& marker)
{
    QTemporaryDir elsewhere;
    Session s;
    s.CurrentDBPath = path;
    s.CurrentBakPath = elsewhere.filePath(u"copy.bak"_s);
    ScriptedPrompt p;
    if (!CreateReportDatabase(s, p))
        qFatal("fixture: cannot make %s", qPrintable(path));
    exec(path, u"UPDATE Misc SET Rostrelv6 = ?"_s, {marker});
}

void exec(const QString& path, const QString& sql, const QVariantList& params)
{
    run(path, sql, params, [](const QVariant&, const QString&) {});
}

QVariant value(const QString& path, const QString& sql, const QVariantList& params)
{
    QVariantList first;
    run(path, sql, params, [&first](const QVariant& v, const QString&) { first << v; });
    return first.value(0);
}

QStringList lines(const QString& path, const QString& sql, const QVariantList& params)
{
    QStringList l;
    run(path, sql, params, [&l](const QVariant&, const QString& line) { l << line; });
    return l;
}

QStringList columns(const QString& path, const QString& table)
{
    return lines(path, u"SELECT name || ' ' || type FROM pragma_table_info('%1')"_s.arg(table));
}

QMap<QString, QStringList> snapshot(const QString& path)
{
    QMap<QString, QStringList> tables;
    for (const QString& table : ReportSchema::tableNames())
        tables.insert(table, QStringList{columns(path, table).join(u'|')} +
                                 lines(path, u"SELECT * FROM %1 ORDER BY rowid"_s.arg(table)));
    return tables;
}

QByteArray bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& data)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(data) != data.size())
        qFatal("fixture: cannot write %s", qPrintable(path));
}

QStringList files(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

void openReport(Session& s, const QString& dir)
{
    setUp(s, dir);
    ScriptedPrompt p;
    if (!OpenReportDatabase(s, {}, p) || !OpenReportDatabase(s, {}, p) || !LoadReport(s))
        qFatal("cannot make a report");
}

void fillFile(const QString& path)
{
    const QStringList kept = u"Misc.Squadron Misc.Squad_No Misc.District Misc.Rostrelv6 Officers.DBcode "
                             "Officers.Forder Officers.Office Recognized.Category"_s.split(u' ');
    int k = 0;
    for (const QString& table : ReportSchema::tableNames()) {
        for (const QString& column : columns(path, table)) {
            const QString name = column.section(u' ', 0, 0), type = column.section(u' ', 1);
            if (kept.contains(table + u'.' + name))
                continue;
            const QString tag = QString(QChar(u'A' + k % 26)) + QChar(u'a' + k / 26);
            ++k;
            if (type == "INTEGER"_L1 || type == "BOOLEAN"_L1)
                exec(path, u"UPDATE %1 SET %2 = ?"_s.arg(table, name), {type == "BOOLEAN"_L1 ? 1 : k});
            else // texts with the row's number, an apostrophe, quotes, a line break and letters beyond ASCII
                exec(path, u"UPDATE %1 SET %2 = substr(? || printf('%03d', rowid) || ?, 1, ?)"_s.arg(table, name),
                     {tag, type == "TEXT"_L1 ? u"\r\nthe \"second\" line, ünïcödé"_s : u"'s"_s,
                      type == "TEXT"_L1 ? 100000 : ReportSchema::declaredSize(type)});
        }
    }
}

void fillModel(ReportModel& m)
{
    QTemporaryDir dir;
    Session s;
    openReport(s, dir.path());
    fillFile(s.CurrentDBPath);
    s.model = m;
    if (!LoadReport(s))
        qFatal("fixture: cannot load the filled report");
    m = s.model;
}

QStringList modelLines(const ReportModel& m)
{
    QStringList values{m.SubDate,   m.FromDate,  m.ToDate,    m.ReportYear,  m.SubOCert, m.SubOLast,
                       m.SubOFirst, m.SubOGrade, m.SubORank,  m.SubOAddress, m.SubOCity, m.SubOState,
                       m.SubOZip,   m.SubOTitle, m.SubOPhone, m.SubOEmail,   m.PubName,  m.SubmitURL};
    QList<qint32> numbers{m.NoMM, m.NoActive, m.NoSenior, m.Incorp, m.FromKUR};
    numbers << QList<qint32>(m.AGCount.begin(), m.AGCount.end()) << QList<qint32>(m.EGCount.begin(), m.EGCount.end())
            << QList<qint32>(m.BCCount.begin(), m.BCCount.end()) << QList<qint32>(m.OCCount.begin(), m.OCCount.end());
    for (qint32 n : numbers)
        values << QString::number(n);
    values += QStringList(m.ActivityText.begin(), m.ActivityText.end());
    QStringList l;
    for (const QString& v : values)
        l << u"V%1="_s.arg(l.size()) + v;
    for (int i = 1; i <= m.officerCount(); ++i) {
        const Officer& o = m.officer(i);
        const QStringList line{o.Title, o.Code, o.Heading ? u"H"_s : u"-"_s, o.Cert, o.Last, o.First, o.Rank, o.Grade};
        l << u"Off%1=%2|"_s.arg(i).arg(o.Order) + line.join(u'|');
    }
    for (int c = 1; c <= 7; ++c) {
        for (int e = 1; e <= 24; ++e) {
            const RecognizedEntry& r = m.entry(c, e);
            const QStringList entry{r.Cert, r.Last, r.First, r.Rank, r.Grade, r.Office, QString::number(r.Category)};
            l << u"Rec%1.%2="_s.arg(c).arg(e) + entry.join(u'|');
        }
    }
    return l;
}

} // namespace ReportFixture

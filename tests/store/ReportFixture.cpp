#include "ReportFixture.h"

#include "store/OfficeCatalogue.h"
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
#include <QTest>

namespace ReportFixture {

namespace {

QAtomicInt g_counter;

// Runs `work` on a plain connection to the file.
template <typename Work> void withDatabase(const QString& path, Work work)
{
    const QString name = QStringLiteral("fixture-%1").arg(g_counter.fetchAndAddRelaxed(1));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open())
            qFatal("fixture: cannot open %s: %s", qPrintable(path), qPrintable(db.lastError().text()));
        // What the tests write needs no protection against power loss.
        QSqlQuery(db).exec(QStringLiteral("PRAGMA synchronous = OFF"));
        work(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void run(QSqlQuery& q, const QString& sql, const QVariantList& params)
{
    if (!q.prepare(sql))
        qFatal("fixture: %s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    for (const QVariant& v : params)
        q.addBindValue(v);
    if (!q.exec())
        qFatal("fixture: %s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
}

} // namespace

void setUp(Session& s, const QString& dir, const QString& code)
{
    s.DataDir = QDir(dir).absolutePath() + QLatin1Char('/');
    s.model.SquadronCode = code;
    s.model.SquadronName = QStringLiteral("Test Squadron");
    s.model.SquadronNo = 7;
    s.model.SquadronNoText = QStringLiteral("0007");
    s.model.DistrictNo = 5;
    s.ReportDBPath = s.DataDir + QLatin1String("r318_") + code + QLatin1String(".mdb");
    s.ReportBakPath = s.DataDir + QLatin1String("r318_") + code + QLatin1String(".bak");
    s.CurrentDBPath = s.ReportDBPath;
    s.CurrentBakPath = s.ReportBakPath;
    s.HistorianURL = kUrl;
}

std::vector<std::pair<QString, QString>> olderOfficers()
{
    std::vector<std::pair<QString, QString>> lines;
    for (int i = 0; i < kCatalogueSize - 1; ++i) {
        const CatalogueLine& l = OfficeCatalogue()[size_t(i)];
        lines.emplace_back(QString::fromLatin1(l.title), QString::fromLatin1(l.code));
    }
    lines[52] = {QStringLiteral("Port Engineer"), QStringLiteral("9999")};
    return lines;
}

Shape olderShape()
{
    Shape s;
    s.ocSem = false;
    s.bcSem = true;
    s.vsc = false;
    s.awardS = false;
    s.submitUrl = false;
    s.year = false;
    s.rostrelv6 = false;
    s.categories = 6;
    s.officers = olderOfficers();
    return s;
}

void write(const QString& path, const Shape& shape)
{
    QFile::remove(path);
    QFile::remove(path + QLatin1String("-journal"));
    const auto keep = [&shape](const QString& table, const QString& field) {
        const QString f = table + QLatin1Char('.') + field;
        if (f == QLatin1String("Education.OC_Sem"))
            return shape.ocSem;
        if (f == QLatin1String("Activities.VSC"))
            return shape.vsc;
        if (f == QLatin1String("Activities.Award_S"))
            return shape.awardS;
        if (f == QLatin1String("Misc.SubmitURL"))
            return shape.submitUrl;
        if (f == QLatin1String("Misc.Year"))
            return shape.year;
        if (f == QLatin1String("Misc.Rostrelv6"))
            return shape.rostrelv6;
        return true;
    };
    withDatabase(path, [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        run(q, QStringLiteral("BEGIN"), {});
        for (const ReportSchema::Table& t : ReportSchema::tables()) {
            QStringList columns;
            for (const ReportSchema::Field& f : t.fields) {
                if (keep(t.name, f.name))
                    columns << ReportSchema::columnSql(f);
                if (t.name == QLatin1String("Education") && f.name == QLatin1String("PB_DR") && shape.bcSem)
                    columns << QStringLiteral("\"BC_Sem\" INTEGER");
            }
            run(q, QStringLiteral("CREATE TABLE %1 (%2)").arg(t.name, columns.join(QStringLiteral(", "))), {});
        }
        const std::vector<std::pair<QString, QString>> officers = [&shape] {
            if (!shape.officers.empty())
                return shape.officers;
            std::vector<std::pair<QString, QString>> lines;
            for (const CatalogueLine& l : OfficeCatalogue())
                lines.emplace_back(QString::fromLatin1(l.title), QString::fromLatin1(l.code));
            return lines;
        }();
        int order = 0;
        for (const auto& [title, code] : officers)
            run(q, QStringLiteral("INSERT INTO Officers (DBcode, Forder, Office) VALUES (?, ?, ?)"),
                {code, ++order, title});
        if (shape.rostrelv6 && shape.submitUrl)
            run(q, QStringLiteral("INSERT INTO Misc (Incorp, Rostrelv6, SubmitURL) VALUES (0, ?, ?)"),
                {shape.marker, shape.submitUrlValue});
        else if (shape.rostrelv6)
            run(q, QStringLiteral("INSERT INTO Misc (Incorp, Rostrelv6) VALUES (0, ?)"), {shape.marker});
        else
            run(q, QStringLiteral("INSERT INTO Misc (Incorp) VALUES (0)"), {});
        run(q, QStringLiteral("INSERT INTO Education (AG_S, PB_KUR) VALUES (0, 0)"), {});
        run(q, QStringLiteral("INSERT INTO Activities (Meetings) VALUES (NULL)"), {});
        std::vector<int> slots = shape.recognized;
        if (slots.empty()) {
            for (int c = 1; c <= shape.categories; ++c)
                slots.insert(slots.end(), 24, c);
        }
        for (int c : slots)
            run(q, QStringLiteral("INSERT INTO Recognized (Category) VALUES (?)"), {c});
        run(q, QStringLiteral("COMMIT"), {});
    });
}

void exec(const QString& path, const QString& sql, const QVariantList& params)
{
    withDatabase(path, [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        run(q, sql, params);
    });
}

bool tryExec(const QString& path, const QString& sql, const QVariantList& params, QString* error)
{
    bool ok = false;
    withDatabase(path, [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        ok = q.prepare(sql);
        for (const QVariant& v : params)
            q.addBindValue(v);
        ok = ok && q.exec();
        if (!ok && error)
            *error = q.lastError().text();
    });
    return ok;
}

QList<QVariantList> rows(const QString& path, const QString& sql, const QVariantList& params)
{
    QList<QVariantList> result;
    withDatabase(path, [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        run(q, sql, params);
        while (q.next()) {
            QVariantList row;
            for (int i = 0; i < q.record().count(); ++i)
                row << q.value(i);
            result << row;
        }
    });
    return result;
}

QVariant value(const QString& path, const QString& sql, const QVariantList& params)
{
    const QList<QVariantList> r = rows(path, sql, params);
    return r.isEmpty() || r.first().isEmpty() ? QVariant() : r.first().first();
}

QStringList columns(const QString& path, const QString& table)
{
    QStringList names;
    for (const QVariantList& r : rows(path, QStringLiteral("PRAGMA table_info(%1)").arg(table)))
        names << r.at(1).toString();
    return names;
}

QStringList declaredColumns(const QString& path, const QString& table)
{
    QStringList names;
    for (const QVariantList& r : rows(path, QStringLiteral("PRAGMA table_info(%1)").arg(table)))
        names << r.at(1).toString() + QLatin1Char(' ') + r.at(2).toString();
    return names;
}

QMap<QString, QStringList> snapshot(const QString& path)
{
    QMap<QString, QStringList> tables;
    for (const QString& table : ReportSchema::tableNames()) {
        QStringList lines;
        lines << columns(path, table).join(QLatin1Char('|'));
        for (const QVariantList& r : rows(path, QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table))) {
            QStringList cells;
            for (const QVariant& v : r)
                cells << (v.isNull() ? QStringLiteral("<Null>") : v.toString());
            lines << cells.join(QLatin1Char('|'));
        }
        tables.insert(table, lines);
    }
    return tables;
}

QByteArray bytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QStringList files(const QString& dir)
{
    QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    return names;
}

QStringList modelLines(const ReportModel& m)
{
    QStringList l;
    const auto add = [&l](const char* name, const QVariant& v) {
        l << QString::fromLatin1(name) + '=' + v.toString();
    };
    add("SubDate", m.SubDate);
    add("FromDate", m.FromDate);
    add("ToDate", m.ToDate);
    add("ReportYear", m.ReportYear);
    add("NoMM", m.NoMM);
    add("Incorp", m.Incorp);
    add("NoActive", m.NoActive);
    add("NoSenior", m.NoSenior);
    for (const QString* t : {&m.SubOCert, &m.SubOLast, &m.SubOFirst, &m.SubOGrade, &m.SubORank, &m.SubOAddress,
                             &m.SubOCity, &m.SubOState, &m.SubOZip, &m.SubOTitle, &m.SubOPhone, &m.SubOEmail})
        add("SubO", *t);
    add("PubName", m.PubName);
    add("SubmitURL", m.SubmitURL);
    for (qint32 n : m.AGCount)
        add("AG", n);
    for (qint32 n : m.EGCount)
        add("EG", n);
    for (qint32 n : m.BCCount)
        add("BC", n);
    for (qint32 n : m.OCCount)
        add("OC", n);
    add("FromKUR", m.FromKUR);
    for (const QString& t : m.ActivityText)
        add("Activity", t);
    add("OfficerCount", m.OfficerCount);
    for (int i = 1; i <= m.OfficerCount; ++i)
        l << QStringLiteral("Off%1=%2|%3|%4|%5|%6|%7|%8|%9|%10")
                 .arg(i)
                 .arg(m.OffOrder[i])
                 .arg(m.OffTitle[i], m.OffCode[i], m.OffHeading[i] ? QStringLiteral("H") : QStringLiteral("-"),
                      m.OffCert[i], m.OffLast[i], m.OffFirst[i], m.OffRank[i], m.OffGrade[i]);
    for (int c = 1; c <= 7; ++c) {
        for (int e = 1; e <= 24; ++e)
            l << QStringLiteral("Rec%1.%2=%3|%4|%5|%6|%7|%8|%9")
                     .arg(c)
                     .arg(e)
                     .arg(m.RecCert[c][e], m.RecLast[c][e], m.RecFirst[c][e], m.RecRank[c][e], m.RecGrade[c][e],
                          m.RecOffice[c][e])
                     .arg(m.RecCategory[c][e]);
    }
    return l;
}

void openReport(Session& s, const QString& dir)
{
    setUp(s, dir);
    ScriptedPrompt p;
    if (!OpenReportDatabase(s, {}, p) || !OpenReportDatabase(s, {}, p) || !LoadReport(s))
        qFatal("cannot make a report");
}

void fillModel(ReportModel& m)
{
    m.SubDate = QStringLiteral("Mar 3, 2020");
    m.FromDate = QStringLiteral("Sep 1, 2019");
    m.ToDate = QStringLiteral("Aug 31, 2020");
    m.ReportYear = QStringLiteral("2020");
    m.NoMM = 17;
    m.Incorp = true;
    m.NoActive = 212;
    m.NoSenior = 3;
    int k = 0;
    for (QString* t : {&m.SubOCert, &m.SubOLast, &m.SubOFirst, &m.SubOGrade, &m.SubORank, &m.SubOAddress, &m.SubOCity,
                       &m.SubOState, &m.SubOZip, &m.SubOTitle, &m.SubOPhone, &m.SubOEmail})
        *t = QStringLiteral("S%1").arg(++k);
    m.SubOLast = QStringLiteral("O'Hara");
    m.PubName = QStringLiteral("The Binnacle");
    m.SubmitURL = QStringLiteral("https://example.org/saved");
    for (size_t i = 0; i < m.AGCount.size(); ++i)
        m.AGCount[i] = qint32(10 + i);
    for (size_t i = 0; i < m.EGCount.size(); ++i)
        m.EGCount[i] = qint32(20 + i);
    for (size_t i = 0; i < m.BCCount.size(); ++i)
        m.BCCount[i] = qint32(30 + i);
    for (size_t i = 0; i < m.OCCount.size(); ++i)
        m.OCCount[i] = qint32(40 + i);
    m.FromKUR = true;
    for (size_t i = 0; i < m.ActivityText.size(); ++i)
        m.ActivityText[i] = QStringLiteral("Text %1\r\nsecond line with \"quotes\" and ünïcödé").arg(i);
    for (int i = 2; i <= m.OfficerCount; i += 3) {
        if (m.OffHeading[i])
            continue;
        m.OffCert[i] = QStringLiteral("C%1").arg(i);
        m.OffLast[i] = QStringLiteral("Last%1").arg(i, 3, 10, QLatin1Char('0'));
        m.OffFirst[i] = QStringLiteral("First");
        m.OffRank[i] = QStringLiteral("Lt/C");
        m.OffGrade[i] = QStringLiteral("AP");
    }
    for (int c = 1; c <= 7; ++c) {
        for (int e = 1; e <= c + 2; ++e) {
            m.RecCert[c][e] = QStringLiteral("%1%2").arg(c).arg(e);
            m.RecLast[c][e] = QStringLiteral("Name%1").arg(e, 2, 10, QLatin1Char('0'));
            m.RecFirst[c][e] = QStringLiteral("F");
            m.RecRank[c][e] = QStringLiteral("Cdr");
            m.RecGrade[c][e] = QStringLiteral("N");
            m.RecOffice[c][e] = c <= 2 ? QStringLiteral("District Educational Officer") : QString();
            m.RecCategory[c][e] = c;
        }
    }
}

} // namespace ReportFixture

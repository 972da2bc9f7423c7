#include "host/Recordset.h"

#include "base/SqlConnection.h"
#include "host/HostDatabase.h"

#include <QMutex>
#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace {

// One comparison of a criteria text: Field = number, or Field = 'text'.
struct Term
{
    int column = -1;
    bool numeric = false;
    QString value; // number in canonical form, or the text folded for a case-blind compare
};

// Canonical text of a number so that 12, 12.0 and "0012" agree; empty when the text is no number.
QString canonicalNumber(const QString& text)
{
    bool ok = false;
    const double d = text.trimmed().toDouble(&ok);
    if (!ok)
        return {};
    return QString::number(d, 'g', 17);
}

// A whole number of up to 15 digits without sign, leading zero or blank ("0", "12", "-12") is its own
// canonical text: the double holds it exactly and prints it digit for digit.
bool isPlainInteger(QStringView t)
{
    const qsizetype first = !t.isEmpty() && t.front() == QLatin1Char('-') ? 1 : 0;
    const qsizetype digits = t.size() - first;
    if (digits < 1 || digits > 15)
        return false;
    if (t.at(first) == QLatin1Char('0'))
        return digits == 1 && first == 0;
    for (qsizetype i = first; i < t.size(); ++i) {
        if (t.at(i) < QLatin1Char('0') || t.at(i) > QLatin1Char('9'))
            return false;
    }
    return true;
}

// Appends the search key of one cell: its canonical number, or its text folded for a case-blind compare.
// False when a number is wanted and the cell holds none (such a cell never equals a number).
bool appendKey(QString& out, QStringView cell, bool numeric)
{
    if (numeric) {
        if (isPlainInteger(cell)) {
            out += cell;
            return true;
        }
        const QString number = canonicalNumber(cell.toString());
        out += number;
        return !number.isEmpty();
    }
    for (const QChar c : cell) {
        if (c.unicode() >= 0x80) {
            out += cell.toString().toCaseFolded();
            return true;
        }
    }
    // Plain ASCII folds to lower case letter by letter.
    const qsizetype start = out.size();
    out += cell;
    QChar* d = out.data() + start;
    for (qsizetype i = 0; i < cell.size(); ++i) {
        if (d[i] >= QLatin1Char('A') && d[i] <= QLatin1Char('Z'))
            d[i] = QChar(d[i].unicode() + 32);
    }
    return true;
}

bool isIdentStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool isIdentChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

void skipBlanks(const QString& s, int& i)
{
    while (i < s.size() && s.at(i).isSpace())
        ++i;
}

struct ParsedTerm
{
    QString field;
    bool numeric = false;
    QString literal;
};

// Parses "Field = literal [AND Field = literal ...]". Returns false on anything else.
bool parseCriteria(const QString& s, std::vector<ParsedTerm>& terms, QString* error)
{
    int i = 0;
    for (;;) {
        skipBlanks(s, i);
        ParsedTerm term;
        if (i < s.size() && s.at(i) == QLatin1Char('[')) {
            const int close = s.indexOf(QLatin1Char(']'), i + 1);
            if (close < 0) {
                *error = QStringLiteral("unclosed [ in criteria");
                return false;
            }
            term.field = s.mid(i + 1, close - i - 1).trimmed();
            i = close + 1;
        } else {
            const int start = i;
            if (i >= s.size() || !isIdentStart(s.at(i))) {
                *error = QStringLiteral("a field name is expected at position %1").arg(i + 1);
                return false;
            }
            while (i < s.size() && isIdentChar(s.at(i)))
                ++i;
            term.field = s.mid(start, i - start);
        }
        if (term.field.isEmpty()) {
            *error = QStringLiteral("empty field name");
            return false;
        }
        skipBlanks(s, i);
        if (i >= s.size() || s.at(i) != QLatin1Char('=')) {
            *error = QStringLiteral("\"=\" is expected at position %1").arg(i + 1);
            return false;
        }
        ++i;
        skipBlanks(s, i);
        if (i < s.size() && (s.at(i) == QLatin1Char('\'') || s.at(i) == QLatin1Char('"'))) {
            const QChar quote = s.at(i++);
            QString text;
            bool closed = false;
            while (i < s.size()) {
                if (s.at(i) == quote) {
                    if (i + 1 < s.size() && s.at(i + 1) == quote) {
                        text += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                text += s.at(i++);
            }
            if (!closed) {
                *error = QStringLiteral("unclosed quote in criteria");
                return false;
            }
            term.literal = text;
        } else {
            const int start = i;
            if (i < s.size() && (s.at(i) == QLatin1Char('-') || s.at(i) == QLatin1Char('+')))
                ++i;
            while (i < s.size() && (s.at(i).isDigit() || s.at(i) == QLatin1Char('.')))
                ++i;
            term.literal = canonicalNumber(s.mid(start, i - start));
            if (term.literal.isEmpty()) {
                *error = QStringLiteral("a number or a quoted text is expected at position %1").arg(start + 1);
                return false;
            }
            term.numeric = true;
        }
        terms.push_back(term);
        skipBlanks(s, i);
        if (i >= s.size())
            return true;
        if (s.mid(i, 3).compare(QLatin1String("AND"), Qt::CaseInsensitive) != 0 || i + 3 >= s.size() ||
            !s.at(i + 3).isSpace()) {
            *error = QStringLiteral("\"AND\" or the end is expected at position %1").arg(i + 1);
            return false;
        }
        i += 3;
    }
}

QString cellKey(QStringView cell, bool numeric)
{
    QString key;
    if (!appendKey(key, cell, numeric))
        return {};
    return key;
}

} // namespace

struct Recordset::Index
{
    // key of the values, joined by a separator that no key holds, to the rows in order
    std::unordered_map<QString, std::vector<int>> rows;
};

// The rows, their texts kept end to end in one buffer: cell k of the result is the text from offsets[k] to
// offsets[k + 1] (Null reads as empty).
struct Recordset::Data
{
    QStringList fields;
    QHash<QString, int> columnOf; // folded name to column
    int columnCount = 0;
    int rowCount = 0;
    std::vector<QChar> text;
    std::vector<quint32> offsets{0};
    std::unordered_map<QString, std::unique_ptr<Index>> indexes; // by field signature

    int column(const QString& name) const { return columnOf.value(name.toCaseFolded(), -1); }
    QStringView cell(int row, int col) const
    {
        const std::size_t k = std::size_t(row) * columnCount + col;
        return QStringView(text.data() + offsets[k], qsizetype(offsets[k + 1] - offsets[k]));
    }
    void setFields(const QStringList& names)
    {
        fields = names;
        columnCount = int(names.size());
        for (int c = 0; c < columnCount; ++c)
            columnOf.insert(names.at(c).toCaseFolded(), c);
    }
    void append(QStringView value)
    {
        text.insert(text.end(), value.begin(), value.end());
        offsets.push_back(quint32(text.size()));
    }
};

// A statement prepared but not run yet.
struct Recordset::Source
{
    QSqlDatabase db;
    QString statement; // as translated for the engine
    QVariantList params;
    QSqlQuery query;  // prepared when opened, run when the rows are first needed
    int maxRows = -1; // reading stops after this many rows; -1: all
};

// Rows asked for ahead of the searches that want them: every row whose field may hold one of the numbers,
// filed by the canonical number the field holds.
struct Recordset::Prefetch
{
    QString field; // folded
    QHash<QString, int> columnOf;
    bool othersRead = false; // the rows whose field is not a whole number have been asked for
    QSet<QString> keys;      // the numbers asked for, canonical
    QHash<QString, QList<QStringList>> rows;
    qsizetype rowCount = 0;
};

// One row found by asking the database alone; the search that found it places it once the rows are read.
struct Recordset::Detached
{
    QString criteria;
    QHash<QString, int> columnOf;
    QStringList cells;
};

namespace {
const QChar kKeySeparator(0x1F);

// After this many searches answered by the database, the rows are read and indexed instead.
constexpr int kQueryLookups = 3;

// Numbers of a smaller size are whole numbers that a double holds exactly: a stored whole number equals such
// a number as the engine compares them exactly when it does as the searches compare them.
constexpr double kExactWhole = 9007199254740992.0; // 2^53

// A prefetch that meets more rows than this is dropped: reading all rows is then no dearer.
constexpr qsizetype kPrefetchRows = 4096;
constexpr int kPrefetchChunk = 500;

// The engine's reading of a host statement; the translation of a statement is kept, since look-ups send the same
// few statements again and again.
QString translatedStatement(const QString& statement)
{
    static QMutex mutex;
    static QHash<QString, QString> cache;
    QMutexLocker lock(&mutex);
    const auto it = cache.constFind(statement);
    if (it != cache.constEnd())
        return *it;
    const QString sql = translateHostStatement(statement);
    if (cache.size() >= 256)
        cache.clear();
    cache.insert(statement, sql);
    return sql;
}

bool isPlainIdentifier(const QString& name)
{
    if (name.isEmpty())
        return false;
    for (const QChar c : name) {
        if (!isIdentChar(c))
            return false;
    }
    return true;
}

// The engine's filter that keeps every row whose field may equal the number as the searches compare (a
// superset: the rows are checked again). A stored whole number can equal it only when it is that number; any
// other stored value (text, real, blob) is kept and checked.
QString numberFilter(const QString& field, double value, QVariantList& params)
{
    const QString others = QStringLiteral("typeof(\"%1\") NOT IN ('integer', 'null')").arg(field);
    if (!std::isfinite(value) || value != std::floor(value) || std::fabs(value) >= kExactWhole)
        return others;
    params << qint64(value);
    return QStringLiteral("(%1 OR \"%2\" = ?)").arg(others, field);
}

bool runQuery(QSqlQuery& query, const QString& statement, const QVariantList& params, QString* error)
{
    query.setForwardOnly(true);
    if (!query.prepare(statement)) {
        *error = SqlConnection::engineText(query.lastError());
        return false;
    }
    for (const QVariant& value : params)
        query.addBindValue(value);
    if (!query.exec()) {
        *error = SqlConnection::engineText(query.lastError());
        return false;
    }
    return true;
}

QString cellText(const QVariant& v)
{
    return v.isNull() ? QString() : v.toString();
}
} // namespace

Recordset::Recordset() = default;
Recordset::~Recordset() = default;
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;

QString translateHostStatement(const QString& statement)
{
    QString sql = statement;
    // The host compares text without regard to letter case.
    static const QRegularExpression textCompare(
        QStringLiteral(R"((\[?\w+\]?\s*(?:=|<>)\s*(?:'(?:[^']|'')*+'|\?))(?!\s*COLLATE))"),
        QRegularExpression::CaseInsensitiveOption);
    sql.replace(textCompare, QStringLiteral("\\1 COLLATE NOCASE"));
    static const QRegularExpression notNull(QStringLiteral(R"((\[?\w+\]?)\s*<>\s*NULL\b)"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression isNull(QStringLiteral(R"((\[?\w+\]?)\s*=\s*NULL\b)"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression isFalse(QStringLiteral(R"((\[?\w+\]?)\s*=\s*False\b)"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression isTrue(QStringLiteral(R"((\[?\w+\]?)\s*=\s*True\b)"),
                                           QRegularExpression::CaseInsensitiveOption);
    sql.replace(notNull, QStringLiteral("(\\1 IS NOT NULL AND \\1 <> '')"));
    sql.replace(isNull, QStringLiteral("(\\1 IS NULL OR \\1 = '')"));
    sql.replace(isFalse, QStringLiteral("\\1 = 0"));
    sql.replace(isTrue, QStringLiteral("\\1 <> 0"));
    // The host sorts text without regard to letter case.
    static const QRegularExpression orderBy(QStringLiteral(R"(\bORDER\s+BY\s+(.+)$)"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = orderBy.match(sql);
    if (m.hasMatch()) {
        QStringList terms = m.captured(1).split(QLatin1Char(','));
        for (QString& term : terms) {
            term = term.trimmed();
            QString direction;
            if (term.endsWith(QLatin1String(" DESC"), Qt::CaseInsensitive) ||
                term.endsWith(QLatin1String(" ASC"), Qt::CaseInsensitive)) {
                const int blank = term.lastIndexOf(QLatin1Char(' '));
                direction = term.mid(blank);
                term = term.left(blank).trimmed();
            }
            if (!term.contains(QLatin1String("COLLATE"), Qt::CaseInsensitive))
                term += QLatin1String(" COLLATE NOCASE");
            term += direction;
        }
        sql = sql.left(m.capturedStart(1)) + terms.join(QLatin1String(", "));
    }
    return sql;
}

Recordset Recordset::open(const HostDatabase& db, const QString& statement, const QVariantList& params)
{
    return openFirstRows(db, statement, params, -1);
}

Recordset Recordset::openFirstRows(const HostDatabase& db, const QString& statement, const QVariantList& params,
                                   int maxRows)
{
    Recordset rs;
    if (!db.isOpen()) {
        rs.m_error = rs.m_failure = QStringLiteral("the database is not open");
        return rs;
    }
    auto source = std::make_unique<Source>();
    source->db = db.database();
    source->statement = translatedStatement(statement);
    source->params = params;
    source->maxRows = maxRows;
    source->query = QSqlQuery(source->db);
    source->query.setForwardOnly(true);
    // Preparing finds a missing table or field now; the rows are read when first needed.
    if (!source->query.prepare(source->statement)) {
        rs.m_error = rs.m_failure = SqlConnection::engineText(source->query.lastError());
        return rs;
    }
    rs.m_source = std::move(source);
    rs.m_pos = 0;
    return rs;
}

qint64 Recordset::countRows(const HostDatabase& db, const QString& statement, const QVariantList& params)
{
    if (!db.isOpen())
        return -1;
    QSqlQuery query(db.database());
    QString error;
    if (!runQuery(query, QStringLiteral("SELECT COUNT(*) FROM (") + translatedStatement(statement) + QLatin1Char(')'),
                  params, &error) ||
        !query.next())
        return -1;
    return query.value(0).toLongLong();
}

void Recordset::load() const
{
    if (m_data || !m_source)
        return;
    const std::unique_ptr<Source> source = std::move(m_source);
    m_prefetch.reset();
    auto data = std::make_unique<Data>();
    QSqlQuery& query = source->query;
    for (const QVariant& value : source->params)
        query.addBindValue(value);
    if (query.exec()) {
        const QSqlRecord record = query.record();
        QStringList names;
        for (int c = 0; c < record.count(); ++c)
            names << record.fieldName(c);
        data->setFields(names);
        while ((source->maxRows < 0 || data->rowCount < source->maxRows) && query.next()) {
            for (int c = 0; c < data->columnCount; ++c)
                data->append(cellText(query.value(c)));
            ++data->rowCount;
        }
        if (query.lastError().isValid())
            m_error = m_failure = SqlConnection::engineText(query.lastError());
    } else {
        m_error = m_failure = SqlConnection::engineText(query.lastError());
    }
    m_data = std::move(data);
    m_pos = m_data->rowCount > 0 ? 0 : -1;
    if (m_detached) {
        // Place the row found before the rows were read.
        const QString criteria = m_detached->criteria;
        m_detached.reset();
        auto* self = const_cast<Recordset*>(this);
        self->find(criteria, 0);
    }
}

Recordset Recordset::fromRows(const QStringList& fields, const std::vector<QStringList>& rows)
{
    Recordset rs;
    auto data = std::make_unique<Data>();
    data->setFields(fields);
    for (const QStringList& row : rows) {
        for (int c = 0; c < data->columnCount; ++c)
            data->append(c < row.size() ? QStringView(row.at(c)) : QStringView());
        ++data->rowCount;
    }
    rs.m_data = std::move(data);
    rs.m_pos = rs.m_data->rowCount > 0 ? 0 : -1;
    return rs;
}

void Recordset::close()
{
    m_data.reset();
    m_source.reset();
    m_detached.reset();
    m_prefetch.reset();
    m_pos = -1;
    m_noMatch = false;
}

QString Recordset::failure() const
{
    load();
    return m_failure;
}

int Recordset::recordCount() const
{
    load();
    return m_data ? m_data->rowCount : 0;
}

int Recordset::position() const
{
    load();
    return m_pos;
}

bool Recordset::bof() const
{
    if (m_detached)
        return false;
    load();
    return !m_data || m_data->rowCount == 0 || m_pos < 0;
}

bool Recordset::eof() const
{
    if (m_detached)
        return false;
    load();
    return !m_data || m_data->rowCount == 0 || m_pos >= m_data->rowCount;
}

void Recordset::moveFirst()
{
    m_detached.reset();
    load();
    m_pos = recordCount() > 0 ? 0 : -1;
}

void Recordset::moveNext()
{
    load();
    if (m_data && m_pos < m_data->rowCount)
        ++m_pos;
}

void Recordset::movePrevious()
{
    load();
    if (m_data && m_pos >= 0)
        --m_pos;
}

void Recordset::moveLast()
{
    m_detached.reset();
    load();
    m_pos = recordCount() - 1;
}

QStringList Recordset::fieldNames() const
{
    load();
    return m_data ? m_data->fields : QStringList();
}

bool Recordset::hasField(const QString& name) const
{
    load();
    return m_data && m_data->column(name) >= 0;
}

QString Recordset::text(const QString& name, bool* ok) const
{
    if (m_detached) {
        const int col = m_detached->columnOf.value(name.toCaseFolded(), -1);
        if (ok)
            *ok = col >= 0;
        return col >= 0 ? m_detached->cells.at(col) : QString();
    }
    load();
    const int col = m_data ? m_data->column(name) : -1;
    const bool valid = col >= 0 && m_pos >= 0 && m_pos < m_data->rowCount;
    if (ok)
        *ok = valid;
    return valid ? m_data->cell(m_pos, col).toString() : QString();
}

qint64 Recordset::number(const QString& name, bool* ok) const
{
    return leadingNumber(text(name, ok));
}

bool Recordset::findFirst(const QString& criteria)
{
    if (!m_data && m_source) {
        bool answered = false;
        bool found = false;
        if (m_prefetch)
            found = findInPrefetch(criteria, &answered);
        if (!answered && m_queryLookups < kQueryLookups)
            found = findByQuery(criteria, &answered);
        if (answered)
            return found;
    }
    return find(criteria, 0);
}

bool Recordset::findNext(const QString& criteria)
{
    load();
    return find(criteria, std::max(m_pos + 1, 0));
}

// Asks the database for the rows whose numbers match, then checks them as a search over all rows would.
// Answers only when the result is certain: no candidate, or exactly one that matches.
bool Recordset::findByQuery(const QString& criteria, bool* answered)
{
    *answered = false;
    std::vector<ParsedTerm> terms;
    QString error;
    if (!parseCriteria(criteria, terms, &error))
        return false; // the full search reports it
    QStringList filters;
    QVariantList params = m_source->params;
    for (const ParsedTerm& t : terms) {
        if (!t.numeric)
            continue;
        if (!isPlainIdentifier(t.field))
            return false;
        filters << numberFilter(t.field, t.literal.toDouble(), params);
    }
    if (filters.isEmpty())
        return false;
    ++m_queryLookups;
    QSqlQuery query(m_source->db);
    if (!runQuery(query,
                  QStringLiteral("SELECT * FROM (") + m_source->statement + QStringLiteral(") WHERE ") +
                      filters.join(QStringLiteral(" AND ")),
                  params, &error))
        return false;
    const QSqlRecord record = query.record();
    auto detached = std::make_unique<Detached>();
    detached->criteria = criteria;
    for (int c = 0; c < record.count(); ++c)
        detached->columnOf.insert(record.fieldName(c).toCaseFolded(), c);
    std::vector<int> columns;
    for (const ParsedTerm& t : terms) {
        const int col = detached->columnOf.value(t.field.toCaseFolded(), -1);
        if (col < 0)
            return false;
        columns.push_back(col);
    }
    int matches = 0;
    while (query.next()) {
        bool match = true;
        for (std::size_t k = 0; k < terms.size() && match; ++k) {
            const QString value = cellText(query.value(columns[k]));
            match = cellKey(value, terms[k].numeric) ==
                    (terms[k].numeric ? terms[k].literal : terms[k].literal.toCaseFolded());
        }
        if (!match)
            continue;
        if (++matches > 1)
            return false; // several: which comes first is known only from all rows
        for (int c = 0; c < record.count(); ++c)
            detached->cells << cellText(query.value(c));
    }
    *answered = true;
    m_error.clear();
    m_noMatch = matches == 0;
    if (matches == 1)
        m_detached = std::move(detached);
    return matches == 1;
}

void Recordset::prefetch(const QString& field, const QList<qint64>& numbers)
{
    if (m_data || !m_source || !isPlainIdentifier(field))
        return;
    if (m_prefetch && m_prefetch->field != field.toCaseFolded())
        return; // one field at a time
    QList<qint64> wanted;
    QStringList wantedKeys;
    for (const qint64 n : numbers) {
        if (std::fabs(double(n)) >= kExactWhole)
            continue;
        const QString key = canonicalNumber(QString::number(n));
        if ((m_prefetch && m_prefetch->keys.contains(key)) || wantedKeys.contains(key))
            continue;
        wanted << n;
        wantedKeys << key;
    }
    if (wanted.isEmpty())
        return;
    auto prefetch = m_prefetch ? std::move(m_prefetch) : std::make_unique<Prefetch>();
    prefetch->field = field.toCaseFolded();
    for (qsizetype start = 0; start < wanted.size(); start += kPrefetchChunk) {
        const QList<qint64> chunk = wanted.mid(start, kPrefetchChunk);
        QVariantList params = m_source->params;
        QStringList marks;
        for (const qint64 n : chunk) {
            params << n;
            marks << QStringLiteral("?");
        }
        // Stored whole numbers come by the numbers asked for; the other stored values (text, real, blob) come
        // once, whatever the numbers, and are checked as a search over all rows checks them.
        QString filter = QStringLiteral("(typeof(\"%1\") = 'integer' AND \"%1\" IN (%2))").arg(field, marks.join(", "));
        if (!prefetch->othersRead)
            filter += QStringLiteral(" OR typeof(\"%1\") NOT IN ('integer', 'null')").arg(field);
        QSqlQuery query(m_source->db);
        QString error;
        if (!runQuery(query,
                      QStringLiteral("SELECT * FROM (") + m_source->statement + QStringLiteral(") WHERE ") + filter,
                      params, &error))
            return; // the searches go the usual way
        const QSqlRecord record = query.record();
        if (prefetch->columnOf.isEmpty()) {
            for (int c = 0; c < record.count(); ++c)
                prefetch->columnOf.insert(record.fieldName(c).toCaseFolded(), c);
        }
        const int column = prefetch->columnOf.value(prefetch->field, -1);
        if (column < 0)
            return;
        while (query.next()) {
            if (++prefetch->rowCount > kPrefetchRows)
                return;
            const QString key = cellKey(cellText(query.value(column)), true);
            if (key.isEmpty())
                continue;
            QStringList cells;
            for (int c = 0; c < record.count(); ++c)
                cells << cellText(query.value(c));
            prefetch->rows[key].append(cells);
        }
        if (query.lastError().isValid())
            return;
        prefetch->othersRead = true;
        for (const qint64 n : chunk)
            prefetch->keys.insert(canonicalNumber(QString::number(n)));
    }
    m_prefetch = std::move(prefetch);
}

// Answers a search "field = n" from the prefetched rows when they settle it: no row holds n, or exactly one.
bool Recordset::findInPrefetch(const QString& criteria, bool* answered)
{
    *answered = false;
    std::vector<ParsedTerm> terms;
    QString error;
    if (!parseCriteria(criteria, terms, &error) || terms.size() != 1 || !terms.front().numeric ||
        terms.front().field.toCaseFolded() != m_prefetch->field || !m_prefetch->keys.contains(terms.front().literal))
        return false;
    const auto hit = m_prefetch->rows.constFind(terms.front().literal);
    const qsizetype matches = hit == m_prefetch->rows.constEnd() ? 0 : hit->size();
    if (matches > 1)
        return false;
    *answered = true;
    m_error.clear();
    m_noMatch = matches == 0;
    if (matches == 1) {
        auto detached = std::make_unique<Detached>();
        detached->criteria = criteria;
        detached->columnOf = m_prefetch->columnOf;
        detached->cells = hit->first();
        m_detached = std::move(detached);
    }
    return matches == 1;
}

const Recordset::Index* Recordset::indexFor(const QString& criteria, QString* key)
{
    std::vector<ParsedTerm> terms;
    QString error;
    if (!parseCriteria(criteria, terms, &error)) {
        m_error = error;
        return nullptr;
    }
    QString signature;
    QStringList keyParts;
    std::vector<int> columns;
    std::vector<bool> numeric;
    for (const ParsedTerm& t : terms) {
        const int col = m_data->column(t.field);
        if (col < 0) {
            m_error = QStringLiteral("the recordset has no field %1").arg(t.field);
            return nullptr;
        }
        signature += QString::number(col) + (t.numeric ? QLatin1Char('n') : QLatin1Char('t'));
        columns.push_back(col);
        numeric.push_back(t.numeric);
        keyParts << (t.numeric ? t.literal : t.literal.toCaseFolded());
    }
    *key = keyParts.join(kKeySeparator);
    auto it = m_data->indexes.find(signature);
    if (it == m_data->indexes.end()) {
        auto index = std::make_unique<Index>();
        QString rowKey;
        for (int row = 0; row < m_data->rowCount; ++row) {
            rowKey.truncate(0);
            bool usable = true;
            for (std::size_t k = 0; k < columns.size() && usable; ++k) {
                if (k > 0)
                    rowKey += kKeySeparator;
                // A text that is no number never equals a number.
                usable = appendKey(rowKey, m_data->cell(row, columns[k]), numeric[k]);
            }
            if (!usable)
                continue;
            auto hit = index->rows.find(rowKey);
            if (hit == index->rows.end())
                hit = index->rows.emplace(rowKey, std::vector<int>()).first;
            hit->second.push_back(row);
        }
        it = m_data->indexes.emplace(signature, std::move(index)).first;
    }
    return it->second.get();
}

bool Recordset::find(const QString& criteria, int startRow)
{
    load();
    m_detached.reset();
    m_noMatch = true;
    m_error.clear();
    if (!m_data) {
        m_error = QStringLiteral("the recordset is closed");
        return false;
    }
    QString key;
    const Index* index = indexFor(criteria, &key);
    if (!index)
        return false;
    const auto hit = index->rows.find(key);
    if (hit == index->rows.end())
        return false;
    const std::vector<int>& rows = hit->second;
    const auto next = std::lower_bound(rows.begin(), rows.end(), startRow);
    if (next == rows.end())
        return false;
    m_pos = *next;
    m_noMatch = false;
    return true;
}

#pragma once

#include "base/TextNumber.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <memory>
#include <vector>

class HostDatabase;

// The result of one SELECT on a host database, held in memory, with the moves and searches the host
// operations rely on: BOF/EOF, first/next/last, an exact record count, fields read by name as text,
// and FindFirst/FindNext with a criteria text such as "Mem_ID = 12 AND SDN = 'S'".
//
// Searches on the same set of fields are answered from a hash index built at the first search, so
// repeated look-ups by member number never scan the rows.
//
// The rows are read when first needed, not when the statement is opened (a district's member table is large
// and start-up rarely needs it); the first few searches by a number ("Mem_ID = 12") are answered by asking the
// database for the matching rows alone. Either way the answers are those of the whole result.
class Recordset
{
public:
    Recordset();
    ~Recordset();
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Runs the statement. The statement may use the host's forms "X = NULL" (no value: Null or empty text),
    // "X <> NULL" and "X = False"/"X = True"; values from files or the user go in params, bound to the
    // statement's "?" markers. On an engine error the recordset stays closed and error() tells why.
    static Recordset open(const HostDatabase& db, const QString& statement, const QVariantList& params = {});

    // The same for a caller that looks at no more than the first maxRows rows: the statement runs as written and
    // reading stops after maxRows rows, which the recordset then holds (recordCount() counts them).
    static Recordset openFirstRows(const HostDatabase& db, const QString& statement, const QVariantList& params,
                                   int maxRows);

    // The number of rows the statement returns, counted by the engine without reading them; -1 when the
    // statement fails.
    static qint64 countRows(const HostDatabase& db, const QString& statement, const QVariantList& params = {});

    // Builds a recordset from rows already at hand (tests and generated data).
    static Recordset fromRows(const QStringList& fields, const std::vector<QStringList>& rows);

    // Before the rows are read: asks the database once for every row whose field may equal one of the numbers,
    // so that later searches "field = n" for those numbers are answered without reading all rows. A search
    // whose number more than one row holds still reads them (which of them comes first is known only from
    // all rows). Does nothing once the rows are read.
    void prefetch(const QString& field, const QList<qint64>& numbers);

    bool isOpen() const { return m_data != nullptr || m_source != nullptr; }
    // True once the rows have been read.
    bool isLoaded() const { return m_data != nullptr; }
    QString error() const { return m_error; }
    // The engine's error when the statement failed or its rows could not be read (the rows are read first when
    // they have not been yet); empty when it ran. Searches do not change it.
    QString failure() const;
    void close();

    // True when the query returned no rows (beginning and end of file at once).
    bool isEmpty() const { return recordCount() == 0; }
    bool bof() const;
    bool eof() const;
    int recordCount() const;
    int position() const; // 0-based row, -1 before the first, recordCount() after the last
    void moveFirst();
    void moveNext();
    void movePrevious();
    void moveLast();

    QStringList fieldNames() const;
    bool hasField(const QString& name) const;
    // The current row's field as text; Null reads as empty. A missing field or no current row sets *ok to
    // false (an engine error) and returns empty text.
    QString text(const QString& name, bool* ok = nullptr) const;
    // The leading whole number of the field's text (empty or no digits give 0).
    qint64 number(const QString& name, bool* ok = nullptr) const;

    // Searches from the first row (findFirst) or after the current row (findNext) for a row that satisfies
    // the criteria; on a match it becomes the current row, otherwise the position is kept and noMatch() is
    // true. Malformed criteria, or a field the recordset lacks, count as no match and set error().
    bool findFirst(const QString& criteria);
    bool findNext(const QString& criteria);
    bool noMatch() const { return m_noMatch; }

private:
    struct Data;
    struct Index;
    struct Source;
    struct Detached;
    struct Prefetch;
    bool find(const QString& criteria, int startRow);
    bool findByQuery(const QString& criteria, bool* answered);
    bool findInPrefetch(const QString& criteria, bool* answered);
    const Index* indexFor(const QString& criteria, QString* key);
    // Reads the rows when they have not been read yet, keeping the current row.
    void load() const;

    mutable std::unique_ptr<Data> m_data;
    mutable std::unique_ptr<Source> m_source;
    mutable std::unique_ptr<Detached> m_detached; // a row found by asking the database, before the rows are read
    mutable std::unique_ptr<Prefetch> m_prefetch;
    mutable int m_pos = -1;
    int m_queryLookups = 0;
    bool m_noMatch = false;
    mutable QString m_error;
    mutable QString m_failure;
};

// Rewrites the host's statement forms for the embedded engine (see Recordset::open).
QString translateHostStatement(const QString& statement);

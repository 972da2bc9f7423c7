#include "output/UploadFile.h"

#include "base/SqlConnection.h"
#include "base/Text.h"
#include "host/HostSession.h"
#include "store/DateText.h"
#include "store/ReportFields.h"

#include <QFileInfo>
#include <QList>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <array>
#include <memory>
#include <optional>

namespace {

// Characters 0x80..0x9F of Windows-1252. The five places the code page leaves open (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) pass the control character of the same number through, as the system's own conversion does.
constexpr std::array<char16_t, 32> kCodes80To9F = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                   0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char windows1252Byte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (std::size_t i = 0; i < kCodes80To9F.size(); ++i) {
        if (kCodes80To9F[i] == c)
            return char(0x80 + i);
    }
    return '?';
}

// The number of bytes EncodeWindows1252 makes of the text: one per character, a surrogate pair being one.
qsizetype windows1252Size(QStringView text)
{
    qsizetype size = text.size();
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (QChar::isHighSurrogate(text.at(i).unicode()) && QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            --size;
            ++i;
        }
    }
    return size;
}

// One record of the file, built in memory and written whole.
class Record
{
public:
    Record(const char* section, const char* item)
    {
        AddField(m_text, QLatin1String(section), false);
        AddField(m_text, QLatin1String(item), false);
    }
    void text(const QString& value) { AddField(m_text, value, false); }
    void number(const QString& value) { AddField(m_text, value, true); }
    void raw(const QString& value) { m_text += value + QLatin1Char(','); }
    // The count of bytes written for the text, a comma and the text between double quotes.
    void counted(const QString& value)
    {
        m_text += QString::number(windows1252Size(value)) + QLatin1String(",\"") + value + QLatin1String("\",");
    }
    QByteArray bytes() const
    {
        // Without the comma after the last value.
        return EncodeWindows1252(QStringView(m_text).chopped(m_text.isEmpty() ? 0 : 1)) + "\r\n";
    }

private:
    QString m_text;
};

QString textOf(const QVariant& value)
{
    return value.isNull() ? QString() : trimBlanks(value.toString());
}

struct Row
{
    QSqlRecord record;
    QString text(const char* field) const { return textOf(record.value(QLatin1String(field))); }
    bool boolean(const char* field) const
    {
        const QVariant v = record.value(QLatin1String(field));
        return !v.isNull() && v.toBool();
    }
};

// The report database, opened read-only for the duration of one write.
class ReportReader
{
public:
    explicit ReportReader(const QString& path) : m_path(path) {}

    bool open()
    {
        const QFileInfo info(m_path);
        if (!info.exists()) {
            m_error = QStringLiteral("the file does not exist");
            return false;
        }
        if (!info.isFile()) {
            m_error = QStringLiteral("it is not a file");
            return false;
        }
        m_db = std::make_unique<SqlConnection>(m_path, SqlConnection::Mode::ReadOnly, 5000);
        // A damaged file or one of another format is found here, before the upload file is touched.
        if (!m_db->isOpen() || !m_db->readSchema()) {
            m_error = m_db->error();
            return false;
        }
        return true;
    }

    // Every row of the query, or nothing (with error()) when the query fails.
    std::optional<QList<Row>> rows(const QString& statement, const QVariantList& params = {})
    {
        QSqlQuery query(m_db->database());
        query.setForwardOnly(true);
        QList<Row> result;
        if (m_db->run(query, statement, params)) {
            while (query.next())
                result.append(Row{query.record()});
            if (!query.lastError().isValid())
                return result;
            m_db->fail(query.lastError());
        }
        m_error = m_db->error();
        return std::nullopt;
    }

    QString error() const { return m_error.isEmpty() ? QStringLiteral("unknown error") : m_error; }

private:
    QString m_path;
    std::unique_ptr<SqlConnection> m_db;
    QString m_error;
};

// Writes the records; a failure stops at once and leaves the file uncommitted.
class UploadWriter
{
public:
    explicit UploadWriter(QSaveFile& file) : m_file(file) {}
    bool write(const Record& record)
    {
        const QByteArray bytes = record.bytes();
        return m_file.write(bytes) == bytes.size();
    }

private:
    QSaveFile& m_file;
};

// Member values: Cert, Last, First, Rank, Grade; officer values put the office before them.
Record memberRecord(const char* section, const char* item, const Row& row, bool withOffice = false)
{
    Record r(section, item);
    if (withOffice)
        r.text(row.text("Office"));
    for (const char* field : {"Cert", "Last", "First", "Rank", "Grade"})
        r.text(row.text(field));
    return r;
}

Record officerRecord(const char* section, const char* item, const Row& row)
{
    return memberRecord(section, item, row, true);
}

const QString kElected = QStringLiteral("ELECTED OFFICERS:");
const QString kExec = QStringLiteral("EXEC & GENERAL:");
const QString kAppointed = QStringLiteral("APPOINTED OFFICERS");
const QString kEducation = QStringLiteral("EDUCATION DEPT:");

bool isHeading(const QString& office)
{
    return office == kElected || office == kExec || office == kAppointed || office == kEducation;
}

// Builds every record in file order and hands each to the writer as soon as it is complete.
class UploadBuilder
{
public:
    UploadBuilder(const HostSession& session, ReportReader& db, UploadWriter& out) : m_s(session), m_db(db), m_out(out)
    {
    }

    bool run()
    {
        const auto misc = m_db.rows(QStringLiteral("SELECT * FROM Misc ORDER BY rowid"));
        if (!misc)
            return fail(QStringLiteral("Misc"));
        const auto officers = m_db.rows(QStringLiteral("SELECT * FROM Officers ORDER BY Forder"));
        if (!officers)
            return fail(QStringLiteral("Officers"));
        const auto activities = m_db.rows(QStringLiteral("SELECT * FROM Activities ORDER BY rowid"));
        if (!activities)
            return fail(QStringLiteral("Activities"));
        if (!readRecognized())
            return false;
        const std::optional<Row> miscRow = misc->isEmpty() ? std::nullopt : std::optional<Row>(misc->first());
        const std::optional<Row> actRow =
            activities->isEmpty() ? std::nullopt : std::optional<Row>(activities->first());

        if (miscRow && !put(squadronRecord(*miscRow)))
            return false;

        // Sections I and II: the elected officers and the executive committee up to the heading of the
        // appointed officers. Without that heading the appointed and education offices cannot be told apart,
        // so sections III and IV stay empty and nothing from the education heading on is written.
        qsizetype appointedAt = -1;
        const char* item = "A";
        for (qsizetype i = 0; i < officers->size(); ++i) {
            const Row& row = officers->at(i);
            const QString office = row.text("Office");
            if (office == kAppointed) {
                appointedAt = i;
                break;
            }
            if (office == kEducation)
                break;
            if (office == kElected) {
                item = "A";
                continue;
            }
            if (office == kExec) {
                item = "B";
                continue;
            }
            if (!put(officerRecord("I", item, row)))
                return false;
        }
        if (!recognized(1, "II", "A", true) || !recognized(2, "II", "B", true))
            return false;
        if (appointedAt >= 0) {
            const char* section = "III";
            for (qsizetype i = appointedAt; i < officers->size(); ++i) {
                const Row& row = officers->at(i);
                const QString office = row.text("Office");
                if (office == kAppointed) {
                    section = "III";
                    continue;
                }
                if (office == kEducation) {
                    section = "IV";
                    continue;
                }
                if (isHeading(office))
                    continue;
                if (!put(officerRecord(section, "A", row)))
                    return false;
            }
        }

        if (!courseCounts())
            return false;

        if (!recognized(3, "VI", "A", false) || !recognized(4, "VI", "B", false) || !recognized(5, "VI", "C", false) ||
            !recognized(6, "VI", "D", false))
            return false;

        if (miscRow) {
            Record senior("VI", "E");
            senior.raw(miscRow->text("No_Senior"));
            Record mm("VI", "F");
            mm.raw(miscRow->text("No_MM"));
            Record active("VI", "G");
            active.number(miscRow->text("No_Active"));
            if (!put(senior) || !put(mm) || !put(active))
                return false;
        }

        if (actRow && !activityRecords(*actRow))
            return false;

        if (miscRow && !put(officerOfRecord(*miscRow)))
            return false;
        return true;
    }

    QString error() const { return m_error; }
    bool readFailed() const { return m_readFailed; }

private:
    bool fail(const QString& table)
    {
        m_error = QStringLiteral("cannot read table %1: %2").arg(table, m_db.error());
        m_readFailed = true;
        return false;
    }

    bool put(const Record& record)
    {
        if (m_out.write(record))
            return true;
        m_error = QStringLiteral("the file could not be written");
        return false;
    }

    Record squadronRecord(const Row& misc) const
    {
        Record r("I", "S");
        r.text(misc.text("Squadron"));
        r.number(m_s.model.SquadronNoText);
        r.number(misc.text("District"));
        r.text(DateText::mmddyyyy(misc.text("Sub_Date")));
        r.text(DateText::mmddyyyy(misc.text("From_Date")));
        r.text(DateText::mmddyyyy(misc.text("To_Date")));
        r.text(misc.boolean("Incorp") ? QStringLiteral("True") : QStringLiteral("False"));
        return r;
    }

    // The entries of the six lists written, read at once: each list in the order of its names.
    bool readRecognized()
    {
        // Empty names are stored as null; names sort without regard to case. A row belongs to the list whose
        // number its Category equals, as the engine compares them.
        QString list = QStringLiteral("CASE");
        for (int c = 1; c <= 6; ++c)
            list += QStringLiteral(" WHEN Category = %1 THEN %1").arg(c);
        list += QStringLiteral(" END");
        const auto entries = m_db.rows(QStringLiteral("SELECT *, %1 AS r318list FROM Recognized WHERE Last IS NOT NULL "
                                                      "AND TRIM(Last) <> '' AND %1 IS NOT NULL ORDER BY r318list, Last "
                                                      "COLLATE NOCASE, First COLLATE NOCASE, rowid")
                                           .arg(list));
        if (!entries)
            return fail(QStringLiteral("Recognized"));
        for (const Row& row : *entries) {
            const int c = row.record.value(QStringLiteral("r318list")).toInt();
            if (c >= 1 && c < int(m_recognized.size()))
                m_recognized[std::size_t(c)].append(row);
        }
        return true;
    }

    bool recognized(int category, const char* section, const char* item, bool withOffice)
    {
        for (const Row& row : m_recognized[std::size_t(category)]) {
            if (!put(withOffice ? officerRecord(section, item, row) : memberRecord(section, item, row)))
                return false;
        }
        return true;
    }

    bool courseCounts()
    {
        const ReportModel& m = m_s.model;
        Record a("V", "A");
        for (const qint32 c : m.AGCount)
            a.number(SignedCount(c));
        Record b("V", "B");
        for (const qint32 c : m.EGCount)
            b.number(SignedCount(c));
        Record c("V", "C");
        for (const qint32 n : m.BCCount)
            c.number(SignedCount(n));
        Record d("V", "D");
        for (const qint32 n : m.OCCount)
            d.number(SignedCount(n));
        return put(a) && put(b) && put(c) && put(d);
    }

    bool activityRecords(const Row& act)
    {
        // The activity texts in the order of the file's sections, each by its place in ActivityText.
        struct Text
        {
            const char* section;
            const char* item;
            int activity;
        };
        static constexpr std::array<Text, 13> kTexts = {{
            {"VII", "A", 0},
            {"VII", "B", 1},
            {"VII", "C", 2},
            {"VII", "D", 3},
            {"VII", "E", 4},
            {"VII", "F", 5},
            {"VII", "G", 11},
            {"VIII", "A", 12},
            {"VIII", "B", 7},
            {"VIII", "C", 8},
            {"VIII", "D", 9},
            {"VIII", "E", 10},
            {"IX", "A", 6},
        }};
        for (const Text& t : kTexts) {
            const QString text = ReplaceQuotes(act.text(ReportFields::activity(t.activity).name));
            if (text.isEmpty())
                continue;
            Record r(t.section, t.item);
            r.counted(text);
            if (!put(r))
                return false;
        }
        return true;
    }

    Record officerOfRecord(const Row& misc) const
    {
        Record r("X", "A");
        for (const char* field :
             {"PubName", "SubO_Title", "SubO_Cert", "SubO_Last", "SubO_First", "SubO_Grade", "SubO_Rank",
              "SubO_Address", "SubO_City", "SubO_State", "SubO_Zip", "SubO_Phone", "SubO_Email"})
            r.text(misc.text(field));
        return r;
    }

    const HostSession& m_s;
    ReportReader& m_db;
    UploadWriter& m_out;
    std::array<QList<Row>, 7> m_recognized; // lists 1 to 6
    QString m_error;
    bool m_readFailed = false;
};

} // namespace

QByteArray EncodeWindows1252(QStringView text)
{
    // One byte per character at most: the bytes are written in place and the rest cut off.
    QByteArray out(text.size(), Qt::Uninitialized);
    char* d = out.data();
    const char16_t* s = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        if (c < 0x80) {
            *d++ = char(c);
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
            *d++ = '?';
            ++i;
        } else {
            *d++ = windows1252Byte(c);
        }
    }
    out.truncate(d - out.constData());
    return out;
}

void AddField(QString& record, const QString& value, bool isNumber)
{
    if (isNumber) {
        record += value.isEmpty() ? QStringLiteral("0") : value;
    } else {
        record += QLatin1Char('"');
        record += value;
        record += QLatin1Char('"');
    }
    record += QLatin1Char(',');
}

QString ReplaceQuotes(const QString& text)
{
    QString result = text;
    result.replace(QLatin1Char('"'), QLatin1Char('\''));
    return result;
}

QString SignedCount(qint64 count)
{
    return count < 0 ? QString::number(count) : QLatin1Char(' ') + QString::number(count);
}

bool WriteUploadFile(const HostSession& session, QString* reason)
{
    return WriteUploadFile(session, session.UploadFilePath, reason);
}

bool WriteUploadFile(const HostSession& session, const QString& uploadPath, QString* reason)
{
    // Every reason names the upload file, and the report database when that is what failed.
    const auto failed = [&](const QString& why) {
        if (reason)
            *reason = QStringLiteral("Cannot write the upload file %1: %2").arg(uploadPath, why);
        return false;
    };
    const auto unreadable = [&](const QString& why) {
        return failed(QStringLiteral("cannot read the report database %1: %2").arg(session.CurrentDBPath, why));
    };
    if (uploadPath.isEmpty())
        return failed(QStringLiteral("no upload file path is set"));

    ReportReader db(session.CurrentDBPath);
    if (!db.open())
        return unreadable(db.error());

    QSaveFile file(uploadPath);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());

    UploadWriter writer(file);
    UploadBuilder builder(session, db, writer);
    if (!builder.run()) {
        file.cancelWriting();
        if (builder.readFailed())
            return unreadable(builder.error());
        return failed(file.error() != QFileDevice::NoError ? file.errorString() : builder.error());
    }
    if (!file.commit())
        return failed(file.errorString());
    return true;
}

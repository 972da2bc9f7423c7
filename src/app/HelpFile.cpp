#include "HelpFile.h"

#include <QFile>

#include <chm_lib.h>

namespace {

// Nothing in a help file is near this size; a larger length is a damaged file.
constexpr quint64 kLargestObject = 64 * 1024 * 1024;

int collectFile(chmFile*, chmUnitInfo* unit, void* context)
{
    const QString path = QString::fromUtf8(unit->path);
    // Files only, without the "/#" and "/$" bookkeeping objects and the "::" data spaces.
    if (path.startsWith(QLatin1Char('/')) && !path.endsWith(QLatin1Char('/')) &&
        !path.startsWith(QLatin1String("/#")) && !path.startsWith(QLatin1String("/$")))
        static_cast<QStringList*>(context)->append(path);
    return CHM_ENUMERATOR_CONTINUE;
}

QString fileNameOf(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

} // namespace

HelpFile::HelpFile(const QString& path) : m_path(path)
{
    if (path.isEmpty() || !QFile::exists(path))
        return;
    m_file = chm_open(QFile::encodeName(path).constData());
    if (!m_file)
        return;
    chm_enumerate(m_file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collectFile, &m_files);
    readContextMap();
}

HelpFile::~HelpFile()
{
    if (m_file)
        chm_close(m_file);
}

std::optional<QByteArray> HelpFile::read(const QString& path) const
{
    if (!m_file || path.isEmpty())
        return std::nullopt;
    chmUnitInfo unit{};
    const QByteArray name = (path.startsWith(QLatin1Char('/')) ? path : QLatin1Char('/') + path).toUtf8();
    if (chm_resolve_object(m_file, name.constData(), &unit) != CHM_RESOLVE_SUCCESS || unit.length > kLargestObject)
        return std::nullopt;
    QByteArray bytes(qsizetype(unit.length), Qt::Uninitialized);
    const LONGINT64 got =
        chm_retrieve_object(m_file, &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0, LONGINT64(unit.length));
    if (got != LONGINT64(unit.length))
        return std::nullopt;
    return bytes;
}

QString HelpFile::topicPage(int topic) const
{
    return m_topics.value(topic);
}

void HelpFile::readContextMap()
{
    const std::optional<QByteArray> pairs = read(QStringLiteral("/#IVB"));
    const std::optional<QByteArray> strings = read(QStringLiteral("/#STRINGS"));
    if (!pairs || !strings || pairs->size() < 4)
        return;
    // A length in bytes, then pairs of 32-bit little-endian numbers: the topic and the offset of its page's name.
    const QByteArray& bytes = *pairs;
    const auto word = [&bytes](qsizetype at) {
        quint32 value = 0;
        for (qsizetype i = 3; i >= 0; --i)
            value = (value << 8) | quint8(bytes.at(at + i));
        return value;
    };
    const qsizetype end = qMin<qsizetype>(pairs->size(), 4 + qsizetype(word(0)));
    for (qsizetype at = 4; at + 8 <= end; at += 8) {
        const int topic = int(word(at));
        const quint32 offset = word(at + 4);
        if (offset >= quint32(strings->size()) || m_topics.contains(topic))
            continue;
        const qsizetype nul = strings->indexOf('\0', qsizetype(offset));
        const QString name = QString::fromUtf8(strings->mid(offset, nul < 0 ? -1 : nul - offset));
        const QString page = storedPathFor(name);
        if (!page.isEmpty())
            m_topics.insert(topic, page);
    }
}

QString HelpFile::storedPathFor(QString name) const
{
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // "other.chm::/page.htm" names a page inside a file; only the page counts here.
    const qsizetype inside = name.indexOf(QLatin1String("::"));
    if (inside >= 0)
        name = name.mid(inside + 2);
    // A place inside the page is not kept: the page opens at its top.
    const qsizetype place = name.indexOf(QLatin1Char('#'));
    if (place >= 0)
        name.truncate(place);
    name = name.trimmed();
    if (name.isEmpty())
        return {};
    if (!name.startsWith(QLatin1Char('/')))
        name.prepend(QLatin1Char('/'));
    QString best;
    for (const QString& stored : m_files) {
        if (name.endsWith(stored, Qt::CaseInsensitive) && stored.size() > best.size())
            best = stored;
    }
    if (!best.isEmpty())
        return best;
    const QString fileName = fileNameOf(name);
    for (const QString& stored : m_files) {
        if (fileNameOf(stored).compare(fileName, Qt::CaseInsensitive) == 0)
            return stored;
    }
    return {};
}

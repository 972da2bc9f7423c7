#include "SpellCheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QStandardPaths>

#include <nuspell/dictionary.hxx>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr QChar kTypographicApostrophe(0x2019);

// The engine knows the plain apostrophe; the typographic one is read as it.
QString plainApostrophes(QString word)
{
    return word.replace(kTypographicApostrophe, QLatin1Char('\''));
}

// The nuspell engine on one .aff/.dic pair, with the personal word list beside it.
class NuspellDictionary : public Dictionary
{
public:
    // False when the files cannot be read as a dictionary.
    bool load(const QString& affPath)
    {
        try {
            m_engine.load_aff_dic(std::filesystem::path(affPath.toStdString()));
        } catch (const std::exception&) {
            return false;
        }
        loadPersonal();
        return true;
    }

    bool check(const QString& word) const override
    {
        const QString plain = plainApostrophes(word);
        if (m_personal.contains(plain) || m_personal.contains(plain.toLower()))
            return true;
        return m_engine.spell(plain.toStdString());
    }

    QStringList suggestions(const QString& word) const override
    {
        std::vector<std::string> found;
        m_engine.suggest(plainApostrophes(word).toStdString(), found);
        QStringList list;
        for (const std::string& s : found)
            list << QString::fromStdString(s);
        return list;
    }

    void addToPersonal(const QString& word) override
    {
        const QString plain = plainApostrophes(word);
        if (plain.isEmpty() || m_personal.contains(plain))
            return;
        m_personal.insert(plain);
        m_personalOrder << plain;
        savePersonal();
    }

private:
    void loadPersonal()
    {
        QFile file(PersonalWordListPath());
        if (!file.open(QIODevice::ReadOnly))
            return;
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        for (const QString& line : lines) {
            const QString word = line.trimmed();
            if (!word.isEmpty() && !m_personal.contains(word)) {
                m_personal.insert(word);
                m_personalOrder << word;
            }
        }
    }

    // A failed write loses nothing but the new word's persistence: it stays known for this run.
    void savePersonal() const
    {
        const QString path = PersonalWordListPath();
        QDir().mkpath(QFileInfo(path).absolutePath());
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.write((m_personalOrder.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
        file.commit();
    }

    nuspell::Dictionary m_engine;
    QSet<QString> m_personal;
    QStringList m_personalOrder;
};

struct DictionaryState
{
    std::optional<QStringList> folders;
    std::unique_ptr<NuspellDictionary> dictionary;
    bool loadTried = false;
};

DictionaryState& state()
{
    static DictionaryState s;
    return s;
}

QStringList defaultFolders()
{
    QStringList folders;
    // Hunspell's own variable names extra folders.
    for (const QString& dir : qEnvironmentVariable("DICPATH").split(QDir::listSeparator(), Qt::SkipEmptyParts))
        folders << dir;
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << dir + QStringLiteral("/hunspell") << dir + QStringLiteral("/myspell")
                << dir + QStringLiteral("/myspell/dicts");
    if (QCoreApplication::instance())
        folders << QCoreApplication::applicationDirPath() + QStringLiteral("/dictionaries");
    return folders;
}

// The report is written in English: the system's English variant first, then the common ones.
QStringList dictionaryNames()
{
    QStringList names;
    const QString system = QLocale::system().name();
    if (system.startsWith(QLatin1String("en_")))
        names << system;
    for (const char* name : {"en_US", "en_GB", "en_CA", "en_AU"})
        if (!names.contains(QLatin1String(name)))
            names << QLatin1String(name);
    return names;
}

// The .aff file of the first dictionary found whose .dic lies beside it; empty when there is none.
QString findAffFile()
{
    const QStringList folders = DictionaryFolders();
    for (const QString& name : dictionaryNames()) {
        for (const QString& folder : folders) {
            const QString stem = folder + QLatin1Char('/') + name;
            if (QFileInfo::exists(stem + QStringLiteral(".aff")) && QFileInfo::exists(stem + QStringLiteral(".dic")))
                return stem + QStringLiteral(".aff");
        }
    }
    return {};
}

bool isApostrophe(QChar c)
{
    return c == QLatin1Char('\'') || c == kTypographicApostrophe;
}

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c.isMark();
}

// E-mail and web addresses are checked by nobody.
bool isAddress(QStringView chunk)
{
    return chunk.contains(QLatin1Char('@')) || chunk.contains(QLatin1String("://")) ||
           chunk.startsWith(QLatin1String("www."), Qt::CaseInsensitive);
}

bool worthChecking(QStringView word)
{
    if (word.size() < 2)
        return false;
    bool lower = false;
    for (QChar c : word) {
        if (c.isDigit())
            return false;
        lower = lower || c.isLower();
    }
    return lower; // all capitals: an abbreviation
}

bool endsSentence(QChar c)
{
    return c == QLatin1Char('.') || c == QLatin1Char('!') || c == QLatin1Char('?');
}

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

} // namespace

QStringList DictionaryFolders()
{
    if (!state().folders)
        state().folders = defaultFolders();
    return *state().folders;
}

void SetDictionaryFolders(const QStringList& folders)
{
    state().folders = folders;
    state().dictionary.reset();
    state().loadTried = false;
}

QString PersonalWordListPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/r318form/words.txt");
}

bool IsWord()
{
    return state().dictionary != nullptr || !findAffFile().isEmpty();
}

Dictionary* SpellingDictionary()
{
    DictionaryState& s = state();
    if (!s.loadTried) {
        s.loadTried = true;
        const QString aff = findAffFile();
        if (!aff.isEmpty()) {
            auto dictionary = std::make_unique<NuspellDictionary>();
            if (dictionary->load(aff))
                s.dictionary = std::move(dictionary);
        }
    }
    return s.dictionary.get();
}

TextWord NextWordToCheck(const QString& text, int from)
{
    const int n = int(text.size());
    int i = qMax(0, from);
    while (i < n) {
        if (text.at(i).isSpace()) {
            ++i;
            continue;
        }
        // The blank-delimited chunk holding i: an address is passed over whole.
        int chunkStart = i;
        while (chunkStart > 0 && !text.at(chunkStart - 1).isSpace())
            --chunkStart;
        int chunkEnd = i;
        while (chunkEnd < n && !text.at(chunkEnd).isSpace())
            ++chunkEnd;
        if (isAddress(QStringView(text).mid(chunkStart, chunkEnd - chunkStart))) {
            i = chunkEnd;
            continue;
        }
        while (i < chunkEnd) {
            if (!isWordCharacter(text.at(i))) {
                ++i;
                continue;
            }
            const int start = i;
            while (i < chunkEnd && (isWordCharacter(text.at(i)) ||
                                    (isApostrophe(text.at(i)) && i + 1 < chunkEnd && isWordCharacter(text.at(i + 1)))))
                ++i;
            if (worthChecking(QStringView(text).mid(start, i - start)))
                return {start, i - start};
        }
    }
    return {};
}

SpellCheck::SpellCheck(const QString& text, Dictionary& dictionary)
    : m_original(text), m_text(text), m_dictionary(dictionary)
{
}

bool SpellCheck::next()
{
    for (;;) {
        const TextWord found = NextWordToCheck(m_text, m_position);
        if (!found.found()) {
            m_word = {};
            m_position = int(m_text.size());
            return false;
        }
        const QString word = m_text.mid(found.start, found.length);
        m_position = found.start + found.length;
        if (m_ignored.contains(word))
            continue;
        const auto changeTo = m_changeAll.constFind(word);
        if (changeTo != m_changeAll.constEnd()) {
            m_text.replace(found.start, found.length, *changeTo);
            m_position = found.start + int(changeTo->size());
            continue;
        }
        if (m_dictionary.check(word))
            continue;
        m_word = found;
        return true;
    }
}

QStringList SpellCheck::suggestions() const
{
    return m_word.found() ? m_dictionary.suggestions(word()) : QStringList();
}

SpellCheck::Sentence SpellCheck::sentence() const
{
    if (!m_word.found())
        return {};
    int begin = m_word.start;
    while (begin > 0 && !isLineBreak(m_text.at(begin - 1)) &&
           !(begin >= 2 && m_text.at(begin - 1).isSpace() && endsSentence(m_text.at(begin - 2))))
        --begin;
    while (begin < m_word.start && m_text.at(begin).isSpace())
        ++begin;
    const int n = int(m_text.size());
    int end = m_word.start + m_word.length;
    while (end < n && !isLineBreak(m_text.at(end))) {
        ++end;
        if (endsSentence(m_text.at(end - 1)) && (end == n || m_text.at(end).isSpace()))
            break;
    }
    return {m_text.mid(begin, end - begin), m_word.start - begin};
}

void SpellCheck::ignoreAll()
{
    if (m_word.found())
        m_ignored.insert(word());
}

void SpellCheck::change(const QString& replacement)
{
    if (!m_word.found())
        return;
    m_text.replace(m_word.start, m_word.length, replacement);
    m_position = m_word.start + int(replacement.size());
    m_word = {};
}

void SpellCheck::changeAll(const QString& replacement)
{
    if (!m_word.found())
        return;
    m_changeAll.insert(word(), replacement);
    change(replacement);
}

void SpellCheck::add()
{
    if (m_word.found())
        m_dictionary.addToPersonal(word());
}

#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

// A spelling dictionary: the engine's word list plus the user's own words.
class Dictionary
{
public:
    virtual ~Dictionary() = default;
    // True when the word is spelled right: known to the engine or on the personal list.
    virtual bool check(const QString& word) const = 0;
    // Likely meant words, best first; may be empty.
    virtual QStringList suggestions(const QString& word) const = 0;
    // Puts the word on the personal list, which is kept in the user's data folder and known from then on.
    virtual void addToPersonal(const QString& word) = 0;
};

// The folders searched for a dictionary's .aff and .dic files: by default the system's hunspell and myspell
// folders and "dictionaries" beside the program. Setting them (tests do) forgets a loaded dictionary.
QStringList DictionaryFolders();
void SetDictionaryFolders(const QStringList& folders);

// The personal word list: one word a line, UTF-8, in the user's data folder.
QString PersonalWordListPath();

// Whether a spelling dictionary is there to load: its .aff and .dic files exist in one of the folders. Cheap;
// loads nothing.
bool IsWord();

// The spelling dictionary, loaded at its first use and kept; null when none is available or it cannot be read.
Dictionary* SpellingDictionary();

// A word of a text that the spelling check looks at: its position and length in the text.
struct TextWord
{
    int start = -1;
    int length = 0;
    bool found() const { return start >= 0; }
};

// The next word at or after position `from` that is worth checking, or none (start -1). Words are runs of letters
// with apostrophes inside them (the typographic one too); hyphens and slashes divide them. Left alone, so that
// they raise no false alarms: anything holding a digit ("3rd", "A1"), single letters, all-capital abbreviations
// ("VSC", "COW"), and e-mail and web addresses as a whole.
TextWord NextWordToCheck(const QString& text, int from);

// One spelling check of a text, walked word by word: next() stops at each word the dictionary does not know, and
// the user's decision (ignore, change, add ...) is applied before the walk goes on. The text is changed in place;
// a word changed with Change All is changed wherever it appears later without stopping.
class SpellCheck
{
public:
    SpellCheck(const QString& text, Dictionary& dictionary);

    // Moves to the next unknown word after the current one; false at the end of the text.
    bool next();

    // The unknown word the walk stopped at and its position in text().
    QString word() const { return m_text.mid(m_word.start, m_word.length); }
    int wordStart() const { return m_word.start; }
    QStringList suggestions() const;

    // The sentence holding the unknown word (at most one line of the text) and where the word begins in it.
    struct Sentence
    {
        QString text;
        int wordStart = 0;
    };
    Sentence sentence() const;

    // Leaves the word as it is.
    void ignore() {}
    // Leaves the word and every later one spelled the same.
    void ignoreAll();
    // Replaces the word; the walk goes on after the replacement, which is not checked again.
    void change(const QString& replacement);
    // Replaces the word and every later one spelled the same.
    void changeAll(const QString& replacement);
    // Puts the word on the personal list; it is known from then on.
    void add();

    QString text() const { return m_text; }
    bool changed() const { return m_text != m_original; }

private:
    QString m_original;
    QString m_text;
    Dictionary& m_dictionary;
    TextWord m_word;
    int m_position = 0; // where the search for the next word begins
    QSet<QString> m_ignored;
    QHash<QString, QString> m_changeAll;
};

#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

struct chmFile;

// A compiled HTML help file, read with chmlib. Its pages and pictures are stored objects named by absolute
// paths inside the file ("/pages/intro.htm"); its context map ties topic numbers to pages.
class HelpFile
{
public:
    // Opens the file; isOpen() is false when it is missing or not a compiled help file.
    explicit HelpFile(const QString& path);
    ~HelpFile();
    HelpFile(const HelpFile&) = delete;
    HelpFile& operator=(const HelpFile&) = delete;

    bool isOpen() const { return m_file != nullptr; }
    QString path() const { return m_path; }

    // The stored page of a topic number ("/pages/intro.htm"); empty when the map has no such topic or its page
    // is not in the file.
    QString topicPage(int topic) const;

    // The bytes of a stored object by its path inside the file (letter case ignored); none when it is not there.
    std::optional<QByteArray> read(const QString& path) const;

    // The paths of the stored files, the file's own bookkeeping objects left out.
    QStringList storedFiles() const { return m_files; }

private:
    // The context map: the pairs of topic number and offset in "/#IVB", the page names at those offsets in
    // "/#STRINGS".
    void readContextMap();
    // The stored file a map entry names. The compiler may keep the page's source folder in the name
    // ("/tmp/help/pages/intro.htm" for "/pages/intro.htm"), so the longest stored path the name ends with
    // wins, then a stored file of the same file name.
    QString storedPathFor(QString name) const;

    QString m_path;
    chmFile* m_file = nullptr;
    QStringList m_files;
    QHash<int, QString> m_topics; // topic number to stored page
};

#pragma once

#include <QString>

// Every file operation on report files goes through this class: the copy that replaces a file (written to a
// scratch file in the target's folder, flushed to disk and renamed over the target, so the target holds
// the old or the new content at every moment; a target marked read-only is refused), the rename that
// replaces its target in one step, and removal. Tests install a subclass that makes chosen operations fail.
class ReportFiles
{
public:
    virtual ~ReportFiles() = default;

    virtual bool exists(const QString& path) const;
    // Replaces (or creates) `to` with a copy of `from`.
    virtual bool copy(const QString& from, const QString& to, QString* why = nullptr);
    // Renames `from` to `to`, replacing `to` when it exists.
    virtual bool rename(const QString& from, const QString& to, QString* why = nullptr);
    // Removes the file; true when it is gone (also when it was never there).
    virtual bool remove(const QString& path, QString* why = nullptr);
    // Writes the file's data through to the disk.
    virtual bool flush(const QString& path, QString* why = nullptr);

    // The operations in use; tests install their own (nullptr restores the plain one). Not owned.
    static ReportFiles& current();
    static void install(ReportFiles* files);

    // A name for a scratch file beside `target` that no other file carries: "~<name>.<random>.tmp". It never
    // ends in ".mdb", so it is never taken for a report or an archive.
    static QString scratchPathBeside(const QString& target);
    // Removes the scratch files of `target` that an interrupted program left beside it.
    void removeScratchFiles(const QString& target);
};

// Installs a ReportFiles for the lifetime of the object.
class ScopedReportFiles
{
public:
    explicit ScopedReportFiles(ReportFiles* files) { ReportFiles::install(files); }
    ~ScopedReportFiles() { ReportFiles::install(nullptr); }
    ScopedReportFiles(const ScopedReportFiles&) = delete;
    ScopedReportFiles& operator=(const ScopedReportFiles&) = delete;
};

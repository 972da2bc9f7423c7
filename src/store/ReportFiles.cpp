#include "store/ReportFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

ReportFiles* g_installed = nullptr;

std::filesystem::path nativePath(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(QDir::toNativeSeparators(path).toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

bool fail(QString* why, const QString& text)
{
    if (why)
        *why = text;
    return false;
}

} // namespace

ReportFiles& ReportFiles::current()
{
    static ReportFiles plain;
    return g_installed ? *g_installed : plain;
}

void ReportFiles::install(ReportFiles* files)
{
    g_installed = files;
}

bool ReportFiles::exists(const QString& path) const
{
    return QFileInfo::exists(path);
}

namespace {

bool renameOver(const QString& from, const QString& to, QString* why)
{
    std::error_code ec;
    std::filesystem::rename(nativePath(from), nativePath(to), ec);
    if (ec)
        return fail(
            why,
            QStringLiteral("cannot rename %1 to %2: %3").arg(from, to, QString::fromLocal8Bit(ec.message().c_str())));
    return true;
}

bool syncFile(QFile& file)
{
#ifdef Q_OS_WIN
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
    return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle);
#else
    return ::fsync(file.handle()) == 0;
#endif
}

} // namespace

bool ReportFiles::copy(const QString& from, const QString& to, QString* why)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return fail(why, QStringLiteral("cannot read %1: %2").arg(from, source.errorString()));
    const QFileInfo target(to);
    if (target.exists() && (!target.isWritable() || !target.permission(QFileDevice::WriteOwner)))
        return fail(why, QStringLiteral("%1 is read-only").arg(to));

    // The copy is written to a scratch file beside the target, flushed to the disk and renamed over the
    // target: an interrupted copy leaves the target as it was.
    const QString scratch = scratchPathBeside(to);
    QFile out(scratch);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return fail(why, QStringLiteral("cannot write %1: %2").arg(scratch, out.errorString()));
    const auto abandon = [&](const QString& text) {
        out.close();
        QFile::remove(scratch);
        return fail(why, text);
    };
    while (!source.atEnd()) {
        const QByteArray buffer = source.read(1 << 16);
        if (buffer.isEmpty() && source.error() != QFileDevice::NoError)
            return abandon(QStringLiteral("cannot read %1: %2").arg(from, source.errorString()));
        if (out.write(buffer) != buffer.size())
            return abandon(QStringLiteral("cannot write %1: %2").arg(scratch, out.errorString()));
    }
    if (!out.flush() || !syncFile(out))
        return abandon(QStringLiteral("cannot write %1 to the disk").arg(scratch));
    out.close();
    if (target.exists())
        QFile::setPermissions(scratch, target.permissions());
    if (!renameOver(scratch, to, why)) {
        QFile::remove(scratch);
        return false;
    }
    return true;
}

bool ReportFiles::rename(const QString& from, const QString& to, QString* why)
{
    return renameOver(from, to, why);
}

bool ReportFiles::remove(const QString& path, QString* why)
{
    QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    QFile file(path);
    if (!file.remove())
        return fail(why, QStringLiteral("cannot delete %1: %2").arg(path, file.errorString()));
    return true;
}

bool ReportFiles::flush(const QString& path, QString* why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return fail(why, QStringLiteral("cannot open %1: %2").arg(path, file.errorString()));
    if (!syncFile(file))
        return fail(why, QStringLiteral("cannot write %1 to the disk").arg(path));
    return true;
}

void ReportFiles::removeScratchFiles(const QString& target)
{
    const QFileInfo info(target);
    QDir folder(info.absolutePath());
    const QString pattern = QLatin1Char('~') + info.fileName() + QLatin1String(".*.tmp");
    for (const QString& name :
         folder.entryList({pattern, pattern + QLatin1String("-journal")}, QDir::Files | QDir::Hidden))
        remove(folder.filePath(name));
}

QString ReportFiles::scratchPathBeside(const QString& target)
{
    const QFileInfo info(target);
    const QString folder = info.absolutePath();
    for (;;) {
        // One substitution only: a folder named "a %2B b" must not take the number meant for the file name.
        const QString candidate =
            QStringLiteral("%1/~%2.%3.tmp")
                .arg(folder, info.fileName(),
                     QStringLiteral("%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        if (!QFileInfo::exists(candidate) && !QFileInfo::exists(candidate + QLatin1String("-journal")))
            return candidate;
    }
}

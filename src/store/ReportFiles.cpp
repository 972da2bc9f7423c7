#include "store/ReportFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

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

bool ReportFiles::copy(const QString& from, const QString& to, QString* why)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return fail(why, QStringLiteral("cannot read %1: %2").arg(from, source.errorString()));
    // QSaveFile writes a temporary file beside the target, flushes it to disk and renames it over the
    // target at commit; an interrupted copy leaves the target as it was.
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly))
        return fail(why, QStringLiteral("cannot write %1: %2").arg(to, target.errorString()));
    QByteArray buffer;
    while (!source.atEnd()) {
        buffer = source.read(1 << 16);
        if (buffer.isEmpty() && source.error() != QFileDevice::NoError) {
            target.cancelWriting();
            return fail(why, QStringLiteral("cannot read %1: %2").arg(from, source.errorString()));
        }
        if (target.write(buffer) != buffer.size()) {
            const QString error = target.errorString();
            target.cancelWriting();
            return fail(why, QStringLiteral("cannot write %1: %2").arg(to, error));
        }
    }
    if (!target.commit())
        return fail(why, QStringLiteral("cannot write %1: %2").arg(to, target.errorString()));
    return true;
}

bool ReportFiles::rename(const QString& from, const QString& to, QString* why)
{
    std::error_code ec;
    std::filesystem::rename(nativePath(from), nativePath(to), ec);
    if (ec)
        return fail(
            why,
            QStringLiteral("cannot rename %1 to %2: %3").arg(from, to, QString::fromLocal8Bit(ec.message().c_str())));
    return true;
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
#ifdef Q_OS_WIN
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
    const bool done = handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle);
#else
    const bool done = ::fsync(file.handle()) == 0;
#endif
    if (!done)
        return fail(why, QStringLiteral("cannot write %1 to the disk").arg(path));
    return true;
}

QString ReportFiles::scratchPathBeside(const QString& target)
{
    const QFileInfo info(target);
    const QString folder = info.absolutePath();
    for (;;) {
        const QString candidate = QStringLiteral("%1/~%2.%3.tmp")
                                      .arg(folder, info.fileName())
                                      .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        if (!QFileInfo::exists(candidate) && !QFileInfo::exists(candidate + QLatin1String("-journal")))
            return candidate;
    }
}

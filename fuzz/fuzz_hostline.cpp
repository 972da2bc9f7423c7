// The host's command line and the values of its settings file.

#include "app/HostSettings.h"
#include "app/Startup.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    static const bool configured = [] {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
        return QDir().mkpath(dir.path() + QStringLiteral("/VB and VBA Program Settings"));
    }();
    (void)configured;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = QString::fromUtf8(bytes);

    const Startup::CommandLine line = Startup::CommandLine::parse(text);
    if (line.fields.size() != line.commas + 1)
        __builtin_trap();
    (void)Startup::SquadronCheck(text);
    (void)HostSettings::mouseSettingValue(text);

    // The same bytes as the host's settings file.
    QFile file(HostSettings::iniPath(QStringLiteral("Fuzz")));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(bytes);
        file.close();
        (void)HostSettings::read(QStringLiteral("Fuzz"), QStringLiteral("Startup"), QStringLiteral("PrimaryDB"));
        (void)HostSettings::read(QStringLiteral("Fuzz"), QStringLiteral("Startup"), QStringLiteral("Mouse"));
    }
    return 0;
}

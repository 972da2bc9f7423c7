#include "app/HostSettings.h"

#include <QDir>
#include <QSettings>
#include <QStringList>

#include <memory>

namespace HostSettings {

namespace {

std::unique_ptr<QSettings> open(const QString& app)
{
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\%1\\%2").arg(QLatin1String(kOrganisation), app),
        QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(iniPath(app), QSettings::IniFormat);
#endif
}

QString findCaseBlind(const QStringList& names, const QString& wanted)
{
    for (const QString& name : names) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return name;
    }
    return {};
}

} // namespace

QString iniPath(const QString& app)
{
    QString root = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (root.isEmpty())
        root = QDir::homePath() + QLatin1String("/.config");
    return root + QLatin1Char('/') + QLatin1String(kOrganisation) + QLatin1Char('/') + app + QLatin1String(".conf");
}

QString read(const QString& app, const QString& section, const QString& key, const QString& defaultValue)
{
    if (app.trimmed().isEmpty() || section.isEmpty() || key.isEmpty())
        return defaultValue;
    auto settings = open(app);
    const QString group = findCaseBlind(settings->childGroups(), section);
    if (group.isEmpty())
        return defaultValue;
    settings->beginGroup(group);
    const QString name = findCaseBlind(settings->childKeys(), key);
    if (name.isEmpty())
        return defaultValue;
    const QVariant value = settings->value(name);
    // An unquoted value with commas comes back from an INI file as a list: give back the text as written.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1String(", "));
    return value.toString();
}

void write(const QString& app, const QString& section, const QString& key, const QString& value)
{
    auto settings = open(app);
    settings->beginGroup(section);
    settings->setValue(key, value);
    settings->endGroup();
    settings->sync();
}

bool mouseSettingValue(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.isEmpty() || t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double number = t.toDouble(&ok);
    return ok && number != 0.0;
}

} // namespace HostSettings

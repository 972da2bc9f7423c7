#pragma once

#include <QString>

// The host's per-user settings, addressed by application, section and key; every value is text and the
// default comes back when the key is absent. Sections and keys are found without regard to letter case.
// On Windows they live in the registry under "VB and VBA Program Settings"; elsewhere in one INI file per
// application under $XDG_CONFIG_HOME/VB and VBA Program Settings/.
namespace HostSettings {

inline constexpr char kOrganisation[] = "VB and VBA Program Settings";

QString read(const QString& app, const QString& section, const QString& key, const QString& defaultValue = {});

// Writes a setting. The add-in never writes one; the demo host and the tests do.
void write(const QString& app, const QString& section, const QString& key, const QString& value);

// The INI file that holds an application's settings (not on Windows).
QString iniPath(const QString& app);

// The host's Mouse setting: the words True or False, or a number that counts as true when not 0.
bool mouseSettingValue(const QString& text);

} // namespace HostSettings

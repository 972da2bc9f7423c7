#pragma once

#include "host/HostSession.h"

#include <QString>

// The program-wide state of one running add-in: what start-up derived from the host's command line and
// settings, the open host databases and the report held in memory.
struct Session : HostSession
{
    // From the command line and the host's settings.
    QString SettingsApp;
    QString ColorMode; // "color" or "mono"
    bool MouseWheel = false;
    QString DataPath;
    QString HelpFilePath;
};

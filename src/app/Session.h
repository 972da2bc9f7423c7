#pragma once

#include "host/HostData.h"
#include "store/ReportModel.h"

#include <QString>

// The program-wide state of one running add-in: what start-up derived from the host's command line and
// settings, the open host databases and the report held in memory.
struct Session
{
    // From the command line and the host's settings.
    QString SettingsApp;
    QString PrimaryDBPath;
    QString SquadronsDBPath;
    QString ColorMode; // "color" or "mono"
    QString HostConnect;
    QString UserPW;
    bool MouseWheel = false;
    QString DataPath;

    // Paths derived from the host's data folder; folders end with "/".
    QString DataDir;
    QString UploadFilePath;
    QString ReportDBPath;
    QString ReportBakPath;
    QString CurrentDBPath; // the report file being edited: ReportDBPath, or an archive while one is open
    QString CurrentBakPath;
    QString HistorianURL;
    QString HelpFilePath;

    HostData host;
    ReportModel model;
};

#pragma once

#include "store/ReportModel.h"

#include <QString>

// What the report store works on: where the report files are and the report held in memory.
struct ReportSession
{
    // Paths derived from the host's data folder; folders end with "/".
    QString DataDir;
    QString UploadFilePath;
    QString ReportDBPath;
    QString ReportBakPath;
    QString CurrentDBPath; // the report file being edited: ReportDBPath, or an archive while one is open
    QString CurrentBakPath;
    // The historian's submission page, stored in a new report.
    QString HistorianURL;

    ReportModel model;
};

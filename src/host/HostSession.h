#pragma once

#include "host/HostData.h"
#include "store/ReportSession.h"

#include <QString>

// The report together with the host databases it is filled from.
struct HostSession : ReportSession
{
    QString PrimaryDBPath;
    QString SquadronsDBPath;
    QString HostConnect;
    QString UserPW;

    HostData host;
};

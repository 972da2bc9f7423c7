#include "store/ReportDatabase.h"

#include "app/Session.h"

// Placeholder until the report store lands: start-up goes on without a report file.
bool OpenReportDatabase(Session& session, const QString& mode, Prompt& prompt, QString* reason)
{
    Q_UNUSED(session)
    Q_UNUSED(mode)
    Q_UNUSED(prompt)
    Q_UNUSED(reason)
    return true;
}

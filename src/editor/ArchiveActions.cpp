#include "editor/ArchiveActions.h"

#include "app/Session.h"
#include "editor/ChangeDB.h"
#include "editor/R318grid.h"
#include "store/ReportArchive.h"
#include "store/ReportDatabase.h"
#include "store/ReportIO.h"

#include <QDir>

ArchiveActions::ArchiveActions(Session& session, Prompt& prompt, R318grid& window)
    : m_session(session), m_prompt(prompt), m_window(window)
{
    m_chooser = [this](const QString& mode) {
        return ChangeDB::run(m_session, m_prompt, mode, &m_window);
    };
}

void ArchiveActions::mnuFileAchiveClick()
{
    m_window.commitEdits();
    const ArchiveOutcome outcome = ArchiveReport(m_session, m_prompt);
    m_window.focusControl(outcome.focus);
    m_window.MenuControl();
}

void ArchiveActions::mnuFileOpenClick()
{
    m_window.commitEdits();
    if (!SaveReport(m_session, m_prompt))
        return;
    const QString report = m_session.CurrentDBPath;
    const QString backup = m_session.CurrentBakPath;
    if (m_chooser(QStringLiteral("O")) == QLatin1String("O")) {
        // An archive of an older version is brought up to the current schema before it is shown; one that
        // cannot be leaves the report as it was.
        if (OpenReportDatabase(m_session, QString(), m_prompt)) {
            m_window.LoadFormData(true);
        } else {
            m_session.CurrentDBPath = report;
            m_session.CurrentBakPath = backup;
        }
    }
    m_window.MenuControl();
}

void ArchiveActions::mnuFileCloseArchiveClick()
{
    m_window.commitEdits();
    if (!CloseArchive(m_session, m_prompt))
        return;
    m_window.MenuControl();
    m_window.LoadFormData(false);
}

void ArchiveActions::mnuFileSaveAsClick()
{
    m_window.commitEdits();
    const bool replaced = ReplaceCurrentWithArchive(m_session, m_prompt);
    m_window.MenuControl();
    // The window keeps showing the report; only its caption, which names the file, changes.
    if (replaced)
        m_window.setWindowTitle(QStringLiteral("Form ") + QDir::toNativeSeparators(m_session.CurrentDBPath));
}

void ArchiveActions::mnuFileDeleteClick()
{
    m_window.commitEdits();
    m_chooser(QStringLiteral("D"));
    m_window.MenuControl();
}

void ArchiveActions::mnuFileNewClick()
{
    m_window.commitEdits();
    const StartNewOutcome outcome = StartNewReport(m_session, m_prompt);
    if (outcome.started || outcome.archiveClosed)
        m_window.LoadFormData(false);
    m_window.MenuControl();
}

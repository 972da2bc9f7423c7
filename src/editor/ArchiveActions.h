#pragma once

#include <QString>

#include <functional>

class Prompt;
class R318grid;
struct Session;

// The archive items of the window's File menu. Each stores what the box being edited holds, runs its
// operation and sets the archive items again (MenuControl); those that change the report being edited reload
// it into the window.
class ArchiveActions
{
public:
    // Runs the archive chooser in mode "O" (open) or "D" (delete) and returns the mode it ended in: "O" when an
    // archive was opened, empty otherwise. The default shows the chooser modally over the window.
    using Chooser = std::function<QString(const QString& mode)>;

    ArchiveActions(Session& session, Prompt& prompt, R318grid& window);

    void setChooser(Chooser chooser) { m_chooser = std::move(chooser); }

    // "Archive R-318 Form": a dated copy of the report; a missing watch date takes the focus to its box.
    void mnuFileAchiveClick();
    // "Open Archive": saves the report, lets the user choose an archive, brings it up to the current schema
    // and shows it.
    void mnuFileOpenClick();
    // "Close Archive": saves the archive and shows the current report again.
    void mnuFileCloseArchiveClick();
    // "Replace Current With Archive": the open archive becomes the current report; the window keeps showing it.
    void mnuFileSaveAsClick();
    // "Delete Unwanted Archives": the chooser in delete mode.
    void mnuFileDeleteClick();
    // "Start a New R-318": the report becomes an archive and a new, empty report is shown.
    void mnuFileNewClick();

private:
    Session& m_session;
    Prompt& m_prompt;
    R318grid& m_window;
    Chooser m_chooser;
};

#pragma once

#include <QMainWindow>
#include <QStringList>

#include <memory>

class ActivitiesGroup;
class ArchiveActions;
class Browser;
class EducationGroup;
class MemberListGroup;
class MouseWheelFilter;
class Prompt;
class QAction;
class QFileSystemWatcher;
class QMenu;
class RecognitionGroup;
class SquadronDataGroup;
struct ReportSession;
struct Session;

// Which archive items of the File menu the report's files allow.
struct ArchiveItems
{
    bool openArchive = false;
    bool deleteArchives = false;
    bool replaceCurrent = false;
    bool closeArchive = false;
};

// The add-in's main window: the whole report at once (squadron data, activities and awards, the member list,
// the education results, the officers and members recognised by name) and the menus that save, revert,
// archive, fill from the host, print, submit and spell-check.
//
// The report is loaded when the window is first shown. Closing the window, by the menu or the title bar,
// stores what the boxes hold, saves the report, refreshes its backup copy, closes the host databases and
// compacts the report file.
class R318grid : public QMainWindow
{
    Q_OBJECT
public:
    R318grid(Session& session, Prompt& prompt, Browser& browser, QWidget* parent = nullptr);
    ~R318grid() override;

    // Loads the report at CurrentDBPath into the model and shows it: no category or activity picked, the grid
    // and the activities box hidden, the look-ups of a loaded report run (not the submitting officer's for an
    // archive), every value shown.
    void LoadFormData(bool archive);
    // Shows the report's values, and "Form " + CurrentDBPath as the caption.
    void Fillvalues();
    // Enables the archive items of the File menu from the files present and whether an archive is open.
    void MenuControl();
    // What MenuControl enables: "Open Archive" and "Delete Unwanted Archives" when a file of DataDir matches
    // "R318_<code>*.mdb" in any letter case (the squadron's own report does); while an archive is open only
    // "Replace Current With Archive" and "Close Archive".
    static ArchiveItems archiveItems(const ReportSession& session);
    static ArchiveItems archiveItems(const ReportSession& session, const QStringList& dataDirFiles);
    // Applies the colour scheme (not in "mono" mode).
    void PaintControls();
    // Grid mode: the category buttons, the member list, the File menu and "Preview and Print" are usable.
    void GridMode();
    // Edit mode, while a grid cell is edited: all of those are disabled.
    void EditMode();

    // Stores whatever a box holds that is not in the report model yet (the box being edited). Runs before
    // every operation a menu starts, since a menu item does not take the focus.
    void commitEdits();

    // Gives the focus to the control with that object name (a guard asks for it); nothing for an empty name.
    void focusControl(const QString& name);

    // Restores the window when minimised and brings it to the front (a second copy was started).
    void bringToFront();

    // The archive items' operations (tests replace the chooser through it).
    ArchiveActions& archiveActions() { return *m_archive; }

    // Whether wheel turns over the window scroll the grid (the host's mouse setting).
    bool scrollsGridByWheel() const { return m_wheel != nullptr; }

    // True once the report has been loaded at the first show.
    bool isLoaded() const { return !FirstActivation; }

Q_SIGNALS:
    // The report was loaded into the window (the first show, revert, archive changes).
    void reportLoaded();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    // MenuControl on the file names last read from DataDir: a key typed into the to-date never waits on the disk.
    // A watcher on DataDir keeps the names current.
    void menuControlFrom(const QStringList& dataDirFiles);
    void readDataDir();
    void mnuFileSaveClick();
    void mnuFileRevertClick();
    void cmdSubOClick();
    void cmdSubOSearchClick();
    void mnuFileFillClick();
    void mnuFileRefreshClick();
    void mnuPrintPreviewClick();
    void mnuSubmitClick();
    void mnuSpellClick();
    void mnuHelpAboutClick();
    // The end of the program: the final save, the backup copy, the host databases closed, the compaction.
    void unload();

    Session& m_session;
    Prompt& m_prompt;
    Browser& m_browser;

    SquadronDataGroup* Frame1 = nullptr;
    ActivitiesGroup* Frame11 = nullptr;
    MemberListGroup* Frame8 = nullptr;
    EducationGroup* Frame7 = nullptr;
    RecognitionGroup* Frame2 = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFileRevert = nullptr;
    QAction* mnuFileAchive = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileCloseArchive = nullptr;
    QAction* mnuFileSaveAs = nullptr;
    QAction* mnuFileDelete = nullptr;
    QAction* mnuFileNew = nullptr;
    QAction* mnuFileFill = nullptr;
    QAction* mnuFileRefresh = nullptr;
    QAction* mnuFileClose = nullptr;
    QAction* mnuPrintPreview = nullptr;
    QAction* mnuSubmit = nullptr;
    QAction* mnuSpell = nullptr;
    QAction* mnuHelpAbout = nullptr;
    QAction* mnuHelpHow = nullptr;

    std::unique_ptr<ArchiveActions> m_archive;
    std::unique_ptr<MouseWheelFilter> m_wheel; // only with the host's mouse setting on
    QStringList m_dataDirFiles;
    QFileSystemWatcher* m_dataDirWatcher = nullptr;

    bool FirstActivation = true;
    bool m_unloaded = false;
};

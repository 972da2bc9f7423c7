#include "editor/R318grid.h"

#include "app/HelpPages.h"
#include "app/Session.h"
#include "base/Prompt.h"
#include "editor/AboutDialog.h"
#include "editor/ActivitiesGroup.h"
#include "editor/ArchiveActions.h"
#include "editor/EducationGroup.h"
#include "editor/HelpWindow.h"
#include "editor/MemberListGroup.h"
#include "editor/MouseWheelFilter.h"
#include "editor/PrintPreview.h"
#include "editor/RecognitionGroup.h"
#include "editor/Scheme.h"
#include "editor/SpellingDialog.h"
#include "editor/SpellingUi.h"
#include "editor/SquadronDataGroup.h"
#include "host/FillFromHost.h"
#include "host/HostData.h"
#include "output/SpellCheck.h"
#include "output/WebSubmission.h"
#include "store/ReportArchive.h"
#include "store/ReportFile.h"
#include "store/ReportIO.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The window sees every key before its controls: a double quote typed anywhere in it becomes an apostrophe,
// so no text of the report ever holds one. Input that arrives through an input method is changed the same way.
class QuoteFilter : public QObject
{
public:
    explicit QuoteFilter(QWidget* window) : QObject(window), m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::InputMethod)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != m_window)
            return false;
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (!key->text().contains(QLatin1Char('"')))
                return false;
            QKeyEvent apostrophe(QEvent::KeyPress, Qt::Key_Apostrophe, key->modifiers() & ~Qt::ShiftModifier,
                                 QString(key->text()).replace(QLatin1Char('"'), QLatin1Char('\'')), key->isAutoRepeat(),
                                 ushort(key->count()));
            QCoreApplication::sendEvent(watched, &apostrophe);
            return true;
        }
        auto* input = static_cast<QInputMethodEvent*>(event);
        if (!input->commitString().contains(QLatin1Char('"')))
            return false;
        QInputMethodEvent changed(input->preeditString(), input->attributes());
        changed.setCommitString(QString(input->commitString()).replace(QLatin1Char('"'), QLatin1Char('\'')),
                                input->replacementStart(), input->replacementLength());
        QCoreApplication::sendEvent(watched, &changed);
        return true;
    }

private:
    QWidget* m_window;
};

QAction* addItem(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

void addSeparator(QMenu* menu, const char* name)
{
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

} // namespace

R318grid::R318grid(Session& session, Prompt& prompt, Browser& browser, QWidget* parent)
    : QMainWindow(parent), m_session(session), m_prompt(prompt), m_browser(browser)
{
    setObjectName(QStringLiteral("R318grid"));
    setWindowTitle(QString::fromLatin1(kAppTitle));
    setFont(QFont(QStringLiteral("Arial"), 8));

    // The groups in their order, which is also the tab order.
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("R318gridClient"));
    Frame1 = new SquadronDataGroup(m_session, m_prompt, central);
    Frame11 = new ActivitiesGroup(m_session, central);
    Frame8 = new MemberListGroup(m_session, m_prompt, central);
    Frame7 = new EducationGroup(m_session, m_prompt, central);
    Frame2 = new RecognitionGroup(m_session, m_prompt, central);

    auto* left = new QVBoxLayout;
    left->addWidget(Frame1);
    left->addWidget(Frame8, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(Frame11);
    right->addWidget(Frame7);
    right->addWidget(Frame2, 1);
    auto* columns = new QHBoxLayout(central);
    columns->setContentsMargins(4, 2, 4, 4);
    columns->setSpacing(4);
    columns->addLayout(left, 37);
    columns->addLayout(right, 63);
    setCentralWidget(central);

    buildMenus();

    Frame1->setFindBox(Frame8->findBox());
    Frame8->setTargets(Frame2, Frame11);
    connect(Frame1, &SquadronDataGroup::toDateKeyTyped, this, [this] { menuControlFrom(m_dataDirFiles); });
    connect(Frame1, &SquadronDataGroup::categoryRefilled, Frame2, [this](int category) {
        if (Frame2->gridCategory() == category)
            Frame2->FillGrid();
    });
    connect(Frame1, &SquadronDataGroup::focusWanted, this, &R318grid::focusControl);
    connect(Frame1, &SquadronDataGroup::subOFromListRequested, this, &R318grid::cmdSubOClick);
    connect(Frame1, &SquadronDataGroup::subOSearchRequested, this, &R318grid::cmdSubOSearchClick);
    connect(Frame7, &EducationGroup::focusWanted, this, &R318grid::focusControl);
    connect(Frame2, &RecognitionGroup::categoryClicked, this, [this] { Frame11->setActivitiesTarget(false); });
    connect(Frame2, &RecognitionGroup::gridFocused, this, [this] {
        Frame11->setActivitiesTarget(false);
        Frame11->setPendingInsertText(QString());
    });
    connect(Frame2, &RecognitionGroup::editModeChanged, this, [this](bool editing) {
        if (editing)
            EditMode();
        else
            GridMode();
    });

    qApp->installEventFilter(new QuoteFilter(this));

    // Load: the window's size, the member list, the colours.
    resize(800, 600);
    FirstActivation = true;
    Frame8->fill();
    if (m_session.ColorMode != QLatin1String("mono"))
        PaintControls();
    Frame2->reset();
    if (m_session.MouseWheel)
        m_wheel = std::make_unique<MouseWheelFilter>(this, Frame2, QList<QWidget*>{Frame8->list(), Frame11->textBox()});
}

R318grid::~R318grid() = default;

void R318grid::buildMenus()
{
    mnuFile = menuBar()->addMenu(QStringLiteral("File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFileSave = addItem(mnuFile, "mnuFileSave", QStringLiteral("Save Current Changes"));
    mnuFileRevert = addItem(mnuFile, "mnuFileRevert", QStringLiteral("Abandon Current Changes"));
    addSeparator(mnuFile, "mnuSep1");
    mnuFileAchive = addItem(mnuFile, "mnuFileAchive", QStringLiteral("Archive R-318 Form"));
    mnuFileOpen = addItem(mnuFile, "mnuFileOpen", QStringLiteral("Open Archive"));
    mnuFileCloseArchive = addItem(mnuFile, "mnuFileCloseArchive", QStringLiteral("Close Archive"));
    mnuFileSaveAs = addItem(mnuFile, "mnuFileSaveAs", QStringLiteral("Replace Current With Archive"));
    mnuFileDelete = addItem(mnuFile, "mnuFileDelete", QStringLiteral("Delete Unwanted Archives"));
    addSeparator(mnuFile, "mnuSep2");
    mnuFileNew = addItem(mnuFile, "mnuFileNew", QStringLiteral("Start a New R-318"));
    mnuFileFill = addItem(mnuFile, "mnuFileFill", QStringLiteral("Fill From Rostrel"));
    addSeparator(mnuFile, "mnuSep3");
    mnuFileRefresh = addItem(mnuFile, "mnuFileRefresh", QStringLiteral("Refresh Rostrel Data"));
    addSeparator(mnuFile, "mnuSep4");
    mnuFileClose = addItem(mnuFile, "mnuFileClose", QStringLiteral("Exit R-318"));

    QMenu* mnuReport = menuBar()->addMenu(QStringLiteral("Report"));
    mnuReport->setObjectName(QStringLiteral("mnuReport"));
    mnuPrintPreview = addItem(mnuReport, "mnuPrintPreview", QStringLiteral("Preview and Print"));
    addSeparator(mnuReport, "mnuSep5");
    mnuSubmit = addItem(mnuReport, "mnuSubmit", QStringLiteral("Submit Report Via Website"));
    mnuSpell = addItem(mnuReport, "mnuSpell", QStringLiteral("Spell Check"));

    QMenu* mnuHelp = menuBar()->addMenu(QStringLiteral("Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpAbout = addItem(mnuHelp, "mnuHelpAbout", QStringLiteral("About"));
    mnuHelpHow = addItem(mnuHelp, "mnuHelpHow", QStringLiteral("Help"));

    connect(mnuFileSave, &QAction::triggered, this, &R318grid::mnuFileSaveClick);
    connect(mnuFileRevert, &QAction::triggered, this, &R318grid::mnuFileRevertClick);
    m_archive = std::make_unique<ArchiveActions>(m_session, m_prompt, *this);
    connect(mnuFileAchive, &QAction::triggered, this, [this] { m_archive->mnuFileAchiveClick(); });
    connect(mnuFileOpen, &QAction::triggered, this, [this] { m_archive->mnuFileOpenClick(); });
    connect(mnuFileCloseArchive, &QAction::triggered, this, [this] { m_archive->mnuFileCloseArchiveClick(); });
    connect(mnuFileSaveAs, &QAction::triggered, this, [this] { m_archive->mnuFileSaveAsClick(); });
    connect(mnuFileDelete, &QAction::triggered, this, [this] { m_archive->mnuFileDeleteClick(); });
    connect(mnuFileNew, &QAction::triggered, this, [this] { m_archive->mnuFileNewClick(); });
    connect(mnuFileFill, &QAction::triggered, this, &R318grid::mnuFileFillClick);
    connect(mnuFileRefresh, &QAction::triggered, this, &R318grid::mnuFileRefreshClick);
    connect(mnuFileClose, &QAction::triggered, this, &QWidget::close);
    connect(mnuPrintPreview, &QAction::triggered, this, &R318grid::mnuPrintPreviewClick);
    connect(mnuSubmit, &QAction::triggered, this, &R318grid::mnuSubmitClick);
    connect(mnuSpell, &QAction::triggered, this, &R318grid::mnuSpellClick);
    connect(mnuHelpAbout, &QAction::triggered, this, &R318grid::mnuHelpAboutClick);
    connect(mnuHelpHow, &QAction::triggered, this, [this] { ShowHelp(this, m_session.HelpFilePath, HelpContents); });
    // F1 anywhere in the window opens the help on the window.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { ShowHelp(this, m_session.HelpFilePath, HelpMainWindow); });
}

namespace {

QStringList filesOf(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden);
}

} // namespace

ArchiveItems R318grid::archiveItems(const ReportSession& session)
{
    return archiveItems(session, filesOf(session.DataDir));
}

ArchiveItems R318grid::archiveItems(const ReportSession& session, const QStringList& names)
{
    ArchiveItems items;
    const QString code = session.model.SquadronCode.trimmed();
    const bool any = std::any_of(names.begin(), names.end(), [&](const QString& name) {
        return IsReportFileName(name, code) || IsArchiveFileName(name, code);
    });
    const bool archiveOpen = QDir::cleanPath(session.ReportDBPath) != QDir::cleanPath(session.CurrentDBPath);
    items.openArchive = any && !archiveOpen;
    items.deleteArchives = any && !archiveOpen;
    items.replaceCurrent = archiveOpen;
    items.closeArchive = archiveOpen;
    return items;
}

void R318grid::MenuControl()
{
    readDataDir();
    menuControlFrom(m_dataDirFiles);
}

void R318grid::readDataDir()
{
    m_dataDirFiles = filesOf(m_session.DataDir);
    if (!m_dataDirWatcher) {
        m_dataDirWatcher = new QFileSystemWatcher(this);
        connect(m_dataDirWatcher, &QFileSystemWatcher::directoryChanged, this,
                [this] { m_dataDirFiles = filesOf(m_session.DataDir); });
    }
    if (!m_session.DataDir.isEmpty() && m_dataDirWatcher->directories().isEmpty())
        m_dataDirWatcher->addPath(m_session.DataDir);
}

void R318grid::menuControlFrom(const QStringList& dataDirFiles)
{
    const ArchiveItems items = archiveItems(m_session, dataDirFiles);
    mnuFileOpen->setEnabled(items.openArchive);
    mnuFileDelete->setEnabled(items.deleteArchives);
    mnuFileSaveAs->setEnabled(items.replaceCurrent);
    mnuFileCloseArchive->setEnabled(items.closeArchive);
}

void R318grid::PaintControls()
{
    Scheme::setBackground(this, Scheme::Background);
    Scheme::setBackground(centralWidget(), Scheme::Background);
    Frame1->paint();
    Frame11->paint();
    Frame8->paint();
    Frame7->paint();
    Frame2->paint();
}

void R318grid::GridMode()
{
    Frame2->setCategoriesEnabled(true);
    Frame8->setEnabled(true);
    mnuFile->menuAction()->setEnabled(true);
    mnuPrintPreview->setEnabled(true);
}

void R318grid::EditMode()
{
    Frame2->setCategoriesEnabled(false);
    Frame8->setEnabled(false);
    mnuFile->menuAction()->setEnabled(false);
    mnuPrintPreview->setEnabled(false);
}

void R318grid::commitEdits()
{
    Frame2->commit();
    Frame11->commit();
    Frame1->commit();
}

void R318grid::LoadFormData(bool archive)
{
    // Nothing picked, nothing left to store from before: the boxes show the report being loaded.
    Frame2->reset();
    Frame11->reset();
    LoadReport(m_session, m_prompt);
    LoadTimeLookups(m_session, archive, m_prompt);
    Fillvalues();
    Frame1->clearEnteredFlags();
    // The focus leaves whatever box it was in: a date box there would otherwise show the loaded date but drop
    // typed digits until it was entered again.
    Frame8->findBox()->setFocus(Qt::OtherFocusReason);
    Q_EMIT reportLoaded();
}

void R318grid::Fillvalues()
{
    Frame1->showValues();
    Frame7->showCounts();
    setWindowTitle(QStringLiteral("Form ") + QDir::toNativeSeparators(m_session.CurrentDBPath));
}

void R318grid::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!FirstActivation)
        return;
    // The report is loaded once the window is on the screen, so that what the load asks or tells has a window.
    QTimer::singleShot(0, this, [this] {
        if (!FirstActivation)
            return;
        FirstActivation = false;
        LoadFormData(false);
        MenuControl();
        // Without a spelling dictionary the spelling check is not offered.
        mnuSpell->setEnabled(IsWord());
    });
}

void R318grid::mnuFileSaveClick()
{
    commitEdits();
    Frame8->findBox()->setFocus(Qt::OtherFocusReason);
    Save(m_session, m_prompt);
}

void R318grid::mnuFileRevertClick()
{
    if (RestoreBackup(m_session, m_prompt))
        LoadFormData(false);
}

void R318grid::focusControl(const QString& name)
{
    if (name.isEmpty())
        return;
    if (auto* widget = findChild<QWidget*>(name))
        widget->setFocus(Qt::OtherFocusReason);
}

void R318grid::cmdSubOClick()
{
    if (SubmittingOfficerFromMember(m_session, Frame8->selectedMemberId()))
        Frame1->showSubmittingOfficer();
}

void R318grid::cmdSubOSearchClick()
{
    const QString office =
        Frame1->titleShown() == QLatin1String("Historian") ? QStringLiteral("Secretary") : QStringLiteral("Historian");
    if (!FindHistorian(m_session, office).found)
        return;
    Frame1->showSubmittingOfficer();
    if (Frame2->gridCategory() == 0)
        Frame2->FillGrid();
}

void R318grid::mnuFileFillClick()
{
    commitEdits();
    const FillOutcome outcome = FillFromHost(m_session, m_prompt);
    focusControl(outcome.focus);
    if (!outcome.filled)
        return;
    Frame1->showCounts();
    Frame1->showSubmittingOfficer();
    Frame7->showCounts();
    Frame2->showCategory(0);
}

void R318grid::mnuFileRefreshClick()
{
    RefreshHostData(m_session, true, m_prompt);
}

void R318grid::mnuPrintPreviewClick()
{
    commitEdits();
    // The pages are drawn from the report in memory: a failed save (the user is told) still shows them.
    SaveReport(m_session, m_prompt);
    ShowPrintPreview(m_session, this, [this](int topic) {
        ShowHelp(QApplication::activeModalWidget() ? QApplication::activeModalWidget() : this, m_session.HelpFilePath,
                 topic);
    });
}

void R318grid::mnuSubmitClick()
{
    commitEdits();
    ::mnuSubmit(m_session, m_prompt, m_browser);
}

void R318grid::mnuSpellClick()
{
    commitEdits();
    SpellingDialog dialog(this);
    if (SpellCheckActivities(Frame11->textBox(), m_prompt, dialog) == SpellOutcome::Corrected)
        Frame11->storeShownText();
}

void R318grid::mnuHelpAboutClick()
{
    AboutDialog about(this);
    about.exec();
}

void R318grid::closeEvent(QCloseEvent* event)
{
    unload();
    event->accept();
}

void R318grid::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_wheel.reset();
    // A window closed before its report was loaded has nothing to save: the model is still empty.
    if (FirstActivation) {
        m_session.host.closeAll();
        return;
    }
    commitEdits();
    const bool saved = SaveReportAtExit(m_session, m_prompt);
    QString why;
    if (saved)
        BackupReport(m_session, &why);
    m_session.host.closeAll();
    if (saved)
        CompactReportDatabase(m_session, &why);
}

void R318grid::bringToFront()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

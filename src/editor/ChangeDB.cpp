#include "editor/ChangeDB.h"

#include "app/HelpPages.h"
#include "app/Session.h"
#include "base/Prompt.h"
#include "editor/HelpWindow.h"
#include "editor/Scheme.h"
#include "store/ReportArchive.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// The busy pointer while the chooser works.
class BusyPointer
{
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

// The chooser's messages, shown with the normal pointer while they wait for the user.
class IdlePointerPrompt : public Prompt
{
public:
    explicit IdlePointerPrompt(Prompt& prompt) : m_prompt(prompt) {}
    Answer ask(const Message& message) override
    {
        const bool busy = QApplication::overrideCursor() != nullptr;
        if (busy)
            QApplication::restoreOverrideCursor();
        const Answer answer = m_prompt.ask(message);
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        return answer;
    }
    bool canAsk() const override { return m_prompt.canAsk(); }

private:
    Prompt& m_prompt;
};

QString dateText(const QDateTime& time)
{
    return time.isValid() ? QLocale::system().toString(time, QLocale::ShortFormat) : QStringLiteral("not recorded");
}

} // namespace

ChangeDB::ChangeDB(Session& session, Prompt& prompt, const QString& mode, QWidget* parent)
    : QDialog(parent), m_session(session), m_prompt(prompt), m_mode(mode)
{
    const bool deleting = mode == QLatin1String("D");
    setObjectName(QStringLiteral("ChangeDB"));
    setWindowTitle(deleting ? QStringLiteral("Delete Unwanted Archives") : QStringLiteral("Open Archive"));
    setModal(true);
    setFont(QFont(QStringLiteral("Arial"), 8));

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    // Room for the longest text: two instruction lines and four information lines.
    Label1->setMinimumHeight(
        Label1->fontMetrics().boundingRect(QRect(), 0, QStringLiteral("1\n2\n3\n4\n5\n6")).height() + 4);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->installEventFilter(this);
    cmdOpen = new QPushButton(this);
    cmdOpen->setObjectName(QStringLiteral("cmdOpen"));
    cmdExit = new QPushButton(this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));

    auto* options = new QFrame(this);
    options->setObjectName(QStringLiteral("Frame1"));
    optDelete_0 = new QRadioButton(QStringLiteral("Recycle Bin"), options);
    optDelete_0->setObjectName(QStringLiteral("optDelete_0"));
    optDelete_0->setChecked(true);
    optDelete_1 = new QRadioButton(QStringLiteral("Permanent"), options);
    optDelete_1->setObjectName(QStringLiteral("optDelete_1"));
    chkConfirm = new QCheckBox(QStringLiteral("No Confirmation Necessary"), options);
    chkConfirm->setObjectName(QStringLiteral("chkConfirm"));
    auto* optionRow = new QHBoxLayout(options);
    optionRow->setContentsMargins(0, 0, 0, 0);
    optionRow->addWidget(optDelete_0);
    optionRow->addWidget(optDelete_1);
    optionRow->addStretch(1);
    optionRow->addWidget(chkConfirm);
    options->setVisible(deleting);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOpen);
    buttons->addWidget(cmdExit);
    auto* column = new QVBoxLayout(this);
    column->addWidget(Label1);
    column->addWidget(List1, 1);
    column->addWidget(options);
    column->addLayout(buttons);
    resize(440, 340);

    if (deleting) {
        m_instruction = QStringLiteral("Select unwanted file to delete.\n"
                                       "Existing backup copies of file will also be deleted.");
        cmdOpen->setText(QStringLiteral("Delete File"));
        cmdExit->setText(QStringLiteral("Close"));
    } else {
        m_instruction = QStringLiteral("Select file to display.");
        cmdOpen->setText(QStringLiteral("Open Database"));
        cmdExit->setText(QStringLiteral("Cancel"));
    }
    Label1->setText(m_instruction);

    connect(List1, &QListWidget::currentRowChanged, this, &ChangeDB::showSelection);
    connect(cmdOpen, &QPushButton::clicked, this, &ChangeDB::cmdOpenClick);
    connect(cmdExit, &QPushButton::clicked, this, &ChangeDB::reject);

    if (m_session.ColorMode != QLatin1String("mono"))
        paint();
    fillList();
}

QString ChangeDB::run(Session& session, Prompt& prompt, const QString& mode, QWidget* parent)
{
    ChangeDB chooser(session, prompt, mode, parent);
    chooser.exec();
    return chooser.mode();
}

QString ChangeDB::infoText(const QString& instruction, const QString& path)
{
    const QFileInfo info(path);
    const QStringList lines{QDir::toNativeSeparators(info.absoluteFilePath()).toUpper(),
                            QStringLiteral("Created: ") + dateText(info.birthTime()),
                            QStringLiteral("Last Accessed: ") + dateText(info.lastRead()),
                            QStringLiteral("Last Modified: ") + dateText(info.lastModified())};
    return instruction + QLatin1Char('\n') + lines.join(QLatin1String("\r\n"));
}

void ChangeDB::reject()
{
    m_mode.clear();
    QDialog::reject();
}

void ChangeDB::keyPressEvent(QKeyEvent* event)
{
    // F1 opens the help on the chooser, in a window the modal chooser does not block.
    if (event->key() == Qt::Key_F1) {
        ShowHelp(this, m_session.HelpFilePath, HelpArchiveChooser);
        return;
    }
    QDialog::keyPressEvent(event);
}

bool ChangeDB::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in the list acts as the open button.
    if (watched == List1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cmdOpen->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ChangeDB::fillList()
{
    List1->clear();
    const QString editing = QFileInfo(m_session.CurrentDBPath).fileName();
    for (const QString& name : ArchiveFileNames(m_session.DataDir, m_session.model.SquadronCode)) {
        if (name != editing)
            List1->addItem(name);
    }
    List1->setCurrentRow(-1);
    Label1->setText(m_instruction);
}

void ChangeDB::showSelection()
{
    const QListWidgetItem* item = List1->currentItem();
    Label1->setText(item ? infoText(m_instruction, m_session.DataDir + item->text()) : m_instruction);
}

void ChangeDB::cmdOpenClick()
{
    BusyPointer busy;
    IdlePointerPrompt prompt(m_prompt);
    const QListWidgetItem* item = List1->currentItem();
    const QString name = item ? item->text() : QString();
    if (!name.contains(QLatin1Char('.'))) {
        prompt.plain(QStringLiteral("No data file selected"));
        return;
    }
    const QString mdb = m_session.DataDir + name;

    if (m_mode == QLatin1String("O")) {
        if (OpenArchiveFile(m_session, mdb, prompt))
            accept();
        return;
    }

    // A damaged archive can be deleted too: the file is not opened first.
    if (QFileInfo::exists(mdb) && removeFile(mdb, prompt)) {
        const QString bak = BackupPathFor(mdb);
        if (QFileInfo::exists(bak))
            removeFile(bak, prompt);
    }
    fillList();
}

bool ChangeDB::removeFile(const QString& path, Prompt& prompt)
{
    const bool toTrash = optDelete_0->isChecked();
    if (!toTrash && !optDelete_1->isChecked())
        return false;
    const QString shown = QDir::toNativeSeparators(path);
    // The platform's trash asks nothing itself: the question is the chooser's in both ways.
    if (!chkConfirm->isChecked()) {
        const QString question = toTrash ? QStringLiteral("Move ") + shown + QStringLiteral(" to the recycle bin?")
                                         : QStringLiteral("Confirm delete ") + shown;
        if (prompt.ask({question, QStringLiteral("Delete DB"), Prompt::Icon::Question, Prompt::Buttons::OkCancel}) !=
            Prompt::Answer::Ok)
            return false;
    }
    QString why;
    if (RemoveArchiveFile(path, toTrash, &why))
        return true;
    prompt.warning((toTrash ? QStringLiteral("%1 could not be moved to the recycle bin: %2. The file was kept.")
                            : QStringLiteral("%1 could not be deleted: %2. The file was kept."))
                       .arg(shown, why));
    return false;
}

void ChangeDB::paint()
{
    Scheme::setBackground(this, Scheme::Background);
    for (QWidget* widget : std::initializer_list<QWidget*>{findChild<QFrame*>(QStringLiteral("Frame1")), cmdOpen,
                                                           cmdExit, optDelete_0, optDelete_1, chkConfirm})
        Scheme::setBackground(widget, Scheme::Background);
}

#pragma once

#include <QDialog>

class Prompt;
class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
struct Session;

// The archive chooser, shown modally. It lists the squadron's archives in DataDir (never the current report,
// nor the file being edited) in the folder's order and shows the selected file's path and dates.
//
// Mode "O": "Open Database" makes the selected archive the report being edited, with a fresh backup copy
// beside it, and closes the chooser (mode() stays "O"). Mode "D": "Delete File" moves the selected archive and
// its backup copy to the trash or removes them for good, asking first unless "No Confirmation Necessary" is
// ticked, and stays open. "Cancel"/"Close", Esc and the title-bar button end it with mode() empty.
class ChangeDB : public QDialog
{
    Q_OBJECT
public:
    ChangeDB(Session& session, Prompt& prompt, const QString& mode, QWidget* parent = nullptr);

    // "O" once an archive was opened; empty when the chooser was left otherwise (always in delete mode).
    QString mode() const { return m_mode; }

    // Shows the chooser modally in `mode` and returns its mode when it is closed.
    static QString run(Session& session, Prompt& prompt, const QString& mode, QWidget* parent);

    // The mode's instruction followed by the file's information lines (CR LF between them): path in upper case,
    // "Created: ", "Last Accessed: ", "Last Modified: " in the platform's short date and time format.
    static QString infoText(const QString& instruction, const QString& path);

public Q_SLOTS:
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillList();
    void showSelection();
    void cmdOpenClick();
    // Removes one file the way the delete options say; false when it is still there.
    bool removeFile(const QString& path, Prompt& prompt);
    void paint();

    Session& m_session;
    Prompt& m_prompt;
    QString m_mode;
    QString m_instruction;

    QListWidget* List1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* cmdOpen = nullptr;
    QPushButton* cmdExit = nullptr;
    QRadioButton* optDelete_0 = nullptr;
    QRadioButton* optDelete_1 = nullptr;
    QCheckBox* chkConfirm = nullptr;
};

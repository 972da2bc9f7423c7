#pragma once

#include <QGroupBox>
#include <QList>
#include <QStringList>

#include <optional>

class ActivitiesGroup;
class Prompt;
class QLineEdit;
class QListWidget;
class QPushButton;
class RecognitionGroup;
struct HostMember;
struct Session;

// The search of the member search box: the index of the first entry whose beginning matches the text (any
// letter case), else the entry before the first one whose first letter comes after the text's first letter,
// else the last entry; -1 for an empty text or list. The list is in alphabetical order of last names.
int FindListMatch(const QStringList& entries, const QString& text);

// "Rostrel Member List" (Frame8): the host's members by last, then first name, a search box and the buttons
// that add a member to the grid or an activity text and remove one from the grid.
class MemberListGroup : public QGroupBox
{
    Q_OBJECT
public:
    MemberListGroup(Session& session, Prompt& prompt, QWidget* parent = nullptr);

    // Where Add and Remove put members: the grid, or the activities text while it is the target.
    void setTargets(RecognitionGroup* grid, ActivitiesGroup* activities);

    // Fills the list from the host's member recordset (once, at load).
    void fill();

    QLineEdit* findBox() const { return txtFind; }
    QListWidget* list() const { return cmbName; }
    // The host member number of each entry (element 0 unused).
    const QList<qint32>& memberIds() const { return MemberIDs; }
    // The host member number of the selected entry; 0 when none is selected.
    qint32 selectedMemberId() const;

    // cmdAdd: the selected member into the activities text (through the clipboard) or into the grid's row.
    void cmdAddClick();
    // cmdRemove: empties the grid's row after the question.
    void cmdRemoveClick();

    // The applied colour scheme.
    void paint();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addToActivities(const HostMember& member);
    void addToGrid(const HostMember& member);
    // Saves the report and reloads the recognition lists, re-packed and re-sorted, into the grid.
    void saveAndReloadRecognized();

    Session& m_session;
    Prompt& m_prompt;
    RecognitionGroup* m_grid = nullptr;
    ActivitiesGroup* m_activities = nullptr;
    QListWidget* cmbName = nullptr;
    QLineEdit* txtFind = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdRemove = nullptr;
    QList<qint32> MemberIDs;
    QStringList m_entries;
};

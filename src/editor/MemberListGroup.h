#pragma once

#include <QGroupBox>
#include <QList>

class QLineEdit;
class QListWidget;
class QPushButton;
struct Session;

// "Rostrel Member List" (Frame8): the host's members by last, then first name, a search box and the buttons
// that add a member to the grid or an activity text and remove one from the grid.
class MemberListGroup : public QGroupBox
{
    Q_OBJECT
public:
    explicit MemberListGroup(Session& session, QWidget* parent = nullptr);

    // Fills the list from the host's member recordset (once, at load).
    void fill();

    QLineEdit* findBox() const { return txtFind; }
    QListWidget* list() const { return cmbName; }
    // The host member number of each entry (element 0 unused).
    const QList<qint32>& memberIds() const { return MemberIDs; }

    // The applied colour scheme.
    void paint();

private:
    Session& m_session;
    QListWidget* cmbName = nullptr;
    QLineEdit* txtFind = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdRemove = nullptr;
    QList<qint32> MemberIDs;
};

#pragma once

#include <QGroupBox>

class DateBox;
class Prompt;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct Session;

// "Squadron Data" (Frame1): the squadron's identity, the submission date, the watch year, the counts of active
// members, merit marks and new senior members with their host buttons, the incorporation flag, the
// publication, and the submitting officer with title and e-mail address.
//
// Values go into the report model when a box loses the focus (dates when editing finishes); commit() stores
// what a box holds before an operation that a menu started (a menu item does not take the focus).
class SquadronDataGroup : public QGroupBox
{
    Q_OBJECT
public:
    SquadronDataGroup(Session& session, Prompt& prompt, QWidget* parent = nullptr);

    // The member search box: the focus goes there when a date is finished with Enter or Esc.
    void setFindBox(QWidget* findBox);

    // Shows every value of the group from the report model (identity labels, dates, counts, chkInc, publication,
    // submitting officer, title, e-mail). Changes nothing in the model.
    void showValues();
    // txtActMem, txtMM, txtNewSenior.
    void showCounts();
    // lblSubO, txtTitle, txtEmail.
    void showSubmittingOfficer();

    // Stores what the boxes hold that is not in the model yet: a date box being edited finishes as when it
    // loses the focus; the numeric box with the focus stores its number; txtPub, txtTitle, txtEmail store
    // their trimmed text when their entered flag is set.
    void commit();
    // PubEntered, TitleEntered, EmailEntered become false (a report was loaded).
    void clearEnteredFlags();

    // The applied colour scheme.
    void paint();

Q_SIGNALS:
    // A key was typed into txtTo (the archive menu items follow the to-date).
    void toDateKeyTyped();
    // The from-date or to-date was stored.
    void watchYearChanged();
    // A host button refilled a recognition category (cmdNewSen: category 7).
    void categoryRefilled(int category);
    // A guard wants the focus in the named box (NoDate: "txtFrom" or "txtTo").
    void focusWanted(const QString& objectName);

private:
    Session& m_session;
    Prompt& m_prompt;
    bool PubEntered = false;
    bool EmailEntered = false;
    bool TitleEntered = false;
};

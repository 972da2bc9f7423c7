#pragma once

#include <QGroupBox>

#include <QList>

class DateBox;
class Prompt;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
struct ReportModel;
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

    // What txtTitle shows (the new search of the submitting officer alternates by it).
    QString titleShown() const;

Q_SIGNALS:
    // A key was typed into txtTo (the archive menu items follow the to-date).
    void toDateKeyTyped();
    // The from-date or to-date was stored.
    void watchYearChanged();
    // A host button refilled a recognition category (cmdNewSen: category 7).
    void categoryRefilled(int category);
    // cmdSubO: the member selected in the member list becomes the submitting officer.
    void subOFromListRequested();
    // cmdSubOSearch or a double click on lblSubO: a new search of the host for the submitting officer.
    void subOSearchRequested();
    // A guard wants the focus in the named box (NoDate: "txtFrom" or "txtTo").
    void focusWanted(const QString& objectName);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A count box and the field it stores into on losing the focus.
    struct CountBox
    {
        QLineEdit* box;
        qint32 ReportModel::*field;
    };
    // A free-text box, its entered flag and its field.
    struct TextBox
    {
        QLineEdit* box;
        bool SquadronDataGroup::*entered;
        QString ReportModel::*field;
    };

    void build();
    QLabel* caption(const QString& text);
    QPushButton* smallButton(const char* name, const QString& toolTip);
    QFrame* separator(const char* name);
    void storeCount(const CountBox& count);
    void storeText(const TextBox& text);
    // Misc.Year from the from-date, left as it is while the from-date is empty or does not read.
    void updateReportYear();
    void cmdActiveClick();
    void cmdUpdateMMClick();
    void cmdNewSenClick();

    Session& m_session;
    Prompt& m_prompt;
    bool PubEntered = false;
    bool EmailEntered = false;
    bool TitleEntered = false;

    QLabel* lblSquad = nullptr;
    QLabel* lblSno = nullptr;
    QLabel* lblDist = nullptr;
    DateBox* txtDate = nullptr;
    DateBox* txtFrom = nullptr;
    DateBox* txtTo = nullptr;
    QLineEdit* txtActMem = nullptr;
    QPushButton* cmdActive = nullptr;
    QLineEdit* txtMM = nullptr;
    QPushButton* cmdUpdateMM = nullptr;
    QLineEdit* txtNewSenior = nullptr;
    QPushButton* cmdNewSen = nullptr;
    QCheckBox* chkInc = nullptr;
    QLineEdit* txtPub = nullptr;
    QLabel* lblSubO = nullptr;
    QPushButton* cmdSubO = nullptr;
    QPushButton* cmdSubOSearch = nullptr;
    QLineEdit* txtTitle = nullptr;
    QLineEdit* txtEmail = nullptr;
    QLabel* Label12 = nullptr;

    QList<CountBox> m_counts;
    QList<TextBox> m_texts;
    QList<QLabel*> m_captions;
    QList<QFrame*> m_lines;
};

#pragma once

#include <QGroupBox>

class Prompt;
class QLabel;
struct Session;

// "RESULTS OF EDUCATION CLASSES" (Frame7): four sub-groups of courses (advanced grades, electives, other
// courses, public boating), each with an option button and count label per course, one scroll bar that sets
// the selected course's count, and its total; the panel total under them. Three sub-groups have a button that
// takes the selected course's count from the host.
//
// Only a move of a scroll bar by the user writes a count: showing counts, selecting a course and a count above
// the bar's range never change one.
class EducationGroup : public QGroupBox
{
    Q_OBJECT
public:
    EducationGroup(Session& session, Prompt& prompt, QWidget* parent = nullptr);

    // Shows every count of the report model and the totals. Changes no count, also when a course is selected.
    void showCounts();

    // The applied colour scheme.
    void paint();

Q_SIGNALS:
    // A guard wants the focus in the named box (NoDate: "txtFrom" or "txtTo").
    void focusWanted(const QString& objectName);

private:
    Session& m_session;
    Prompt& m_prompt;
};

#pragma once

#include <QGroupBox>

#include <array>

class CourseSubGroup;
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
    // Wide enough for the title and the panel total beside it.
    QSize minimumSizeHint() const override;
    void resizeEvent(QResizeEvent* event) override;
    void showPanelTotal();

    Session& m_session;
    Prompt& m_prompt;
    // In the panel's rows: Frame5 advanced grades, Frame10 public boating; Frame6 electives, Frame9 other courses.
    std::array<CourseSubGroup*, 4> m_groups{};
    QWidget* m_panelTotal = nullptr;
    QLabel* m_panelCaption = nullptr;
    QLabel* lblEdTot = nullptr;
};

#pragma once

#include "host/MemberStats.h"

#include <QGroupBox>
#include <QList>

#include <span>

class Prompt;
class QButtonGroup;
class QLabel;
class QScrollBar;
class QToolButton;
struct ReportModel;
struct Session;

// One course of a sub-group: the caption of its option button and its tool tip (none when null).
struct Course
{
    const char* caption;
    const char* toolTip;
};

// What sets one sub-group of the education panel apart from the others: its frame, title and control names,
// its courses and where their counts live in the report model, the range of its scroll bar, and the button
// that takes the selected course's count from the host (none for the public boating courses).
struct CourseFamily
{
    const char* frame;  // "Frame5"
    const char* title;  // "Number Completing Advanced Grades"
    const char* option; // option buttons "optAG_0".., count labels "lblAG_0"..
    const char* label;
    const char* scroll; // "AGscroll"
    const char* total;  // "lblAGtot"
    int maximum;        // the scroll bar runs from 0 to maximum
    std::span<const Course> courses;
    qint32& (*count)(ReportModel& model, int course);
    const char* update = nullptr; // "cmdAGdb"
    const char* updateTip = nullptr;
    CourseUpdate (*updateClick)(HostSession& session, int selected, Prompt& prompt) = nullptr;
};

// Puts the widget at the right end of the group's title line, above the frame. The caller keeps the group wide
// enough for its title and the widget side by side.
void placeAtTitleEnd(QGroupBox* group, QWidget* widget);

// A sub-group of "RESULTS OF EDUCATION CLASSES": an option button over a count label per course, one vertical
// scroll bar that sets the selected course's count, and the sub-group's total ("Tot.").
//
// Only a move of the bar by the user (mouse, keyboard, wheel) writes a count, and only the selected course's.
// Selecting a course puts the bar at the course's count; a count above the bar's range stays as it is (the bar
// stops at its end). A move with no course selected writes nothing.
class CourseSubGroup : public QGroupBox
{
    Q_OBJECT
public:
    CourseSubGroup(const CourseFamily& family, Session& session, Prompt& prompt, QWidget* parent = nullptr);

    // Every count label shows its count from the model; the bar follows the selected course; the total is
    // recomputed. Changes no count.
    void showCounts();

    // The sum of the count labels, as the total label shows it.
    int total() const;

    // The selected course; -1 while none is.
    int selected() const;

    // The applied colour scheme.
    void paint();

Q_SIGNALS:
    // The total label changed (or may have).
    void totalChanged();
    // A guard wants the focus in the named box.
    void focusWanted(const QString& objectName);

private:
    // Wide enough for the title and the host's button beside it.
    QSize minimumSizeHint() const override;
    void resizeEvent(QResizeEvent* event) override;
    void courseSelected(int course);
    void barChanged(int value);
    void updateClicked();
    // Moves the bar to the value (within its range) without writing a count.
    void placeBar(qint32 value);
    void showTotal();

    const CourseFamily& m_family;
    Session& m_session;
    Prompt& m_prompt;
    QButtonGroup* m_options = nullptr;
    QList<QLabel*> m_counts;
    QLabel* m_total = nullptr;
    QLabel* m_totalCaption = nullptr;
    QScrollBar* m_bar = nullptr;
    QToolButton* m_update = nullptr;
    bool m_placing = false;
};

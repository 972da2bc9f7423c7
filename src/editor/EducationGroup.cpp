#include "editor/EducationGroup.h"

#include "app/Session.h"
#include "editor/CourseSubGroup.h"
#include "editor/Scheme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr Course kAdvancedGrades[] = {
    {"S", "Seamanship"},         {"P", "Piloting"},   {"AP", "Advanced Piloting"},
    {"JN", "Junior Navigation"}, {"N", "Navigation"},
};
constexpr Course kElectives[] = {
    {"EM", "Engine Maintenance"},     {"ME", "Marine Electronics"}, {"SA", "Sail"}, {"W", "Weather"},
    {"ID", "Instructor Development"}, {"CP", "Cruise Planning"},
};
constexpr Course kOtherCourses[] = {
    {"DR", "Dockready Course"},
    {"OT", "Operations Training"},
    {"LD", "Leadership Training"},
    {"Seminar", nullptr},
};
constexpr Course kBoatingCourses[] = {
    {"CBC", "Cavessa Boating Course"},
    {"HWC", "Helmwise Course"},
    {"SBC", "Squadron Boating Course"},
};

const char* const kUpdateTip = "Update selected course from Rostrel";

// In the order of the panel's rows: advanced grades and public boating, then electives and other courses.
const CourseFamily kFamilies[] = {
    {"Frame5", "Number Completing Advanced Grades", "optAG", "lblAG", "AGscroll", "lblAGtot", 250, kAdvancedGrades,
     [](ReportModel& model, int i) -> qint32& { return courseValue(model, CourseGroup::AG, i); }, "cmdAGdb", kUpdateTip,
     cmdAGdbClick},
    {"Frame10", "Basic Boating Course, Students Passed", "OptBC", "lblBC", "BCscroll", "lblBCtot", 2500,
     kBoatingCourses,
     [](ReportModel& model, int i) -> qint32& {
         return model.BCCount.at(std::size_t(i));
     }},
    {"Frame6", "Number Completing Elective Courses", "optEG", "lblEG", "EGscroll", "lblEGtot", 250, kElectives,
     [](ReportModel& model, int i) -> qint32& { return courseValue(model, CourseGroup::EG, i); }, "cmdECdb", kUpdateTip,
     cmdECdbClick},
    {"Frame9", "Number Completing Other Courses", "OptOC", "lblOC", "OCscroll", "lblOCtot", 250, kOtherCourses,
     [](ReportModel& model, int i) -> qint32& { return courseValue(model, CourseGroup::OC, i); }, "cmdOCdb",
     "Update OT course from Rostrel", cmdOCdbClick},
};

} // namespace

EducationGroup::EducationGroup(Session& session, Prompt& prompt, QWidget* parent)
    : QGroupBox(QStringLiteral("RESULTS OF EDUCATION CLASSES"), parent), m_session(session), m_prompt(prompt)
{
    setObjectName(QStringLiteral("Frame7"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 0, 1, 2);
    layout->setSpacing(2);
    for (std::size_t g = 0; g < m_groups.size(); ++g) {
        m_groups[g] = new CourseSubGroup(kFamilies[g], m_session, m_prompt, this);
        connect(m_groups[g], &CourseSubGroup::totalChanged, this, &EducationGroup::showPanelTotal);
        connect(m_groups[g], &CourseSubGroup::focusWanted, this, &EducationGroup::focusWanted);
    }
    // Two sub-groups a row; each row shares out its own width.
    for (std::size_t row = 0; row < 2; ++row) {
        auto* pair = new QHBoxLayout;
        pair->setSpacing(2);
        pair->addWidget(m_groups[2 * row]);
        pair->addWidget(m_groups[2 * row + 1]);
        layout->addLayout(pair);
    }

    // The panel total stands at the end of the title line.
    m_panelTotal = new QWidget(this);
    auto* total = new QHBoxLayout(m_panelTotal);
    total->setContentsMargins(0, 0, 0, 0);
    total->setSpacing(4);
    m_panelCaption = new QLabel(QStringLiteral("Total Completions All Classes:"), m_panelTotal);
    lblEdTot = new QLabel(QStringLiteral("0"), m_panelTotal);
    lblEdTot->setObjectName(QStringLiteral("lblEdTot"));
    lblEdTot->setAlignment(Qt::AlignCenter);
    lblEdTot->setMinimumWidth(lblEdTot->fontMetrics().horizontalAdvance(QStringLiteral("88888")));
    total->addWidget(m_panelCaption);
    total->addWidget(lblEdTot);
}

QSize EducationGroup::minimumSizeHint() const
{
    QSize size = QGroupBox::minimumSizeHint();
    size.rwidth() =
        std::max(size.width(), fontMetrics().horizontalAdvance(title()) + m_panelTotal->sizeHint().width() + 24);
    return size;
}

void EducationGroup::resizeEvent(QResizeEvent* event)
{
    QGroupBox::resizeEvent(event);
    placeAtTitleEnd(this, m_panelTotal);
}

void EducationGroup::showCounts()
{
    for (CourseSubGroup* group : m_groups)
        group->showCounts();
}

void EducationGroup::showPanelTotal()
{
    int sum = 0;
    for (const CourseSubGroup* group : m_groups)
        sum += group->total();
    lblEdTot->setNum(sum);
    placeAtTitleEnd(this, m_panelTotal);
}

void EducationGroup::paint()
{
    Scheme::setBackground(this, Scheme::Background);
    Scheme::setCaption(this, Scheme::Caption);
    for (CourseSubGroup* group : m_groups)
        group->paint();
    Scheme::setCaption(m_panelCaption, Scheme::Caption);
    Scheme::setBackground(lblEdTot, Scheme::Background);
}

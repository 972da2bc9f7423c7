#include "editor/CourseSubGroup.h"

#include "app/Session.h"
#include "editor/Scheme.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QProxyStyle>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QToolButton>

#include <algorithm>

namespace {

QString name(const char* prefix, int index)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(prefix)).arg(index);
}

// Course captions are a few letters: their option buttons keep less room between the indicator and the caption,
// so that the captions of a row stand apart from each other.
class CourseOptionStyle : public QProxyStyle
{
public:
    CourseOptionStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_RadioButtonLabelSpacing)
            return 3;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

// An option button as narrow as its indicator and caption allow.
void makeCompact(QRadioButton* option)
{
    QStyleOptionButton style;
    style.initFrom(option);
    const int indicator = option->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, &style, option) +
                          option->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, &style, option);
    option->setMinimumWidth(indicator + option->fontMetrics().horizontalAdvance(option->text()) + 1);
}

} // namespace

void placeAtTitleEnd(QGroupBox* group, QWidget* widget)
{
    QStyleOptionGroupBox option;
    option.initFrom(group);
    option.text = group->title();
    option.textAlignment = group->alignment();
    option.lineWidth = 1;
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect frame = group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, group);
    const QSize size = widget->sizeHint();
    const int top = std::max(0, (frame.top() - size.height()) / 2);
    widget->setGeometry(group->width() - size.width() - 4, top, size.width(), size.height());
    widget->raise();
}

CourseSubGroup::CourseSubGroup(const CourseFamily& family, Session& session, Prompt& prompt, QWidget* parent)
    : QGroupBox(QString::fromLatin1(family.title), parent), m_family(family), m_session(session), m_prompt(prompt)
{
    setObjectName(QLatin1String(family.frame));

    // Each course is an option button over its count label; the total and the bar stand at the right.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(1, 0, 1, 2);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(0);

    m_options = new QButtonGroup(this);
    const int courses = int(family.courses.size());
    for (int i = 0; i < courses; ++i) {
        auto* option = new QRadioButton(QString::fromLatin1(family.courses[i].caption), this);
        option->setObjectName(name(family.option, i));
        if (family.courses[i].toolTip)
            option->setToolTip(QString::fromLatin1(family.courses[i].toolTip));
        m_options->addButton(option, i);
        grid->addWidget(option, 0, i);
        grid->setColumnStretch(i, 1);

        auto* count = new QLabel(QStringLiteral("0"), this);
        count->setObjectName(name(family.label, i));
        count->setAlignment(Qt::AlignCenter);
        m_counts.append(count);
        grid->addWidget(count, 1, i);
    }

    // Created after the option buttons, so that it is deleted after them.
    auto* optionStyle = new CourseOptionStyle;
    optionStyle->setParent(this);
    for (QAbstractButton* option : m_options->buttons()) {
        option->setStyle(optionStyle);
        makeCompact(static_cast<QRadioButton*>(option));
    }

    // The total keeps its width as it grows, so that the courses do not move as counts change.
    m_totalCaption = new QLabel(QStringLiteral("Tot."), this);
    m_totalCaption->setAlignment(Qt::AlignCenter);
    grid->addWidget(m_totalCaption, 0, courses);
    m_total = new QLabel(QStringLiteral("0"), this);
    m_total->setObjectName(QLatin1String(family.total));
    m_total->setAlignment(Qt::AlignCenter);
    m_total->setMinimumWidth(m_total->fontMetrics().horizontalAdvance(QStringLiteral("888")));
    grid->addWidget(m_total, 1, courses);

    // The bar is as tall as the two rows beside it.
    m_bar = new QScrollBar(Qt::Vertical, this);
    m_bar->setObjectName(QLatin1String(family.scroll));
    m_bar->setRange(0, family.maximum);
    m_bar->setSingleStep(1);
    m_bar->setPageStep(family.maximum / 25);
    m_bar->setFocusPolicy(Qt::StrongFocus);
    m_bar->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    m_bar->setMinimumHeight(40);
    grid->addWidget(m_bar, 0, courses + 1, 2, 1);

    // The host's button stands at the end of the title line.
    if (family.update) {
        m_update = new QToolButton(this);
        m_update->setObjectName(QLatin1String(family.update));
        m_update->setToolTip(QString::fromLatin1(family.updateTip));
        // A symbol instead of a caption: the count comes in from the host.
        m_update->setArrowType(Qt::LeftArrow);
        m_update->setFixedSize(15, 15);
        connect(m_update, &QToolButton::clicked, this, &CourseSubGroup::updateClicked);
    }

    connect(m_options, &QButtonGroup::idToggled, this, [this](int course, bool checked) {
        if (checked)
            courseSelected(course);
    });
    connect(m_bar, &QScrollBar::valueChanged, this, &CourseSubGroup::barChanged);
}

QSize CourseSubGroup::minimumSizeHint() const
{
    QSize size = QGroupBox::minimumSizeHint();
    if (m_update)
        size.rwidth() = std::max(size.width(), fontMetrics().horizontalAdvance(title()) + m_update->width() + 24);
    return size;
}

void CourseSubGroup::resizeEvent(QResizeEvent* event)
{
    QGroupBox::resizeEvent(event);
    if (m_update)
        placeAtTitleEnd(this, m_update);
}

int CourseSubGroup::selected() const
{
    return m_options->checkedId();
}

int CourseSubGroup::total() const
{
    int sum = 0;
    for (const QLabel* count : m_counts)
        sum += count->text().toInt();
    return sum;
}

void CourseSubGroup::showCounts()
{
    for (int i = 0; i < m_counts.size(); ++i)
        m_counts[i]->setNum(m_family.count(m_session.model, i));
    if (selected() >= 0)
        placeBar(m_family.count(m_session.model, selected()));
    showTotal();
}

void CourseSubGroup::courseSelected(int course)
{
    placeBar(m_counts[course]->text().toInt());
    showTotal();
}

void CourseSubGroup::barChanged(int value)
{
    // The program places the bar to show a count; only the user's moves are edits.
    if (m_placing)
        return;
    const int course = selected();
    if (course >= 0) {
        m_family.count(m_session.model, course) = value;
        m_counts[course]->setNum(value);
    }
    showTotal();
}

void CourseSubGroup::updateClicked()
{
    const CourseUpdate update = m_family.updateClick(m_session, selected(), m_prompt);
    if (!update.focus.isEmpty())
        Q_EMIT focusWanted(update.focus);
    if (update.course < 0)
        return;
    m_counts[update.course]->setNum(update.shown);
    if (update.course == selected())
        placeBar(m_family.count(m_session.model, update.course));
    showTotal();
}

void CourseSubGroup::placeBar(qint32 value)
{
    m_placing = true;
    m_bar->setValue(std::clamp(value, m_bar->minimum(), m_bar->maximum()));
    m_placing = false;
}

void CourseSubGroup::showTotal()
{
    m_total->setNum(total());
    Q_EMIT totalChanged();
}

void CourseSubGroup::paint()
{
    Scheme::setBackground(this, Scheme::Background);
    Scheme::setCaption(this, Scheme::Caption);
    for (QAbstractButton* option : m_options->buttons()) {
        Scheme::setBackground(option, Scheme::Background);
        Scheme::setCaption(option, Scheme::Caption);
    }
    for (QLabel* value : m_counts)
        Scheme::setBackground(value, Scheme::Background);
    Scheme::setBackground(m_total, Scheme::Background);
    Scheme::setCaption(m_totalCaption, Scheme::Caption);
    if (m_update)
        Scheme::setBackground(m_update, Scheme::Background);
}

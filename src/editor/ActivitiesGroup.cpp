#include "editor/ActivitiesGroup.h"

#include "app/Session.h"
#include "editor/Scheme.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

struct ActivityButton
{
    const char* caption;
    const char* prompt; // the group's title while the text is picked
};

// Buttons 0..6 are activities, 7..12 awards.
constexpr ActivityButton kTexts[ReportModel::ActivityCount] = {
    {"Meetings", "Meetings: No of Exec and General, Lunches, Dinners, COW, Guests "},
    {"Boating Events", "Boating Activities: Cruises, rendezvous, predicted logs"},
    {"Co-op Charting", "Cooperative Charting: No and type of reports, observations"},
    {"District Affairs", "Participation in District Affairs: Attendance at Council and Conference Mtgs"},
    {"National Affairs", "Participation in National Affairs: Attendance at Annual and Gov Board Mtgs"},
    {"Community Affairs", "Participation in Community Affairs: Boat shows, parades etc"},
    {"Other Information", "Other Important Information: Things not covered elsewhere "},
    {"District", "District: Corvane Educational Fund, awards unique to your district"},
    {"National", "National: Excellence in journalism, web site, teaching aids"},
    {"Community", "Community: Presentations, proclamations from local officials"},
    {"Other", "Other: Honorary memberships awarded, or whatever"},
    {"Vessel Safety Checks", "Vessel Safety Checks: No of checks and examiners, awards"},
    {"Squadron", "Squadron: Unique awards given to members of your squadron"},
};
constexpr int kFirstAward = 7;
constexpr int kActivitiesPerRow = 4;

const QString kTitle = QStringLiteral("Activities and Awards");

// The report keeps line breaks as CR LF (the printed pages and the upload file count and split them by it);
// the box shows ordinary line breaks.
QString shownText(QString stored)
{
    return stored.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

QString storedText(const QString& shown)
{
    return shownText(shown).replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

QString withoutTrailingBreaks(QString text)
{
    while (text.endsWith(QLatin1Char('\r')) || text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

bool isActivation(const QEvent* event)
{
    return static_cast<const QFocusEvent*>(event)->reason() == Qt::ActiveWindowFocusReason;
}

// Focus that leaves for a menu or another window comes back where it was: no edit ends there.
bool endsEdit(const QEvent* event)
{
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

} // namespace

ActivitiesGroup::ActivitiesGroup(Session& session, QWidget* parent) : QGroupBox(kTitle, parent), m_session(session)
{
    setObjectName(QStringLiteral("Frame11"));

    m_buttons = new QButtonGroup(this);
    auto* activities = new QGridLayout;
    activities->setContentsMargins(0, 0, 0, 0);
    activities->setHorizontalSpacing(6);
    activities->setVerticalSpacing(0);
    auto* awards = new QHBoxLayout;
    awards->setContentsMargins(0, 0, 0, 0);
    awards->setSpacing(2);
    for (int i = 0; i < ReportModel::ActivityCount; ++i) {
        auto* button = new QRadioButton(QString::fromLatin1(kTexts[i].caption), this);
        button->setObjectName(QStringLiteral("OptActivities_%1").arg(i));
        m_buttons->addButton(button, i);
        if (i < kFirstAward)
            activities->addWidget(button, i / kActivitiesPerRow, i % kActivitiesPerRow);
        else
            awards->addWidget(button);
    }
    activities->setColumnStretch(kActivitiesPerRow, 1);
    awards->addStretch(1);

    // The awards stand under their heading, which sits on the line that parts them from the activities.
    Label14 = new QLabel(QStringLiteral("Awards"), this);
    Label14->setObjectName(QStringLiteral("Label14"));
    m_separator = new QFrame(this);
    m_separator->setFrameShape(QFrame::HLine);
    m_separator->setFrameShadow(QFrame::Plain);
    auto* heading = new QHBoxLayout;
    heading->setContentsMargins(0, 0, 0, 0);
    heading->setSpacing(4);
    heading->addWidget(Label14);
    heading->addWidget(m_separator, 1);

    txtActivities = new QPlainTextEdit(this);
    txtActivities->setObjectName(QStringLiteral("txtActivities"));
    txtActivities->setFont(QFont(QStringLiteral("Arial"), 8));
    txtActivities->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtActivities->setTabChangesFocus(true);
    txtActivities->setFixedHeight(118);
    QSizePolicy keepSpace = txtActivities->sizePolicy();
    keepSpace.setRetainSizeWhenHidden(true);
    txtActivities->setSizePolicy(keepSpace);
    txtActivities->hide();
    txtActivities->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 3);
    layout->setSpacing(0);
    layout->addLayout(activities);
    layout->addLayout(heading);
    layout->addLayout(awards);
    layout->addSpacing(3);
    layout->addWidget(txtActivities);

    connect(m_buttons, &QButtonGroup::idClicked, this, &ActivitiesGroup::pick);
}

void ActivitiesGroup::reset()
{
    // Nothing is picked from here on, so that the box, emptied and hidden below (which takes the focus from it),
    // never stores its text again.
    ActivityIndex = -1;
    ActivitiesTarget = false;
    PendingInsertText.clear();
    ActivityCaret = 0;
    m_buttons->setExclusive(false);
    for (QAbstractButton* button : m_buttons->buttons())
        button->setChecked(false);
    m_buttons->setExclusive(true);
    markPicked(-1);
    txtActivities->hide();
    txtActivities->clear();
    setTitle(kTitle);
}

void ActivitiesGroup::commit()
{
    if (ActivitiesTarget)
        store();
}

void ActivitiesGroup::storeShownText()
{
    store();
}

void ActivitiesGroup::pick(int index)
{
    if (index < 0 || index >= ReportModel::ActivityCount)
        return;
    // The shown text first: a click on a button need not take the focus from the box.
    store();
    ActivityIndex = index;
    m_buttons->button(index)->setChecked(true);
    txtActivities->setPlainText(shownText(m_session.model.ActivityText[std::size_t(index)]));
    txtActivities->show();
    markPicked(index);
    setTitle(QString::fromLatin1(kTexts[index].prompt));
    if (txtActivities->hasFocus())
        gotFocus();
    else
        txtActivities->setFocus(Qt::OtherFocusReason);
}

bool ActivitiesGroup::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtActivities) {
        if (event->type() == QEvent::FocusIn && endsEdit(event))
            gotFocus();
        else if (event->type() == QEvent::FocusIn && isActivation(event))
            ActivitiesTarget = true; // the box has the focus again (or a click into the inactive window chose it)
        else if (event->type() == QEvent::FocusOut && endsEdit(event))
            store();
    }
    return QGroupBox::eventFilter(watched, event);
}

void ActivitiesGroup::gotFocus()
{
    ActivitiesTarget = true;
    QTextCursor caret = txtActivities->textCursor();
    if (!PendingInsertText.isEmpty()) {
        caret.setPosition(std::clamp(ActivityCaret, 0, int(txtActivities->document()->characterCount()) - 1));
        PendingInsertText.clear();
    } else {
        caret.movePosition(QTextCursor::End);
    }
    txtActivities->setTextCursor(caret);
}

void ActivitiesGroup::store()
{
    if (ActivityIndex < 0)
        return;
    const QString text = withoutTrailingBreaks(storedText(txtActivities->toPlainText()));
    m_session.model.ActivityText[std::size_t(ActivityIndex)] = text;
    const QString shown = shownText(text);
    int caret = txtActivities->textCursor().position();
    if (txtActivities->toPlainText() != shown) {
        txtActivities->setPlainText(shown);
        caret = std::min(caret, int(shown.size()));
        QTextCursor cursor = txtActivities->textCursor();
        cursor.setPosition(caret);
        txtActivities->setTextCursor(cursor);
    }
    ActivityCaret = caret;
}

void ActivitiesGroup::markPicked(int index)
{
    const bool color = m_session.ColorMode == QLatin1String("color");
    for (QAbstractButton* button : m_buttons->buttons()) {
        if (m_buttons->id(button) == index)
            Scheme::markOption(button);
        else
            Scheme::unmarkOption(button, color);
    }
}

void ActivitiesGroup::paint()
{
    Scheme::setBackground(this, Scheme::Background);
    Scheme::setCaption(this, Scheme::Caption);
    for (QAbstractButton* button : m_buttons->buttons()) {
        Scheme::setCaption(button, Scheme::Caption);
        if (m_buttons->id(button) != ActivityIndex)
            Scheme::setBackground(button, Scheme::Background);
    }
    Scheme::setBackground(Label14, Scheme::Background);
    Scheme::setCaption(Label14, Scheme::Note);
    Scheme::setCaption(m_separator, Scheme::Note);
}

#include "editor/SquadronDataGroup.h"

#include "app/Session.h"
#include "base/Text.h"
#include "base/TextNumber.h"
#include "editor/DateBox.h"
#include "editor/DigitKeyFilter.h"
#include "editor/Scheme.h"
#include "host/HostData.h"
#include "host/MemberStats.h"
#include "store/DateText.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <limits>

namespace {

// Nine digits: no count overflows a 32-bit field.
constexpr int kCountDigits = 9;

// The small update buttons show an arrow pointing at the box they fill.
const QString kUpdateGlyph = QStringLiteral("\u25C4");

// The platform's text colours in every state (a disabled button greys its glyph), undoing what the group's
// caption colour would pass on to the widget.
void keepPlatformText(QWidget* widget)
{
    QPalette palette = widget->palette();
    const QPalette platform = QApplication::palette(widget);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText})
            palette.setColor(group, role, platform.color(group, role));
    }
    widget->setPalette(palette);
}

} // namespace

SquadronDataGroup::SquadronDataGroup(Session& session, Prompt& prompt, QWidget* parent)
    : QGroupBox(QStringLiteral("Squadron Data"), parent), m_session(session), m_prompt(prompt)
{
    setObjectName(QStringLiteral("Frame1"));
    build();
}

QLabel* SquadronDataGroup::caption(const QString& text)
{
    auto* label = new QLabel(text, this);
    m_captions.append(label);
    return label;
}

QPushButton* SquadronDataGroup::smallButton(const char* name, const QString& toolTip)
{
    auto* button = new QPushButton(kUpdateGlyph, this);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(toolTip);
    const int side = button->fontMetrics().height() + 6;
    button->setFixedSize(side, side);
    return button;
}

QFrame* SquadronDataGroup::separator(const char* name)
{
    auto* line = new QFrame(this);
    line->setObjectName(QLatin1String(name));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    m_lines.append(line);
    return line;
}

void SquadronDataGroup::build()
{
    const auto valueLabel = [this](const char* name) {
        auto* label = new QLabel(this);
        label->setObjectName(QLatin1String(name));
        return label;
    };
    const auto dateBox = [this](const char* name, QString ReportModel::*field) {
        auto* box = new DateBox(
            QLatin1String(name), [this, field](const QString& stored) { m_session.model.*field = stored; }, this);
        box->setToolTip(QStringLiteral("Enter date as mmddyy"));
        return box;
    };
    const auto lineEdit = [this](const char* name) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QLatin1String(name));
        box->installEventFilter(this);
        return box;
    };
    const auto countBox = [&](const char* name, qint32 ReportModel::*field) {
        QLineEdit* box = lineEdit(name);
        DigitKeyFilter::install(box, kCountDigits);
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 10);
        m_counts.append({box, field});
        return box;
    };

    // Created in the order of the tab chain.
    lblSquad = valueLabel("lblSquad");
    lblSno = valueLabel("lblSno");
    lblDist = valueLabel("lblDist");
    txtDate = dateBox("txtDate", &ReportModel::SubDate);
    chkInc = new QCheckBox(QStringLiteral("Incorporated"), this);
    chkInc->setObjectName(QStringLiteral("chkInc"));
    txtFrom = dateBox("txtFrom", &ReportModel::FromDate);
    txtTo = dateBox("txtTo", &ReportModel::ToDate);
    txtActMem = countBox("txtActMem", &ReportModel::NoActive);
    cmdActive = smallButton("cmdActive", QStringLiteral("Current Active Members from Rostrel"));
    txtMM = countBox("txtMM", &ReportModel::NoMM);
    cmdUpdateMM = smallButton("cmdUpdateMM", QStringLiteral("Update MM from Rostrel"));
    txtNewSenior = countBox("txtNewSenior", &ReportModel::NoSenior);
    cmdNewSen = smallButton("cmdNewSen", QStringLiteral("Update from Rostrel"));
    txtPub = lineEdit("txtPub");
    lblSubO = valueLabel("lblSubO");
    lblSubO->setToolTip(QStringLiteral("Double-Click for new search"));
    cmdSubO = smallButton("cmdSubO", QStringLiteral("Enter current name on Member List above."));
    cmdSubOSearch =
        smallButton("cmdSubOSearch", QStringLiteral("Alternate search in Rostrel for Secretary / Historian"));
    connect(cmdSubO, &QPushButton::clicked, this, &SquadronDataGroup::subOFromListRequested);
    connect(cmdSubOSearch, &QPushButton::clicked, this, &SquadronDataGroup::subOSearchRequested);
    // A double click on the submitting officer runs the same new search as cmdSubOSearch.
    lblSubO->installEventFilter(this);
    txtTitle = lineEdit("txtTitle");
    txtEmail = lineEdit("txtEmail");
    Label12 = new QLabel(QStringLiteral("Values obtained from Rostrel\nreflect it's current status\n"
                                        "and may not be correct for\nthis R-318 submission."),
                         this);
    Label12->setObjectName(QStringLiteral("Label12"));
    Label12->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A point smaller than the window's font, so that the note fits beside the counts.
    QFont note = Label12->font();
    note.setPointSizeF(note.pointSizeF() - 1);
    Label12->setFont(note);

    m_texts = {{txtPub, &SquadronDataGroup::PubEntered, &ReportModel::PubName},
               {txtTitle, &SquadronDataGroup::TitleEntered, &ReportModel::SubOTitle},
               {txtEmail, &SquadronDataGroup::EmailEntered, &ReportModel::SubOEmail}};
    txtFrom->installEventFilter(this);
    for (DateBox* box : {txtDate, txtFrom, txtTo}) {
        const int width = box->fontMetrics().horizontalAdvance(QStringLiteral("Nov 30, 2019")) + 10;
        box->setFixedWidth(width);
    }
    connect(txtFrom, &DateBox::dateStored, this, [this] {
        updateReportYear();
        Q_EMIT watchYearChanged();
    });
    connect(txtTo, &DateBox::dateStored, this, &SquadronDataGroup::watchYearChanged);
    connect(txtTo, &DateBox::keyTyped, this, &SquadronDataGroup::toDateKeyTyped);
    connect(chkInc, &QCheckBox::clicked, this, [this](bool checked) { m_session.model.Incorp = checked; });
    connect(cmdActive, &QPushButton::clicked, this, &SquadronDataGroup::cmdActiveClick);
    connect(cmdUpdateMM, &QPushButton::clicked, this, &SquadronDataGroup::cmdUpdateMMClick);
    connect(cmdNewSen, &QPushButton::clicked, this, &SquadronDataGroup::cmdNewSenClick);

    // Identity, submission date and the incorporation flag.
    auto* identity = new QGridLayout;
    identity->setHorizontalSpacing(4);
    identity->setVerticalSpacing(2);
    identity->addWidget(caption(QStringLiteral("Squad:")), 0, 0);
    identity->addWidget(lblSquad, 0, 1, 1, 4);
    identity->addWidget(caption(QStringLiteral("No:")), 1, 0);
    identity->addWidget(lblSno, 1, 1);
    identity->addWidget(caption(QStringLiteral("District:")), 1, 2, Qt::AlignRight);
    identity->addWidget(lblDist, 1, 3, 1, 2);
    identity->addWidget(caption(QStringLiteral("Submission Date:")), 2, 0);
    identity->addWidget(txtDate, 2, 1, 1, 2);
    identity->addWidget(chkInc, 2, 3, 1, 2);
    identity->setColumnStretch(4, 1);

    // The watch year: the heading on two lines beside the two boxes.
    QLabel* watchHeading = caption(QStringLiteral("Watch Year mmddyy"));
    watchHeading->setWordWrap(true);
    watchHeading->setFixedWidth(watchHeading->fontMetrics().horizontalAdvance(QStringLiteral("Watch Year")) + 6);
    auto* watch = new QHBoxLayout;
    watch->setSpacing(4);
    watch->addWidget(watchHeading);
    watch->addWidget(caption(QStringLiteral("From:")));
    watch->addWidget(txtFrom);
    watch->addWidget(caption(QStringLiteral("To:")));
    watch->addWidget(txtTo);
    watch->addStretch(1);

    // The counts the host can give, with the note on host values beside them.
    auto* counts = new QGridLayout;
    counts->setHorizontalSpacing(3);
    counts->setVerticalSpacing(2);
    const struct
    {
        QString text;
        QLineEdit* box;
        QPushButton* button;
    } countRows[] = {{QStringLiteral("Active Mar 1:"), txtActMem, cmdActive},
                     {QStringLiteral("MM's:"), txtMM, cmdUpdateMM},
                     {QStringLiteral("New Senior:"), txtNewSenior, cmdNewSen}};
    int row = 0;
    for (const auto& count : countRows) {
        counts->addWidget(caption(count.text), row, 0);
        counts->addWidget(count.box, row, 1);
        counts->addWidget(count.button, row, 2);
        ++row;
    }
    counts->addWidget(Label12, 0, 3, 3, 1);
    counts->setColumnStretch(3, 1);
    counts->setColumnMinimumWidth(3, Label12->sizeHint().width());

    // The publication and the submitting officer.
    auto* officer = new QGridLayout;
    officer->setHorizontalSpacing(4);
    officer->setVerticalSpacing(2);
    officer->addWidget(caption(QStringLiteral("Squadron Publication:")), 0, 0);
    officer->addWidget(txtPub, 0, 1, 1, 3);
    officer->addWidget(caption(QStringLiteral("Submitting Officer:")), 1, 0);
    officer->addWidget(cmdSubO, 1, 2);
    officer->addWidget(cmdSubOSearch, 1, 3);
    officer->addWidget(lblSubO, 2, 0, 1, 4);
    officer->addWidget(caption(QStringLiteral("Title:")), 3, 0);
    officer->addWidget(txtTitle, 3, 1, 1, 3);
    officer->addWidget(caption(QStringLiteral("Email:")), 4, 0);
    officer->addWidget(txtEmail, 4, 1, 1, 3);
    officer->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 4);
    layout->setSpacing(2);
    layout->addLayout(identity);
    layout->addWidget(separator("Line1"));
    layout->addLayout(watch);
    layout->addWidget(separator("Line2"));
    layout->addLayout(counts);
    layout->addWidget(separator("Line3"));
    layout->addLayout(officer);
}

void SquadronDataGroup::setFindBox(QWidget* findBox)
{
    for (DateBox* box : {txtDate, txtFrom, txtTo})
        box->setFocusAfterFinish(findBox);
}

void SquadronDataGroup::showValues()
{
    const ReportModel& model = m_session.model;
    lblSquad->setText(model.SquadronName);
    lblSno->setText(model.SquadronNoText);
    lblDist->setText(QString::number(model.DistrictNo));
    txtDate->showDate(model.SubDate);
    txtFrom->showDate(model.FromDate);
    txtTo->showDate(model.ToDate);
    showCounts();
    chkInc->setChecked(model.Incorp);
    txtPub->setText(model.PubName);
    txtPub->setCursorPosition(0);
    showSubmittingOfficer();
}

void SquadronDataGroup::showCounts()
{
    for (const CountBox& count : std::as_const(m_counts))
        count.box->setText(QString::number(m_session.model.*count.field));
}

void SquadronDataGroup::showSubmittingOfficer()
{
    const ReportModel& model = m_session.model;
    lblSubO->setText(MemberFullName(model.SubOLast, model.SubOFirst, model.SubOGrade, model.SubORank));
    txtTitle->setText(model.SubOTitle);
    txtEmail->setText(model.SubOEmail);
    // A text longer than its box shows its beginning.
    txtTitle->setCursorPosition(0);
    txtEmail->setCursorPosition(0);
}

void SquadronDataGroup::commit()
{
    for (DateBox* box : {txtDate, txtFrom, txtTo})
        box->commit();
    // A menu item does not take the focus: the window's focus is still the box being typed into.
    const QWidget* focus = window()->focusWidget();
    for (const CountBox& count : std::as_const(m_counts)) {
        if (count.box == focus)
            storeCount(count);
    }
    for (const TextBox& text : std::as_const(m_texts)) {
        if (this->*text.entered)
            storeText(text);
    }
}

void SquadronDataGroup::storeCount(const CountBox& count)
{
    // The box holds digits only, nine at most; the bound keeps any other text within the field.
    m_session.model.*count.field =
        qint32(std::clamp<qint64>(leadingNumber(count.box->text()), 0, std::numeric_limits<qint32>::max()));
}

void SquadronDataGroup::storeText(const TextBox& text)
{
    m_session.model.*text.field = trimBlanks(text.box->text());
}

void SquadronDataGroup::updateReportYear()
{
    const QString year = DateText::reportYearFor(m_session.model.FromDate);
    if (!year.isEmpty())
        m_session.model.ReportYear = year;
}

bool SquadronDataGroup::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblSubO && event->type() == QEvent::MouseButtonDblClick) {
        Q_EMIT subOSearchRequested();
        return true;
    }
    const bool in = event->type() == QEvent::FocusIn;
    if (!in && event->type() != QEvent::FocusOut)
        return QGroupBox::eventFilter(watched, event);
    if (!in && watched == txtFrom) {
        // The box has not finished yet; an edited from-date recomputes the year again when it is stored.
        updateReportYear();
    }
    for (const CountBox& count : std::as_const(m_counts)) {
        if (count.box == watched && !in)
            storeCount(count);
    }
    for (const TextBox& text : std::as_const(m_texts)) {
        if (text.box != watched)
            continue;
        if (in)
            this->*text.entered = true;
        else
            storeText(text);
    }
    return QGroupBox::eventFilter(watched, event);
}

QString SquadronDataGroup::titleShown() const
{
    return txtTitle->text();
}

void SquadronDataGroup::cmdActiveClick()
{
    const CountUpdate update = ::cmdActiveClick(m_session, m_prompt);
    txtActMem->setText(QString::number(update.shown));
}

void SquadronDataGroup::cmdUpdateMMClick()
{
    const CountUpdate update = ::cmdUpdateMMClick(m_session, m_prompt);
    txtMM->setText(QString::number(update.shown));
}

void SquadronDataGroup::cmdNewSenClick()
{
    const CountUpdate update = ::cmdNewSenClick(m_session, m_prompt);
    txtNewSenior->setText(QString::number(update.shown));
    if (!update.focus.isEmpty())
        Q_EMIT focusWanted(update.focus);
    if (update.ran)
        Q_EMIT categoryRefilled(7);
}

void SquadronDataGroup::clearEnteredFlags()
{
    PubEntered = EmailEntered = TitleEntered = false;
}

void SquadronDataGroup::paint()
{
    Scheme::setBackground(this, Scheme::Background);
    Scheme::setCaption(this, Scheme::Caption);
    Scheme::setBackground(chkInc, Scheme::Background);
    Scheme::setCaption(chkInc, Scheme::Caption);
    for (QLabel* label : std::as_const(m_captions))
        Scheme::setCaption(label, Scheme::Caption);
    // The caption colour is the frame's own: the values and the buttons keep the platform's text colours.
    for (QLabel* label : {lblSquad, lblSno, lblDist, lblSubO}) {
        Scheme::setBackground(label, Scheme::Background);
        keepPlatformText(label);
    }
    for (QPushButton* button : {cmdSubOSearch, cmdActive, cmdNewSen, cmdUpdateMM})
        Scheme::setBackground(button, Scheme::Background);
    Scheme::setBackground(cmdSubO, Scheme::Add);
    for (QPushButton* button : {cmdSubO, cmdSubOSearch, cmdActive, cmdNewSen, cmdUpdateMM})
        keepPlatformText(button);
    Scheme::setCaption(Label12, Scheme::Note);
    for (QFrame* line : std::as_const(m_lines))
        Scheme::setCaption(line, Scheme::Note);
    for (QLineEdit* box : {static_cast<QLineEdit*>(txtDate), static_cast<QLineEdit*>(txtFrom),
                           static_cast<QLineEdit*>(txtTo), txtActMem, txtMM, txtNewSenior, txtPub, txtTitle, txtEmail})
        Scheme::setBoxBackground(box, Scheme::Box);
}

#include "editor/MemberListGroup.h"

#include "app/Session.h"
#include "base/Prompt.h"
#include "editor/ActivitiesGroup.h"
#include "editor/RecognitionGroup.h"
#include "editor/Scheme.h"
#include "host/HostData.h"
#include "host/HostLookups.h"
#include "store/ReportIO.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The officer list's runs of interchangeable rows: Add on one of them fills the first row of the run
// without a certificate (the twelve Executive rows and the five Nominating rows).
constexpr std::pair<int, int> kOfficerRuns[] = {{19, 30}, {34, 38}};

} // namespace

int FindListMatch(const QStringList& entries, const QString& text)
{
    if (text.isEmpty() || entries.isEmpty())
        return -1;
    const QString wanted = text.toUpper();
    const QChar first = wanted.at(0);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString& entry = entries.at(i);
        const QChar initial = entry.isEmpty() ? QChar() : entry.at(0).toUpper();
        if (initial == first && entry.left(wanted.size()).toUpper() == wanted)
            return int(i);
        if (initial.unicode() > first.unicode())
            return int(i) - 1;
    }
    return int(entries.size()) - 1;
}

MemberListGroup::MemberListGroup(Session& session, Prompt& prompt, QWidget* parent)
    : QGroupBox(QStringLiteral("Rostrel Member List"), parent), m_session(session), m_prompt(prompt)
{
    setObjectName(QStringLiteral("Frame8"));

    cmbName = new QListWidget(this);
    cmbName->setObjectName(QStringLiteral("cmbName"));
    cmbName->setUniformItemSizes(true);
    txtFind = new QLineEdit(this);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    txtFind->setToolTip(QStringLiteral("Type first letters of last name and Enter to position list box."));
    cmdAdd = new QPushButton(QStringLiteral("Add"), this);
    cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    cmdAdd->setToolTip(QStringLiteral("Add name to an activity or to a row on the grid"));
    cmdRemove = new QPushButton(QStringLiteral("Remove"), this);
    cmdRemove->setObjectName(QStringLiteral("cmdRemove"));
    cmdRemove->setToolTip(QStringLiteral("Highlight job and click to remove name."));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdAdd);
    buttons->addWidget(cmdRemove);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(cmbName, 1);
    layout->addWidget(txtFind);
    layout->addLayout(buttons);

    // The search selects as the user types; gaining the focus or a click clears the box and the selection;
    // Enter moves the focus to the list.
    connect(txtFind, &QLineEdit::textChanged, this, [this](const QString& text) {
        const int index = FindListMatch(m_entries, text);
        if (index < 0) {
            cmbName->setCurrentRow(-1);
            cmbName->clearSelection();
        } else {
            cmbName->setCurrentRow(index);
        }
    });
    txtFind->installEventFilter(this);
    connect(cmdAdd, &QPushButton::clicked, this, &MemberListGroup::cmdAddClick);
    connect(cmdRemove, &QPushButton::clicked, this, &MemberListGroup::cmdRemoveClick);
}

bool MemberListGroup::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtFind) {
        switch (event->type()) {
        case QEvent::FocusIn:
            txtFind->clear();
            break;
        case QEvent::MouseButtonPress:
            cmbName->setCurrentRow(-1);
            cmbName->clearSelection();
            break;
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                cmbName->setFocus(Qt::OtherFocusReason);
                return true;
            }
            break;
        }
        default:
            break;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

void MemberListGroup::setTargets(RecognitionGroup* grid, ActivitiesGroup* activities)
{
    m_grid = grid;
    m_activities = activities;
}

void MemberListGroup::fill()
{
    QStringList entries;
    FillMemberList(m_session, MemberIDs, entries);
    if (entries.isEmpty())
        return;
    m_entries = entries;
    cmbName->clear();
    cmbName->addItems(m_entries);
}

qint32 MemberListGroup::selectedMemberId() const
{
    const int row = cmbName->currentRow();
    if (row < 0 || !cmbName->item(row)->isSelected() || row + 1 >= MemberIDs.size())
        return 0;
    return MemberIDs.at(row + 1);
}

void MemberListGroup::cmdAddClick()
{
    if (m_activities && m_activities->activitiesTarget()) {
        if (const std::optional<HostMember> member = MemberBuffer(m_session.host, selectedMemberId()))
            addToActivities(*member);
        return;
    }
    if (!m_grid || !m_grid->isGridShown())
        return;
    const int row = m_grid->currentRow();
    if (row < 1 || (m_grid->gridCategory() == 0 && m_grid->isHeadingRow(row)))
        return;
    if (const std::optional<HostMember> member = MemberBuffer(m_session.host, selectedMemberId()))
        addToGrid(*member);
}

void MemberListGroup::addToActivities(const HostMember& m)
{
    QString text = m.Rank.isEmpty() ? QString() : m.Rank + QLatin1Char(' ');
    text += m.First + QLatin1Char(' ') + m.Last;
    if (!m.Grade.isEmpty())
        text += QStringLiteral(", ") + m.Grade + QLatin1Char(' ');
    m_activities->setPendingInsertText(text);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
    m_activities->pick(m_activities->activityIndex());
}

void MemberListGroup::addToGrid(const HostMember& member)
{
    ReportModel& model = m_session.model;
    int row = m_grid->currentRow();
    const int category = m_grid->gridCategory();
    if (category > 0) {
        RecognizedEntry& entry = model.entry(category, row);
        entry.Cert = member.Cert;
        entry.Last = member.Last;
        entry.First = member.First;
        entry.Grade = member.Grade;
        entry.Rank = member.Rank;
        saveAndReloadRecognized();
        return;
    }
    for (const auto& [first, last] : kOfficerRuns) {
        if (row < first || row > last)
            continue;
        for (int r = first; r <= last && r <= model.officerCount(); ++r) {
            if (m_grid->cellText(r, 1).trimmed().isEmpty()) {
                row = r;
                break;
            }
        }
    }
    SetOfficerMember(model, row, member);
    const QString cells[] = {member.Cert, {}, member.Last, member.First, member.Rank, member.Grade};
    for (int column = 1; column <= 6; ++column) {
        if (column != 2)
            m_grid->setCellText(row, column, cells[column - 1]);
    }
    m_grid->setCurrentCell(row, m_grid->currentColumn());
}

void MemberListGroup::cmdRemoveClick()
{
    if (!m_grid || !m_grid->isGridShown())
        return;
    const int row = m_grid->currentRow();
    const int category = m_grid->gridCategory();
    if (row < 1 || (category == 0 && m_grid->isHeadingRow(row)))
        return;
    if (m_prompt.question(QStringLiteral("Confirm removal"), Prompt::Buttons::YesNo, QStringLiteral("Remove Member")) !=
        Prompt::Answer::Yes)
        return;
    const int column = m_grid->currentColumn();
    for (int c = 1; c <= 7; ++c)
        m_grid->setCellText(row, c, QString());
    ReportModel& model = m_session.model;
    if (category == 0) {
        SetOfficerMember(model, row, HostMember());
    } else {
        RecognizedEntry& entry = model.entry(category, row);
        entry.Cert.clear();
        entry.Last.clear();
        entry.First.clear();
        entry.Grade.clear();
        entry.Rank.clear();
        entry.Office.clear();
        saveAndReloadRecognized();
    }
    m_grid->setCurrentCell(row, column);
}

void MemberListGroup::saveAndReloadRecognized()
{
    if (SaveReport(m_session, m_prompt))
        LoadRecognized(m_session);
    m_grid->FillGrid();
}

void MemberListGroup::paint()
{
    Scheme::setBackground(this, Scheme::Background);
    Scheme::setCaption(this, Scheme::Caption);
    Scheme::setBoxBackground(cmbName, Scheme::Box);
    Scheme::setBoxBackground(txtFind, Scheme::Box);
    Scheme::setBackground(cmdAdd, Scheme::Add);
    Scheme::setBackground(cmdRemove, Scheme::Remove);
}

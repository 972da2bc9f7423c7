#include "editor/MemberListGroup.h"

#include "app/Session.h"
#include "editor/Scheme.h"
#include "host/HostData.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

MemberListGroup::MemberListGroup(Session& session, QWidget* parent)
    : QGroupBox(QStringLiteral("Rostrel Member List"), parent), m_session(session)
{
    setObjectName(QStringLiteral("Frame8"));

    txtFind = new QLineEdit(this);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    txtFind->setToolTip(QStringLiteral("Type first letters of last name and Enter to position list box."));
    cmbName = new QListWidget(this);
    cmbName->setObjectName(QStringLiteral("cmbName"));
    cmbName->setUniformItemSizes(true);
    cmdAdd = new QPushButton(QStringLiteral("Add"), this);
    cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    cmdAdd->setToolTip(QStringLiteral("Add name to an activity or to a row on the grid"));
    cmdRemove = new QPushButton(QStringLiteral("Remove"), this);
    cmdRemove->setObjectName(QStringLiteral("cmdRemove"));
    cmdRemove->setToolTip(QStringLiteral("Highlight job and click to remove name."));
    // Adding and removing members is not built yet: the buttons stay disabled until it is.
    cmdAdd->setEnabled(false);
    cmdRemove->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdAdd);
    buttons->addWidget(cmdRemove);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(cmbName, 1);
    layout->addWidget(txtFind);
    layout->addLayout(buttons);
}

void MemberListGroup::fill()
{
    QStringList entries;
    FillMemberList(m_session, MemberIDs, entries);
    cmbName->clear();
    cmbName->addItems(entries);
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

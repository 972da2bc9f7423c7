#include "editor/ActivitiesGroup.h"

#include "app/Session.h"

ActivitiesGroup::ActivitiesGroup(Session& session, QWidget* parent)
    : QGroupBox(QStringLiteral("Activities and Awards"), parent), m_session(session)
{
    setObjectName(QStringLiteral("Frame11"));
}

void ActivitiesGroup::reset()
{
    ActivitiesTarget = false;
    PendingInsertText.clear();
}
void ActivitiesGroup::commit() {}
void ActivitiesGroup::pick(int) {}
void ActivitiesGroup::paint() {}

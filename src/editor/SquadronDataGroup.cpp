#include "editor/SquadronDataGroup.h"

#include "app/Session.h"

SquadronDataGroup::SquadronDataGroup(Session& session, Prompt& prompt, QWidget* parent)
    : QGroupBox(QStringLiteral("Squadron Data"), parent), m_session(session), m_prompt(prompt)
{
    setObjectName(QStringLiteral("Frame1"));
}

void SquadronDataGroup::setFindBox(QWidget*) {}
void SquadronDataGroup::showValues() {}
void SquadronDataGroup::showCounts() {}
void SquadronDataGroup::showSubmittingOfficer() {}
void SquadronDataGroup::commit() {}
void SquadronDataGroup::clearEnteredFlags()
{
    PubEntered = EmailEntered = TitleEntered = false;
}
void SquadronDataGroup::paint() {}

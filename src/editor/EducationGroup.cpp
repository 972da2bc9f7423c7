#include "editor/EducationGroup.h"

#include "app/Session.h"

EducationGroup::EducationGroup(Session& session, Prompt& prompt, QWidget* parent)
    : QGroupBox(QStringLiteral("RESULTS OF EDUCATION CLASSES"), parent), m_session(session), m_prompt(prompt)
{
    setObjectName(QStringLiteral("Frame7"));
}

void EducationGroup::showCounts() {}
void EducationGroup::paint() {}

#include "editor/R318grid.h"

#include "app/Session.h"
#include "host/HostData.h"

#include <QListWidget>
#include <QVBoxLayout>

R318grid::R318grid(Session& session, Prompt& prompt, QWidget* parent)
    : QMainWindow(parent), m_session(session), m_prompt(prompt)
{
    setObjectName(QStringLiteral("R318grid"));
    setWindowTitle(QStringLiteral("Corvane R-318 Form"));
    resize(800, 600);

    cmbName = new QListWidget(this);
    cmbName->setObjectName(QStringLiteral("cmbName"));
    setCentralWidget(cmbName);

    QStringList entries;
    FillMemberList(m_session, MemberIDs, entries);
    cmbName->addItems(entries);
    if (cmbName->count() > 0)
        cmbName->setCurrentRow(0);
}

void R318grid::bringToFront()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

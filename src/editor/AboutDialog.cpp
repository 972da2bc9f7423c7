#include "editor/AboutDialog.h"

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("About"));
}

QString AboutDialog::versionText()
{
    return QStringLiteral(R318_VERSION);
}

void AboutDialog::mousePressEvent(QMouseEvent*)
{
    accept();
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event)
{
    return QDialog::eventFilter(watched, event);
}

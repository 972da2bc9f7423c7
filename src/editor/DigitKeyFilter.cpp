#include "editor/DigitKeyFilter.h"

#include <QEvent>
#include <QKeyEvent>

DigitKeyFilter::Verdict DigitKeyFilter::judge(const QKeyEvent&)
{
    return Verdict::Pass; // to be written
}

bool DigitKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    return QObject::eventFilter(watched, event);
}

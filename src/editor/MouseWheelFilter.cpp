#include "editor/MouseWheelFilter.h"

#include "app/MouseWheel.h"
#include "editor/RecognitionGroup.h"

#include <QApplication>
#include <QWheelEvent>

MouseWheelFilter::MouseWheelFilter(QWidget* window, RecognitionGroup* grid, QList<QWidget*> ownScrolling)
    : QObject(window), m_window(window), m_grid(grid), m_ownScrolling(std::move(ownScrolling))
{
    qApp->installEventFilter(this);
}

MouseWheelFilter::~MouseWheelFilter()
{
    qApp->removeEventFilter(this);
}

bool MouseWheelFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Wheel)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != m_window)
        return false;
    for (const QWidget* own : std::as_const(m_ownScrolling)) {
        if (own->isVisible() && (widget == own || own->isAncestorOf(widget)))
            return false;
    }
    const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
    if (delta == 0)
        return false;
    m_pending += delta;
    while (m_pending >= MouseWheel::kUnitsPerNotch || m_pending <= -MouseWheel::kUnitsPerNotch) {
        const int rotation = m_pending > 0 ? 1 : -1;
        m_pending -= rotation * MouseWheel::kUnitsPerNotch;
        if (m_grid->isGridShown())
            m_grid->setTopRow(MouseWheel::NewTopRow(m_grid->topRow(), m_grid->rows(), rotation));
    }
    return true;
}

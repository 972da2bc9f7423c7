#pragma once

#include <QObject>

class QWidget;
class RecognitionGroup;

// With the host's mouse setting on, turning the wheel anywhere over the main window scrolls the recognition grid
// by three rows a notch; the event is taken, so the control under the pointer does not scroll as well. The member
// list and the activities box keep their own scrolling under the pointer. High-resolution wheels are summed up to
// whole notches; turns without vertical movement are left alone.
class MouseWheelFilter : public QObject
{
    Q_OBJECT
public:
    // Installs the filter for the window's widgets; it is removed when the object is destroyed.
    MouseWheelFilter(QWidget* window, RecognitionGroup* grid, QList<QWidget*> ownScrolling);
    ~MouseWheelFilter() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    RecognitionGroup* m_grid;
    QList<QWidget*> m_ownScrolling;
    int m_pending = 0; // wheel units not yet a whole notch
};

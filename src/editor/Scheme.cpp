#include "editor/Scheme.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace Scheme {

void setBackground(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    palette.setColor(QPalette::Button, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setCaption(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::ButtonText, color);
    widget->setPalette(palette);
}

void setBoxBackground(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, color);
    widget->setPalette(palette);
}

void unmarkOption(QWidget* button, bool color)
{
    if (color) {
        setBackground(button, Background);
        return;
    }
    QPalette palette = button->palette();
    const QPalette platform = QApplication::palette(button);
    palette.setColor(QPalette::Window, platform.color(QPalette::Window));
    palette.setColor(QPalette::Button, platform.color(QPalette::Button));
    button->setPalette(palette);
    button->setAutoFillBackground(false);
}

} // namespace Scheme

#pragma once

#include <QColor>

class QWidget;

// The window's colour scheme, applied unless the host runs in "mono" mode. The mark of a picked option button
// (a grid category or an activity text) is the same in both modes.
namespace Scheme {

inline const QColor Background(133, 213, 222); // window, groups, option buttons, value labels, small buttons
inline const QColor Caption(0, 64, 0);         // group titles, option button captions, descriptive labels
inline const QColor Note(0, 0, 255);           // the note on host values, the "Awards" heading, separator lines
inline const QColor Box(192, 255, 255);        // text boxes and the member list
inline const QColor Remove(255, 128, 128);     // cmdRemove
inline const QColor Add(192, 255, 192);        // cmdAdd, cmdSubO
inline const QColor EditBox(255, 192, 192);    // the grid's in-cell edit box
inline const QColor Picked(255, 128, 128);     // the picked category or activity button

// The widget's own background (filled) and, for buttons, its button face.
void setBackground(QWidget* widget, const QColor& color);
// The colour of the widget's caption or text.
void setCaption(QWidget* widget, const QColor& color);
// The background of an editable box or a list.
void setBoxBackground(QWidget* widget, const QColor& color);

// The background of an option button that is not picked: the scheme's background in colour mode, else the
// platform's own (the palette the button had before the scheme touched it).
void unmarkOption(QWidget* button, bool color);
// Marks the picked option button.
inline void markOption(QWidget* button)
{
    setBackground(button, Picked);
}

} // namespace Scheme

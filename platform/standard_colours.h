// The standard colours the windows paint status lines and marks with: 0 black,
// 9 light blue, 10 light green, 12 light red, 14 yellow, 15 white; and the one
// way the windows recolour a control.
#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace huelinx {

inline QColor standardColour(int index) {
    switch (index) {
    case 9:
        return QColor(0, 0, 255);
    case 10:
        return QColor(0, 255, 0);
    case 12:
        return QColor(255, 0, 0);
    case 14:
        return QColor(255, 255, 0);
    case 15:
        return QColor(255, 255, 255);
    default:
        return QColor(0, 0, 0);
    }
}

// Gives one colour role of a control a colour of its own; a background
// (window role) is then filled by the control itself.
inline void setRoleColour(QWidget* widget, QPalette::ColorRole role, QColor colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
    if (role == QPalette::Window) widget->setAutoFillBackground(true);
}

} // namespace huelinx

// The standard colours the windows paint status lines and marks with: 0 black,
// 9 light blue, 10 light green, 12 light red, 14 yellow, 15 white.
#pragma once

#include <QColor>

namespace huelinx {

inline QColor standardColour(int index) {
    switch (index) {
    case 9: return QColor(0, 0, 255);
    case 10: return QColor(0, 255, 0);
    case 12: return QColor(255, 0, 0);
    case 14: return QColor(255, 255, 0);
    case 15: return QColor(255, 255, 255);
    default: return QColor(0, 0, 0);
    }
}

} // namespace huelinx

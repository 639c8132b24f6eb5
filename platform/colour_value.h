// Colours as the windows read and write pixels: 24-bit values with red in the
// lowest byte, green in the middle byte and blue in the highest.
#pragma once

#include <QColor>

namespace huelinx {

inline long colourValue(QRgb pixel) {
    return static_cast<long>(qRed(pixel)) | static_cast<long>(qGreen(pixel)) << 8 |
           static_cast<long>(qBlue(pixel)) << 16;
}

inline QRgb rgbOfValue(long value) {
    return qRgb(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

} // namespace huelinx

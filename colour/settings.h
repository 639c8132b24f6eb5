// The main window's settings that the colour procedures read: the selected
// illuminant, the PWD check box and the display channel arrays. MainWindow owns one
// of these and hands it to every conversion, so the core never looks at a
// widget.
#pragma once

#include "colour/illuminant.h"

#include <array>

namespace huelinx {

// Arrays indexed 1..3 for the display channels R, G, B (element 0 unused).
using ChannelArray = std::array<float, 4>;

struct ColourSettings {
    Illuminant illuminant = Illuminant::C;
    // PWD: the value scale gives value 10 for Y = 100 instead of 102.568.
    bool pwd = false;
    // White level of each display channel, 0.5..1 (white balance).
    ChannelArray channelScale{1.0f, 1.0f, 1.0f, 1.0f};
    // Reciprocal of the display gamma of each channel.
    ChannelArray gammaInv{1.0f / 2.2f, 1.0f / 2.2f, 1.0f / 2.2f, 1.0f / 2.2f};
    // Exponent between linear R, G, B and C, M, Y (0.4545, not 1/2.2).
    ChannelArray cmyExponent{0.4545f, 0.4545f, 0.4545f, 0.4545f};
};

} // namespace huelinx

// Sliders that say what they hold: the tooltip names the slider and shows its
// value, following every move.
#pragma once

#include <QString>

#include <functional>

class QAbstractSlider;

namespace huelinx {

// `format` writes the position as the slider means it (the position itself
// when not given): "Hue: 5.00R", "Gamma: 2.2".
void showValueInTooltip(QAbstractSlider* slider, const QString& name,
                        std::function<QString(int position)> format = {});

} // namespace huelinx

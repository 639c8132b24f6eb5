// The small hue-circle picture shown beside the title.
#pragma once

#include <QPixmap>

namespace huelinx {

QPixmap makeLogo(int size);

} // namespace huelinx

#include "photo/picture.h"

#include <cmath>

namespace huelinx::photo {

// sRGB-encoded values are decoded with the standard's curve: a straight line
// below 0.04045, a power of 2.4 above; linear values are only scaled to 0..1.
Linearizer::Linearizer(Encoding encoding) : table_(65536) {
    for (std::size_t i = 0; i < table_.size(); ++i) {
        const double v = static_cast<double>(i) / 65535.0;
        const double linear = encoding == Encoding::Linear ? v
                              : v <= 0.04045               ? v / 12.92
                                                           : std::pow((v + 0.055) / 1.055, 2.4);
        table_[i] = static_cast<float>(linear);
    }
}

} // namespace huelinx::photo

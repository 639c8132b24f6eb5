// Text from the colour core, which keeps it in std::string (UTF-8), as the
// windows show it.
#pragma once

#include <QString>

#include <string>

namespace huelinx {

inline QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace huelinx

#include "colour/hue.h"

#include "text/number_format.h"
#include "text/number_read.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string_view>

namespace huelinx {

const std::array<std::string, 11> hueName = {"R", "YR", "Y", "GY", "G", "BG",
                                             "B", "PB", "P", "RP", ""};

namespace {

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

} // namespace

HueOfText converth(std::string_view hueText) {
    std::string upper(hueText);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
    int family = 10;
    std::size_t suffix = 0;
    for (int i = 1; i <= 9 && suffix == 0; i += 2)
        if (endsWith(upper, hueName[i])) family = i, suffix = 2;
    for (int i = 0; i <= 8 && suffix == 0; i += 2)
        if (endsWith(upper, hueName[i])) family = i, suffix = 1;
    const std::string_view number = std::string_view(upper).substr(0, upper.size() - suffix);
    return {static_cast<float>(family * 10.0 + leadingNumber(number)),
            suffix == 0 ? HueFamily::Missing : HueFamily::Named};
}

std::string hconvert(float hue) {
    double family = std::floor((static_cast<double>(hue) - 0.001) / 10.0);
    // Below 0 stays in R; past the last family (or not a number) takes the
    // empty name rather than reading outside the list.
    if (!(family >= 0.0)) family = hue > 0.0f ? 10.0 : 0.0;
    if (family > 10.0) family = 10.0;
    const int f = static_cast<int>(family);
    const float number = hue - 10.0f * static_cast<float>(f);
    return formatNumber(number, "##.00") + hueName[f];
}

} // namespace huelinx

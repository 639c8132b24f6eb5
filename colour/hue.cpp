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

// Digits with at most one decimal point, possibly none at all.
bool plainDecimal(std::string_view text) {
    bool point = false;
    for (char c : text) {
        if (c == '.' && !point)
            point = true;
        else if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

// Whether a hue number's text (upper case) names no number: NaN or infinity,
// which the leading-number rule would read as 0.
bool namesNoNumber(std::string_view number) {
    std::string compact;
    for (char c : number)
        if (c != ' ' && c != '\t') compact += c;
    std::string_view rest = compact;
    if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) rest.remove_prefix(1);
    return rest.starts_with("NAN") || rest.starts_with("INF");
}

} // namespace

bool isNeutralHue(std::string_view hueText) {
    std::string compact;
    for (char c : hueText)
        if (c != ' ' && c != '\t') compact += c;
    if (compact.empty() || (compact[0] != 'N' && compact[0] != 'n')) return false;
    const std::string_view rest = std::string_view(compact).substr(1);
    const std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos) return plainDecimal(rest);
    return plainDecimal(rest.substr(0, slash)) && plainDecimal(rest.substr(slash + 1));
}

HueOfText converth(std::string_view hueText) {
    if (isNeutralHue(hueText)) return {0.0, HueFamily::Neutral};
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
    if (suffix != 0 && namesNoNumber(number))
        return {100.0 + leadingNumber(upper), HueFamily::Missing};
    return {family * 10.0 + leadingNumber(number),
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

std::string shortHueText(float hue) {
    double rounded = std::round(static_cast<double>(hue) * 100.0) / 100.0;
    if (!std::isfinite(rounded)) return plainText(hue);
    rounded = std::fmod(rounded, 100.0);
    if (rounded <= 0.0) rounded += 100.0;
    // The hue number runs over (0, 10]: a whole multiple of 10 ends a family.
    const int family = static_cast<int>(std::ceil(rounded / 10.0)) - 1;
    const double number = std::round((rounded - 10.0 * family) * 100.0) / 100.0;
    return plainText(number) + hueName[static_cast<std::size_t>(family)];
}

std::string notationText(std::string_view hue, std::string_view value, std::string_view chroma) {
    if (hue == "N" || hue == "n") return "N " + std::string(value) + "/";
    return std::string(hue) + " " + std::string(value) + "/" + std::string(chroma);
}

} // namespace huelinx

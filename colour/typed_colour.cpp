#include "colour/typed_colour.h"

#include "colour/chip_set.h"
#include "colour/hue.h"
#include "text/number_read.h"

#include <cctype>
#include <vector>

namespace huelinx {

namespace {

struct NamedForm {
    const char* name;
    Notation notation;
};

// The names a line may start with, tried in this order; the first of each
// notation is the one written back.
const NamedForm namedForms[] = {
    {"x,y,Y", Notation::Chromaticity},
    {"xyY", Notation::Chromaticity},
    {"L*a*b*", Notation::Lab},
    {"Lab", Notation::Lab},
    {"XYZ", Notation::Xyz},
    {"RGB", Notation::Rgb},
};

bool usable(const std::string& text) {
    std::string problem;
    return singleNumber(text, "", problem).has_value();
}

// "5R 4/14", "5R4/14", "N 5/" as the texts of the three Munsell boxes.
std::optional<TypedColour> munsellOf(std::string_view text) {
    if (!readMunsellNotation(text)) return std::nullopt;
    const NotationTexts parts = *splitNotation(text);
    const std::string hue(parts.hue);
    TypedColour typed{Notation::Munsell,
                      {hue, std::string(parts.value), std::string(parts.chroma)}};
    if (isNeutralHue(hue)) {
        // A grey's hue is the letter alone ("N 5 6/" names two values).
        if (hue != "N" && hue != "n") return std::nullopt;
        typed.texts = {"N", typed.texts[1], "0"};
    }
    if (!usable(typed.texts[1]) || !usable(typed.texts[2])) return std::nullopt;
    return typed;
}

// Exactly three numbers, separated by blanks, commas or semicolons.
std::optional<std::array<std::string, 3>> threeNumbers(std::string_view text) {
    std::vector<std::string> numbers;
    std::string current;
    for (const char c : std::string(text) + ' ') {
        if (c == ' ' || c == '\t' || c == ',' || c == ';') {
            if (!current.empty()) numbers.push_back(std::move(current));
            current.clear();
            if (numbers.size() > 3) return std::nullopt;
        } else {
            current += c;
        }
    }
    if (numbers.size() != 3) return std::nullopt;
    for (const std::string& n : numbers)
        if (!usable(n)) return std::nullopt;
    return std::array<std::string, 3>{numbers[0], numbers[1], numbers[2]};
}

bool startsWithName(std::string_view text, std::string_view name) {
    if (text.size() < name.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

std::optional<TypedColour> hexOf(std::string_view text) {
    if (text.empty() || text[0] != '#') return std::nullopt;
    const std::string_view digits = text.substr(1);
    if (digits.size() != 3 && digits.size() != 6) return std::nullopt;
    for (char c : digits)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    const std::size_t width = digits.size() / 3;
    TypedColour typed{Notation::Rgb, {}};
    for (std::size_t i = 0; i < 3; ++i) {
        int level = std::stoi(std::string(digits.substr(i * width, width)), nullptr, 16);
        if (width == 1) level *= 17; // #b23 is #bb2233
        typed.texts[i] = std::to_string(level);
    }
    return typed;
}

// Three numbers without a name: x,y,Y when x and y are chromaticities and Y
// is more than a fraction, else L*a*b*.
Notation guessedNotation(const std::array<std::string, 3>& numbers) {
    const double x = *strictNumber(numbers[0]), y = *strictNumber(numbers[1]),
                 Y = *strictNumber(numbers[2]);
    const bool chromaticity = x >= 0.0 && x <= 1.0 && y >= 0.0 && y <= 1.0 && Y > 1.0;
    return chromaticity ? Notation::Chromaticity : Notation::Lab;
}

} // namespace

std::optional<TypedColour> readTypedColour(std::string_view text, std::optional<Notation> hint) {
    text = trimmed(text);
    if (text.find('/') != std::string_view::npos) return munsellOf(text);
    if (auto hex = hexOf(text)) return hex;
    for (const NamedForm& form : namedForms) {
        if (!startsWithName(text, form.name)) continue;
        std::string_view rest = text.substr(std::string_view(form.name).size());
        if (!rest.empty() && (rest[0] == ':' || rest[0] == '=')) rest.remove_prefix(1);
        if (auto numbers = threeNumbers(rest)) return TypedColour{form.notation, *numbers};
        return std::nullopt;
    }
    const auto numbers = threeNumbers(text);
    if (!numbers) return std::nullopt;
    const bool hinted = hint && *hint != Notation::Munsell && *hint != Notation::Cmyk;
    return TypedColour{hinted ? *hint : guessedNotation(*numbers), *numbers};
}

std::string typedColourText(const TypedColour& colour) {
    const auto& t = colour.texts;
    if (colour.notation == Notation::Munsell) return notationText(t[0], t[1], t[2]);
    std::string text = "RGB";
    for (const NamedForm& form : namedForms)
        if (form.notation == colour.notation) {
            text = form.name;
            break;
        }
    return text + " " + t[0] + " " + t[1] + " " + t[2];
}

} // namespace huelinx

// The three illuminants the program converts under, their whites, and their
// names in text. One table holds every name a user or a file may give for
// each; its first name for an illuminant is the one the program writes.
#pragma once

#include <optional>
#include <string_view>

namespace huelinx {

// Index of the selected illuminant option button.
enum class Illuminant { C = 0, D5000 = 1, D65 = 2 };

struct Tristimulus {
    float X, Y, Z;
};

// Whites of the three illuminants, Y = 100 (illuminant C 2 degree, D5000
// 2 degree, D65 10 degree).
constexpr Tristimulus whiteOf(Illuminant ill) {
    switch (ill) {
    case Illuminant::D5000:
        return {96.42f, 100.0f, 82.49f};
    case Illuminant::D65:
        return {94.811f, 100.0f, 107.304f};
    case Illuminant::C:
        break;
    }
    return {98.074f, 100.0f, 118.232f};
}

struct IlluminantName {
    std::string_view name;
    Illuminant illuminant;
};

// The names the command line, the Python module and CGATS files take: D5000
// is also called D50, the name measuring tools give it.
inline constexpr IlluminantName illuminantNames[] = {{"C", Illuminant::C},
                                                     {"D50", Illuminant::D5000},
                                                     {"D5000", Illuminant::D5000},
                                                     {"D65", Illuminant::D65}};

// The name the program writes: "C", "D50" or "D65".
constexpr std::string_view illuminantName(Illuminant ill) {
    for (const IlluminantName& n : illuminantNames)
        if (n.illuminant == ill) return n.name;
    return illuminantNames[0].name;
}

// The standard observer the program pairs with each: 2 degree, D65 10 degree.
constexpr int observerDegrees(Illuminant ill) {
    return ill == Illuminant::D65 ? 10 : 2;
}

// Whether names are matched as written or with ASCII letters in either case.
enum class NameCase { Exact, Either };

// The illuminant a name gives (see illuminantNames), if any.
constexpr std::optional<Illuminant> illuminantNamed(std::string_view name,
                                                    NameCase letters = NameCase::Exact) {
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
    for (const IlluminantName& n : illuminantNames) {
        if (n.name.size() != name.size()) continue;
        bool same = true;
        for (std::size_t i = 0; same && i < name.size(); ++i)
            same = letters == NameCase::Either ? upper(name[i]) == n.name[i] : name[i] == n.name[i];
        if (same) return n.illuminant;
    }
    return std::nullopt;
}

} // namespace huelinx

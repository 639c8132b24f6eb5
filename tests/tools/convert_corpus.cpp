#include "convert_corpus.h"

#include <array>
#include <cstdio>

namespace huelinx::corpus {

namespace {

// splitmix64: a small generator whose sequence is fixed by its seed on every
// platform (the standard library's distributions are not).
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ull);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    double uniform(double lo, double hi) {
        return lo + (hi - lo) * static_cast<double>(next() >> 11) / 9007199254740992.0;
    }
    bool chance(int percent) { return below(100) < percent; }

  private:
    std::uint64_t state_;
};

std::string printf1(const char* format, int precision, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, precision, value);
    return buffer;
}

// A number as a user or a file might write it: whole, with a few or many
// decimals, in exponent form, or padded with blanks.
std::string numberText(Random& r, double value) {
    switch (r.below(10)) {
    case 0:
        return printf1("%.*f", 0, value);
    case 1:
        return printf1("%.*e", r.below(4), value);
    case 2:
        return printf1("%.*f", 7, value);
    case 3:
        return " " + printf1("%.*f", 2, value) + " ";
    case 4:
        return printf1("%.*g", 9, value);
    default:
        return printf1("%.*f", 1 + r.below(4), value);
    }
}

// A text that is not what the field wants, or a number at the edge of what
// single precision holds.
std::string oddText(Random& r) {
    static const std::array<const char*, 14> odd = {"",     "abc", "1e30",  "-1e30", "1e-30",
                                                    "1e39", "nan", "inf",   "12x",   "1,5",
                                                    "-0",   "0",   "1e308", "  "};
    return odd[static_cast<std::size_t>(r.below(static_cast<int>(odd.size())))];
}

std::string field(Random& r, double lo, double hi, int oddPercent) {
    if (r.chance(oddPercent)) return oddText(r);
    return numberText(r, r.uniform(lo, hi));
}

std::string hueText(Random& r) {
    static const std::array<const char*, 10> families = {"R",  "YR", "Y",  "GY", "G",
                                                         "BG", "B",  "PB", "P",  "RP"};
    static const std::array<const char*, 12> odd = {"",    "N",  "abc", "5",   "5X",        "YR",
                                                    "5 R", "0R", "11Y", "-3G", "10.0001RP", "n"};
    if (r.chance(8)) return odd[static_cast<std::size_t>(r.below(static_cast<int>(odd.size())))];
    std::string family = families[static_cast<std::size_t>(r.below(10))];
    if (r.chance(15))
        for (char& c : family)
            c = static_cast<char>(c - 'A' + 'a');
    static const std::array<double, 5> standard = {2.5, 5, 7.5, 10, 0};
    const double number =
        r.chance(30) ? standard[static_cast<std::size_t>(r.below(5))] : r.uniform(0, 10);
    return numberText(r, number) + family;
}

std::string munsellLine(Random& r) {
    std::string value = r.chance(6) ? field(r, 10, 25, 0) : field(r, 0, 10, 5);
    if (r.chance(3)) value = "10";
    std::string chroma = r.chance(6) ? field(r, 40, 80, 0) : field(r, 0, 26, 5);
    if (r.chance(3)) chroma = "0";
    return "munsell," + hueText(r) + "," + value + "," + chroma;
}

std::string xyzLine(Random& r) {
    if (r.chance(3)) return "xyz,0,0,0";
    const double Y = r.uniform(0, 105);
    const auto near = [&](double scale) { return field(r, 0, Y * scale + 1, 4); };
    return "xyz," + near(1.1) + "," + (r.chance(4) ? oddText(r) : numberText(r, Y)) + "," +
           near(1.3);
}

std::string xyLine(Random& r) {
    const std::string y = r.chance(3) ? std::string("0") : field(r, 0.01, 0.85, 4);
    return "xy," + field(r, 0, 0.75, 4) + "," + y + "," + field(r, 0, 102, 4);
}

std::string labLine(Random& r) {
    return "lab," + field(r, -20, 110, 4) + "," + field(r, -130, 130, 4) + "," +
           field(r, -130, 130, 4);
}

std::string rgbLine(Random& r) {
    return "rgb," + field(r, -10, 300, 4) + "," + field(r, -10, 300, 4) + "," +
           field(r, -10, 300, 4);
}

std::string cmykLine(Random& r) {
    return "cmyk," + field(r, -10, 110, 4) + "," + field(r, -10, 110, 4) + "," +
           field(r, -10, 110, 4) + "," + field(r, -10, 110, 4);
}

// Lines that are wrong as a whole: an unknown kind, too few or too many
// values, a kind in capitals, blanks around the kind.
std::string malformedLine(Random& r) {
    switch (r.below(6)) {
    case 0:
        return "hsv,1,2,3";
    case 1:
        return "xyz,1,2";
    case 2:
        return "rgb,1,2,3,4";
    case 3:
        return "MUNSELL,5R,5,10";
    case 4:
        return " lab , 50 , 10 , -10 ";
    default:
        return "munsell,5R 5/10";
    }
}

std::string line(Random& r) {
    const int kind = r.below(100);
    if (kind < 30) return munsellLine(r);
    if (kind < 45) return xyzLine(r);
    if (kind < 55) return xyLine(r);
    if (kind < 70) return labLine(r);
    if (kind < 85) return rgbLine(r);
    if (kind < 97) return cmykLine(r);
    return malformedLine(r);
}

} // namespace

std::vector<Run> runs() {
    std::vector<Run> result;
    const std::array<const char*, 3> illuminants = {"C", "D50", "D65"};
    const std::array<const char*, 3> gammas = {"1", "2.2", "3"};
    const std::array<const char*, 3> whites = {"50", "75", "100"};
    Random r(20261208);
    for (const char* illuminant : illuminants)
        for (bool pwd : {false, true})
            for (const char* gamma : gammas)
                for (const char* white : whites) {
                    Run run;
                    run.args = {"--illuminant", illuminant,        "--gamma",
                                gamma,          "--white-balance", white};
                    if (pwd) run.args.push_back("--pwd");
                    run.args.push_back("--csv");
                    for (int i = 0; i < 1900; ++i)
                        run.lines.push_back(line(r));
                    result.push_back(run);
                }
    // Single colours on the command line, and command lines that can't be used.
    const std::vector<std::vector<std::string>> singles = {
        {"munsell", "5R", "5", "10"},
        {"munsell", "N", "5", "0"},
        {"--pwd", "munsell", "10Y", "10", "4"},
        {"xyz", "0", "0", "0"},
        {"--illuminant", "D65", "lab", "50", "20", "-30"},
        {"rgb", "300", "-5", "12.5"},
        {"cmyk", "0", "0", "0", "100"},
        {"xy", "0.3101", "0.3163", "50"},
        {"xy", "0.3", "0", "50"},
        {"munsell", "5x", "5", "4"},
        {"rgb", "1", "2"},
        {"--gamma", "9", "rgb", "1", "2", "3"},
        {"--illuminant", "A", "rgb", "1", "2", "3"},
        {"--white-balance", "49.5", "rgb", "1", "2", "3"},
        {"--csv", "rgb"},
        {"--bogus"},
        {},
        {"--gamma", "2.25", "munsell", "5PB", "4", "12"},
        {"--illuminant", "d5000", "--white-balance", "60", "xyz", "20", "30", "40"}};
    for (const auto& args : singles)
        result.push_back({args, {}});
    return result;
}

namespace {

std::uint64_t fnv1a(const std::string& text, std::uint64_t hash) {
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

} // namespace

std::uint64_t hashOf(const Outcome& outcome) {
    std::uint64_t hash = 14695981039346656037ull;
    hash = fnv1a(outcome.out, hash);
    hash = fnv1a("\nerr\n" + outcome.err, hash);
    return fnv1a("\nstatus " + std::to_string(outcome.status), hash);
}

} // namespace huelinx::corpus

#include "python/batch.h"

#include "colour/colorimetry.h"
#include "colour/hue.h"
#include "colour/mun2xyz.h"
#include "colour/rgbcmyk.h"
#include "text/number_read.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace huelinx::batch {

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

void fill(double* out, std::size_t count) {
    std::fill(out, out + count, nan);
}

bool finite3(const double* v) {
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

// Whether the window's value and chroma sliders take the notation as an
// entry moves them. Its hue, read on the 0..100 circle, is always within the
// hue slider.
bool withinSliders(const MunsellColour& c) {
    return enteredSliderPosition(Slider::Value, c.value * 2.0f) &&
           enteredSliderPosition(Slider::Chroma, c.chroma);
}

// The status of a notation as shownNotation found it: in the data, outside
// them, or no number.
Status statusOfFit(MunsellFit fit) {
    if (fit == MunsellFit::InData) return Status::InData;
    return fit == MunsellFit::NotANumber ? Status::NotANumber : Status::OutsideData;
}

// A number in the core's single precision.
float single(double v) {
    return static_cast<float>(v);
}

// Runs `convert` on every colour whose three numbers are finite, into three
// outputs a colour; the others get NaN and NotANumber. `convert` gives the
// colour's status and fills its outputs.
template <typename Convert>
void forEachFinite(const double* in, std::size_t n, double* out, Status* status, Convert convert) {
    for (std::size_t i = 0; i < n; ++i) {
        const double* v = in + 3 * i;
        fill(out + 3 * i, 3);
        status[i] = finite3(v) ? convert(v, out + 3 * i) : Status::NotANumber;
    }
}

// Within this size no number an entry shows can overflow single precision,
// so only colours beyond it are entered into the window to find out: an entry
// costs far more than a conversion.
constexpr double ordinaryLimit = 1e6;

bool ordinary(const double* v) {
    return std::fabs(v[0]) <= ordinaryLimit && std::fabs(v[1]) <= ordinaryLimit &&
           std::fabs(v[2]) <= ordinaryLimit;
}

// Whether the numbers typed into the entry (and, if given, what they convert
// to) are out of range as huelinx-convert finds it.
bool outOfRange(const Window& window, const Entry& entry, const double* in,
                const double* out = nullptr) {
    if (ordinary(in) && (!out || ordinary(out))) return false;
    return windowOverflows(window, entry, in);
}

// As forEachFinite, for numbers typed into the entry's boxes: a colour the
// window would refuse or show with a number beyond single precision gets
// NaN and OutOfRange, as huelinx-convert refuses its line.
template <typename Convert>
void forEachEntered(const Window& window, const Entry& entry, const double* in, std::size_t n,
                    double* out, Status* status, Convert convert) {
    forEachFinite(in, n, out, status, [&](const double* v, double* o) {
        const Status s = convert(v, o);
        if (s == Status::OutOfRange || !outOfRange(window, entry, v, o)) return s;
        fill(o, 3);
        return Status::OutOfRange;
    });
}

// A box's text as the window writes a number it can't hold.
bool showsNonFinite(const std::string& text) {
    return text == "Inf" || text == "-Inf" || text == "NaN" || text == "-NaN";
}

// The shortest text that reads back as the same double.
std::string numberText(double v) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, v).ptr;
    return std::string(text, end);
}

// A number as a box holds it: as computed, or infinite beyond single precision.
double boxNumber(double v) {
    return std::isfinite(single(v)) ? v : double{single(v)};
}

void put3(double* out, double a, double b, double c) {
    out[0] = a;
    out[1] = b;
    out[2] = c;
}

MunsellColour colourOf(const Notations& in, std::size_t i) {
    return {static_cast<float>(in.hue[i]), static_cast<float>(in.value[i]),
            in.neutral[i] ? 0.0f : static_cast<float>(in.chroma[i]), in.neutral[i] != 0};
}

} // namespace

bool windowOverflows(const Window& window, const Entry& entry, const double* values) {
    // The window refuses a number single precision can't hold before it
    // converts anything; its other refusals are no overflow.
    if (!finite3(values) || !std::isfinite(single(values[0])) ||
        !std::isfinite(single(values[1])) || !std::isfinite(single(values[2])))
        return true;
    // The boxes the entry leaves hold numbers single precision can hold, in
    // the initial model as in the started one: only the settings matter.
    ColourModel colour = ColourModel::initial();
    colour.settings = window.settings;
    for (int i = 0; i < 3; ++i)
        colour[entry.boxes[i]] = numberText(values[i]);
    enterInPlace(colour, entry.notation, window.table);
    return std::any_of(colour.box.begin(), colour.box.end(), showsNonFinite);
}

namespace {

// X, Y, Z the window refuses as an entry because they have no chromaticity
// (withoutChromaticity): the result becomes NaN. `xyz` may be `out` itself.
bool refusedWithoutChromaticity(const double* xyz, double* out) {
    if (!withoutChromaticity(xyz[0], xyz[1], xyz[2])) return false;
    fill(out, 3);
    return true;
}

} // namespace

const char* statusText(Status status) {
    switch (status) {
    case Status::Ok:
        return "ok";
    case Status::InData:
        return "in data";
    case Status::OutsideData:
        return "outside data";
    case Status::NotANumber:
        return "not a number";
    case Status::NotANotation:
        return "not a notation";
    case Status::OutOfRange:
        return "out of range";
    case Status::OutOfRgbRange:
        return "out of RGB range";
    case Status::NoName:
        return "no name";
    case Status::NoChipWithin5:
        return "no chip within 5";
    case Status::BadRegion:
        return "bad region";
    case Status::BadText:
        break;
    }
    return "bad text";
}

void Notations::resize(std::size_t n) {
    hue.assign(n, 0.0);
    value.assign(n, 0.0);
    chroma.assign(n, 0.0);
    neutral.assign(n, 0);
    status.assign(n, Status::NotANotation);
}

namespace {

// A notation whose hue number is 0 ("0R 5/4", ".00R 7.48/9.78" as
// xyz_to_munsell writes a hue at the end of RP), read as the window reads it:
// 10 of the family before. Chip files don't take such a hue, so the chip
// reader is given the same notation with that hue.
std::optional<Chip> readZeroHue(std::string_view text) {
    static const char* const families[] = {"R", "YR", "Y", "GY", "G", "BG", "B", "PB", "P", "RP"};
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) return std::nullopt;
    text.remove_prefix(start);
    const std::size_t digits = std::min(text.find_first_not_of("0123456789.+-"), text.size());
    if (strictNumber(text.substr(0, digits)) != 0.0) return std::nullopt;
    std::size_t end = digits;
    std::string family;
    while (end < text.size() && std::isalpha(static_cast<unsigned char>(text[end])))
        family += static_cast<char>(std::toupper(static_cast<unsigned char>(text[end++])));
    for (int f = 0; f < 10; ++f)
        if (family == families[f])
            return readMunsellNotation("10" + std::string(families[(f + 9) % 10]) +
                                       std::string(text.substr(end)));
    return std::nullopt;
}

} // namespace

void readNotation(std::string_view text, Notations& into, std::size_t i) {
    std::optional<Chip> chip = readMunsellNotation(text);
    if (!chip) chip = readZeroHue(text);
    if (!chip) {
        into.status[i] = Status::NotANotation;
        return;
    }
    into.hue[i] = chip->hue;
    into.value[i] = chip->value;
    into.chroma[i] = chip->chroma;
    into.neutral[i] = chip->neutral;
    into.status[i] = Status::Ok;
}

void readTriple(const double* hvc, Notations& into, std::size_t i) {
    // A grey has no hue: NaN with chroma 0 is one, as xyz_to_munsell gives it.
    const double grey[3] = {0.0, hvc[1], hvc[2]};
    if (std::isnan(hvc[0]) && hvc[2] == 0.0) hvc = grey;
    if (!finite3(hvc)) {
        into.status[i] = Status::NotANumber;
        return;
    }
    double hue = std::fmod(hvc[0], 100.0);
    if (hue < 0.0) hue += 100.0;
    into.hue[i] = hue;
    into.value[i] = hvc[1];
    into.chroma[i] = hvc[2];
    into.neutral[i] = hvc[2] == 0.0;
    into.status[i] = Status::Ok;
}

void Texts::put(std::size_t i, std::string_view text) {
    std::memcpy(chars.data() + i * width, text.data(), std::min(text.size(), width));
}

void munsellToXyz(const Notations& in, const MunTable& table, const ColourSettings& settings,
                  double* xyz, double* xy, Status* status) {
    for (std::size_t i = 0; i < in.size(); ++i) {
        fill(xyz + 3 * i, 3);
        fill(xy + 2 * i, 2);
        status[i] = in.status[i];
        if (status[i] != Status::Ok) continue;
        const MunsellColour c = colourOf(in, i);
        if (!withinSliders(c) || !(c.chroma >= 0.0f)) {
            status[i] = Status::OutOfRange;
            continue;
        }
        // The numbers as given: mun2xyz takes them at the precision it computes.
        const double chroma = in.neutral[i] ? 0.0 : in.chroma[i];
        const CieOfMunsell cie =
            mun2xyz(wrappedHue(in.hue[i]), in.value[i], chroma, table, settings);
        if (cie.status != MunsellToCie::Ok) {
            status[i] =
                cie.status == MunsellToCie::OutsideData ? Status::OutsideData : Status::OutOfRange;
            continue;
        }
        const double values[5] = {cie.X, cie.Y, cie.Z, cie.x, cie.y};
        std::copy(values, values + 3, xyz + 3 * i);
        std::copy(values + 3, values + 5, xy + 2 * i);
    }
}

void xyzToMunsell(const double* xyz, std::size_t n, const Window& window, double* hvc,
                  Texts& notation, Status* status) {
    for (std::size_t i = 0; i < n; ++i) {
        const double* v = xyz + 3 * i;
        double* out = hvc + 3 * i;
        fill(out, 3);
        if (finite3(v) && outOfRange(window, xyzEntry, v)) {
            status[i] = Status::OutOfRange;
            continue;
        }
        const ShownNotation shown = shownNotation(v[0], v[1], v[2], window.table, window.settings);
        status[i] = shown.shown ? statusOfFit(shown.fit) : Status::NotANumber;
        if (status[i] == Status::NotANumber) continue;
        // As computed; only the notation text is rounded as the window shows it.
        out[1] = shown.value;
        if (shown.hueText.empty()) continue; // outside the data: the value alone
        out[0] = shown.grey ? nan : shown.exactHue;
        out[2] = shown.chroma;
        notation.put(i, notationText(shown.hueText, shown.valueText, shown.chromaText));
    }
}

void xyyToXyz(const double* xyy, std::size_t n, const Window& window, double* xyz, Status* status) {
    forEachFinite(xyy, n, xyz, status, [&](const double* v, double* out) {
        const auto entered = xyzOfChromaticity(v[0], v[1], v[2]);
        if (!entered) return Status::NotANumber; // y = 0
        // The boxes hold single precision: beyond it X or Z is infinite.
        put3(out, boxNumber(entered->X), entered->Y, boxNumber(entered->Z));
        if (!outOfRange(window, chromaticityEntry, v, out)) return Status::Ok;
        fill(out, 3);
        return Status::OutOfRange;
    });
}

void xyzToLab(const double* xyz, std::size_t n, const Window& window, double* lab, Status* status) {
    forEachEntered(window, xyzEntry, xyz, n, lab, status, [&](const double* v, double* out) {
        if (refusedWithoutChromaticity(v, out)) return Status::NotANumber;
        const LabOfXyz c = xyzlab(v[0], v[1], v[2], window.settings);
        put3(out, c.L, c.a, c.b);
        return Status::Ok;
    });
}

void labToXyz(const double* lab, std::size_t n, const Window& window, double* xyz, Status* status) {
    forEachEntered(window, labEntry, lab, n, xyz, status, [&](const double* v, double* out) {
        const auto back = xyzOfLabEntry(v[0], v[1], v[2], window.settings);
        if (!back) return Status::OutOfRange; // L* below 0
        put3(out, back->X, back->Y, back->Z);
        return refusedWithoutChromaticity(out, out) ? Status::NotANumber : Status::Ok;
    });
}

void xyzToRgb(const double* xyz, std::size_t n, const Window& window, double* rgb, Status* status) {
    const ColourSettings& settings = window.settings;
    forEachEntered(window, xyzEntry, xyz, n, rgb, status, [&](const double* v, double* out) {
        if (refusedWithoutChromaticity(v, out)) return Status::NotANumber;
        // As an X, Y, Z entry: the display colour of the values as given
        // (black without light).
        const Tristimulus entered{single(v[0]), single(v[1]), single(v[2])};
        const RgbOfXyz c = entryDisplay(entered.Y, entered, settings);
        put3(out, c.R, c.G, c.B);
        return c.outOfRange ? Status::OutOfRgbRange : Status::Ok;
    });
}

void rgbToXyz(const double* rgb, std::size_t n, const Window& window, double* xyz, Status* status) {
    const ColourSettings& settings = window.settings;
    forEachFinite(rgb, n, xyz, status, [&](const double* v, double* out) {
        float linear[3];
        for (int c = 0; c < 3; ++c)
            linear[c] = linearChannel(displayLevel(v[c]), settings, c + 1);
        const Tristimulus t = xyzOfLinear(linear[0], linear[1], linear[2], settings);
        put3(out, t.X, t.Y, t.Z);
        return Status::Ok;
    });
}

void isccNbsNames(const Notations& in, const IsccNbsTable& names, const IsccNbsName** found,
                  Status* status) {
    for (std::size_t i = 0; i < in.size(); ++i) {
        found[i] = nullptr;
        status[i] = in.status[i];
        if (status[i] != Status::Ok) continue;
        found[i] = in.neutral[i] ? names.nameOfNeutral(in.value[i])
                                 : names.nameOf(in.hue[i], in.value[i], in.chroma[i]);
        if (!found[i]) status[i] = Status::NoName;
    }
}

namespace {

void resizeChips(ChipResults& out, std::size_t n) {
    out.chip.assign(n, {});
    out.label.assign(n, {});
    out.de00.assign(n, nan);
    out.steps.assign(3 * n, nan);
    out.status.assign(n, Status::Ok);
}

void putChip(ChipResults& out, std::size_t i, const std::optional<NearestChip>& chip) {
    if (!chip) {
        out.status[i] = Status::OutsideData;
        return;
    }
    if (!chip->withinLimit) {
        out.status[i] = Status::NoChipWithin5;
        return;
    }
    out.chip[i] = chip->notation;
    out.label[i] = chip->label;
    out.de00[i] = chip->de00;
    out.steps[3 * i] = chip->steps.dH;
    out.steps[3 * i + 1] = chip->steps.dV;
    out.steps[3 * i + 2] = chip->steps.dC;
}

} // namespace

void nearestChips(const Notations& in, ChipSearch& chips, const ColourSettings& settings,
                  ChipResults& out) {
    resizeChips(out, in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        out.status[i] = in.status[i];
        if (out.status[i] != Status::Ok) continue;
        putChip(out, i, chips.nearestToNotation(colourOf(in, i), settings));
    }
}

void nearestChipsOfXyz(const double* xyz, std::size_t n, const Window& window, ChipSearch& chips,
                       ChipResults& out) {
    const MunTable& table = window.table;
    const ColourSettings& settings = window.settings;
    resizeChips(out, n);
    for (std::size_t i = 0; i < n; ++i) {
        const double* v = xyz + 3 * i;
        if (!finite3(v) || outOfRange(window, xyzEntry, v)) {
            out.status[i] = finite3(v) ? Status::OutOfRange : Status::NotANumber;
            continue;
        }
        const double X = v[0], Y = v[1], Z = v[2];
        const ShownNotation shown = shownNotation(X, Y, Z, table, settings);
        if (!shown.shown || shown.hueText.empty()) {
            out.status[i] = shown.shown ? Status::OutsideData : Status::NotANumber;
            continue;
        }
        const LabOfXyz lab = xyzlab(X, Y, Z, settings);
        const MunsellColour notation{static_cast<float>(shown.grey ? 0.0 : shown.hue),
                                     static_cast<float>(shown.value),
                                     static_cast<float>(shown.chroma), shown.grey};
        putChip(out, i, chips.nearest(Lab{lab.L, lab.a, lab.b}, notation, settings));
    }
}

void deltaE2000(const double* lab1, const double* lab2, std::size_t n, std::size_t stride2,
                const De2000Weights& weights, double* de) {
    for (std::size_t i = 0; i < n; ++i) {
        const double* a = lab1 + 3 * i;
        const double* b = lab2 + stride2 * i;
        de[i] = finite3(a) && finite3(b)
                    ? ciede2000({a[0], a[1], a[2]}, {b[0], b[1], b[2]}, weights)
                    : nan;
    }
}

namespace {

// The pairs of two inputs, one of which may hold a single notation.
std::size_t pairCount(const Notations& a, const Notations& b) {
    return a.size() == 1 ? b.size() : a.size();
}
std::size_t placeIn(const Notations& in, std::size_t i) {
    return in.size() == 1 ? 0 : i;
}

} // namespace

void contrastClasses(const Notations& a, const Notations& b, SoilComparer& soil,
                     ContrastResults& out) {
    const std::size_t n = pairCount(a, b);
    out.contrast.assign(n, ContrastClass::Faint);
    out.de00.assign(n, std::nan(""));
    out.steps.assign(3 * n, std::nan(""));
    out.chip.assign(2 * n, {});
    out.taken.assign(2 * n, 0);
    out.status.assign(n, Status::Ok);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t ia = placeIn(a, i), ib = placeIn(b, i);
        out.status[i] = a.status[ia] != Status::Ok ? a.status[ia] : b.status[ib];
        if (out.status[i] != Status::Ok) continue;
        const SoilContrast c = soil.compare(colourOf(a, ia), colourOf(b, ib));
        if (c.status != SoilContrast::Status::Ok) {
            out.status[i] = c.status == SoilContrast::Status::OutsideData ? Status::OutsideData
                                                                          : Status::NoChipWithin5;
            continue;
        }
        out.contrast[i] = c.contrast;
        out.de00[i] = c.de00;
        out.steps[3 * i] = c.steps.pages;
        out.steps[3 * i + 1] = c.steps.dV;
        out.steps[3 * i + 2] = c.steps.dC;
        for (std::size_t k = 0; k < 2; ++k) {
            out.chip[2 * i + k] = soil.chips().chips[c.chip[k]].notation;
            out.taken[2 * i + k] = c.takenToChip[k] ? 1 : 0;
        }
    }
}

void soilChecks(const Notations& moist, const Notations& dry, std::uint8_t* mollic,
                std::uint8_t* chernic, Status* status) {
    for (std::size_t i = 0; i < pairCount(moist, dry); ++i) {
        const std::size_t im = placeIn(moist, i), id = placeIn(dry, i);
        status[i] = moist.status[im] != Status::Ok ? moist.status[im] : dry.status[id];
        const SoilColourChecks checks =
            status[i] == Status::Ok ? soilColourChecks(colourOf(moist, im), colourOf(dry, id))
                                    : SoilColourChecks{};
        mollic[i] = checks.mollicColour ? 1 : 0;
        chernic[i] = checks.chernicColour ? 1 : 0;
    }
}

} // namespace huelinx::batch

#include "palette/munsell_table.h"

#include "colour/colorimetry.h"
#include "colour/hue.h"
#include "colour/mun2xyz.h"
#include "colour/rgbcmyk.h"
#include "text/number_format.h"

namespace huelinx {

namespace {

const char* const dataNote =
    "  Munsell data: the 1943 renotation data of the Optical Society of America";
const char* const gamutLine =
    "If R G B value is 0 or 255 the color is out of the gamut of a CRT and is for approximation "
    "only  Illuminant C 2 degree observer  Taviel  March 29, 2011";
const char* const heads = "Angle\tHue\tValue\tChroma\tX\tY\tZ\tL*\ta*\tb*\tR\tG\tB";

// One row, or nothing when the point lies beyond the data.
void appendRow(std::string& out, float v, float h, float c, const MunTable& table,
               const ColourSettings& s, bool& outOfRange) {
    const CieOfMunsell cie = mun2xyz(h + 0.001f, v, c, table, s);
    const LabOfXyz lab = xyzlab(cie.X, cie.Y, cie.Z, s);
    const float X = lab.raised.X, Y = lab.raised.Y, Z = lab.raised.Z;
    const float L = lab.L, a = lab.a, b = lab.b;
    if (!(cie.X > 0.01f && cie.Y > 0.01f && cie.Z > 0.01f)) return;
    out += printText(h) + "\t" + hconvert(h) + "\t" + printText(v) + "\t" + printText(c);
    for (float n : {X, Y, Z, L, a, b})
        out += "\t" + formatNumber(n, "###.00");
    const RgbOfXyz rgb = xyzrgb(X, Y, Z, s);
    outOfRange = rgb.outOfRange;
    for (int n : {rgb.R, rgb.G, rgb.B})
        out += "\t" + formatNumber(n, "##0");
    out += "\r\n";
}

} // namespace

std::string munsellTableText(const MunTable& table, const ColourSettings& s,
                             const std::string& caption, bool& outOfRange) {
    std::string out = caption + dataNote + "\r\n" + gamutLine + "\r\n" + heads + "\r\n";
    out.reserve(600000);
    for (float v = 1.0f; v <= 9.0f; v += v < 8.0f ? 1.0f : 0.25f)
        for (float h = 0.0f; h <= 99.0f; h += 2.5f)
            for (float c = 0.0f; c <= 30.0f; c += c < 8.0f ? 1.0f : 2.0f)
                appendRow(out, v, h, c, table, s, outOfRange);
    return out;
}

} // namespace huelinx

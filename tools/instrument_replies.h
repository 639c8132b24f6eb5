// What the simulated spectrophotometers say: how their commands are framed on
// the line and the replies each one gives, built from a reflectance curve.
// Shared by huelinx-instrument-sim and its tests. No I/O here.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace huelinx {

// Reflectance in percent at 350 + 10 i nm for i = 1..40 (360..750 nm);
// index 0 is unused and 0.
using Reflectance = std::array<float, 41>;

// The curve every simulated instrument measures, i = 1..40:
// 5 + 80 exp(-((i - 25) / 7)^2) percent, rounded to 2 decimals so that every
// reply format carries it exactly.
float knownReflectance(int i);
Reflectance knownCurve();

enum class Instrument { CE7000, CE7000A, CE2180, XTH, Ci, Spectrolino, SpectroEye };

// CE7000, CE7000A, CE2180, XTH, Ci5, Ci7 (also "Ci5/Ci7"), Spectrolino,
// SpectroEye; nothing for any other name.
std::optional<Instrument> instrumentNamed(std::string_view name);

struct SimMode {
    bool calibrated = true; // false: measurements report status 00 (Ci: ERR>)
    bool garbage = false;   // value fields of measurements come as letters
};

// A number field with each character other than blank and point replaced by
// the letters a, b, c, ... in turn: "  45.67" gives "  ab.cd".
std::string garbled(std::string_view field);

// Measurement replies, complete and exactly as sent.
// CE7000: 422 characters (19 status, a blank, "%7.2f" values 10 apart from
// character 21); uncalibrated, only the 19-character status.
std::string ce7000Measurement(const Reflectance& r, SimMode mode);
// CE2180: the 18-character status, then 290 characters of "%6.2f" values in
// groups of six, 7 apart, with one extra blank after each group.
std::string ce2180Status(bool calibrated);
std::string ce2180Data(const Reflectance& r, bool garbage);
// XTH: 18 characters of status, "%6.2f" values 8 apart from character 19,
// ">" as character 337. Uncalibrated only the status changes.
std::string xthMeasurement(const Reflectance& r, SimMode mode);
// Ci5/Ci7: "%7.3f" values separated by commas, then ">"; "ERR>" uncalibrated.
std::string ciMeasurement(const Reflectance& r, SimMode mode);
// Spectrolino/SpectroEye: ": 185 9 0 ", 380..730 nm as "%6.4f" fractions each
// followed by a blank, CR LF.
std::string spectrolinoSpectrum(const Reflectance& r, bool garbage);

// Length of the first complete command at the start of `pending`, terminator
// included; 0 while it is still incomplete. CE7000 "R" stands alone, its other
// commands and those of XTH and Ci end at CR (or LF); each CE2180 byte is a
// command; a Spectrolino/SpectroEye command ends at LF. Runaway input is
// cut off after 4096 bytes.
std::size_t commandLength(Instrument instrument, std::string_view pending);

struct ReplyPart {
    double pause = 0; // seconds to wait before sending this part
    std::string bytes;
};

// The answer to one command as framed by commandLength (raw bytes: fill bytes
// 255, CR, LF and surrounding blanks do not matter). Empty for commands the
// instrument ignores.
std::vector<ReplyPart> replyTo(Instrument instrument, std::string_view command,
                               const Reflectance& r, SimMode mode);

} // namespace huelinx

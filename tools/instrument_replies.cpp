#include "tools/instrument_replies.h"

#include <cmath>
#include <cstdio>

namespace huelinx {

namespace {

constexpr std::size_t maxCommand = 4096;

// `value` printed with a printf format, garbled on request.
std::string field(const char* format, double value, bool garbage) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return garbage ? garbled(text) : std::string(text);
}

// Writes `text` into `line` from 1-based character `position` on.
void place(std::string& line, std::size_t position, std::string_view text) {
    line.replace(position - 1, text.size(), text);
}

std::string padded(std::string_view text, std::size_t width) {
    std::string line(text);
    line.resize(width, ' ');
    return line;
}

std::string status(bool calibrated, std::size_t width) {
    return padded(calibrated ? "11" : "00", width);
}

// The command as text: fill bytes, CR and LF dropped, blanks trimmed.
std::string commandText(std::string_view raw) {
    std::string text;
    for (const char c : raw)
        if (c != '\xff' && c != '\r' && c != '\n') text += c;
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::vector<ReplyPart> one(std::string bytes) {
    return {ReplyPart{0, std::move(bytes)}};
}

std::vector<ReplyPart> ce7000Reply(const std::string& c, const Reflectance& r, SimMode mode) {
    if (c == "R") return one("CE7000 READY>");
    if (c == "I") return one(padded("11 OPEN PORT OK", 19));
    if (c == "C") return one(padded("11 WHITE OK", 19));
    if (c == "M") return one(ce7000Measurement(r, mode));
    return {};
}

std::vector<ReplyPart> ce2180Reply(const std::string& c, const Reflectance& r, SimMode mode) {
    if (c == "v") return one("CE2180 V1.0\n");
    if (c == "K" || c == "C" || c == "B") return one(padded("11 OK", 18));
    if (c != "M") return {};
    auto parts = one(ce2180Status(mode.calibrated));
    if (mode.calibrated) parts.push_back({0.3, ce2180Data(r, mode.garbage)});
    return parts;
}

std::vector<ReplyPart> xthReply(const std::string& c, const Reflectance& r, SimMode mode) {
    if (c == "R") return one("XTH READY>");
    if (c == "C" || c == "B") return one("OK>");
    if (c == "M 8") return one(xthMeasurement(r, mode));
    return {};
}

std::vector<ReplyPart> ciReply(const std::string& c, const Reflectance& r, SimMode mode) {
    if (c == "R") return one("i1 READY>");
    if (c == "config -mode=sce" || c == "whitecal" || c == "blackcal") return one("OK>");
    if (c == "measure") return one(ciMeasurement(r, mode));
    return {};
}

std::vector<ReplyPart> spectrolinoReply(const std::string& c, const Reflectance& r, SimMode mode) {
    if (c == "; 32") return one(": 32 Spectrolino 1.0\r\n");
    if (c == "; 184 9 0") return one(spectrolinoSpectrum(r, mode.garbage));
    return {};
}

} // namespace

float knownReflectance(int i) {
    const double x = (i - 25) / 7.0;
    const double percent = 5 + 80 * std::exp(-x * x);
    return static_cast<float>(std::round(percent * 100) / 100);
}

Reflectance knownCurve() {
    Reflectance r{};
    for (int i = 1; i <= 40; ++i)
        r[i] = knownReflectance(i);
    return r;
}

std::optional<Instrument> instrumentNamed(std::string_view name) {
    if (name == "CE7000") return Instrument::CE7000;
    if (name == "CE7000A") return Instrument::CE7000A;
    if (name == "CE2180") return Instrument::CE2180;
    if (name == "XTH") return Instrument::XTH;
    if (name == "Ci5" || name == "Ci7" || name == "Ci5/Ci7") return Instrument::Ci;
    if (name == "Spectrolino") return Instrument::Spectrolino;
    if (name == "SpectroEye") return Instrument::SpectroEye;
    return std::nullopt;
}

std::string garbled(std::string_view field) {
    std::string text(field);
    char letter = 'a';
    for (char& c : text)
        if (c != ' ' && c != '.') c = letter++;
    return text;
}

std::string ce7000Measurement(const Reflectance& r, SimMode mode) {
    if (!mode.calibrated) return status(false, 19);
    std::string line(422, ' ');
    place(line, 1, "11");
    for (int i = 1; i <= 40; ++i)
        place(line, 10 * i + 11, field("%7.2f", r[i], mode.garbage));
    return line;
}

std::string ce2180Status(bool calibrated) {
    return status(calibrated, 18);
}

std::string ce2180Data(const Reflectance& r, bool garbage) {
    std::string block(290, ' ');
    for (int i = 1; i <= 40; ++i)
        place(block, 7 * i + (i - 1) / 6 - 6, field("%6.2f", r[i], garbage));
    return block;
}

std::string xthMeasurement(const Reflectance& r, SimMode mode) {
    std::string line(337, ' ');
    place(line, 1, mode.calibrated ? "11" : "00");
    for (int i = 1; i <= 40; ++i)
        place(line, 8 * i + 11, field("%6.2f", r[i], mode.garbage));
    line.back() = '>';
    return line;
}

std::string ciMeasurement(const Reflectance& r, SimMode mode) {
    if (!mode.calibrated) return "ERR>";
    std::string line;
    for (int i = 1; i <= 40; ++i) {
        if (i > 1) line += ',';
        line += field("%7.3f", r[i], mode.garbage);
    }
    return line + '>';
}

std::string spectrolinoSpectrum(const Reflectance& r, bool garbage) {
    std::string line = ": 185 9 0 ";
    for (int i = 1; i <= 36; ++i)
        line += field("%6.4f", r[i + 2] / 100.0, garbage) + ' ';
    return line + "\r\n";
}

std::size_t commandLength(Instrument instrument, std::string_view pending) {
    if (pending.empty()) return 0;
    std::size_t end = std::string_view::npos;
    switch (instrument) {
    case Instrument::CE2180:
        return 1;
    case Instrument::Spectrolino:
    case Instrument::SpectroEye:
        end = pending.find('\n');
        break;
    case Instrument::CE7000:
    case Instrument::CE7000A:
        if (pending.front() == 'R') return 1;
        [[fallthrough]];
    case Instrument::XTH:
    case Instrument::Ci:
        end = pending.find_first_of("\r\n");
        break;
    }
    if (end != std::string_view::npos) return end + 1;
    return pending.size() >= maxCommand ? pending.size() : 0;
}

std::vector<ReplyPart> replyTo(Instrument instrument, std::string_view command,
                               const Reflectance& r, SimMode mode) {
    const std::string c = commandText(command);
    switch (instrument) {
    case Instrument::CE7000:
    case Instrument::CE7000A:
        return ce7000Reply(c, r, mode);
    case Instrument::CE2180:
        return ce2180Reply(c, r, mode);
    case Instrument::XTH:
        return xthReply(c, r, mode);
    case Instrument::Ci:
        return ciReply(c, r, mode);
    case Instrument::Spectrolino:
    case Instrument::SpectroEye:
        return spectrolinoReply(c, r, mode);
    }
    return {};
}

} // namespace huelinx

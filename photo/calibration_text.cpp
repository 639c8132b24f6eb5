// The calibration as a small text file kept beside its picture:
//
//   huelinx chart calibration 1
//   fit=3x3                      (or rootpoly2)
//   encoding=srgb                (or linear)
//   corners=X1,Y1,X2,Y2,X3,Y3,X4,Y4   top left, top right, bottom right, bottom left
//   term=WX,WY,WZ                one line a term of the fit: 3 or 6 lines
//   residual=D1,...,D24          CIEDE2000 of each patch in the fit
//   left_out=D1,...,D24          the same with the patch left out of its fit
//   expected=MEDIAN,MAX          of the left-out differences
//   warning=TEXT                 none or more, one a line
//
// Lines in this order, numbers in shortest round-trip form with a point.
#include "photo/calibration.h"

#include "text/list_input.h"
#include "text/number_read.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace huelinx::photo {

namespace {

constexpr std::string_view firstLine = "huelinx chart calibration 1";

std::string number(double v) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    return std::string(buffer, end);
}

std::string numbers(const double* v, std::size_t n) {
    std::string text;
    for (std::size_t i = 0; i < n; ++i)
        text += (i ? "," : "") + number(v[i]);
    return text;
}

// A warning on one line: control characters become spaces.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
    return text;
}

class LineReader {
  public:
    LineReader(std::string_view text, const std::string& name) : reader_(text), name_(name) {}

    std::string fault(const std::string& what) const {
        return name_ + ", line " + std::to_string(line_) + ": " + what;
    }
    // At the end of the text: the line after the last.
    std::string faultAtEnd(const std::string& what) const {
        return name_ + ", line " + std::to_string(reader_.lineNumber()) + ": " + what;
    }
    bool atEnd() const { return reader_.atEnd(); }
    std::string next() {
        line_ = reader_.lineNumber();
        return reader_.line().value_or("");
    }

  private:
    ListReader reader_;
    std::string name_;
    std::size_t line_ = 1;
};

// The value of `key=value`, or the fault.
std::optional<std::string> valueOf(LineReader& in, std::string_view key, std::string& fault) {
    if (in.atEnd()) {
        fault = in.faultAtEnd("the file ends before its \"" + std::string(key) + "=\" line.");
        return std::nullopt;
    }
    const std::string line = in.next();
    if (line.size() < key.size() + 1 || line.compare(0, key.size(), key) != 0 ||
        line[key.size()] != '=') {
        fault = in.fault("expected \"" + std::string(key) + "=\".");
        return std::nullopt;
    }
    return line.substr(key.size() + 1);
}

// `count` comma-separated finite numbers (at least `lowest` each).
bool readNumbers(LineReader& in, std::string_view key, double* out, std::size_t count,
                 double lowest, std::string& fault) {
    const auto value = valueOf(in, key, fault);
    if (!value) return false;
    std::string_view rest = *value;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t comma = rest.find(',');
        const bool last = i + 1 == count;
        if (last != (comma == std::string_view::npos)) {
            fault = in.fault(std::string(key) + " needs " + std::to_string(count) + " numbers.");
            return false;
        }
        const auto v = strictNumber(rest.substr(0, comma));
        if (!v || *v < lowest) {
            fault = in.fault(std::string(key) + ": number " + std::to_string(i + 1) +
                             (v ? " is below " + number(lowest) + "." : " is not a number."));
            return false;
        }
        out[i] = *v;
        if (!last) rest.remove_prefix(comma + 1);
    }
    return true;
}

bool readKind(LineReader& in, Calibration& c, std::string& fault) {
    const auto fit = valueOf(in, "fit", fault);
    if (!fit) return false;
    const auto kind = fitNamed(*fit);
    if (!kind) {
        fault = in.fault("the fit should be 3x3 or rootpoly2.");
        return false;
    }
    c.kind = *kind;
    const auto encoding = valueOf(in, "encoding", fault);
    if (!encoding) return false;
    if (*encoding != "srgb" && *encoding != "linear") {
        fault = in.fault("the encoding should be srgb or linear.");
        return false;
    }
    c.encoding = *encoding == "linear" ? Encoding::Linear : Encoding::Srgb;
    return true;
}

bool readBody(LineReader& in, Calibration& c, std::string& fault) {
    constexpr double any = -std::numeric_limits<double>::max();
    if (!readKind(in, c, fault)) return false;
    double corners[8];
    if (!readNumbers(in, "corners", corners, 8, any, fault)) return false;
    c.corners = {{corners[0], corners[1]},
                 {corners[2], corners[3]},
                 {corners[4], corners[5]},
                 {corners[6], corners[7]}};
    c.terms.assign(c.kind == FitKind::Matrix3x3 ? 3 : 6, {});
    for (auto& term : c.terms)
        if (!readNumbers(in, "term", term.data(), 3, any, fault)) return false;
    double expected[2];
    if (!readNumbers(in, "residual", c.residual.data(), chartPatches, 0, fault) ||
        !readNumbers(in, "left_out", c.leftOut.data(), chartPatches, 0, fault) ||
        !readNumbers(in, "expected", expected, 2, 0, fault))
        return false;
    c.expectedMedian = expected[0];
    c.expectedMax = expected[1];
    while (!in.atEnd()) {
        const auto warning = valueOf(in, "warning", fault);
        if (!warning) return false;
        c.warnings.push_back(*warning);
    }
    return true;
}

} // namespace

std::string calibrationText(const Calibration& c) {
    const ChartCorners& k = c.corners;
    const double corners[8] = {k.topLeft.x,     k.topLeft.y,     k.topRight.x,   k.topRight.y,
                               k.bottomRight.x, k.bottomRight.y, k.bottomLeft.x, k.bottomLeft.y};
    const double expected[2] = {c.expectedMedian, c.expectedMax};
    std::string text = std::string(firstLine) + "\n";
    text += std::string("fit=") + fitName(c.kind) + "\n";
    text += std::string("encoding=") + (c.encoding == Encoding::Linear ? "linear" : "srgb") + "\n";
    text += "corners=" + numbers(corners, 8) + "\n";
    for (const auto& term : c.terms)
        text += "term=" + numbers(term.data(), 3) + "\n";
    text += "residual=" + numbers(c.residual.data(), chartPatches) + "\n";
    text += "left_out=" + numbers(c.leftOut.data(), chartPatches) + "\n";
    text += "expected=" + numbers(expected, 2) + "\n";
    for (const std::string& w : c.warnings)
        text += "warning=" + oneLine(w) + "\n";
    return text;
}

Loaded<Calibration> readCalibrationText(std::string_view text, const std::string& name) {
    Loaded<Calibration> out;
    LineReader in(text, name);
    if (in.atEnd() || in.next() != firstLine) {
        out.message = in.fault("this is no chart calibration (the first line should be \"" +
                               std::string(firstLine) + "\").");
        return out;
    }
    Calibration c;
    if (!readBody(in, c, out.message)) return out;
    out.value = std::move(c);
    return out;
}

} // namespace huelinx::photo

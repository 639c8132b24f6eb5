#include "tools/converter_photo.h"

#include "text/excerpt.h"
#include "text/number_format.h"
#include "text/number_read.h"
#include "text/safe_text.h"
#include "tools/converter_files.h"
#include "tools/converter_input.h"

#include <cmath>
#include <cstdint>
#include <istream>
#include <limits>
#include <ostream>
#include <vector>

namespace huelinx {

namespace {

using Strings = std::vector<std::string>;

// The numbers of a comma-separated option value; none unless there are
// exactly `count`, all finite.
std::optional<std::vector<double>> numbersIn(const std::string& text, std::size_t count) {
    std::vector<double> numbers;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const auto number = strictNumber(trimmed(std::string_view(text).substr(
            start, comma == std::string::npos ? std::string::npos : comma - start)));
        if (!number || !std::isfinite(*number)) return std::nullopt;
        numbers.push_back(*number);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (numbers.size() != count) return std::nullopt;
    return numbers;
}

// A pixel position or size of a region line; why not, in `why`.
std::optional<int> pixels(const std::string& field, const char* what, std::string& why) {
    const auto number = strictNumber(trimmed(field));
    if (!number || *number != std::floor(*number) || std::abs(*number) > 1e9) {
        why = std::string(what) + " should be a whole number of pixels: \"" + excerpt(field) + "\"";
        return std::nullopt;
    }
    return static_cast<int>(*number);
}

// The region of a line's fields; why not, in `why`.
std::optional<photo::Region> regionOf(const Strings& fields, std::string& why) {
    if (fields.size() != 5) {
        why = "a region needs name,x,y,width,height: found " + std::to_string(fields.size()) +
              " field" + (fields.size() == 1 ? "" : "s");
        return std::nullopt;
    }
    static const char* const names[4] = {"x", "y", "width", "height"};
    int v[4];
    for (int i = 0; i < 4; ++i) {
        const auto n = pixels(fields[static_cast<std::size_t>(i) + 1], names[i], why);
        if (!n) return std::nullopt;
        v[i] = *n;
    }
    return photo::Region{v[0], v[1], v[2], v[3]};
}

std::string joined(const Strings& notes) {
    std::string text;
    for (const std::string& note : notes)
        text += (text.empty() ? "" : "; ") + note;
    return text;
}

// The columns after the colour's: the fit's expected CIEDE2000 and the notes.
std::string tail(const photo::Calibration& fit, const Strings& notes) {
    std::string line = "," + formatNumber(fit.expectedMedian, "##0.00") + "," +
                       formatNumber(fit.expectedMax, "##0.00") + ",";
    appendCsvField(line, joined(notes));
    return line;
}

// The row of one line: the region read and entered as a measurement, or the
// name, empty fields and why not (in `why`).
std::string rowOf(const Strings& fields, const photo::PhotoRegions& photo, const ColourModel& start,
                  const MunTable& table, const CsvExtras& extras, std::string& why) {
    std::string line;
    appendCsvField(line, fields.empty() ? std::string() : std::string(trimmed(fields[0])));
    line += ',';
    why.clear();
    std::optional<photo::Region> region = regionOf(fields, why);
    if (region) {
        const auto reading = photo.read(*region);
        if (reading.value) {
            const ColourModel colour = enterXyzValues(start, reading.value->xyz, table);
            return line + colourCsv(colour) + extras.of(colour) +
                   tail(photo.calibration(), reading.value->notes);
        }
        why = reading.message;
    }
    line += std::string(boxCount, ',');
    appendCsvField(line, why);
    return line + extras.empty() + ",,,";
}

// The picture calibrated on its chart; the message when it can't be.
std::optional<photo::PhotoRegions> calibrated(const photo::Picture& picture,
                                              const photo::PhotoSetup& setup,
                                              const std::string& chartCsv, std::ostream& err) {
    const auto chart = photo::chartReference(chartCsv);
    if (!chart.value) {
        err << "huelinx-convert: " << oneLineText(chart.message) << "\n";
        return std::nullopt;
    }
    auto photo = photo::PhotoRegions::calibrate(picture, setup, *chart.value);
    if (!photo.value) {
        err << "huelinx-convert: " << oneLineText(photo.message) << "\n";
        return std::nullopt;
    }
    const photo::Calibration& fit = photo.value->calibration();
    err << "huelinx-convert: note: chart fitted (" << photo::fitName(fit.kind)
        << "), expected CIEDE2000 median " << formatNumber(fit.expectedMedian, "##0.00") << ", max "
        << formatNumber(fit.expectedMax, "##0.00") << "\n";
    for (const std::string& warning : fit.warnings)
        err << "huelinx-convert: warning: " << warning << "\n";
    return std::move(photo.value);
}

} // namespace

std::optional<photo::ChartCorners> chartCornersText(const std::string& text) {
    const auto v = numbersIn(text, 8);
    if (!v) return std::nullopt;
    const auto& n = *v;
    return photo::ChartCorners{{n[0], n[1]}, {n[2], n[3]}, {n[4], n[5]}, {n[6], n[7]}};
}

std::optional<photo::GreyCardAt> greyCardText(const std::string& text) {
    const auto v = numbersIn(text, 4);
    if (!v || (*v)[2] < 0 || !((*v)[3] > 0) || (*v)[3] > 100) return std::nullopt;
    return photo::GreyCardAt{{(*v)[0], (*v)[1]}, (*v)[2], (*v)[3]};
}

std::string photoHeader(const CsvExtras& extras) {
    return std::string("region,") + colourCsvHeader + extras.header() +
           ",expected_dE00_median,expected_dE00_max,notes";
}

int convertPhoto(const std::string& picturePath, const photo::PhotoSetup& setup,
                 const std::string& chartCsv, const ColourModel& start, const MunTable& table,
                 const CsvExtras& extras, std::istream& in, std::ostream& out, std::ostream& err) {
    const auto picture = photo::readPicture(picturePath);
    if (!picture.value) {
        err << "huelinx-convert: " << oneLineText(picture.message) << "\n";
        return 1;
    }
    const auto photo = calibrated(*picture.value, setup, chartCsv, err);
    if (!photo) return 1;
    out << photoHeader(extras) << "\n";
    int status = 0;
    LineSource source(in);
    std::string text, scratch, why;
    Strings fields;
    for (std::uint64_t number = 1;; ++number) {
        if (!flushBeforeWaiting(source, out, err))
            return outputFailure(err, "before line " + std::to_string(number));
        if (!source.next(text)) break;
        const std::string_view line = trimmed(text);
        if (line.empty()) {
            out << std::string(boxCount + 1, ',') << extras.empty() << ",,,\n";
        } else {
            splitFields(line, scratch, fields);
            out << rowOf(fields, *photo, start, table, extras, why) << "\n";
            if (!why.empty()) {
                err << "line " << number << ": " << oneLineText(why) << "\n";
                status = 1;
            }
        }
        if (!out) return outputFailure(err, "at line " + std::to_string(number));
    }
    out.flush();
    return out ? status : outputFailure(err, "at the end");
}

} // namespace huelinx

#include "exchange/cgats_import.h"

#include "colour/colorimetry.h"
#include "colour/illuminant.h"
#include "colour/tristimulus.h"
#include "exchange/cgats_samples.h"
#include "palette/palette_file.h"
#include "text/number_format.h"
#include "text/safe_text.h"

#include <filesystem>
#include <optional>

namespace huelinx {

namespace {

// X, Y, Z relative to `illuminant` adapted to illuminant C (Bradford, as the
// program adapts between its illuminants).
Tristimulus toC(const Tristimulus& xyz, Illuminant illuminant) {
    if (illuminant == Illuminant::C) return xyz;
    ColourSettings from;
    from.illuminant = illuminant;
    const auto adapted = xyzconvert(Adaptation::ToC, xyz.X, xyz.Y, xyz.Z, from);
    return adapted ? singleXyz(*adapted) : xyz;
}

// X, Y, Z under illuminant C of one sample; no value for an L* below 0.
std::optional<Tristimulus> sampleXyz(const CgatsSample& sample, CgatsData data,
                                     Illuminant illuminant) {
    switch (data) {
    case CgatsData::Xyz:
        return toC(sample.xyz, illuminant);
    case CgatsData::Spectral:
        return tris(sample.reflectance);
    case CgatsData::Lab:
        break;
    }
    const auto xyz = labxyz(sample.lab.L, sample.lab.a, sample.lab.b, whiteOf(illuminant));
    if (!xyz) return std::nullopt;
    return toC(*xyz, illuminant);
}

std::string reportLine(const std::string& id, const std::string& name, const ColourModel& colour,
                       const CsvExtras& extras) {
    std::string line;
    appendCsvField(line, id);
    line += ',';
    appendCsvField(line, name);
    line += ',';
    return line + colourCsv(colour) + extras.of(colour) + "\r\n";
}

} // namespace

CgatsImport importCgats(std::string_view text, const std::string& fileName,
                        const ColourModel& start, const MunTable& table, const CsvExtras& extras,
                        const std::string& date, const std::string& time) {
    CgatsImport result;
    const CgatsSamples read = readCgatsSamples(text, fileName);
    if (!read.ok) {
        result.message = read.message;
        return result;
    }
    // The Munsell data are relative to illuminant C: every sample is taken there.
    ColourModel colour = selectIlluminant(start, Illuminant::C, table);
    std::string palette,
        report = std::string("sample_id,sample_name,") + colourCsvHeader + extras.header() + "\r\n";
    palette.reserve(read.samples.size() * 160);
    report.reserve(read.samples.size() * 200);
    for (const CgatsSample& sample : read.samples) {
        const auto xyz = sampleXyz(sample, read.data, read.illuminant);
        if (!xyz) {
            result.message = fileName + ", line " + std::to_string(sample.line) +
                             ": expected an L* of 0 or more, found " + plainText(sample.lab.L) +
                             ".";
            return result;
        }
        colour.forgetChange();
        colour = enterXyzValues(std::move(colour), *xyz, table);
        PaletteRecord record = paletteRecord(colour);
        record.date = date;
        record.time = time;
        // Names from the file reach palettes, spreadsheets and the terminal:
        // no control character (escape sequences, line ends) goes with them.
        const std::string id = oneLineText(sample.id), name = oneLineText(sample.name);
        record.tag = name.empty() ? id : name;
        if (colour.outcome.has(Outcome::NoNotation))
            ++result.withoutNotation;
        else
            palette += paletteLine(record);
        report += reportLine(id, name, colour, extras);
    }
    colour.forgetChange();
    result.ok = true;
    result.samples = read.samples.size();
    result.note = read.note;
    if (read.data != CgatsData::Spectral && read.illuminant != Illuminant::C)
        result.note +=
            "; adapted from " + std::string(illuminantName(read.illuminant)) + " to illuminant C";
    if (result.withoutNotation > 0)
        result.note += "; " + std::to_string(result.withoutNotation) +
                       " sample(s) without a Munsell notation are in the report only";
    if (read.data == CgatsData::Spectral)
        for (const CgatsSample& sample : read.samples)
            result.readings.push_back(sample.reflectance);
    result.paletteText = std::move(palette);
    result.reportText = std::move(report);
    result.last = std::move(colour);
    return result;
}

namespace {

std::string fullPathLowerCase(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path full = fs::weakly_canonical(fs::absolute(path, ec), ec);
    std::string text = ec ? fs::path(path).lexically_normal().string() : full.string();
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

} // namespace

bool maySameFile(const std::string& a, const std::string& b) {
    return fullPathLowerCase(a) == fullPathLowerCase(b);
}

std::string cgatsReportName(const std::string& cgatsPath, const std::vector<std::string>& keep) {
    const std::string stem = std::filesystem::path(cgatsPath).stem().string() + "-report";
    std::string name = stem + ".csv";
    const auto kept = [&keep](const std::string& candidate) {
        for (const std::string& file : keep)
            if (!file.empty() && maySameFile(candidate, file)) return true;
        return false;
    };
    for (int n = 2; kept(name); ++n)
        name = stem + "-" + std::to_string(n) + ".csv";
    return name;
}

} // namespace huelinx

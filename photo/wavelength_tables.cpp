#include "photo/wavelength_tables.h"

#include "colour/tristimulus.h"
#include "files/file_read.h"
#include "text/list_input.h"
#include "text/number_read.h"

#include <algorithm>
#include <functional>

namespace huelinx::photo {

namespace {

// One line of a table, split at its commas, with its line number.
struct TableLine {
    std::size_t number = 0;
    std::vector<std::string_view> fields;
};

// The lines of a table, blank lines left out. The views point into `keep`,
// which holds the lines' text.
std::vector<TableLine> tableLines(std::string_view text, std::vector<std::string>& keep) {
    ListReader reader(text);
    std::vector<std::size_t> numbers;
    while (!reader.atEnd()) {
        const std::size_t number = reader.lineNumber();
        std::string line = *reader.line();
        if (trimmed(line).empty()) continue;
        numbers.push_back(number);
        keep.push_back(std::move(line));
    }
    std::vector<TableLine> lines;
    for (std::size_t k = 0; k < keep.size(); ++k) {
        TableLine split{numbers[k], {}};
        std::string_view rest = keep[k];
        for (;;) {
            const std::size_t comma = rest.find(',');
            split.fields.push_back(trimmed(rest.substr(0, comma)));
            if (comma == std::string_view::npos) break;
            rest.remove_prefix(comma + 1);
        }
        lines.push_back(std::move(split));
    }
    return lines;
}

std::string at(const std::string& name, std::size_t line, const std::string& what) {
    return name + ", line " + std::to_string(line) + ": " + what;
}

std::string quoted(std::string_view text) {
    constexpr std::size_t shown = 40;
    std::string out(text.substr(0, shown));
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    return "\"" + out + (text.size() > shown ? "...\"" : "\"");
}

// A value of a table: a number, not negative.
std::optional<double> tableValue(std::string_view field) {
    const auto number = strictNumber(field);
    if (!number || *number < 0) return std::nullopt;
    return number;
}

std::string valueFault(std::string_view field) {
    return "the value " + quoted(field) + " is not a number of 0 or more.";
}

// Checks that `fields` from `first` on are the wavelengths 380..780 in 5 nm.
std::optional<std::string> wavelengthHeaderFault(const std::vector<std::string_view>& fields,
                                                 std::size_t first) {
    if (fields.size() != first + spectralCount)
        return "expected " + std::to_string(first + spectralCount) + " columns (" +
               std::to_string(spectralCount) + " wavelengths, 380 to 780 nm), found " +
               std::to_string(fields.size()) + ".";
    for (int i = 0; i < spectralCount; ++i) {
        const int nm = spectralFirstNm + spectralStepNm * i;
        const auto number = strictNumber(fields[first + i]);
        if (!number || *number != nm)
            return "column " + std::to_string(first + i + 1) + " should be the wavelength " +
                   std::to_string(nm) + ", not " + quoted(fields[first + i]) + ".";
    }
    return std::nullopt;
}

template <typename T> Loaded<T> fault(std::string message) {
    Loaded<T> out;
    out.message = std::move(message);
    return out;
}

template <typename T>
Loaded<T> fromFile(const std::string& path,
                   const std::function<Loaded<T>(std::string_view, const std::string&)>& read) {
    const FileText file = readWholeFile(path, userFileLimit);
    if (file.status != FileRead::Ok)
        return fault<T>(path + " " + readFailure(file.status, userFileLimit) + ".");
    return read(file.text, path);
}

} // namespace

Loaded<std::vector<NamedSpectrum>> readRowSpectra(std::string_view text, const std::string& name) {
    using Out = std::vector<NamedSpectrum>;
    std::vector<std::string> keep;
    const std::vector<TableLine> lines = tableLines(text, keep);
    if (lines.empty()) return fault<Out>(name + ": the file holds no spectra.");
    if (auto f = wavelengthHeaderFault(lines[0].fields, 2))
        return fault<Out>(at(name, lines[0].number, *f));
    Out spectra;
    for (std::size_t n = 1; n < lines.size(); ++n) {
        const TableLine& line = lines[n];
        if (line.fields.size() != 2 + spectralCount)
            return fault<Out>(at(name, line.number,
                                 "expected " + std::to_string(2 + spectralCount) +
                                     " fields, found " + std::to_string(line.fields.size()) + "."));
        const auto id = strictNumber(line.fields[0]);
        if (!id || *id != static_cast<double>(n))
            return fault<Out>(at(name, line.number,
                                 "the spectrum should be number " + std::to_string(n) + ", not " +
                                     quoted(line.fields[0]) + "."));
        NamedSpectrum s{std::string(line.fields[1]), {}};
        for (int i = 0; i < spectralCount; ++i) {
            const auto v = tableValue(line.fields[2 + i]);
            if (!v) return fault<Out>(at(name, line.number, valueFault(line.fields[2 + i])));
            s.values[i] = *v;
        }
        spectra.push_back(std::move(s));
    }
    if (spectra.empty()) return fault<Out>(name + ": the file holds no spectra.");
    return {std::move(spectra), {}};
}

Loaded<std::vector<NamedSpectrum>> readColumnSpectra(std::string_view text,
                                                     const std::string& name) {
    using Out = std::vector<NamedSpectrum>;
    std::vector<std::string> keep;
    const std::vector<TableLine> lines = tableLines(text, keep);
    if (lines.empty()) return fault<Out>(name + ": the file holds no spectra.");
    const auto& header = lines[0].fields;
    if (header.size() < 2 || header[0] != "wavelength_nm")
        return fault<Out>(
            at(name, lines[0].number, "the header should be wavelength_nm and a name a column."));
    Out spectra;
    for (std::size_t c = 1; c < header.size(); ++c)
        spectra.push_back({std::string(header[c]), {}});
    if (lines.size() != 1 + spectralCount)
        return fault<Out>(name + ": expected " + std::to_string(spectralCount) +
                          " wavelengths (380 to 780 nm), found " +
                          std::to_string(lines.size() - 1) + ".");
    for (int i = 0; i < spectralCount; ++i) {
        const TableLine& line = lines[1 + i];
        const int nm = spectralFirstNm + spectralStepNm * i;
        if (line.fields.size() != header.size())
            return fault<Out>(at(name, line.number,
                                 "expected " + std::to_string(header.size()) + " fields, found " +
                                     std::to_string(line.fields.size()) + "."));
        const auto wavelength = strictNumber(line.fields[0]);
        if (!wavelength || *wavelength != nm)
            return fault<Out>(at(name, line.number,
                                 "the wavelength should be " + std::to_string(nm) + ", not " +
                                     quoted(line.fields[0]) + "."));
        for (std::size_t c = 1; c < header.size(); ++c) {
            const auto v = tableValue(line.fields[c]);
            if (!v) return fault<Out>(at(name, line.number, valueFault(line.fields[c])));
            spectra[c - 1].values[i] = *v;
        }
    }
    return {std::move(spectra), {}};
}

Loaded<std::vector<CameraSensitivity>> readCameraSpectra(std::string_view text,
                                                         const std::string& name) {
    using Out = std::vector<CameraSensitivity>;
    std::vector<std::string> keep;
    const std::vector<TableLine> lines = tableLines(text, keep);
    const std::vector<std::string_view> expected{"camera", "wavelength_nm", "r", "g", "b"};
    if (lines.empty() || lines[0].fields != expected)
        return fault<Out>(lines.empty() ? name + ": the file holds no cameras."
                                        : at(name, lines[0].number,
                                             "the header should be camera,wavelength_nm,r,g,b."));
    Out cameras;
    for (std::size_t n = 1; n < lines.size(); ++n) {
        const TableLine& line = lines[n];
        const int i = static_cast<int>((n - 1) % spectralCount);
        const int nm = spectralFirstNm + spectralStepNm * i;
        if (line.fields.size() != 5)
            return fault<Out>(
                at(name, line.number,
                   "expected 5 fields, found " + std::to_string(line.fields.size()) + "."));
        if (i == 0)
            cameras.push_back({std::string(line.fields[0]), {}, {}, {}});
        else if (line.fields[0] != cameras.back().name)
            return fault<Out>(at(name, line.number,
                                 "camera " + quoted(cameras.back().name) + " ends at " +
                                     std::to_string(nm - spectralStepNm) +
                                     " nm; each camera needs 380 to 780 nm."));
        const auto wavelength = strictNumber(line.fields[1]);
        if (!wavelength || *wavelength != nm)
            return fault<Out>(at(name, line.number,
                                 "the wavelength should be " + std::to_string(nm) + ", not " +
                                     quoted(line.fields[1]) + "."));
        CameraSensitivity& camera = cameras.back();
        double* channel[3] = {&camera.r[i], &camera.g[i], &camera.b[i]};
        for (int c = 0; c < 3; ++c) {
            const auto v = tableValue(line.fields[2 + c]);
            if (!v) return fault<Out>(at(name, line.number, valueFault(line.fields[2 + c])));
            *channel[c] = *v;
        }
    }
    if (cameras.empty()) return fault<Out>(name + ": the file holds no cameras.");
    if ((lines.size() - 1) % spectralCount != 0)
        return fault<Out>(at(name, lines.back().number,
                             "camera " + quoted(cameras.back().name) +
                                 " ends before 780 nm; each camera needs 380 to 780 nm."));
    return {std::move(cameras), {}};
}

Loaded<std::vector<NamedSpectrum>> readRowSpectraFile(const std::string& path) {
    return fromFile<std::vector<NamedSpectrum>>(path, readRowSpectra);
}

Loaded<std::vector<NamedSpectrum>> readColumnSpectraFile(const std::string& path) {
    return fromFile<std::vector<NamedSpectrum>>(path, readColumnSpectra);
}

Loaded<std::vector<CameraSensitivity>> readCameraSpectraFile(const std::string& path) {
    return fromFile<std::vector<CameraSensitivity>>(path, readCameraSpectra);
}

const NamedSpectrum* findSpectrum(const std::vector<NamedSpectrum>& spectra,
                                  std::string_view name) {
    for (const NamedSpectrum& s : spectra)
        if (s.name == name) return &s;
    return nullptr;
}

Tristimulus instrumentXyz(const Spectrum& reflectance) {
    Reflectance percent{};
    for (int k = 1; k <= 40; ++k) {
        const int nm = 350 + 10 * k;
        const int at = std::max(0, (nm - spectralFirstNm) / spectralStepNm);
        percent[k] = static_cast<float>(100 * reflectance[at]);
    }
    return tris(percent);
}

} // namespace huelinx::photo

// A region of the picture read as a measurement through the chart's fit.
#include "photo/calibration.h"

#include <cmath>

namespace huelinx::photo {

namespace {

// The decoding tables, made once each: a region is read on every click.
const Linearizer& linearizerFor(Encoding encoding) {
    static const Linearizer srgb(Encoding::Srgb);
    static const Linearizer linear(Encoding::Linear);
    return encoding == Encoding::Linear ? linear : srgb;
}

} // namespace

Loaded<RegionReading> readRegion(const Picture& picture, const Calibration& calibration,
                                 const Region& region,
                                 const std::optional<NeutralReference>& reference) {
    Loaded<RegionReading> out;
    const Linearizer& linear = linearizerFor(calibration.encoding);
    const auto median = medianOf(picture, linear, region);
    if (!median) {
        out.message = "The region lies outside the picture.";
        return out;
    }
    RegionReading reading;
    reading.xyz = calibration.apply(*median);
    reading.clipped = anyClipped(picture, region);
    if (reading.clipped)
        reading.notes.push_back("the region is clipped: some of its pixels are at the end of "
                                "their range, so it reads darker or lighter than it is");
    if (reference) {
        const auto grey = medianOf(picture, linear, reference->region);
        if (!grey) {
            out.message = "The neutral reference lies outside the picture.";
            return out;
        }
        if (!(reference->y > 0) || !std::isfinite(reference->y)) {
            out.message = "The neutral reference's Y should be a number above 0 (18 for a "
                          "common grey card).";
            return out;
        }
        const double y = calibration.apply(*grey).Y;
        if (!(y > 0)) {
            out.message = "The neutral reference reads no light, so it can't scale the sample.";
            return out;
        }
        reading.exposureScale = reference->y / y;
        reading.lightingChecked = true;
        const auto scaled = [&](float v) { return static_cast<float>(v * reading.exposureScale); };
        reading.xyz = {scaled(reading.xyz.X), scaled(reading.xyz.Y), scaled(reading.xyz.Z)};
        if (anyClipped(picture, reference->region))
            reading.notes.push_back("the neutral reference is clipped, so the sample's exposure "
                                    "is not to be trusted");
    } else {
        reading.notes.push_back("lighting of the sample not checked");
    }
    for (const std::string& warning : calibration.warnings)
        reading.notes.push_back(warning);
    out.value = std::move(reading);
    return out;
}

} // namespace huelinx::photo

// Regions of a photograph read through the chart in the same frame.
#include "photo/photo_regions.h"

#include <cmath>
#include <cstdint>

namespace huelinx::photo {

bool whollyInside(const Picture& picture, const Region& region) {
    // 64-bit sums: a region of huge numbers can't wrap round into the picture.
    const std::int64_t right = std::int64_t{region.x} + region.width;
    const std::int64_t bottom = std::int64_t{region.y} + region.height;
    return region.width > 0 && region.height > 0 && region.x >= 0 && region.y >= 0 &&
           right <= picture.width && bottom <= picture.height;
}

Loaded<PhotoRegions> PhotoRegions::calibrate(const Picture& picture, const PhotoSetup& setup,
                                             const std::array<Tristimulus, chartPatches>& chart) {
    Loaded<PhotoRegions> out;
    std::optional<NeutralReference> reference;
    if (setup.reference) {
        const GreyCardAt& card = *setup.reference;
        if (!(card.y > 0 && card.y <= 100) || !(card.radius >= 0) || !std::isfinite(card.radius)) {
            out.message = "The neutral reference needs a radius of 0 or more and a Y above 0 "
                          "and at most 100.";
            return out;
        }
        reference = NeutralReference{squareAround(card.centre, card.radius), card.y};
        if (!whollyInside(picture, reference->region)) {
            out.message = "The neutral reference lies outside the picture.";
            return out;
        }
    }
    const auto reading = readChart(picture, setup.encoding, setup.corners);
    if (!reading.value) {
        out.message = reading.message;
        return out;
    }
    auto fitted = fitChart(*reading.value, chart, setup.fit);
    if (!fitted.value) {
        out.message = fitted.message;
        return out;
    }
    out.value = PhotoRegions(picture, std::move(*fitted.value), std::move(reference));
    return out;
}

Loaded<RegionReading> PhotoRegions::read(const Region& region) const {
    if (!whollyInside(*picture_, region)) {
        Loaded<RegionReading> out;
        out.message = region.width > 0 && region.height > 0
                          ? "The region does not lie wholly in the picture (" +
                                std::to_string(picture_->width) + " x " +
                                std::to_string(picture_->height) + " pixels)."
                          : "The region's width and height should be 1 or more.";
        return out;
    }
    return readRegion(*picture_, calibration_, region, reference_);
}

} // namespace huelinx::photo

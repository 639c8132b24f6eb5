// The picture reader on any bytes: a picture that reads has a size within
// the limit and three samples a pixel (8-bit ones multiples of 257); one that
// doesn't gives one line naming it. Never a crash, a leak or a hang, whatever
// libpng, libjpeg or libtiff make of the bytes.
#include "photo/picture.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A small limit keeps each run's memory small; sizes above it take the
    // same refusal as a huge picture.
    constexpr std::uint64_t limit = 1 << 20;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const huelinx::Loaded<huelinx::photo::Picture> read =
        huelinx::photo::readPictureBytes(bytes, "fuzz.png", limit);
    if (!read.value) {
        const std::string& message = read.message;
        if (message.rfind("\"fuzz.png\" ", 0) != 0 || message.size() > 400 ||
            message.find('\n') != std::string::npos)
            __builtin_trap();
        return 0;
    }
    const huelinx::photo::Picture& picture = *read.value;
    if (picture.width <= 0 || picture.height <= 0 || picture.pixelCount() > limit ||
        picture.samples.size() != 3 * picture.pixelCount() ||
        (picture.bits != 8 && picture.bits != 16) || !read.message.empty())
        __builtin_trap();
    if (picture.bits == 8)
        for (std::uint16_t sample : picture.samples)
            if (sample % 257 != 0) __builtin_trap();
    return 0;
}

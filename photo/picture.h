// Pictures read for measuring: 8- and 16-bit PNG, JPEG and 16-bit TIFF,
// decoded without Qt into 16-bit samples, and the same formats written (the
// synthetic photographs of the photo benchmark). A header that claims more
// pixels than the limit is refused before anything is allocated.
#pragma once

#include "files/result.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace huelinx::photo {

// How a picture's values relate to light: sRGB-encoded (most JPEG and PNG
// files) or linear (16-bit TIFF from a raw developer).
enum class Encoding { Srgb, Linear };

struct Picture {
    int width = 0, height = 0;
    int bits = 8; // bits a channel in the file: 8 or 16
    // R, G, B of each pixel, row by row from the top left; 0..65535 (8-bit
    // values times 257, so 255 reads 65535).
    std::vector<std::uint16_t> samples;

    std::size_t pixelCount() const {
        return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    }
    const std::uint16_t* at(int x, int y) const {
        return samples.data() + 3 * (static_cast<std::size_t>(y) * width + x);
    }
};

// The most pixels a picture may have: 24 megapixels four times over.
inline constexpr std::uint64_t defaultPixelLimit = 100'000'000;

// Reads a PNG, JPEG or TIFF file, told apart by its first bytes; grey
// pictures give three equal channels, an alpha channel is dropped. A side of
// 0 or more than 1,000,000 pixels is refused like a size over the limit. The
// message names the file and says what is wrong with it (a damaged file, one
// of a kind not read, a CMYK JPEG, a float TIFF, ...).
[[nodiscard]] Loaded<Picture> readPicture(const std::string& path,
                                          std::uint64_t pixelLimit = defaultPixelLimit);
// The same from bytes in memory; `name` is used in messages.
[[nodiscard]] Loaded<Picture> readPictureBytes(std::string_view bytes, const std::string& name,
                                               std::uint64_t pixelLimit = defaultPixelLimit);

// Writes 16-bit PNG or TIFF (the samples as they are) or 8-bit JPEG of
// `quality` 1..100 (the samples' top bytes), replacing the file whole.
enum class TiffCompression { None, Deflate };
[[nodiscard]] Result writePng16(const std::string& path, const Picture& picture);
[[nodiscard]] Result writeTiff16(const std::string& path, const Picture& picture,
                                 TiffCompression compression = TiffCompression::None);
[[nodiscard]] Result writeJpeg(const std::string& path, const Picture& picture, int quality);

// Linear value 0..1 of a sample 0..65535 under an encoding.
class Linearizer {
  public:
    explicit Linearizer(Encoding encoding);
    double operator()(std::uint16_t sample) const { return table_[sample]; }

  private:
    std::vector<float> table_;
};

} // namespace huelinx::photo

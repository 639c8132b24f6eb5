// Pictures read and written by the photo core: what each writer writes reads
// back as it was, every kind of PNG, JPEG and TIFF a camera or a developer
// gives reads as 16-bit R, G, B, and damaged, huge, unknown or missing files
// give one message naming the file.
#include "photo/picture.h"

#include <gtest/gtest.h>

#include <png.h>
#include <zlib.h>
// jpeglib.h needs size_t and FILE declared first.
#include <cstdio>
#include <jpeglib.h>
#include <tiffio.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace huelinx::photo {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class PictureFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    const fs::path dir =
        fs::temp_directory_path() / ("huelinx-picture-files-" + std::to_string(::getpid()));
};

Picture randomPicture(int width, int height, unsigned seed) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.bits = 16;
    std::mt19937 random(seed);
    for (std::size_t i = 0; i < 3 * picture.pixelCount(); ++i)
        picture.samples.push_back(static_cast<std::uint16_t>(random()));
    return picture;
}

Picture read(const std::string& bytes, std::uint64_t limit = defaultPixelLimit) {
    Loaded<Picture> loaded = readPictureBytes(bytes, "test picture", limit);
    EXPECT_TRUE(loaded.value) << loaded.message;
    return loaded.value ? *loaded.value : Picture{};
}

// --- pictures made with the libraries themselves -------------------------------

// A PNG of 8-bit values (or 16-bit grey) in libpng's simple formats.
std::string pngBytes(png_uint_32 format, int width, int height, const void* pixels,
                     const void* colourMap = nullptr, int colours = 0) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = format;
    image.colormap_entries = static_cast<png_uint_32>(colours);
    png_alloc_size_t size = 0;
    EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, pixels, 0, colourMap));
    std::string bytes(size, '\0');
    EXPECT_TRUE(png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels, 0, colourMap));
    bytes.resize(size);
    return bytes;
}

struct TiffKind {
    int bits = 8, samples = 3, photometric = PHOTOMETRIC_RGB, planar = PLANARCONFIG_CONTIG;
    int tile = 0; // 0: strips of 3 rows
    int format = SAMPLEFORMAT_UINT;
};

// The value a made-up TIFF holds at x, y in sample c.
std::uint16_t tiffValue(const TiffKind& kind, int x, int y, int c) {
    const int value = x * 7919 + y * 104729 + c * 4099;
    return static_cast<std::uint16_t>(kind.bits == 8 ? value % 256 : value % 65536);
}

// Packs the samples of `count` pixels from (x, y) of one plane (or all);
// 32-bit samples as floats.
std::vector<unsigned char> tiffRun(const TiffKind& kind, int x, int y, int count, int plane) {
    const bool separate = kind.planar == PLANARCONFIG_SEPARATE;
    std::vector<unsigned char> run;
    for (int i = 0; i < count; ++i)
        for (int c = separate ? plane : 0; c < (separate ? plane + 1 : kind.samples); ++c) {
            const std::uint16_t value = tiffValue(kind, x + i, y, c);
            if (kind.bits == 8)
                run.push_back(static_cast<unsigned char>(value));
            else if (kind.bits == 32) {
                const float real = value / 65535.0f;
                run.insert(run.end(), reinterpret_cast<const unsigned char*>(&real),
                           reinterpret_cast<const unsigned char*>(&real) + 4);
            } else
                run.insert(run.end(), reinterpret_cast<const unsigned char*>(&value),
                           reinterpret_cast<const unsigned char*>(&value) + 2);
        }
    return run;
}

std::string tiffBytes(const std::string& file, const TiffKind& kind, int width, int height) {
    TIFF* tiff = TIFFOpen(file.c_str(), "w");
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, kind.bits);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, kind.samples);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, kind.photometric);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, kind.planar);
    TIFFSetField(tiff, TIFFTAG_SAMPLEFORMAT, kind.format);
    if (kind.samples == 4) {
        const std::uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, extra);
    }
    if (kind.photometric == PHOTOMETRIC_PALETTE) {
        static std::uint16_t red[256], green[256], blue[256];
        for (int i = 0; i < 256; ++i) {
            red[i] = static_cast<std::uint16_t>(i * 257);
            green[i] = static_cast<std::uint16_t>((255 - i) * 257);
            blue[i] = static_cast<std::uint16_t>((i * 3 % 256) * 257);
        }
        TIFFSetField(tiff, TIFFTAG_COLORMAP, red, green, blue);
    }
    const int planes = kind.planar == PLANARCONFIG_SEPARATE ? kind.samples : 1;
    if (kind.tile) {
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, kind.tile);
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, kind.tile);
        for (int plane = 0; plane < planes; ++plane)
            for (int y = 0; y < height; y += kind.tile)
                for (int x = 0; x < width; x += kind.tile) {
                    std::vector<unsigned char> tile;
                    for (int row = 0; row < kind.tile; ++row) {
                        const auto run = tiffRun(kind, x, y + row, kind.tile, plane);
                        tile.insert(tile.end(), run.begin(), run.end());
                    }
                    TIFFWriteTile(tiff, tile.data(), x, y, 0, plane);
                }
    } else {
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 3);
        for (int plane = 0; plane < planes; ++plane)
            for (int y = 0; y < height; ++y)
                TIFFWriteScanline(tiff, tiffRun(kind, 0, y, width, plane).data(), y, plane);
    }
    TIFFClose(tiff);
    return contents(file);
}

// An 8-bit JPEG in grey (1 component) or CMYK (4).
std::string jpegBytes(int components, int width, int height) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width * components));
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < width * components; ++x)
            row[x] = static_cast<unsigned char>(x * 255 / (width * components));
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string bytes(reinterpret_cast<const char*>(out), size);
    std::free(out);
    return bytes;
}

// --- round trips ----------------------------------------------------------------

TEST_F(PictureFiles, SixteenBitPngAndTiffKeepEverySample) {
    const Picture picture = randomPicture(37, 23, 7);
    ASSERT_TRUE(writePng16(path("p.png"), picture).ok);
    ASSERT_TRUE(writeTiff16(path("p.tif"), picture).ok);
    ASSERT_TRUE(writeTiff16(path("d.tif"), picture, TiffCompression::Deflate).ok);
    for (const char* name : {"p.png", "p.tif", "d.tif"}) {
        const Loaded<Picture> back = readPicture(path(name));
        ASSERT_TRUE(back.value) << back.message;
        EXPECT_EQ(back.value->width, 37) << name;
        EXPECT_EQ(back.value->height, 23) << name;
        EXPECT_EQ(back.value->bits, 16) << name;
        EXPECT_EQ(back.value->samples, picture.samples) << name;
    }
    TIFF* deflated = TIFFOpen(path("d.tif").c_str(), "r");
    ASSERT_TRUE(deflated);
    std::uint16_t compression = 0;
    TIFFGetField(deflated, TIFFTAG_COMPRESSION, &compression);
    TIFFClose(deflated);
    EXPECT_EQ(compression, COMPRESSION_ADOBE_DEFLATE);
}

TEST_F(PictureFiles, JpegReadsBackWithinAFewCodes) {
    Picture picture;
    picture.width = 64;
    picture.height = 48;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            for (int v : {x + 40, y * 2 + 10, 200 - x / 2 - y})
                picture.samples.push_back(static_cast<std::uint16_t>(v * 257));
    ASSERT_TRUE(writeJpeg(path("p.jpg"), picture, 95).ok);
    const Loaded<Picture> back = readPicture(path("p.jpg"));
    ASSERT_TRUE(back.value) << back.message;
    EXPECT_EQ(back.value->bits, 8);
    ASSERT_EQ(back.value->samples.size(), picture.samples.size());
    for (std::size_t i = 0; i < picture.samples.size(); ++i)
        ASSERT_NEAR(back.value->samples[i], picture.samples[i], 4 * 257) << i;
    // A lower quality makes a smaller file.
    ASSERT_TRUE(writeJpeg(path("q.jpg"), picture, 30).ok);
    EXPECT_LT(contents(path("q.jpg")).size(), contents(path("p.jpg")).size());
}

// --- kinds of PNG -----------------------------------------------------------------

TEST(PictureKinds, EightBitPngValuesAreScaledBy257AndGreyFillsThreeChannels) {
    const unsigned char rgb[] = {0, 1, 128, 255, 254, 3};
    Picture picture = read(pngBytes(PNG_FORMAT_RGB, 2, 1, rgb));
    EXPECT_EQ(picture.bits, 8);
    EXPECT_EQ(picture.samples,
              (std::vector<std::uint16_t>{0, 257, 128 * 257, 65535, 254 * 257, 3 * 257}));

    const unsigned char rgba[] = {10, 20, 30, 0, 40, 50, 60, 128};
    EXPECT_EQ(read(pngBytes(PNG_FORMAT_RGBA, 2, 1, rgba)).samples,
              (std::vector<std::uint16_t>{2570, 5140, 7710, 10280, 12850, 15420}));

    const unsigned char grey[] = {0, 77, 255};
    EXPECT_EQ(
        read(pngBytes(PNG_FORMAT_GRAY, 3, 1, grey)).samples,
        (std::vector<std::uint16_t>{0, 0, 0, 77 * 257, 77 * 257, 77 * 257, 65535, 65535, 65535}));
    const unsigned char greyAlpha[] = {99, 0, 200, 255};
    EXPECT_EQ(read(pngBytes(PNG_FORMAT_GA, 2, 1, greyAlpha)).samples,
              (std::vector<std::uint16_t>{99 * 257, 99 * 257, 99 * 257, 200 * 257, 200 * 257,
                                          200 * 257}));

    const std::uint16_t grey16[] = {1, 40000, 65535};
    picture = read(pngBytes(PNG_FORMAT_LINEAR_Y, 3, 1, grey16));
    EXPECT_EQ(picture.bits, 16);
    EXPECT_EQ(picture.samples,
              (std::vector<std::uint16_t>{1, 1, 1, 40000, 40000, 40000, 65535, 65535, 65535}));
}

TEST(PictureKinds, PalettePngGivesThePaletteColours) {
    const unsigned char map[] = {255, 0, 0, 255, 0, 0, 255, 128, 12, 34, 56, 0};
    const unsigned char indices[] = {2, 0, 1, 2};
    const Picture picture =
        read(pngBytes(PNG_FORMAT_RGBA | PNG_FORMAT_FLAG_COLORMAP, 2, 2, indices, map, 3));
    EXPECT_EQ(picture.bits, 8);
    EXPECT_EQ(picture.samples,
              (std::vector<std::uint16_t>{12 * 257, 34 * 257, 56 * 257, 65535, 0, 0, 0, 0, 65535,
                                          12 * 257, 34 * 257, 56 * 257}));
}

void appendTo(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}

TEST(PictureKinds, InterlacedPngGivesEveryPixel) {
    const int width = 9, height = 7;
    std::string bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &bytes, appendTo, nullptr);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_ADAM7,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<unsigned char> pixels;
    for (int i = 0; i < 3 * width * height; ++i)
        pixels.push_back(static_cast<unsigned char>(i));
    std::vector<png_bytep> rows;
    for (int y = 0; y < height; ++y)
        rows.push_back(pixels.data() + 3 * width * y);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);

    const Picture picture = read(bytes);
    ASSERT_EQ(picture.samples.size(), pixels.size());
    for (std::size_t i = 0; i < pixels.size(); ++i)
        ASSERT_EQ(picture.samples[i], pixels[i] * 257) << i;
}

// --- kinds of TIFF ----------------------------------------------------------------

TEST_F(PictureFiles, TiffInStripsOrTilesContiguousOrPlanarGreyOrRgb) {
    const int width = 37, height = 21;
    const std::vector<TiffKind> kinds = {
        {8, 3, PHOTOMETRIC_RGB, PLANARCONFIG_CONTIG, 0},
        {8, 1, PHOTOMETRIC_MINISBLACK, PLANARCONFIG_CONTIG, 0},
        {16, 4, PHOTOMETRIC_RGB, PLANARCONFIG_CONTIG, 0}, // with an alpha channel
        {16, 3, PHOTOMETRIC_RGB, PLANARCONFIG_SEPARATE, 0},
        {16, 3, PHOTOMETRIC_RGB, PLANARCONFIG_SEPARATE, 16},
        {16, 1, PHOTOMETRIC_MINISBLACK, PLANARCONFIG_CONTIG, 16},
        {8, 1, PHOTOMETRIC_MINISWHITE, PLANARCONFIG_CONTIG, 0},
    };
    for (std::size_t k = 0; k < kinds.size(); ++k) {
        const TiffKind& kind = kinds[k];
        const Picture picture =
            read(tiffBytes(path("k" + std::to_string(k) + ".tif"), kind, width, height));
        ASSERT_EQ(picture.samples.size(), 3u * width * height) << "kind " << k;
        EXPECT_EQ(picture.bits, kind.bits);
        const int scale = kind.bits == 8 ? 257 : 1;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                for (int c = 0; c < 3; ++c) {
                    int want = tiffValue(kind, x, y, kind.samples == 1 ? 0 : c) * scale;
                    if (kind.photometric == PHOTOMETRIC_MINISWHITE) want = 65535 - want;
                    ASSERT_EQ(picture.at(x, y)[c], want)
                        << "kind " << k << " at " << x << "," << y << " channel " << c;
                }
    }
}

TEST_F(PictureFiles, EightBitPaletteTiffIsReadAndFloatTiffRefused) {
    const TiffKind palette{8, 1, PHOTOMETRIC_PALETTE, PLANARCONFIG_CONTIG, 0};
    const Picture picture = read(tiffBytes(path("palette.tif"), palette, 5, 4));
    ASSERT_EQ(picture.samples.size(), 60u);
    const int index = tiffValue(palette, 3, 2, 0);
    EXPECT_EQ(picture.at(3, 2)[0], index * 257);
    EXPECT_EQ(picture.at(3, 2)[1], (255 - index) * 257);

    TiffKind floats{32, 3, PHOTOMETRIC_RGB, PLANARCONFIG_CONTIG, 0, SAMPLEFORMAT_IEEEFP};
    const std::string bytes = tiffBytes(path("float.tif"), floats, 4, 4);
    const Loaded<Picture> refused = readPictureBytes(bytes, "float.tif");
    EXPECT_FALSE(refused.value);
    EXPECT_NE(refused.message.find("\"float.tif\""), std::string::npos) << refused.message;
    EXPECT_NE(refused.message.find("not unsigned integers"), std::string::npos);
}

TEST_F(PictureFiles, LibraryWarningsAreNotPrinted) {
    // A tag no reader knows, out of order: libtiff warns twice of it.
    ASSERT_TRUE(writeTiff16(path("w.tif"), randomPicture(4, 3, 1)).ok);
    std::string bytes = contents(path("w.tif"));
    const std::string planar("\x1c\x01\x03\x00", 4); // tag 284, SHORT
    const std::size_t at = bytes.find(planar);
    ASSERT_NE(at, std::string::npos);
    bytes[at] = '\xe8';
    bytes[at + 1] = '\xfd'; // tag 65000
    testing::internal::CaptureStderr();
    const Loaded<Picture> loaded = readPictureBytes(bytes, "w.tif");
    const std::string printed = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(loaded.value) << loaded.message;
    EXPECT_EQ(loaded.value->samples, randomPicture(4, 3, 1).samples);
    EXPECT_EQ(printed, "");
}

// --- JPEG kinds -------------------------------------------------------------------

TEST(PictureKinds, GreyJpegFillsThreeChannelsAndCmykIsRefused) {
    const Picture grey = read(jpegBytes(1, 16, 8));
    ASSERT_EQ(grey.samples.size(), 3u * 16 * 8);
    for (int x = 0; x < 16; ++x) {
        EXPECT_EQ(grey.at(x, 3)[0], grey.at(x, 3)[1]);
        EXPECT_EQ(grey.at(x, 3)[0], grey.at(x, 3)[2]);
        EXPECT_NEAR(grey.at(x, 3)[0], x * 255 / 16 * 257, 3 * 257);
    }
    const Loaded<Picture> cmyk = readPictureBytes(jpegBytes(4, 8, 8), "print.jpg");
    EXPECT_FALSE(cmyk.value);
    EXPECT_NE(cmyk.message.find("\"print.jpg\""), std::string::npos);
    EXPECT_NE(cmyk.message.find("CMYK"), std::string::npos) << cmyk.message;
}

// --- sizes --------------------------------------------------------------------------

void putBigEndian32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(value >> (24 - 8 * i));
}

// A PNG signature and header chunk claiming a size, and nothing more.
std::string pngHeader(std::uint32_t width, std::uint32_t height) {
    std::string bytes("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    bytes += std::string(13, '\0');
    putBigEndian32(bytes, 16, width);
    putBigEndian32(bytes, 20, height);
    bytes[24] = 8; // bit depth
    bytes[25] = 2; // RGB
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(bytes.data() + 12), 17);
    bytes += std::string(4, '\0');
    putBigEndian32(bytes, 29, static_cast<std::uint32_t>(crc));
    return bytes;
}

// Sets a tag of the first directory of a little-endian TIFF to a LONG value.
void setTiffTag(std::string& bytes, std::uint16_t tag, std::uint32_t value) {
    std::uint32_t directory = 0;
    std::uint16_t count = 0;
    std::memcpy(&directory, bytes.data() + 4, 4);
    std::memcpy(&count, bytes.data() + directory, 2);
    for (std::uint16_t i = 0; i < count; ++i) {
        char* entry = bytes.data() + directory + 2 + 12 * i;
        std::uint16_t id = 0;
        std::memcpy(&id, entry, 2);
        if (id != tag) continue;
        const std::uint16_t longType = 4;
        const std::uint32_t one = 1;
        std::memcpy(entry + 2, &longType, 2);
        std::memcpy(entry + 4, &one, 4);
        std::memcpy(entry + 8, &value, 4);
        return;
    }
    ADD_FAILURE() << "no tag " << tag;
}

TEST_F(PictureFiles, HeadersClaimingTooManyPixelsAreRefusedBeforeReading) {
    ASSERT_TRUE(writeJpeg(path("small.jpg"), randomPicture(8, 8, 2), 90).ok);
    std::string jpeg = contents(path("small.jpg"));
    const std::size_t frame = jpeg.find("\xff\xc0");
    ASSERT_NE(frame, std::string::npos);
    jpeg[frame + 5] = jpeg[frame + 7] = '\xea'; // 60000 x 60000
    jpeg[frame + 6] = jpeg[frame + 8] = '\x60';

    ASSERT_TRUE(writeTiff16(path("small.tif"), randomPicture(8, 8, 3)).ok);
    std::string tiff = contents(path("small.tif"));
    setTiffTag(tiff, 256, 100000);
    setTiffTag(tiff, 257, 100000);
    std::string wide = contents(path("small.tif"));
    setTiffTag(wide, 256, 2'000'000);
    setTiffTag(wide, 257, 1);

    const std::vector<std::pair<std::string, std::string>> claims = {
        {pngHeader(100000, 100000), "100000 x 100000"},
        {jpeg, "60000 x 60000"},
        {tiff, "100000 x 100000"},
        {wide, "2000000 x 1 pixels, more than 1000000 on a side"},
        {pngHeader(2'000'000, 1), "2000000 x 1"},
    };
    for (const auto& [bytes, size] : claims) {
        const Loaded<Picture> loaded = readPictureBytes(bytes, "huge picture");
        EXPECT_FALSE(loaded.value);
        EXPECT_NE(loaded.message.find("\"huge picture\""), std::string::npos) << loaded.message;
        EXPECT_NE(loaded.message.find(size), std::string::npos) << loaded.message;
    }
    // From a file too, named by its path.
    std::ofstream(path("huge.png"), std::ios::binary) << pngHeader(100000, 100000);
    const Loaded<Picture> file = readPicture(path("huge.png"));
    EXPECT_FALSE(file.value);
    EXPECT_EQ(file.message, "\"" + path("huge.png") +
                                "\" cannot be read as a PNG picture: its header claims 100000 x "
                                "100000 pixels, more than the 100000000 a picture may have.");
    // The limit is the caller's.
    const std::string ten = pngBytes(PNG_FORMAT_RGB, 10, 10, std::string(300, '\1').data());
    EXPECT_FALSE(readPictureBytes(ten, "ten", 99).value);
    EXPECT_TRUE(readPictureBytes(ten, "ten", 100).value);
}

// --- damage -------------------------------------------------------------------------

TEST_F(PictureFiles, DamagedFilesGiveOneMessageNamingThemAndPrintNothing) {
    const Picture picture = randomPicture(40, 30, 5);
    ASSERT_TRUE(writePng16(path("p.png"), picture).ok);
    ASSERT_TRUE(writeJpeg(path("p.jpg"), picture, 90).ok);
    ASSERT_TRUE(writeTiff16(path("p.tif"), picture).ok);
    ASSERT_TRUE(writeTiff16(path("d.tif"), picture, TiffCompression::Deflate).ok);
    const std::string png = contents(path("p.png")), jpeg = contents(path("p.jpg"));
    const std::string tiff = contents(path("p.tif"));

    std::string badCrc = png;
    const std::size_t idat = png.find("IDAT");
    const std::size_t idatLength = (std::uint8_t(png[idat - 2]) << 8) | std::uint8_t(png[idat - 1]);
    badCrc[idat + 4 + idatLength] ^= 0x40;
    std::string strayMarker = jpeg;
    const std::size_t scan = jpeg.find("\xff\xda");
    strayMarker[scan + (jpeg.size() - scan) / 2] = '\xff';
    strayMarker[scan + (jpeg.size() - scan) / 2 + 1] = '\xd9';
    std::string badDeflate = contents(path("d.tif"));
    for (int i = 20; i < 60; ++i)
        badDeflate[i] = '\x5a';
    // A header whose ink count disagrees with its samples: libtiff's text
    // about it spans two lines.
    const std::string inkCount(
        "\x49\x49\x2a\x00\x14\x00\x00\x00\x00\x05\x0a\x0f\x14\x19\x1e\x23\x28\x2d\x32\x37"
        "\x09\x00\x00\x01\x03\x00\x01\x00\x00\x00\x04\x00\x00\x00\x01\x01\x03\x00\x01\x00"
        "\x00\x00\xfe\x09\x00\x00\x02\x01\x03\x00\x01\x00\x00\x00\x08\x00\x00\x00\x03\x01"
        "\x03\x00\x01\x00\x00\x00\x01\x00\x00\x00\x06\x01\x03\x00\x01\x00\x00\x00\x01\x00"
        "\x00\x00\x11\x01\x04\x00\x02\x00\x00\x00\x86\x00\x00\x00\x15\x01\x03\x00\x01\x00"
        "\x00\x00\x01\x00\x00\x00\x4e\x01\x03\x00\x01\x00\x00\x00\x02\x00\x00\x00\x17\x01"
        "\x03\x00\x02\x00\x00\x00\x08\x00\x04\x00\x00\x00\x00\x00\x08\x00\x00\x00\x10\x00"
        "\x00\x00",
        142);

    const std::vector<std::pair<std::string, std::string>> damaged = {
        {png.substr(0, png.size() / 2), "PNG"},
        {png.substr(0, png.size() - 12), "PNG"},
        {badCrc, "CRC"},
        {jpeg.substr(0, jpeg.size() / 2), "JPEG"},
        {strayMarker, "JPEG"},
        {tiff.substr(0, tiff.size() / 2), "TIFF"},
        {tiff.substr(0, 100), "TIFF"},
        {badDeflate, "TIFF"},
        {inkCount, "NumberOfInks"},
    };
    for (std::size_t i = 0; i < damaged.size(); ++i) {
        testing::internal::CaptureStderr();
        const Loaded<Picture> loaded = readPictureBytes(damaged[i].first, "field/soil 3.png");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "case " << i;
        EXPECT_FALSE(loaded.value) << "case " << i;
        EXPECT_EQ(loaded.message.find("\"field/soil 3.png\" cannot be read as a "), 0u)
            << loaded.message;
        EXPECT_NE(loaded.message.find(damaged[i].second), std::string::npos) << loaded.message;
        EXPECT_EQ(loaded.message.find('\n'), std::string::npos) << loaded.message;
    }
}

TEST_F(PictureFiles, UnknownEmptyAndMissingFilesAreNamed) {
    const Loaded<Picture> gif = readPictureBytes("GIF89a\1\0\1\0", "old.gif");
    EXPECT_FALSE(gif.value);
    EXPECT_EQ(gif.message, "\"old.gif\" is not a PNG, JPEG or TIFF picture.");
    EXPECT_EQ(readPictureBytes("", "empty.png").message,
              "\"empty.png\" is not a PNG, JPEG or TIFF picture.");
    const Loaded<Picture> missing = readPicture(path("none.png"));
    EXPECT_FALSE(missing.value);
    EXPECT_EQ(missing.message, "\"" + path("none.png") + "\" cannot be opened.");
    const Loaded<Picture> folder = readPicture(dir.string());
    EXPECT_FALSE(folder.value);
    EXPECT_NE(folder.message.find(dir.string()), std::string::npos);
}

// --- writers --------------------------------------------------------------------------

TEST_F(PictureFiles, WritersRefuseWhatTheyCantWriteAndLeaveTheFileAsItWas) {
    std::ofstream(path("keep.png")) << "the user's picture";
    Picture broken = randomPicture(4, 4, 9);
    broken.samples.pop_back();
    const Picture good = randomPicture(4, 4, 9);
    const std::vector<Result> results = {
        writePng16(path("keep.png"), broken),    writeTiff16(path("keep.png"), broken),
        writeJpeg(path("keep.png"), broken, 90), writeJpeg(path("keep.png"), good, 0),
        writeJpeg(path("keep.png"), good, 101),  writePng16(path("keep.png"), Picture{}),
    };
    for (const Result& result : results) {
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message.find("\"" + path("keep.png") + "\" was not written: "), 0u)
            << result.message;
    }
    EXPECT_EQ(contents(path("keep.png")), "the user's picture");
    const Result noFolder = writePng16(path("no/such/folder.png"), good);
    EXPECT_FALSE(noFolder.ok);
    EXPECT_FALSE(fs::exists(path("no")));
}

} // namespace
} // namespace huelinx::photo

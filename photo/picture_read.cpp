// Decoding PNG, JPEG and TIFF pictures into 16-bit R, G, B samples with
// libpng, libjpeg-turbo and libtiff, from memory. Every size a header claims
// is checked before a pixel buffer is allocated; every fault the libraries
// report becomes one message naming the picture.
//
// libpng and libjpeg report faults by calling back into us: the callbacks
// leave by longjmp to the setjmp in the one function that drives the decoder,
// so the frames skipped are the libraries' own and that function holds no
// object with a destructor (its state lives in a job owned by its caller).
#include "photo/picture.h"

#include "files/file_read.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <csetjmp>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

#include <png.h>
// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>
#include <tiffio.h>

namespace huelinx::photo {

namespace {

// Each side's largest size, whatever the pixel limit.
constexpr std::uint64_t sideLimit = 1'000'000;
// A picture file is read into memory whole: the largest taken.
constexpr std::uint64_t pictureFileLimit = 1024 * megabyte;
// Progressive JPEG scans each cost a pass over the picture; files with more
// are made to waste time, not to show a picture.
constexpr int jpegScanLimit = 500;

// Why a picture's size is refused, in the message's words; empty when it may
// be read.
std::string sizeProblem(std::uint64_t width, std::uint64_t height, std::uint64_t pixelLimit) {
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    if (width == 0 || height == 0) return "its header gives it a size of " + size + " pixels";
    if (width > sideLimit || height > sideLimit)
        return "its header claims " + size + " pixels, more than " + std::to_string(sideLimit) +
               " on a side";
    if (width * height > pixelLimit)
        return "its header claims " + size + " pixels, more than the " +
               std::to_string(pixelLimit) + " a picture may have";
    return {};
}

// The samples of a picture of a checked size; false when memory runs out.
bool allocate(Picture& picture, std::uint32_t width, std::uint32_t height) {
    try {
        picture.width = static_cast<int>(width);
        picture.height = static_cast<int>(height);
        picture.samples.assign(3 * picture.pixelCount(), 0);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

constexpr const char* outOfMemory = "there is not enough memory to hold its pixels";

// What a decoder gives back to readPictureBytes: the picture, or why not.
struct Job {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    std::size_t position = 0;
    std::uint64_t pixelLimit = 0;
    Picture picture;
    std::vector<unsigned char*> rows;      // PNG: where each row goes
    std::vector<unsigned char> line;       // JPEG, TIFF: one decoded row, strip or tile
    std::string problem;                   // set by the checks between library calls
    char fault[JMSG_LENGTH_MAX + 64] = {}; // set by the libraries' callbacks
    bool failed() const { return !problem.empty() || fault[0] != '\0'; }
    std::string why() const { return problem.empty() ? oneLine(fault) : problem; }

    // The libraries' texts as one line: libtiff's break lines and indent.
    static std::string oneLine(const char* text) {
        std::string line;
        for (const char* c = text; *c; ++c) {
            const bool space = std::isspace(static_cast<unsigned char>(*c)) != 0;
            if (!space)
                line += *c;
            else if (!line.empty() && line.back() != ' ')
                line += ' ';
        }
        if (!line.empty() && line.back() == ' ') line.pop_back();
        return line;
    }
};

// --- PNG ----------------------------------------------------------------------

void pngRead(png_structp png, png_bytep out, png_size_t length) {
    Job& job = *static_cast<Job*>(png_get_io_ptr(png));
    if (length > job.size - job.position) png_error(png, "the file ends early");
    std::memcpy(out, job.data + job.position, length);
    job.position += length;
}

void pngFault(png_structp png, png_const_charp text) {
    Job& job = *static_cast<Job*>(png_get_error_ptr(png));
    std::snprintf(job.fault, sizeof job.fault, "%s", text);
    png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {} // ancillary chunks: nothing to say

// Asks libpng for rows of 16-bit R, G, B in the machine's byte order, straight
// into the samples: palettes and low bit depths expanded, 8-bit values times
// 257, grey copied to three channels, alpha dropped.
void pngRequestRgb16(png_structp png, png_infop info) {
    png_set_expand(png);
    png_set_expand_16(png);
    png_set_strip_alpha(png);
    png_set_gray_to_rgb(png);
    if constexpr (std::endian::native == std::endian::little) png_set_swap(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

// The size in the header chunk, which always comes first, checked before
// libpng reads on (its own limits would refuse a wide picture without a word
// of its size).
bool pngSizeAllowed(Job& job) {
    if (job.size < 24 || std::memcmp(job.data + 12, "IHDR", 4) != 0) return true;
    const auto bigEndian = [&](std::size_t at) {
        return std::uint32_t{job.data[at]} << 24 | std::uint32_t{job.data[at + 1]} << 16 |
               std::uint32_t{job.data[at + 2]} << 8 | job.data[at + 3];
    };
    job.problem = sizeProblem(bigEndian(16), bigEndian(20), job.pixelLimit);
    return job.problem.empty();
}

// Holds no object with a destructor: see the note at the top.
void decodePng(Job& job) {
    if (!pngSizeAllowed(job)) return;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &job, pngFault, pngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        std::snprintf(job.fault, sizeof job.fault, "%s", outOfMemory);
        return;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return;
    }
    png_set_read_fn(png, &job, pngRead);
    png_set_user_limits(png, sideLimit, sideLimit);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    job.problem = sizeProblem(width, height, job.pixelLimit);
    if (job.problem.empty()) {
        job.picture.bits = png_get_bit_depth(png, info) == 16 ? 16 : 8;
        pngRequestRgb16(png, info);
        if (png_get_rowbytes(png, info) != 6 * std::size_t{width})
            png_error(png, "its rows are not of the size its header gives");
        if (!allocate(job.picture, width, height)) png_error(png, outOfMemory);
        try {
            job.rows.resize(height);
        } catch (const std::bad_alloc&) {
            job.problem = outOfMemory;
        }
    }
    if (job.problem.empty()) {
        for (png_uint_32 y = 0; y < height; ++y)
            job.rows[y] = reinterpret_cast<unsigned char*>(job.picture.samples.data() +
                                                           3 * std::size_t{width} * y);
        png_read_image(png, job.rows.data());
        png_read_end(png, nullptr);
    }
    png_destroy_read_struct(&png, &info, nullptr);
}

// --- JPEG ---------------------------------------------------------------------

struct JpegErrors {
    jpeg_error_mgr manager;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    Job* job;
};

[[noreturn]] void jpegFault(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
    char text[JMSG_LENGTH_MAX];
    cinfo->err->format_message(cinfo, text);
    std::snprintf(errors->job->fault, sizeof errors->job->fault, "%s", text);
    std::longjmp(errors->jump, 1);
}

// A warning about the picture's data (corrupt or missing entropy-coded data,
// an early end) means pixels made up by the decoder: refused. Warnings about
// markers that carry no pixels are passed over.
void jpegMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;
    switch (cinfo->err->msg_code) {
    case JWRN_ADOBE_XFORM:
    case JWRN_JFIF_MAJOR:
    case JWRN_BOGUS_ICC:
        return;
    default:
        jpegFault(cinfo);
    }
}

void jpegProgress(j_common_ptr cinfo) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (cinfo->is_decompressor && decompress->input_scan_number > jpegScanLimit) {
        auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
        std::snprintf(errors->job->fault, sizeof errors->job->fault,
                      "it has more than %d progressive scans", jpegScanLimit);
        std::longjmp(errors->jump, 1);
    }
}

// Why a JPEG's colour space can't be read; empty for grey and RGB.
const char* jpegColourProblem(const jpeg_decompress_struct& cinfo) {
    switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
        return nullptr;
    case JCS_CMYK:
    case JCS_YCCK:
        return "it is a CMYK JPEG; only grey and RGB JPEG pictures are read";
    default:
        return "its colour space is neither grey nor RGB";
    }
}

// Copies one decoded row of 8-bit grey or RGB into the samples, times 257.
void putJpegRow(Job& job, int components, std::size_t y) {
    std::uint16_t* out = job.picture.samples.data() + 3 * job.picture.width * y;
    for (int x = 0; x < job.picture.width; ++x)
        for (int c = 0; c < 3; ++c)
            out[3 * x + c] = static_cast<std::uint16_t>(
                job.line[static_cast<std::size_t>(x * components + (components == 3 ? c : 0))] *
                257);
}

// Holds no object with a destructor: see the note at the top.
void decodeJpeg(Job& job) {
    jpeg_decompress_struct cinfo;
    JpegErrors errors;
    cinfo.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jpegFault;
    errors.manager.emit_message = jpegMessage;
    errors.job = &job;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return;
    }
    jpeg_create_decompress(&cinfo);
    errors.progress.progress_monitor = jpegProgress;
    cinfo.progress = &errors.progress;
    jpeg_mem_src(&cinfo, job.data, static_cast<unsigned long>(job.size));
    jpeg_read_header(&cinfo, TRUE);
    job.problem = sizeProblem(cinfo.image_width, cinfo.image_height, job.pixelLimit);
    if (const char* colour = jpegColourProblem(cinfo); job.problem.empty() && colour)
        job.problem = colour;
    if (job.problem.empty()) {
        cinfo.out_color_space = cinfo.jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_RGB;
        // Whole-picture buffers of a progressive picture come from this budget.
        cinfo.mem->max_memory_to_use = static_cast<long>(16 * job.pixelLimit + 64 * megabyte);
        jpeg_start_decompress(&cinfo);
        const int components = cinfo.output_components;
        if (components != 1 && components != 3) ERREXIT(&cinfo, JERR_BAD_J_COLORSPACE);
        if (!allocate(job.picture, cinfo.output_width, cinfo.output_height))
            ERREXIT1(&cinfo, JERR_OUT_OF_MEMORY, 0);
        try {
            job.line.resize(std::size_t{cinfo.output_width} * components);
        } catch (const std::bad_alloc&) {
            job.line.clear();
        }
        if (job.line.empty()) ERREXIT1(&cinfo, JERR_OUT_OF_MEMORY, 1);
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW row = job.line.data();
            const std::size_t y = cinfo.output_scanline;
            if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) ERREXIT(&cinfo, JERR_INPUT_EOF);
            putJpegRow(job, components, y);
        }
        jpeg_finish_decompress(&cinfo);
    }
    jpeg_destroy_decompress(&cinfo);
}

// --- TIFF ---------------------------------------------------------------------
// libtiff reports faults by return values and calls handlers given at open,
// which keep the first error for the message and drop warnings (unknown tags
// and the like), so nothing is printed.

tmsize_t tiffRead(thandle_t handle, void* out, tmsize_t size) {
    Job& job = *static_cast<Job*>(handle);
    if (size < 0) return -1;
    const std::size_t count =
        std::min(static_cast<std::size_t>(size), job.size - std::min(job.position, job.size));
    std::memcpy(out, job.data + job.position, count);
    job.position += count;
    return static_cast<tmsize_t>(count);
}
tmsize_t tiffWrite(thandle_t, void*, tmsize_t) {
    return -1;
}
toff_t tiffSeek(thandle_t handle, toff_t offset, int whence) {
    Job& job = *static_cast<Job*>(handle);
    const toff_t base = whence == SEEK_CUR ? job.position : whence == SEEK_END ? job.size : 0;
    const toff_t target = base + offset; // a step back arrives as a wrapped sum
    if (target > job.size) return static_cast<toff_t>(-1);
    job.position = static_cast<std::size_t>(target);
    return target;
}
int tiffClose(thandle_t) {
    return 0;
}
toff_t tiffSize(thandle_t handle) {
    return static_cast<Job*>(handle)->size;
}
int tiffMap(thandle_t, void**, toff_t*) {
    return 0;
}
void tiffUnmap(thandle_t, void*, toff_t) {}

int tiffFault(TIFF*, void* user, const char*, const char* format, va_list args) {
    Job& job = *static_cast<Job*>(user);
    if (job.fault[0] == '\0') std::vsnprintf(job.fault, sizeof job.fault, format, args);
    return 1;
}
int tiffWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

// The largest single buffer (a strip, a tile, the library's own tables).
tmsize_t tiffBufferLimit(std::uint64_t pixelLimit) {
    return static_cast<tmsize_t>(64 * megabyte + 8 * pixelLimit);
}

struct TiffLayout {
    std::uint32_t width = 0, height = 0;
    std::uint16_t bits = 1, samplesPerPixel = 1, photometric = 0, planar = 1, format = 1;
    bool grey() const {
        return photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE;
    }
    bool rgb() const { return photometric == PHOTOMETRIC_RGB && samplesPerPixel >= 3; }
    bool separate() const { return planar == PLANARCONFIG_SEPARATE && samplesPerPixel > 1; }
};

// A strip (as wide as the picture) or a tile, and where it lies.
struct TiffBlock {
    std::uint32_t x = 0, y = 0, width = 0, height = 0; // height: its rows in the picture
    std::uint64_t stride = 0;                          // bytes from one row to the next
    int plane = 0;
};

std::uint16_t tiffSample(const TiffLayout& layout, const unsigned char* at, int index) {
    std::uint16_t value = at[index];
    if (layout.bits == 16)
        std::memcpy(&value, at + 2 * index, 2); // libtiff gives the machine's byte order
    else
        value = static_cast<std::uint16_t>(value * 257);
    return layout.photometric == PHOTOMETRIC_MINISWHITE ? 65535 - value : value;
}

void putTiffBlock(Job& job, const TiffLayout& layout, const TiffBlock& block) {
    const int perPixel = layout.separate() ? 1 : layout.samplesPerPixel;
    const int channels = layout.separate() ? 1 : layout.grey() ? 1 : 3;
    const std::size_t bytes = layout.bits / 8;
    const std::uint32_t columns = std::min(block.width, layout.width - block.x);
    for (std::uint32_t row = 0; row < block.height; ++row) {
        const unsigned char* in = job.line.data() + row * block.stride;
        std::uint16_t* out =
            job.picture.samples.data() + 3 * (std::size_t{block.y + row} * layout.width + block.x);
        for (std::uint32_t column = 0; column < columns; ++column) {
            const unsigned char* pixel = in + column * perPixel * bytes;
            std::uint16_t* to = out + 3 * column;
            if (layout.grey())
                to[0] = to[1] = to[2] = tiffSample(layout, pixel, 0);
            else
                for (int c = 0; c < channels; ++c)
                    to[layout.separate() ? block.plane : c] = tiffSample(layout, pixel, c);
        }
    }
}

// Decodes the block of `index` into job.line; false with the reason when its
// data can't be read or holds fewer bytes than its pixels need.
bool readTiffBlock(Job& job, TIFF* tiff, const TiffLayout& layout, const TiffBlock& block) {
    const auto capacity = static_cast<tmsize_t>(job.line.size());
    const tmsize_t got =
        TIFFIsTiled(tiff)
            ? TIFFReadEncodedTile(tiff, TIFFComputeTile(tiff, block.x, block.y, 0, block.plane),
                                  job.line.data(), capacity)
            : TIFFReadEncodedStrip(tiff, TIFFComputeStrip(tiff, block.y, block.plane),
                                   job.line.data(), capacity);
    const int perPixel = layout.separate() ? 1 : layout.samplesPerPixel;
    const std::uint64_t columns = std::min(block.width, layout.width - block.x);
    const std::uint64_t needed =
        (block.height - 1) * block.stride + columns * perPixel * (layout.bits / 8);
    if (got >= 0 && static_cast<std::uint64_t>(got) >= needed) return true;
    if (!job.failed()) job.problem = "a strip or tile of its pixels is missing or short";
    return false;
}

// 8- and 16-bit grey or RGB, contiguous or planar, in strips or tiles.
void readTiffSamples(Job& job, TIFF* tiff, const TiffLayout& layout) {
    std::uint32_t blockWidth = layout.width, blockHeight = layout.height;
    if (TIFFIsTiled(tiff)) {
        TIFFGetField(tiff, TIFFTAG_TILEWIDTH, &blockWidth);
        TIFFGetField(tiff, TIFFTAG_TILELENGTH, &blockHeight);
    } else {
        TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &blockHeight);
        blockHeight = std::min(blockHeight, layout.height);
    }
    const std::uint64_t blockBytes =
        TIFFIsTiled(tiff) ? TIFFTileSize64(tiff) : TIFFStripSize64(tiff);
    const int perPixel = layout.separate() ? 1 : layout.samplesPerPixel;
    const std::uint64_t stride = std::uint64_t{blockWidth} * perPixel * (layout.bits / 8);
    if (blockWidth == 0 || blockHeight == 0 || blockBytes == 0 ||
        blockBytes > static_cast<std::uint64_t>(tiffBufferLimit(job.pixelLimit)) ||
        stride * blockHeight > blockBytes) {
        if (!job.failed()) job.problem = "its strips or tiles have no usable size";
        return;
    }
    if (!allocate(job.picture, layout.width, layout.height)) {
        job.problem = outOfMemory;
        return;
    }
    job.line.resize(blockBytes);
    const int planes = layout.separate() ? (layout.grey() ? 1 : 3) : 1;
    for (int plane = 0; plane < planes; ++plane)
        for (std::uint32_t y = 0; y < layout.height; y += blockHeight)
            for (std::uint32_t x = 0; x < layout.width; x += blockWidth) {
                const TiffBlock block{
                    x, y, blockWidth, std::min(blockHeight, layout.height - y), stride, plane};
                if (!readTiffBlock(job, tiff, layout, block)) return;
                putTiffBlock(job, layout, block);
            }
}

// Other 8-bit kinds (palette, YCbCr, bilevel, ...) through libtiff's own
// conversion to 8-bit R, G, B, A, which loses nothing at 8 bits.
void readTiffRgba(Job& job, TIFF* tiff, const TiffLayout& layout) {
    char why[1024] = {};
    if (!TIFFRGBAImageOK(tiff, why)) {
        job.problem = std::string("it is a TIFF of a kind not read here (") + why + ")";
        return;
    }
    if (!allocate(job.picture, layout.width, layout.height)) {
        job.problem = outOfMemory;
        return;
    }
    std::vector<std::uint32_t> raster(job.picture.pixelCount());
    if (!TIFFReadRGBAImageOriented(tiff, layout.width, layout.height, raster.data(),
                                   ORIENTATION_TOPLEFT, 0)) {
        if (!job.failed()) job.problem = "its pixels can't be decoded";
        return;
    }
    for (std::size_t i = 0; i < raster.size(); ++i) {
        std::uint16_t* to = job.picture.samples.data() + 3 * i;
        to[0] = static_cast<std::uint16_t>(TIFFGetR(raster[i]) * 257);
        to[1] = static_cast<std::uint16_t>(TIFFGetG(raster[i]) * 257);
        to[2] = static_cast<std::uint16_t>(TIFFGetB(raster[i]) * 257);
    }
}

void readTiffImage(Job& job, TIFF* tiff) {
    TiffLayout layout;
    if (!TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &layout.width) ||
        !TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &layout.height)) {
        job.problem = "its header gives no size";
        return;
    }
    job.problem = sizeProblem(layout.width, layout.height, job.pixelLimit);
    if (!job.problem.empty()) return;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &layout.bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &layout.samplesPerPixel);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &layout.planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &layout.format);
    if (!TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &layout.photometric)) {
        job.problem = "its header does not say how its samples make colours";
        return;
    }
    if (layout.format != SAMPLEFORMAT_UINT) {
        job.problem = "its samples are not unsigned integers; 8- and 16-bit TIFF pictures are read";
        return;
    }
    job.picture.bits = layout.bits == 16 ? 16 : 8;
    if ((layout.bits == 8 || layout.bits == 16) && (layout.grey() || layout.rgb()))
        readTiffSamples(job, tiff, layout);
    else if (layout.bits <= 8)
        readTiffRgba(job, tiff, layout);
    else
        job.problem =
            "its " + std::to_string(layout.bits) + "-bit samples are not 8- or 16-bit grey or RGB";
}

void decodeTiff(Job& job) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options) throw std::bad_alloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, tiffFault, &job);
    TIFFOpenOptionsSetWarningHandlerExtR(options, tiffWarning, &job);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, tiffBufferLimit(job.pixelLimit));
    TIFF* tiff = TIFFClientOpenExt("picture", "rm", &job, tiffRead, tiffWrite, tiffSeek, tiffClose,
                                   tiffSize, tiffMap, tiffUnmap, options);
    TIFFOpenOptionsFree(options);
    if (!tiff) {
        if (!job.failed()) job.problem = "its header can't be read";
        return;
    }
    struct Closer {
        TIFF* tiff;
        ~Closer() { TIFFClose(tiff); }
    } closer{tiff};
    readTiffImage(job, tiff);
}

enum class Format { Png, Jpeg, Tiff, Unknown };

Format formatOf(std::string_view bytes) {
    const auto starts = [&](std::string_view head) { return bytes.substr(0, head.size()) == head; };
    if (starts(std::string_view("\x89PNG\r\n\x1a\n", 8))) return Format::Png;
    if (starts("\xFF\xD8\xFF")) return Format::Jpeg;
    if (starts(std::string_view("II*\0", 4)) || starts(std::string_view("MM\0*", 4)) ||
        starts(std::string_view("II+\0", 4)) || starts(std::string_view("MM\0+", 4)))
        return Format::Tiff;
    return Format::Unknown;
}

const char* formatName(Format format) {
    switch (format) {
    case Format::Png:
        return "PNG";
    case Format::Jpeg:
        return "JPEG";
    case Format::Tiff:
        return "TIFF";
    case Format::Unknown:
        break;
    }
    return "picture";
}

} // namespace

Loaded<Picture> readPictureBytes(std::string_view bytes, const std::string& name,
                                 std::uint64_t pixelLimit) {
    const Format format = formatOf(bytes);
    if (format == Format::Unknown)
        return {std::nullopt, "\"" + name + "\" is not a PNG, JPEG or TIFF picture."};
    Job job;
    job.data = reinterpret_cast<const unsigned char*>(bytes.data());
    job.size = bytes.size();
    job.pixelLimit = pixelLimit;
    try {
        if (format == Format::Png)
            decodePng(job);
        else if (format == Format::Jpeg)
            decodeJpeg(job);
        else
            decodeTiff(job);
    } catch (const std::bad_alloc&) {
        job.problem = outOfMemory;
    }
    if (job.failed())
        return {std::nullopt, "\"" + name + "\" cannot be read as a " + formatName(format) +
                                  " picture: " + job.why() + "."};
    return {std::move(job.picture), {}};
}

Loaded<Picture> readPicture(const std::string& path, std::uint64_t pixelLimit) {
    FileText file = readWholeFile(path, pictureFileLimit);
    if (file.status != FileRead::Ok)
        return {std::nullopt,
                "\"" + path + "\" " + readFailure(file.status, pictureFileLimit) + "."};
    return readPictureBytes(file.text, path, pixelLimit);
}

} // namespace huelinx::photo

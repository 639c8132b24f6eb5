// Writing pictures: 16-bit PNG and TIFF and 8-bit JPEG, each encoded into
// memory by libpng, libtiff or libjpeg-turbo and then put in place whole, so
// a failed write leaves the file as it was. As when reading, the libraries'
// longjmp lands in a function that holds no object with a destructor.
#include "photo/picture.h"

#include "files/file_write.h"

#include <algorithm>
#include <bit>
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

// Why a picture can't be written, or empty.
std::string shapeProblem(const Picture& picture, int sideLimit) {
    if (picture.width <= 0 || picture.height <= 0 || picture.width > sideLimit ||
        picture.height > sideLimit)
        return "a picture of " + std::to_string(picture.width) + " x " +
               std::to_string(picture.height) + " pixels can't be written";
    if (picture.samples.size() != 3 * picture.pixelCount())
        return "the picture holds " + std::to_string(picture.samples.size()) +
               " samples, not three for each of its pixels";
    return {};
}

Result failure(const std::string& path, const std::string& why) {
    return {false, "\"" + path + "\" was not written: " + why + "."};
}

Result put(const std::string& path, std::string_view bytes) {
    return replaceFile(path, bytes);
}

// What an encoder gives back: the file's bytes, or why not.
struct Encoding16 {
    const Picture* picture = nullptr;
    std::string bytes;
    std::vector<unsigned char> row; // JPEG: one row of 8-bit values
    char fault[JMSG_LENGTH_MAX + 64] = {};
};

// --- PNG ----------------------------------------------------------------------

void pngAppend(png_structp png, png_bytep data, png_size_t length) {
    auto& job = *static_cast<Encoding16*>(png_get_io_ptr(png));
    bool full = false;
    try {
        job.bytes.append(reinterpret_cast<const char*>(data), length);
    } catch (const std::bad_alloc&) {
        full = true;
    }
    if (full) png_error(png, "there is not enough memory to encode it");
}
void pngFlush(png_structp) {}
void pngFault(png_structp png, png_const_charp text) {
    auto& job = *static_cast<Encoding16*>(png_get_error_ptr(png));
    std::snprintf(job.fault, sizeof job.fault, "%s", text);
    png_longjmp(png, 1);
}
void pngWarning(png_structp, png_const_charp) {}

// Holds no object with a destructor: see the note at the top.
void encodePng(Encoding16& job) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &job, pngFault, pngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        std::snprintf(job.fault, sizeof job.fault, "there is not enough memory to encode it");
        return;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return;
    }
    const Picture& picture = *job.picture;
    png_set_write_fn(png, &job, pngAppend, pngFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width),
                 static_cast<png_uint_32>(picture.height), 16, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // One filter and fast deflate: a 24-megapixel picture is written in a
    // fifth of the time of libpng's defaults, for a file a few percent larger.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    // PNG holds 16-bit values big-endian; libpng swaps a copy of each row.
    if constexpr (std::endian::native == std::endian::little) png_set_swap(png);
    for (int y = 0; y < picture.height; ++y)
        png_write_row(png, reinterpret_cast<png_const_bytep>(picture.at(0, y)));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
}

// --- TIFF ---------------------------------------------------------------------

struct TiffOutput {
    std::string bytes;
    std::size_t position = 0;
    std::string fault;
};

tmsize_t tiffRead(thandle_t handle, void* out, tmsize_t size) {
    auto& file = *static_cast<TiffOutput*>(handle);
    if (size < 0) return -1;
    const std::size_t count =
        std::min(static_cast<std::size_t>(size),
                 file.bytes.size() - std::min(file.position, file.bytes.size()));
    std::memcpy(out, file.bytes.data() + file.position, count);
    file.position += count;
    return static_cast<tmsize_t>(count);
}
tmsize_t tiffWrite(thandle_t handle, void* data, tmsize_t size) {
    auto& file = *static_cast<TiffOutput*>(handle);
    if (size < 0) return -1;
    try {
        const auto count = static_cast<std::size_t>(size);
        if (file.bytes.size() < file.position + count) file.bytes.resize(file.position + count);
        std::memcpy(file.bytes.data() + file.position, data, count);
        file.position += count;
        return size;
    } catch (const std::bad_alloc&) {
        return -1;
    }
}
toff_t tiffSeek(thandle_t handle, toff_t offset, int whence) {
    auto& file = *static_cast<TiffOutput*>(handle);
    const toff_t base = whence == SEEK_CUR   ? file.position
                        : whence == SEEK_END ? file.bytes.size()
                                             : 0;
    file.position = static_cast<std::size_t>(base + offset); // a write there fills the gap
    return file.position;
}
int tiffClose(thandle_t) {
    return 0;
}
toff_t tiffSize(thandle_t handle) {
    return static_cast<TiffOutput*>(handle)->bytes.size();
}
int tiffMap(thandle_t, void**, toff_t*) {
    return 0;
}
void tiffUnmap(thandle_t, void*, toff_t) {}
int tiffFault(TIFF*, void* user, const char*, const char* format, va_list args) {
    auto& file = *static_cast<TiffOutput*>(user);
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    if (file.fault.empty()) file.fault = text;
    return 1;
}
int tiffWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

// Tags and rows of a 16-bit RGB picture; false when libtiff refuses any.
bool encodeTiff(TIFF* tiff, const Picture& picture, TiffCompression compression) {
    const bool deflate = compression == TiffCompression::Deflate;
    bool ok = TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(picture.width)) &&
              TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(picture.height)) &&
              TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 16) &&
              TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3) &&
              TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB) &&
              TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
              TIFFSetField(tiff, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_UINT) &&
              TIFFSetField(tiff, TIFFTAG_COMPRESSION,
                           deflate ? COMPRESSION_ADOBE_DEFLATE : COMPRESSION_NONE) &&
              TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0));
    if (ok && deflate) ok = TIFFSetField(tiff, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    // libtiff encodes from a row buffer of its own, so the picture is untouched.
    std::vector<std::uint16_t> row(3 * static_cast<std::size_t>(picture.width));
    for (int y = 0; ok && y < picture.height; ++y) {
        std::copy_n(picture.at(0, y), row.size(), row.begin());
        ok = TIFFWriteScanline(tiff, row.data(), static_cast<std::uint32_t>(y), 0) == 1;
    }
    return ok && TIFFWriteDirectory(tiff);
}

// --- JPEG ---------------------------------------------------------------------

struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    Encoding16* job;
};

[[noreturn]] void jpegFault(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
    char text[JMSG_LENGTH_MAX];
    cinfo->err->format_message(cinfo, text);
    std::snprintf(errors->job->fault, sizeof errors->job->fault, "%s", text);
    std::longjmp(errors->jump, 1);
}
void jpegMessage(j_common_ptr, int) {}

// Holds no object with a destructor: see the note at the top. The encoder's
// output buffer is malloc'd by libjpeg and handed over here.
void encodeJpeg(Encoding16& job, int quality, unsigned char** out, unsigned long* size) {
    jpeg_compress_struct cinfo;
    JpegErrors errors;
    cinfo.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jpegFault;
    errors.manager.emit_message = jpegMessage;
    errors.job = &job;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&cinfo);
        return;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, out, size);
    const Picture& picture = *job.picture;
    cinfo.image_width = static_cast<JDIMENSION>(picture.width);
    cinfo.image_height = static_cast<JDIMENSION>(picture.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        const std::uint16_t* in = picture.at(0, static_cast<int>(cinfo.next_scanline));
        for (std::size_t i = 0; i < job.row.size(); ++i)
            job.row[i] = static_cast<unsigned char>(in[i] >> 8);
        JSAMPROW row = job.row.data();
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
}

} // namespace

Result writePng16(const std::string& path, const Picture& picture) {
    if (std::string why = shapeProblem(picture, 1'000'000); !why.empty()) return failure(path, why);
    Encoding16 job;
    job.picture = &picture;
    try {
        encodePng(job);
    } catch (const std::bad_alloc&) {
        return failure(path, "there is not enough memory to encode it");
    }
    if (job.fault[0] != '\0') return failure(path, job.fault);
    return put(path, job.bytes);
}

Result writeTiff16(const std::string& path, const Picture& picture, TiffCompression compression) {
    if (std::string why = shapeProblem(picture, 1'000'000); !why.empty()) return failure(path, why);
    TiffOutput file;
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options) return failure(path, "there is not enough memory to encode it");
    TIFFOpenOptionsSetErrorHandlerExtR(options, tiffFault, &file);
    TIFFOpenOptionsSetWarningHandlerExtR(options, tiffWarning, &file);
    TIFF* tiff = TIFFClientOpenExt("picture", "w", &file, tiffRead, tiffWrite, tiffSeek, tiffClose,
                                   tiffSize, tiffMap, tiffUnmap, options);
    TIFFOpenOptionsFree(options);
    if (!tiff) return failure(path, file.fault.empty() ? "libtiff can't start it" : file.fault);
    bool ok = false;
    try {
        ok = encodeTiff(tiff, picture, compression);
    } catch (const std::bad_alloc&) {
        file.fault = "there is not enough memory to encode it";
    }
    TIFFClose(tiff);
    if (!ok || !file.fault.empty())
        return failure(path, file.fault.empty() ? "libtiff refused it" : file.fault);
    return put(path, file.bytes);
}

Result writeJpeg(const std::string& path, const Picture& picture, int quality) {
    if (quality < 1 || quality > 100)
        return failure(path, "the quality " + std::to_string(quality) + " is not 1 to 100");
    if (std::string why = shapeProblem(picture, JPEG_MAX_DIMENSION); !why.empty())
        return failure(path, why);
    Encoding16 job;
    job.picture = &picture;
    unsigned char* out = nullptr;
    unsigned long size = 0;
    try {
        job.row.resize(3 * static_cast<std::size_t>(picture.width));
        encodeJpeg(job, quality, &out, &size);
    } catch (const std::bad_alloc&) {
        std::snprintf(job.fault, sizeof job.fault, "there is not enough memory to encode it");
    }
    Result result = job.fault[0] != '\0'
                        ? failure(path, job.fault)
                        : put(path, std::string_view(reinterpret_cast<const char*>(out), size));
    std::free(out);
    return result;
}

} // namespace huelinx::photo

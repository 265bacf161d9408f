// Reading and writing PNG files through libpng, with libpng's errors turned into failed results.
#include "platform/graphics/png_io.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <memory>

#include "platform/base/rect.h"
#include "platform/files/regular_file.h"

namespace platform {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// libpng reports errors by calling this, which must not return; it jumps back to the setjmp in
// the one function of each direction that calls libpng. Messages are dropped: a bad file is an
// ordinary outcome for the callers, not something to print.
[[noreturn]] void JumpOnError(png_structp png, png_const_charp /*message*/) { png_longjmp(png, 1); }
void IgnoreWarning(png_structp /*png*/, png_const_charp /*message*/) {}

// Owns the read structures; declared outside the setjmp functions so that its destructor runs
// normally whether or not libpng jumped.
class PngReader {
  public:
    PngReader()
        : png_(png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpOnError, IgnoreWarning)),
          info_(png_ != nullptr ? png_create_info_struct(png_) : nullptr) {}
    ~PngReader() { png_destroy_read_struct(&png_, info_ != nullptr ? &info_ : nullptr, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    bool Valid() const { return png_ != nullptr && info_ != nullptr; }
    png_structp Png() const { return png_; }
    png_infop Info() const { return info_; }

  private:
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

class PngWriter {
  public:
    PngWriter()
        : png_(png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpOnError, IgnoreWarning)),
          info_(png_ != nullptr ? png_create_info_struct(png_) : nullptr) {}
    ~PngWriter() { png_destroy_write_struct(&png_, info_ != nullptr ? &info_ : nullptr); }
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;

    bool Valid() const { return png_ != nullptr && info_ != nullptr; }
    png_structp Png() const { return png_; }
    png_infop Info() const { return info_; }

  private:
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

// The file behind libpng's reads: a regular file, read no further than the size limit.
struct PngSource {
    int descriptor = -1;
    std::size_t budget = kMaxPngFileSize;
};

void ReadFromSource(png_structp png, png_bytep data, png_size_t length) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (length > source->budget) png_error(png, "file too large");
    const long long got = ReadFully(source->descriptor, reinterpret_cast<char*>(data), length);
    if (got < 0 || static_cast<png_size_t>(got) != length) png_error(png, "file cut short");
    source->budget -= length;
}

// Ancillary chunks (text, colour profiles) are skipped beyond this size, and their number is
// bounded, so that a small file cannot make libpng hold much memory.
constexpr png_alloc_size_t kMaxChunkBytes = 1 << 20;
constexpr png_uint_32 kMaxCachedChunks = 64;

// Everything the setjmp function touches lives here, in the caller's frame: objects with
// destructors must not be live in a frame that longjmp leaves.
struct ReadJob {
    png_structp png = nullptr;
    png_infop info = nullptr;
    PngRowSink* sink = nullptr;
    std::vector<std::uint32_t>* pixels = nullptr;  // one row, or the whole interlaced image
    std::vector<png_bytep>* rows = nullptr;        // the interlaced image's rows
    png_uint_32 width = 0;
    png_uint_32 height = 0;
};

bool SizeWithinLimits(png_uint_32 width, png_uint_32 height) {
    if (width == 0 || height == 0) return false;
    if (width > static_cast<png_uint_32>(Surface::kMaxSide) ||
        height > static_cast<png_uint_32>(Surface::kMaxSide)) {
        return false;
    }
    return static_cast<std::int64_t>(width) * height <= Surface::kMaxPixels;
}

// Sizes the buffers once the header is known. Not inlined into the setjmp function so the
// vectors' growth happens in a frame of its own (and a bad_alloc leaves through normal
// unwinding, before libpng is called again).
void PrepareBuffers(ReadJob& job, bool wholeImage) {
    const std::size_t rows = wholeImage ? job.height : 1;
    job.pixels->resize(static_cast<std::size_t>(job.width) * rows);
    if (!wholeImage) return;
    job.rows->resize(job.height);
    for (png_uint_32 y = 0; y < job.height; ++y) {
        (*job.rows)[y] =
            reinterpret_cast<png_bytep>(job.pixels->data() + std::size_t{job.width} * y);
    }
}

// RGBA bytes, as libpng writes them, to 0xAARRGGBB pixels, in place.
void RgbaBytesToArgb(std::uint32_t* pixels, std::size_t count) {
    for (std::size_t index = 0; index < count; ++index) {
        const auto* bytes = reinterpret_cast<const png_byte*>(pixels + index);
        pixels[index] = (static_cast<std::uint32_t>(bytes[3]) << 24) |
                        (static_cast<std::uint32_t>(bytes[0]) << 16) |
                        (static_cast<std::uint32_t>(bytes[1]) << 8) | bytes[2];
    }
}

// Decodes into 8-bit RGBA and hands the rows to the sink. Only plain data is live across setjmp.
bool DecodeRows(ReadJob* job) {
    if (setjmp(png_jmpbuf(job->png)) != 0) return false;
    png_set_user_limits(job->png, static_cast<png_uint_32>(Surface::kMaxSide),
                        static_cast<png_uint_32>(Surface::kMaxSide));
    png_set_chunk_malloc_max(job->png, kMaxChunkBytes);
    png_set_chunk_cache_max(job->png, kMaxCachedChunks);
    png_read_info(job->png, job->info);
    job->width = png_get_image_width(job->png, job->info);
    job->height = png_get_image_height(job->png, job->info);
    if (!SizeWithinLimits(job->width, job->height)) return false;

    const png_byte colorType = png_get_color_type(job->png, job->info);
    // Palette and low-depth grey to 8 bits, tRNS to an alpha channel.
    png_set_expand(job->png);
    png_set_scale_16(job->png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_gray_to_rgb(job->png);
    }
    png_set_add_alpha(job->png, 0xFF, PNG_FILLER_AFTER);
    const bool interlaced = png_set_interlace_handling(job->png) > 1;
    png_read_update_info(job->png, job->info);
    if (png_get_rowbytes(job->png, job->info) != static_cast<std::size_t>(job->width) * 4) {
        return false;
    }
    const int width = static_cast<int>(job->width);
    const int height = static_cast<int>(job->height);
    if (!job->sink->Begin(width, height, interlaced)) return false;
    PrepareBuffers(*job, interlaced);
    if (interlaced) {
        png_read_image(job->png, job->rows->data());
        RgbaBytesToArgb(job->pixels->data(), job->pixels->size());
        for (int y = 0; y < height; ++y) {
            job->sink->Row(y, job->pixels->data() + static_cast<std::size_t>(width) * y);
        }
    } else {
        for (int y = 0; y < height; ++y) {
            png_read_row(job->png, reinterpret_cast<png_bytep>(job->pixels->data()), nullptr);
            RgbaBytesToArgb(job->pixels->data(), job->pixels->size());
            job->sink->Row(y, job->pixels->data());
        }
    }
    // Reading to the end rejects files cut off after the image data.
    png_read_end(job->png, nullptr);
    return true;
}

// Collects the rows into one image. It grows with the rows that arrive, not with the size the
// header claims: a file whose data ends early costs what it held.
class WholeImage final : public PngRowSink {
  public:
    bool Begin(int width, int height, bool /*interlaced*/) override {
        image.width = width;
        image.height = height;
        return true;
    }
    // Rows come in order, each once.
    void Row(int /*y*/, const std::uint32_t* pixels) override {
        image.pixels.insert(image.pixels.end(), pixels, pixels + image.width);
    }
    RgbaImage image;
};

// One row of the picture being written, as the bytes libpng takes (RGB or RGBA).
using RowFiller = void (*)(const void* source, int y, png_bytep out);

struct WriteJob {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::FILE* file = nullptr;
    int width = 0;
    int height = 0;
    int colorType = PNG_COLOR_TYPE_RGB;
    RowFiller fill = nullptr;
    const void* source = nullptr;
    png_bytep row = nullptr;  // width * channels bytes
};

bool EncodeRows(WriteJob* job) {
    if (setjmp(png_jmpbuf(job->png)) != 0) return false;
    png_init_io(job->png, job->file);
    png_set_IHDR(job->png, job->info, static_cast<png_uint_32>(job->width),
                 static_cast<png_uint_32>(job->height), 8, job->colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Snapshots are written often by tests; fast compression is plenty.
    png_set_compression_level(job->png, 3);
    png_write_info(job->png, job->info);
    for (int y = 0; y < job->height; ++y) {
        job->fill(job->source, y, job->row);
        png_write_row(job->png, job->row);
    }
    png_write_end(job->png, nullptr);
    return true;
}

// Written beside the target and renamed over it, so a reader never sees half a file.
bool WriteRows(const std::string& path, int width, int height, bool alpha, RowFiller fill,
               const void* source) {
    const std::string temporaryPath = path + ".tmp";
    FileHandle file(std::fopen(temporaryPath.c_str(), "wbe"));
    if (!file) return false;
    PngWriter writer;
    std::vector<png_byte> row(static_cast<std::size_t>(width) * (alpha ? 4 : 3));
    WriteJob job;
    job.png = writer.Png();
    job.info = writer.Info();
    job.file = file.get();
    job.width = width;
    job.height = height;
    job.colorType = alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    job.fill = fill;
    job.source = source;
    job.row = row.data();
    bool written = writer.Valid() && EncodeRows(&job);
    written = std::fclose(file.release()) == 0 && written;
    if (written) written = std::rename(temporaryPath.c_str(), path.c_str()) == 0;
    if (!written) std::remove(temporaryPath.c_str());
    return written;
}

struct SurfaceArea {
    const Surface* surface = nullptr;
    RECT area{};
};

void FillRgbFromSurface(const void* source, int y, png_bytep out) {
    const auto* from = static_cast<const SurfaceArea*>(source);
    const Pixel* pixels = from->surface->Row(from->area.top + y) + from->area.left;
    for (int x = 0; x < from->area.right - from->area.left; ++x) {
        *out++ = static_cast<png_byte>(pixels[x] >> 16);
        *out++ = static_cast<png_byte>(pixels[x] >> 8);
        *out++ = static_cast<png_byte>(pixels[x]);
    }
}

void FillRgbaFromImage(const void* source, int y, png_bytep out) {
    const auto* image = static_cast<const RgbaImage*>(source);
    const std::uint32_t* pixels = image->pixels.data() + static_cast<std::size_t>(image->width) * y;
    for (int x = 0; x < image->width; ++x) {
        *out++ = static_cast<png_byte>(pixels[x] >> 16);
        *out++ = static_cast<png_byte>(pixels[x] >> 8);
        *out++ = static_cast<png_byte>(pixels[x]);
        *out++ = static_cast<png_byte>(pixels[x] >> 24);
    }
}

}  // namespace

bool DecodePng(const std::string& path, PngRowSink& sink) {
    const FileDescriptor file = OpenRegularFile(path);
    if (!file.Valid()) return false;
    PngReader reader;
    if (!reader.Valid()) return false;
    PngSource source{file.Get()};
    png_set_read_fn(reader.Png(), &source, ReadFromSource);
    std::vector<std::uint32_t> pixels;
    std::vector<png_bytep> rows;
    ReadJob job{reader.Png(), reader.Info(), &sink, &pixels, &rows};
    return DecodeRows(&job);
}

std::optional<RgbaImage> ReadPng(const std::string& path) {
    WholeImage whole;
    if (!DecodePng(path, whole)) return std::nullopt;
    return std::move(whole.image);
}

bool WritePng(const std::string& path, const Surface& surface, const RECT& area) {
    SurfaceArea source{&surface};
    const RECT bounds = surface.Bounds();
    if (!IntersectRect(&source.area, &area, &bounds)) return false;
    return WriteRows(path, source.area.right - source.area.left,
                     source.area.bottom - source.area.top, false, FillRgbFromSurface, &source);
}

bool WritePngWithAlpha(const std::string& path, const RgbaImage& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height) {
        return false;
    }
    return WriteRows(path, image.width, image.height, true, FillRgbaFromImage, &image);
}

}  // namespace platform

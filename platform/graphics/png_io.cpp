// Reading and writing PNG files through libpng, with libpng's errors turned into failed results.
#include "platform/graphics/png_io.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>

#include "platform/base/rect.h"

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

// Everything the setjmp functions touch lives here, in the caller's frame: objects with
// destructors must not be live in a frame that longjmp leaves.
struct ReadJob {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::FILE* file = nullptr;
    std::vector<png_byte>* rgba = nullptr;  // filled with width * height * 4 bytes
    std::vector<png_bytep>* rows = nullptr;
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

// Sizes the output buffers once the header is known. Not inlined into the setjmp function so
// the vectors' growth happens in a frame of its own (and a bad_alloc leaves through normal
// unwinding, before libpng is called again).
bool PrepareRows(ReadJob& job) {
    const std::size_t rowBytes = static_cast<std::size_t>(job.width) * 4;
    job.rgba->resize(rowBytes * job.height);
    job.rows->resize(job.height);
    for (png_uint_32 y = 0; y < job.height; ++y) {
        (*job.rows)[y] = job.rgba->data() + rowBytes * y;
    }
    return true;
}

// Decodes into 8-bit RGBA. Only plain data is live across setjmp here.
bool DecodeRgba(ReadJob* job) {
    if (setjmp(png_jmpbuf(job->png)) != 0) return false;
    png_set_user_limits(job->png, static_cast<png_uint_32>(Surface::kMaxSide),
                        static_cast<png_uint_32>(Surface::kMaxSide));
    png_init_io(job->png, job->file);
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
    png_set_interlace_handling(job->png);
    png_read_update_info(job->png, job->info);
    if (png_get_rowbytes(job->png, job->info) != static_cast<std::size_t>(job->width) * 4) {
        return false;
    }
    if (!PrepareRows(*job)) return false;
    png_read_image(job->png, job->rows->data());
    // Reading to the end rejects files cut off after the image data.
    png_read_end(job->png, nullptr);
    return true;
}

struct WriteJob {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::FILE* file = nullptr;
    const Surface* surface = nullptr;
    RECT area{};
    png_bytep row = nullptr;  // area width * 3 bytes
};

bool EncodeRgb(WriteJob* job) {
    if (setjmp(png_jmpbuf(job->png)) != 0) return false;
    const int width = job->area.right - job->area.left;
    const int height = job->area.bottom - job->area.top;
    png_init_io(job->png, job->file);
    png_set_IHDR(job->png, job->info, static_cast<png_uint_32>(width),
                 static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Snapshots are written often by tests; fast compression is plenty.
    png_set_compression_level(job->png, 3);
    png_write_info(job->png, job->info);
    for (int y = job->area.top; y < job->area.bottom; ++y) {
        const Pixel* source = job->surface->Row(y) + job->area.left;
        png_bytep out = job->row;
        for (int x = 0; x < width; ++x) {
            const Pixel pixel = source[x];
            *out++ = static_cast<png_byte>(pixel >> 16);
            *out++ = static_cast<png_byte>(pixel >> 8);
            *out++ = static_cast<png_byte>(pixel);
        }
        png_write_row(job->png, job->row);
    }
    png_write_end(job->png, nullptr);
    return true;
}

}  // namespace

std::optional<RgbaImage> ReadPng(const std::string& path) {
    FileHandle file(std::fopen(path.c_str(), "rbe"));
    if (!file) return std::nullopt;
    png_byte signature[8] = {};
    if (std::fread(signature, 1, sizeof signature, file.get()) != sizeof signature ||
        png_sig_cmp(signature, 0, sizeof signature) != 0) {
        return std::nullopt;
    }
    PngReader reader;
    if (!reader.Valid()) return std::nullopt;
    png_set_sig_bytes(reader.Png(), sizeof signature);

    std::vector<png_byte> rgba;
    std::vector<png_bytep> rows;
    ReadJob job{reader.Png(), reader.Info(), file.get(), &rgba, &rows};
    if (!DecodeRgba(&job)) return std::nullopt;

    RgbaImage image;
    image.width = static_cast<int>(job.width);
    image.height = static_cast<int>(job.height);
    image.pixels.resize(static_cast<std::size_t>(job.width) * job.height);
    const png_byte* in = rgba.data();
    for (std::uint32_t& pixel : image.pixels) {
        pixel = (static_cast<std::uint32_t>(in[3]) << 24) |
                (static_cast<std::uint32_t>(in[0]) << 16) |
                (static_cast<std::uint32_t>(in[1]) << 8) | in[2];
        in += 4;
    }
    return image;
}

bool WritePng(const std::string& path, const Surface& surface, const RECT& area) {
    RECT clipped{};
    const RECT bounds = surface.Bounds();
    if (!IntersectRect(&clipped, &area, &bounds)) return false;

    // Written beside the target and renamed over it, so a reader never sees half a file.
    const std::string temporaryPath = path + ".tmp";
    FileHandle file(std::fopen(temporaryPath.c_str(), "wbe"));
    if (!file) return false;
    PngWriter writer;
    std::vector<png_byte> row(static_cast<std::size_t>(clipped.right - clipped.left) * 3);
    WriteJob job{writer.Png(), writer.Info(), file.get(), &surface, clipped, row.data()};
    bool written = writer.Valid() && EncodeRgb(&job);
    written = std::fclose(file.release()) == 0 && written;
    if (written) written = std::rename(temporaryPath.c_str(), path.c_str()) == 0;
    if (!written) std::remove(temporaryPath.c_str());
    return written;
}

}  // namespace platform

// Reading and writing PNG files (through libpng), for icons and window snapshots.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/surface.h"

namespace platform {

// Straight (not premultiplied) pixels, 0xAARRGGBB, row by row.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// PNG files larger than this are not read: an icon or a snapshot is far smaller.
constexpr std::size_t kMaxPngFileSize = std::size_t{32} << 20;

// Receives a PNG image row by row while it is decoded.
class PngRowSink {
  public:
    virtual ~PngRowSink() = default;
    // The image's size, before any row; false refuses the image. An interlaced image is held
    // whole while it is decoded and comes row by row only afterwards.
    virtual bool Begin(int width, int height, bool interlaced) = 0;
    // Row y (top to bottom, each once) as straight 0xAARRGGBB pixels.
    virtual void Row(int y, const std::uint32_t* pixels) = 0;
};

// Decodes any PNG colour type and bit depth into the sink, holding one row at a time (the whole
// image only when it is interlaced). False for a missing, corrupt or truncated file, one that is
// no regular file or larger than kMaxPngFileSize, an image beyond the surface limits, or one the
// sink refused. The file is read only up to the end of its image data.
bool DecodePng(const std::string& path, PngRowSink& sink);

// The whole image; nullopt where DecodePng fails. It takes memory as rows arrive, never for more
// rows than the file holds.
std::optional<RgbaImage> ReadPng(const std::string& path);
// Writes `area` of the surface as an opaque RGB PNG; false when the file cannot be written.
bool WritePng(const std::string& path, const Surface& surface, const RECT& area);
// Writes the image with its alpha channel (RGBA), as icon files need; false when the file cannot
// be written or the pixels do not match the size.
bool WritePngWithAlpha(const std::string& path, const RgbaImage& image);

}  // namespace platform

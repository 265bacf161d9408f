// Surface: an owned 32-bit pixel buffer (0x00RRGGBB per pixel) with fill and copy primitives.
// Everything that is drawn ends up in a surface: window pictures and memory bitmaps alike.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/base/win_types.h"

namespace platform {

using Pixel = std::uint32_t;

// COLORREF is 0x00BBGGRR; pixels are 0x00RRGGBB.
constexpr Pixel PixelFromColor(COLORREF color) {
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}
constexpr COLORREF ColorFromPixel(Pixel pixel) {
    return ((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | ((pixel & 0xFF) << 16);
}

class Surface {
  public:
    // Largest side and area a surface may have; larger requests fail instead of exhausting memory.
    static constexpr int kMaxSide = 16384;
    static constexpr std::int64_t kMaxPixels = 64LL * 1024 * 1024;
    // Whether a surface of that size is within the limits (both sides at least 1).
    static constexpr bool Fits(std::int64_t width, std::int64_t height) {
        return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
               width * height <= kMaxPixels;
    }

    // Fails (nullopt) for a width or height of 0 or less, or beyond the limits above.
    // The content of a new surface is unspecified: buffers are recycled between surfaces of the
    // same size, because painting creates and drops a frame-sized bitmap for every paint.
    static std::optional<Surface> Create(int width, int height);
    // As Create, but every pixel is 0 (black). Fresh memory is zero already and is left
    // untouched, so a window's picture costs no page until something is drawn into it.
    static std::optional<Surface> CreateBlack(int width, int height);

    Surface(Surface&& other) noexcept;
    Surface& operator=(Surface&& other) noexcept;
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    ~Surface();

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Stride() const { return width_; }  // in pixels
    RECT Bounds() const { return RECT{0, 0, width_, height_}; }

    Pixel* Row(int y) { return pixels_.get() + static_cast<std::ptrdiff_t>(y) * width_; }
    const Pixel* Row(int y) const {
        return pixels_.get() + static_cast<std::ptrdiff_t>(y) * width_;
    }
    Pixel At(int x, int y) const { return Row(y)[x]; }

    // Maps all of the surface's memory now, when it is about to be drawn whole (a window being
    // shown): one call instead of a page fault for every page on first write.
    void MapPagesForWriting();

    // Fills the part of `area` that lies inside the surface.
    void Fill(const RECT& area, Pixel pixel);
    // Copies `width` x `height` pixels from `source` at (sourceX, sourceY) to (x, y) here, after
    // clipping both sides to their bounds and the destination also to `clip`. The source may be
    // this surface, with overlapping areas.
    void CopyFrom(const Surface& source, int sourceX, int sourceY, int x, int y, int width,
                  int height, const RECT& clip);

    // Pixels come from malloc or calloc (calloc's fresh pages need no clearing).
    struct PixelsFree {
        void operator()(Pixel* pixels) const;
    };
    using Pixels = std::unique_ptr<Pixel[], PixelsFree>;

  private:
    Surface(int width, int height, Pixels pixels);
    void Release();

    int width_ = 0;
    int height_ = 0;
    Pixels pixels_;
};

}  // namespace platform

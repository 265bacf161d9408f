#include "platform/graphics/surface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/base/memory_pages.h"
#include "platform/base/rect.h"

namespace platform {
namespace {

// Set when the pool is destroyed at exit. Surfaces owned by other process-wide tables (the stock
// bitmap in the object table) may be released after that, and then free their buffers directly.
bool poolDestroyed = false;

// Recently dropped pixel buffers, kept for the next surface of the same size. Painting makes and
// drops an off-screen bitmap of the window's size for every paint; recycling keeps that from
// touching the allocator (and fresh, unmapped memory) on every frame.
class BufferPool {
  public:
    BufferPool() = default;
    BufferPool(const BufferPool&) = delete;
    BufferPool& operator=(const BufferPool&) = delete;
    ~BufferPool() { poolDestroyed = true; }

    Surface::Pixels Take(std::int64_t count) {
        for (auto entry = entries_.begin(); entry != entries_.end(); ++entry) {
            if (entry->count == count) {
                auto pixels = std::move(entry->pixels);
                entries_.erase(entry);
                return pixels;
            }
        }
        return nullptr;
    }

    void Give(Surface::Pixels pixels, std::int64_t count) {
        if (count * static_cast<std::int64_t>(sizeof(Pixel)) > kMaxPooledBytes) return;
        if (entries_.size() >= kMaxEntries) entries_.erase(entries_.begin());
        entries_.push_back({std::move(pixels), count});
    }

  private:
    static constexpr std::size_t kMaxEntries = 4;
    static constexpr std::int64_t kMaxPooledBytes = 64LL * 1024 * 1024;
    struct Entry {
        Surface::Pixels pixels;
        std::int64_t count;
    };
    std::vector<Entry> entries_;
};

BufferPool& Pool() {
    static BufferPool pool;
    return pool;
}

}  // namespace

std::optional<Surface> Surface::Create(int width, int height) {
    if (!Fits(width, height)) return std::nullopt;
    const std::int64_t count = static_cast<std::int64_t>(width) * height;
    Pixels pixels = Pool().Take(count);
    if (!pixels) {
        pixels.reset(
            static_cast<Pixel*>(std::malloc(static_cast<std::size_t>(count) * sizeof(Pixel))));
        if (!pixels) return std::nullopt;
        // A bitmap is made to be drawn into: its fresh pages all mapped at once.
        platform::MapPagesForWriting(pixels.get(), static_cast<std::size_t>(count) * sizeof(Pixel));
    }
    return Surface(width, height, std::move(pixels));
}

std::optional<Surface> Surface::CreateBlack(int width, int height) {
    if (!Fits(width, height)) return std::nullopt;
    const std::int64_t count = static_cast<std::int64_t>(width) * height;
    if (Pixels pixels = Pool().Take(count)) {
        Surface surface(width, height, std::move(pixels));
        surface.Fill(surface.Bounds(), 0);
        return surface;
    }
    Pixels pixels(static_cast<Pixel*>(std::calloc(static_cast<std::size_t>(count), sizeof(Pixel))));
    if (!pixels) return std::nullopt;
    return Surface(width, height, std::move(pixels));
}

void Surface::MapPagesForWriting() {
    platform::MapPagesForWriting(pixels_.get(),
                                 static_cast<std::size_t>(width_) * height_ * sizeof(Pixel));
}

void Surface::PixelsFree::operator()(Pixel* pixels) const { std::free(pixels); }

Surface::Surface(int width, int height, Pixels pixels)
    : width_(width), height_(height), pixels_(std::move(pixels)) {}

Surface::Surface(Surface&& other) noexcept
    : width_(other.width_), height_(other.height_), pixels_(std::move(other.pixels_)) {
    other.width_ = 0;
    other.height_ = 0;
}

Surface& Surface::operator=(Surface&& other) noexcept {
    if (this != &other) {
        Release();
        width_ = other.width_;
        height_ = other.height_;
        pixels_ = std::move(other.pixels_);
        other.width_ = 0;
        other.height_ = 0;
    }
    return *this;
}

Surface::~Surface() { Release(); }

void Surface::Release() {
    if (pixels_ && !poolDestroyed) {
        Pool().Give(std::move(pixels_), static_cast<std::int64_t>(width_) * height_);
    }
    pixels_.reset();
    width_ = 0;
    height_ = 0;
}

void Surface::Fill(const RECT& area, Pixel pixel) {
    RECT bounds = Bounds();
    RECT target{};
    if (!IntersectRect(&target, &area, &bounds)) return;
    const auto width = static_cast<std::size_t>(target.right - target.left);
    const auto rows = static_cast<std::size_t>(target.bottom - target.top);
    const std::size_t rowBytes = width * sizeof(Pixel);
    const bool wholeRows = static_cast<int>(width) == width_;
    // A pixel of four equal bytes (black, white, greys) is a plain memset.
    const auto lowByte = static_cast<unsigned char>(pixel & 0xFF);
    if (pixel == lowByte * 0x01010101u) {
        if (wholeRows) {
            std::memset(Row(target.top), lowByte, rowBytes * rows);
        } else {
            for (int y = target.top; y < target.bottom; ++y) {
                std::memset(Row(y) + target.left, lowByte, rowBytes);
            }
        }
        return;
    }
    // Otherwise fill one row and copy it: the library's copy is much faster than a pixel loop.
    Pixel* first = Row(target.top) + target.left;
    std::fill_n(first, width, pixel);
    for (int y = target.top + 1; y < target.bottom; ++y) {
        std::memcpy(Row(y) + target.left, first, rowBytes);
    }
}

void Surface::CopyFrom(const Surface& source, int sourceX, int sourceY, int x, int y, int width,
                       int height, const RECT& clip) {
    if (width <= 0 || height <= 0) return;
    // Destination rectangle, limited by the clip, our bounds and the source's bounds.
    RECT target{x, y, x + width, y + height};
    RECT bounds = Bounds();
    if (!IntersectRect(&target, &target, &bounds) || !IntersectRect(&target, &target, &clip)) {
        return;
    }
    const int dx = sourceX - x;
    const int dy = sourceY - y;
    RECT sourceArea{target.left + dx, target.top + dy, target.right + dx, target.bottom + dy};
    RECT sourceBounds = source.Bounds();
    if (!IntersectRect(&sourceArea, &sourceArea, &sourceBounds)) return;
    target = RECT{sourceArea.left - dx, sourceArea.top - dy, sourceArea.right - dx,
                  sourceArea.bottom - dy};

    const int copyWidth = target.right - target.left;
    const int rows = target.bottom - target.top;
    const std::size_t rowBytes = static_cast<std::size_t>(copyWidth) * sizeof(Pixel);
    // Whole rows of equal stride are one block: one memmove handles overlap and is the fastest
    // way to move a frame.
    if (copyWidth == width_ && copyWidth == source.width_) {
        std::memmove(Row(target.top), source.Row(sourceArea.top), rowBytes * rows);
        return;
    }
    const bool sameSurface = &source == this;
    if (sameSurface && dy < 0) {
        // Moving down inside one surface: copy bottom rows first so nothing is read after it
        // was overwritten.
        for (int row = rows - 1; row >= 0; --row) {
            std::memmove(Row(target.top + row) + target.left,
                         source.Row(sourceArea.top + row) + sourceArea.left, rowBytes);
        }
        return;
    }
    for (int row = 0; row < rows; ++row) {
        std::memmove(Row(target.top + row) + target.left,
                     source.Row(sourceArea.top + row) + sourceArea.left, rowBytes);
    }
}

}  // namespace platform

// Surfaces' memory: a black surface is black whether its memory is fresh or recycled from a
// dropped one, and pages about to be drawn are mapped in one go.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/memory_pages.h"
#include "platform/graphics/surface.h"

namespace {

using platform::Pixel;
using platform::Surface;

int PixelsOtherThan(const Surface& surface, Pixel pixel) {
    int count = 0;
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) count += surface.At(x, y) != pixel ? 1 : 0;
    }
    return count;
}

TEST(Surface, BlackSurfacesAreBlackFreshOrRecycledAndTheLimitsHold) {
    constexpr Pixel kRed = 0xFF0000;
    // A window's size (fresh pages from calloc) and a small one (from the heap).
    for (const auto& [width, height] : {std::pair{700, 500}, std::pair{3, 2}}) {
        SCOPED_TRACE(testing::Message() << width << "x" << height);
        {
            std::optional<Surface> painted = Surface::Create(width, height);
            ASSERT_TRUE(painted);
            painted->Fill(painted->Bounds(), kRed);
        }  // its buffer goes to the pool, red
        std::optional<Surface> recycled = Surface::CreateBlack(width, height);
        ASSERT_TRUE(recycled);
        EXPECT_EQ(PixelsOtherThan(*recycled, 0), 0);
        recycled->Fill(recycled->Bounds(), kRed);
        std::optional<Surface> fresh = Surface::CreateBlack(width, height);
        ASSERT_TRUE(fresh);
        EXPECT_EQ(PixelsOtherThan(*fresh, 0), 0);
    }
    EXPECT_FALSE(Surface::CreateBlack(0, 10));
    EXPECT_FALSE(Surface::CreateBlack(Surface::kMaxSide + 1, 1));
    EXPECT_FALSE(Surface::CreateBlack(Surface::kMaxSide, Surface::kMaxSide));
}

TEST(Surface, PagesForWritingAreThoseWhollyInsideTheBufferAndNoOthers) {
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    constexpr std::size_t kPages = 12;
    void* mapped =
        ::mmap(nullptr, kPages * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(mapped, MAP_FAILED);
    auto* region = static_cast<unsigned char*>(mapped);
    if (::madvise(region, page, MADV_POPULATE_WRITE) != 0 && errno == EINVAL) {
        ::munmap(region, kPages * page);
        GTEST_SKIP() << "this kernel cannot map pages ahead (before 5.14)";
    }
    const auto resident = [&] {
        std::vector<unsigned char> pages(kPages);
        ::mincore(region, kPages * page, pages.data());
        std::string map;
        for (const unsigned char flags : pages) map += (flags & 1) != 0 ? '#' : '.';
        return map;
    };
    // Page 0 was mapped by the probe. A buffer from the middle of page 2 to the middle of page 6,
    // one from the start of page 8 to its end exactly, and a buffer within page 10 alone.
    platform::MapPagesForWriting(region + 2 * page + 100, 4 * page);
    platform::MapPagesForWriting(region + 8 * page, page);
    platform::MapPagesForWriting(region + 10 * page + 8, page - 16);
    platform::MapPagesForWriting(nullptr, 4 * page);
    EXPECT_EQ(resident(), "#..###..#...");
    ::munmap(region, kPages * page);
}

}  // namespace

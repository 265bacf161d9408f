// Surfaces: a black surface is black whether its memory is fresh or recycled from a dropped one.
#include <gtest/gtest.h>

#include <optional>
#include <utility>

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

}  // namespace

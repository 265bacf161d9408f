// Presenting through wl_shm buffers, against a compositor that takes only what is damaged and
// holds buffers as real renderers do.
#include <gtest/gtest.h>
#include <wayland-client.h>

#include <chrono>
#include <random>

#include "platform/backends/wayland/wayland_shm_presenter.h"
#include "platform/base/rect.h"
#include "wayland/fake_compositor.h"

namespace {

using platform::Surface;
using platform::WaylandShmPresenter;
using Release = FakeCompositor::Release;

std::vector<std::uint32_t> PixelsOf(const Surface& surface) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < surface.Height(); ++y) {
        pixels.insert(pixels.end(), surface.Row(y), surface.Row(y) + surface.Width());
    }
    return pixels;
}

bool Contains(const RECT& outer, const RECT& inner) {
    return IsRectEmpty(&inner) || (inner.left >= outer.left && inner.top >= outer.top &&
                                   inner.right <= outer.right && inner.bottom <= outer.bottom);
}

TEST(WaylandShmPresenter, EveryFrameShowsThePictureAndSparesTheBuffersTheCompositorHolds) {
    constexpr int kWidth = 64;
    constexpr int kHeight = 48;
    const RECT bounds{0, 0, kWidth, kHeight};
    // A renderer that uploads at once needs one buffer; one that reads while drawing, two.
    for (const auto& [release, buffersNeeded] :
         {std::pair{Release::AfterReading, 1U}, std::pair{Release::OnReplace, 2U}}) {
        SCOPED_TRACE(release == Release::AfterReading ? "released after reading"
                                                      : "released on replacing");
        FakeCompositor compositor;
        compositor.SetRelease(release);
        const auto presenter =
            WaylandShmPresenter::Create(compositor.Client(), compositor.Surface());
        ASSERT_TRUE(presenter);
        std::optional<Surface> picture = Surface::Create(kWidth, kHeight);
        ASSERT_TRUE(picture);
        picture->Fill(bounds, 0x102030);
        ASSERT_TRUE(presenter->Present(*picture, bounds, kWidth, kHeight, nullptr));
        compositor.Sync();

        std::mt19937 random(8);
        std::uniform_int_distribution<int> x(-8, kWidth + 8);
        std::uniform_int_distribution<int> y(-8, kHeight + 8);
        std::uniform_int_distribution<std::uint32_t> colour(0, 0xFFFFFF);
        RECT previous = bounds;
        for (int frame = 0; frame < 80; ++frame) {
            RECT dirty{x(random), y(random), 0, 0};
            dirty.right = dirty.left + 1 + x(random) / 2;
            dirty.bottom = dirty.top + 1 + y(random) / 2;
            picture->Fill(dirty, colour(random));
            const int commitsBefore = compositor.Shown().commits;
            RECT copied{};
            ASSERT_TRUE(presenter->Present(*picture, dirty, kWidth, kHeight, &copied)) << frame;
            compositor.Sync();
            const FakeCompositor::Screen screen = compositor.Shown();
            ASSERT_EQ(screen.pixels, PixelsOf(*picture)) << "frame " << frame;
            ASSERT_EQ(screen.lastBuffer, PixelsOf(*picture)) << "frame " << frame;

            RECT changed{};
            IntersectRect(&changed, &dirty, &bounds);
            if (IsRectEmpty(&changed)) {
                EXPECT_EQ(screen.commits, commitsBefore) << "nothing to show, nothing committed";
                continue;
            }
            EXPECT_EQ(screen.commits, commitsBefore + 1);
            EXPECT_TRUE(EqualRect(&screen.lastDamage, &changed)) << "frame " << frame;
            // A buffer takes what changed since it was last on screen, not the whole picture.
            RECT allowed = changed;
            if (release == Release::OnReplace) UnionRect(&allowed, &changed, &previous);
            EXPECT_TRUE(Contains(allowed, copied)) << "frame " << frame;
            EXPECT_TRUE(Contains(copied, changed)) << "frame " << frame;
            previous = changed;
        }
        EXPECT_FALSE(compositor.Shown().bufferTouchedWhileHeld);
        EXPECT_EQ(presenter->BufferCount(), buffersNeeded);
    }
}

TEST(WaylandShmPresenter, WaitsABoundedTimeForTheCompositorToHandABufferBack) {
    FakeCompositor compositor;
    compositor.SetRelease(Release::Never);
    const auto presenter = WaylandShmPresenter::Create(compositor.Client(), compositor.Surface());
    ASSERT_TRUE(presenter);
    std::optional<Surface> picture = Surface::Create(32, 24);
    ASSERT_TRUE(picture);
    const RECT bounds = picture->Bounds();
    const auto present = [&](std::uint32_t colour) {
        picture->Fill(bounds, colour);
        return presenter->Present(*picture, bounds, 32, 24, nullptr);
    };
    for (std::uint32_t colour = 1; colour <= 3; ++colour) ASSERT_TRUE(present(colour));
    compositor.Sync();
    EXPECT_EQ(compositor.Shown().heldBuffers, 3);

    // All three are held; the compositor hands them back a moment later, and the frame waits.
    compositor.ReleaseHeldAfter(30);
    ASSERT_TRUE(present(0xABCDEF));
    compositor.Sync();
    EXPECT_EQ(compositor.Shown().pixels, PixelsOf(*picture));
    EXPECT_EQ(presenter->BufferCount(), 3U) << "no buffer beyond three";

    // A compositor that keeps them all: the frame is given up, not waited for without end.
    ASSERT_TRUE(present(0x010203));
    ASSERT_TRUE(present(0x040506));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(present(0x070809));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(200));
    EXPECT_LT(waited, std::chrono::seconds(5));

    // Once one comes back, the whole picture goes out again.
    compositor.ReleaseHeldAfter(0);
    compositor.Sync();
    ASSERT_TRUE(present(0x0A0B0C));
    compositor.Sync();
    EXPECT_EQ(compositor.Shown().pixels, PixelsOf(*picture));
    EXPECT_FALSE(compositor.Shown().bufferTouchedWhileHeld);
}

TEST(WaylandShmPresenter, BuffersTakeTheSurfaceSizeAndWhatThePictureDoesNotCoverIsBlack) {
    FakeCompositor compositor;
    const auto presenter = WaylandShmPresenter::Create(compositor.Client(), compositor.Surface());
    ASSERT_TRUE(presenter);
    std::optional<Surface> picture = Surface::Create(30, 20);
    ASSERT_TRUE(picture);
    picture->Fill(picture->Bounds(), 0xFF0000);
    ASSERT_TRUE(presenter->Present(*picture, picture->Bounds(), 30, 20, nullptr));
    compositor.Sync();

    // The compositor made the surface larger than the window's picture.
    RECT copied{};
    ASSERT_TRUE(presenter->Present(*picture, RECT{0, 0, 40, 25}, 40, 25, &copied));
    compositor.Sync();
    FakeCompositor::Screen screen = compositor.Shown();
    ASSERT_EQ((std::vector<int>{screen.width, screen.height}), (std::vector<int>{40, 25}));
    const RECT pictureBounds = picture->Bounds();
    EXPECT_TRUE(EqualRect(&copied, &pictureBounds));
    EXPECT_EQ(screen.pixels[0], 0xFF0000U);
    EXPECT_EQ(screen.pixels[19 * 40 + 29], 0xFF0000U);
    EXPECT_EQ(screen.pixels[19 * 40 + 30], 0U);
    EXPECT_EQ(screen.pixels[20 * 40 + 29], 0U);
    EXPECT_EQ(screen.pixels[24 * 40 + 39], 0U);
    EXPECT_EQ(presenter->BufferCount(), 1U) << "the buffer of the old size is dropped";

    // And smaller: the picture is cut at the surface's edge.
    picture->Fill(RECT{0, 0, 10, 5}, 0x00FF00);
    ASSERT_TRUE(presenter->Present(*picture, RECT{0, 0, 10, 5}, 20, 10, &copied));
    compositor.Sync();
    screen = compositor.Shown();
    ASSERT_EQ((std::vector<int>{screen.width, screen.height}), (std::vector<int>{20, 10}));
    EXPECT_EQ(screen.pixels[0], 0x00FF00U);
    EXPECT_EQ(screen.pixels[9 * 20 + 19], 0xFF0000U);
    // A surface without area shows nothing.
    EXPECT_TRUE(presenter->Present(*picture, picture->Bounds(), 0, 10, &copied));
    EXPECT_TRUE(IsRectEmpty(&copied));
}

TEST(WaylandShmPresenter, ThereIsNoneWithoutWlShm) {
    FakeCompositor compositor(/*offerShm=*/false);
    EXPECT_EQ(WaylandShmPresenter::Create(compositor.Client(), compositor.Surface()), nullptr);
    EXPECT_EQ(WaylandShmPresenter::Create(nullptr, compositor.Surface()), nullptr);
    compositor.Sync();  // the connection is as good as before
    EXPECT_EQ(wl_display_get_error(compositor.Client()), 0);
}

}  // namespace

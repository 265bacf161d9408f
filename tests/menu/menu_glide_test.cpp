// Glides of every speed: after each tick the picture moved on screen must equal a full repaint,
// the list must stay within its ends, and the highlight must be on a visible row at the end.
#include <algorithm>
#include <sstream>

#include "menu/menu_fixture.h"
#include "platform/windows/window_dc.h"

namespace {

struct GlideCase {
    int itemHeight;
    int count;
};

void PrintTo(const GlideCase& glide, std::ostream* out) {
    *out << glide.count << " rows of " << glide.itemHeight;
}

class MenuGlideTest : public MenuTest, public ::testing::WithParamInterface<GlideCase> {
  protected:
    // Small, so that comparing every tick's picture stays cheap.
    static constexpr int kWidth = 40;
    static constexpr int kHeight = 100;

    std::int64_t Position() const {
        return static_cast<std::int64_t>(menu.firstVisible) * menu.itemHeight - menu.firstOffset;
    }
    std::int64_t LastPosition() const {
        return std::max<std::int64_t>(
            0, static_cast<std::int64_t>(menu.ItemCount()) * menu.itemHeight - kHeight);
    }

    // Starts a glide of `speed` pixels per tick from scroll position `position`, as a release
    // after a fling would, with the highlight on the top row.
    void StartGlide(std::int64_t position, int speed) {
        menu.firstVisible = static_cast<int>(position / menu.itemHeight);
        menu.firstOffset = -static_cast<int>(position % menu.itemHeight);
        menu.activeIndex = menu.firstVisible;
        Repaint();
        menu.speed = speed;
        menu.trackUp = speed < 0;
        menu.tickCount = 0;
        menu.ticksPerStep = 1;
        menu.inertiaRunning = 1;
        menu.SetTimer(CTavrel::kInertiaTimer, CTavrel::kInertiaInterval, nullptr);
    }

    // Runs the glide to its end, checking every tick; returns the ticks it took.
    int RunCheckedGlide(const std::string& what) {
        int ticks = 0;
        while (menu.inertiaRunning) {
            if (++ticks > 1000) {
                ADD_FAILURE() << what << ": the glide does not end";
                return ticks;
            }
            const std::int64_t before = Position();
            const int speed = menu.speed;
            Advance(40);
            Pump();
            // Each tick moves the list by the speed, unless it reached an end and stopped there.
            const bool atEnd = Position() == 0 || Position() == LastPosition();
            if (before - Position() != speed && !(atEnd && menu.inertiaRunning == 0)) {
                ADD_FAILURE() << what << ", tick " << ticks << ": moved " << before - Position()
                              << " at speed " << speed << " to " << Position()
                              << (menu.inertiaRunning ? ", gliding on" : "");
                return ticks;
            }
            const std::vector<COLORREF> shown = platform::ReadWindowPixels(menu.m_hWnd);
            Repaint();
            const std::vector<COLORREF> repainted = platform::ReadWindowPixels(menu.m_hWnd);
            const auto mismatch = std::mismatch(shown.begin(), shown.end(), repainted.begin());
            if (mismatch.first != shown.end()) {
                const auto pixel = mismatch.first - shown.begin();
                ADD_FAILURE() << what << ", tick " << ticks << ": the picture differs from a "
                              << "full repaint first at " << pixel % kWidth << ","
                              << pixel / kWidth;
                return ticks;
            }
            if (Position() < 0 || Position() > LastPosition()) {
                ADD_FAILURE() << what << ", tick " << ticks << ": scroll position " << Position()
                              << " outside 0.." << LastPosition();
                return ticks;
            }
        }
        return ticks;
    }

    void ExpectHighlightShown(const std::string& what) {
        ASSERT_GE(menu.activeIndex, 0) << what;
        ASSERT_LT(menu.activeIndex, menu.ItemCount()) << what;
        const CRect row = menu.RowRect(menu.activeIndex);
        EXPECT_TRUE(row.bottom > 0 && row.top < kHeight)
            << what << ": the highlight ended on row " << menu.activeIndex << " at " << row.top
            << ".." << row.bottom;
        const int middle = (std::max<LONG>(row.top, 0) + std::min<LONG>(row.bottom, kHeight)) / 2;
        EXPECT_EQ(Pixel(kWidth / 3, std::clamp(middle, 0, kHeight - 1)), kActive) << what;
    }
};

TEST_P(MenuGlideTest, EveryTickOfAnyGlideShowsWhatAFullRepaintShows) {
    const GlideCase glide = GetParam();
    CreateMenu(kWidth, kHeight, glide.count, glide.itemHeight, 6);
    for (int index = 0; index < glide.count; ++index) menu.items[index]->title = L"";
    // Speeds below, at and above one row and the window's height (where the picture is no
    // longer moved but painted anew), up to 300.
    for (int speed : {1, 2, 4, 5, 9, 10, 13, 25, 52, 53, 54, 80, 99, 100, 101, 300}) {
        for (int direction : {1, -1}) {
            // A downward glide (positive speed) starts at the end of the list, an upward one at
            // its top: each crosses the whole list, or as much as its speed carries it.
            const std::int64_t start = direction > 0 ? LastPosition() : 0;
            std::ostringstream what;
            what << "speed " << speed * direction << " from " << start;
            StartGlide(start, speed * direction);
            RunCheckedGlide(what.str());
            ExpectHighlightShown(what.str());
            if (::testing::Test::HasFailure()) return;
        }
    }
}

// Row heights below, at and above the window's height; lists shorter than the window, a little
// longer, and much longer than the longest glide (about 45,000 pixels).
INSTANTIATE_TEST_SUITE_P(RowsAndLists, MenuGlideTest,
                         ::testing::Values(GlideCase{20, 3000}, GlideCase{33, 10}, GlideCase{53, 4},
                                           GlideCase{100, 2}, GlideCase{150, 40},
                                           GlideCase{250, 8}),
                         [](const ::testing::TestParamInfo<GlideCase>& info) {
                             return "Rows" + std::to_string(info.param.itemHeight) + "x" +
                                    std::to_string(info.param.count);
                         });

}  // namespace

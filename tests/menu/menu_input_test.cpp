// The menu under the stylus and the keys: taps, holds, drags, the list's ends, the glide and its
// speed table, and closing the launcher.
#include <fstream>
#include <thread>

#include <sys/stat.h>

#include "menu/menu_fixture.h"
#include "platform/graphics/surface.h"
#include "support/temp_folder.h"

namespace {

class MenuInputTest : public MenuTest {
  protected:
    // Ten entries of 53 pixels in 300: six counted rows, the last row ends 18 pixels below.
    void CreateExampleMenu() {
        CreateMenu(220, 300, 10, 53, 5);
        menu.dragThreshold = 26;
        menu.SetFocus();
        Pump();
    }

    void Press(int y) {
        platform::input::StylusDown(POINT{100, y});
        Pump();
    }
    void MoveTo(int y) {
        platform::input::StylusMove(POINT{100, y});
        Pump();
    }
    void Release(int y) {
        platform::input::StylusUp(POINT{100, y});
        Pump();
    }
    void Key(UINT key) {
        platform::input::KeyDown(key);
        platform::input::KeyUp(key);
        Pump();
    }
    // A drag from `from` to `to` in steps of at most 20 pixels, taking `milliseconds` in all.
    void Drag(int from, int to, std::uint32_t milliseconds) {
        Press(from);
        const int steps = std::max(1, std::abs(to - from) / 20);
        for (int step = 1; step <= steps; ++step) {
            Advance(milliseconds / static_cast<std::uint32_t>(steps));
            MoveTo(from + (to - from) * step / steps);
        }
        Release(to);
    }
    int Position() const { return menu.firstVisible * menu.itemHeight - menu.firstOffset; }
    // Runs the glide tick by tick and returns how far the list moved at each tick.
    std::vector<int> GlideSteps() {
        std::vector<int> steps;
        for (int tick = 0; tick < 200 && menu.inertiaRunning; ++tick) {
            const int before = Position();
            Advance(40);
            Pump();
            steps.push_back(before - Position());
        }
        return steps;
    }
};

TEST_F(MenuInputTest, AShortTapHighlightsAndAHoldStartsTheEntry) {
    CreateExampleMenu();
    Press(60);  // row 1
    EXPECT_EQ(menu.activeIndex, 1);
    Advance(300);
    Release(60);
    EXPECT_EQ(parent.menuDone, 0);
    EXPECT_EQ(menu.activeIndex, 1);
    EXPECT_EQ(Pixel(100, 60), kActive);

    Press(120);
    Advance(301);
    Release(170);  // the release point decides which entry starts
    EXPECT_EQ(menu.activeIndex, 3);
    EXPECT_EQ(parent.menuDone, 1);
}

TEST_F(MenuInputTest, MovingExactlyTheThresholdIsStillATapAndOneMoreIsADrag) {
    CreateExampleMenu();
    Press(100);
    MoveTo(126);
    Advance(400);
    Release(126);
    EXPECT_EQ(parent.menuDone, 1);  // 26 pixels: a (long) tap

    Press(100);
    MoveTo(74);
    Advance(400);
    Release(74);
    EXPECT_EQ(parent.menuDone, 2);  // 26 pixels up: still a tap, which starts row 1
    EXPECT_EQ(menu.activeIndex, 1);
    EXPECT_EQ(Position(), 0);

    Press(100);
    MoveTo(73);
    Advance(400);
    Release(73);
    EXPECT_EQ(parent.menuDone, 2);  // 27 pixels: a drag, which never starts an entry
    EXPECT_EQ(Position(), 27);
}

TEST_F(MenuInputTest, AReleaseOutsideTheWindowCancelsThePress) {
    CreateExampleMenu();
    // Row 5 shows only its top (265 to 300); the row slot under y = 310 would be row 5 too, and
    // under 320 row 6, which nobody has seen.
    Press(290);
    EXPECT_EQ(menu.activeIndex, 5);
    MoveTo(310);
    Advance(400);
    Release(320);
    EXPECT_EQ(parent.menuDone, 0);
    EXPECT_EQ(menu.activeIndex, 5);
    EXPECT_EQ(Position(), 0);

    // Beside the window, within its height: also cancelled.
    Press(110);
    Advance(400);
    platform::input::StylusUp(POINT{230, 110});
    Pump();
    EXPECT_EQ(parent.menuDone, 0);

    // Slid out and back in before letting go: the release point decides, and it is a row.
    Press(290);
    MoveTo(310);
    MoveTo(285);
    Advance(400);
    Release(285);
    EXPECT_EQ(parent.menuDone, 1);
    EXPECT_EQ(menu.activeIndex, 5);
}

TEST_F(MenuInputTest, AReleaseWithoutAPressHereStartsNothing) {
    CreateExampleMenu();
    Advance(5000);
    SendMessage(menu.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(100, 60));
    EXPECT_EQ(parent.menuDone, 0);
}

TEST_F(MenuInputTest, TheListStopsAtBothEnds) {
    CreateExampleMenu();
    menu.inertiaEnabled = false;
    Drag(100, 280, 2000);  // pull down at the top
    EXPECT_EQ(menu.firstVisible, 0);
    EXPECT_EQ(menu.firstOffset, 0);
    Drag(290, 0, 2000);
    Drag(290, 0, 2000);
    EXPECT_EQ(menu.firstVisible, 4);
    EXPECT_EQ(menu.firstOffset, -18);
    EXPECT_EQ(Pixel(100, 298), kOutline);  // row 9's outline and the gap line below it
    EXPECT_EQ(Pixel(100, 299), kEven);
}

TEST_F(MenuInputTest, AfterADragAHighlightOnThePartlyHiddenTopRowMovesToTheNextRow) {
    CreateExampleMenu();
    menu.inertiaEnabled = false;
    Drag(60, -20, 2000);  // press row 1, then drag the list up by 80 pixels
    EXPECT_EQ(menu.firstVisible, 1);
    EXPECT_EQ(menu.firstOffset, -27);
    EXPECT_EQ(menu.activeIndex, 2);
    EXPECT_EQ(Pixel(20, 10), kOdd);     // row 1, partly hidden, no longer highlighted
    EXPECT_EQ(Pixel(20, 50), kActive);  // row 2 from 26 to 79

    // A highlight wholly in view stays where it is: row 3, pressed at 100, ends at 49 to 102.
    Drag(100, 70, 2000);
    EXPECT_EQ(Position(), 80 + 30);
    EXPECT_EQ(menu.activeIndex, 3);
}

TEST_F(MenuInputTest, ADragNeverMovesTheListAgainstTheFinger) {
    CreateExampleMenu();
    menu.inertiaEnabled = false;
    // Down through the whole list leaves the last row 35 pixels above the bottom edge.
    for (int press = 0; press < 9; ++press) Key(VK_DOWN);
    ASSERT_EQ(menu.firstVisible, 5);
    ASSERT_EQ(menu.firstOffset, 0);
    const std::vector<COLORREF> before = platform::ReadWindowPixels(menu.m_hWnd);

    Drag(230, 203, 1000);  // up by 27 on row 9: the list is past its end and stays
    EXPECT_EQ(Position(), 265);
    EXPECT_EQ(menu.activeIndex, 9);
    EXPECT_TRUE(platform::ReadWindowPixels(menu.m_hWnd) == before);

    Drag(173, 200, 1000);  // down by 27: it follows the finger
    EXPECT_EQ(Position(), 238);
    Drag(200, 160, 1000);  // up again: still past the end, so it stays
    EXPECT_EQ(Position(), 238);
    Drag(100, 200, 1000);  // down by 100, then up by 200: it stops at the end
    EXPECT_EQ(Position(), 138);
    Drag(250, 50, 1000);
    EXPECT_EQ(Position(), 230);
    EXPECT_EQ(menu.firstVisible, 4);
    EXPECT_EQ(menu.firstOffset, -18);
}

TEST_F(MenuInputTest, RowsOfTheLargestHeightScrollALongListWithoutOverflow) {
    // 131,100 rows of 16,384 pixels: the list is longer than the int range.
    CreateMenu(220, 300, 131100, platform::Surface::kMaxSide, 5);
    menu.SetFocus();
    menu.dragThreshold = 10;
    menu.firstVisible = 131090;
    menu.activeIndex = 131090;
    Repaint();
    EXPECT_EQ(Pixel(20, 150), kActive);
    EXPECT_EQ(Pixel(217, 290), kSlider);  // the thumb at the bottom of the track
    EXPECT_EQ(Pixel(217, 0), kEven);

    Drag(250, 50, 100);  // a fling upward, far from the end
    EXPECT_EQ(menu.speed, -80);
    for (int tick = 0; tick < 200 && menu.inertiaRunning; ++tick) {
        Advance(40);
        Pump();
    }
    // The drag's 200 pixels, then the glide: 80 down to 9 once each, 8 to 5 twice, 4 to 1.
    EXPECT_EQ(menu.ScrollPosition(), std::int64_t{131090} * platform::Surface::kMaxSide + 200 +
                                         80 * 81 / 2 + (8 + 7 + 6 + 5));
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(menu.activeIndex, 131092);
    EXPECT_EQ(menu.firstVisible, 131092);

    // To the end of the list and down past it.
    menu.firstVisible = 131099;
    menu.firstOffset = -15900;  // 184 pixels short of the end
    Drag(250, 50, 2000);
    Drag(250, 50, 2000);
    EXPECT_EQ(menu.ScrollPosition(), std::int64_t{131100} * platform::Surface::kMaxSide - 300);
    Key(VK_DOWN);
    EXPECT_EQ(menu.activeIndex, 131099);
    Press(150);
    Advance(400);
    Release(150);
    EXPECT_EQ(parent.menuDone, 1);
}

TEST_F(MenuInputTest, WithRowsTallerThanTheWindowTheHighlightStaysOnAShownRow) {
    CreateMenu(220, 100, 4, 150, 5);
    menu.SetFocus();
    menu.dragThreshold = 10;
    menu.inertiaEnabled = false;
    // Row 2 nearly out at the top; Down to the last row keeps that offset, past the end.
    menu.firstVisible = 2;
    menu.firstOffset = -140;
    menu.activeIndex = 2;
    Key(VK_DOWN);
    ASSERT_EQ(menu.firstVisible, 3);
    ASSERT_EQ(menu.firstOffset, -140);
    Drag(40, 60, 1000);  // row 3 now shows from -120 to 30, and nothing below it
    EXPECT_EQ(menu.ScrollPosition(), 570);
    EXPECT_EQ(menu.activeIndex, 3);
    EXPECT_EQ(Pixel(20, 20), kActive);

    // No row is wholly in view: the highlight goes to the one that shows more of itself.
    menu.firstVisible = 2;
    menu.firstOffset = 0;
    Drag(90, 50, 1000);  // row 2 from -40 to 110
    EXPECT_EQ(menu.activeIndex, 2);
    Drag(50, 10, 1000);  // row 2 from -80 to 70, row 3 from 70
    EXPECT_EQ(menu.activeIndex, 2);
    Drag(50, 10, 1000);  // row 2 from -120 to 30, row 3 from 30
    EXPECT_EQ(menu.activeIndex, 3);
    EXPECT_EQ(Pixel(20, 60), kActive);
    Drag(10, 60, 1000);  // pressed on row 2, which then shows from -70 to 80
    EXPECT_EQ(menu.activeIndex, 2);
    EXPECT_EQ(Pixel(20, 60), kActive);
}

TEST_F(MenuInputTest, NothingScrollsWhenAllRowsFit) {
    CreateMenu(220, 300, 5, 53, 5);
    Drag(200, 20, 1000);
    EXPECT_EQ(Position(), 0);
}

TEST_F(MenuInputTest, AGlideOfSpeedTenSlowsDownByTheTable) {
    CreateMenu(220, 300, 40, 53, 5);
    menu.firstVisible = 20;
    menu.speed = 10;
    menu.trackUp = false;
    menu.tickCount = 0;
    menu.ticksPerStep = 1;
    menu.inertiaRunning = 1;
    menu.SetTimer(CTavrel::kInertiaTimer, CTavrel::kInertiaInterval, nullptr);
    EXPECT_EQ(GlideSteps(), (std::vector<int>{10, 9, 8, 8, 7, 7, 6, 6, 5, 5, 4, 3, 2, 1}));
    EXPECT_EQ(menu.inertiaRunning, 0);
}

TEST_F(MenuInputTest, AFlingGlidesAtItsAverageSpeedInBothDirections) {
    CreateMenu(220, 600, 100, 50, 5);
    menu.SetFocus();
    menu.firstVisible = 50;
    menu.dragThreshold = 10;
    Drag(100, 300, 100);  // 200 pixels down in 100 ms
    EXPECT_EQ(menu.inertiaRunning, 1);
    EXPECT_EQ(menu.speed, 80);
    Key(VK_DOWN);  // any key only stops the glide
    EXPECT_EQ(menu.inertiaRunning, 0);

    Drag(300, 100, 100);
    EXPECT_EQ(menu.speed, -80);
    const int position = Position();
    Press(100);  // a press stops it where it is
    EXPECT_EQ(menu.inertiaRunning, 0);
    EXPECT_EQ(Position(), position);
    Release(100);

    Drag(100, 300, 40);  // released within 50 ms: no glide
    EXPECT_EQ(menu.inertiaRunning, 0);
    Drag(100, 160, 1000);  // 60 pixels in a second: 2 pixels per tick, too slow
    EXPECT_EQ(menu.inertiaRunning, 0);
    EXPECT_EQ(menu.speed, 0);
}

TEST_F(MenuInputTest, AFlingGlidesFromFourPixelsPerTickAfterMoreThanFiftyMilliseconds) {
    CreateMenu(220, 600, 100, 50, 5);
    menu.firstVisible = 50;
    menu.dragThreshold = 10;
    // Two moves of `distance` / 2, released `milliseconds` after the press.
    const auto fling = [this](int distance, std::uint32_t milliseconds) {
        Press(300);
        Advance(milliseconds / 2);
        MoveTo(300 + distance / 2);
        Advance(milliseconds - milliseconds / 2);
        MoveTo(300 + distance);
        Release(300 + distance);
        const int running = menu.inertiaRunning;
        menu.StopInertia();
        return running;
    };
    for (int sign : {1, -1}) {
        EXPECT_EQ(fling(sign * 30, 400), 0) << sign;  // 3 pixels per tick
        EXPECT_EQ(menu.speed, 0) << sign;
        EXPECT_EQ(fling(sign * 40, 400), 1) << sign;  // 4 pixels per tick
        EXPECT_EQ(menu.speed, sign * 4);
        EXPECT_EQ(fling(sign * 100, 45), 0) << sign;
        EXPECT_EQ(fling(sign * 100, 50), 0) << sign;
        EXPECT_EQ(fling(sign * 100, 51), 1) << sign;
        EXPECT_EQ(menu.speed, sign * 78) << sign;
    }
}

TEST_F(MenuInputTest, ADragThatTurnsBackMeasuresFromTheTurnOverTheWholeTime) {
    CreateMenu(220, 600, 100, 50, 5);
    menu.firstVisible = 50;
    menu.dragThreshold = 10;
    Press(300);
    Advance(50);
    MoveTo(400);  // down 100
    Advance(50);
    MoveTo(360);  // back up 40: only this counts
    Release(360);
    EXPECT_EQ(menu.speed, -16);  // -40 pixels over 100 ms
    EXPECT_EQ(menu.inertiaRunning, 1);
}

TEST_F(MenuInputTest, KeysMoveTheHighlightAndTheLastRowCanEndAboveTheBottom) {
    CreateExampleMenu();
    Key(VK_UP);
    EXPECT_EQ(menu.activeIndex, 0);
    EXPECT_EQ(menu.firstOffset, 0);
    menu.firstVisible = 4;
    menu.activeIndex = 5;
    for (int press = 0; press < 6; ++press) Key(VK_DOWN);
    EXPECT_EQ(menu.activeIndex, 9);
    EXPECT_EQ(menu.firstVisible, 5);
    EXPECT_EQ(menu.RowRect(9).bottom, 264);  // ends 35 pixels above the bottom edge (with gap)
    Key(VK_LEFT);
    Key(VK_RIGHT);
    EXPECT_EQ(menu.activeIndex, 9);

    // A quick upward fling from there moves nothing: the list is past its end already.
    menu.dragThreshold = 5;
    Drag(250, 150, 60);
    for (int tick = 0; tick < 100 && menu.inertiaRunning; ++tick) {
        Advance(40);
        Pump();
    }
    EXPECT_EQ(menu.firstVisible, 5);
    EXPECT_EQ(menu.firstOffset, 0);
    // A downward one brings it back, and an upward one then stops at the end.
    Drag(100, 200, 60);
    for (int tick = 0; tick < 100 && menu.inertiaRunning; ++tick) {
        Advance(40);
        Pump();
    }
    Drag(250, 150, 60);
    for (int tick = 0; tick < 100 && menu.inertiaRunning; ++tick) {
        Advance(40);
        Pump();
    }
    EXPECT_EQ(menu.firstVisible, 4);
    EXPECT_EQ(menu.firstOffset, -18);
}

TEST_F(MenuInputTest, DownFromTheEndOfTheListMovesTheLastRowAboveTheBottom) {
    CreateExampleMenu();
    menu.inertiaEnabled = false;
    Drag(290, 0, 2000);
    Drag(290, 0, 2000);
    ASSERT_EQ(menu.firstVisible, 4);
    ASSERT_EQ(menu.firstOffset, -18);
    menu.activeIndex = 8;
    Key(VK_DOWN);
    EXPECT_EQ(menu.activeIndex, 9);
    EXPECT_EQ(menu.firstVisible, 5);
    EXPECT_EQ(menu.firstOffset, -18);
    EXPECT_EQ(Pixel(100, 240), kActive);  // row 9 from 195 to 246
    EXPECT_EQ(Pixel(100, 250), kEven);
}

TEST_F(MenuInputTest, RowsThatDivideTheWindowEndWithTheLastFirstRowAndAWholeRowOffset) {
    // Ten rows of 50 in 300: at the end row 3 is the first counted row, one row above the top.
    CreateMenu(220, 300, 10, 50, 5);
    menu.SetFocus();
    menu.dragThreshold = 26;
    menu.inertiaEnabled = false;
    Drag(290, 0, 2000);
    Drag(290, 0, 2000);
    EXPECT_EQ(menu.firstVisible, 3);
    EXPECT_EQ(menu.firstOffset, -50);
    // From there Down to the last row moves the list on by one row, as from any first row.
    menu.activeIndex = 8;
    Key(VK_DOWN);
    EXPECT_EQ(menu.activeIndex, 9);
    EXPECT_EQ(menu.firstVisible, 4);
    EXPECT_EQ(Pixel(100, 240), kActive);  // row 9 from 200 to 250
    EXPECT_EQ(Pixel(100, 260), kEven);
}

TEST_F(MenuInputTest, EnterAndReleasedSoftKeysCloseTheLauncher) {
    CreateExampleMenu();
    Key(VK_RETURN);
    EXPECT_EQ(parent.menuDone, 1);
    platform::input::KeyDown(VK_F1);
    Pump();
    EXPECT_EQ(parent.menuDone, 1);  // pressing alone does nothing
    platform::input::KeyUp(VK_F1);
    Pump();
    EXPECT_EQ(parent.menuDone, 2);
    Key(VK_F2);
    EXPECT_EQ(parent.menuDone, 3);
    // Without the focus, the direction keys are not the menu's.
    parent.SetFocus();
    menu.activeIndex = 2;
    SendMessage(menu.m_hWnd, WM_NULL, 0, 0);
    EXPECT_FALSE(menu.HandleKey(VK_DOWN));
    EXPECT_EQ(menu.activeIndex, 2);
}

TEST_F(MenuInputTest, AHeldEntryStartsItsProgram) {
    TempFolder folder;
    const std::string script = folder.Path("start.sh").string();
    std::ofstream(script) << "#!/bin/sh\ntouch \"$1\"\n";
    ::chmod(script.c_str(), 0755);
    CreateExampleMenu();
    menu.items[2]->execPath = std::filesystem::path(script).wstring();
    menu.items[2]->args = L"\"" + folder.WidePath("started marker") + L"\"";
    Press(110);
    Advance(500);
    Release(110);
    EXPECT_EQ(parent.menuDone, 1);
    bool started = false;
    for (int attempt = 0; attempt < 300 && !started; ++attempt) {
        started = std::filesystem::exists(folder.Path("started marker"));
        if (!started) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(started);
}

}  // namespace

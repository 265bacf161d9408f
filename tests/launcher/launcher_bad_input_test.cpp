// The launcher opens and draws sensibly whatever its files hold.
#include "launcher/launcher_fixture.h"
#include "platform/graphics/surface.h"
#include "platform/graphics/system_colors.h"

namespace {

// Runs the launcher with the given options and entries, and checks that it shows a window of
// some size with a menu that painted, then ends it with Escape.
void ExpectUsableLauncher(
    LauncherTest& test,
    const std::function<INT_PTR(std::vector<std::function<void(CTavrelPrjDlg&)>>)>& run) {
    // Every case follows the system's colours.
    static const COLORREF kBackground = GetSysColor(COLOR_BTNFACE);
    const INT_PTR result =
        run({[](CTavrelPrjDlg& dialog) {
                 RECT window{};
                 dialog.GetWindowRect(&window);
                 EXPECT_GT(window.right - window.left, 0);
                 EXPECT_GT(window.bottom - window.top, 0);
                 EXPECT_GE(window.right, 0);
                 EXPECT_LE(window.left, GetSystemMetrics(SM_CXSCREEN));
                 EXPECT_GE(dialog.menu.itemHeight, 1);
                 // The menu painted where it shows: its first pixel is the gap
                 // above the first row, not black or a window without a picture.
                 EXPECT_EQ(platform::ReadWindowPixel(dialog.menu.m_hWnd, 0, 0), kBackground);
             },
             [](CTavrelPrjDlg&) { platform::input::KeyDown(VK_DOWN); },
             [](CTavrelPrjDlg&) { platform::input::KeyDown(VK_ESCAPE); }});
    (void)test;
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(LauncherTest, ManyLongAndForeignEntriesWithoutIcons) {
    WriteSystemOptions();
    std::string entries =
        "[" + std::string(10000, 'W') + "]\r\nExecPath=/no/such/program\r\n" +
        "[\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xE4\xBD\xA0\xE5\xA5\xBD]"
        "\r\nExecPath=/usr/share\r\n[bad \xFF\xFE bytes]\r\n";
    for (int index = 0; index < 3000; ++index) {
        entries += "[Entry " + std::to_string(index) + "]\r\nExecPath=/no/such/" +
                   std::to_string(index) + "\r\n";
    }
    folder.Write("settings.ini", entries);
    ExpectUsableLauncher(*this, [this](auto steps) { return Run(std::move(steps)); });
}

TEST_F(LauncherTest, AbsurdOptionsFallBackToWhatTheScreenGives) {
    WriteEntries(20);
    for (const std::string& options : std::vector<std::string>{
             // Off the screen, inverted, without area, beyond any size.
             "use_system_menu_pos=false\r\nuser_menu_pos_TL_X=5000\r\nuser_menu_pos_TL_Y=5000\r\n"
             "user_menu_pos_BR_X=5240\r\nuser_menu_pos_BR_Y=5320\r\n",
             "use_system_menu_pos=false\r\nuser_menu_pos_TL_X=240\r\nuser_menu_pos_BR_X=0\r\n"
             "user_menu_pos_BR_Y=320\r\n",
             "use_system_menu_pos=false\r\nuser_menu_pos_TL_X=-2147483648\r\n"
             "user_menu_pos_TL_Y=-99999999999\r\nuser_menu_pos_BR_X=2147483647\r\n"
             "user_menu_pos_BR_Y=2147483647\r\n",
             // Each side within the largest picture, the area beyond it.
             "use_system_menu_pos=false\r\nuser_menu_pos_BR_X=8192\r\nuser_menu_pos_BR_Y=8193\r\n",
             // Rows of no height, negative height, taller than the window.
             "use_system_item_height=false\r\nuser_item_height=0\r\n",
             "use_system_item_height=false\r\nuser_item_height=-40\r\n",
             "use_system_item_height=false\r\nuser_item_height=100000\r\n",
             "pos_item_text=diagonal\r\nitem_font.size=-2147483648\r\nuse_system_font=false\r\n",
             "use_system_font=false\r\nitem_font.name=No Such Face At "
             "All\r\nitem_font.size=900\r\n",
         }) {
        SCOPED_TRACE(options);
        folder.Write("options.ini", "[main_settings]\r\nuse_system_colors=true\r\n" + options);
        ExpectUsableLauncher(*this, [this](auto steps) { return Run(std::move(steps)); });
    }
}

TEST_F(LauncherTest, TheSmallestItemHeightIsTheUsersToo) {
    // One pixel is a height like any other: every row of the window is a row of the menu.
    folder.Write("options.ini",
                 "[main_settings]\r\nuse_system_colors=true\r\nuse_system_font=true\r\n"
                 "use_system_item_height=false\r\nuser_item_height=1\r\n"
                 "use_system_menu_pos=true\r\n");
    WriteEntries(2000);
    Run({[](CTavrelPrjDlg& dialog) {
        EXPECT_EQ(dialog.menu.itemHeight, 1);
        CRect client;
        dialog.menu.GetClientRect(&client);
        EXPECT_EQ(dialog.menu.visibleCount, client.Height() + 1) << "and a row cut off below";
        dialog.EndDialog(IDOK);
    }});
}

TEST_F(LauncherTest, AHugeItemHeightScrollsGlidesAndStartsWithinRange) {
    // Read as 2147483647; every step below once overflowed the row geometry.
    folder.Write("options.ini",
                 "[main_settings]\r\nuse_system_colors=true\r\nuse_system_font=true\r\n"
                 "use_system_item_height=false\r\nuser_item_height=99999999999\r\n"
                 "use_system_menu_pos=true\r\nuse_menu_inertia=true\r\n");
    WriteEntries(5);
    POINT at{};
    const INT_PTR result = Run({
        [&](CTavrelPrjDlg& dialog) {
            EXPECT_EQ(dialog.options.user_item_height, 2147483647);
            EXPECT_EQ(dialog.menu.itemHeight, platform::Surface::kMaxSide);
            at = POINT{100, 300};
            ::ClientToScreen(dialog.menu.m_hWnd, &at);
            platform::input::StylusDown(at);
        },
        [&](CTavrelPrjDlg&) {
            backend->AdvanceClock(100);
            platform::input::StylusMove(POINT{at.x, at.y - 200});
        },
        [&](CTavrelPrjDlg&) {
            platform::input::StylusUp(POINT{at.x, at.y - 200});
        },
        [&](CTavrelPrjDlg& dialog) {
            EXPECT_EQ(dialog.menu.ScrollPosition(), 200);
            EXPECT_EQ(dialog.menu.inertiaRunning, 1);
            for (int tick = 0; tick < 200 && dialog.menu.inertiaRunning; ++tick) {
                backend->AdvanceClock(40);
                platform::ProcessPendingMessages();
            }
            EXPECT_EQ(dialog.menu.inertiaRunning, 0);
        },
        [](CTavrelPrjDlg&) { platform::input::KeyDown(VK_DOWN); },
        [](CTavrelPrjDlg&) { platform::input::KeyDown(VK_DOWN); },
        [&](CTavrelPrjDlg& dialog) {
            // The glide left row 0 filling the window, highlighted; each Down moved on a row.
            EXPECT_EQ(dialog.menu.activeIndex, 2);
            EXPECT_EQ(dialog.menu.firstVisible, 2);
            platform::input::StylusDown(at);
        },
        [&](CTavrelPrjDlg&) { backend->AdvanceClock(400); },
        [&](CTavrelPrjDlg&) { platform::input::StylusUp(at); },
        [](CTavrelPrjDlg&) {},
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(stepsLeft, 1);
}

}  // namespace

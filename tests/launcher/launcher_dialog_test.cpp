// The launcher's dialog from start to end: placement on several screens, the options applied,
// start-up without its files, and every way it ends.
#include "launcher/launcher_fixture.h"
#include "launcher/tavrel_prj_app.h"
#include "platform/graphics/system_colors.h"

namespace {

struct Placement {
    int screenWidth;
    int screenHeight;
    RECT window;  // for a caption height T = 24
    int itemHeight;
    int sliderWidth;
    int dragThreshold;
};

void PrintTo(const Placement& placement, std::ostream* out) {
    *out << placement.screenWidth << "x" << placement.screenHeight;
}

class LauncherPlacementTest : public LauncherTest,
                              public ::testing::WithParamInterface<Placement> {};

TEST_P(LauncherPlacementTest, TheWindowAndMenuFollowTheScreen) {
    const Placement expected = GetParam();
    backend->SetClock(0);
    platform::SetCurrentDisplay({expected.screenWidth, expected.screenHeight, 96});
    ASSERT_EQ(GetSystemMetrics(SM_CYCAPTION), 24);
    WriteSystemOptions();
    WriteEntries(3);
    Run({[&](CTavrelPrjDlg& dialog) {
        RECT window{};
        dialog.GetWindowRect(&window);
        EXPECT_EQ(window.left, expected.window.left);
        EXPECT_EQ(window.top, expected.window.top);
        EXPECT_EQ(window.right, expected.window.right);
        EXPECT_EQ(window.bottom, expected.window.bottom);
        EXPECT_EQ(dialog.menu.itemHeight, expected.itemHeight);
        EXPECT_EQ(dialog.menu.sliderWidth, expected.sliderWidth);
        EXPECT_EQ(dialog.menu.dragThreshold, expected.dragThreshold);
        // The menu lies 2 pixels inside the dialog's client area (inside its 1-pixel border).
        RECT menuRect{};
        dialog.menu.GetWindowRect(&menuRect);
        EXPECT_EQ(menuRect.left, window.left + 1 + 2);
        EXPECT_EQ(menuRect.bottom, window.bottom - 1 - 2);
        EXPECT_EQ(::GetFocus(), dialog.menu.m_hWnd);
        EXPECT_EQ(dialog.menu.ItemCount(), 3);
    }});
    EXPECT_TRUE(backend->messageBoxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Screens, LauncherPlacementTest,
                         ::testing::Values(Placement{240, 320, {10, 34, 230, 286}, 53, 5, 26},
                                           Placement{320, 240, {7, 31, 312, 208}, 40, 6, 20},
                                           Placement{480, 640, {20, 44, 460, 596}, 106, 10, 53}),
                         [](const ::testing::TestParamInfo<Placement>& info) {
                             std::string name = "Screen";
                             return name += ::testing::PrintToString(info.param);
                         });

TEST_F(LauncherTest, UserOptionsMoveTheWindowAndRefitTheMenu) {
    WriteSystemOptions();
    folder.Write("options.ini",
                 "[main_settings]\r\nuse_system_colors=false\r\nodd_item.r=255\r\n"
                 "use_system_font=true\r\nuse_system_item_height=false\r\nuser_item_height=64\r\n"
                 "use_system_menu_pos=false\r\nuser_menu_pos_TL_X=0\r\nuser_menu_pos_TL_Y=0\r\n"
                 "user_menu_pos_BR_X=240\r\nuser_menu_pos_BR_Y=320\r\npos_item_text=left\r\n");
    WriteEntries(12);
    Run({[](CTavrelPrjDlg& dialog) {
        RECT window{};
        dialog.GetWindowRect(&window);
        EXPECT_EQ(window.left, 0);
        EXPECT_EQ(window.right - window.left, 240);
        EXPECT_EQ(window.bottom - window.top, 320);
        CRect menu;
        dialog.menu.GetClientRect(&menu);
        EXPECT_EQ(menu.Width(), 240 - 2 - 4);
        EXPECT_EQ(dialog.menu.itemHeight, 64);
        EXPECT_EQ(dialog.menu.visibleCount, (320 - 2 - 4) / 64 + 1);
        EXPECT_EQ(dialog.menu.oddColor, RGB(255, 0, 0));
        EXPECT_EQ(dialog.menu.textAlign, 1);
        EXPECT_FALSE(dialog.menu.inertiaEnabled);
    }});
}

TEST_F(LauncherTest, AUserItemHeightAloneLaysTheMenuOutAgainInItsOwnPlace) {
    folder.Write("options.ini",
                 "[main_settings]\r\nuse_system_colors=true\r\nuse_system_font=true\r\n"
                 "use_system_item_height=false\r\nuser_item_height=64\r\n"
                 "use_system_menu_pos=true\r\n");
    WriteEntries(12);
    Run({[](CTavrelPrjDlg& dialog) {
        RECT window{};
        dialog.GetWindowRect(&window);
        EXPECT_EQ(window.left, 20);  // the place derived from the 480 x 640 screen
        EXPECT_EQ(window.bottom - window.top, 552);
        CRect menu;
        dialog.menu.GetClientRect(&menu);
        ASSERT_EQ(menu.Height(), 552 - 2 - 4);
        EXPECT_EQ(dialog.menu.itemHeight, 64);
        EXPECT_EQ(dialog.menu.visibleCount, 546 / 64 + 1);
        // The slider's thumb shows 546 of 12 x 64 pixels: from 0 to 388, not to the 234 of
        // rows of the screen-derived height. Track from 424 to 434, thumb inset by 2.
        const COLORREF background = GetSysColor(SYS_COLOR_INDEX_FLAG | COLOR_BTNFACE);
        EXPECT_EQ(platform::ReadWindowPixel(dialog.menu.m_hWnd, 429, 387), RGB(0, 0, 0));
        EXPECT_EQ(platform::ReadWindowPixel(dialog.menu.m_hWnd, 429, 388), background);
        // Row 1 starts after the two-pixel gap at 64.
        EXPECT_EQ(platform::ReadWindowPixel(dialog.menu.m_hWnd, 100, 64), background);
        EXPECT_EQ(platform::ReadWindowPixel(dialog.menu.m_hWnd, 100, 65), RGB(200, 200, 200));
    }});
}

TEST_F(LauncherTest, ImpossibleUserValuesKeepTheScreenDerivedOnes) {
    folder.Write("options.ini",
                 "[main_settings]\r\nuse_system_item_height=false\r\nuser_item_height=0\r\n"
                 "use_system_menu_pos=false\r\nuser_menu_pos_TL_X=300\r\nuser_menu_pos_TL_Y=0\r\n"
                 "user_menu_pos_BR_X=100\r\nuser_menu_pos_BR_Y=320\r\n");
    WriteEntries(40);
    Run({[](CTavrelPrjDlg& dialog) {
        RECT window{};
        dialog.GetWindowRect(&window);
        EXPECT_EQ(window.left, 20);  // inverted rectangle: the default place
        EXPECT_EQ(dialog.menu.itemHeight, 106);
    }});
}

TEST_F(LauncherTest, WithoutItsFilesItWarnsTwiceAndStillWorks) {
    const INT_PTR result = Run({[&](CTavrelPrjDlg& dialog) {
                                    EXPECT_EQ(dialog.menu.ItemCount(), 0);
                                    EXPECT_TRUE(dialog.IsWindowVisible());
                                    EXPECT_EQ(dialog.menu.itemHeight, 106);
                                },
                                [](CTavrelPrjDlg&) { platform::input::KeyDown(VK_DOWN); },
                                [](CTavrelPrjDlg&) { platform::input::KeyUp(VK_F1); }});
    ASSERT_EQ(backend->messageBoxes.size(), 2u);
    EXPECT_EQ(backend->messageBoxes[0].text, L"!CreateFile");
    EXPECT_EQ(backend->messageBoxes[0].caption, L"Error");
    EXPECT_EQ(backend->messageBoxes[1].text, L"!CreateFile");
    EXPECT_EQ(result, IDOK);
}

TEST_F(LauncherTest, AnEmptyOptionsFileGivesTheSystemLookLikeAMissingOne) {
    WriteEntries(3);
    // What the rows show: the gap above the first row, the highlighted first row and the second.
    struct Look {
        COLORREF gap;
        COLORREF active;
        COLORREF odd;
        bool operator==(const Look&) const = default;
    };
    const auto lookWith = [this](const std::string& options) {
        folder.Write("options.ini", options);
        Look look{};
        Run({[&look](CTavrelPrjDlg& dialog) {
            RECT window{};
            dialog.GetWindowRect(&window);
            EXPECT_EQ(window.left, 20);
            EXPECT_EQ(window.top, 44);
            EXPECT_EQ(dialog.menu.itemHeight, 106);
            EXPECT_TRUE(dialog.menu.inertiaEnabled);
            const HWND menu = dialog.menu.m_hWnd;
            const CRect first = dialog.menu.RowRect(0);
            const CRect second = dialog.menu.RowRect(1);
            // Near each row's right end, clear of its outline and its centred title.
            look = Look{
                platform::ReadWindowPixel(menu, 0, 0),
                platform::ReadWindowPixel(menu, first.right - 4, (first.top + first.bottom) / 2),
                platform::ReadWindowPixel(menu, second.right - 4,
                                          (second.top + second.bottom) / 2)};
        }});
        return look;
    };
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(lookWith(""), (Look{face, GetSysColor(COLOR_HIGHLIGHT), face}));
    EXPECT_TRUE(backend->messageBoxes.empty());
    // Unlike a file that holds something but no keys: every colour is then the missing black.
    EXPECT_EQ(lookWith("\r\n"), (Look{RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0)}));
}

TEST_F(LauncherTest, LosingActivationEndsItAndWritesNoFile) {
    WriteSystemOptions();
    WriteEntries(3);
    const int filesBefore = folder.FileCount();
    const INT_PTR result = Run(
        {[](CTavrelPrjDlg& dialog) { platform::input::ActivationChanged(dialog.m_hWnd, false); }});
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(stepsLeft, 0);
    EXPECT_EQ(folder.FileCount(), filesBefore);
}

TEST_F(LauncherTest, AChangedScreenSizeEndsIt) {
    WriteSystemOptions();
    WriteEntries(3);
    EXPECT_EQ(Run({[](CTavrelPrjDlg&) {
                       platform::input::DisplayChanged({640, 480, 96});
                   },
                   [](CTavrelPrjDlg&) {}}),
              IDOK);
    EXPECT_EQ(stepsLeft, 1);
}

TEST_F(LauncherTest, EnterSoftKeysEscapeAndALongTapEndIt) {
    WriteSystemOptions();
    WriteEntries(5);
    const std::vector<std::tuple<const char*, std::function<void(CTavrelPrjDlg&)>, INT_PTR>>
        endings{
            {"Enter", [](CTavrelPrjDlg&) { platform::input::KeyDown(VK_RETURN); }, IDOK},
            {"F1", [](CTavrelPrjDlg&) { platform::input::KeyUp(VK_F1); }, IDOK},
            {"F2", [](CTavrelPrjDlg&) { platform::input::KeyUp(VK_F2); }, IDOK},
            {"Escape", [](CTavrelPrjDlg&) { platform::input::KeyDown(VK_ESCAPE); }, IDCANCEL},
        };
    for (const auto& [name, ending, expected] : endings) {
        EXPECT_EQ(Run({ending, [](CTavrelPrjDlg&) {}}), expected) << name;
        EXPECT_EQ(stepsLeft, 1) << name;
    }

    // A short tap only highlights; a hold of more than 300 ms starts the entry and ends it.
    POINT row{};
    const INT_PTR result = Run({
        [&](CTavrelPrjDlg& dialog) {
            row = RowPoint(dialog, 2);
            platform::input::StylusDown(row);
        },
        [&](CTavrelPrjDlg&) { backend->AdvanceClock(300); },
        [&](CTavrelPrjDlg& dialog) {
            platform::input::StylusUp(row);
            EXPECT_EQ(dialog.menu.activeIndex, 2);
        },
        [&](CTavrelPrjDlg&) { platform::input::StylusDown(row); },
        [&](CTavrelPrjDlg&) { backend->AdvanceClock(301); },
        [&](CTavrelPrjDlg&) { platform::input::StylusUp(row); },
        [](CTavrelPrjDlg&) {},
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(stepsLeft, 1);
}

TEST_F(LauncherTest, AnEntryThatCannotStartSaysWhyBeforeTheLauncherCloses) {
    WriteSystemOptions();
    const std::wstring missing = folder.WidePath("no-such-program");
    folder.Write("settings.ini",
                 "[Notes]\r\nExecPath=" + folder.Path("no-such-program").string() + "\r\n");
    backend->answerMessageBoxes = false;
    testing::internal::CaptureStderr();
    POINT row{};
    bool launcherDisabledUnderTheBox = false;
    const INT_PTR result = Run({
        [&](CTavrelPrjDlg& dialog) {
            row = RowPoint(dialog, 0);
            platform::input::StylusDown(row);
        },
        [&](CTavrelPrjDlg&) { backend->AdvanceClock(301); },
        [&](CTavrelPrjDlg&) { platform::input::StylusUp(row); },
        [&](CTavrelPrjDlg& dialog) {
            ASSERT_EQ(backend->messageBoxes.size(), 1u);
            launcherDisabledUnderTheBox = !dialog.IsWindowEnabled() && dialog.IsWindowVisible();
            CRect ok;
            ::GetWindowRect(::GetDlgItem(backend->messageBoxes[0].box, IDOK), &ok);
            platform::input::StylusDown(ok.CenterPoint());
            platform::input::StylusUp(ok.CenterPoint());
        },
        [](CTavrelPrjDlg&) {},
    });
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(stepsLeft, 1) << "the launcher closed once the box was answered";
    ASSERT_EQ(backend->messageBoxes.size(), 1u);
    EXPECT_EQ(backend->messageBoxes[0].text,
              L"Cannot start \u201C" + missing + L"\u201D:\nNo such file or directory");
    EXPECT_TRUE(launcherDisabledUnderTheBox) << "the box is modal over the launcher";
    EXPECT_NE(errors.find("no-such-program\": No such file or directory"), std::string::npos)
        << errors;
}

TEST_F(LauncherTest, TheApplicationRunsTheDialogOnceAndReturnsFalse) {
    WriteSystemOptions();
    WriteEntries(1);
    backend->onIdle = []() {
        platform::input::KeyDown(VK_ESCAPE);
        return true;
    };
    CTavrelPrjApp application;
    EXPECT_FALSE(application.InitInstance());
    EXPECT_EQ(application.m_registryKey, L"Local AppWizard-Generated Applications");
    EXPECT_EQ(application.m_pMainWnd, nullptr);
    backend->onIdle = nullptr;
}

}  // namespace

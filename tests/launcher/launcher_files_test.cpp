// The launcher and the files it is given: pipes and devices in place of its files, a folder and
// programs whose names are not UTF-8, and icons looked up only for the rows on screen.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "icons/icon_test_support.h"
#include "launcher/launcher_fixture.h"
#include "platform/base/text_encoding.h"
#include "platform/graphics/icon.h"
#include "platform/shell/file_info.h"
#include "support/child_process.h"

namespace {

constexpr std::uint32_t kFolderIcon = 0xFFFF8000;
constexpr std::uint32_t kProgramIcon = 0xFF0080FF;

// The launcher with an icon theme of its own: hicolor with a folder and a program icon.
class LauncherFilesTest : public LauncherTest {
  protected:
    LauncherFilesTest()
        : dataDirs_("XDG_DATA_DIRS", desktop_.Path() + "/share"),
          dataHome_("XDG_DATA_HOME", desktop_.Path() + "/home"),
          configHome_("XDG_CONFIG_HOME", desktop_.Path() + "/config") {}

    void SetUp() override {
        LauncherTest::SetUp();
        const std::string theme = desktop_.Make("share/icons/hicolor/index.theme");
        icon_test::WriteText(theme,
                             "[Icon Theme]\nName=hicolor\nDirectories=32x32/apps\n"
                             "[32x32/apps]\nSize=32\nType=Fixed\n");
        ASSERT_TRUE(icon_test::WriteSolidPng(
            desktop_.Make("share/icons/hicolor/32x32/apps/folder.png"), 32, kFolderIcon));
        ASSERT_TRUE(icon_test::WriteSolidPng(
            desktop_.Make("share/icons/hicolor/32x32/apps/application-x-executable.png"), 32,
            kProgramIcon));
        platform::ResetIconLookupCaches();
    }
    void TearDown() override {
        platform::ResetIconLookupCaches();
        LauncherTest::TearDown();
    }

    // The colour at the middle of row `row`'s icon.
    static COLORREF IconPixel(CTavrelPrjDlg& dialog, int row) {
        const CTavrelItem& item = *dialog.menu.items[row];
        const CRect rect = dialog.menu.RowRect(row);
        return platform::ReadWindowPixel(dialog.menu.m_hWnd,
                                         rect.left + item.iconMargin + item.iconWidth / 2,
                                         rect.top + item.iconTop + item.iconHeight / 2);
    }

  private:
    icon_test::TemporaryFolder desktop_;
    icon_test::ScopedEnvironment dataDirs_, dataHome_, configHome_;
};

COLORREF Colour(std::uint32_t argb) {
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

TEST_F(LauncherFilesTest, PipesAndDevicesInPlaceOfItsFilesNeitherStallNorStopIt) {
    for (const bool pipe : {true, false}) {
        SCOPED_TRACE(pipe ? "named pipes" : "links to /dev/zero");
        for (const char* name : {"options.ini", "settings.ini"}) {
            std::filesystem::remove(folder.Path(name));
            if (pipe) {
                ASSERT_EQ(::mkfifo(folder.Path(name).c_str(), 0600), 0);
            } else {
                ASSERT_EQ(::symlink("/dev/zero", folder.Path(name).c_str()), 0);
            }
        }
        child_process::ExpectInChild(10, [&] {
            const INT_PTR result =
                Run({[](CTavrelPrjDlg& dialog) {
                         EXPECT_TRUE(dialog.IsWindowVisible());
                         EXPECT_EQ(dialog.menu.ItemCount(), 0);
                         EXPECT_EQ(dialog.menu.itemHeight, 106);
                     },
                     [](CTavrelPrjDlg&) { platform::input::KeyDown(VK_ESCAPE); }});
            EXPECT_EQ(result, IDCANCEL);
            // Neither file could be opened: each says so, as a missing file does.
            ASSERT_EQ(backend->messageBoxes.size(), 2u);
            EXPECT_EQ(backend->messageBoxes[0].text, L"!CreateFile");
            EXPECT_EQ(backend->messageBoxes[1].text, L"!CreateFile");
        });
    }
}

TEST_F(LauncherFilesTest, AFolderAndProgramsNamedInLatin1AreFoundAndStarted) {
    // The launcher lives in "café" spelled in Latin-1, and so does the program it starts; the
    // entry's title and argument are Latin-1 too.
    const std::filesystem::path home = folder.Path("caf\xE9");
    std::filesystem::create_directories(home / "bin");
    const std::string program = (home / "bin" / "d\xE9mo").string();
    std::ofstream(program) << "#!/bin/sh\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/started\"\n";
    ::chmod(program.c_str(), 0755);
    std::ofstream(home / "settings.ini", std::ios::binary)
        << "[D\xE9mo]\r\nExecPath=" << program
        << "\r\nArgs=na\xEFve\r\n[Caf\xE9]\r\nExecPath=" << home.string() << "\r\n";
    std::ofstream(home / "options.ini", std::ios::binary)
        << "[main_settings]\r\nuse_system_colors=true\r\nuse_system_font=true\r\n"
           "use_system_item_height=true\r\nuse_system_menu_pos=true\r\n";
    platform::OverrideModuleFilePath(platform::WideFromUtf8((home / "TavrelPrj").string()));

    const INT_PTR result =
        Run({[&](CTavrelPrjDlg& dialog) {
                 ASSERT_EQ(dialog.menu.ItemCount(), 2);
                 EXPECT_EQ(platform::Utf8FromWide(dialog.menu.items[0]->title), "D\xE9mo");
                 EXPECT_EQ(IconPixel(dialog, 0), Colour(kProgramIcon));
                 EXPECT_EQ(IconPixel(dialog, 1), Colour(kFolderIcon));
             },
             [](CTavrelPrjDlg&) { platform::input::KeyDown(VK_RETURN); }});
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(backend->messageBoxes.empty());
    const std::filesystem::path started = home / "bin" / "started";
    for (int attempt = 0; attempt < 500 && !std::filesystem::exists(started); ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::ifstream argument(started, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(argument), {}), "na\xEFve");
}

TEST_F(LauncherFilesTest, IconsAreLookedUpForTheRowsOnScreenOnly) {
    WriteSystemOptions();
    std::string entries;
    for (int index = 0; index < 2000; ++index) {
        entries +=
            "[Folder " + std::to_string(index) + "]\r\nExecPath=" + folder.Path().string() + "\r\n";
    }
    folder.Write("settings.ini", entries);
    const int iconsBefore = platform::LiveIconCount();
    Run({[&](CTavrelPrjDlg& dialog) {
             const int visible = dialog.menu.visibleCount;
             EXPECT_LE(platform::LiveIconCount() - iconsBefore, visible + 1);  // and the dialog's
             EXPECT_EQ(IconPixel(dialog, 0), Colour(kFolderIcon));
             EXPECT_EQ(IconPixel(dialog, visible - 2), Colour(kFolderIcon));
             EXPECT_FALSE(dialog.menu.items[visible + 1]->icon);
         },
         // Rows that come into view get their icons as they are drawn.
         [](CTavrelPrjDlg&) {
             for (int step = 0; step < 12; ++step) platform::input::KeyDown(VK_DOWN);
         },
         [&](CTavrelPrjDlg& dialog) {
             const int last = dialog.menu.firstVisible + dialog.menu.visibleCount - 2;
             EXPECT_TRUE(dialog.menu.items[last]->icon);
             EXPECT_EQ(IconPixel(dialog, last), Colour(kFolderIcon));
             EXPECT_LT(platform::LiveIconCount() - iconsBefore, 40);
         },
         [](CTavrelPrjDlg&) { platform::input::KeyDown(VK_ESCAPE); }});
}

}  // namespace

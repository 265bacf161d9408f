// SHGetFileInfo's icon lookup against a small fake desktop: desktop entries, an icon theme
// with a parent and hicolor, pixmaps, generic icons, sizes and failures.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "icon_test_support.h"
#include "platform/base/system_metrics.h"
#include "platform/graphics/icon.h"
#include "platform/shell/file_info.h"
#include "platform/shell/icon_theme.h"
#include "support/child_process.h"

namespace {

using icon_test::DrawnColour;
using icon_test::ScopedEnvironment;
using icon_test::TemporaryFolder;
using icon_test::WriteSolidPng;
using icon_test::WriteText;

// Each icon file has its own colour, so a drawn pixel tells which file was chosen.
constexpr std::uint32_t kEditorApp = 0xFFFF0000;
constexpr std::uint32_t kEditorByName = 0xFF0000FF;
constexpr std::uint32_t kViewer = 0xFF00FF00;
constexpr std::uint32_t kExecutable = 0xFF808080;
constexpr std::uint32_t kFolder = 0xFFFFFF00;
constexpr std::uint32_t kDirectory = 0xFF603000;
constexpr std::uint32_t kText = 0xFF202020;
constexpr std::uint32_t kImage = 0xFFFF00FF;
constexpr std::uint32_t kWeb = 0xFF00FFFF;
constexpr std::uint32_t kHicolorOnly = 0xFF400000;
constexpr std::uint32_t kSymbolic = 0xFFFF8000;
constexpr std::uint32_t kPixmap = 0xFF004000;
constexpr std::uint32_t kAbsolute = 0xFF000040;
constexpr std::uint32_t kThreshold22 = 0xFF102030;
constexpr std::uint32_t kFixed48 = 0xFF304050;
constexpr std::uint32_t kScaled64 = 0xFF506070;
constexpr std::uint32_t kScalableSvg = 0xFF708090;  // #708090

COLORREF Colour(std::uint32_t argb) {
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

class FakeDesktop : public testing::Test {
  protected:
    FakeDesktop()
        : home_("HOME", root_.Path() + "/home"),
          dataHome_("XDG_DATA_HOME", root_.Path() + "/home/.local/share"),
          dataDirs_("XDG_DATA_DIRS", root_.Path() + "/share"),
          configHome_("XDG_CONFIG_HOME", root_.Path() + "/config"),
          configDirs_("XDG_CONFIG_DIRS", root_.Path() + "/etc-xdg"),
          path_("PATH", root_.Path() + "/bin") {}

    void SetUp() override {
        liveIcons_ = platform::LiveIconCount();
        platform::ResetIconLookupCaches();
    }
    void TearDown() override {
        platform::ResetIconLookupCaches();
        EXPECT_EQ(platform::LiveIconCount(), liveIcons_);
    }

    std::string Path(const std::string& relative) const { return root_.Path() + "/" + relative; }
    std::string Make(const std::string& relative) const { return root_.Make(relative); }

    void Theme(const std::string& name, const std::string& index) {
        WriteText(Make("share/icons/" + name + "/index.theme"), index);
    }
    void ThemePng(const std::string& relative, int size, std::uint32_t argb) {
        ASSERT_TRUE(WriteSolidPng(Make("share/icons/" + relative), size, argb));
    }
    std::string Program(const std::string& relative) {
        const std::string path = Make(relative);
        WriteText(path, "#!/bin/sh\n");
        ::chmod(path.c_str(), 0755);
        return path;
    }
    void Entry(const std::string& relative, const std::string& body) {
        WriteText(Make(relative), "[Desktop Entry]\nType=Application\nName=Test\n" + body);
    }

    // The colour of the icon found for the path, drawn at `size`; CLR_INVALID when none.
    static COLORREF IconColour(const std::string& path, int size = 32) {
        return IconColour(Wide(path), size);
    }
    static COLORREF IconColour(const std::wstring& path, int size = 32) {
        SHFILEINFO info;
        const DWORD_PTR found = SHGetFileInfo(path.c_str(), 0, &info, sizeof info, SHGFI_ICON);
        EXPECT_EQ(found != 0, info.hIcon != nullptr);
        if (info.hIcon == nullptr) return CLR_INVALID;
        const COLORREF colour = DrawnColour(info.hIcon, size);
        EXPECT_TRUE(DestroyIcon(info.hIcon));
        return colour;
    }

    // The theme "Test" (inheriting "Parent"), hicolor, pixmaps and the applications folders.
    void BuildDesktop() {
        WriteText(Make("config/gtk-3.0/settings.ini"), "[Settings]\ngtk-icon-theme-name = Test\n");
        Theme("Test",
              "[Icon Theme]\nName=Test\nInherits=Parent\n"
              "Directories=16x16/apps,22x22/apps,48x48/apps,scalable/apps,missing-group,\n"
              "ScaledDirectories=32x32@2/apps\n"
              "[16x16/apps]\nSize=16\nType=Fixed\n"
              "[22x22/apps]\nSize=22\nType=Threshold\nThreshold=2\n"
              "[48x48/apps]\nSize=48\nType=Fixed\n"
              "[32x32@2/apps]\nSize=32\nScale=2\nType=Fixed\n"
              "[scalable/apps]\nSize=48\nType=Scalable\nMinSize=16\nMaxSize=256\n");
        Theme("Parent",
              "[Icon Theme]\nName=Parent\nDirectories=32x32/places\n"
              "[32x32/places]\nSize=32\nType=Fixed\n");
        Theme("hicolor",
              "[Icon Theme]\nName=hicolor\nDirectories=32x32/apps,48x48/apps\n"
              "[32x32/apps]\nSize=32\nType=Fixed\n[48x48/apps]\nSize=48\nType=Fixed\n");
        ThemePng("Test/48x48/apps/editor-app.png", 48, kEditorApp);
        ThemePng("Test/48x48/apps/editor.png", 48, kEditorByName);
        ThemePng("Test/48x48/apps/viewer.png", 48, kViewer);
        ThemePng("Test/16x16/apps/image-x-generic.png", 16, kImage);
        ThemePng("Test/48x48/apps/shared-name.png", 48, kViewer);
        ThemePng("Test/22x22/apps/sized.png", 22, kThreshold22);
        ThemePng("Test/48x48/apps/sized.png", 48, kFixed48);
        ThemePng("Test/32x32@2/apps/sized.png", 64, kScaled64);
        WriteText(Make("share/icons/Test/scalable/apps/sized.svg"),
                  R"(<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48">)"
                  R"(<rect width="48" height="48" fill="#708090"/></svg>)");
        ThemePng("Parent/32x32/places/folder.png", 32, kFolder);
        ThemePng("hicolor/32x32/apps/application-x-executable.png", 32, kExecutable);
        ThemePng("hicolor/32x32/apps/inode-directory.png", 32, kDirectory);
        ThemePng("hicolor/32x32/apps/text-x-generic.png", 32, kText);
        ThemePng("hicolor/32x32/apps/text-html.png", 32, kWeb);
        ThemePng("hicolor/32x32/apps/hicolor-only.png", 32, kHicolorOnly);
        ThemePng("hicolor/48x48/apps/shared-name.png", 48, kEditorApp);
        ThemePng("hicolor/32x32/apps/bell-symbolic.png", 32, kSymbolic);
        ThemePng("hicolor/32x32/apps/ringer-symbolic.png", 32, kSymbolic);
        ASSERT_TRUE(WriteSolidPng(Make("share/pixmaps/ringer.png"), 32, kPixmap));
        WriteText(Make("share/pixmaps/xpm-only.xpm"), "/* XPM */");
    }

  private:
    TemporaryFolder root_;
    ScopedEnvironment home_, dataHome_, dataDirs_, configHome_, configDirs_, path_;
    int liveIcons_ = 0;
};

TEST_F(FakeDesktop, DesktopEntryBeatsThemeByNameBeatsGenericIcon) {
    BuildDesktop();
    const std::string editor = Program("bin/editor");
    Entry("share/applications/editor.desktop", "Exec=editor %F\nIcon=editor-app\n");
    EXPECT_EQ(IconColour(editor), Colour(kEditorApp));
    EXPECT_EQ(IconColour(Program("bin/viewer")), Colour(kViewer));
    EXPECT_EQ(IconColour(Program("bin/plain-program")), Colour(kExecutable));

    // A program outside PATH does not match an entry that names it bare.
    EXPECT_EQ(IconColour(Program("elsewhere/editor")), Colour(kEditorByName));

    // Quoted absolute Exec after env, an absolute Icon file, an ID from a subfolder.
    const std::string tool = Program("opt/my tool");
    ASSERT_TRUE(WriteSolidPng(Make("pictures/tool.png"), 24, kAbsolute));
    Entry("share/applications/suite/tool.desktop",
          "Exec=env LANG=C \"" + tool + "\" --flag\nIcon=" + Path("pictures/tool.png") + "\n");
    // TryExec counts as well as Exec.
    Program("bin/wrapped");
    Entry("share/applications/wrapped.desktop",
          "Exec=sh -c wrapped\nTryExec=wrapped\nIcon=viewer\n");
    // The user's entry overrides the system's of the same ID; a hidden one removes it.
    Program("bin/overridden");
    Entry("share/applications/overridden.desktop", "Exec=overridden\nIcon=editor-app\n");
    Entry("home/.local/share/applications/overridden.desktop", "Exec=overridden\nIcon=viewer\n");
    Program("bin/removed");
    Entry("share/applications/removed.desktop", "Exec=removed\nIcon=editor-app\n");
    Entry("home/.local/share/applications/removed.desktop",
          "Exec=removed\nIcon=viewer\nHidden=true\n");
    // Reached through a link to the file an entry names.
    const std::string real = Program("opt/real-program");
    ASSERT_EQ(::symlink(real.c_str(), Path("bin/linked").c_str()), 0);
    Entry("share/applications/real.desktop", "Exec=" + real + "\nIcon=editor-app.png\n");

    // A dangling link among the entries is skipped without ending the scan.
    ASSERT_EQ(::symlink(Path("nowhere").c_str(), Path("share/applications/aaa.desktop").c_str()),
              0);

    platform::ResetIconLookupCaches();  // the entry index was built by the first lookups
    EXPECT_EQ(IconColour(tool), Colour(kAbsolute));
    EXPECT_EQ(IconColour(Path("bin/wrapped")), Colour(kViewer));
    EXPECT_EQ(IconColour(Path("bin/overridden")), Colour(kViewer));
    EXPECT_EQ(IconColour(Path("bin/removed")), Colour(kExecutable));
    EXPECT_EQ(IconColour(Path("bin/linked")), Colour(kEditorApp));

    // A .desktop file itself shows its Icon; one without falls back to the program icon.
    WriteText(Make("launchers/photos.desktop"), "[Desktop Entry]\nIcon=image-x-generic\n");
    WriteText(Make("launchers/bare.desktop"), "[Desktop Entry]\nName=Bare\n");
    EXPECT_EQ(IconColour(Path("launchers/photos.desktop"), 16), Colour(kImage));
    EXPECT_EQ(IconColour(Path("launchers/bare.desktop")), Colour(kExecutable));
}

TEST_F(FakeDesktop, ThemeChainEndsInHicolorThenPixmapsThenSymbolic) {
    BuildDesktop();
    EXPECT_EQ(platform::CurrentIconThemeName(), "Test");
    EXPECT_EQ(IconColour(Program("bin/hicolor-only")), Colour(kHicolorOnly));
    EXPECT_EQ(IconColour(Program("bin/shared-name")), Colour(kViewer));  // the theme first
    EXPECT_EQ(IconColour(Program("bin/ringer")), Colour(kPixmap));       // beats "-symbolic"
    EXPECT_EQ(IconColour(Program("bin/bell")), Colour(kSymbolic));
    EXPECT_EQ(IconColour(Program("bin/xpm-only")), Colour(kExecutable));  // XPM is not drawn
    EXPECT_EQ(platform::FindThemeIcon("no-such-icon"), nullptr);
    EXPECT_EQ(platform::FindThemeIcon("../Test/48x48/apps/viewer"), nullptr);
    // Results are shared, not rebuilt per lookup.
    EXPECT_EQ(platform::FindThemeIcon("viewer"), platform::FindThemeIcon("viewer"));
}

TEST_F(FakeDesktop, ThresholdScaleAndScalableDirectoriesMatchDrawSizes) {
    BuildDesktop();
    const std::string sized = Program("bin/sized");
    EXPECT_EQ(IconColour(sized, 16), Colour(kThreshold22));  // the smallest at least as large
    EXPECT_EQ(IconColour(sized, 20), Colour(kThreshold22));
    EXPECT_EQ(IconColour(sized, 24), Colour(kThreshold22));  // within 22's threshold
    EXPECT_EQ(IconColour(sized, 26), Colour(kFixed48));
    EXPECT_EQ(IconColour(sized, 48), Colour(kFixed48));
    EXPECT_EQ(IconColour(sized, 64), Colour(kScaled64));  // 32 at scale 2
    EXPECT_EQ(IconColour(sized, 96), Colour(kScalableSvg));
    EXPECT_EQ(IconColour(sized, 300), Colour(kScalableSvg));
}

TEST_F(FakeDesktop, GenericIconsByKindOfPath) {
    BuildDesktop();
    std::filesystem::create_directories(Path("files/Pictures"));
    std::filesystem::create_directories(Path("files/M\xC3\xBCsik"));
    WriteText(Make("files/notes.txt"), "text");
    WriteText(Make("files/photo.PNG"), "not really");
    WriteText(Make("files/mystery.qqq"), "?");
    WriteText(Make("files/page.html"), "<html>");
    WriteText(Make("files/.png"), "a hidden file without an extension");
    EXPECT_EQ(IconColour(Path("files/Pictures")), Colour(kFolder));
    EXPECT_EQ(IconColour(Path("files/Pictures/")), Colour(kFolder));
    EXPECT_EQ(IconColour(Wide(Path("files")) + L"/M\u00FCsik"), Colour(kFolder));
    EXPECT_EQ(IconColour(Path("files/notes.txt")), Colour(kText));
    EXPECT_EQ(IconColour(Path("files/photo.PNG"), 16), Colour(kImage));
    EXPECT_EQ(IconColour(Path("files/.png"), 16), Colour(kText));
    EXPECT_EQ(IconColour(Path("files/mystery.qqq")), Colour(kText));
    EXPECT_EQ(IconColour(Path("files/page.html")), Colour(kWeb));
    EXPECT_EQ(IconColour("https://example.org/index.html"), Colour(kWeb));
    EXPECT_EQ(IconColour("HTTP://example.org"), Colour(kWeb));

    // A folder takes "folder" (here from the parent theme) before the "inode-directory" that
    // hicolor has, and the latter only where the themes have no "folder".
    std::filesystem::remove(Path("share/icons/Parent/32x32/places/folder.png"));
    platform::ResetIconLookupCaches();
    EXPECT_EQ(IconColour(Path("files/Pictures")), Colour(kDirectory));

    // No such path: nothing, whatever was found for it before.
    EXPECT_EQ(IconColour(Path("files/missing.txt")), CLR_INVALID);
    std::filesystem::remove(Path("files/notes.txt"));
    EXPECT_EQ(IconColour(Path("files/notes.txt")), CLR_INVALID);
    EXPECT_EQ(IconColour(""), CLR_INVALID);

    SHFILEINFO info;
    info.hIcon = reinterpret_cast<HICON>(&info);
    EXPECT_EQ(SHGetFileInfo(Wide(Path("files/missing")).c_str(), 0, &info, sizeof info, SHGFI_ICON),
              0u);
    EXPECT_EQ(info.hIcon, nullptr);
    EXPECT_EQ(SHGetFileInfo(Wide(Path("files")).c_str(), 0, &info, sizeof info - 1, SHGFI_ICON),
              0u);
    EXPECT_EQ(SHGetFileInfo(nullptr, 0, &info, sizeof info, SHGFI_ICON), 0u);
    EXPECT_NE(SHGetFileInfo(Wide(Path("files")).c_str(), 0, nullptr, 0, 0), 0u);
}

TEST_F(FakeDesktop, SmallAndLargeIconsHaveTheSystemSizes) {
    BuildDesktop();
    const std::wstring viewer = Wide(Program("bin/viewer"));
    SHFILEINFO large;
    SHFILEINFO small;
    ASSERT_NE(SHGetFileInfo(viewer.c_str(), 0, &large, sizeof large, SHGFI_ICON | SHGFI_LARGEICON),
              0u);
    ASSERT_NE(SHGetFileInfo(viewer.c_str(), 0, &small, sizeof small, SHGFI_ICON | SHGFI_SMALLICON),
              0u);
    EXPECT_NE(large.hIcon, small.hIcon);  // each caller owns its own icon
    SIZE largeSize{};
    SIZE smallSize{};
    ASSERT_TRUE(platform::GetIconSize(large.hIcon, &largeSize));
    ASSERT_TRUE(platform::GetIconSize(small.hIcon, &smallSize));
    EXPECT_EQ(largeSize.cx, GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(largeSize.cy, GetSystemMetrics(SM_CYICON));
    EXPECT_EQ(smallSize.cx, GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(smallSize.cy, GetSystemMetrics(SM_CYSMICON));
    EXPECT_EQ(DrawnColour(small.hIcon, smallSize.cx), Colour(kViewer));
    EXPECT_TRUE(DestroyIcon(large.hIcon));
    EXPECT_TRUE(DestroyIcon(small.hIcon));
}

TEST_F(FakeDesktop, MissingThemesAndBrokenFilesGiveNoIconWithoutFailing) {
    // Nothing installed at all: the fallback theme is hicolor, and it is not there either.
    WriteText(Make("config/gtk-3.0/settings.ini"), "[Settings]\ngtk-icon-theme-name=Absent\n");
    std::filesystem::create_directories(Path("files/folder"));
    EXPECT_EQ(platform::CurrentIconThemeName(), "hicolor");
    EXPECT_EQ(IconColour(Path("files/folder")), CLR_INVALID);
    EXPECT_EQ(IconColour(Program("bin/program")), CLR_INVALID);

    // With Adwaita present it is the fallback; its broken files give an icon that draws nothing.
    Theme("Adwaita",
          "[Icon Theme]\nName=Adwaita\nDirectories=32x32/places,scalable/places\n"
          "[32x32/places]\nSize=32\nType=Fixed\n"
          "[scalable/places]\nSize=32\nType=Scalable\nMinSize=8\nMaxSize=512\n");
    WriteText(Make("share/icons/Adwaita/32x32/places/folder.png"), "\x89PNG\r\n\x1A\n truncated");
    WriteText(Make("share/icons/Adwaita/scalable/places/folder.svg"), "<svg");
    platform::ResetIconLookupCaches();
    EXPECT_EQ(platform::CurrentIconThemeName(), "Adwaita");
    SHFILEINFO info;
    ASSERT_NE(SHGetFileInfo(Wide(Path("files/folder")).c_str(), 0, &info, sizeof info, SHGFI_ICON),
              0u);
    icon_test::MemoryCanvas canvas(32, 32);
    EXPECT_FALSE(DrawIconEx(canvas.Dc(), 0, 0, info.hIcon, 32, 32, 0, nullptr, DI_NORMAL));
    EXPECT_FALSE(DrawIconEx(canvas.Dc(), 0, 0, info.hIcon, 64, 64, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(canvas.At(16, 16), RGB(255, 255, 255));
    EXPECT_TRUE(DestroyIcon(info.hIcon));
}

TEST_F(FakeDesktop, BrokenThemedIconsGiveWayToTheGenericIcon) {
    BuildDesktop();
    const std::string apps = "share/icons/Test/48x48/apps/";
    // Cut short, corrupt, beyond the surface limits, a header claiming a huge picture, a folder
    // and a named pipe, each where a program's icon should be.
    std::string good;
    {
        const std::string path = Make("good.png");
        ASSERT_TRUE(WriteSolidPng(path, 48, kViewer));
        good = icon_test::ReadBytes(path);
    }
    WriteText(Make(apps + "truncated.png"), good.substr(0, good.size() / 2));
    std::string corrupt = good;
    corrupt[corrupt.size() - 20] = static_cast<char>(corrupt[corrupt.size() - 20] ^ 0x55);
    WriteText(Make(apps + "corrupt.png"), corrupt);
    icon_test::RawPng tooWide{platform::Surface::kMaxSide + 1, 1, 1, PNG_COLOR_TYPE_GRAY};
    tooWide.rows = {std::vector<png_byte>((platform::Surface::kMaxSide + 8) / 8, 0)};
    ASSERT_TRUE(icon_test::WriteRawPng(Make(apps + "oversized.png"), tooWide));
    ASSERT_TRUE(icon_test::WriteHugeHeaderPng(Make(apps + "huge-header.png"), 8000, 8000));
    std::filesystem::create_directories(Path(apps + "folder.png"));
    ASSERT_EQ(::mkfifo(Path(apps + "piped.png").c_str(), 0600), 0);
    WriteText(Make("share/icons/Test/scalable/apps/broken-svg.svg"), "<svg><unclosed");
    // A desktop entry naming a broken icon gives way to the theme's icon of the program's name.
    WriteText(Make(apps + "viewer-entry.png"), "\x89PNG\r\n\x1A\n");
    Entry("share/applications/viewer.desktop", "Exec=viewer\nIcon=viewer-entry\n");
    for (const char* name : {"truncated", "corrupt", "oversized", "huge-header", "folder", "piped",
                             "broken-svg", "viewer"}) {
        Program(std::string("bin/") + name);
    }
    child_process::ExpectInChild(20, [&] {
        for (const char* name : {"truncated", "corrupt", "oversized", "huge-header", "folder",
                                 "piped", "broken-svg"}) {
            SCOPED_TRACE(name);
            EXPECT_EQ(IconColour(Path(std::string("bin/") + name)), Colour(kExecutable));
        }
        EXPECT_EQ(IconColour(Path("bin/viewer")), Colour(kViewer));
    });
}

TEST_F(FakeDesktop, PipesAndEndlessFilesInTheDesktopNeverStallALookup) {
    // The user's GTK settings, the theme's index, a theme cache and a desktop entry, each in
    // turn a named pipe or a link to a device that never ends.
    const std::vector<std::string> targets{
        "config/gtk-3.0/settings.ini", "share/icons/Test/index.theme",
        "share/icons/hicolor/icon-theme.cache", "share/applications/viewer.desktop"};
    for (const std::string& target : targets) {
        for (const bool pipe : {true, false}) {
            SCOPED_TRACE(target + (pipe ? " as a pipe" : " to /dev/zero"));
            BuildDesktop();
            std::filesystem::remove(Make(target));
            if (pipe) {
                ASSERT_EQ(::mkfifo(Path(target).c_str(), 0600), 0);
            } else {
                ASSERT_EQ(::symlink("/dev/zero", Path(target).c_str()), 0);
            }
            const std::string viewer = Program("bin/viewer");
            const std::string hicolorOnly = Program("bin/hicolor-only");
            child_process::ExpectInChild(10, [&] {
                platform::ResetIconLookupCaches();
                const bool themeRead = target.find("/Test/") == std::string::npos &&
                                       target.find("gtk-3.0") == std::string::npos;
                EXPECT_EQ(platform::CurrentIconThemeName(), themeRead ? "Test" : "hicolor");
                EXPECT_EQ(IconColour(viewer), Colour(themeRead ? kViewer : kExecutable));
                EXPECT_EQ(IconColour(hicolorOnly), Colour(kHicolorOnly));
            });
            std::filesystem::remove(Path(target));
        }
    }
}

}  // namespace

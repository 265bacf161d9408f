// Themes with GTK's icon-theme.cache (made by gtk-update-icon-cache): a current cache finds the
// same files as listing the folders, and a cache that changed folders or damage made untrue is
// not believed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "icon_test_support.h"
#include "platform/shell/file_info.h"
#include "platform/shell/icon_theme.h"

namespace {

using icon_test::ScopedEnvironment;
using icon_test::TemporaryFolder;
using icon_test::WriteSolidPng;
using icon_test::WriteText;

constexpr const char* kIndex =
    "[Icon Theme]\nName=Cached\nDirectories=16x16/apps,48x48/apps,scalable/apps,empty/apps\n"
    "[16x16/apps]\nSize=16\nType=Fixed\n[48x48/apps]\nSize=48\nType=Fixed\n"
    "[scalable/apps]\nSize=48\nType=Scalable\nMinSize=16\nMaxSize=256\n"
    "[empty/apps]\nSize=32\nType=Fixed\n";
constexpr const char* kSvg =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16"><rect width="16" )"
    R"(height="16" fill="#123456"/></svg>)";

// A file list as text: path (below the fake desktop), sizes and kind of each file, in order.
std::string Describe(const std::shared_ptr<const std::vector<platform::IconFile>>& files,
                     const std::string& root) {
    if (!files) return "none";
    std::string text;
    for (const platform::IconFile& file : *files) {
        text += file.path.substr(root.size()) + " " + std::to_string(file.pixelSize) + " " +
                std::to_string(file.minPixelSize) + "-" + std::to_string(file.maxPixelSize) +
                (file.scalable ? " svg\n" : " png\n");
    }
    return text;
}

// The theme "Cached" in two base directories (the user's own first, then the system's), as
// the current theme; the system's copy can get a cache.
class CachedTheme : public testing::Test {
  protected:
    CachedTheme()
        : home_("HOME", root_.Path() + "/home"),
          dataHome_("XDG_DATA_HOME", root_.Path() + "/user"),
          dataDirs_("XDG_DATA_DIRS", root_.Path() + "/system"),
          configHome_("XDG_CONFIG_HOME", root_.Path() + "/config"),
          configDirs_("XDG_CONFIG_DIRS", root_.Path() + "/etc-xdg") {}

    void SetUp() override {
        WriteText(root_.Make("config/gtk-3.0/settings.ini"),
                  "[Settings]\ngtk-icon-theme-name=Cached\n");
        WriteText(root_.Make("user/icons/Cached/index.theme"), kIndex);
        WriteText(root_.Make("system/icons/Cached/index.theme"), kIndex);
        for (const char* folder : {"16x16/apps", "48x48/apps", "scalable/apps", "empty/apps"}) {
            std::filesystem::create_directories(System(folder));
            std::filesystem::create_directories(User(folder));
        }
        for (const char* name : {"editor", "viewer", "both"}) {
            ASSERT_TRUE(WriteSolidPng(System("16x16/apps/") + name + ".png", 16, 0xFF0000FF));
            ASSERT_TRUE(WriteSolidPng(System("48x48/apps/") + name + ".png", 48, 0xFF00FF00));
        }
        WriteText(System("scalable/apps/editor.svg"), kSvg);
        WriteText(System("scalable/apps/vector-only.svg"), kSvg);
        // The user's copy overrides one file and adds one of its own.
        ASSERT_TRUE(WriteSolidPng(User("48x48/apps/both.png"), 48, 0xFFFF0000));
        ASSERT_TRUE(WriteSolidPng(User("16x16/apps/mine.png"), 16, 0xFFFF0000));
        platform::ResetIconLookupCaches();
    }
    void TearDown() override { platform::ResetIconLookupCaches(); }

    std::string System(const std::string& relative) const {
        return root_.Path() + "/system/icons/Cached/" + relative;
    }
    std::string User(const std::string& relative) const {
        return root_.Path() + "/user/icons/Cached/" + relative;
    }

    // Makes the system copy's cache, then dates every folder a minute earlier and the cache
    // a second after them: the cache is current, as after a package installed the theme.
    void MakeCurrentCache() {
        const std::string command =
            "gtk-update-icon-cache --force --quiet '" + root_.Path() + "/system/icons/Cached'";
        ASSERT_EQ(std::system(command.c_str()), 0) << "needs gtk-update-icon-cache (Debian "
                                                      "package gtk-update-icon-cache)";
        const timespec now = Now();
        for (const char* folder : {"", "16x16", "16x16/apps", "48x48", "48x48/apps", "scalable",
                                   "scalable/apps", "empty", "empty/apps"}) {
            SetModified(System(folder), {now.tv_sec - 60, 0});
        }
        SetModified(System("icon-theme.cache"), {now.tv_sec - 59, 0});
    }

    static timespec Now() {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        return now;
    }
    static void SetModified(const std::string& path, timespec when) {
        const timespec times[2] = {when, when};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
    }

    std::string Look(const std::string& name) {
        return Describe(platform::FindThemeIcon(name), root_.Path());
    }
    std::string LookAfresh(const std::string& name) {
        platform::ResetIconLookupCaches();
        return Look(name);
    }

    TemporaryFolder root_;
    ScopedEnvironment home_;
    ScopedEnvironment dataHome_;
    ScopedEnvironment dataDirs_;
    ScopedEnvironment configHome_;
    ScopedEnvironment configDirs_;
};

TEST_F(CachedTheme, ACurrentCacheFindsWhatListingTheFoldersFinds) {
    const std::vector<std::string> names{"editor", "viewer",  "both",
                                         "mine",   "missing", "vector-only"};
    std::vector<std::string> listed;
    for (const std::string& name : names) listed.push_back(LookAfresh(name));
    EXPECT_EQ(listed[0],
              "/system/icons/Cached/16x16/apps/editor.png 16 16-16 png\n"
              "/system/icons/Cached/48x48/apps/editor.png 48 48-48 png\n"
              "/system/icons/Cached/scalable/apps/editor.svg 48 16-256 svg\n");
    // The user's file overrides the system's in the same directory.
    EXPECT_EQ(listed[2],
              "/system/icons/Cached/16x16/apps/both.png 16 16-16 png\n"
              "/user/icons/Cached/48x48/apps/both.png 48 48-48 png\n");
    EXPECT_EQ(listed[4], "none");

    // Read on another thread while a program starts, then looked up: the same files, with and
    // without a cache.
    const auto expectSame = [&](const char* how, bool indexedAtStartup) {
        for (std::size_t n = 0; n < names.size(); ++n) {
            platform::ResetIconLookupCaches();
            if (indexedAtStartup) platform::BeginIndexingIconThemes();
            EXPECT_EQ(Look(names[n]), listed[n]) << names[n] << ", " << how;
        }
    };
    expectSame("listed, indexed at start-up", true);
    MakeCurrentCache();
    expectSame("cached", false);
    expectSame("cached, indexed at start-up", true);

    // What start-up read for an environment that has changed since is forgotten by a reset.
    {
        ScopedEnvironment elsewhere("XDG_CONFIG_HOME", root_.Path() + "/nowhere");
        platform::ResetIconLookupCaches();
        platform::BeginIndexingIconThemes();
    }
    EXPECT_EQ(LookAfresh("mine"), listed[3]);
}

TEST_F(CachedTheme, ACurrentCacheIsBelievedWithoutListing) {
    MakeCurrentCache();
    // A file removed behind the cache's back, with its folder's date put back: only a cache
    // that is read instead of a listing still names it.
    std::filesystem::remove(System("48x48/apps/viewer.png"));
    SetModified(System("48x48/apps"), {Now().tv_sec - 60, 0});
    EXPECT_NE(LookAfresh("viewer").find("/48x48/apps/viewer.png"), std::string::npos);
}

TEST_F(CachedTheme, AnIconAddedAfterTheCacheIsFound) {
    MakeCurrentCache();
    ASSERT_TRUE(WriteSolidPng(System("48x48/apps/newcomer.png"), 48, 0xFF00FF00));
    ASSERT_TRUE(WriteSolidPng(System("empty/apps/late.png"), 32, 0xFF00FF00));
    EXPECT_EQ(LookAfresh("newcomer"),
              "/system/icons/Cached/48x48/apps/newcomer.png 48 48-48 png\n");
    EXPECT_EQ(LookAfresh("late"), "/system/icons/Cached/empty/apps/late.png 32 32-32 png\n");
}

TEST_F(CachedTheme, ADamagedCacheIsIgnored) {
    const std::string listed = LookAfresh("editor");
    MakeCurrentCache();
    const std::string cache = System("icon-theme.cache");
    const auto size = std::filesystem::file_size(cache);
    for (const std::uintmax_t kept : {std::uintmax_t{0}, std::uintmax_t{11}, size / 2}) {
        std::filesystem::resize_file(cache, kept);
        SetModified(cache, {Now().tv_sec - 59, 0});
        EXPECT_EQ(LookAfresh("editor"), listed) << "cache cut to " << kept << " bytes";
    }
    WriteText(cache, std::string(static_cast<std::size_t>(size), '\xff'));
    SetModified(cache, {Now().tv_sec - 59, 0});
    EXPECT_EQ(LookAfresh("editor"), listed) << "cache of 0xFF bytes";
    // Header and directory list (written last) intact, the icons' offsets between them not.
    MakeCurrentCache();
    std::string bytes = icon_test::ReadBytes(cache);
    std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 3),
              bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() * 2 / 3), '\x7f');
    WriteText(cache, bytes);
    SetModified(cache, {Now().tv_sec - 59, 0});
    EXPECT_EQ(LookAfresh("editor"), listed) << "cache with its middle overwritten";
}

}  // namespace

// Saving a file's content through odd targets: links to devices and pipes, folders, read-only
// files, files of another owner, and the copies interrupted saves leave behind.
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "platform/base/last_error.h"
#include "platform/files/file_api.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kContent = "[main_settings]\r\nuse_system_colors=true\r\n";

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// A character device like /dev/null in the test's folder; false where the system forbids making
// one (no root, a container without the right).
bool MakeDevice(const fs::path& path) {
    return ::mknod(path.c_str(), S_IFCHR | 0600, ::makedev(1, 3)) == 0;
}

TEST(FileReplacementTest, OddTargetsAreRefusedOrCreatedAndLeaveNothingBehind) {
    TempFolder folder;
    fs::create_directory(folder.Path("elsewhere"));
    ASSERT_EQ(::mkfifo(folder.Path("elsewhere/pipe").c_str(), 0600), 0);
    const bool device = MakeDevice(folder.Path("elsewhere/device"));
    fs::create_directory(folder.Path("elsewhere/folder"));
    folder.Write("elsewhere/read-only", "mine");
    ::chmod(folder.Path("elsewhere/read-only").c_str(), 0444);

    struct Case {
        const char* target;          // what options.ini links to, in "elsewhere"; null: no link
        std::optional<DWORD> error;  // none: saved
    };
    const Case cases[] = {
        {"pipe", platform::kErrorNotRegularFile},
        {"device", platform::kErrorNotRegularFile},
        {"folder", DWORD{EISDIR}},
        {"read-only", DWORD{EACCES}},
        {"missing", std::nullopt},  // a dangling link: its file is made
        {nullptr, std::nullopt},    // no file at all
    };
    for (const Case& odd : cases) {
        SCOPED_TRACE(odd.target != nullptr ? odd.target : "no file");
        if (odd.target != nullptr && std::string_view(odd.target) == "device" && !device) continue;
        fs::remove(folder.Path("options.ini"));
        if (odd.target != nullptr) {
            fs::create_symlink(folder.Path("elsewhere") / odd.target, folder.Path("options.ini"));
        }
        const std::set<std::string> before = Names(folder.Path("elsewhere"));
        SetLastError(0);
        const bool saved = platform::ReplaceFileContent(folder.WidePath("options.ini"), kContent);
        EXPECT_EQ(saved, !odd.error.has_value());
        if (odd.error) {
            EXPECT_EQ(GetLastError(), *odd.error) << platform::ErrorText(GetLastError());
        }
        const fs::path target = odd.target != nullptr ? folder.Path("elsewhere") / odd.target
                                                      : folder.Path("options.ini");
        if (saved) {
            EXPECT_EQ(folder.Read("options.ini"), kContent);
            EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(target)));
            fs::remove(target);
        } else {
            EXPECT_EQ(Names(folder.Path("elsewhere")), before) << "nothing left or replaced";
        }
    }
    EXPECT_TRUE(fs::is_fifo(folder.Path("elsewhere/pipe")));
    if (device) {
        EXPECT_TRUE(fs::is_character_file(folder.Path("elsewhere/device")));
    }
    EXPECT_EQ(folder.Read("elsewhere/read-only"), "mine");
    EXPECT_FALSE(platform::ErrorText(platform::kErrorNotRegularFile).empty());
}

TEST(FileReplacementTest, ASaveKeepsTheOwnerAndRemovesOnlyItsOwnLeftovers) {
    TempFolder folder;
    folder.Write("options.ini", "old");
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(folder.Path("options.ini").c_str(), 12345, 23456), 0);
    }
    // What killed saves left, and what only looks like it.
    for (const char* name : {".options.ini.Ab3xYz", ".options.ini.keep", ".options.ini.Ab3xY",
                             ".options.ini.Ab3xYz1", ".other.ini.Ab3xYz", ".options.ini.backup"}) {
        folder.Write(name, "a copy");
    }
    folder.Write("linked", "not a leftover");
    fs::create_symlink(folder.Path("linked"), folder.Path(".options.ini.Zz9zz9"));
    fs::create_directory(folder.Path(".options.ini.Qq1qq1"));

    ASSERT_TRUE(platform::ReplaceFileContent(folder.WidePath("options.ini"), kContent));
    EXPECT_EQ(folder.Read("options.ini"), kContent);
    EXPECT_EQ(
        Names(folder.Path()),
        (std::set<std::string>{"options.ini", ".options.ini.keep", ".options.ini.Ab3xY",
                               ".options.ini.backup", ".options.ini.Ab3xYz1", ".other.ini.Ab3xYz",
                               "linked", ".options.ini.Zz9zz9", ".options.ini.Qq1qq1"}));
    EXPECT_EQ(folder.Read("linked"), "not a leftover");
    if (root) {
        struct stat status {};
        ASSERT_EQ(::stat(folder.Path("options.ini").c_str(), &status), 0);
        EXPECT_EQ(status.st_uid, 12345U);
        EXPECT_EQ(status.st_gid, 23456U);
    }
}

}  // namespace

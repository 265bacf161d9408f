// The command as a user runs it, again and again: a new file, nothing written when nothing
// changed, a hand-written file merged byte for byte, and failures that keep the old file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "entries/entries_command.h"
#include "platform/files/file_api.h"
#include "support/temp_folder.h"

namespace {

struct Result {
    int status;
    std::string out;
    std::string errors;
};

Result RunCommand(const std::vector<std::string>& arguments) {
    std::ostringstream out;
    std::ostringstream errors;
    const int status = entries::RunEntriesCommand(arguments, out, errors);
    return {status, out.str(), errors.str()};
}

ino_t Inode(const std::filesystem::path& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? status.st_ino : 0;
}

class EntriesCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(folder_.Path("data/applications"));
        std::filesystem::create_directories(folder_.Path("bin"));
        std::filesystem::create_directories(folder_.Path("out"));
        for (const char* program : {"zeta", "alpha", "beta"}) {
            folder_.Write(std::string("bin/") + program, "#!/bin/sh\n");
            std::filesystem::permissions(folder_.Path(std::string("bin/") + program),
                                         std::filesystem::perms::owner_all);
        }
        Install("zeta", "Zeta", "zeta --go");
        Install("alpha", "Alpha", "alpha");
        const char* path = std::getenv("PATH");
        savedPath_ = path != nullptr ? path : "";
        ::setenv("PATH", folder_.Path("bin").c_str(), 1);
        ::setenv("XDG_DATA_HOME", folder_.Path("data").c_str(), 1);
        ::setenv("XDG_DATA_DIRS", folder_.Path("none").c_str(), 1);
        ::setenv("LC_ALL", "C", 1);
    }
    void TearDown() override {
        ::setenv("PATH", savedPath_.c_str(), 1);
        platform::SetFileFailureInjector(nullptr);
    }

    void Install(const std::string& id, const std::string& name, const std::string& exec) {
        folder_.Write("data/applications/" + id + ".desktop",
                      "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" + exec + "\n");
    }

    TempFolder folder_;
    std::string savedPath_;
};

TEST_F(EntriesCommand, WritesOnlyWhatChangedAndKeepsTheUsersFile) {
    const std::string out = folder_.Path("out").string();
    const std::string bin = folder_.Path("bin").string();
    const std::filesystem::path settings = folder_.Path("out/settings.ini");

    Result first = RunCommand({out});
    ASSERT_EQ(first.status, 0) << first.errors;
    EXPECT_NE(first.out.find("Wrote 2 rows"), std::string::npos) << first.out;
    const std::string written = folder_.Read("out/settings.ini");
    EXPECT_EQ(written, "[Alpha]\r\nExecPath=" + bin + "/alpha\r\n[Zeta]\r\nExecPath=" + bin +
                           "/zeta\r\nArgs=--go\r\n");

    // Nothing changed: the same file, not a rewritten copy.
    const ino_t inode = Inode(settings);
    Result again = RunCommand({out});
    EXPECT_EQ(again.status, 0);
    EXPECT_NE(again.out.find("up to date"), std::string::npos) << again.out;
    EXPECT_EQ(Inode(settings), inode);

    // A hand-written file: a comment, a row of zeta under the user's own title, a row titled
    // like alpha that starts something else. Only the newly installed beta is appended.
    const std::string handWritten = "; mine\r\n[Go!]\r\nExecPath=" + bin +
                                    "/zeta\r\nArgs=--go\r\n[Alpha]\r\nExecPath=/bin/true";
    folder_.Write("out/settings.ini", handWritten);
    Install("beta", "Beta", "beta \"two words\"");
    Result merged = RunCommand({"--merge", out});
    ASSERT_EQ(merged.status, 0) << merged.errors;
    EXPECT_EQ(folder_.Read("out/settings.ini"),
              handWritten + "\r\n[Beta]\r\nExecPath=" + bin + "/beta\r\nArgs=\"two words\"\r\n");
    EXPECT_NE(merged.out.find("Added 1 row to"), std::string::npos) << merged.out;
    EXPECT_EQ(RunCommand({"--merge", out}).out.find("up to date") != std::string::npos, true);

    // A save that fails at its last step leaves the old file as it was and says why.
    const std::string before = folder_.Read("out/settings.ini");
    platform::SetFileFailureInjector(
        [](platform::FileStep step) { return step == platform::FileStep::Rename; });
    Result failed = RunCommand({out});
    platform::SetFileFailureInjector(nullptr);
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.errors.find("cannot write " + settings.string()), std::string::npos)
        << failed.errors;
    EXPECT_EQ(folder_.Read("out/settings.ini"), before);

    // A settings.ini that is no file is never replaced; a wrong command line says how.
    std::filesystem::create_directories(folder_.Path("dir/settings.ini"));
    EXPECT_EQ(RunCommand({folder_.Path("dir").string()}).status, 1);
    EXPECT_TRUE(std::filesystem::is_directory(folder_.Path("dir/settings.ini")));
    Result wrong = RunCommand({"--bogus"});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_NE(wrong.errors.find("Usage:"), std::string::npos);
}

}  // namespace

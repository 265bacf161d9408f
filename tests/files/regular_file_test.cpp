// Opening and reading files the careful way: regular files only, never waiting, never more than
// a limit; and the file layer's handles refusing the same things.
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files/file_api.h"
#include "platform/files/regular_file.h"
#include "support/child_process.h"
#include "support/temp_folder.h"

namespace {

using platform::ReadRegularFile;

TEST(RegularFileTest, ReadsRegularFilesWholeUpToTheirLimit) {
    TempFolder folder;
    const std::string path = folder.Path("file").string();
    folder.Write("file", "twelve bytes");
    EXPECT_EQ(ReadRegularFile(path, 100), "twelve bytes");
    EXPECT_EQ(ReadRegularFile(path, 12), "twelve bytes");
    EXPECT_EQ(ReadRegularFile(path, 11), std::nullopt);
    EXPECT_EQ(ReadRegularFile(path, 0), std::nullopt);

    // Larger than one read step, and a link to a regular file.
    const std::string large(3 << 20, 'x');
    folder.Write("large", large);
    EXPECT_EQ(ReadRegularFile(folder.Path("large").string(), large.size()), large);
    EXPECT_EQ(ReadRegularFile(folder.Path("large").string(), large.size() - 1), std::nullopt);
    ASSERT_EQ(::symlink(path.c_str(), folder.Path("link").c_str()), 0);
    EXPECT_EQ(ReadRegularFile(folder.Path("link").string(), 100), "twelve bytes");

    folder.Write("empty", "");
    EXPECT_EQ(ReadRegularFile(folder.Path("empty").string(), 0), "");
    EXPECT_EQ(ReadRegularFile(folder.Path("missing").string(), 100), std::nullopt);
    EXPECT_EQ(ReadRegularFile(folder.Path().string(), 100), std::nullopt);
    EXPECT_EQ(ReadRegularFile("", 100), std::nullopt);
    EXPECT_FALSE(platform::OpenRegularFile(folder.Path().string()).Valid());
}

TEST(RegularFileTest, PipesAndDevicesAreRefusedWithoutWaiting) {
    TempFolder folder;
    const std::string pipe = folder.Path("pipe").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string zero = folder.Path("zero").string();
    ASSERT_EQ(::symlink("/dev/zero", zero.c_str()), 0);
    child_process::ExpectInChild(5, [&] {
        EXPECT_FALSE(platform::OpenRegularFile(pipe).Valid());
        EXPECT_EQ(ReadRegularFile(pipe, 100), std::nullopt);
        EXPECT_EQ(ReadRegularFile(zero, 100), std::nullopt);
        EXPECT_EQ(ReadRegularFile("/dev/null", 100), std::nullopt);

        // The file layer's handles, for reading and for writing.
        const std::wstring widePipe = folder.WidePath("pipe");
        EXPECT_EQ(CreateFileW(widePipe.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
                  INVALID_HANDLE_VALUE);
        EXPECT_EQ(CreateFileW(widePipe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr),
                  INVALID_HANDLE_VALUE);
        EXPECT_EQ(CreateFileW(folder.WidePath("zero").c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
                  INVALID_HANDLE_VALUE);
    });
}

// Not only no wait: a pipe or a device is never opened at all (opening one can have effects: a
// writer waiting on the pipe goes on, a tape rewinds), and no write handle is made on one even
// where it could be opened (a device, a pipe that has a reader).
TEST(RegularFileTest, PipesAndDevicesAreNeverOpened) {
    TempFolder folder;
    const std::string pipe = folder.Path("pipe").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::vector<std::string> watched{pipe};
    const std::string device = folder.Path("device").string();
    // Like /dev/null; only where the system lets the test make one.
    if (::mknod(device.c_str(), S_IFCHR | 0600, ::makedev(1, 3)) == 0) watched.push_back(device);
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);

    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    for (const std::string& path : watched) {
        ASSERT_GE(::inotify_add_watch(watch, path.c_str(), IN_OPEN), 0) << path;
    }
    for (const std::string& path : watched) {
        SCOPED_TRACE(path);
        const std::wstring wide(path.begin(), path.end());
        EXPECT_EQ(CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr),
                  INVALID_HANDLE_VALUE);
        EXPECT_EQ(CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr),
                  INVALID_HANDLE_VALUE);
        EXPECT_EQ(ReadRegularFile(path, 100), std::nullopt);
    }
    EXPECT_EQ(CreateFileW(L"/dev/null", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr),
              INVALID_HANDLE_VALUE);
    char events[4096];
    EXPECT_EQ(::read(watch, events, sizeof(events)), -1) << "something opened a pipe or device";
    ::close(watch);
    ::close(reader);
}

}  // namespace

// Opening and reading files the careful way: regular files only, never waiting, never more than
// a limit; and the file layer's handles refusing the same things.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

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

}  // namespace

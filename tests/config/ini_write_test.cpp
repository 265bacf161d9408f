// Writing INI files: the exact bytes, round trips, and saves that fail at any step.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "config/ini_test_support.h"
#include "platform/files/file_api.h"
#include "support/headless_fixture.h"
#include "support/temp_folder.h"

namespace {

class IniWriteTest : public HeadlessTest {
  protected:
    void TearDown() override {
        platform::SetFileFailureInjector(nullptr);
        HeadlessTest::TearDown();
    }
    TempFolder folder;
};

IniDocument SampleDocument() {
    IniDocument document;
    IniSetValue(document, "first", "a", "1", TRUE);
    IniSetInt(document, "first", "b", -42, TRUE);
    IniSetValue(document, "second", "c", "x = y # z", TRUE);
    // Replacing keeps the place; a duplicate section is written twice.
    EXPECT_TRUE(IniSetValue(document, "first", "a", "one", TRUE));
    EXPECT_FALSE(IniSetValue(document, "first", "new", "no", FALSE));
    auto duplicate = std::make_unique<IniSection>();
    duplicate->name = "first";
    duplicate->keys.emplace_back("d");
    duplicate->values.emplace_back("2");
    document.sections.push_back(std::move(duplicate));
    document.sections.push_back(nullptr);  // skipped everywhere
    return document;
}

TEST_F(IniWriteTest, TheFileHoldsExactlyTheDocument) {
    IniDocument document = SampleDocument();
    ASSERT_TRUE(IniWrite(document, folder.WidePath("out.ini")));
    EXPECT_EQ(folder.Read("out.ini"),
              "[first]\r\na=one\r\nb=-42\r\n[second]\r\nc=x = y # z\r\n[first]\r\nd=2\r\n");

    IniDocument read;
    ASSERT_TRUE(IniRead(read, folder.WidePath("out.ini")));
    EXPECT_EQ(Flatten(read), Flatten(document));
    EXPECT_STREQ(IniGetValue(read, "first", "d"), nullptr);  // lookups see the first section
}

TEST_F(IniWriteTest, AValueStaysValidWhileKeysAreAdded) {
    IniDocument document;
    IniSetValue(document, "s", "k", "v", TRUE);
    const char* value = IniGetValue(document, "s", "k");
    for (int index = 0; index < 1000; ++index) {
        IniSetInt(document, "s", ("key" + std::to_string(index)).c_str(), index, TRUE);
    }
    EXPECT_STREQ(value, "v");
}

TEST_F(IniWriteTest, ASaveThatFailsAtAnyStepLeavesTheOldFileWhole) {
    const std::string old = "[old]\r\nkept=yes\r\n";
    folder.Write("options.ini", old);
    ::chmod(folder.Path("options.ini").c_str(), 0640);
    IniDocument document = SampleDocument();

    // Count the steps of a good save, then fail each one in turn.
    int steps = 0;
    platform::SetFileFailureInjector([&steps](platform::FileStep) {
        ++steps;
        return false;
    });
    ASSERT_TRUE(IniWrite(document, folder.WidePath("scratch.ini")));
    const int total = steps;
    ASSERT_GE(total, 4);
    for (int failing = 1; failing <= total; ++failing) {
        int step = 0;
        platform::SetFileFailureInjector(
            [&step, failing](platform::FileStep) { return ++step == failing; });
        backend->messageBoxes.clear();
        EXPECT_FALSE(IniWrite(document, folder.WidePath("options.ini"))) << "step " << failing;
        EXPECT_EQ(folder.Read("options.ini"), old) << "step " << failing;
        ASSERT_EQ(backend->messageBoxes.size(), 1u);
        EXPECT_EQ(backend->messageBoxes[0].text, L"!CreateFile");
        EXPECT_EQ(folder.FileCount(), 2) << "a temporary file was left behind at step " << failing;
    }
    platform::SetFileFailureInjector(nullptr);
    ASSERT_TRUE(IniWrite(document, folder.WidePath("options.ini")));
    EXPECT_EQ(folder.Read("options.ini"), IniFormat(document));
    struct stat status {};
    ASSERT_EQ(::stat(folder.Path("options.ini").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
}

TEST_F(IniWriteTest, ALinkedFileIsReplacedBehindItsLink) {
    std::filesystem::create_directory(folder.Path("real"));
    folder.Write("real/options.ini", "[old]\r\n");
    std::filesystem::create_symlink(folder.Path("real/options.ini"), folder.Path("link.ini"));
    IniDocument document = SampleDocument();
    ASSERT_TRUE(IniWrite(document, folder.WidePath("link.ini")));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.Path("link.ini")));
    EXPECT_EQ(folder.Read("real/options.ini"), IniFormat(document));
}

TEST_F(IniWriteTest, AFolderThatCannotBeWrittenReportsCreateFile) {
    IniDocument document = SampleDocument();
    EXPECT_FALSE(IniWrite(document, folder.WidePath("no/such/folder/out.ini")));
    ASSERT_EQ(backend->messageBoxes.size(), 1u);
    EXPECT_EQ(backend->messageBoxes[0].text, L"!CreateFile");
}

}  // namespace

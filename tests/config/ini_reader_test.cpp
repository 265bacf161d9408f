// The INI reader's rules, quirks included, and reading files (missing, empty, zero bytes).
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>

#include "config/ini_test_support.h"
#include "platform/files/file_api.h"
#include "support/child_process.h"
#include "support/headless_fixture.h"
#include "support/temp_folder.h"

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST(IniParseTest, KeysValuesBlanksAndSplittingAtTheFirstEquals) {
    const auto sections = Parse(
        "[main]\r\n"
        "  key one  =  value one  \r\n"
        "empty=\r\n"
        "formula=a=b#c[d]\r\n"
        "tab\t=\tx\t\r\n");
    ASSERT_EQ(sections.size(), 1u);
    EXPECT_EQ(sections[0].name, "main");
    EXPECT_EQ(
        sections[0].pairs,
        (Pairs{
            {"key one", "value one"}, {"empty", ""}, {"formula", "a=b#c[d]"}, {"tab\t", "\tx\t"}}));
}

TEST(IniParseTest, OnlyCarriageReturnLineFeedEndsALine) {
    // Sections are found, but with bare line feeds no key starts a line.
    const auto sections = Parse("[a]\nx=1\ny=2\n[b]\nz=3\n");
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_TRUE(sections[0].pairs.empty());
    EXPECT_TRUE(sections[1].pairs.empty());
    EXPECT_EQ(Parse("[a]\r\nx=1\ry=2\r\n")[0].pairs, (Pairs{{"x", "1\ry=2"}}));
}

TEST(IniParseTest, CommentsCountOnlyBeforeTheNextEquals) {
    const auto sections = Parse(
        "[a]\r\n"
        "# note\r\n"
        "x#y=1\r\n"
        "k=v # not a comment\r\n"
        "; semicolons are ordinary=2\r\n");
    EXPECT_EQ(sections[0].pairs,
              (Pairs{{"k", "v # not a comment"}, {"; semicolons are ordinary", "2"}}));
}

TEST(IniParseTest, ALineStartingWithEqualsOrAKeyOnTheHeaderLineEndsTheSection) {
    const auto sections = Parse(
        "[a]\r\nx=1\r\n  = stray\r\ny=2\r\n"
        "[b] z=3\r\nw=4\r\n"
        "[c]\r\nv=5\r\n");
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0].pairs, (Pairs{{"x", "1"}}));
    EXPECT_TRUE(sections[1].pairs.empty());
    EXPECT_EQ(sections[2].pairs, (Pairs{{"v", "5"}}));
}

TEST(IniParseTest, SectionNamesAreKeptAsTheyStandAndDuplicatesStay) {
    const auto sections = Parse("text before\r\n[ spaced ]\r\n[]\r\n[a]\r\nk=1\r\n[a]\r\nk=2\r\n");
    ASSERT_EQ(sections.size(), 4u);
    EXPECT_EQ(sections[0].name, " spaced ");
    EXPECT_EQ(sections[1].name, "");
    IniDocument document;
    IniParse(document, "[a]\r\nk=1\r\nk=3\r\n[a]\r\nk=2\r\n[ b ]\r\nq=1\r\n");
    EXPECT_STREQ(IniGetValue(document, "a", "k"), "1");
    EXPECT_EQ(IniGetValue(document, "b", "q"), nullptr);
    EXPECT_STREQ(IniGetValue(document, " b ", "q"), "1");
    EXPECT_EQ(IniGetValue(document, "a", "K"), nullptr);
}

TEST(IniParseTest, AnOpenBracketWithoutCloseEndsTheReading) {
    const auto sections = Parse("[a]\r\nk=1\r\n[broken\r\nx=2\r\n");
    ASSERT_EQ(sections.size(), 1u);
    EXPECT_EQ(sections[0].pairs, (Pairs{{"k", "1"}}));
}

TEST(IniParseTest, ACommentRightUnderAHeaderKeepsThatSection) {
    // Neither the comment nor a "#" in the name may hide the header: the entry would vanish.
    const auto sections = Parse(
        "[First]\r\nExecPath=/bin/a\r\n"
        "[Second]\r\n# started by hand\r\nExecPath=/bin/b\r\n"
        "[C# tools]\r\nExecPath=/bin/c\r\n");
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0].pairs, (Pairs{{"ExecPath", "/bin/a"}}));
    EXPECT_EQ(sections[1].pairs, (Pairs{{"ExecPath", "/bin/b"}}));
    EXPECT_EQ(sections[2].name, "C# tools");
    EXPECT_EQ(sections[2].pairs, (Pairs{{"ExecPath", "/bin/c"}}));
}

class IniFileTest : public HeadlessTest {
  protected:
    TempFolder folder;
};

TEST_F(IniFileTest, MissingEmptyAndZeroByteFiles) {
    IniDocument document;
    EXPECT_FALSE(IniRead(document, folder.WidePath("missing.ini")));
    ASSERT_EQ(backend->messageBoxes.size(), 1u);
    EXPECT_EQ(backend->messageBoxes[0].text, L"!CreateFile");
    EXPECT_EQ(backend->messageBoxes[0].caption, L"Error");

    folder.Write("empty.ini", "");
    EXPECT_FALSE(IniRead(document, folder.WidePath("empty.ini")));
    EXPECT_EQ(backend->messageBoxes.size(), 1u);  // no message for an empty file

    // A zero byte ends the text: nothing after it is read, and nothing runs off the end.
    folder.Write("nul.ini", std::string("[a]\r\nk=v", 8) + std::string(1, '\0') + "x\r\n[b]\r\n");
    EXPECT_TRUE(IniRead(document, folder.WidePath("nul.ini")));
    EXPECT_EQ(Flatten(document), (std::vector<FlatSection>{{"a", {{"k", "v"}}}}));

    // A file without a final line end still gives its last value.
    IniFree(document);
    folder.Write("last.ini", "[a]\r\nk=v");
    EXPECT_TRUE(IniRead(document, folder.WidePath("last.ini")));
    EXPECT_STREQ(IniGetValue(document, "a", "k"), "v");
}

TEST_F(IniFileTest, AFailedReadOrSizeShowsReadFileAndAddsNothing) {
    folder.Write("good.ini", "[a]\r\nk=v\r\n");
    for (platform::FileStep failing : {platform::FileStep::Read, platform::FileStep::Size}) {
        IniDocument document;
        backend->messageBoxes.clear();
        platform::SetFileFailureInjector(
            [failing](platform::FileStep step) { return step == failing; });
        EXPECT_FALSE(IniRead(document, folder.WidePath("good.ini")));
        platform::SetFileFailureInjector(nullptr);
        ASSERT_EQ(backend->messageBoxes.size(), 1u);
        EXPECT_EQ(backend->messageBoxes[0].text, L"!ReadFile");
        EXPECT_TRUE(document.sections.empty());
    }
}

TEST_F(IniFileTest, PipesDevicesAndFoldersCannotBeOpenedAndNothingWaits) {
    ASSERT_EQ(::mkfifo(folder.Path("pipe.ini").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("/dev/zero", folder.Path("zero.ini").c_str()), 0);
    std::filesystem::create_directory(folder.Path("folder.ini"));
    child_process::ExpectInChild(5, [&] {
        for (const char* name : {"pipe.ini", "zero.ini", "folder.ini"}) {
            SCOPED_TRACE(name);
            IniDocument document;
            backend->messageBoxes.clear();
            EXPECT_FALSE(IniRead(document, folder.WidePath(name)));
            ASSERT_EQ(backend->messageBoxes.size(), 1u);
            EXPECT_EQ(backend->messageBoxes[0].text, L"!CreateFile");
            EXPECT_TRUE(document.sections.empty());
        }
    });
}

TEST_F(IniFileTest, ReadingStopsAtTheZeroByteThatEndsTheText) {
    // Two terabytes that hold no data (a sparse file): a few bytes of text, then zero bytes.
    folder.Write("huge.ini", "[Mail]\r\nExecPath=/usr/bin/mail\r\n");
    if (::truncate(folder.Path("huge.ini").c_str(), off_t{2} << 40) != 0) {
        GTEST_SKIP() << "no sparse files of two terabytes here";
    }
    child_process::ExpectInChild(10, [&] {
        IniDocument document;
        EXPECT_TRUE(IniRead(document, folder.WidePath("huge.ini")));
        EXPECT_TRUE(backend->messageBoxes.empty());
        EXPECT_EQ(Flatten(document),
                  (std::vector<FlatSection>{{"Mail", {{"ExecPath", "/usr/bin/mail"}}}}));
    });
}

TEST_F(IniFileTest, TextBeyondSixtyFourMebibytesIsAFailedRead) {
    // A section, then text without a zero byte up to one byte past the limit.
    {
        std::ofstream out(folder.Path("long.ini"), std::ios::binary);
        const std::string block(1 << 20, 'x');
        out << "[a]\r\nk=v\r\n" << block.substr(10);
        for (int megabyte = 1; megabyte < 64; ++megabyte) out << block;
        out << 'x';
    }
    ASSERT_EQ(std::filesystem::file_size(folder.Path("long.ini")), (std::uintmax_t{64} << 20) + 1);
    IniDocument document;
    EXPECT_FALSE(IniRead(document, folder.WidePath("long.ini")));
    ASSERT_EQ(backend->messageBoxes.size(), 1u);
    EXPECT_EQ(backend->messageBoxes[0].text, L"!ReadFile");
    EXPECT_TRUE(document.sections.empty());
}

TEST_F(IniFileTest, ReadingAppendsToWhatTheDocumentHolds) {
    folder.Write("one.ini", "[a]\r\nk=1\r\n");
    IniDocument document;
    ASSERT_TRUE(IniRead(document, folder.WidePath("one.ini")));
    ASSERT_TRUE(IniRead(document, folder.WidePath("one.ini")));
    EXPECT_EQ(document.sections.size(), 2u);
    IniFree(document);
    EXPECT_TRUE(document.sections.empty());
}

}  // namespace

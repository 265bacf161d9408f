// The entries file: one entry per section in file order, values of the first section of a name.
#include "launcher/menu_entries.h"
#include "menu/menu_fixture.h"
#include "support/temp_folder.h"

namespace {

class MenuEntriesTest : public HeadlessTest {
  protected:
    std::vector<std::vector<std::wstring>> Entries() const {
        std::vector<std::vector<std::wstring>> entries;
        for (const auto& item : menu.items) {
            entries.push_back({item->title, item->execPath, item->args});
        }
        return entries;
    }
    TempFolder folder;
    CTavrel menu;
};

TEST_F(MenuEntriesTest, SectionsBecomeEntriesInFileOrder) {
    folder.Write("settings.ini",
                 "[Terminal]\r\nExecPath=/usr/bin/xterm\r\nArgs=-e top -d 2\r\n"
                 "[ Files ]\r\nExecPath=/usr/share\r\n"
                 "[Terminal]\r\nExecPath=/usr/bin/other\r\n"
                 "[lower]\r\nexecpath=/usr/bin/true\r\nArgs=x\r\n"
                 "[\xD0\xA1\xD0\xB0\xD0\xB9\xD1\x82]\r\nExecPath=https://example.org\r\n");
    LoadEntries(menu, folder.WidePath("settings.ini"));
    EXPECT_EQ(Entries(), (std::vector<std::vector<std::wstring>>{
                             {L"Terminal", L"/usr/bin/xterm", L"-e top -d 2"},
                             {L" Files ", L"/usr/share", L""},
                             {L"Terminal", L"/usr/bin/xterm", L"-e top -d 2"},
                             {L"lower", L"", L"x"},
                             {L"\u0421\u0430\u0439\u0442", L"https://example.org", L""}}));
    // Alternating rows are decided as entries are added.
    EXPECT_FALSE(menu.items[0]->odd);
    EXPECT_TRUE(menu.items[1]->odd);
    EXPECT_TRUE(backend->messageBoxes.empty());
}

TEST_F(MenuEntriesTest, EveryRepeatOfANameInALongFileTakesTheFirstOnesValues) {
    // Names repeated at every distance, an empty name, names that differ in their last byte.
    std::string text;
    std::vector<std::vector<std::wstring>> expected;
    for (int index = 0; index < 3000; ++index) {
        const int group = index % 7 == 0 ? index : index % 13;
        const std::string name = index % 11 == 0 ? "" : "Name " + std::to_string(group);
        text += "[" + name + "]\r\nExecPath=/bin/" + std::to_string(index) +
                "\r\nArgs=" + std::to_string(index % 5) + "\r\n";
        int first = index;
        for (int earlier = 0; earlier < index; ++earlier) {
            const int earlierGroup = earlier % 7 == 0 ? earlier : earlier % 13;
            const std::string earlierName =
                earlier % 11 == 0 ? "" : "Name " + std::to_string(earlierGroup);
            if (earlierName == name) {
                first = earlier;
                break;
            }
        }
        expected.push_back({std::wstring(name.begin(), name.end()),
                            L"/bin/" + std::to_wstring(first), std::to_wstring(first % 5)});
    }
    folder.Write("settings.ini", text);
    LoadEntries(menu, folder.WidePath("settings.ini"));
    EXPECT_EQ(Entries(), expected);
}

TEST_F(MenuEntriesTest, LineFeedOnlyFilesGiveEntriesWithoutPrograms) {
    folder.Write("settings.ini", "[One]\nExecPath=/usr/bin/xterm\n[Two]\nArgs=y\n");
    LoadEntries(menu, folder.WidePath("settings.ini"));
    EXPECT_EQ(Entries(),
              (std::vector<std::vector<std::wstring>>{{L"One", L"", L""}, {L"Two", L"", L""}}));
}

TEST_F(MenuEntriesTest, AMissingFileShowsItsMessageAndLeavesTheMenuEmpty) {
    LoadEntries(menu, folder.WidePath("settings.ini"));
    EXPECT_TRUE(menu.items.empty());
    ASSERT_EQ(backend->messageBoxes.size(), 1u);
    EXPECT_EQ(backend->messageBoxes[0].text, L"!CreateFile");
    folder.Write("settings.ini", "");
    LoadEntries(menu, folder.WidePath("settings.ini"));
    EXPECT_EQ(backend->messageBoxes.size(), 1u);
}

}  // namespace

// The options page: what the tree holds for a user's options.ini, the greying under a "system"
// choice, and what "сохранить" writes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/options.h"
#include "editor_fixture.h"
#include "settings/color_item.h"
#include "settings/edit_item.h"
#include "settings/font_item.h"

namespace {

// Every key of options.ini set away from both the missing-key values and the system look.
const char kUserOptions[] =
    "; the user's own file\r\n"
    "[other]\r\nkept=no\r\n"
    "[main_settings]\r\n"
    "use_system_colors=false\r\n"
    "odd_item.r=10\r\nodd_item.g=20\r\nodd_item.b=30\r\n"
    "even_item.r=40\r\neven_item.g=50\r\neven_item.b=60\r\n"
    "active_item.r=70\r\nactive_item.g=80\r\nactive_item.b=90\r\n"
    "font.r=100\r\nfont.g=110\r\nfont.b=120\r\n"
    "active_font.r=130\r\nactive_font.g=140\r\nactive_font.b=150\r\n"
    "slider.r=160\r\nslider.g=170\r\nslider.b=180\r\n"
    "use_system_font=true\r\n"
    "item_font.name=Шрифт Sans\r\nitem_font.bold=false\r\nitem_font.italic=true\r\n"
    "item_font.size=-31\r\n"
    "use_system_item_height=false\r\nuser_item_height=77\r\n"
    "use_system_menu_pos=true\r\n"
    "user_menu_pos_TL_X=-5\r\nuser_menu_pos_TL_Y=6\r\nuser_menu_pos_BR_X=2147483647\r\n"
    "user_menu_pos_BR_Y=-2147483648\r\n"
    "unknown_key=gone\r\n"
    "pos_item_text=right\r\n"
    "use_menu_inertia=false\r\n";

// What the tree shows for kUserOptions, node by node.
struct Node {
    const wchar_t* label;
    int depth;
    const char* kind;
    const wchar_t* value;
    bool disabled;
};

const Node kUserTree[] = {
    {L"свойства", 1, "plain", L"", false},
    {L"системные цвета", 2, "list", L"нет", false},
    {L"нечетная позиция", 3, "colour", L"", false},
    {L"четная позиция", 3, "colour", L"", false},
    {L"активный элемент", 3, "colour", L"", false},
    {L"цвет надписи", 3, "colour", L"", false},
    {L"активный цвет надписи", 3, "colour", L"", false},
    {L"цвет ползунка", 3, "colour", L"", false},
    {L"системный шрифт", 2, "list", L"да", false},
    {L"пользовательский шрифт", 3, "font", L"", true},
    {L"системная высота элемента", 2, "list", L"нет", false},
    {L"пользовательская высота элемента", 3, "text", L"77", false},
    {L"системное позиционирование", 2, "list", L"да", false},
    {L"x верхний левый", 3, "text", L"-5", true},
    {L"y верхний левый", 3, "text", L"6", true},
    {L"x нижний правый", 3, "text", L"2147483647", true},
    {L"y нижний правый", 3, "text", L"-2147483648", true},
    {L"позиция текста", 2, "list", L"вправо", false},
    {L"использовать инерцию", 2, "list", L"нет", false},
    {L"о программе", 1, "plain", L"", false},
    {L"благодарности", 1, "plain", L"", false},
};

std::string KindOf(CSPMobTreeItem* item) {
    if (dynamic_cast<CColorItem*>(item) != nullptr) return "colour";
    if (dynamic_cast<CFontItem*>(item) != nullptr) return "font";
    if (dynamic_cast<CComboBoxItem*>(item) != nullptr) return "list";
    if (dynamic_cast<CEditItem*>(item) != nullptr) return "text";
    return "plain";
}

const std::wstring& Description(const CSPMobTreeItem* item) {
    static const std::wstring none = L"(none)";
    return item->userData != nullptr ? *static_cast<const std::wstring*>(item->userData) : none;
}

// The bytes the options file writer makes for these options.
std::string CanonicalFile(const Options& options, const TempFolder& folder) {
    SaveOptionsFile(options, folder.WidePath("canonical.ini"));
    return folder.Read("canonical.ini");
}

class OptionsPageTest : public EditorTest {};

TEST_F(OptionsPageTest, TheTreeShowsEveryOptionOfTheUsersFileInTheTablesOrder) {
    folder.Write("options.ini", kUserOptions);
    Run({[&](CTavrelSettingsDlg& dialog) {
        ASSERT_EQ(dialog.tree.nextId, 22);
        for (int id = 1; id <= 21; ++id) {
            CSPMobTreeItem* item = dialog.tree.FindItem(id);
            ASSERT_NE(item, nullptr) << id;
            const Node& expected = kUserTree[id - 1];
            SCOPED_TRACE(id);
            EXPECT_EQ(item->label, expected.label);
            EXPECT_EQ(dialog.tree.GetItemDepth(item), expected.depth);
            EXPECT_EQ(KindOf(item), expected.kind);
            EXPECT_EQ(item->value, expected.value);
            EXPECT_EQ(item->disabled, expected.disabled);
            EXPECT_FALSE(Description(item).empty());
            EXPECT_NE(Description(item), L"(none)");
        }
        // Display order is the table's: each node's parent is the nearest shallower one above.
        CSPMobTreeItem* item = dialog.tree.FindItem(1);
        for (int id = 1; id <= 21; ++id, item = dialog.tree.GetNextItem(item)) {
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(item->id, id);
        }
        EXPECT_EQ(item, nullptr);

        uint8_t red = 0, green = 0, blue = 0;
        static_cast<CColorItem*>(dialog.tree.FindItem(3))->GetColor(red, green, blue);
        EXPECT_EQ((std::vector<int>{red, green, blue}), (std::vector<int>{10, 20, 30}));
        static_cast<CColorItem*>(dialog.tree.FindItem(8))->GetColor(red, green, blue);
        EXPECT_EQ((std::vector<int>{red, green, blue}), (std::vector<int>{160, 170, 180}));
        std::wstring face;
        int size = 0;
        bool bold = true, italic = false;
        static_cast<CFontItem*>(dialog.tree.FindItem(10))->GetFont(face, size, bold, italic);
        EXPECT_EQ(face, L"Шрифт Sans");
        EXPECT_EQ(size, -31);
        EXPECT_FALSE(bold);
        EXPECT_TRUE(italic);

        auto* position = dynamic_cast<CComboBoxItem*>(dialog.tree.FindItem(18));
        ASSERT_NE(position, nullptr);
        EXPECT_EQ(position->choices,
                  (std::vector<std::wstring>{L"по центру", L"влево", L"вправо"}));
        EXPECT_EQ(position->currentChoice, L"вправо");
        for (int id : {2, 9, 11, 13, 19}) {
            auto* choice = dynamic_cast<CComboBoxItem*>(dialog.tree.FindItem(id));
            ASSERT_NE(choice, nullptr);
            EXPECT_EQ(choice->choices, (std::vector<std::wstring>{L"да", L"нет"}));
            EXPECT_EQ(choice->currentChoice, choice->value);
        }
        // The four "system" choices, in their order, and nothing else, decide over rows.
        ASSERT_EQ(dialog.dependencies.size(), 4U);
        const int decisive[] = {2, 9, 11, 13};
        for (std::size_t index = 0; index < 4; ++index) {
            EXPECT_EQ(dialog.dependencies[index]->item, dialog.tree.FindItem(decisive[index]));
            EXPECT_EQ(dialog.dependencies[index]->enablingText, L"нет");
        }

        EXPECT_EQ(Description(dialog.tree.FindItem(8)),
                  L"цвет ползунка, по умолчанию используется черный цвет");
        // The information rows: four lines and three, apart by CR LF; the first names the
        // folder the editor keeps its files in.
        const std::wstring& about = Description(dialog.tree.FindItem(20));
        const std::wstring& thanks = Description(dialog.tree.FindItem(21));
        auto lines = [](const std::wstring& text) {
            std::size_t count = 1;
            for (std::size_t at = text.find(L"\r\n"); at != std::wstring::npos;
                 at = text.find(L"\r\n", at + 2)) {
                ++count;
            }
            return count;
        };
        EXPECT_EQ(lines(about), 4U);
        EXPECT_EQ(lines(thanks), 3U);
        EXPECT_NE(about.find(folder.Path().wstring()), std::wstring::npos)
            << std::string(about.begin(), about.end());
        dialog.DestroyWindow();
    }});
}

TEST_F(OptionsPageTest, SavingUntouchedRowsWritesTheFileAsTheOptionsWriterWouldAndDropsTheRest) {
    folder.Write("options.ini", kUserOptions);
    EXPECT_EQ(Run({[](CTavrelSettingsDlg&) { Key(VK_F1); }}), 0);

    Options loaded;
    LoadOptionsFromFile(loaded, folder.WidePath("options.ini"));
    Options expected;
    LoadOptionsFromFile(expected, folder.WidePath("options.ini"));
    const std::string written = folder.Read("options.ini");
    EXPECT_EQ(written, CanonicalFile(expected, folder));
    // Only the one section, in the table's key order; the rest of the old file is gone.
    EXPECT_EQ(written.rfind("[main_settings]\r\nuse_system_colors=false\r\nodd_item.r=10\r\n", 0),
              0U)
        << written;
    EXPECT_EQ(written.find("[other]"), std::string::npos);
    EXPECT_EQ(written.find("unknown_key"), std::string::npos);
    EXPECT_EQ(written.find(';'), std::string::npos);
    EXPECT_NE(written.find("item_font.name=Шрифт Sans\r\nitem_font.bold=false\r\n"
                           "item_font.italic=true\r\nitem_font.size=-31\r\n"),
              std::string::npos);
    EXPECT_NE(written.find("user_menu_pos_BR_X=2147483647\r\nuser_menu_pos_BR_Y=-2147483648\r\n"
                           "pos_item_text=right\r\nuse_menu_inertia=false\r\n"),
              std::string::npos);
    EXPECT_EQ(written.substr(written.size() - 2), "\r\n");
}

TEST_F(OptionsPageTest, TextPositionsShowAsTheyAreReadAndSaveAsCentreLeftOrRight) {
    struct Case {
        const char* line;
        const wchar_t* shown;
        const char* saved;
    };
    const Case cases[] = {{"pos_item_text=center\r\n", L"по центру", "center"},
                          {"", L"по центру", "center"},
                          {"pos_item_text=Left\r\n", L"по центру", "center"},
                          {"pos_item_text=left\r\n", L"влево", "left"},
                          {"pos_item_text=right\r\n", L"вправо", "right"}};
    for (const Case& item : cases) {
        SCOPED_TRACE(item.line);
        folder.Write("options.ini", std::string("[main_settings]\r\n") + item.line);
        std::wstring shown;
        Run({[&](CTavrelSettingsDlg& dialog) {
            shown = dialog.tree.FindItem(18)->value;
            Key(VK_F1);
        }});
        EXPECT_EQ(shown, item.shown);
        EXPECT_NE(
            folder.Read("options.ini").find(std::string("pos_item_text=") + item.saved + "\r\n"),
            std::string::npos);
    }
}

TEST_F(OptionsPageTest, NumbersAreReadFromTheRowsLikeTheReaderReadsThemAndMissingRowsAreSkipped) {
    folder.Write("options.ini", "[main_settings]\r\nuse_system_colors=true\r\n");
    Run({[](CTavrelSettingsDlg& dialog) {
        dialog.tree.FindItem(12)->value = L"abc";
        dialog.tree.FindItem(14)->value = L" 25";
        dialog.tree.FindItem(15)->value = L"-7px";
        dialog.tree.FindItem(16)->value = L"99999999999";
        // A row the user cannot have lost, but the writer must not trip over: it gives no key.
        dialog.tree.FindItem(17)->label = L"renamed";
        dialog.tree.FindItem(19)->label = L"renamed too";
        Key(VK_F1);
    }});
    const std::string written = folder.Read("options.ini");
    EXPECT_NE(written.find("user_item_height=0\r\n"), std::string::npos) << written;
    EXPECT_NE(written.find("user_menu_pos_TL_X=25\r\nuser_menu_pos_TL_Y=-7\r\n"
                           "user_menu_pos_BR_X=2147483647\r\npos_item_text=center\r\n"),
              std::string::npos)
        << written;
    EXPECT_EQ(written.find("user_menu_pos_BR_Y"), std::string::npos);
    EXPECT_EQ(written.find("use_menu_inertia"), std::string::npos);
    // The colours of a file that had none are black.
    EXPECT_NE(written.find("use_system_colors=true\r\nodd_item.r=0\r\nodd_item.g=0\r\n"),
              std::string::npos);
}

TEST_F(OptionsPageTest, SystemChoicesGreyOutTheirRowsAsTheUserSwitchesThem) {
    folder.Write("options.ini",
                 "[main_settings]\r\nuse_system_colors=true\r\nuse_system_menu_pos=false\r\n");
    std::vector<std::vector<bool>> colourRows;
    const auto noteColourRows = [&](CTavrelSettingsDlg& dialog) {
        std::vector<bool> disabled;
        for (const auto& child : dialog.tree.FindItem(2)->children)
            disabled.push_back(child->disabled);
        colourRows.push_back(disabled);
    };
    std::vector<bool> positionRows;
    Run({[](CTavrelSettingsDlg&) { SelectWithKeys(2); }, noteColourRows,
         // Enter opens the list, Down takes "нет", Enter ends the edit.
         [](CTavrelSettingsDlg&) { Key(VK_RETURN); },
         [](CTavrelSettingsDlg&) {
             Key(VK_DOWN);
             Key(VK_RETURN);
         },
         noteColourRows, [](CTavrelSettingsDlg&) { Key(VK_RETURN); },
         [](CTavrelSettingsDlg&) {
             Key(VK_UP);
             Key(VK_RETURN);
         },
         noteColourRows,
         // Inertia has no rows to switch; the position rows stay as they are.
         [&](CTavrelSettingsDlg& dialog) {
             auto* inertia = dialog.tree.FindItem(19);
             dialog.SendMessage(WM_USER + 1, reinterpret_cast<WPARAM>(inertia), 0);
             dialog.SendMessage(WM_USER + 1, 0, 0);
             for (const auto& child : dialog.tree.FindItem(13)->children) {
                 positionRows.push_back(child->disabled);
             }
             Key(VK_F2);
         }});
    ASSERT_EQ(colourRows.size(), 3U);
    EXPECT_EQ(colourRows[0], std::vector<bool>(6, true));
    EXPECT_EQ(colourRows[1], std::vector<bool>(6, false));
    EXPECT_EQ(colourRows[2], std::vector<bool>(6, true));
    EXPECT_EQ(positionRows, std::vector<bool>(4, false));
}

TEST_F(OptionsPageTest, WithoutAFileTheEditorShowsTheSystemLookTheLauncherThenUses) {
    std::vector<std::wstring> values;
    Run({[&](CTavrelSettingsDlg& dialog) {
        for (int id = 1; id <= 21; ++id) values.push_back(dialog.tree.FindItem(id)->value);
        Key(VK_F1);
    }});
    ASSERT_EQ(backend->messageBoxes.size(), 1U);
    EXPECT_EQ(backend->messageBoxes[0].text, L"!CreateFile");
    ASSERT_EQ(values.size(), 21U);
    for (int id : {2, 9, 11, 13, 19}) EXPECT_EQ(values[id - 1], L"да") << id;
    EXPECT_EQ(values[17], L"по центру");
    EXPECT_EQ(values[11], L"0");
    // Saved, the file makes the launcher look as it did without one.
    Options saved;
    LoadOptionsFromFile(saved, folder.WidePath("options.ini"));
    Options missing;
    LoadOptionsFromFile(missing, folder.WidePath("none.ini"));
    EXPECT_EQ(saved, missing);
}

}  // namespace

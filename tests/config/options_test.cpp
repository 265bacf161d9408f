// Colour and font groups, numbers, and the options file as both programs read and write it.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "config/code_page.h"
#include "config/color_font.h"
#include "config/ini_document.h"
#include "config/number_text.h"
#include "config/options.h"
#include "support/headless_fixture.h"
#include "support/temp_folder.h"

namespace {

TEST(NumberTextTest, ReadsLikeAtoiAndSaturatesBeyondThirtyTwoBits) {
    EXPECT_EQ(ParseDecimal("  -17xyz"), -17);
    EXPECT_EQ(ParseDecimal("+5"), 5);
    EXPECT_EQ(ParseDecimal("abc"), 0);
    EXPECT_EQ(ParseDecimal(""), 0);
    EXPECT_EQ(ParseDecimal("2147483647"), 2147483647);
    EXPECT_EQ(ParseDecimal("2147483648"), 2147483647);
    EXPECT_EQ(ParseDecimal("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseDecimal("-99999999999999999999999"), -2147483647 - 1);
    // Past 64 bits too: digits that would wrap a 64-bit sum still give the range's ends.
    EXPECT_EQ(ParseDecimal("9223372036854775808"), 2147483647);
    EXPECT_EQ(ParseDecimal("-9223372036854775809"), -2147483647 - 1);
    EXPECT_EQ(ParseDecimal("18446744073709551616"), 2147483647);
    EXPECT_EQ(ParseDecimal(L" 42 "), 42);
    EXPECT_EQ(FormatDecimal(-2147483647 - 1), "-2147483648");
}

TEST(CodePageTest, BoundedBuffersCutAtACharacterBoundary) {
    // 130 Cyrillic letters are 260 bytes: one must go, and no half character may stay.
    const std::wstring name(130, L'\u0448');
    const std::string cut = AnsiFromWide(name, kTextBufferSize);
    EXPECT_EQ(cut.size(), 258u);
    EXPECT_EQ(WideFromAnsi(cut), std::wstring(129, L'\u0448'));
    EXPECT_EQ(AnsiFromWide(L"abc", 3), "ab");
    // A byte that is not UTF-8 is carried through, and written back as it was.
    EXPECT_EQ(WideFromAnsi("bad \xFF byte"), L"bad \xDCFF byte");
    EXPECT_EQ(AnsiFromWide(WideFromAnsi("bad \xFF byte"), kTextBufferSize), "bad \xFF byte");
}

TEST(ColorFontTest, GroupsReadTheLowBitsAndExactBooleans) {
    IniDocument document;
    IniParse(document,
             "[s]\r\nc.r=300\r\nc.g=-1\r\nc.b=12abc\r\nonly.r=9\r\n"
             "f.bold=True\r\nf.italic=true\r\nf.size=-13\r\n"
             "g.name=DejaVu Sans\r\ng.bold=true\r\n\r\n");
    ColorTriple color{1, 2, 3};
    IniGetColor(document, color, "c", "s");
    EXPECT_EQ(color, (ColorTriple{44, 255, 12}));
    IniGetColor(document, color, "only", "s");
    EXPECT_EQ(color, (ColorTriple{9, 0, 0}));
    IniGetColor(document, color, "missing", "nowhere");
    EXPECT_EQ(color, (ColorTriple{0, 0, 0}));

    FontValue font{L"x", true, true, 5};
    IniGetFont(document, font, "f", "s");
    EXPECT_EQ(font, (FontValue{L"", false, true, -13}));
    IniGetFont(document, font, "g", "s");
    EXPECT_EQ(font, (FontValue{L"DejaVu Sans", true, false, 0}));
}

TEST(ColorFontTest, WrittenGroupsReadBack) {
    IniDocument document;
    IniSetColor(document, ColorTriple{10, 20, 30}, "c", "s");
    IniSetFont(document, FontValue{L"\u0428\u0440\u0438\u0444\u0442", true, false, 24}, "f", "s");
    EXPECT_EQ(IniFormat(document),
              "[s]\r\nc.r=10\r\nc.g=20\r\nc.b=30\r\nf.name=\xD0\xA8\xD1\x80\xD0\xB8\xD1\x84\xD1\x82"
              "\r\nf.bold=true\r\nf.italic=false\r\nf.size=24\r\n");
    ColorTriple color;
    IniGetColor(document, color, "c", "s");
    EXPECT_EQ(color, (ColorTriple{10, 20, 30}));
    FontValue font;
    IniGetFont(document, font, "f", "s");
    EXPECT_EQ(font, (FontValue{L"\u0428\u0440\u0438\u0444\u0442", true, false, 24}));
}

class OptionsTest : public HeadlessTest {
  protected:
    TempFolder folder;
};

TEST_F(OptionsTest, TheFileIsWrittenInItsFixedKeyOrderAndReadsBack) {
    Options options;
    options.use_system_colors = false;
    options.odd_item = {1, 2, 3};
    options.even_item = {4, 5, 6};
    options.active_item = {7, 8, 9};
    options.font = {10, 11, 12};
    options.active_font = {13, 14, 15};
    options.slider = {16, 17, 18};
    options.use_system_font = true;
    options.item_font = FontValue{L"DejaVu Serif", false, true, -20};
    options.use_system_item_height = false;
    options.user_item_height = 64;
    options.use_system_menu_pos = false;
    options.user_menu_pos_TL_X = 0;
    options.user_menu_pos_TL_Y = -5;
    options.user_menu_pos_BR_X = 240;
    options.user_menu_pos_BR_Y = 320;
    options.use_menu_inertia = true;
    options.pos_item_text = 2;
    ASSERT_TRUE(SaveOptionsFile(options, folder.WidePath("options.ini")));
    EXPECT_EQ(folder.Read("options.ini"),
              "[main_settings]\r\nuse_system_colors=false\r\n"
              "odd_item.r=1\r\nodd_item.g=2\r\nodd_item.b=3\r\n"
              "even_item.r=4\r\neven_item.g=5\r\neven_item.b=6\r\n"
              "active_item.r=7\r\nactive_item.g=8\r\nactive_item.b=9\r\n"
              "font.r=10\r\nfont.g=11\r\nfont.b=12\r\n"
              "active_font.r=13\r\nactive_font.g=14\r\nactive_font.b=15\r\n"
              "slider.r=16\r\nslider.g=17\r\nslider.b=18\r\n"
              "use_system_font=true\r\nitem_font.name=DejaVu Serif\r\nitem_font.bold=false\r\n"
              "item_font.italic=true\r\nitem_font.size=-20\r\n"
              "use_system_item_height=false\r\nuser_item_height=64\r\n"
              "use_system_menu_pos=false\r\nuser_menu_pos_TL_X=0\r\nuser_menu_pos_TL_Y=-5\r\n"
              "user_menu_pos_BR_X=240\r\nuser_menu_pos_BR_Y=320\r\n"
              "pos_item_text=right\r\nuse_menu_inertia=true\r\n");
    Options read;
    LoadOptionsFromFile(read, folder.WidePath("options.ini"));
    EXPECT_EQ(read, options);
}

TEST_F(OptionsTest, MissingKeysAndSpellingsGiveTheirDefaults) {
    folder.Write("options.ini",
                 "[main_settings]\r\nuse_system_colors=True\r\npos_item_text=center\r\n");
    Options options;
    LoadOptionsFromFile(options, folder.WidePath("options.ini"));
    EXPECT_FALSE(options.use_system_colors);
    EXPECT_EQ(options.odd_item, (ColorTriple{0, 0, 0}));
    EXPECT_FALSE(options.use_menu_inertia);
    EXPECT_EQ(options.user_item_height, 0);
    EXPECT_EQ(options.pos_item_text, 0);
    for (const auto& [text, code] : std::vector<std::pair<std::string, int>>{
             {"left", 1}, {"right", 2}, {"Left", 0}, {"middle", 0}}) {
        folder.Write("options.ini", "[main_settings]\r\npos_item_text=" + text + "\r\n");
        LoadOptionsFromFile(options, folder.WidePath("options.ini"));
        EXPECT_EQ(options.pos_item_text, code) << text;
    }
    EXPECT_TRUE(backend->messageBoxes.empty());
}

// A file that cannot be opened, and one that opens but yields no key of main_settings (what
// every Linux editor writes, LF line ends; a header alone; garbage), both follow the system;
// a single readable key is enough for the file to be read key by key, as ever.
TEST_F(OptionsTest, AFileWithNothingReadableFollowsTheSystem) {
    const Options system = [] {
        Options options;
        options.use_system_colors = options.use_system_font = true;
        options.use_system_item_height = options.use_system_menu_pos = true;
        options.use_menu_inertia = true;
        return options;
    }();
    struct Case {
        const char* name;
        std::optional<std::string> content;  // none: no file
        OptionsSource source;
    };
    const Case cases[] = {
        {"no file", std::nullopt, OptionsSource::Missing},
        {"LF line ends", "[main_settings]\nuse_system_colors=false\nuser_item_height=70\n",
         OptionsSource::Unreadable},
        {"a header alone", "[main_settings]\r\n", OptionsSource::Unreadable},
        {"another section", "[other]\r\nuse_system_colors=false\r\n", OptionsSource::Unreadable},
        {"garbage", std::string("\x89PNG\r\n\x1a\n\0\0\xff=", 12), OptionsSource::Unreadable},
    };
    for (const Case& file : cases) {
        SCOPED_TRACE(file.name);
        std::filesystem::remove(folder.Path("options.ini"));
        if (file.content) folder.Write("options.ini", *file.content);
        backend->messageBoxes.clear();
        Options options;
        options.user_item_height = 77;
        EXPECT_EQ(LoadOptionsFromFile(options, folder.WidePath("options.ini")), file.source);
        EXPECT_EQ(options, system);
        EXPECT_EQ(backend->messageBoxes.size(), file.content ? 0U : 1U) << "the reader's only";
    }
    folder.Write("options.ini", "[main_settings]\r\nfont.g=5\r\n");
    Options options;
    EXPECT_EQ(LoadOptionsFromFile(options, folder.WidePath("options.ini")), OptionsSource::File);
    EXPECT_FALSE(options.use_system_colors);
    EXPECT_EQ(options.font, (ColorTriple{0, 5, 0}));
}

}  // namespace

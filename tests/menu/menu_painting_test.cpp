// What the menu shows: row colours, outlines, gaps, highlight, titles and their alignment.
#include <algorithm>

#include "menu/menu_fixture.h"

namespace {

// The columns of a row's text band where the given colour appears.
std::pair<int, int> InkColumns(const MenuTest& test, const CRect& row, COLORREF ink,
                               COLORREF (MenuTest::*pixel)(int, int) const) {
    int first = -1;
    int last = -1;
    for (int x = row.left + 1; x < row.right - 1; ++x) {
        for (int y = row.top + 1; y < row.bottom - 1; ++y) {
            if ((test.*pixel)(x, y) == ink) {
                if (first < 0) first = x;
                last = x;
                break;
            }
        }
    }
    return {first, last};
}

class MenuPaintingTest : public MenuTest {
  public:
    using MenuTest::Pixel;
};

TEST_F(MenuPaintingTest, RowsAlternateFromIndexZeroWithOutlinesAndBackgroundGaps) {
    CreateMenu(200, 300, 10, 50, 10);
    menu.activeIndex = 2;
    Repaint();
    // Row i occupies y = 50 i + 1 .. 50 i + 48, x = 2 .. 188 (slider at 190).
    EXPECT_EQ(Pixel(100, 10), kEven);     // index 0
    EXPECT_EQ(Pixel(100, 60), kOdd);      // index 1
    EXPECT_EQ(Pixel(100, 110), kActive);  // index 2, highlighted
    EXPECT_EQ(Pixel(100, 160), kOdd);     // index 3
    EXPECT_EQ(Pixel(100, 210), kEven);    // index 4

    // Outlines: grey around ordinary rows, black around the highlighted one.
    EXPECT_EQ(Pixel(100, 1), kOutline);
    EXPECT_EQ(Pixel(100, 48), kOutline);
    EXPECT_EQ(Pixel(2, 20), kOutline);
    EXPECT_EQ(Pixel(188, 20), kOutline);
    EXPECT_EQ(Pixel(100, 101), kActiveOutline);
    EXPECT_EQ(Pixel(100, 148), kActiveOutline);
    EXPECT_EQ(Pixel(2, 120), kActiveOutline);
    EXPECT_EQ(Pixel(188, 120), kActiveOutline);

    // Gaps: two pixel rows between rows, two columns on the left, one right of the rows.
    for (int y : {0, 49, 50, 99, 100}) EXPECT_EQ(Pixel(100, y), kEven) << y;
    for (int x : {0, 1, 189}) EXPECT_EQ(Pixel(x, 60), kEven) << x;
    // The slider: track and thumb, the thumb from 0 to 300 * 300 / 500.
    EXPECT_EQ(Pixel(195, 100), kSlider);
    EXPECT_EQ(Pixel(195, 179), kSlider);
    EXPECT_EQ(Pixel(195, 180), kEven);
    EXPECT_EQ(Pixel(191, 100), kEven);
}

TEST_F(MenuPaintingTest, NoEntriesShowOnlyTheBackground) {
    CreateMenu(200, 300, 0, 50, 10);
    const std::vector<COLORREF> pixels = platform::ReadWindowPixels(menu.m_hWnd);
    ASSERT_EQ(pixels.size(), 200u * 300u);
    EXPECT_TRUE(
        std::all_of(pixels.begin(), pixels.end(), [](COLORREF pixel) { return pixel == kEven; }));
}

TEST_F(MenuPaintingTest, TitlesFollowTheAlignmentAcrossTheWholeRowWithoutAnIcon) {
    CreateMenu(300, 200, 3, 60, 0);
    menu.items[0]->title = L"MMMM";
    menu.activeIndex = 1;
    const CRect row = menu.RowRect(0);

    menu.textAlign = 1;  // left
    Repaint();
    const auto left = InkColumns(*this, row, kText, &MenuPaintingTest::Pixel);
    menu.textAlign = 0;  // centre
    Repaint();
    const auto centre = InkColumns(*this, row, kText, &MenuPaintingTest::Pixel);
    menu.textAlign = 2;  // right
    Repaint();
    const auto right = InkColumns(*this, row, kText, &MenuPaintingTest::Pixel);
    menu.textAlign = 7;  // unknown: left
    Repaint();
    const auto unknown = InkColumns(*this, row, kText, &MenuPaintingTest::Pixel);

    ASSERT_GE(left.first, 0) << "the title drew nothing";
    // Without an icon the text rectangle is the whole row.
    EXPECT_LE(left.first - row.left, 4);
    EXPECT_LE(row.right - right.second, 4);
    const int centreMiddle = (centre.first + centre.second) / 2;
    EXPECT_NEAR(centreMiddle, (row.left + row.right) / 2, 3);
    EXPECT_EQ(unknown, left);
    EXPECT_EQ(left.second - left.first, right.second - right.first);

    // The highlighted row draws its title in the highlight text colour.
    const auto highlighted =
        InkColumns(*this, menu.RowRect(1), kActiveText, &MenuPaintingTest::Pixel);
    EXPECT_GE(highlighted.first, 0);
}

TEST_F(MenuPaintingTest, LongEmptyAndForeignTitlesDrawWithoutHarm) {
    CreateMenu(240, 320, 4, 53, 5);
    menu.items[0]->title = std::wstring(10000, L'W');
    menu.items[1]->title = L"";
    menu.items[2]->title = L"\u041d\u0430\u0441\u0442\u0440\u043e\u0439\u043a\u0438 \u8a2d\u5b9a";
    menu.items[3]->execPath = L"/no/such/program";
    menu.RefreshItems();
    EXPECT_FALSE(menu.items[3]->icon);
    EXPECT_EQ(menu.items[3]->iconWidth, 0);
    Repaint();
    // The long title is clipped to its row: the gap below it stays background.
    EXPECT_EQ(Pixel(100, 53), kEven);
    EXPECT_EQ(Pixel(100, 106), kEven);
}

TEST_F(MenuPaintingTest, ItemFontFollowsTheWindowFontOrTheGivenValue) {
    CTavrel detached;
    FontValue value{L"DejaVu Serif", true, true, 0};
    detached.SetItemFont(&value);  // no window yet: nothing happens
    EXPECT_EQ(detached.itemFont.GetSafeHandle(), nullptr);

    CreateMenu(200, 200, 1);
    LOGFONT logFont{};
    ASSERT_TRUE(menu.itemFont.GetLogFont(&logFont));
    EXPECT_EQ(logFont.lfWeight, FW_BOLD);

    value.faceName = std::wstring(40, L'x');
    menu.SetItemFont(&value);
    ASSERT_TRUE(menu.itemFont.GetLogFont(&logFont));
    EXPECT_EQ(logFont.lfHeight, 0);
    EXPECT_EQ(logFont.lfItalic, 1);
    EXPECT_EQ(std::wstring(logFont.lfFaceName), std::wstring(31, L'x'));
}

TEST_F(MenuPaintingTest, ARuntimeClassNamesCWndAsTheMenusBase) {
    CreateMenu(100, 100, 1);
    EXPECT_STREQ(menu.GetRuntimeClass()->m_lpszClassName, "CTavrel");
    EXPECT_EQ(menu.GetRuntimeClass()->m_pBaseClass, RUNTIME_CLASS(CWnd));
    EXPECT_FALSE(menu.IsKindOf(RUNTIME_CLASS(CDefaultWnd)));
}

}  // namespace

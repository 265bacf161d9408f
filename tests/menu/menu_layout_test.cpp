// Layout of rows and slider from the item height and the client size.
#include "menu/menu_fixture.h"

namespace {

TEST_F(MenuTest, TenEntriesInThreeHundredPixelsOfFiftyThreeEach) {
    CreateMenu(220, 300, 10, 53, 5);
    EXPECT_EQ(menu.visibleCount, 6);
    EXPECT_EQ(menu.bottomOffset, -18);
    EXPECT_EQ(menu.scrollable, 1);
    EXPECT_TRUE(menu.sliderBar.IsVisible());
    EXPECT_EQ(menu.sliderBar.track, CRect(215, 0, 220, 300));
    EXPECT_EQ(menu.sliderBar.total, 530);
    EXPECT_EQ(menu.sliderBar.page, 300);
    EXPECT_EQ(menu.sliderBar.inset, 1);
    // Rows leave two pixels on the left, one right of them and two between neighbours.
    EXPECT_EQ(menu.RowRect(0), CRect(2, 1, 214, 52));
    EXPECT_EQ(menu.RowRect(1), CRect(2, 54, 214, 105));
}

TEST_F(MenuTest, RowsThatFitExactlyShowAFullThumbAndDoNotScroll) {
    CreateMenu(200, 300, 6, 50, 10);
    EXPECT_EQ(menu.scrollable, 0);
    ASSERT_TRUE(menu.sliderBar.IsVisible());
    for (int y : {0, 150, 299}) EXPECT_EQ(Pixel(195, y), kSlider) << y;
    // The track shows beside the thumb's inset.
    EXPECT_EQ(Pixel(190, 150), kEven);
}

TEST_F(MenuTest, RowsThatDoNotReachTheBottomHideTheSlider) {
    CreateMenu(200, 300, 5, 50, 10);
    EXPECT_FALSE(menu.sliderBar.IsVisible());
    EXPECT_EQ(menu.scrollable, 0);
    EXPECT_EQ(menu.RowRect(1).right, 199);
    EXPECT_EQ(Pixel(195, 75), kOdd);  // row 1 reaches past where the slider would be
    EXPECT_EQ(Pixel(198, 75), kOutline);
}

TEST_F(MenuTest, DegenerateSizesNeverDivideByZeroOrDrawAThumb) {
    // No entries in a window of no height: the slider has nothing to show.
    CreateMenu(200, 0, 0, 50, 10);
    EXPECT_EQ(menu.visibleCount, 1);
    EXPECT_EQ(menu.bottomOffset, -50);
    Repaint();  // a bitmap of no height cannot be made: painting is skipped

    // Entries but a track of no height: the track is kept, the scale is no number to divide by.
    for (int index = 0; index < 10; ++index) menu.AddItem(L"late", L"", L"");
    menu.RecalcLayout();
    EXPECT_TRUE(menu.sliderBar.IsVisible());
    EXPECT_EQ(menu.sliderBar.scale, 0.0);
    Repaint();

    parent.MoveWindow(0, 0, 200, 300);
    menu.MoveWindow(0, 0, 200, 300);
    menu.RecalcLayout();
    Repaint();
    EXPECT_EQ(Pixel(195, 10), kSlider);
    EXPECT_EQ(Pixel(195, 200), kEven);
}

TEST_F(MenuTest, AThumbOnALongListKeepsAHeightThatCanBeFound) {
    // 3,000 rows of 50 in 300: the proportional thumb would be 0.6 pixels high.
    CreateMenu(200, 300, 3000, 50, 10);
    const auto thumbRows = [this]() {
        std::vector<int> rows;
        for (int y = 0; y < 300; ++y) {
            if (Pixel(195, y) == kSlider) rows.push_back(y);
        }
        return rows.empty() ? std::pair{-1, -1} : std::pair{rows.front(), rows.back()};
    };
    EXPECT_EQ(thumbRows(), std::pair(0, 14));  // a twentieth of the track
    menu.firstVisible = 1497;                  // the middle of the list
    Repaint();
    EXPECT_EQ(thumbRows(), std::pair(142, 156));
    menu.firstVisible = 2993;
    menu.firstOffset = -49;  // one pixel short of the end
    Repaint();
    EXPECT_EQ(thumbRows(), std::pair(284, 298));
    menu.firstOffset = -50;  // the end
    Repaint();
    EXPECT_EQ(thumbRows(), std::pair(285, 299));
    menu.firstVisible = 2994;  // past the end, as the keys can leave it
    Repaint();
    EXPECT_EQ(thumbRows(), std::pair(285, 299));

    // A narrow window keeps a thumb at least as high as the track is wide.
    parent.MoveWindow(0, 0, 200, 100);
    menu.MoveWindow(0, 0, 200, 100);
    menu.RecalcLayout();
    menu.firstVisible = 0;
    Repaint();
    EXPECT_EQ(Pixel(195, 9), kSlider);
    EXPECT_EQ(Pixel(195, 10), kEven);
}

TEST_F(MenuTest, HugeListsKeepTheContentHeightAndPositionInSixtyFourBits) {
    CreateMenu(200, 300, 3, 50, 10);
    menu.itemHeight = 1 << 30;
    menu.RecalcLayout();
    EXPECT_EQ(menu.sliderBar.total, std::int64_t{3} << 30);
    EXPECT_TRUE(menu.sliderBar.IsVisible());
    // Rows beyond the int range are clamped to its edge.
    EXPECT_EQ(menu.RowRect(1).bottom, std::numeric_limits<int>::max());
    EXPECT_EQ(menu.RowRect(2).top, std::numeric_limits<int>::max());
    EXPECT_EQ(menu.RowRect(2).bottom, std::numeric_limits<int>::max());
    menu.firstVisible = 2;
    menu.firstOffset = -5;
    EXPECT_EQ(menu.ScrollPosition(), (std::int64_t{2} << 30) + 5);
    EXPECT_EQ(menu.RowRect(2).top, -4);
    EXPECT_EQ(menu.RowRect(0).top, std::numeric_limits<int>::min());
    EXPECT_EQ(menu.HitTest(299), 2);
    EXPECT_EQ(menu.HitTest(-1), 2);
    menu.itemHeight = 50;
    menu.RecalcLayout();
    EXPECT_FALSE(menu.sliderBar.IsVisible());
}

}  // namespace

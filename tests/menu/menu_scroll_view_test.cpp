// Scrolling by moving the picture on screen must leave exactly what a full repaint shows.
#include <algorithm>

#include "menu/menu_fixture.h"
#include "platform/windows/window_dc.h"

namespace {

class MenuScrollViewTest : public MenuTest {
  protected:
    // Moves the list to scroll position `position` (content pixels at the top edge).
    void ScrollTo(int position) {
        menu.firstVisible = position / menu.itemHeight;
        menu.firstOffset = -(position % menu.itemHeight);
    }
    int Position() const { return menu.firstVisible * menu.itemHeight - menu.firstOffset; }
};

TEST_F(MenuScrollViewTest, EveryStepMatchesAFullRepaint) {
    const int height = 300;
    const int itemHeight = 53;
    CreateMenu(220, height, 30, itemHeight, 6);
    menu.activeIndex = 3;
    const int maxPosition = 30 * itemHeight - height;
    const std::vector<int> steps{1,
                                 -1,
                                 itemHeight - 1,
                                 -(itemHeight - 1),
                                 itemHeight,
                                 -itemHeight,
                                 height - 1,
                                 -(height - 1),
                                 height,
                                 -height,
                                 17,
                                 -40};
    for (int start : {0, 7, itemHeight * 4 + 20, maxPosition - 3, maxPosition}) {
        for (int step : steps) {
            ScrollTo(start);
            Repaint();
            const int target = std::clamp(start + step, 0, maxPosition);
            const int delta = target - Position();
            ScrollTo(target);
            menu.ScrollView(delta);
            Pump();
            const std::vector<COLORREF> scrolled = platform::ReadWindowPixels(menu.m_hWnd);
            Repaint();
            const std::vector<COLORREF> repainted = platform::ReadWindowPixels(menu.m_hWnd);
            ASSERT_EQ(scrolled.size(), repainted.size());
            const auto mismatch =
                std::mismatch(scrolled.begin(), scrolled.end(), repainted.begin());
            EXPECT_TRUE(mismatch.first == scrolled.end())
                << "start " << start << " step " << step << ": first difference at pixel "
                << (mismatch.first - scrolled.begin()) % 220 << ","
                << (mismatch.first - scrolled.begin()) / 220;
        }
    }
}

TEST_F(MenuScrollViewTest, SmallStepsRepaintOnlyTheRowsThatCameIntoView) {
    CreateMenu(220, 300, 30, 50, 6);
    ScrollTo(100);
    Repaint();
    // Paint a mark into the middle of the window that only a full repaint would remove.
    {
        CClientDC dc(&menu);
        CRect mark(100, 150, 110, 160);
        dc.FillSolidRect(&mark, RGB(255, 0, 255));
    }
    ScrollTo(101);
    menu.ScrollView(1);
    Pump();
    EXPECT_EQ(Pixel(105, 149), RGB(255, 0, 255));  // moved up by one pixel
    ScrollTo(101 + 300);
    menu.ScrollView(300);  // a whole screen: everything is painted anew
    Pump();
    EXPECT_NE(Pixel(105, 149), RGB(255, 0, 255));
}

}  // namespace

// Overlapping windows: a later child lies over its earlier siblings and those of its parent, in
// hit-testing and in painting, also when a window beneath it paints again.
#include "support/headless_fixture.h"
#include "windows/recording_window.h"

namespace {

using Log = std::vector<std::string>;

class WindowStackingTest : public HeadlessTest {};

TEST_F(WindowStackingTest, AWindowBeneathThatPaintsAgainIsCoveredAgainByTheOnesAbove) {
    Log log;
    RecordingWnd top(&log, "top");
    RecordingWnd panel(&log, "panel");
    RecordingWnd inner(&log, "inner");
    RecordingWnd below(&log, "below");
    RecordingWnd over(&log, "over");
    top.color = RGB(255, 255, 255);
    panel.color = RGB(0, 0, 255);
    inner.color = RGB(0, 255, 255);
    below.color = RGB(0, 255, 0);
    over.color = RGB(255, 0, 0);
    ASSERT_TRUE(top.CreateTopLevel(RECT{0, 0, 200, 200}));
    ASSERT_TRUE(panel.CreateChild(&top, RECT{0, 0, 200, 100}, 1));
    ASSERT_TRUE(inner.CreateChild(&panel, RECT{10, 10, 190, 90}, 2));
    ASSERT_TRUE(below.CreateChild(&top, RECT{0, 100, 200, 200}, 3));
    // Created last: it lies over the lower part of the panel, its child and the window below.
    ASSERT_TRUE(over.CreateChild(&top, RECT{50, 60, 150, 160}, 4));
    Pump();
    EXPECT_EQ(platform::ReadWindowPixel(top.m_hWnd, 100, 80), RGB(255, 0, 0));
    EXPECT_EQ(platform::ReadWindowPixel(top.m_hWnd, 100, 120), RGB(255, 0, 0));
    POINT onTop{100, 80};
    EXPECT_EQ(::WindowFromPoint(onTop), over.m_hWnd);

    // A window nested inside the panel paints again: the one above is painted again after it,
    // and a sibling that does not overlap the repainted part is left alone.
    log.clear();
    inner.Invalidate(FALSE);
    Pump();
    EXPECT_EQ(log, (Log{"inner:paint", "over:paint"}));
    EXPECT_EQ(platform::ReadWindowPixel(top.m_hWnd, 100, 80), RGB(255, 0, 0));
    EXPECT_EQ(platform::ReadWindowPixel(top.m_hWnd, 20, 80), RGB(0, 255, 255));

    log.clear();
    RECT clear{0, 50, 40, 100};  // below's left part, away from the window above
    below.InvalidateRect(&clear, FALSE);
    Pump();
    EXPECT_EQ(log, (Log{"below:paint"}));
    below.Invalidate(FALSE);
    Pump();
    EXPECT_EQ(platform::ReadWindowPixel(top.m_hWnd, 100, 150), RGB(255, 0, 0));
    EXPECT_EQ(platform::ReadWindowPixel(top.m_hWnd, 100, 170), RGB(0, 255, 0));

    // A hidden window above is not painted; the parts it covered show what lies beneath.
    over.ShowWindow(SW_HIDE);
    Pump();
    log.clear();
    inner.Invalidate(FALSE);
    Pump();
    EXPECT_EQ(log, (Log{"inner:paint"}));
    EXPECT_EQ(platform::ReadWindowPixel(top.m_hWnd, 100, 80), RGB(0, 255, 255));
}

}  // namespace

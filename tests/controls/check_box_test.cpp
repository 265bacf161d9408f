// The check box as a finger and the keys use it: its state, what the parent hears, what shows.
#include <algorithm>
#include <string>
#include <vector>

#include "controls/control_host.h"
#include "platform/controls/button.h"
#include "platform/graphics/system_colors.h"
#include "support/headless_fixture.h"

namespace {

class CheckBoxTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        ASSERT_TRUE(host.CreateHost(RECT{40, 60, 340, 260}));
        ASSERT_TRUE(box.Create(L"Bold", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX,
                               CRect(10, 10, 210, 50), &host, 1003));
        Pump();
    }

    POINT OnBox(int x, int y) const { return PointOn(box.m_hWnd, x, y); }
    void PressSpace() {
        platform::input::KeyDown(VK_SPACE);
        platform::input::KeyUp(VK_SPACE);
        Pump();
    }

    // Pixels of the control in `color` within `area`.
    int Count(COLORREF color, RECT area) const {
        const std::vector<COLORREF> pixels = platform::ReadWindowPixels(box.m_hWnd);
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                if (pixels[static_cast<std::size_t>(y * 200 + x)] == color) ++count;
            }
        }
        return count;
    }
    // Inside the box's frame: at 96 dots per inch the box is 20 pixels from (2, 10).
    static constexpr RECT kInsideBox{3, 11, 21, 29};
    int TickPixels() const { return Count(GetSysColor(COLOR_WINDOWTEXT), kInsideBox); }

    ControlHost host;
    CButton box;
};

TEST_F(CheckBoxTest, TapsAndSpaceToggleItBeforeTheParentHearsAndASlideOffDoesNot) {
    EXPECT_EQ(box.GetCheck(), BST_UNCHECKED);
    Tap(OnBox(5, 20), OnBox(5, 20));
    EXPECT_EQ(box.GetCheck(), BST_CHECKED);
    Tap(OnBox(150, 5), OnBox(199, 39));  // on the caption, released at the far corner
    EXPECT_EQ(box.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(host.notifications, (std::vector<std::string>{"command 1003 0", "command 1003 0"}));

    // Slid off and released outside: no toggle, no click; a release one past the edge is outside.
    platform::input::StylusDown(OnBox(5, 20));
    Pump();
    platform::input::StylusMove(OnBox(5, 80));
    Pump();
    platform::input::StylusUp(OnBox(5, 80));
    Pump();
    Tap(OnBox(5, 20), OnBox(200, 20));
    EXPECT_EQ(box.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(host.notifications.size(), 2u);

    // Space toggles on its release, as fast as the keys come.
    EXPECT_EQ(CWnd::GetFocus(), &box) << "a tapped check box holds the focus";
    for (int press = 1; press <= 5; ++press) {
        PressSpace();
        EXPECT_EQ(box.GetCheck(), press % 2 == 1 ? BST_CHECKED : BST_UNCHECKED);
    }
    EXPECT_EQ(host.notifications.size(), 7u);
    platform::input::KeyDown(VK_RETURN);
    platform::input::KeyUp(VK_RETURN);
    Pump();
    EXPECT_EQ(box.GetCheck(), BST_CHECKED);
    EXPECT_EQ(host.notifications.size(), 7u);
}

TEST_F(CheckBoxTest, CodeSetsTheStateSilentlyAndAPlainCheckBoxLeavesItToTheParent) {
    box.SetCheck(BST_CHECKED);
    EXPECT_EQ(box.SendMessage(BM_GETCHECK), BST_CHECKED);
    box.SendMessage(BM_SETCHECK, BST_UNCHECKED);
    EXPECT_EQ(box.GetCheck(), BST_UNCHECKED);
    box.SetCheck(7);  // no third state here: anything else is unchecked
    EXPECT_EQ(box.GetCheck(), BST_UNCHECKED);
    Pump();
    EXPECT_TRUE(host.notifications.empty());

    CButton plain;
    ASSERT_TRUE(plain.Create(L"Italic", WS_CHILD | WS_VISIBLE | BS_CHECKBOX,
                             CRect(10, 60, 210, 100), &host, 1004));
    plain.SendMessage(BM_CLICK);
    EXPECT_EQ(plain.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(host.notifications, std::vector<std::string>{"command 1004 0"});
}

TEST_F(CheckBoxTest, ShowsTheTickTheCaptionBesideTheBoxAndTheFocusAroundTheCaption) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF white = GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(TickPixels(), 0);
    EXPECT_EQ(platform::ReadWindowPixel(box.m_hWnd, 12, 20), white) << "an open box is white";
    EXPECT_EQ(platform::ReadWindowPixel(box.m_hWnd, 1, 20), face);
    EXPECT_EQ(Count(GetSysColor(COLOR_HIGHLIGHT), {0, 0, 200, 40}), 0) << "no focus shown";

    box.SetCheck(BST_CHECKED);
    Pump();
    EXPECT_GT(TickPixels(), 20) << "the tick is drawn as soon as code checks the box";
    // The caption's ink starts right of the box and is centred in the control's height.
    const std::vector<COLORREF> pixels = platform::ReadWindowPixels(box.m_hWnd);
    int inkLeft = 200, inkTop = 40, inkBottom = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 24; x < 200; ++x) {
            if (pixels[static_cast<std::size_t>(y * 200 + x)] != face) {
                inkLeft = std::min(inkLeft, x);
                inkTop = std::min(inkTop, y);
                inkBottom = std::max(inkBottom, y + 1);
            }
        }
    }
    EXPECT_GE(inkLeft, 24);
    EXPECT_LE(inkLeft, 32);
    EXPECT_LE(std::abs((inkTop + inkBottom) - 40), 8) << inkTop << ".." << inkBottom;

    box.SetFocus();
    Pump();
    EXPECT_GT(Count(GetSysColor(COLOR_HIGHLIGHT), {22, 0, 120, 40}), 20) << "the caption is framed";
    EXPECT_EQ(Count(GetSysColor(COLOR_HIGHLIGHT), {120, 0, 200, 40}), 0) << "only the caption";

    // Held: the box goes grey under the finger; disabled: the tick and caption go grey.
    platform::input::KeyDown(VK_SPACE);
    Pump();
    EXPECT_EQ(platform::ReadWindowPixel(box.m_hWnd, 5, 13), face);
    platform::input::KeyUp(VK_SPACE);
    Pump();
    EXPECT_EQ(box.GetCheck(), BST_UNCHECKED);
    box.SetCheck(BST_CHECKED);
    box.EnableWindow(FALSE);
    Pump();
    EXPECT_EQ(TickPixels(), 0);
    EXPECT_GT(Count(GetSysColor(COLOR_GRAYTEXT), kInsideBox), 20);
    Tap(OnBox(5, 20), OnBox(5, 20));
    EXPECT_EQ(box.GetCheck(), BST_CHECKED) << "a disabled box does not toggle";
}

class DenseCheckBoxTest : public CheckBoxTest {
  protected:
    void SetUp() override {
        display.dotsPerInch = 192;
        CheckBoxTest::SetUp();
    }
};

TEST_F(DenseCheckBoxTest, TheBoxGrowsWithTheDensityButNeverPastTheControl) {
    box.SetCheck(BST_CHECKED);
    Pump();
    // At 192 dots per inch the box is 38 pixels (the control's height less two) from (4, 1),
    // framed two pixels thick.
    const auto at = [this](int x, int y) { return platform::ReadWindowPixel(box.m_hWnd, x, y); };
    EXPECT_EQ(at(3, 20), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(at(4, 20), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(at(6, 8), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(at(41, 20), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(at(42, 20), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(at(20, 0), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(at(20, 1), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_GT(Count(GetSysColor(COLOR_WINDOWTEXT), {6, 3, 40, 37}), 100);
}

}  // namespace

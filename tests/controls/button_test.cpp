// The push button as a finger and the keys use it: what the parent hears and what the user sees.
#include "platform/controls/button.h"
#include "controls/control_host.h"
#include "platform/graphics/system_colors.h"
#include "support/headless_fixture.h"

namespace {

class ButtonTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        ASSERT_TRUE(host.CreateHost(RECT{40, 60, 340, 260}));
        ASSERT_TRUE(button.Create(L"OK", WS_CHILD | WS_VISIBLE, CRect(20, 20, 140, 70), &host, 7));
        Pump();
    }

    // A point of the button in screen coordinates, (x, y) from its top-left corner.
    POINT OnButton(int x, int y) const { return PointOn(button.m_hWnd, x, y); }
    COLORREF Centre() const { return platform::ReadWindowPixel(button.m_hWnd, 8, 25); }

    ControlHost host;
    CButton button;
};

TEST_F(ButtonTest, ATapThatEndsOnTheButtonClicksItAndOneThatSlidesOffDoesNot) {
    EXPECT_EQ(Centre(), GetSysColor(COLOR_BTNHIGHLIGHT));
    platform::input::StylusDown(OnButton(10, 10));
    Pump();
    EXPECT_EQ(Centre(), GetSysColor(COLOR_HIGHLIGHT)) << "a held button shows pressed";
    EXPECT_EQ(CWnd::GetFocus(), &button) << "a pressed button takes the focus";
    platform::input::StylusUp(OnButton(100, 40));
    Pump();
    EXPECT_EQ(host.notifications, std::vector<std::string>{"command 7 0"});
    EXPECT_EQ(Centre(), GetSysColor(COLOR_BTNHIGHLIGHT));

    // Slid off before the release: released without a click; sliding back presses it again.
    host.notifications.clear();
    platform::input::StylusDown(OnButton(10, 10));
    Pump();
    platform::input::StylusMove(OnButton(10, 60));
    Pump();
    EXPECT_EQ(Centre(), GetSysColor(COLOR_BTNHIGHLIGHT)) << "off the button it shows released";
    platform::input::StylusUp(OnButton(10, 60));
    Pump();
    EXPECT_TRUE(host.notifications.empty());
    // The release one pixel past the right edge is outside (right edges are exclusive).
    Tap(OnButton(10, 10), OnButton(120, 10));
    EXPECT_TRUE(host.notifications.empty());
    Tap(OnButton(10, 10), OnButton(119, 49));
    EXPECT_EQ(host.notifications.size(), 1u);
}

TEST_F(ButtonTest, SpaceClicksTheFocusedButtonOnItsReleaseAndOtherKeysDoNothing) {
    button.SetFocus();
    platform::input::KeyDown(VK_SPACE);
    Pump();
    EXPECT_TRUE(host.notifications.empty()) << "the click comes with the release";
    EXPECT_EQ(Centre(), GetSysColor(COLOR_HIGHLIGHT));
    platform::input::KeyUp(VK_SPACE);
    Pump();
    EXPECT_EQ(host.notifications, std::vector<std::string>{"command 7 0"});
    platform::input::KeyDown(VK_RETURN);
    platform::input::KeyUp(VK_RETURN);
    platform::input::KeyUp(VK_SPACE);  // a release without its press
    Pump();
    EXPECT_EQ(host.notifications.size(), 1u);
}

TEST_F(ButtonTest, ALostCaptureOrFocusCancelsThePressAndADisabledButtonStaysSilent) {
    platform::input::StylusDown(OnButton(10, 10));
    Pump();
    ::ReleaseCapture();
    Pump();
    EXPECT_EQ(Centre(), GetSysColor(COLOR_BTNHIGHLIGHT));
    platform::input::StylusUp(OnButton(10, 10));
    Pump();
    EXPECT_TRUE(host.notifications.empty());

    // Released elsewhere, or on the button after the focus went away and came back.
    for (const bool back : {false, true}) {
        button.SetFocus();
        platform::input::KeyDown(VK_SPACE);
        Pump();
        host.SetFocus();
        if (back) button.SetFocus();
        platform::input::KeyUp(VK_SPACE);
        Pump();
        EXPECT_TRUE(host.notifications.empty()) << (back ? "focus back" : "focus away");
    }

    button.EnableWindow(FALSE);
    Tap(OnButton(10, 10), OnButton(10, 10));
    button.SendMessage(BM_CLICK);
    EXPECT_TRUE(host.notifications.empty());
}

TEST_F(ButtonTest, TheDefaultAndTheFocusedButtonWearAThickFrame) {
    const int thick = 2;  // at 96 dots per inch
    auto frameAt = [this](int inset) {
        return platform::ReadWindowPixel(button.m_hWnd, inset, 25);
    };
    EXPECT_EQ(frameAt(0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(frameAt(1), GetSysColor(COLOR_BTNHIGHLIGHT));
    button.SetButtonStyle(BS_DEFPUSHBUTTON);
    Pump();
    EXPECT_EQ(button.GetButtonStyle(), BS_DEFPUSHBUTTON);
    EXPECT_EQ(frameAt(thick - 1), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(frameAt(thick), GetSysColor(COLOR_BTNHIGHLIGHT));
    button.SetButtonStyle(BS_PUSHBUTTON);
    button.SetFocus();
    Pump();
    EXPECT_EQ(frameAt(thick - 1), GetSysColor(COLOR_HIGHLIGHT));
    host.SetFocus();
    Pump();
    EXPECT_EQ(frameAt(1), GetSysColor(COLOR_BTNHIGHLIGHT));
}

}  // namespace

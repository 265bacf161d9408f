// GetKeyState: the keys held when the message being handled was taken from the queue.
#include "platform/windows/cwnd.h"
#include "support/headless_fixture.h"

namespace {

// Notes whether Shift was held for each 'A' it receives.
class ShiftWatcher : public CWnd {
  public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_KEYDOWN && wParam == 'A') shiftHeld.push_back(GetKeyState(VK_SHIFT) < 0);
        return CWnd::WindowProc(message, wParam, lParam);
    }
    std::vector<bool> shiftHeld;
};

using KeyStateTest = HeadlessTest;

TEST_F(KeyStateTest, KeysAreDownFromTheirPressToTheirReleaseAsTheMessagesArrive) {
    ShiftWatcher window;
    ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                nullptr, nullptr));
    window.SetFocus();
    platform::input::KeyDown('A');
    platform::input::KeyDown(VK_SHIFT);
    platform::input::KeyDown('A');
    platform::input::KeyUp(VK_SHIFT);
    platform::input::KeyDown('A');
    EXPECT_EQ(GetKeyState(VK_SHIFT), 0) << "queued keys count only once they are taken";
    Pump();
    EXPECT_EQ(window.shiftHeld, (std::vector<bool>{false, true, false}));

    // The low bit flips with each press, not with a held key's repeats.
    platform::input::KeyDown(VK_CONTROL);
    platform::input::KeyDown(VK_CONTROL);
    Pump();
    EXPECT_EQ(static_cast<unsigned short>(GetKeyState(VK_CONTROL)), 0x8001u);
    platform::input::KeyUp(VK_CONTROL);
    Pump();
    EXPECT_EQ(GetKeyState(VK_CONTROL), 1);

    // Keys are followed while no window has the focus, and a new screen starts with none held.
    window.DestroyWindow();
    platform::input::KeyDown(VK_SHIFT);
    Pump();
    EXPECT_LT(GetKeyState(VK_SHIFT), 0);
    platform::InstallHeadlessBackend(display);
    EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
    EXPECT_EQ(GetKeyState(-1), 0);
    EXPECT_EQ(GetKeyState(0x1000), 0);
}

}  // namespace

// GetKeyState: the keys held when the message being handled was taken from the queue.
#include "platform/windows/cwnd.h"
#include "support/headless_fixture.h"
#include "windows/recording_window.h"

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

using Log = std::vector<std::string>;

// Writes down each key it gets with whether Alt was held at that moment.
class AltReadingWnd : public RecordingWnd {
  public:
    using RecordingWnd::RecordingWnd;
    BOOL PreTranslateMessage(MSG* /*message*/) override { return FALSE; }

  protected:
    void OnKeyDown(UINT key, UINT /*repeatCount*/, UINT /*flags*/) {
        Record(std::to_string(key) + (GetKeyState(VK_MENU) < 0 ? " alt" : ""));
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(AltReadingWnd, RecordingWnd)
ON_WM_KEYDOWN()
END_MESSAGE_MAP()

TEST_F(KeyStateTest, AKeyReadsDownFromItsPressToItsReleaseInQueueOrder) {
    Log log;
    AltReadingWnd window(&log);
    ASSERT_TRUE(window.CreateTopLevel(RECT{0, 0, 100, 100}));
    window.SetFocus();
    Pump();
    log.clear();

    // Queued together, each key still sees the state of its own moment.
    platform::input::KeyDown(VK_DOWN);
    platform::input::KeyDown(VK_MENU);
    platform::input::KeyDown(VK_DOWN);
    platform::input::KeyUp(VK_MENU);
    platform::input::KeyDown(VK_UP);
    Pump();
    EXPECT_EQ(log, (Log{"w:40", "w:18 alt", "w:40 alt", "w:38"}));
    EXPECT_GE(GetKeyState(VK_MENU), 0) << "released";
    EXPECT_EQ(GetKeyState(-1), 0);
    EXPECT_EQ(GetKeyState(0x1000), 0);

    // A key held while the program lost the keyboard is not held when it comes back: its
    // release went elsewhere.
    platform::input::KeyDown(VK_MENU);
    Pump();
    EXPECT_LT(GetKeyState(VK_MENU), 0);
    platform::input::ActivationChanged(window.m_hWnd, false);
    platform::input::ActivationChanged(window.m_hWnd, true);
    Pump();
    log.clear();
    platform::input::KeyDown(VK_DOWN);
    Pump();
    EXPECT_EQ(log, (Log{"w:40"}));
}

}  // namespace

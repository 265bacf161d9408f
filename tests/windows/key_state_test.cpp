// GetKeyState: a key's state as of the key message being handled, as a control reads Alt with a
// key it handles.
#include "platform/windows/input.h"
#include "support/headless_fixture.h"
#include "windows/recording_window.h"

namespace {

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

class KeyStateTest : public HeadlessTest {};

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
    EXPECT_EQ(GetKeyState(VK_MENU), 0);
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

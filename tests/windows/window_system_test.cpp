// The window system on the headless backend: creation and destruction order, message maps and
// run-time classes, the queue, timers, stylus and key routing, painting and activation.
#include <algorithm>

#include "support/headless_fixture.h"
#include "windows/recording_window.h"

namespace {

using Log = std::vector<std::string>;

bool Contains(const Log& log, const std::string& entry) {
    return std::find(log.begin(), log.end(), entry) != log.end();
}

std::ptrdiff_t IndexOf(const Log& log, const std::string& entry) {
    return std::find(log.begin(), log.end(), entry) - log.begin();
}

class WindowSystemTest : public HeadlessTest {};

// A class whose map and run-time base skip its C++ base, as menu windows do.
class MiddleWnd : public CWnd {
    DECLARE_DYNAMIC(MiddleWnd)
  public:
    Log* log = nullptr;

  protected:
    void OnLButtonDown(UINT, CPoint) { log->push_back("middle down"); }
    void OnTimer(UINT_PTR) { log->push_back("middle timer"); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNAMIC(MiddleWnd, CWnd)
BEGIN_MESSAGE_MAP(MiddleWnd, CWnd)
ON_WM_LBUTTONDOWN()
ON_WM_TIMER()
END_MESSAGE_MAP()

class LeafWnd : public MiddleWnd {
    DECLARE_DYNAMIC(LeafWnd)
  protected:
    void OnLButtonDown(UINT, CPoint point) {
        log->push_back("leaf down " + std::to_string(point.y));
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNAMIC(LeafWnd, CWnd)
BEGIN_MESSAGE_MAP(LeafWnd, CWnd)
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

// A class whose map chains to its C++ base's map: what it does not handle, the base does.
class ChainedWnd : public MiddleWnd {
    DECLARE_DYNAMIC(ChainedWnd)
  protected:
    void OnLButtonDown(UINT, CPoint) { log->push_back("chained down"); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNAMIC(ChainedWnd, MiddleWnd)
BEGIN_MESSAGE_MAP(ChainedWnd, MiddleWnd)
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

TEST_F(WindowSystemTest, MessageMapsChainToTheNamedBaseAndRunTimeClassesNameIt) {
    Log log;
    LeafWnd leaf;
    leaf.log = &log;
    ASSERT_TRUE(leaf.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                              nullptr, nullptr));
    EXPECT_STREQ(leaf.GetRuntimeClass()->m_lpszClassName, "LeafWnd");
    EXPECT_EQ(leaf.GetRuntimeClass()->m_pBaseClass, RUNTIME_CLASS(CWnd));
    EXPECT_TRUE(leaf.IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_FALSE(leaf.IsKindOf(RUNTIME_CLASS(MiddleWnd)));

    SendMessage(leaf.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 42));
    // The middle class's map is skipped: its timer handler is never reached either.
    SendMessage(leaf.m_hWnd, WM_TIMER, 1, 0);
    EXPECT_EQ(log, (Log{"leaf down 42"}));

    // Chained to the middle class: its own entry first, then the middle class's timer.
    log.clear();
    ChainedWnd chained;
    chained.log = &log;
    ASSERT_TRUE(chained.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0, 100,
                                 100, nullptr, nullptr));
    EXPECT_TRUE(chained.IsKindOf(RUNTIME_CLASS(MiddleWnd)));
    SendMessage(chained.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 42));
    SendMessage(chained.m_hWnd, WM_TIMER, 1, 0);
    EXPECT_EQ(log, (Log{"chained down", "middle timer"}));
}

TEST_F(WindowSystemTest, CreationSendsCreateThenSizeAndAFailedCreateLeavesNoWindow) {
    Log log;
    RecordingWnd top(&log, "top");
    ASSERT_TRUE(top.CreateTopLevel(RECT{10, 20, 210, 170}));
    EXPECT_EQ(log[0], "top:create 200x150");
    EXPECT_EQ(log[1], "top:size 200x150");

    RecordingWnd child(&log, "child");
    child.createResult = -1;
    EXPECT_FALSE(child.CreateChild(&top, RECT{0, 0, 10, 10}, 5));
    EXPECT_EQ(child.m_hWnd, nullptr);
    EXPECT_EQ(GetDlgItem(top.m_hWnd, 5), nullptr);

    // Negative sizes become zero.
    RecordingWnd flat(&log, "flat");
    ASSERT_TRUE(flat.CreateChild(&top, RECT{5, 5, -20, -7}, 6));
    RECT client{};
    flat.GetClientRect(&client);
    EXPECT_EQ(client.right, 0);
    EXPECT_EQ(client.bottom, 0);
    EXPECT_TRUE(Contains(log, "flat:create 0x0"));
}

TEST_F(WindowSystemTest, DestroyingRunsTheParentsDestroyFirstAndDetachesEveryObject) {
    Log log;
    RecordingWnd top(&log, "top");
    RecordingWnd child(&log, "child");
    RecordingWnd grandchild(&log, "grandchild");
    ASSERT_TRUE(top.CreateTopLevel(RECT{0, 0, 100, 100}));
    ASSERT_TRUE(child.CreateChild(&top, RECT{0, 0, 50, 50}, 1));
    ASSERT_TRUE(grandchild.CreateChild(&child, RECT{0, 0, 20, 20}, 2));
    const HWND childHandle = child.m_hWnd;
    child.SetTimer(3, 40, nullptr);
    log.clear();

    top.DestroyWindow();
    EXPECT_EQ(log, (Log{"top:destroy", "child:destroy", "grandchild:destroy"}));
    EXPECT_EQ(top.m_hWnd, nullptr);
    EXPECT_EQ(child.m_hWnd, nullptr);
    EXPECT_EQ(grandchild.m_hWnd, nullptr);
    EXPECT_EQ(child.postNcDestroyCalls, 1);
    EXPECT_FALSE(IsWindow(childHandle));

    // A new window never receives an old handle, and the old timer is gone with its window.
    RecordingWnd later(&log, "later");
    ASSERT_TRUE(later.CreateTopLevel(RECT{0, 0, 10, 10}));
    EXPECT_NE(later.m_hWnd, childHandle);
    log.clear();
    Advance(100);
    Pump();
    EXPECT_FALSE(Contains(log, "child:timer 3"));
}

TEST_F(WindowSystemTest, TimersTickOnceWhenDueNeverPileUpAndKillTimerDropsThem) {
    Log log;
    RecordingWnd top(&log, "top");
    ASSERT_TRUE(top.CreateTopLevel(RECT{0, 0, 10, 10}));
    Pump();
    log.clear();
    top.SetTimer(1, 40, nullptr);
    Advance(39);
    Pump();
    EXPECT_TRUE(log.empty());
    Advance(1);
    Pump();
    EXPECT_EQ(log, (Log{"top:timer 1"}));

    // Ten intervals late: one tick, then a whole interval until the next.
    log.clear();
    Advance(400);
    Pump();
    Advance(39);
    Pump();
    EXPECT_EQ(log, (Log{"top:timer 1"}));

    // A tick peeked into the queue but not yet handled is dropped by KillTimer.
    log.clear();
    Advance(1);
    MSG peeked{};
    ASSERT_TRUE(PeekMessage(&peeked, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(peeked.message, static_cast<UINT>(WM_TIMER));
    EXPECT_TRUE(top.KillTimer(1));
    Pump();
    Advance(200);
    Pump();
    EXPECT_TRUE(log.empty());

    // A tick that really waits in the queue goes with its timer; other timers' ticks stay.
    RecordingWnd other(&log, "other");
    ASSERT_TRUE(other.CreateTopLevel(RECT{0, 0, 10, 10}));
    Pump();
    log.clear();
    top.SetTimer(1, 40, nullptr);
    ASSERT_TRUE(PostMessage(top.m_hWnd, WM_TIMER, 1, 0));
    ASSERT_TRUE(PostMessage(top.m_hWnd, WM_TIMER, 2, 0));
    ASSERT_TRUE(PostMessage(other.m_hWnd, WM_TIMER, 1, 0));
    EXPECT_TRUE(top.KillTimer(1));
    Pump();
    EXPECT_EQ(log, (Log{"top:timer 2", "other:timer 1"}));
}

TEST_F(WindowSystemTest, StylusMovesArriveOnlyWhileDownAndFollowTheCapture) {
    Log log;
    RecordingWnd top(&log, "top");
    RecordingWnd child(&log, "child");
    ASSERT_TRUE(top.CreateTopLevel(RECT{100, 100, 300, 400}));
    ASSERT_TRUE(child.CreateChild(&top, RECT{10, 20, 110, 220}, 1));
    Pump();
    log.clear();

    platform::input::StylusMove(POINT{150, 150});  // hovering: nobody hears it
    platform::input::StylusDown(POINT{120, 130});
    platform::input::StylusMove(POINT{125, 140});
    Pump();
    EXPECT_EQ(log, (Log{"child:down 10,10", "child:move 15,20"}));

    // With the capture, a move far outside still goes to the child, in its coordinates.
    log.clear();
    child.SetCapture();
    platform::input::StylusMove(POINT{350, 90});
    platform::input::StylusUp(POINT{350, 90});
    platform::input::StylusMove(POINT{130, 130});
    Pump();
    EXPECT_EQ(log, (Log{"child:move 240,-30", "child:up 240,-30"}));
    // Whoever loses the capture hears of it, also when it is simply released.
    log.clear();
    top.SetCapture();
    ReleaseCapture();
    ReleaseCapture();  // nobody holds it: nobody hears anything
    EXPECT_EQ(log, (Log{"child:capture lost to another window", "top:capture lost"}));
    EXPECT_EQ(GetCapture(), nullptr);

    // Outside the child the parent gets the press.
    log.clear();
    platform::input::StylusDown(POINT{250, 380});
    platform::input::StylusUp(POINT{250, 380});
    Pump();
    EXPECT_EQ(log, (Log{"top:down 150,280", "top:up 150,280"}));
}

TEST_F(WindowSystemTest, KeysGoToTheFocusAndParentsMayPreTranslateThem) {
    Log log;
    RecordingWnd top(&log, "top");
    RecordingWnd child(&log, "child");
    ASSERT_TRUE(top.CreateTopLevel(RECT{0, 0, 200, 200}));
    ASSERT_TRUE(child.CreateChild(&top, RECT{0, 0, 50, 50}, 1));
    child.SetFocus();
    Pump();
    log.clear();

    platform::input::KeyDown(VK_DOWN);
    Pump();
    EXPECT_EQ(log, (Log{"child:pretranslate 40", "top:pretranslate 40", "child:key 40"}));

    log.clear();
    top.consumeKeys = true;
    platform::input::KeyDown(VK_UP);
    Pump();
    EXPECT_EQ(log, (Log{"child:pretranslate 38", "top:pretranslate 38"}));
    EXPECT_EQ(SendMessage(child.m_hWnd, WM_TEST_CUSTOM, 2, 3), 5);
}

TEST_F(WindowSystemTest, PaintingFollowsInvalidationParentsFirstAndClipsChildrenToTheirParent) {
    Log log;
    RecordingWnd top(&log, "top");
    RecordingWnd child(&log, "child");
    top.color = RGB(255, 0, 0);
    child.color = RGB(0, 0, 255);
    ASSERT_TRUE(top.CreateTopLevel(RECT{0, 0, 100, 100}));
    ASSERT_TRUE(child.CreateChild(&top, RECT{60, 60, 160, 160}, 1));
    Pump();
    EXPECT_LT(IndexOf(log, "top:paint"), IndexOf(log, "child:paint"));
    EXPECT_EQ(platform::ReadWindowPixel(top.m_hWnd, 10, 10), RGB(255, 0, 0));
    EXPECT_EQ(platform::ReadWindowPixel(top.m_hWnd, 70, 70), RGB(0, 0, 255));
    // The child's part beyond its parent's edge is not shown.
    EXPECT_EQ(platform::ReadWindowPixel(child.m_hWnd, 39, 39), RGB(0, 0, 255));
    EXPECT_EQ(platform::ReadWindowPixel(child.m_hWnd, 40, 40), CLR_INVALID);

    // Invalidating part of the child repaints only that part.
    log.clear();
    child.color = RGB(0, 255, 0);
    RECT part{0, 0, 5, 5};
    child.InvalidateRect(&part, FALSE);
    Pump();
    EXPECT_EQ(log, (Log{"child:paint"}));
    EXPECT_EQ(platform::ReadWindowPixel(child.m_hWnd, 2, 2), RGB(0, 255, 0));
    EXPECT_EQ(platform::ReadWindowPixel(child.m_hWnd, 7, 7), RGB(0, 0, 255));

    // Nothing invalid: no paint at all.
    log.clear();
    Pump();
    EXPECT_TRUE(log.empty());
}

TEST_F(WindowSystemTest, MovingAChildRepaintsBothPlacesAndReportsOnlyRealSizeChanges) {
    Log log;
    RecordingWnd top(&log, "top");
    RecordingWnd child(&log, "child");
    top.color = RGB(255, 255, 255);
    child.color = RGB(0, 0, 0);
    ASSERT_TRUE(top.CreateTopLevel(RECT{0, 0, 100, 100}));
    ASSERT_TRUE(child.CreateChild(&top, RECT{0, 0, 20, 20}, 1));
    Pump();
    log.clear();
    child.MoveWindow(50, 50, 20, 20);
    EXPECT_FALSE(Contains(log, "child:size 20x20"));
    child.MoveWindow(50, 50, 30, -5);
    EXPECT_TRUE(Contains(log, "child:size 30x0"));
    child.MoveWindow(50, 50, 30, 30);
    Pump();
    EXPECT_EQ(platform::ReadWindowPixel(top.m_hWnd, 5, 5), RGB(255, 255, 255));
    EXPECT_EQ(platform::ReadWindowPixel(top.m_hWnd, 55, 55), RGB(0, 0, 0));
}

TEST_F(WindowSystemTest, AFrameIsDrawnAroundTheClientArea) {
    Log log;
    RecordingWnd top(&log, "top");
    top.color = RGB(255, 255, 255);
    ASSERT_TRUE(top.CreateTopLevel(RECT{0, 0, 60, 40}, WS_POPUP | WS_VISIBLE | WS_BORDER));
    Pump();
    RECT client{};
    top.GetClientRect(&client);
    EXPECT_EQ(client.right, 58);
    EXPECT_EQ(client.bottom, 38);
    POINT origin{0, 0};
    top.ClientToScreen(&origin);
    EXPECT_EQ(origin.x, 1);
    EXPECT_EQ(platform::ReadWindowPixel(top.m_hWnd, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(platform::ReadWindowPixel(top.m_hWnd, -1, 0), CLR_INVALID);
}

TEST_F(WindowSystemTest, ActivationFocusAndDisplayChangesReachTheWindows) {
    Log log;
    RecordingWnd top(&log, "top");
    RecordingWnd child(&log, "child");
    ASSERT_TRUE(top.CreateTopLevel(RECT{0, 0, 100, 100}));
    EXPECT_TRUE(Contains(log, "top:active"));
    EXPECT_EQ(GetFocus(), top.m_hWnd);
    ASSERT_TRUE(child.CreateChild(&top, RECT{0, 0, 10, 10}, 1));
    child.SetFocus();
    EXPECT_TRUE(Contains(log, "top:killfocus"));
    EXPECT_TRUE(Contains(log, "child:setfocus"));
    Pump();

    log.clear();
    platform::input::ActivationChanged(top.m_hWnd, false);
    Pump();
    EXPECT_EQ(log, (Log{"top:inactive", "child:killfocus"}));
    EXPECT_EQ(GetActiveWindow(), nullptr);

    // A hidden window keeps its activation whatever the outside world says.
    top.ShowWindow(SW_HIDE);
    SetActiveWindow(top.m_hWnd);
    log.clear();
    platform::input::ActivationChanged(top.m_hWnd, false);
    Pump();
    EXPECT_EQ(GetActiveWindow(), top.m_hWnd);
    EXPECT_TRUE(log.empty());
    top.ShowWindow(SW_SHOW);

    log.clear();
    platform::input::DisplayChanged(platform::DisplayInfo{640, 480, 96});
    Pump();
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
    EXPECT_TRUE(Contains(log, "top:size 100x100"));
}

TEST_F(WindowSystemTest, MessageBoxesAreRecordedWithTheirTextAndCaption) {
    EXPECT_EQ(MessageBox(nullptr, L"!CreateFile", L"Error", MB_OK), IDOK);
    ASSERT_EQ(backend->messageBoxes.size(), 1u);
    EXPECT_EQ(backend->messageBoxes[0].text, L"!CreateFile");
    EXPECT_EQ(backend->messageBoxes[0].caption, L"Error");
}

TEST_F(WindowSystemTest, GetMessageLetTheClockRunToTheNextTimerAndEndsWhenNothingCanCome) {
    Log log;
    RecordingWnd top(&log, "top");
    ASSERT_TRUE(top.CreateTopLevel(RECT{0, 0, 10, 10}));
    top.SetTimer(9, 40, nullptr);
    const DWORD start = GetTickCount();
    MSG message{};
    while (GetMessage(&message, nullptr, 0, 0) && message.message != WM_TIMER) {
        DispatchMessage(&message);
    }
    EXPECT_EQ(message.message, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(GetTickCount() - start, 40u);
    top.KillTimer(9);
    EXPECT_FALSE(GetMessage(&message, nullptr, 0, 0));
}

}  // namespace

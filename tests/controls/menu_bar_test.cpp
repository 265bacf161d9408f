// The shell's menu bar built from a menu: what the window hears from taps and soft keys, where the
// bar lies and what it leaves of the window's client area, and the descriptions it refuses.
#include <algorithm>

#include "controls/control_host.h"
#include "platform/controls/button.h"
#include "platform/controls/control_drawing.h"
#include "platform/controls/menu_bar.h"
#include "platform/framework/handheld_shell.h"
#include "platform/graphics/system_colors.h"
#include "platform/windows/menus.h"
#include "platform/windows/window_dc.h"
#include "support/headless_fixture.h"

namespace {

// A host that also writes down the client sizes it hears of.
class SizedHost : public ControlHost {
  public:
    std::vector<std::pair<int, int>> sizes;

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SIZE) sizes.emplace_back(LOWORD(lParam), HIWORD(lParam));
        return ControlHost::WindowProc(message, wParam, lParam);
    }
};

class MenuBarTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        ASSERT_TRUE(host.CreateHost(RECT{0, 0, 480, 640}));
        // The focus lies on an ordinary control, as the editor's tree holds it.
        ASSERT_TRUE(
            focusHolder.Create(L"x", WS_CHILD | WS_VISIBLE, CRect(10, 10, 100, 60), &host, 5));
        focusHolder.SetFocus();
        menu = CreateMenu();
        AppendMenu(menu, MF_STRING, 1100, L"сохранить");
        AppendMenu(menu, MF_STRING, 1101, L"отменить");
        Pump();
    }
    void TearDown() override {
        DestroyMenu(menu);
        HeadlessTest::TearDown();
    }

    SHMENUBARINFO Description() const {
        SHMENUBARINFO info{};
        info.cbSize = sizeof(info);
        info.hwndParent = host.m_hWnd;
        info.dwFlags = SHCMBF_HMENU;
        info.nToolBarId = static_cast<UINT>(reinterpret_cast<UINT_PTR>(menu));
        return info;
    }
    HWND CreateBar() {
        SHMENUBARINFO info = Description();
        EXPECT_TRUE(SHCreateMenuBar(&info));
        Pump();
        return info.hwndMB;
    }
    // A point of the bar in screen coordinates, (x, y) from its top-left corner.
    static POINT OnBar(HWND bar, int x, int y) { return PointOn(bar, x, y); }
    void Press(UINT key) {
        platform::input::KeyDown(key);
        Pump();
        platform::input::KeyUp(key);
        Pump();
    }
    // Columns of the bar that hold ink (anything but the face), between x = `from` and `to`,
    // below the rule on top.
    static std::vector<int> InkColumns(HWND bar, int from, int to) {
        RECT client{};
        GetClientRect(bar, &client);
        std::vector<int> columns;
        for (int x = from; x < to; ++x) {
            for (int y = 1; y < client.bottom; ++y) {
                if (platform::ReadWindowPixel(bar, x, y) != GetSysColor(COLOR_BTNFACE)) {
                    columns.push_back(x);
                    break;
                }
            }
        }
        return columns;
    }

    SizedHost host;
    CButton focusHolder;
    HMENU menu = nullptr;
};

TEST(Menus, HandlesHoldTheirEntriesUntilDestroyedAndBadHandlesFail) {
    HMENU menu = CreateMenu();
    EXPECT_EQ(GetMenuItemCount(menu), 0);
    EXPECT_TRUE(AppendMenu(menu, MF_STRING, 7, L"один"));
    EXPECT_TRUE(AppendMenu(menu, MF_STRING, 9, L"два"));
    EXPECT_FALSE(AppendMenu(menu, 0x0800, 3, L"x")) << "only string entries";
    EXPECT_FALSE(AppendMenu(menu, MF_STRING, 3, nullptr));
    EXPECT_EQ(GetMenuItemCount(menu), 2);
    EXPECT_EQ(GetMenuItemID(menu, 1), 9u);
    EXPECT_EQ(GetMenuItemID(menu, 2), static_cast<UINT>(-1));
    EXPECT_EQ(GetMenuItemID(menu, -1), static_cast<UINT>(-1));

    wchar_t text[8] = L"";
    EXPECT_EQ(GetMenuString(menu, 9, text, 8, MF_BYCOMMAND), 3);
    EXPECT_STREQ(text, L"два");
    EXPECT_EQ(GetMenuString(menu, 0, text, 3, MF_BYPOSITION), 2) << "truncated to fit";
    EXPECT_STREQ(text, L"од");
    EXPECT_EQ(GetMenuString(menu, 0, nullptr, 0, MF_BYPOSITION), 4);
    EXPECT_EQ(GetMenuString(menu, 5, text, 8, MF_BYCOMMAND), 0);

    EXPECT_TRUE(DestroyMenu(menu));
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_FALSE(DestroyMenu(menu)) << "twice";
    EXPECT_FALSE(AppendMenu(menu, MF_STRING, 1, L"x"));
    EXPECT_EQ(GetMenuItemCount(menu), -1);
    EXPECT_EQ(GetMenuString(menu, 7, text, 8, MF_BYCOMMAND), 0);
    // Handles are not reused: a new menu never answers to the old handle.
    HMENU next = CreateMenu();
    EXPECT_NE(next, menu);
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_FALSE(IsMenu(nullptr));
    DestroyMenu(next);
}

TEST_F(MenuBarTest, TheBarLiesAcrossTheBottomAndTheClientAreaEndsAboveIt) {
    host.sizes.clear();
    const HWND bar = CreateBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetParent(bar), host.m_hWnd);
    const int height = CMenuBar::BarHeight();
    EXPECT_GE(height, 36) << "a finger's height";

    RECT barRect{};
    GetWindowRect(bar, &barRect);
    EXPECT_EQ(barRect.left, 0);
    EXPECT_EQ(barRect.right, 480);
    EXPECT_EQ(barRect.bottom, 640);
    EXPECT_EQ(barRect.top, 640 - height);

    RECT client{};
    host.GetClientRect(&client);
    EXPECT_EQ(client.bottom, 640 - height);
    EXPECT_EQ(client.right, 480);
    EXPECT_EQ(host.sizes, (std::vector<std::pair<int, int>>{{480, 640 - height}}));

    // On screen: the host's own colour just above the bar, the bar's rule on its first row.
    const COLORREF above = platform::ReadWindowPixel(host.m_hWnd, 240, client.bottom - 1);
    EXPECT_NE(above, GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(platform::ReadWindowPixel(host.m_hWnd, 240, client.bottom),
              GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(platform::ReadWindowPixel(host.m_hWnd, 5, 639), GetSysColor(COLOR_BTNFACE));

    // The bar follows its window's size, and the window hears the size above it.
    host.sizes.clear();
    host.MoveWindow(0, 0, 320, 400, TRUE);
    Pump();
    GetWindowRect(bar, &barRect);
    EXPECT_EQ(barRect.top, 400 - height);
    EXPECT_EQ(barRect.right, 320);
    host.GetClientRect(&client);
    EXPECT_EQ(client.bottom, 400 - height);
    EXPECT_EQ(host.sizes, (std::vector<std::pair<int, int>>{{320, 400 - height}}));

    // A bar that goes alone gives its strip back.
    host.sizes.clear();
    DestroyWindow(bar);
    Pump();
    host.GetClientRect(&client);
    EXPECT_EQ(client.bottom, 400);
    EXPECT_EQ(host.sizes, (std::vector<std::pair<int, int>>{{320, 400}}));
}

TEST_F(MenuBarTest, TheBarIsAFingerHighAtTheDisplaysDensity) {
    platform::input::DisplayChanged(platform::DisplayInfo{480, 640, 192});
    Pump();
    const HWND bar = CreateBar();
    RECT barRect{};
    GetWindowRect(bar, &barRect);
    EXPECT_EQ(barRect.bottom - barRect.top, 72);
}

TEST_F(MenuBarTest, TapsSendTheEntrysCommandOnlyWhenTheyEndOnTheEntryTheyBeganOn) {
    const HWND bar = CreateBar();
    const int middle = CMenuBar::BarHeight() / 2;
    Tap(OnBar(bar, 20, middle), OnBar(bar, 200, middle));
    Tap(OnBar(bar, 470, 2), OnBar(bar, 300, middle));
    EXPECT_EQ(host.notifications, (std::vector<std::string>{"command 1100 0", "command 1101 0"}));

    // The two halves meet at x = 240: the left entry ends at 239.
    host.notifications.clear();
    Tap(OnBar(bar, 239, middle), OnBar(bar, 239, middle));
    Tap(OnBar(bar, 240, middle), OnBar(bar, 240, middle));
    EXPECT_EQ(host.notifications, (std::vector<std::string>{"command 1100 0", "command 1101 0"}));

    // Slid onto the other entry, or off the bar, before the release: nothing.
    host.notifications.clear();
    Tap(OnBar(bar, 20, middle), OnBar(bar, 300, middle));
    Tap(OnBar(bar, 300, middle), OnBar(bar, 300, -5));
    EXPECT_TRUE(host.notifications.empty());

    // The held entry shows pressed, and released again when the stylus slides off it.
    platform::input::StylusDown(OnBar(bar, 20, middle));
    Pump();
    EXPECT_EQ(platform::ReadWindowPixel(bar, 10, 3), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(platform::ReadWindowPixel(bar, 400, 3), GetSysColor(COLOR_BTNFACE));
    platform::input::StylusMove(OnBar(bar, 400, middle));
    Pump();
    EXPECT_EQ(platform::ReadWindowPixel(bar, 10, 3), GetSysColor(COLOR_BTNFACE));
    platform::input::StylusUp(OnBar(bar, 400, middle));
    Pump();
    EXPECT_TRUE(host.notifications.empty());
    EXPECT_EQ(CWnd::GetFocus(), &focusHolder) << "a tap on the bar leaves the focus where it was";
}

TEST_F(MenuBarTest, SoftKeysSendTheLeftAndRightEntriesFromWhereverTheFocusIs) {
    const HWND bar = CreateBar();
    Press(VK_F1);
    Press(VK_F2);
    EXPECT_EQ(host.notifications, (std::vector<std::string>{"command 1100 0", "command 1101 0"}));

    // The command comes with the release; the held key shows its entry pressed.
    host.notifications.clear();
    platform::input::KeyDown(VK_F2);
    Pump();
    EXPECT_TRUE(host.notifications.empty());
    EXPECT_EQ(platform::ReadWindowPixel(bar, 400, 3), GetSysColor(COLOR_HIGHLIGHT));
    platform::input::KeyUp(VK_F2);
    Pump();
    EXPECT_EQ(host.notifications, std::vector<std::string>{"command 1101 0"});
    EXPECT_EQ(platform::ReadWindowPixel(bar, 400, 3), GetSysColor(COLOR_BTNFACE));

    // A release without its press, other keys, and keys of another window: nothing.
    host.notifications.clear();
    platform::input::KeyUp(VK_F1);
    Press(VK_F4);
    Press(VK_SPACE);  // clicks the focused button, its own command
    EXPECT_EQ(host.notifications, std::vector<std::string>{"command 5 0"});
    ControlHost other;
    ASSERT_TRUE(other.CreateHost(RECT{0, 0, 100, 100}));
    other.SetFocus();
    host.notifications.clear();
    Press(VK_F1);
    EXPECT_TRUE(host.notifications.empty());
}

TEST_F(MenuBarTest, AOneEntryBarAnswersF1OnlyAndThreeEntriesPutF2OnTheLast) {
    HMENU single = CreateMenu();
    AppendMenu(single, MF_STRING, 40, L"готово");
    SHMENUBARINFO info = Description();
    info.nToolBarId = static_cast<UINT>(reinterpret_cast<UINT_PTR>(single));
    ASSERT_TRUE(SHCreateMenuBar(&info));
    Pump();
    Press(VK_F2);
    Press(VK_F1);
    EXPECT_EQ(host.notifications, std::vector<std::string>{"command 40 0"});
    DestroyWindow(info.hwndMB);
    DestroyMenu(single);

    host.notifications.clear();
    AppendMenu(menu, MF_STRING, 1102, L"третий");
    const HWND bar = CreateBar();
    Press(VK_F2);
    // Three equal thirds: the middle entry spans x = 160 to 319.
    Tap(OnBar(bar, 160, 5), OnBar(bar, 319, 5));
    EXPECT_EQ(host.notifications, (std::vector<std::string>{"command 1102 0", "command 1101 0"}));
}

TEST_F(MenuBarTest, CyrillicCaptionsAreDrawnCentredInTheirEntries) {
    const HWND bar = CreateBar();
    const std::vector<int> left = InkColumns(bar, 0, 240);
    const std::vector<int> right = InkColumns(bar, 241, 480);  // past the rule between
    ASSERT_GT(left.size(), 20u) << "the caption's glyphs are drawn";
    ASSERT_GT(right.size(), 20u);
    // Each caption sits in the middle of its half, within a few pixels.
    EXPECT_NEAR((left.front() + left.back()) / 2, 120, 3);
    EXPECT_NEAR((right.front() + right.back()) / 2, 360, 3);
    // The width of the ink is the width of the text as the control's font measures it.
    CClientDC dc(CWnd::FromHandle(bar));
    HGDIOBJ previous = dc.SelectObject(platform::ControlFont(bar));
    const int saveWidth = dc.GetTextExtent(std::wstring(L"сохранить")).cx;
    const int cancelWidth = dc.GetTextExtent(std::wstring(L"отменить")).cx;
    dc.SelectObject(previous);
    EXPECT_NEAR(left.back() - left.front() + 1, saveWidth, 3);
    EXPECT_NEAR(right.back() - right.front() + 1, cancelWidth, 3);
}

TEST_F(MenuBarTest, BadDescriptionsFailAndLeaveTheWindowAsItWas) {
    SHMENUBARINFO info = Description();
    info.cbSize = 36 + 1;
    EXPECT_FALSE(SHCreateMenuBar(&info));
    info = Description();
    info.cbSize = 0;
    EXPECT_FALSE(SHCreateMenuBar(&info));
    info = Description();
    info.hwndParent = nullptr;
    EXPECT_FALSE(SHCreateMenuBar(&info));
    info = Description();
    info.dwFlags = 0;
    EXPECT_FALSE(SHCreateMenuBar(&info)) << "a tool-bar resource is not what the bar is made of";
    info = Description();
    info.nToolBarId = 0x12345;
    EXPECT_FALSE(SHCreateMenuBar(&info)) << "a made-up menu";
    EXPECT_FALSE(SHCreateMenuBar(nullptr));

    HMENU gone = CreateMenu();
    AppendMenu(gone, MF_STRING, 1, L"x");
    DestroyMenu(gone);
    info = Description();
    info.nToolBarId = static_cast<UINT>(reinterpret_cast<UINT_PTR>(gone));
    EXPECT_FALSE(SHCreateMenuBar(&info)) << "a destroyed menu";
    EXPECT_EQ(info.hwndMB, nullptr);

    Pump();
    RECT client{};
    host.GetClientRect(&client);
    EXPECT_EQ(client.bottom, 640);
    EXPECT_EQ(::GetWindow(host.m_hWnd, GW_CHILD), focusHolder.m_hWnd);
    EXPECT_EQ(::GetWindow(focusHolder.m_hWnd, GW_HWNDNEXT), nullptr)
        << "no bar window was left behind";

    // The bar keeps its copy of the entries: the menu may go before it.
    const HWND bar = CreateBar();
    DestroyMenu(menu);
    menu = nullptr;
    Press(VK_F1);
    EXPECT_EQ(host.notifications, std::vector<std::string>{"command 1100 0"});
    EXPECT_TRUE(IsWindow(bar));
}

}  // namespace

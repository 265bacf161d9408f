// The drop-down list combo box as a finger and the keys use it: what the parent hears, what the
// user sees of the closed box and of the list it drops, and where that list goes.
#include "platform/controls/combo_box.h"

#include <string>
#include <vector>

#include "controls/control_host.h"
#include "platform/controls/button.h"
#include "platform/controls/combo_drop_list.h"
#include "platform/graphics/system_colors.h"
#include "platform/windows/window_dc.h"
#include "support/headless_fixture.h"

namespace {

using Log = std::vector<std::string>;

constexpr UINT kComboId = 5;

std::string Note(UINT code) {
    return "command " + std::to_string(kComboId) + " " + std::to_string(code);
}

// A dialog-like host: it paints a dialog's face, writes down the Enter and Escape keys that reach
// its PreTranslateMessage (where a dialog ends itself on them) and every change of its activation.
class DialogHost : public ControlHost {
  public:
    BOOL PreTranslateMessage(MSG* message) override {
        if (message->message == WM_KEYDOWN &&
            (message->wParam == VK_RETURN || message->wParam == VK_ESCAPE)) {
            keys.push_back(static_cast<UINT>(message->wParam));
        }
        return ControlHost::PreTranslateMessage(message);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_ACTIVATE) activations.push_back(LOWORD(wParam));
        if (message == WM_PAINT) {
            CPaintDC dc(this);
            CRect client;
            GetClientRect(&client);
            dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
            return 0;
        }
        return ControlHost::WindowProc(message, wParam, lParam);
    }

    std::vector<UINT> keys;
    std::vector<UINT> activations;
};

// A window that counts the stylus messages it gets, as a tree acting on releases would see them.
class StylusCounter : public CWnd {
  public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) ++stylusMessages;
        return CWnd::WindowProc(message, wParam, lParam);
    }
    int stylusMessages = 0;
};

class ComboBoxTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        ASSERT_TRUE(host.CreateHost(RECT{0, 0, 480, 640}));
        closedHeight = platform::ComboBoxClosedHeight();
        rowHeight = platform::ComboListRowHeight();
    }

    // A combo box in the host at (left, top), reaching `reach` pixels down from its top.
    void MakeCombo(CWnd* parent, int left, int top, int reach, int entries, DWORD extraStyle = 0) {
        ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | extraStyle,
                                 CRect(left, top, left + 200, top + reach), parent, kComboId));
        for (int entry = 0; entry < entries; ++entry) {
            combo.AddString((L"entry " + std::to_wstring(entry)).c_str());
        }
        Pump();
    }

    static void Tap(POINT down, POINT up) { ::Tap(down, up); }
    void Tap(POINT at) { Tap(at, at); }
    void Key(UINT key) {
        platform::input::KeyDown(key);
        platform::input::KeyUp(key);
        Pump();
    }
    void AltKey(UINT key) {
        platform::input::KeyDown(VK_MENU);
        platform::input::KeyDown(key);
        platform::input::KeyUp(key);
        platform::input::KeyUp(VK_MENU);
        Pump();
    }

    // A point of the closed box in screen coordinates, (x, y) from its top-left corner.
    POINT OnBox(int x, int y) const { return PointOn(combo.m_hWnd, x, y); }
    // The dropped list's rectangle on the screen, empty when no list is there.
    CRect ListRect() const {
        CRect box;
        combo.GetWindowRect(&box);
        for (HWND child = ::GetWindow(host.m_hWnd, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (CWnd::FromHandle(child) != nullptr &&
                CWnd::FromHandle(child)->IsKindOf(RUNTIME_CLASS(CComboDropList))) {
                CRect rect;
                ::GetWindowRect(child, &rect);
                return rect;
            }
        }
        return CRect();
    }
    // The middle of entry row `row` (0: the top row shown) of the open list, on the screen.
    POINT ListRow(int row, int x = 100) const {
        const CRect list = ListRect();
        return POINT{list.left + x, list.top + 1 + row * rowHeight + rowHeight / 2};
    }
    COLORREF Shown(POINT screen) const {
        return platform::ReadWindowPixel(host.m_hWnd, screen.x, screen.y);
    }

    DialogHost host;
    CComboBox combo;
    int closedHeight = 0;
    int rowHeight = 0;
};

TEST_F(ComboBoxTest, TheClosedBoxHasThePlatformsHeightWhateverIsAskedAndScalesWithTheDisplay) {
    CComboBox tiny;
    CComboBox tall;
    ASSERT_TRUE(tiny.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 3), &host, 1));
    ASSERT_TRUE(tall.Create(WS_CHILD | WS_VISIBLE, CRect(0, 100, 100, 500), &host, 2));
    CRect rect;
    tiny.GetWindowRect(&rect);
    EXPECT_EQ(rect.Height(), closedHeight);
    tall.GetWindowRect(&rect);
    EXPECT_EQ(rect.Height(), closedHeight);
    EXPECT_GE(rowHeight, closedHeight) << "list rows are never lower than the box";

    // Twice the density: the padding doubles (the default font is made once, at the density the
    // process first sees).
    tiny.DestroyWindow();
    tall.DestroyWindow();
    host.DestroyWindow();
    backend = &platform::InstallHeadlessBackend(platform::DisplayInfo{960, 1280, 192});
    const int dense = platform::ComboBoxClosedHeight();
    EXPECT_EQ(dense - closedHeight, 10);
    EXPECT_GE(platform::ComboListRowHeight(), 64) << "a finger's size at the density";
}

TEST_F(ComboBoxTest, EntriesSelectionAndPrefixSearchIgnoringCaseFromAnIndexAndWrapping) {
    MakeCombo(&host, 10, 10, 200, 0);
    EXPECT_EQ(combo.SelectString(-1, L"a"), CB_ERR) << "an empty list finds nothing";
    EXPECT_EQ(combo.AddString(L"Zebra"), 0);
    EXPECT_EQ(combo.AddString(L"apple"), 1) << "unsorted: in the order added";
    EXPECT_EQ(combo.AddString(L"Apricot"), 2);
    EXPECT_EQ(combo.AddString(L"Ёлка"), 3);
    EXPECT_EQ(combo.AddString(L""), 4);
    EXPECT_EQ(combo.GetCount(), 5);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    EXPECT_EQ(combo.GetWindowText(), L"");

    EXPECT_EQ(combo.SelectString(-1, L"AP"), 1);
    EXPECT_EQ(combo.GetWindowText(), L"apple");
    EXPECT_EQ(combo.SelectString(1, L"ap"), 2) << "the search starts after the given index";
    EXPECT_EQ(combo.SelectString(2, L"ap"), 1) << "and wraps round to the top";
    EXPECT_EQ(combo.SelectString(0, L"z"), 0) << "wrapping round to the start index itself";
    EXPECT_EQ(combo.SelectString(99, L"apr"), 2) << "an index past the end searches from the top";
    EXPECT_EQ(combo.SelectString(-1, L"ёЛ"), 3) << "case folds beyond ASCII";
    EXPECT_EQ(combo.SelectString(-1, L"applesauce"), CB_ERR) << "longer than the entry";
    EXPECT_EQ(combo.GetCurSel(), 3) << "a failed search keeps the selection";
    EXPECT_EQ(combo.SelectString(3, L""), 4) << "an empty prefix matches the next entry";

    std::wstring text;
    combo.GetLBText(2, text);
    EXPECT_EQ(text, L"Apricot");
    EXPECT_EQ(combo.GetLBTextLen(2), 7);
    EXPECT_EQ(combo.GetLBTextLen(5), CB_ERR);
    EXPECT_EQ(combo.GetLBTextLen(-1), CB_ERR);
    wchar_t buffer[16] = {};
    EXPECT_EQ(::SendMessage(combo.m_hWnd, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 5);
    EXPECT_EQ(std::wstring(buffer), L"Zebra");
    EXPECT_EQ(::SendMessage(combo.m_hWnd, CB_GETLBTEXT, 5, reinterpret_cast<LPARAM>(buffer)),
              CB_ERR);

    EXPECT_EQ(combo.SetCurSel(0), 0);
    EXPECT_EQ(combo.GetWindowText(), L"Zebra");
    EXPECT_EQ(combo.SetCurSel(5), CB_ERR) << "out of range clears the selection";
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    EXPECT_EQ(combo.GetWindowText(), L"");
    combo.SetCurSel(1);
    combo.ResetContent();
    EXPECT_EQ(combo.GetCount(), 0);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    EXPECT_EQ(combo.GetWindowText(), L"");
    EXPECT_TRUE(host.notifications.empty()) << "changes made by the program are not notified";
}

TEST_F(ComboBoxTest, TheClosedBoxShowsTheSelectionFocusedHighlightedAndDisabledGreyed) {
    MakeCombo(&host, 10, 10, 200, 3);
    combo.SetCurSel(1);
    Pump();
    const POINT field = OnBox(140, closedHeight / 2);
    const POINT arrowButton = OnBox(200 - 3, 3);
    EXPECT_EQ(Shown(field), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(Shown(arrowButton), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(Shown(OnBox(0, 0)), GetSysColor(COLOR_BTNSHADOW)) << "the frame";

    combo.SetFocus();
    Pump();
    EXPECT_EQ(Shown(field), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(Shown(arrowButton), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(host.notifications, Log{Note(CBN_SETFOCUS)});

    combo.EnableWindow(FALSE);
    Pump();
    EXPECT_EQ(Shown(field), GetSysColor(COLOR_BTNFACE)) << "disabled: greyed, not highlighted";
    EXPECT_EQ(combo.GetDroppedState(), FALSE);
    Tap(OnBox(50, 5));
    EXPECT_EQ(combo.GetDroppedState(), FALSE) << "a disabled box does not open";
    combo.ShowDropDown(TRUE);
    EXPECT_EQ(combo.GetDroppedState(), FALSE);
}

TEST_F(ComboBoxTest, TheListReachesPastTheBoxsParentInsideTheTopLevelWindow) {
    // A small panel with the box near its bottom, as the editor's tree with a row near its end.
    CWnd panel;
    ASSERT_TRUE(panel.CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, 20, 20, 300,
                               100, host.m_hWnd, nullptr));
    MakeCombo(&panel, 10, 60, 5 * closedHeight, 8);
    CButton below;
    ASSERT_TRUE(below.Create(L"below", WS_CHILD | WS_VISIBLE, CRect(20, 130, 320, 400), &host, 9));
    combo.SetCurSel(2);
    Pump();
    const POINT third{100, 20 + 60 + closedHeight + 2 * rowHeight + rowHeight / 2};
    ASSERT_GT(third.y, 120) << "the test point lies below the panel";
    const COLORREF before = Shown(third);

    Tap(OnBox(50, 5));
    ASSERT_EQ(combo.GetDroppedState(), TRUE);
    const CRect list = ListRect();
    CRect box;
    combo.GetWindowRect(&box);
    EXPECT_EQ(list.top, box.bottom) << "under the box";
    EXPECT_EQ(list.left, box.left);
    EXPECT_EQ(list.Width(), box.Width());
    const int rows = (5 * closedHeight - closedHeight - 2) / rowHeight;
    EXPECT_EQ(list.Height(), rows * rowHeight + 2) << "whole rows within the caller's reach";
    EXPECT_GT(list.bottom, 120) << "past the panel's bottom";

    // The selected entry's row, below the panel and over the button, shows highlighted.
    EXPECT_NE(before, GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(Shown(third), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(Shown(ListRow(0, 150)), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(Shown(POINT{list.left, list.bottom - 1}), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(::WindowFromPoint(third), ::WindowFromPoint(ListRow(0)));

    // The button repainting does not cover the list.
    below.Invalidate();
    Pump();
    EXPECT_EQ(Shown(third), GetSysColor(COLOR_HIGHLIGHT));
    host.Invalidate();
    Pump();
    EXPECT_EQ(Shown(third), GetSysColor(COLOR_HIGHLIGHT)) << "nor does the dialog's";
}

TEST_F(ComboBoxTest, TheListOpensUpwardWhereThereIsNoRoomBelowAndStaysInsideTheWindow) {
    MakeCombo(&host, 10, 640 - closedHeight - 10, 6 * rowHeight, 3);
    combo.ShowDropDown(TRUE);
    Pump();
    CRect box;
    combo.GetWindowRect(&box);
    CRect list = ListRect();
    EXPECT_EQ(list.bottom, box.top) << "above the box";
    EXPECT_EQ(list.Height(), 3 * rowHeight + 2) << "as many rows as entries";
    combo.ShowDropDown(FALSE);
    Pump();
    EXPECT_TRUE(ListRect().IsRectEmpty());
    EXPECT_EQ(Shown(POINT{100, box.top - rowHeight}), Shown(POINT{100, 20}))
        << "the list's pixels are gone with it";

    // Exactly room enough below for the three rows and the frame: down; a pixel less: up.
    for (const int spare : {0, 1}) {
        combo.DestroyWindow();
        const int top = 640 - 3 * rowHeight - 2 - closedHeight + spare;
        MakeCombo(&host, 10, top, 6 * rowHeight, 3);
        ASSERT_EQ(combo.GetCount(), 3) << "a box created again starts empty";
        combo.ShowDropDown(TRUE);
        Pump();
        list = ListRect();
        EXPECT_EQ(list.top, spare == 0 ? top + closedHeight : top - list.Height()) << spare;
        EXPECT_EQ(list.Height(), 3 * rowHeight + 2);
    }

    // A box wider than the window's right edge: the list is moved left into the window.
    combo.DestroyWindow();
    MakeCombo(&host, 400, 100, 4 * rowHeight, 2);
    combo.ShowDropDown(TRUE);
    Pump();
    list = ListRect();
    EXPECT_EQ(list.right, 480);
    EXPECT_EQ(list.top, 100 + closedHeight);

    // A very long reach in a middle position: limited by the window's bottom, whole rows.
    combo.DestroyWindow();
    MakeCombo(&host, 10, 300, 2000, 50);
    combo.ShowDropDown(TRUE);
    Pump();
    list = ListRect();
    EXPECT_LE(list.bottom, 640);
    EXPECT_EQ(list.top, 300 + closedHeight);
    EXPECT_EQ((list.Height() - 2) % rowHeight, 0);
    EXPECT_EQ((list.Height() - 2) / rowHeight, (640 - 300 - closedHeight - 2) / rowHeight);
}

TEST_F(ComboBoxTest, TapsOpenChooseAndCloseAndATapOutsideReachesNothingBeneath) {
    CButton other;
    ASSERT_TRUE(other.Create(L"other", WS_CHILD | WS_VISIBLE, CRect(250, 400, 450, 500), &host, 9));
    MakeCombo(&host, 10, 10, 6 * rowHeight, 4);
    combo.SetCurSel(0);

    Tap(OnBox(50, 5));
    EXPECT_EQ(combo.GetDroppedState(), TRUE);
    EXPECT_EQ(CWnd::GetFocus(), &combo) << "the box takes the focus";
    EXPECT_EQ(host.notifications, (Log{Note(CBN_SETFOCUS), Note(CBN_DROPDOWN)}));
    EXPECT_EQ(Shown(OnBox(140, closedHeight / 2)), GetSysColor(COLOR_HIGHLIGHT));

    // A tap on an entry chooses it.
    host.notifications.clear();
    Tap(ListRow(2));
    EXPECT_EQ(combo.GetDroppedState(), FALSE);
    EXPECT_EQ(combo.GetCurSel(), 2);
    EXPECT_EQ(combo.GetWindowText(), L"entry 2");
    EXPECT_EQ(host.notifications,
              (Log{Note(CBN_SELCHANGE), Note(CBN_SELENDOK), Note(CBN_CLOSEUP)}));

    // Choosing the entry already selected: no change to tell.
    Tap(OnBox(50, 5));
    host.notifications.clear();
    Tap(ListRow(2));
    EXPECT_EQ(host.notifications, (Log{Note(CBN_SELENDOK), Note(CBN_CLOSEUP)}));

    // A tap on the box again closes it without a choice.
    Tap(OnBox(50, 5));
    host.notifications.clear();
    Tap(OnBox(190, 5));
    EXPECT_EQ(combo.GetDroppedState(), FALSE);
    EXPECT_EQ(host.notifications, (Log{Note(CBN_SELENDCANCEL), Note(CBN_CLOSEUP)}));
    EXPECT_EQ(combo.GetCurSel(), 2);

    // A tap outside the list closes it, and the button beneath the tap is not clicked.
    Tap(OnBox(50, 5));
    host.notifications.clear();
    Tap(POINT{300, 450});
    EXPECT_EQ(combo.GetDroppedState(), FALSE);
    EXPECT_EQ(host.notifications, (Log{Note(CBN_SELENDCANCEL), Note(CBN_CLOSEUP)}));
    EXPECT_EQ(CWnd::GetFocus(), &combo);
    Tap(POINT{300, 450});
    EXPECT_EQ(host.notifications.back(), "command 9 0") << "the next tap is the button's again";

    // Neither the press nor the release of that tap reaches a window that acts on releases.
    StylusCounter counter;
    ASSERT_TRUE(counter.CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, 20, 520,
                                 200, 100, host.m_hWnd, nullptr));
    Tap(OnBox(50, 5));
    ASSERT_EQ(combo.GetDroppedState(), TRUE);
    Tap(POINT{100, 560});
    EXPECT_EQ(combo.GetDroppedState(), FALSE);
    EXPECT_EQ(counter.stylusMessages, 0);
    Tap(POINT{100, 560});
    EXPECT_EQ(counter.stylusMessages, 2);

    // Press on the box, slide into the list and release on an entry: that entry is chosen.
    host.notifications.clear();
    platform::input::StylusDown(OnBox(50, 5));
    Pump();
    platform::input::StylusMove(ListRow(1));
    Pump();
    EXPECT_EQ(Shown(ListRow(1, 150)), GetSysColor(COLOR_HIGHLIGHT)) << "the entry under the finger";
    platform::input::StylusUp(ListRow(1));
    Pump();
    EXPECT_EQ(combo.GetCurSel(), 1);
    EXPECT_EQ(host.notifications, (Log{Note(CBN_DROPDOWN), Note(CBN_SELCHANGE), Note(CBN_SELENDOK),
                                       Note(CBN_CLOSEUP)}));
}

TEST_F(ComboBoxTest, ALongListScrollsWithADragAndGlidesOnAfterAFlick) {
    MakeCombo(&host, 10, 10, 5 * rowHeight, 40);
    combo.SetCurSel(0);
    Tap(OnBox(50, 5));
    ASSERT_EQ(combo.GetDroppedState(), TRUE);
    const CRect list = ListRect();
    const int visibleRows = (list.Height() - 2) / rowHeight;
    ASSERT_LT(visibleRows, 40);
    EXPECT_EQ(Shown(ListRow(0, 150)), GetSysColor(COLOR_HIGHLIGHT));
    // The scroll indication at the right edge shows the top of the entries.
    EXPECT_EQ(Shown(POINT{list.right - 2, list.top + 2}), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(Shown(POINT{list.right - 2, list.bottom - 3}), GetSysColor(COLOR_WINDOW));

    // A slow drag up by two rows scrolls the entries with the finger; its release chooses nothing.
    host.notifications.clear();
    platform::input::StylusDown(ListRow(2));
    Pump();
    for (int step = 1; step <= 4; ++step) {
        Advance(200);
        platform::input::StylusMove(POINT{ListRow(2).x, ListRow(2).y - step * rowHeight / 2});
        Pump();
    }
    Advance(300);
    platform::input::StylusUp(POINT{ListRow(2).x, ListRow(2).y - 2 * rowHeight});
    Pump();
    EXPECT_EQ(combo.GetDroppedState(), TRUE);
    EXPECT_TRUE(host.notifications.empty());
    EXPECT_EQ(Shown(ListRow(0, 150)), GetSysColor(COLOR_WINDOW)) << "entry 0 scrolled out";
    EXPECT_EQ(Shown(POINT{list.right - 2, list.top + 2}), GetSysColor(COLOR_WINDOW))
        << "the indication moved down";

    // A tap now chooses the entry shown in that row: entry 2 + 1 in row 1.
    Tap(ListRow(1));
    EXPECT_EQ(combo.GetCurSel(), 3);

    // Dragging past the end stops at the last entry; a quick flick glides on with the clock.
    Tap(OnBox(50, 5));
    platform::input::StylusDown(ListRow(visibleRows - 1));
    Pump();
    Advance(10);
    platform::input::StylusMove(POINT{ListRow(0).x, ListRow(0).y - 2});
    Pump();
    Advance(10);
    platform::input::StylusUp(POINT{ListRow(0).x, ListRow(0).y - 2});
    Pump();
    for (int tick = 0; tick < 200; ++tick) {
        Advance(20);
        Pump();
    }
    host.notifications.clear();
    Tap(ListRow(visibleRows - 1));
    EXPECT_EQ(combo.GetCurSel(), 39) << "glided to the end of the list";

    // Down in the open list scrolls the highlight into view.
    Tap(OnBox(50, 5));
    combo.SetCurSel(0);
    Pump();
    for (int key = 0; key < visibleRows + 2; ++key) Key(VK_DOWN);
    EXPECT_EQ(Shown(ListRow(visibleRows - 1, 150)), GetSysColor(COLOR_HIGHLIGHT));
    Key(VK_RETURN);
    EXPECT_EQ(combo.GetCurSel(), visibleRows + 2);
}

TEST_F(ComboBoxTest, KeysStepTheClosedBoxAndWorkTheOpenListWithoutReachingTheDialog) {
    MakeCombo(&host, 10, 10, 6 * rowHeight, 4);
    combo.SetFocus();
    Pump();
    host.notifications.clear();

    // Closed: Down from no selection takes the first entry, and stops at the ends quietly.
    Key(VK_DOWN);
    EXPECT_EQ(combo.GetCurSel(), 0);
    Key(VK_UP);
    EXPECT_EQ(combo.GetCurSel(), 0);
    for (int key = 0; key < 5; ++key) Key(VK_DOWN);
    EXPECT_EQ(combo.GetCurSel(), 3);
    EXPECT_EQ(combo.GetWindowText(), L"entry 3");
    EXPECT_EQ(host.notifications, Log(4, Note(CBN_SELCHANGE)));
    Key(VK_UP);
    EXPECT_EQ(combo.GetCurSel(), 2);

    // F4 opens; Up and Down move the highlight only; Enter chooses.
    host.notifications.clear();
    host.keys.clear();
    Key(VK_F4);
    EXPECT_EQ(combo.GetDroppedState(), TRUE);
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(combo.GetCurSel(), 2) << "moving in the list is no choice yet";
    EXPECT_EQ(Shown(ListRow(3, 150)), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(Shown(ListRow(2, 150)), GetSysColor(COLOR_WINDOW));
    Key(VK_RETURN);
    EXPECT_EQ(combo.GetDroppedState(), FALSE);
    EXPECT_EQ(combo.GetCurSel(), 3);
    EXPECT_EQ(host.notifications, (Log{Note(CBN_DROPDOWN), Note(CBN_SELCHANGE), Note(CBN_SELENDOK),
                                       Note(CBN_CLOSEUP)}));
    EXPECT_TRUE(host.keys.empty()) << "Enter in the open list is not the dialog's";

    // Alt+Down opens; Escape closes without choosing and does not reach the dialog.
    host.notifications.clear();
    AltKey(VK_DOWN);
    EXPECT_EQ(combo.GetDroppedState(), TRUE);
    Key(VK_UP);
    Key(VK_ESCAPE);
    EXPECT_EQ(combo.GetDroppedState(), FALSE);
    EXPECT_EQ(combo.GetCurSel(), 3);
    EXPECT_EQ(host.notifications,
              (Log{Note(CBN_DROPDOWN), Note(CBN_SELENDCANCEL), Note(CBN_CLOSEUP)}));
    EXPECT_TRUE(host.keys.empty());

    // F4 and Alt+Up close it again, keeping the highlighted entry.
    Key(VK_F4);
    Key(VK_UP);
    Key(VK_F4);
    EXPECT_EQ(combo.GetDroppedState(), FALSE);
    EXPECT_EQ(combo.GetCurSel(), 2);
    AltKey(VK_DOWN);
    AltKey(VK_UP);
    EXPECT_EQ(combo.GetDroppedState(), FALSE);

    // Closed: Enter and Escape pass on to the dialog.
    Key(VK_RETURN);
    Key(VK_ESCAPE);
    EXPECT_EQ(host.keys, (std::vector<UINT>{VK_RETURN, VK_ESCAPE}));

    // Keys queued faster than they are handled act in order: open, two down, choose, and an
    // Escape after the list closed is the dialog's again.
    host.keys.clear();
    host.notifications.clear();
    for (const UINT key : {VK_F4, VK_DOWN, VK_DOWN, VK_RETURN, VK_ESCAPE}) {
        platform::input::KeyDown(key);
        platform::input::KeyUp(key);
    }
    Pump();
    EXPECT_EQ(combo.GetCurSel(), 3) << "stopped at the last entry";
    EXPECT_EQ(host.keys, std::vector<UINT>{VK_ESCAPE});
    EXPECT_EQ(host.notifications, (Log{Note(CBN_DROPDOWN), Note(CBN_SELCHANGE), Note(CBN_SELENDOK),
                                       Note(CBN_CLOSEUP)}));
}

TEST_F(ComboBoxTest, TheOpenListFollowsEntriesChangedUnderIt) {
    MakeCombo(&host, 10, 10, 6 * rowHeight, 3);
    combo.SetCurSel(2);
    combo.SetFocus();
    combo.ShowDropDown(TRUE);
    Pump();
    EXPECT_EQ(Shown(ListRow(2, 150)), GetSysColor(COLOR_HIGHLIGHT));
    combo.ResetContent();
    Pump();
    EXPECT_EQ(Shown(ListRow(2, 150)), GetSysColor(COLOR_WINDOW)) << "no entry is highlighted";
    combo.AddString(L"new");
    Pump();
    Key(VK_DOWN);
    EXPECT_EQ(Shown(ListRow(0, 150)), GetSysColor(COLOR_HIGHLIGHT));
    // A tap on the empty rows below the only entry chooses nothing and leaves the list open.
    Tap(ListRow(2));
    EXPECT_EQ(combo.GetDroppedState(), TRUE);
    Key(VK_RETURN);
    EXPECT_EQ(combo.GetCurSel(), 0);
    EXPECT_EQ(combo.GetWindowText(), L"new");
}

TEST_F(ComboBoxTest, LosingTheFocusClosesTheListAndOpeningItLeavesTheDialogActive) {
    CButton other;
    ASSERT_TRUE(other.Create(L"other", WS_CHILD | WS_VISIBLE, CRect(250, 400, 450, 500), &host, 9));
    MakeCombo(&host, 10, 10, 6 * rowHeight, 4);
    ::SetActiveWindow(host.m_hWnd);
    Pump();
    host.activations.clear();

    Tap(OnBox(50, 5));
    ASSERT_EQ(combo.GetDroppedState(), TRUE);
    EXPECT_TRUE(host.activations.empty()) << "the dialog is not deactivated by the list";
    EXPECT_EQ(::GetActiveWindow(), host.m_hWnd);
    EXPECT_EQ(CWnd::GetFocus(), &combo) << "the box keeps the focus while the list is open";

    host.notifications.clear();
    other.SetFocus();
    Pump();
    EXPECT_EQ(combo.GetDroppedState(), FALSE);
    EXPECT_TRUE(ListRect().IsRectEmpty());
    EXPECT_EQ(host.notifications,
              (Log{Note(CBN_SELENDCANCEL), Note(CBN_CLOSEUP), Note(CBN_KILLFOCUS)}));
    EXPECT_TRUE(host.activations.empty());

    // Whatever takes the list from the user closes it without a choice: another window taking
    // the stylus (a message box, say), the box disabled or hidden.
    Tap(OnBox(50, 5));
    host.notifications.clear();
    host.SetCapture();
    Pump();
    ::ReleaseCapture();
    EXPECT_EQ(combo.GetDroppedState(), FALSE);
    EXPECT_EQ(host.notifications, (Log{Note(CBN_SELENDCANCEL), Note(CBN_CLOSEUP)}));
    Tap(OnBox(50, 5));
    combo.EnableWindow(FALSE);
    Pump();
    EXPECT_EQ(combo.GetDroppedState(), FALSE);
    EXPECT_TRUE(ListRect().IsRectEmpty());
    combo.EnableWindow(TRUE);
    other.SetFocus();
    combo.ShowDropDown(TRUE);  // opened by the program: the box has no focus to lose
    ASSERT_EQ(combo.GetDroppedState(), TRUE);
    combo.ShowWindow(SW_HIDE);
    Pump();
    EXPECT_EQ(combo.GetDroppedState(), FALSE);
    EXPECT_TRUE(ListRect().IsRectEmpty());
    combo.ShowWindow(SW_SHOW);
    Pump();

    // A box destroyed with its list open takes the list with it.
    Tap(OnBox(50, 5));
    ASSERT_FALSE(ListRect().IsRectEmpty());
    combo.DestroyWindow();
    Pump();
    EXPECT_TRUE(ListRect().IsRectEmpty());
}

}  // namespace

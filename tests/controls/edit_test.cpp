// The edit box as the keys, the stylus and the clipboard use it: the text, the caret and the
// selection the user sees, and what the parent hears.
#include <algorithm>
#include <memory>
#include <string>

#include "controls/control_host.h"
#include "platform/controls/control_drawing.h"
#include "platform/controls/edit.h"
#include "platform/graphics/system_colors.h"
#include "support/headless_fixture.h"

namespace {

constexpr int kPadding = 3;  // between the frame and the text, at 96 dots per inch
const std::string kChanged = "command 7 " + std::to_string(EN_CHANGE);

// Counts its own paints: typing must not repaint what lies around the box.
class PaintCountingHost : public ControlHost {
  public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_PAINT) ++paints;
        return ControlHost::WindowProc(message, wParam, lParam);
    }
    int paints = 0;
};

// Writes down the keys the box leaves to the default processing.
class KeyPassingEdit : public CEdit {
  public:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_KEYDOWN) passedKeys.push_back(static_cast<UINT>(wParam));
        return CEdit::DefWindowProc(message, wParam, lParam);
    }
    std::vector<UINT> passedKeys;
};

// Ends the box's life from inside its own notification, as an in-place editor's owner does when
// the edit is over.
class ClosingHost : public ControlHost {
  public:
    std::unique_ptr<CEdit> edit;
    UINT closeOn = EN_KILLFOCUS;

  protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        ControlHost::OnCommand(wParam, lParam);
        if (edit != nullptr && HIWORD(wParam) == closeOn) {
            edit->DestroyWindow();
            edit.reset();
        }
        return TRUE;
    }
};

class EditTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        ASSERT_TRUE(host.CreateHost(RECT{40, 60, 440, 260}));
    }
    // The box's client area is `width` - 2 pixels wide (the border takes one on each side).
    void CreateEdit(DWORD style, int width = 200, const wchar_t* text = L"") {
        ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | style,
                                CRect(20, 20, 20 + width, 60), &host, 7));
        edit.SetWindowText(text);
        edit.SetFocus();
        Pump();
        host.notifications.clear();
    }

    void Type(std::wstring_view text) {
        for (wchar_t character : text) platform::input::Character(character);
        Pump();
    }
    void Press(UINT key, UINT modifier = 0) {
        if (modifier != 0) platform::input::KeyDown(modifier);
        platform::input::KeyDown(key);
        platform::input::KeyUp(key);
        if (modifier != 0) platform::input::KeyUp(modifier);
        Pump();
    }
    void PressTimes(UINT key, int times) {
        for (int press = 0; press < times; ++press) Press(key);
    }
    POINT OnScreen(int x) const {
        POINT point{x, 19};
        edit.ClientToScreen(&point);
        return point;
    }
    // A tap, or a drag from `x` to `toX`, at client x positions of the box.
    void Tap(int x, int toX = -1) {
        platform::input::StylusDown(OnScreen(x));
        if (toX >= 0) platform::input::StylusMove(OnScreen(toX));
        platform::input::StylusUp(OnScreen(toX >= 0 ? toX : x));
        Pump();
    }

    std::pair<int, int> Selection() const {
        int start = 0;
        int end = 0;
        edit.GetSel(start, end);
        return {start, end};
    }
    int Changes() const {
        return static_cast<int>(std::ranges::count(host.notifications, kChanged));
    }
    int Width(std::wstring_view text) const {
        HDC dc = ::GetDC(nullptr);
        HGDIOBJ previous = ::SelectObject(dc, platform::ControlFont(edit.m_hWnd));
        SIZE size{};
        ::GetTextExtentPoint32(dc, text.data(), static_cast<int>(text.size()), &size);
        ::SelectObject(dc, previous);
        ::ReleaseDC(nullptr, dc);
        return size.cx;
    }
    std::vector<COLORREF> Pixels() const { return platform::ReadWindowPixels(edit.m_hWnd); }
    // Columns that hold a caret: text-coloured over at least a whole line of the font.
    std::vector<int> CaretColumns() const {
        CRect client;
        edit.GetClientRect(&client);
        HDC dc = ::GetDC(nullptr);
        HGDIOBJ previous = ::SelectObject(dc, platform::ControlFont(edit.m_hWnd));
        TEXTMETRIC metrics{};
        ::GetTextMetrics(dc, &metrics);
        ::SelectObject(dc, previous);
        ::ReleaseDC(nullptr, dc);
        const std::vector<COLORREF> pixels = Pixels();
        std::vector<int> columns;
        for (int x = 0; x < client.Width(); ++x) {
            int run = 0;
            int longest = 0;
            for (int y = 0; y < client.Height(); ++y) {
                const bool ink = pixels[static_cast<std::size_t>(y * client.Width() + x)] ==
                                 GetSysColor(COLOR_WINDOWTEXT);
                run = ink ? run + 1 : 0;
                longest = std::max(longest, run);
            }
            if (longest >= std::min<int>(metrics.tmHeight, client.Height())) columns.push_back(x);
        }
        return columns;
    }
    std::vector<int> CaretAt(std::wstring_view before) const { return {kPadding + Width(before)}; }

    PaintCountingHost host;
    CEdit edit;
};

TEST_F(EditTest, TypingInsertsAtTheCaretWithOneChangeEachAndControlCharactersAreNotText) {
    CreateEdit(ES_AUTOHSCROLL);
    Type(L"Привет");
    EXPECT_EQ(edit.GetWindowText(), L"Привет");
    EXPECT_EQ(Changes(), 6);
    EXPECT_EQ(Selection(), std::make_pair(6, 6));
    EXPECT_EQ(CaretColumns(), CaretAt(L"Привет"));
    Press(VK_HOME);
    Type(L"a😀");
    EXPECT_EQ(edit.GetWindowText(), L"a😀Привет");
    EXPECT_EQ(::GetWindowTextLength(edit.m_hWnd), 8);
    EXPECT_EQ(CaretColumns(), CaretAt(L"a😀"));

    host.notifications.clear();
    Type(L"\b\r\x1b\t\x7f");
    EXPECT_EQ(edit.GetWindowText(), L"a😀Привет");
    EXPECT_TRUE(host.notifications.empty());

    // Fast input: everything queued before the box handles any of it arrives in order.
    Press(VK_END);
    Type(std::wstring(500, L'x'));
    EXPECT_EQ(edit.GetWindowText().size(), 508u);
    EXPECT_EQ(Changes(), 500);
}

TEST_F(EditTest, TheCaretGoesToTheNearestBoundaryOfATapAndMovesWithTheKeys) {
    CreateEdit(ES_AUTOHSCROLL, 200, L"abcdef");
    CFont big;
    LOGFONT large{};
    large.lfHeight = 30;  // a user's bigger font moves every boundary
    ASSERT_TRUE(big.CreateFontIndirect(&large));
    edit.SetFont(&big);
    Pump();
    const int c = Width(L"c");
    Tap(kPadding + Width(L"ab") + c / 2 - 1);
    EXPECT_EQ(Selection(), std::make_pair(2, 2));
    Tap(kPadding + Width(L"ab") + c / 2 + 1);
    EXPECT_EQ(Selection(), std::make_pair(3, 3));
    EXPECT_EQ(CaretColumns(), CaretAt(L"abc"));
    // Exactly at a glyph's middle the caret goes after it.
    const std::wstring text = L"abcdef";
    int middles = 0;
    for (std::size_t index = 0; index < text.size(); ++index) {
        const int advance = Width(text.substr(index, 1));
        if (advance % 2 != 0) continue;
        ++middles;
        Tap(kPadding + Width(text.substr(0, index)) + advance / 2);
        EXPECT_EQ(Selection(),
                  std::make_pair(static_cast<int>(index) + 1, static_cast<int>(index) + 1))
            << "the middle of " << static_cast<char>(text[index]);
    }
    EXPECT_GT(middles, 0) << "a glyph of even width to tap the middle of";
    Tap(190);
    EXPECT_EQ(Selection(), std::make_pair(6, 6));
    Tap(0);
    EXPECT_EQ(Selection(), std::make_pair(0, 0));

    Press(VK_LEFT);
    EXPECT_EQ(Selection(), std::make_pair(0, 0));
    PressTimes(VK_RIGHT, 2);
    EXPECT_EQ(CaretColumns(), CaretAt(L"ab"));
    Press(VK_END);
    Press(VK_RIGHT);
    EXPECT_EQ(Selection(), std::make_pair(6, 6));
    Press(VK_HOME);
    EXPECT_EQ(CaretColumns(), CaretAt(L""));
    EXPECT_TRUE(host.notifications.empty()) << "moving the caret changes no text";
}

TEST_F(EditTest, ShiftAndADragSelectAndTheSelectionIsDrawnInTheHighlightColours) {
    CreateEdit(ES_AUTOHSCROLL, 200, L"abcdef");
    Press(VK_END);
    Press(VK_LEFT, VK_SHIFT);
    Press(VK_LEFT, VK_SHIFT);
    EXPECT_EQ(Selection(), std::make_pair(4, 6));
    const auto highlighted = [this] {
        return std::ranges::count(Pixels(), GetSysColor(COLOR_HIGHLIGHT));
    };
    EXPECT_GT(highlighted(), 0);
    Press(VK_LEFT);
    EXPECT_EQ(Selection(), std::make_pair(4, 4)) << "Left collapses to the selection's start";
    EXPECT_EQ(highlighted(), 0);
    Press(VK_HOME, VK_SHIFT);
    EXPECT_EQ(Selection(), std::make_pair(0, 4));
    Press(VK_RIGHT);
    EXPECT_EQ(Selection(), std::make_pair(4, 4)) << "Right collapses to its end";

    Tap(kPadding + Width(L"a") + 1, kPadding + Width(L"abcd") + 1);
    EXPECT_EQ(Selection(), std::make_pair(1, 4));
    Press('A', VK_CONTROL);
    EXPECT_EQ(Selection(), std::make_pair(0, 6));
    EXPECT_TRUE(host.notifications.empty());

    // Unfocused, the selection is hidden; ES_NOHIDESEL keeps it.
    host.SetFocus();
    Pump();
    EXPECT_EQ(highlighted(), 0);
    edit.ModifyStyle(0, ES_NOHIDESEL);
    edit.Invalidate();
    Pump();
    EXPECT_GT(highlighted(), 0);

    edit.SetFocus();
    Type(L"z");
    EXPECT_EQ(edit.GetWindowText(), L"z");
    EXPECT_EQ(Changes(), 1) << "typing over a selection is one change";
}

TEST_F(EditTest, BackspaceAndDeleteAtBothEndsAndOverASelection) {
    CreateEdit(ES_AUTOHSCROLL, 200, L"abcd");
    Press(VK_BACK);
    Press(VK_END);
    Press(VK_DELETE);
    EXPECT_EQ(edit.GetWindowText(), L"abcd");
    EXPECT_EQ(Changes(), 0) << "nothing to delete: no change";
    Press(VK_BACK);
    Press(VK_HOME);
    Press(VK_DELETE);
    EXPECT_EQ(edit.GetWindowText(), L"bc");
    EXPECT_EQ(Changes(), 2);
    edit.SetSel(0, -1);
    Press(VK_DELETE);
    EXPECT_EQ(edit.GetWindowText(), L"");
    EXPECT_EQ(Changes(), 3);
    // Typing the selected character again over itself changes nothing.
    edit.SetWindowText(L"b");
    edit.SetSel(0, 1);
    Type(L"b");
    EXPECT_EQ(Changes(), 4) << "one for SetWindowText, none for the same text";
    edit.SetWindowText(L"b");
    EXPECT_EQ(Changes(), 5) << "SetWindowText always tells, even with the same text";
}

TEST_F(EditTest, WithAutoScrollTheCaretStaysInViewAndHomeBringsTheStartBack) {
    CreateEdit(ES_AUTOHSCROLL, 80);
    const std::wstring digits = L"0123456789012345678901234567890123456789";
    const int areaRight = 78 - kPadding;
    for (wchar_t digit : digits) {
        Type(std::wstring(1, digit));
        const std::vector<int> caret = CaretColumns();
        ASSERT_EQ(caret.size(), 1u) << "after " << edit.GetWindowText().size();
        EXPECT_LT(caret[0], areaRight);
    }
    EXPECT_EQ(CaretColumns(), std::vector<int>{areaRight - 1}) << "scrolled only as needed";
    const std::vector<COLORREF> scrolled = Pixels();
    for (std::size_t at = 0; at < scrolled.size(); ++at) {
        if (at % 78 < kPadding) {
            ASSERT_EQ(scrolled[at], GetSysColor(COLOR_WINDOW)) << "text scrolled into the padding";
        }
    }

    Press(VK_HOME);
    EXPECT_EQ(CaretColumns(), CaretAt(L""));
    const std::vector<COLORREF> atStart = Pixels();
    Press(VK_END);
    EXPECT_NE(Pixels(), atStart);
    // Deleting from the end scrolls back until the text starts at the padding again.
    PressTimes(VK_BACK, 36);
    EXPECT_EQ(CaretColumns(), CaretAt(L"0123"));
    edit.SetWindowText(digits.c_str());
    Pump();
    EXPECT_EQ(Pixels(), atStart) << "new text shows from its start, caret first";
}

TEST_F(EditTest, WithoutAutoScrollTypingAndPastingStopAtTheRightEdge) {
    // A box with room for exactly six eights and the caret after them.
    CreateEdit(0, 2 + 2 * kPadding + 1 + 6 * Width(L"8"));
    Type(L"88888888");
    EXPECT_EQ(edit.GetWindowText(), L"888888");
    EXPECT_EQ(Changes(), 6) << "refused characters change nothing";
    const std::vector<COLORREF> full = Pixels();
    Press(VK_HOME);
    Press(VK_END);
    EXPECT_EQ(Pixels(), full) << "the text never scrolls";

    PressTimes(VK_BACK, 2);
    backend->clipboard = L"88888888";
    Press('V', VK_CONTROL);
    EXPECT_EQ(edit.GetWindowText(), L"888888") << "a paste is cut at the edge";
}

TEST_F(EditTest, NumberBoxesRefuseAnythingButDigitsFromTypingAndPasting) {
    CreateEdit(ES_NUMBER | ES_AUTOHSCROLL);
    // The characters on either side of the digits, and digits of other scripts, are refused.
    Type(L"1a2-٣ /0:9");
    EXPECT_EQ(edit.GetWindowText(), L"1209");
    EXPECT_EQ(Changes(), 4);
    backend->clipboard = L"5x";
    Press('V', VK_CONTROL);
    EXPECT_EQ(edit.GetWindowText(), L"1209");
    backend->clipboard = L"34\r\nabc";
    Press(VK_INSERT, VK_SHIFT);
    EXPECT_EQ(edit.GetWindowText(), L"120934") << "the first line only";
    EXPECT_EQ(Changes(), 5);
}

TEST_F(EditTest, CutCopyAndPasteGoThroughTheClipboardWithTheUsualKeysAndMessages) {
    CreateEdit(ES_AUTOHSCROLL, 200, L"hello world");
    backend->clipboard = L"kept";
    Press('C', VK_CONTROL);
    Press('X', VK_CONTROL);
    edit.SendMessage(WM_CLEAR);
    EXPECT_EQ(backend->clipboard, L"kept") << "no selection: nothing copied or cut";
    EXPECT_EQ(Changes(), 0);

    Press(VK_END);
    for (int step = 0; step < 5; ++step) Press(VK_LEFT, VK_SHIFT);
    Press('C', VK_CONTROL);
    EXPECT_EQ(backend->clipboard, L"world");
    Press('X', VK_CONTROL);
    EXPECT_EQ(edit.GetWindowText(), L"hello ");
    Press(VK_HOME);
    Press('V', VK_CONTROL);
    EXPECT_EQ(edit.GetWindowText(), L"worldhello ");
    EXPECT_EQ(Selection(), std::make_pair(5, 5));
    EXPECT_EQ(Changes(), 2);

    Press(VK_HOME, VK_SHIFT);
    backend->clipboard.clear();
    Press(VK_INSERT, VK_CONTROL);
    EXPECT_EQ(backend->clipboard, L"world");
    backend->clipboard.clear();
    Press(VK_DELETE, VK_SHIFT);
    EXPECT_EQ(edit.GetWindowText(), L"hello ");
    EXPECT_EQ(backend->clipboard, L"world");
    edit.SetSel(0, 1);
    edit.Clear();
    edit.Paste();
    EXPECT_EQ(edit.GetWindowText(), L"worldello ");
    backend->clipboard = L"\nsecond line";
    edit.Paste();
    EXPECT_EQ(Changes(), 5) << "an empty first line pastes nothing";

    edit.LimitText(12);
    EXPECT_EQ(edit.GetLimitText(), 12);
    backend->clipboard = L"12345";
    edit.Paste();
    EXPECT_EQ(edit.GetWindowText(), L"world12ello ") << "a paste is cut at the limit";
    Type(L"x");
    EXPECT_EQ(edit.GetWindowText().size(), 12u);
    edit.SetSel(0, 5);
    Type(L"W");
    EXPECT_EQ(edit.GetWindowText(), L"W12ello ") << "at the limit, typing over a selection";
}

TEST_F(EditTest, TheSelectionMessagesClampAndPutTheCaretAtTheEnd) {
    CreateEdit(ES_AUTOHSCROLL, 200, L"abcdef");
    edit.SetSel(4, 1);
    EXPECT_EQ(Selection(), std::make_pair(1, 4));
    Press(VK_RIGHT, VK_SHIFT);
    EXPECT_EQ(Selection(), std::make_pair(2, 4)) << "the caret was at 1";
    edit.SetSel(2, 100);
    EXPECT_EQ(Selection(), std::make_pair(2, 6));
    edit.SetSel(-1, 0);
    EXPECT_EQ(Selection(), std::make_pair(6, 6));
    DWORD start = 0;
    DWORD end = 0;
    EXPECT_EQ(edit.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                               reinterpret_cast<LPARAM>(&end)),
              MAKELPARAM(6, 6));
    EXPECT_EQ(end, 6u);
}

TEST_F(EditTest, TheCaretShowsOnlyWhileFocusedAndADisabledBoxIsGrey) {
    CreateEdit(ES_AUTOHSCROLL, 200, L"ab");
    EXPECT_EQ(CaretColumns(), CaretAt(L""));
    host.SetFocus();
    Pump();
    EXPECT_TRUE(CaretColumns().empty());
    Tap(kPadding + Width(L"ab") + 1);
    EXPECT_EQ(CWnd::GetFocus(), &edit) << "a tap gives the box the focus";
    EXPECT_EQ(CaretColumns(), CaretAt(L"ab"));
    EXPECT_EQ(host.notifications,
              (std::vector<std::string>{"command 7 " + std::to_string(EN_KILLFOCUS),
                                        "command 7 " + std::to_string(EN_SETFOCUS)}));

    edit.EnableWindow(FALSE);
    Pump();
    const std::vector<COLORREF> pixels = Pixels();
    EXPECT_EQ(pixels.front(), GetSysColor(COLOR_BTNFACE));
    EXPECT_GT(std::ranges::count(pixels, GetSysColor(COLOR_GRAYTEXT)), 0);
    EXPECT_EQ(std::ranges::count(pixels, GetSysColor(COLOR_WINDOWTEXT)), 0);
    // The border is the window system's one-pixel frame.
    EXPECT_EQ(platform::ReadWindowFramePixel(edit.m_hWnd, 0, 20), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(platform::ReadWindowFramePixel(edit.m_hWnd, 1, 20), GetSysColor(COLOR_BTNFACE));
}

TEST_F(EditTest, TypingRepaintsOnlyTheBoxAndUnusedKeysGoOn) {
    KeyPassingEdit passing;
    ASSERT_TRUE(passing.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                               CRect(20, 20, 220, 60), &host, 7));
    passing.SetFocus();
    Pump();
    host.paints = 0;
    const std::vector<COLORREF> before = platform::ReadWindowPixels(passing.m_hWnd);
    Type(L"q");
    EXPECT_NE(platform::ReadWindowPixels(passing.m_hWnd), before);
    EXPECT_EQ(host.paints, 0);

    for (UINT key : {VK_UP, VK_DOWN, VK_RETURN, VK_ESCAPE, VK_F1, VK_F2, VK_TAB, VK_LEFT, VK_BACK,
                     VK_DELETE, VK_HOME}) {
        Press(key);
    }
    EXPECT_EQ(passing.passedKeys,
              (std::vector<UINT>{VK_UP, VK_DOWN, VK_RETURN, VK_ESCAPE, VK_F1, VK_F2, VK_TAB}));
    EXPECT_EQ(passing.GetWindowText(), L"");
}

TEST_F(EditTest, TheParentMayCloseTheBoxFromAnyNotification) {
    ClosingHost closing;
    ASSERT_TRUE(closing.CreateHost(RECT{0, 0, 300, 100}));
    const auto open = [&closing](UINT closeOn) {
        closing.closeOn = 0;
        closing.edit = std::make_unique<CEdit>();
        closing.edit->Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                             CRect(10, 10, 200, 40), &closing, 7);
        closing.edit->SetWindowText(L"value");
        closing.edit->SetFocus();
        closing.edit->SetSel(0, -1);
        Pump();
        closing.closeOn = closeOn;
    };

    open(EN_KILLFOCUS);
    closing.SetFocus();
    EXPECT_EQ(closing.edit, nullptr);

    // Input already queued for the box is dropped once it is gone.
    for (UINT key : {static_cast<UINT>('X'), VK_BACK, VK_DELETE}) {
        open(EN_CHANGE);
        if (key == 'X') platform::input::KeyDown(VK_CONTROL);
        platform::input::KeyDown(key);
        platform::input::Character(L'a');
        platform::input::KeyUp(key);
        if (key == 'X') platform::input::KeyUp(VK_CONTROL);
        Pump();
        EXPECT_EQ(closing.edit, nullptr) << key;
    }
    open(EN_CHANGE);
    backend->clipboard = L"pasted";
    closing.edit->Paste();
    EXPECT_EQ(closing.edit, nullptr);
    open(EN_SETFOCUS);
    closing.SetFocus();
    closing.edit->SetFocus();
    EXPECT_EQ(closing.edit, nullptr);
}

}  // namespace

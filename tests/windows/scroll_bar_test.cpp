// A window's own vertical scroll bar (WS_VSCROLL) as a finger uses it: the room it takes from the
// client area, its look, and the WM_VSCROLL messages a press, a hold and a drag produce.
#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "platform/controls/button.h"
#include "platform/graphics/system_colors.h"
#include "platform/windows/cwnd.h"
#include "platform/windows/window_dc.h"
#include "support/headless_fixture.h"

namespace {

using Log = std::vector<std::string>;

std::string ScrollCodeName(UINT code) {
    static const char* const names[] = {"lineup",   "linedown",      "pageup",
                                        "pagedown", "thumbposition", "thumbtrack",
                                        "top",      "bottom",        "endscroll"};
    return code < std::size(names) ? names[code] : "code " + std::to_string(code);
}

// A window that scrolls as the property tree does: it moves its own position for the line and
// thumb codes (and, when asked, for the page codes) and writes down what it hears. Its paint marks
// the client's right edge, so a stale width shows.
class ScrollingWnd : public CWnd {
  public:
    explicit ScrollingWnd(Log* log) : log_(log) {}

    BOOL CreateIn(CWnd* parent, const RECT& rect, DWORD extraStyle = 0) {
        return Create(AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE | extraStyle, rect, parent,
                      1);
    }
    void SetRange(int minimum, int maximum, UINT page, int position) {
        SCROLLINFO info{};
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = minimum;
        info.nMax = maximum;
        info.nPage = page;
        info.nPos = position;
        SetScrollInfo(SB_VERT, &info, TRUE);
    }

    bool movesPosition = true;
    bool pagesToo = false;
    bool showBarWhilePainting = false;
    bool hideBarWhilePainting = false;
    COLORREF fill = RGB(30, 90, 60);
    COLORREF edge = RGB(250, 200, 0);
    int paints = 0;
    int deepestPaint = 0;
    std::vector<int> trackPositions;  // SIF_TRACKPOS at each SB_THUMBTRACK
    std::vector<bool> capturedWhileScrolling;
    // Weights of the font an off-screen paint starts with and of its bold copy, as a header row
    // draws its label.
    LONG plainWeight = 0;
    LONG boldWeight = 0;

  protected:
    void OnPaint() {
        ++paintDepth_;
        deepestPaint_ = std::max(deepestPaint_, paintDepth_);
        deepestPaint = deepestPaint_;
        ++paints;
        // Off-screen, then one copy, as the tree paints.
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        CDC memory;
        memory.CreateCompatibleDC(&dc);
        CBitmap bitmap;
        bitmap.CreateCompatibleBitmap(dc.GetSafeHdc(), client.Width(), client.Height());
        HBITMAP previous = memory.SelectObject(&bitmap);
        memory.FillSolidRect(&client, fill);
        const CRect edgeColumn(client.right - 1, 0, client.right, client.bottom);
        memory.FillSolidRect(&edgeColumn, edge);
        ReadFontsLikeAHeaderRow(memory.GetSafeHdc());
        if (showBarWhilePainting || hideBarWhilePainting) {
            const LONG style = ::GetWindowLong(m_hWnd, GWL_STYLE);
            const LONG wanted = showBarWhilePainting ? (style | static_cast<LONG>(WS_VSCROLL))
                                                     : (style & ~static_cast<LONG>(WS_VSCROLL));
            if (wanted != style) ::SetWindowLong(m_hWnd, GWL_STYLE, wanted);
        }
        dc.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
        memory.SelectObject(previous);
        --paintDepth_;
    }
    void ReadFontsLikeAHeaderRow(HDC context) {
        LOGFONT font{};
        if (::GetObjectW(::GetCurrentObject(context, OBJ_FONT), sizeof font, &font) == 0) return;
        plainWeight = font.lfWeight;
        font.lfWeight = FW_BOLD;
        HFONT bold = ::CreateFontIndirectW(&font);
        HGDIOBJ previous = ::SelectObject(context, bold);
        LOGFONT selected{};
        ::GetObjectW(::GetCurrentObject(context, OBJ_FONT), sizeof selected, &selected);
        boldWeight = selected.lfWeight;
        ::SelectObject(context, previous);
        ::DeleteObject(bold);
    }
    BOOL OnCommand(WPARAM wParam, LPARAM) override {
        log_->push_back("command " + std::to_string(LOWORD(wParam)) + " " +
                        std::to_string(HIWORD(wParam)));
        return TRUE;
    }
    void OnSize(UINT, int width, int height) {
        log_->push_back("size " + std::to_string(width) + "x" + std::to_string(height));
    }
    void OnLButtonDown(UINT, CPoint) { log_->push_back("client down"); }
    void OnLButtonUp(UINT, CPoint) { log_->push_back("client up"); }
    void OnMouseMove(UINT, CPoint) { log_->push_back("client move"); }
    void OnVScroll(UINT code, UINT position, CWnd* bar) {
        log_->push_back(ScrollCodeName(code) + " " + std::to_string(position) +
                        (bar != nullptr ? " from a control" : ""));
        capturedWhileScrolling.push_back(::GetCapture() == m_hWnd);
        if (code == SB_THUMBTRACK) {
            SCROLLINFO info{};
            GetScrollInfo(SB_VERT, &info, SIF_TRACKPOS);
            trackPositions.push_back(info.nTrackPos);
        }
        if (!movesPosition) return;
        const int page = static_cast<int>(pagesFor());
        int target = GetScrollPos(SB_VERT);
        if (code == SB_LINEUP) target -= 1;
        if (code == SB_LINEDOWN) target += 1;
        if (code == SB_PAGEUP && pagesToo) target -= page;
        if (code == SB_PAGEDOWN && pagesToo) target += page;
        if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) target = static_cast<int>(position);
        SetScrollPos(SB_VERT, target, TRUE);
    }

    DECLARE_MESSAGE_MAP()

  private:
    UINT pagesFor() const {
        SCROLLINFO info{};
        const_cast<ScrollingWnd*>(this)->GetScrollInfo(SB_VERT, &info, SIF_PAGE);
        return info.nPage;
    }

    Log* log_;
    int paintDepth_ = 0;
    int deepestPaint_ = 0;
};

BEGIN_MESSAGE_MAP(ScrollingWnd, CWnd)
ON_WM_PAINT()
ON_WM_SIZE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_VSCROLL()
END_MESSAGE_MAP()

class HostWnd : public CWnd {
  public:
    BOOL CreateHost(const RECT& rect) {
        return CreateEx(0, AfxRegisterWndClass(0), L"host", WS_POPUP | WS_VISIBLE, rect.left,
                        rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr);
    }
};

class ScrollBarTest : public HeadlessTest {
  protected:
    // The scrolling window is 200 x 300 at (20, 30) in a host at (40, 60) on the screen.
    void Create(DWORD extraStyle = WS_VSCROLL) {
        ASSERT_TRUE(host.CreateHost(RECT{40, 60, 440, 460}));
        ASSERT_TRUE(window.CreateIn(&host, RECT{20, 30, 220, 330}, extraStyle));
        Pump();
        log.clear();
        window.paints = 0;
    }

    // A point given in the window's own coordinates (its frame's top-left corner is 0, 0), on the
    // screen.
    POINT At(int x, int y) const {
        CRect rect;
        window.GetWindowRect(&rect);
        return POINT{rect.left + x, rect.top + y};
    }
    COLORREF Pixel(int x, int y) const { return platform::ReadWindowFramePixel(window, x, y); }
    int BarWidth() const { return GetSystemMetrics(SM_CXVSCROLL); }
    int BarLeft() const { return 200 - BarWidth(); }
    int BarMiddle() const { return BarLeft() + BarWidth() / 2; }
    int ClientWidth() const {
        CRect client;
        window.GetClientRect(&client);
        return client.Width();
    }

    // The rows the thumb covers, read down the middle of the track: [top, bottom), or {0, 0}.
    std::pair<int, int> Thumb() const {
        int top = 0;
        int bottom = 0;
        for (int y = BarWidth(); y < 300 - BarWidth(); ++y) {
            if (Pixel(BarMiddle(), y) == GetSysColor(COLOR_SCROLLBAR)) continue;
            if (top == 0) top = y;
            bottom = y + 1;
        }
        return {top, bottom};
    }

    void Press(POINT point) {
        platform::input::StylusDown(point);
        Pump();
    }
    void Move(POINT point) {
        platform::input::StylusMove(point);
        Pump();
    }
    void Lift(POINT point) {
        platform::input::StylusUp(point);
        Pump();
    }
    void Tap(POINT point) {
        Press(point);
        Lift(point);
    }

    Log log;
    HostWnd host;
    ScrollingWnd window{&log};
};

TEST_F(ScrollBarTest, TheBarTakesItsRoomFromTheClientAreaWhenTheStyleComesAndGivesItBack) {
    Create(0);
    ASSERT_EQ(BarWidth(), 26) << "a finger's width at 96 dots per inch";
    EXPECT_EQ(ClientWidth(), 200);

    ::SetWindowLong(window, GWL_STYLE, ::GetWindowLong(window, GWL_STYLE) | WS_VSCROLL);
    EXPECT_EQ(ClientWidth(), 174);
    EXPECT_EQ(log, Log{"size 174x300"});
    Pump();
    EXPECT_EQ(Pixel(173, 150), window.edge) << "the client was painted again at its new width";
    EXPECT_EQ(Pixel(BarMiddle(), 150), GetSysColor(COLOR_SCROLLBAR));
    EXPECT_EQ(Pixel(BarLeft() + 2, 2), GetSysColor(COLOR_BTNFACE)) << "the up arrow";

    // Another style bit changes no size.
    log.clear();
    ::SetWindowLong(window, GWL_STYLE, ::GetWindowLong(window, GWL_STYLE) | WS_TABSTOP);
    EXPECT_TRUE(log.empty());

    window.ModifyStyle(WS_VSCROLL, 0);
    EXPECT_EQ(ClientWidth(), 200);
    EXPECT_EQ(log, Log{"size 200x300"});
    Pump();
    EXPECT_EQ(Pixel(BarMiddle(), 150), window.fill) << "the client covers the bar's old place";
    EXPECT_EQ(Pixel(199, 150), window.edge);

    // A window created with the style hears the smaller size from the start.
    Log childLog;
    ScrollingWnd other(&childLog);
    ASSERT_TRUE(other.CreateIn(&host, RECT{240, 0, 340, 100}, WS_VSCROLL));
    EXPECT_EQ(childLog, Log{"size 74x100"});
}

TEST_F(ScrollBarTest, ABarShownOrHiddenWhileTheWindowPaintsIsRightAfterTheNextPaint) {
    Create(0);
    window.showBarWhilePainting = true;
    window.Invalidate();
    Pump();
    EXPECT_EQ(window.GetStyle() & WS_VSCROLL, WS_VSCROLL);
    EXPECT_EQ(window.paints, 2) << "the paint that showed the bar asked for one more";
    EXPECT_EQ(window.deepestPaint, 1) << "and not from inside itself";
    EXPECT_EQ(log, Log{"size 174x300"});
    EXPECT_EQ(Pixel(173, 150), window.edge);
    EXPECT_EQ(Pixel(BarMiddle(), 150), GetSysColor(COLOR_SCROLLBAR));
    EXPECT_EQ(Pixel(199, 150), GetSysColor(COLOR_SCROLLBAR)) << "not the old client's edge";
    Pump();
    EXPECT_EQ(window.paints, 2) << "and then it rests";

    window.showBarWhilePainting = false;
    window.hideBarWhilePainting = true;
    window.Invalidate();
    Pump();
    EXPECT_EQ(window.GetStyle() & WS_VSCROLL, 0u);
    EXPECT_EQ(window.paints, 4);
    EXPECT_EQ(Pixel(BarMiddle(), 150), window.fill);
    EXPECT_EQ(Pixel(199, 150), window.edge);
}

TEST_F(ScrollBarTest, ArrowsTrackAndThumbShowTheRangeThePageAndThePosition) {
    Create();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF glyph = GetSysColor(COLOR_BTNTEXT);
    // Arrows: square, a face with a shadow edge, a triangle pointing out of the bar.
    window.SetRange(0, 99, 25, 0);
    Pump();
    EXPECT_EQ(Pixel(BarLeft() + 2, 2), face);
    EXPECT_EQ(Pixel(BarLeft(), 10), shadow);
    EXPECT_EQ(Pixel(199, 10), shadow);
    EXPECT_EQ(Pixel(BarLeft() + 5, 25), shadow) << "the up arrow ends 26 pixels down";
    EXPECT_EQ(Pixel(BarMiddle(), 10), glyph) << "the up arrow's point";
    EXPECT_EQ(Pixel(BarMiddle() - 4, 10), face);
    EXPECT_EQ(Pixel(BarMiddle() - 4, 15), glyph) << "its base";
    EXPECT_EQ(Pixel(BarMiddle(), 300 - 11), glyph) << "the down arrow's point";
    EXPECT_EQ(Pixel(BarMiddle() - 4, 300 - 11), face);
    EXPECT_EQ(Pixel(BarMiddle() - 4, 300 - 16), glyph);
    EXPECT_EQ(Pixel(BarLeft() + 5, 300 - 26), shadow);

    // The track is 248 pixels long; a quarter of the range is a 62-pixel thumb.
    EXPECT_EQ(Thumb(), std::make_pair(26, 88));
    EXPECT_EQ(Pixel(BarMiddle(), 26), shadow);
    EXPECT_EQ(Pixel(BarMiddle(), 50), face);
    window.SetScrollPos(SB_VERT, 75);
    Pump();
    EXPECT_EQ(Thumb(), std::make_pair(212, 274)) << "the last position reaches the down arrow";
    window.SetScrollPos(SB_VERT, 30);
    Pump();
    EXPECT_EQ(Thumb(), std::make_pair(100, 162)) << "30 of 75 steps down 186 free pixels";
    window.SetScrollPos(SB_VERT, 1000);
    Pump();
    EXPECT_EQ(Thumb(), std::make_pair(212, 274)) << "a position past the end is the last one";

    // Never shorter than the bar is wide, also without a page; a range that starts elsewhere.
    window.SetRange(0, 999, 10, 0);
    Pump();
    EXPECT_EQ(Thumb(), std::make_pair(26, 52));
    window.SetRange(0, 999, 0, 999);
    Pump();
    EXPECT_EQ(Thumb(), std::make_pair(248, 274));
    window.SetRange(-20, 19, 20, 0);
    Pump();
    EXPECT_EQ(Thumb(), std::make_pair(150, 274)) << "0 is 20 of 20 steps from -20";

    // A range that fits in the page: no thumb, greyed arrows.
    window.SetRange(0, 9, 10, 0);
    Pump();
    EXPECT_EQ(Thumb(), std::make_pair(0, 0));
    EXPECT_EQ(Pixel(BarMiddle(), 10), GetSysColor(COLOR_GRAYTEXT));
    EXPECT_EQ(Pixel(BarMiddle(), 300 - 11), GetSysColor(COLOR_GRAYTEXT));
}

TEST_F(ScrollBarTest, ABarTooShortForAThumbKeepsItsArrows) {
    ASSERT_TRUE(host.CreateHost(RECT{40, 60, 440, 460}));
    ASSERT_TRUE(window.CreateIn(&host, RECT{0, 0, 100, 70}, WS_VSCROLL));
    window.SetRange(0, 99, 10, 50);
    Pump();
    // 70 pixels: two arrows of 26 and 18 of track, less than the smallest thumb.
    const int middle = 100 - 13;
    for (int y = 26; y < 44; ++y) {
        EXPECT_EQ(platform::ReadWindowFramePixel(window, middle, y), GetSysColor(COLOR_SCROLLBAR));
    }
    log.clear();
    Tap(POINT{40 + 87, 60 + 60});
    Tap(POINT{40 + 87, 60 + 30});
    EXPECT_EQ(log, (Log{"linedown 0", "endscroll 0"})) << "the track without a thumb does nothing";

    // Shorter than two arrows: they share the height.
    window.MoveWindow(0, 0, 100, 30);
    Pump();
    EXPECT_EQ(platform::ReadWindowFramePixel(window, middle - 10, 14),
              GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(platform::ReadWindowFramePixel(window, middle - 10, 15),
              GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(platform::ReadWindowFramePixel(window, middle - 10, 16), GetSysColor(COLOR_BTNFACE));
}

TEST_F(ScrollBarTest, TapsOnTheArrowsAndTheTrackSendTheirStepsAndEndTheScroll) {
    Create();
    window.SetRange(0, 99, 25, 10);
    Pump();
    Tap(At(BarMiddle(), 5));
    Tap(At(BarMiddle(), 295));
    Tap(At(BarMiddle(), 295));
    EXPECT_EQ(window.GetScrollPos(SB_VERT), 11);
    // The thumb covers rows 53 to 114 for position 11: the track above and below it.
    ASSERT_EQ(Thumb(), std::make_pair(53, 115));
    Tap(At(BarMiddle(), 52));
    Tap(At(BarMiddle(), 115));
    Tap(At(BarLeft(), 40));
    EXPECT_EQ(log, (Log{"lineup 0", "endscroll 0", "linedown 0", "endscroll 0", "linedown 0",
                        "endscroll 0", "pageup 0", "endscroll 0", "pagedown 0", "endscroll 0",
                        "pageup 0", "endscroll 0"}));
    EXPECT_EQ(window.GetScrollPos(SB_VERT), 11) << "the bar leaves the position to the window";
    // The window holds the stylus while a part is pressed, and no longer when the scroll ends.
    ASSERT_EQ(window.capturedWhileScrolling.size(), log.size());
    for (std::size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(window.capturedWhileScrolling[i], log[i].rfind("endscroll", 0) != 0) << log[i];
    }
    EXPECT_EQ(::GetCapture(), nullptr);

    // The client heard nothing, not even the release of a press that slid into it; one pixel
    // left of the bar is the client's.
    log.clear();
    Press(At(BarMiddle(), 5));
    Move(At(50, 50));
    Lift(At(50, 50));
    Tap(At(BarLeft() - 1, 5));
    EXPECT_EQ(log, (Log{"lineup 0", "endscroll 0", "client down", "client up"}));
}

TEST_F(ScrollBarTest, DraggingTheThumbTracksThePositionAndEndsWhereTheStylusLeftIt) {
    Create();
    window.movesPosition = false;
    window.SetRange(0, 99, 25, 0);
    Pump();
    // Thumb at rows 26 to 88; 186 free pixels for 75 steps, so 62 pixels are 25 steps.
    const int grab = 57;
    Press(At(BarMiddle(), grab));
    EXPECT_EQ(::GetCapture(), window.m_hWnd);
    EXPECT_TRUE(log.empty()) << "a press on the thumb alone scrolls nothing";
    Move(At(BarMiddle(), grab + 62));
    EXPECT_EQ(Thumb(), std::make_pair(88, 150)) << "the thumb follows the stylus";
    Move(At(BarMiddle(), grab + 124));
    Move(At(BarMiddle(), grab + 125));  // not yet the next step
    Move(At(BarMiddle(), 5000));
    Move(At(-500, grab + 62));  // far beside the bar the thumb still follows
    Move(At(BarMiddle(), -5000));
    EXPECT_EQ(::GetCapture(), window.m_hWnd);
    Lift(At(BarMiddle(), -5000));
    EXPECT_EQ(log, (Log{"thumbtrack 25", "thumbtrack 50", "thumbtrack 75", "thumbtrack 25",
                        "thumbtrack 0", "thumbposition 0", "endscroll 0"}));
    EXPECT_EQ(window.trackPositions, (std::vector<int>{25, 50, 75, 25, 0}));
    EXPECT_EQ(::GetCapture(), nullptr);

    // Released elsewhere than the last move: the release decides. A window that does not move
    // its position sees its thumb go back once the stylus is lifted.
    log.clear();
    Press(At(BarMiddle(), grab));
    Move(At(BarMiddle(), grab + 62));
    Lift(At(BarMiddle(), grab + 124));
    EXPECT_EQ(log, (Log{"thumbtrack 25", "thumbposition 50", "endscroll 0"}));
    Pump();
    EXPECT_EQ(Thumb(), std::make_pair(26, 88));

    // A window that follows the thumb ends up at the released position.
    window.movesPosition = true;
    Press(At(BarMiddle(), grab));
    Move(At(BarMiddle(), 5000));
    Lift(At(BarMiddle(), 5000));
    EXPECT_EQ(window.GetScrollPos(SB_VERT), 75);
    EXPECT_EQ(Thumb(), std::make_pair(212, 274));
}

TEST_F(ScrollBarTest, TheWholeRangeOfIntegersScrollsWithoutOverflow) {
    Create();
    window.movesPosition = false;
    // Half the range in a page: a 124-pixel thumb, positions from the smallest integer to 0.
    window.SetRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), 0x80000000u,
                    std::numeric_limits<int>::max());
    Pump();
    EXPECT_EQ(window.GetScrollPos(SB_VERT), 0);
    EXPECT_EQ(Thumb(), std::make_pair(150, 274));
    Press(At(BarMiddle(), 200));
    Move(At(BarMiddle(), -5000));
    Move(At(BarMiddle(), 200 - 62));
    Move(At(BarMiddle(), 5000));
    Lift(At(BarMiddle(), 5000));
    EXPECT_EQ(window.trackPositions,
              (std::vector<int>{std::numeric_limits<int>::min(), -(1 << 30), 0}));
}

TEST_F(ScrollBarTest, APressOnTheThumbWithoutAMoveStillReportsItsPosition) {
    Create();
    window.SetRange(0, 99, 25, 30);
    Pump();
    Tap(At(BarMiddle(), 130));
    EXPECT_EQ(log, (Log{"thumbposition 30", "endscroll 0"}));
}

TEST_F(ScrollBarTest, ALostCaptureEndsTheHoldAndTheStylusGoesBackToTheClient) {
    Create();
    window.SetRange(0, 99, 25, 0);
    Pump();
    Press(At(BarMiddle(), 57));
    Move(At(BarMiddle(), 57 + 62));
    ::ReleaseCapture();
    Pump();
    EXPECT_EQ(log, (Log{"thumbtrack 25", "endscroll 0"}));
    log.clear();
    Move(At(50, 50));
    Lift(At(50, 50));
    EXPECT_EQ(log, (Log{"client move", "client up"}));

    // A bar that goes away under the stylus lets it go too.
    log.clear();
    Press(At(BarMiddle(), 295));
    window.ModifyStyle(WS_VSCROLL, 0);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(log, (Log{"linedown 0", "endscroll 0", "size 200x300"}));
}

TEST_F(ScrollBarTest, AWindowDestroyedWhileItsBarIsHeldLeavesTheStylusToTheWindowBelow) {
    ASSERT_TRUE(host.CreateHost(RECT{40, 60, 440, 460}));
    Log belowLog;
    ScrollingWnd below(&belowLog);
    ASSERT_TRUE(below.CreateIn(&host, RECT{20, 30, 220, 330}, WS_VSCROLL));
    below.SetRange(0, 99, 25, 0);
    ASSERT_TRUE(window.CreateIn(&host, RECT{20, 30, 220, 330}, WS_VSCROLL));
    window.SetRange(0, 99, 25, 0);
    Pump();
    log.clear();
    belowLog.clear();
    const POINT downArrow = At(BarMiddle(), 295);
    const POINT client = At(50, 50);

    Press(downArrow);
    window.DestroyWindow();
    Advance(1000);
    Pump();
    Move(client);
    Lift(client);
    EXPECT_EQ(log, Log{"linedown 0"}) << "nothing reaches the window once it is gone";
    EXPECT_EQ(belowLog, (Log{"client move", "client up"}));
    EXPECT_EQ(::GetCapture(), nullptr);

    belowLog.clear();
    Tap(downArrow);
    EXPECT_EQ(belowLog, (Log{"linedown 0", "endscroll 0"}));
}

TEST_F(ScrollBarTest, AHeldArrowRepeatsWhileTheStylusStaysOnIt) {
    Create();
    window.SetRange(0, 99, 25, 0);
    Pump();
    Press(At(BarMiddle(), 295));
    EXPECT_EQ(Pixel(BarLeft() + 2, 297), GetSysColor(COLOR_BTNSHADOW)) << "it looks pressed";
    Advance(399);
    Pump();
    EXPECT_EQ(log, Log{"linedown 0"});
    Advance(1);
    Pump();
    Advance(100);
    Pump();
    EXPECT_EQ(log, (Log{"linedown 0", "linedown 0", "linedown 0"}));
    EXPECT_EQ(window.GetScrollPos(SB_VERT), 3);

    // Slid off, it pauses and looks released; back on, it goes on.
    Move(At(BarMiddle(), 200));
    EXPECT_EQ(Pixel(BarLeft() + 2, 297), GetSysColor(COLOR_BTNFACE));
    Advance(300);
    Pump();
    EXPECT_EQ(log.size(), 3u);
    Move(At(BarMiddle(), 290));
    Advance(100);
    Pump();
    EXPECT_EQ(log.size(), 4u);
    Lift(At(BarMiddle(), 290));
    Advance(1000);
    Pump();
    EXPECT_EQ(log, (Log{"linedown 0", "linedown 0", "linedown 0", "linedown 0", "endscroll 0"}));
    EXPECT_EQ(Pixel(BarLeft() + 2, 297), GetSysColor(COLOR_BTNFACE));
}

TEST_F(ScrollBarTest, AHeldTrackPagesUntilTheThumbReachesTheStylus) {
    Create();
    window.pagesToo = true;
    window.SetRange(0, 99, 25, 0);
    Pump();
    // Pages of 25: the thumb starts at 26, 88, 150; the stylus at row 200 is under the third.
    Press(At(BarMiddle(), 200));
    Advance(400);
    Pump();
    Advance(100);
    Pump();
    Advance(100);
    Pump();
    Lift(At(BarMiddle(), 200));
    EXPECT_EQ(log, (Log{"pagedown 0", "pagedown 0", "endscroll 0"}));
    EXPECT_EQ(window.GetScrollPos(SB_VERT), 50);
}

TEST_F(ScrollBarTest, ADisabledBarSwallowsThePressAndSaysNothing) {
    Create();
    window.SetRange(0, 9, 10, 0);
    Pump();
    Press(At(BarMiddle(), 295));
    Advance(1000);
    Pump();
    Move(At(50, 50));
    Lift(At(50, 50));
    Tap(At(BarMiddle(), 150));
    EXPECT_TRUE(log.empty());
}

TEST_F(ScrollBarTest, ThePressOnTheBarIsTheBarsEvenOverAChildThatReachesUnderIt) {
    Create();
    window.SetRange(0, 99, 25, 0);
    Log childLog;
    ScrollingWnd child(&childLog);
    ASSERT_TRUE(child.CreateIn(&window, RECT{100, 0, 200, 60}));
    Pump();
    childLog.clear();
    Tap(At(BarMiddle(), 5));
    EXPECT_EQ(log, (Log{"lineup 0", "endscroll 0"}));
    EXPECT_TRUE(childLog.empty());
    Tap(At(150, 5));
    EXPECT_EQ(childLog, (Log{"client down", "client up"}));
}

TEST_F(ScrollBarTest, SettingThePositionWithRedrawRepaintsTheBarAlone) {
    Create();
    window.SetRange(0, 99, 25, 0);
    Pump();
    const int paints = window.paints;
    window.SetScrollPos(SB_VERT, 75, FALSE);
    Pump();
    EXPECT_EQ(Thumb(), std::make_pair(26, 88)) << "without redraw the bar waits";
    window.SetScrollPos(SB_VERT, 75, TRUE);
    Pump();
    EXPECT_EQ(Thumb(), std::make_pair(212, 274));
    SCROLLINFO info{};
    info.fMask = SIF_POS;
    info.nPos = 30;
    window.SetScrollInfo(SB_VERT, &info, TRUE);
    Pump();
    EXPECT_EQ(Thumb(), std::make_pair(100, 162));
    EXPECT_EQ(window.paints, paints) << "the client was left alone";
}

TEST_F(ScrollBarTest, TheBarGrowsWithTheDisplaysDensity) {
    display.dotsPerInch = 192;
    backend = &platform::InstallHeadlessBackend(display);
    Create();
    ASSERT_EQ(BarWidth(), 52);
    EXPECT_EQ(ClientWidth(), 148);
    window.SetRange(0, 99, 10, 0);
    Pump();
    // Track from 52 to 248: 196 pixels, a tenth of which is less than the smallest thumb.
    EXPECT_EQ(Thumb(), std::make_pair(52, 104));
    EXPECT_EQ(Pixel(BarMiddle(), 51), GetSysColor(COLOR_BTNSHADOW)) << "the up arrow's edge";
    Tap(At(BarMiddle(), 50));
    Tap(At(BarMiddle(), 250));
    EXPECT_EQ(log, (Log{"lineup 0", "endscroll 0", "linedown 0", "endscroll 0"}));
}

TEST_F(ScrollBarTest, TheWindowCallsATreeReliesOnWorkOnAWindowWithABar) {
    Create();
    // The window keeps its rectangle; the client area gives up the bar.
    CRect rect;
    window.GetWindowRect(&rect);
    EXPECT_EQ(rect, CRect(60, 90, 260, 390));
    EXPECT_EQ(ClientWidth(), 174);
    EXPECT_NE(::GetWindowLongW(window, GWL_STYLE) & static_cast<LONG>(WS_VSCROLL), 0);
    EXPECT_TRUE(PtInRect(&rect, At(BarMiddle(), 5)));

    // Invalidate, erase and update now: the client and the bar are drawn before the call returns.
    window.SetRange(0, 99, 25, 75);
    window.fill = RGB(200, 10, 10);
    const int paints = window.paints;
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(window.paints, paints + 1);
    EXPECT_EQ(Pixel(50, 50), RGB(200, 10, 10));
    EXPECT_EQ(Thumb(), std::make_pair(212, 274));
    Pump();
    EXPECT_EQ(window.paints, paints + 1) << "nothing was left to paint";

    // The font an off-screen paint starts with can be read and copied in bold.
    EXPECT_EQ(window.plainWeight, FW_NORMAL);
    EXPECT_EQ(window.boldWeight, FW_BOLD);

    // A control inside the window tells it about a tap with WM_COMMAND; the control reaches up
    // to the bar and keeps its own taps.
    CButton button;
    ASSERT_TRUE(button.Create(L"OK", WS_CHILD | WS_VISIBLE, CRect(100, 100, 174, 150), &window, 9));
    Pump();
    log.clear();
    Tap(At(BarLeft() - 1, 120));
    Tap(At(BarLeft(), 120));
    EXPECT_EQ(log, (Log{"command 9 0", "pageup 0", "endscroll 0"}));
}

}  // namespace

// The slider as a finger and the keys use it: the thumb the user sees, and the WM_HSCROLL codes and
// positions the parent hears, in order.
#include "platform/controls/slider.h"

#include <climits>

#include "controls/control_host.h"
#include "platform/graphics/system_colors.h"
#include "support/headless_fixture.h"

namespace {

std::string CodeName(UINT code) {
    static const char* const names[] = {"lineup", "linedown", "pageup", "pagedown", "position",
                                        "track",  "top",      "bottom", "end"};
    return code < std::size(names) ? names[code] : "code " + std::to_string(code);
}

// Writes down each WM_HSCROLL as "<code> [<position in the high word>] pos=<GetPos() then>".
class SliderHost : public ControlHost {
  public:
    std::vector<std::string> scrolls;
    HWND lastSender = nullptr;

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_HSCROLL) {
            const UINT code = LOWORD(wParam);
            auto* slider =
                static_cast<CSliderCtrl*>(CWnd::FromHandle(reinterpret_cast<HWND>(lParam)));
            std::string entry = CodeName(code);
            if (code == TB_THUMBTRACK || code == TB_THUMBPOSITION) {
                entry += " " + std::to_string(static_cast<short>(HIWORD(wParam)));
            } else if (HIWORD(wParam) != 0) {
                entry += " stray " + std::to_string(HIWORD(wParam));
            }
            entry += " pos=" + std::to_string(slider->GetPos());
            scrolls.push_back(entry);
            lastSender = reinterpret_cast<HWND>(lParam);
        }
        return ControlHost::WindowProc(message, wParam, lParam);
    }
};

// Writes down the keys it leaves to the default processing.
class RecordingSlider : public CSliderCtrl {
  public:
    std::vector<UINT> defaultKeys;

  protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_KEYDOWN || message == WM_KEYUP) {
            defaultKeys.push_back(static_cast<UINT>(wParam));
        }
        return CSliderCtrl::DefWindowProc(message, wParam, lParam);
    }
};

// A slider 220 x 40 at 96 dots per inch: a 2-pixel focus margin, a 20-pixel thumb and 196 pixels of
// travel, so the range 0..196 has one value per pixel.
class SliderTest : public HeadlessTest {
  protected:
    static constexpr int kWidth = 220;
    static constexpr int kHeight = 40;
    static constexpr int kMargin = 2;
    static constexpr int kThumb = 20;
    static constexpr int kTravel = kWidth - 2 * kMargin - kThumb;

    void SetUp() override {
        HeadlessTest::SetUp();
        ASSERT_TRUE(host.CreateHost(RECT{40, 60, 340, 260}));
        ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE, CRect(20, 20, 20 + kWidth, 20 + kHeight),
                                  &host, 1001));
        slider.SetRange(0, kTravel);
        Pump();
    }

    // A point of the slider in screen coordinates, (x, y) from its top-left corner.
    POINT At(int x, int y = kHeight / 2) const { return PointOn(slider.m_hWnd, x, y); }
    void Press(int x) {
        platform::input::StylusDown(At(x));
        Pump();
    }
    void Drag(int x) {
        platform::input::StylusMove(At(x));
        Pump();
    }
    void Release(int x) {
        platform::input::StylusUp(At(x));
        Pump();
    }
    // The stylus stays down while the clock runs, in steps of 10 ms.
    void HoldFor(int milliseconds) {
        for (int elapsed = 0; elapsed < milliseconds; elapsed += 10) {
            Advance(10);
            Pump();
        }
    }
    void Key(UINT key) {
        platform::input::KeyDown(key);
        platform::input::KeyUp(key);
        Pump();
    }
    // The columns the thumb covers, read from a row above the track: [left, right).
    std::pair<int, int> ThumbColumns() const {
        int left = -1;
        int right = -1;
        // Inside the focus frame, which wears the selection colour too.
        for (int x = margin; x < kWidth - margin; ++x) {
            const COLORREF pixel = platform::ReadWindowPixel(slider.m_hWnd, x, margin + 3);
            const bool thumb =
                pixel == GetSysColor(COLOR_BTNSHADOW) || pixel == GetSysColor(COLOR_HIGHLIGHT);
            if (thumb && left < 0) left = x;
            if (thumb) right = x + 1;
        }
        return {left, right};
    }
    static std::pair<int, int> ExpectedThumb(long long minimum, long long maximum,
                                             long long position) {
        const long long span = maximum - minimum;
        const int left =
            kMargin + static_cast<int>(span == 0 ? 0 : (position - minimum) * kTravel / span);
        return {left, left + kThumb};
    }
    std::vector<std::string> TakeScrolls() { return std::exchange(host.scrolls, {}); }

    int margin = kMargin;
    SliderHost host;
    RecordingSlider slider;
};

using Scrolls = std::vector<std::string>;

TEST_F(SliderTest, TheThumbShowsThePositionInAnyRange) {
    struct Case {
        int minimum, maximum;
    };
    for (const Case range :
         {Case{0, 255}, Case{-50, 50}, Case{0, 100000}, Case{7, 7}, Case{INT_MIN, INT_MAX}}) {
        slider.SetRange(range.minimum, range.maximum, TRUE);
        const long long middle =
            (static_cast<long long>(range.minimum) + static_cast<long long>(range.maximum)) / 2;
        for (const long long position : {static_cast<long long>(range.minimum), middle,
                                         static_cast<long long>(range.maximum)}) {
            slider.SetPos(static_cast<int>(position));
            Pump();
            EXPECT_EQ(ThumbColumns(), ExpectedThumb(range.minimum, range.maximum, position))
                << range.minimum << ".." << range.maximum << " at " << position;
        }
    }
    // The thumb is as high as the control inside its margin, the groove lies across the middle.
    slider.SetRange(0, 100, TRUE);
    slider.SetPos(0);
    Pump();
    EXPECT_EQ(platform::ReadWindowPixel(slider.m_hWnd, 10, kMargin), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(platform::ReadWindowPixel(slider.m_hWnd, 10, kHeight - kMargin - 1),
              GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(platform::ReadWindowPixel(slider.m_hWnd, 10, kMargin - 1),
              GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(platform::ReadWindowPixel(slider.m_hWnd, 100, kHeight / 2 - 1),
              GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(platform::ReadWindowPixel(slider.m_hWnd, 100, kHeight / 2 + 1),
              GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(platform::ReadWindowPixel(slider.m_hWnd, 100, kHeight / 2 - 3),
              GetSysColor(COLOR_BTNFACE));
}

TEST_F(SliderTest, DraggingTheThumbTracksEveryNewPositionClampedAndEndsOnRelease) {
    Press(12);  // on the thumb, 10 pixels from its left edge
    EXPECT_EQ(CWnd::GetFocus(), &slider) << "a press takes the focus";
    EXPECT_EQ(CWnd::GetCapture(), &slider) << "and holds the stylus";
    EXPECT_TRUE(host.scrolls.empty()) << "grabbing the thumb moves nothing";
    Drag(62);
    Drag(62);  // no change of position, nothing to say
    Drag(5000);
    Drag(5100);  // already at the end
    Drag(-5000);
    Drag(13);
    EXPECT_EQ(TakeScrolls(),
              (Scrolls{"track 50 pos=50", "track 196 pos=196", "track 0 pos=0", "track 1 pos=1"}));
    EXPECT_EQ(host.lastSender, slider.m_hWnd);
    // The release point does not move the thumb; the drag ends where the finger last was.
    Release(150);
    EXPECT_EQ(TakeScrolls(), (Scrolls{"position 1 pos=1", "end pos=1"}));
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    Drag(100);
    EXPECT_TRUE(host.scrolls.empty()) << "after the release the stylus no longer drags";

    // Many values per pixel and negative positions: the thumb follows the finger; the high word
    // carries the position's low 16 bits.
    slider.SetRange(-100000, 100000);
    slider.SetPos(0);
    Pump();
    const int grab = ExpectedThumb(-100000, 100000, 0).first + 5;
    Press(grab);
    Drag(grab - 49);
    Drag(grab - 98);
    Release(grab - 98);
    const Scrolls wide = TakeScrolls();
    ASSERT_EQ(wide.size(), 4u);
    EXPECT_EQ(wide[0], "track " + std::to_string(static_cast<short>(-50000)) + " pos=-50000");
    EXPECT_EQ(wide[1], "track " + std::to_string(static_cast<short>(-100000)) + " pos=-100000");
    EXPECT_EQ(slider.GetPos(), -100000);
    EXPECT_EQ(ThumbColumns(), ExpectedThumb(0, 1, 0));

    // The widest range, dragged far past both ends.
    slider.SetRange(INT_MIN, INT_MAX);
    slider.SetPos(0);
    Pump();
    TakeScrolls();
    Press(ExpectedThumb(INT_MIN, INT_MAX, 0).first);
    Drag(30000);
    EXPECT_EQ(slider.GetPos(), INT_MAX);
    Drag(-30000);
    EXPECT_EQ(slider.GetPos(), INT_MIN);
    Release(-30000);
    EXPECT_EQ(TakeScrolls().size(), 4u);
}

TEST_F(SliderTest, TheDraggedThumbStaysUnderTheFinger) {
    // More values than pixels: exactly under the finger at every pixel, both ways.
    slider.SetRange(0, 255);
    Press(12);
    for (int x = 0; x <= kTravel; ++x) {
        Drag(12 + x);
        ASSERT_EQ(ThumbColumns().first, kMargin + x) << "at " << x;
    }
    for (int x = kTravel; x >= 0; --x) {
        Drag(12 + x);
        ASSERT_EQ(ThumbColumns().first, kMargin + x) << "back at " << x;
    }
    Release(12);
    // Fewer values than pixels (a value every 4 pixels): the thumb snaps to the nearest value.
    slider.SetRange(0, 49);
    Press(12);
    for (int x = 0; x <= kTravel; ++x) {
        Drag(12 + x);
        ASSERT_LE(std::abs(ThumbColumns().first - (kMargin + x)), 2) << "at " << x;
    }
    Release(12);
}

TEST_F(SliderTest, TheHeldThumbAndTheFocusShowInTheSelectionColour) {
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(platform::ReadWindowPixel(slider.m_hWnd, 10, 10), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(platform::ReadWindowPixel(slider.m_hWnd, 100, 0), GetSysColor(COLOR_BTNFACE));
    Press(10);
    EXPECT_EQ(platform::ReadWindowPixel(slider.m_hWnd, 10, 10), highlight);
    EXPECT_EQ(platform::ReadWindowPixel(slider.m_hWnd, 100, 0), highlight) << "the focus frame";
    EXPECT_EQ(platform::ReadWindowPixel(slider.m_hWnd, 100, kMargin - 1), highlight);
    EXPECT_EQ(platform::ReadWindowPixel(slider.m_hWnd, kWidth - 1, 30), highlight);
    Release(10);
    TakeScrolls();
    host.SetFocus();
    Pump();
    EXPECT_EQ(platform::ReadWindowPixel(slider.m_hWnd, 10, 10), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(platform::ReadWindowPixel(slider.m_hWnd, 100, 0), GetSysColor(COLOR_BTNFACE));

    // Disabled: a hollow thumb, and the stylus reaches it no more.
    slider.EnableWindow(FALSE);
    Pump();
    EXPECT_EQ(platform::ReadWindowPixel(slider.m_hWnd, kMargin, 10), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(platform::ReadWindowPixel(slider.m_hWnd, 10, 10), GetSysColor(COLOR_BTNFACE));
    Press(150);
    Release(150);
    EXPECT_TRUE(host.scrolls.empty());
    EXPECT_EQ(slider.GetPos(), 0);
    slider.EnableWindow(TRUE);
    Pump();
    EXPECT_EQ(platform::ReadWindowPixel(slider.m_hWnd, 10, 10), GetSysColor(COLOR_BTNSHADOW));
}

TEST_F(SliderTest, ATapOnTheTrackPagesTowardsItAndRepeatsWhileHeld) {
    slider.SetPos(100);
    Pump();
    Press(kWidth - 3);  // right of the thumb, in the focus margin even
    EXPECT_EQ(TakeScrolls(), (Scrolls{"pagedown pos=120"}));
    EXPECT_EQ(ThumbColumns(), ExpectedThumb(0, kTravel, 120));
    Advance(CSliderCtrl::kPageRepeatDelay - 1);
    Pump();
    EXPECT_TRUE(host.scrolls.empty());
    Advance(1);
    Pump();
    EXPECT_EQ(TakeScrolls(), (Scrolls{"pagedown pos=140"}));
    for (int i = 0; i < 10; ++i) {
        Advance(CSliderCtrl::kPageRepeatInterval);
        Pump();
    }
    // 160, 180, then 196 where the thumb lies under the finger and the repeat stops.
    EXPECT_EQ(TakeScrolls(), (Scrolls{"pagedown pos=160", "pagedown pos=180", "pagedown pos=196"}));
    Release(kWidth - 3);
    EXPECT_EQ(TakeScrolls(), (Scrolls{"end pos=196"}));
    EXPECT_EQ(CWnd::GetCapture(), nullptr);

    // A user's page size; the repeat stops once the thumb reaches the finger, never overshoots
    // back; a tap at the end still tells the parent.
    slider.SetPageSize(70);
    Press(ExpectedThumb(0, kTravel, 196).first - 1);
    EXPECT_EQ(TakeScrolls(), (Scrolls{"pageup pos=126"}));
    Advance(5000);
    Pump();
    EXPECT_TRUE(host.scrolls.empty()) << "the thumb has passed the finger";
    Release(50);
    EXPECT_EQ(TakeScrolls(), (Scrolls{"end pos=126"}));
    Press(1);
    Drag(kWidth - 1);  // the finger slides to the other side: paging still goes its first way
    Advance(10000);
    Pump();
    Release(kWidth - 1);
    EXPECT_EQ(TakeScrolls(), (Scrolls{"pageup pos=56", "end pos=56"}));
    slider.SetPos(0);
    Press(1);
    Release(1);
    EXPECT_EQ(TakeScrolls(), (Scrolls{"pageup pos=0", "end pos=0"}));
    // Held just past the thumb's edge, paging goes on until the thumb covers the finger.
    slider.SetPageSize(20);
    Press(42);
    HoldFor(1000);
    Release(42);
    EXPECT_EQ(TakeScrolls(), (Scrolls{"pagedown pos=20", "pagedown pos=40", "end pos=40"}));
    slider.SetPos(kTravel);
    Press(158);
    HoldFor(1000);
    Release(158);
    EXPECT_EQ(TakeScrolls(), (Scrolls{"pageup pos=176", "pageup pos=156", "end pos=156"}));
}

TEST_F(SliderTest, KeysMoveByLinesPagesAndToTheEndsAndEndTheTrackOnRelease) {
    slider.SetFocus();
    slider.SetLineSize(5);
    slider.SetPageSize(30);
    slider.SetPos(100);
    Key(VK_RIGHT);
    Key(VK_DOWN);
    Key(VK_LEFT);
    Key(VK_UP);
    Key(VK_UP);
    Key(VK_NEXT);
    Key(VK_PRIOR);
    Key(VK_END);
    Key(VK_RIGHT);
    Key(VK_HOME);
    Key(VK_PRIOR);
    EXPECT_EQ(TakeScrolls(),
              (Scrolls{"linedown pos=105", "end pos=105", "linedown pos=110", "end pos=110",
                       "lineup pos=105",   "end pos=105", "lineup pos=100",   "end pos=100",
                       "lineup pos=95",    "end pos=95",  "pagedown pos=125", "end pos=125",
                       "pageup pos=95",    "end pos=95",  "bottom pos=196",   "end pos=196",
                       "linedown pos=196", "end pos=196", "top pos=0",        "end pos=0",
                       "pageup pos=0",     "end pos=0"}));
    EXPECT_EQ(ThumbColumns(), ExpectedThumb(0, kTravel, 0));

    // A held key repeats its code; one end when it comes up.
    platform::input::KeyDown(VK_RIGHT);
    platform::input::KeyDown(VK_RIGHT);
    platform::input::KeyDown(VK_RIGHT);
    platform::input::KeyUp(VK_RIGHT);
    Pump();
    EXPECT_EQ(TakeScrolls(),
              (Scrolls{"linedown pos=5", "linedown pos=10", "linedown pos=15", "end pos=15"}));

    // Keys the slider does not use go to the default processing and move nothing.
    for (const UINT key : {VK_RETURN, VK_ESCAPE, VK_TAB, VK_F1, VK_F2}) Key(key);
    EXPECT_TRUE(host.scrolls.empty());
    EXPECT_EQ(slider.GetPos(), 15);
    EXPECT_EQ(slider.defaultKeys, (std::vector<UINT>{VK_RETURN, VK_RETURN, VK_ESCAPE, VK_ESCAPE,
                                                     VK_TAB, VK_TAB, VK_F1, VK_F1, VK_F2, VK_F2}));
    // A release whose press went elsewhere (a parent that moved the focus on it) ends nothing.
    platform::input::KeyUp(VK_DOWN);
    Pump();
    EXPECT_TRUE(host.scrolls.empty());
    // A key held while the focus leaves ends its track then.
    platform::input::KeyDown(VK_LEFT);
    Pump();
    host.SetFocus();
    platform::input::KeyUp(VK_LEFT);
    Pump();
    EXPECT_EQ(TakeScrolls(), (Scrolls{"lineup pos=10", "end pos=10"}));
}

TEST_F(SliderTest, ThePositionSetFromCodeIsKeptInRangeAndTellsNoOne) {
    slider.SetRange(0, 255);
    slider.SetPos(300);
    EXPECT_EQ(slider.GetPos(), 255);
    slider.SetPos(-1);
    EXPECT_EQ(slider.GetPos(), 0);
    slider.SetPos(128);
    Pump();
    EXPECT_EQ(ThumbColumns(), ExpectedThumb(0, 255, 128)) << "SetPos repaints the thumb";
    slider.SetRange(0, 100);
    EXPECT_EQ(slider.GetPos(), 100) << "a narrower range pulls the position in";
    slider.SetRange(200, 300);
    EXPECT_EQ(slider.GetPos(), 200);
    slider.SetRange(0, 100000);
    EXPECT_EQ(slider.GetRangeMax(), 100000) << "ranges beyond 16 bits are kept whole";
    slider.SetRange(-40, -60);
    EXPECT_EQ(slider.GetRangeMin(), -40);
    EXPECT_EQ(slider.GetRangeMax(), -40) << "a maximum below the minimum is raised to it";
    EXPECT_EQ(slider.GetPos(), -40);
    slider.SendMessage(TBM_SETRANGE, TRUE, MAKELPARAM(-5, 5));
    EXPECT_EQ(slider.GetRangeMin(), -5);
    EXPECT_EQ(slider.GetRangeMax(), 5);
    slider.SendMessage(TBM_SETPOS, TRUE, 3);
    EXPECT_EQ(slider.SendMessage(TBM_GETPOS), 3);
    EXPECT_EQ(slider.SetPageSize(0), 20);
    EXPECT_EQ(slider.GetPageSize(), 1);
    Pump();
    EXPECT_TRUE(host.scrolls.empty());
}

TEST_F(SliderTest, ALostStylusEndsTheDragWhereItStandsAndADestroyedSliderIsSilent) {
    Press(12);
    Drag(42);
    ::ReleaseCapture();
    Pump();
    Drag(100);
    Release(100);
    EXPECT_EQ(TakeScrolls(), (Scrolls{"track 30 pos=30", "position 30 pos=30", "end pos=30"}));
    EXPECT_EQ(slider.GetPos(), 30);

    // A slider destroyed in the middle of a drag and a key says nothing, and a new window on the
    // same object starts afresh.
    Press(42);
    Drag(60);
    slider.SetFocus();
    platform::input::KeyDown(VK_RIGHT);
    Pump();
    TakeScrolls();
    slider.DestroyWindow();
    Pump();
    EXPECT_TRUE(host.scrolls.empty());
    ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE, CRect(20, 20, 20 + kWidth, 20 + kHeight),
                              &host, 1001));
    slider.SetFocus();
    Pump();
    platform::input::KeyUp(VK_RIGHT);
    Drag(100);
    Release(100);
    EXPECT_TRUE(host.scrolls.empty());
    EXPECT_EQ(slider.GetPos(), 0);
}

TEST_F(SliderTest, DegenerateSizesAndRangesNeverBreak) {
    // One pixel wide, full int range: every input answers without dividing by zero.
    slider.MoveWindow(20, 20, 1, kHeight);
    slider.SetRange(INT_MIN, INT_MAX);
    slider.SetPos(INT_MAX);
    Pump();
    EXPECT_EQ(platform::ReadWindowPixel(slider.m_hWnd, 0, 10), GetSysColor(COLOR_BTNSHADOW));
    Press(0);
    Drag(-300);
    Drag(300);
    Release(300);
    slider.SetFocus();
    slider.SetPageSize(INT_MAX);
    slider.SetLineSize(INT_MAX);
    Key(VK_NEXT);
    Key(VK_RIGHT);
    EXPECT_EQ(slider.GetPos(), INT_MAX);
    Key(VK_PRIOR);
    Key(VK_PRIOR);
    Key(VK_PRIOR);
    EXPECT_EQ(slider.GetPos(), INT_MIN);
    // min == max: the thumb rests at the left and nothing moves.
    slider.MoveWindow(20, 20, kWidth, kHeight);
    slider.SetRange(7, 7);
    host.scrolls.clear();
    Press(150);
    Drag(10);
    Release(10);
    Key(VK_END);
    EXPECT_EQ(slider.GetPos(), 7);
    Pump();
    EXPECT_EQ(ThumbColumns(), ExpectedThumb(7, 7, 7));
    // Zero size.
    slider.MoveWindow(20, 20, 0, 0);
    slider.Invalidate();
    Pump();
    Key(VK_HOME);
    EXPECT_EQ(slider.GetPos(), 7);
}

// At twice the density the thumb and the focus frame are twice as big.
class DenseSliderTest : public SliderTest {
  protected:
    void SetUp() override {
        display.dotsPerInch = 192;
        margin = 2 * kMargin;
        SliderTest::SetUp();
    }
};

TEST_F(DenseSliderTest, TheThumbScalesWithTheDisplay) {
    slider.SetPos(0);
    Pump();
    EXPECT_EQ(ThumbColumns(), (std::pair<int, int>{4, 44}));
    Press(5);
    EXPECT_EQ(platform::ReadWindowPixel(slider.m_hWnd, 100, 3), GetSysColor(COLOR_HIGHLIGHT));
    Drag(5 + 172);  // travel 220 - 8 - 40 = 172 pixels for 196 values
    Release(5 + 172);
    EXPECT_EQ(slider.GetPos(), kTravel);
}

}  // namespace

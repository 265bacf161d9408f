// The ok button in the caption of a window with WS_EX_CAPTIONOKBTN: its look and size at two
// densities, the room it takes from the client area, the windows that must not get it, and the
// stylus on it ending a modal dialog with IDOK.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/base/system_metrics.h"
#include "platform/framework/dialog.h"
#include "platform/graphics/system_colors.h"
#include "support/headless_fixture.h"
#include "windows/recording_window.h"

namespace {

using Log = std::vector<std::string>;
using Steps = std::vector<std::function<void()>>;

constexpr DWORD kCaptioned = WS_POPUP | WS_VISIBLE | WS_CAPTION;

std::string Describe(const RECT& rect) {
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + " " +
           std::to_string(rect.right) + "," + std::to_string(rect.bottom);
}

RECT WindowRectOf(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return rect;
}

// Where the client area starts, counted from the window's top edge.
int ClientTop(HWND hwnd) {
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    return origin.y - WindowRectOf(hwnd).top;
}

// The bounding box (window coordinates) of the pixels in `area` that `wanted` picks.
template <typename Pick>
RECT BoxOfPixels(HWND hwnd, const RECT& area, Pick wanted, int* count = nullptr) {
    RECT box{};
    int found = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (!wanted(platform::ReadWindowFramePixel(hwnd, x, y))) continue;
            const RECT pixel{x, y, x + 1, y + 1};
            UnionRect(&box, &box, &pixel);
            ++found;
        }
    }
    if (count != nullptr) *count = found;
    return box;
}

// Whatever the right half of the caption bar shows in other colours than the bar's own: the ok
// button, if the window has one.
RECT DrawnOnRightOfCaption(HWND hwnd) {
    const RECT window = WindowRectOf(hwnd);
    const int width = window.right - window.left;
    const COLORREF bar = GetSysColor(COLOR_ACTIVECAPTION);
    return BoxOfPixels(hwnd, RECT{width / 2, 1, width - 1, ClientTop(hwnd)},
                       [bar](COLORREF pixel) { return pixel != bar; });
}

bool IsDark(COLORREF pixel) {
    return GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel) < 3 * 128;
}
// The caption's white title on its blue bar.
bool IsLightOnBlue(COLORREF pixel) { return GetRValue(pixel) > 128; }

// Every pixel of the window, frame included, row by row.
std::vector<COLORREF> WholeWindow(HWND hwnd) {
    const RECT window = WindowRectOf(hwnd);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < window.bottom - window.top; ++y) {
        for (int x = 0; x < window.right - window.left; ++x) {
            pixels.push_back(platform::ReadWindowFramePixel(hwnd, x, y));
        }
    }
    return pixels;
}

struct Density {
    int dpi;
    int captionHeight;
    int buttonWidth;
    int buttonHeight;
    int margin;
};

class CaptionOkButtonLookTest : public HeadlessTest, public ::testing::WithParamInterface<Density> {
  protected:
    void SetUp() override {
        display = platform::DisplayInfo{480 * GetParam().dpi / 96, 640 * GetParam().dpi / 96,
                                        GetParam().dpi};
        HeadlessTest::SetUp();
    }
    int width = 400 * GetParam().dpi / 96;
    int height = 300 * GetParam().dpi / 96;
};

TEST_P(CaptionOkButtonLookTest, AFingerSizedButtonEndsATallerCaptionAndShowsWhenItIsHeld) {
    const Density sizes = GetParam();
    CWnd window;
    ASSERT_TRUE(window.CreateEx(WS_EX_CAPTIONOKBTN, AfxRegisterWndClass(0), L"Tavrel Settings",
                                kCaptioned, 0, 0, width, height, nullptr, nullptr));
    Pump();
    const HWND hwnd = window.m_hWnd;
    const COLORREF bar = GetSysColor(COLOR_ACTIVECAPTION);

    // The bar is taller than a plain caption; the client area starts right below it.
    EXPECT_GT(sizes.captionHeight, GetSystemMetrics(SM_CYCAPTION));
    EXPECT_EQ(ClientTop(hwnd), 1 + sizes.captionHeight);
    CRect client;
    window.GetClientRect(&client);
    EXPECT_EQ(client.Height(), height - 2 - sizes.captionHeight);
    EXPECT_EQ(platform::ReadWindowFramePixel(hwnd, 5, sizes.captionHeight), bar);
    EXPECT_NE(platform::ReadWindowFramePixel(hwnd, 5, sizes.captionHeight + 1), bar);

    // The button: at the right end, a margin from the bar's edges, at least a finger high.
    const RECT button = DrawnOnRightOfCaption(hwnd);
    const RECT expected{width - 1 - sizes.margin - sizes.buttonWidth, 1 + sizes.margin,
                        width - 1 - sizes.margin, 1 + sizes.margin + sizes.buttonHeight};
    EXPECT_EQ(Describe(button), Describe(expected));
    EXPECT_GE(sizes.buttonHeight, GetSystemMetrics(SM_CXVSCROLL));
    const int frame = sizes.dpi / 96;
    const POINT face{button.left + frame, button.top + frame};
    EXPECT_EQ(platform::ReadWindowFramePixel(hwnd, button.left, (button.top + button.bottom) / 2),
              GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(platform::ReadWindowFramePixel(hwnd, face.x, face.y),
              GetSysColor(COLOR_BTNHIGHLIGHT));
    // "ok" in dark letters in the middle of the face.
    const RECT inside{button.left + frame, button.top + frame, button.right - frame,
                      button.bottom - frame};
    int letters = 0;
    const RECT text = BoxOfPixels(hwnd, inside, IsDark, &letters);
    EXPECT_GE(letters, 12);
    EXPECT_NEAR((text.left + text.right) / 2, (button.left + button.right) / 2, 2 * frame + 1);
    EXPECT_NEAR((text.top + text.bottom) / 2, (button.top + button.bottom) / 2, 2 * frame + 1);

    // The title is drawn where it always was, left of the button.
    const RECT title = BoxOfPixels(hwnd, RECT{1, 1, button.left, ClientTop(hwnd)}, IsLightOnBlue);
    EXPECT_FALSE(IsRectEmpty(&title));
    EXPECT_GE(title.left, 1 + platform::ScaleForDisplay(6));
    EXPECT_LT(title.right, button.left - sizes.margin);

    // Held, the face darkens; let go, it is light again.
    const POINT centre{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    platform::input::StylusDown(centre);
    Pump();
    EXPECT_EQ(platform::ReadWindowFramePixel(hwnd, face.x, face.y), GetSysColor(COLOR_BTNSHADOW));
    platform::input::StylusUp(centre);
    Pump();
    EXPECT_EQ(platform::ReadWindowFramePixel(hwnd, face.x, face.y),
              GetSysColor(COLOR_BTNHIGHLIGHT));

    // A long title is written up to the button's margin and cut there.
    std::wstring longTitle;
    for (int copy = 0; copy < 12; ++copy) longTitle += L"Tavrel Settings ";
    window.SetWindowText(longTitle.c_str());
    Pump();
    const RECT cut = BoxOfPixels(hwnd, RECT{1, 1, button.left, ClientTop(hwnd)}, IsLightOnBlue);
    EXPECT_LE(cut.right, button.left - sizes.margin);
    EXPECT_GT(cut.right, button.left - sizes.margin - platform::ScaleForDisplay(12));
}

INSTANTIATE_TEST_SUITE_P(Densities, CaptionOkButtonLookTest,
                         ::testing::Values(Density{96, 32, 40, 26, 3}, Density{192, 64, 80, 52, 6}),
                         [](const ::testing::TestParamInfo<Density>& info) {
                             return "Dpi" + std::to_string(info.param.dpi);
                         });

class CaptionOkButtonTest : public HeadlessTest {};

TEST_F(CaptionOkButtonTest, WindowsWithoutTheStyleOrWithoutACaptionLookAsBefore) {
    // Client areas filled with their class's brush, so that only the frames differ.
    static CBrush background(RGB(30, 90, 60));
    const wchar_t* className =
        AfxRegisterWndClass(0, nullptr, static_cast<HBRUSH>(background), nullptr);
    // A plain caption: standard height, nothing on its right end.
    CWnd plain;
    ASSERT_TRUE(
        plain.CreateEx(0, className, L"plain", kCaptioned, 0, 0, 300, 200, nullptr, nullptr));
    Pump();
    EXPECT_EQ(ClientTop(plain.m_hWnd), 1 + GetSystemMetrics(SM_CYCAPTION));
    const RECT plainRight = DrawnOnRightOfCaption(plain.m_hWnd);
    EXPECT_TRUE(IsRectEmpty(&plainRight));
    const std::vector<COLORREF> plainPixels = WholeWindow(plain.m_hWnd);

    // The launcher's kind of window: the style, a border, no caption. Nothing changes.
    const DWORD bordered = WS_POPUP | WS_VISIBLE | WS_BORDER;
    CWnd withStyle;
    CWnd without;
    ASSERT_TRUE(withStyle.CreateEx(WS_EX_APPWINDOW | WS_EX_CAPTIONOKBTN, className, L"", bordered,
                                   0, 0, 300, 200, nullptr, nullptr));
    ASSERT_TRUE(without.CreateEx(WS_EX_APPWINDOW, className, L"", bordered, 0, 0, 300, 200, nullptr,
                                 nullptr));
    Pump();
    EXPECT_EQ(ClientTop(withStyle.m_hWnd), 1);
    EXPECT_EQ(WholeWindow(withStyle.m_hWnd), WholeWindow(without.m_hWnd));

    // A child with a caption has none: the button closes top-level windows only.
    CWnd child;
    ASSERT_TRUE(child.CreateEx(WS_EX_CAPTIONOKBTN, className, L"child",
                               WS_CHILD | WS_VISIBLE | WS_CAPTION, 10, 10, 200, 100, without.m_hWnd,
                               nullptr));
    Pump();
    EXPECT_EQ(ClientTop(child.m_hWnd), 1 + GetSystemMetrics(SM_CYCAPTION));

    // The style given and taken back at run time: the client area makes room and takes it back,
    // and the window looks as if it had never had the button.
    CWnd changing;
    ASSERT_TRUE(
        changing.CreateEx(0, className, L"plain", kCaptioned, 0, 0, 300, 200, nullptr, nullptr));
    Pump();
    ::SetWindowLong(changing.m_hWnd, GWL_EXSTYLE, static_cast<LONG>(WS_EX_CAPTIONOKBTN));
    Pump();
    CRect client;
    changing.GetClientRect(&client);
    EXPECT_EQ(client.Height(), 200 - 2 - 32);
    EXPECT_EQ(Describe(DrawnOnRightOfCaption(changing.m_hWnd)), "256,4 296,30");
    ::SetWindowLong(changing.m_hWnd, GWL_EXSTYLE, 0);
    Pump();
    changing.GetClientRect(&client);
    EXPECT_EQ(client.Height(), 200 - 2 - GetSystemMetrics(SM_CYCAPTION));
    EXPECT_EQ(WholeWindow(changing.m_hWnd), plainPixels);
}

// The settings editor's kind of dialog: full screen, a caption with the ok button. It writes down
// every command it hears (code, lParam, and whether the stylus is still captured).
class OkDialog : public CDialog {
  public:
    OkDialog() : CDialog(Template(), nullptr) {}

    static platform::DialogTemplate Template() {
        platform::DialogTemplate dialogTemplate;
        dialogTemplate.style = WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_SETFONT | DS_FIXEDSYS;
        dialogTemplate.exStyle = WS_EX_APPWINDOW | WS_EX_CAPTIONOKBTN;
        dialogTemplate.cx = 156;
        dialogTemplate.cy = 129;
        dialogTemplate.caption = L"Tavrel Settings";
        dialogTemplate.fontFace = L"MS Shell Dlg";
        return dialogTemplate;
    }

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        commands.push_back(std::to_string(wParam) + " " + std::to_string(lParam) +
                           (::GetCapture() == nullptr ? " free" : " captured"));
        if (LOWORD(wParam) == IDOK && keepOpenOnOk) return TRUE;
        return CDialog::OnCommand(wParam, lParam);
    }

    Log commands;
    bool keepOpenOnOk = false;
};

class CaptionOkButtonDialogTest : public HeadlessTest {
  protected:
    INT_PTR Run(CDialog& dialog, Steps steps) {
        std::deque<std::function<void()>> pending(steps.begin(), steps.end());
        backend->onIdle = [&pending]() {
            if (pending.empty()) return false;
            auto step = std::move(pending.front());
            pending.pop_front();
            step();
            return true;
        };
        const INT_PTR result = dialog.DoModal();
        backend->onIdle = nullptr;
        return result;
    }

    // The stylus put down at one point and lifted at another, as one step.
    static std::function<void()> TapStep(std::function<POINT()> down, std::function<POINT()> up) {
        return [down, up] {
            platform::input::StylusDown(down());
            platform::input::StylusUp(up());
        };
    }
    static void Escape() {
        platform::input::KeyDown(VK_ESCAPE);
        platform::input::KeyUp(VK_ESCAPE);
    }

    // Screen points of the full-screen dialog at 96 dpi on the 480-pixel-wide screen: the button
    // spans x 436 to 475 and y 4 to 29; pressing counts from x 433 to the window's top and right
    // edges and down to the client area, which starts at y 33.
    static POINT OnButton() { return POINT{456, 17}; }
    static POINT TopRightCorner() { return POINT{479, 0}; }
    static POINT JustLeftOfTarget() { return POINT{432, 17}; }
    static POINT OnCaptionTitle() { return POINT{60, 17}; }
    static POINT ClientBelowButton() { return POINT{456, 33}; }

    COLORREF FacePixel(HWND hwnd) const { return platform::ReadWindowFramePixel(hwnd, 437, 5); }
};

TEST_F(CaptionOkButtonDialogTest, ATapOnTheButtonEndsTheDialogWithIdokAfterTheHoldIsOver) {
    OkDialog dialog;
    EXPECT_EQ(Run(dialog, {TapStep(OnButton, OnButton)}), IDOK);
    EXPECT_EQ(dialog.commands, (Log{"1 0 free"}));

    // The corner of the screen is the easiest place to hit: it counts.
    OkDialog corner;
    EXPECT_EQ(Run(corner, {TapStep(TopRightCorner, TopRightCorner)}), IDOK);

    // A dialog that handles IDOK itself hears it first and stays; the button works again.
    OkDialog staying;
    staying.keepOpenOnOk = true;
    EXPECT_EQ(Run(staying, {TapStep(OnButton, OnButton), TapStep(OnButton, OnButton), Escape}),
              IDCANCEL);
    EXPECT_EQ(staying.commands, (Log{"1 0 free", "1 0 free", "2 0 free"}));
}

TEST_F(CaptionOkButtonDialogTest, OnlyAPressAndAReleaseBothOnTheButtonCount) {
    struct Case {
        const char* name;
        POINT (*down)();
        POINT (*up)();
    };
    const Case cases[] = {
        {"on, released in the client area", OnButton, ClientBelowButton},
        {"on, released on the title", OnButton, OnCaptionTitle},
        {"on, released just left of it", OnButton, JustLeftOfTarget},
        {"on the title, released on it", OnCaptionTitle, OnButton},
        {"in the client area, released on it", ClientBelowButton, OnButton},
        {"just left of it, released on it", JustLeftOfTarget, OnButton},
    };
    for (const Case& tap : cases) {
        OkDialog dialog;
        EXPECT_EQ(Run(dialog, {TapStep(tap.down, tap.up), Escape}), IDCANCEL) << tap.name;
        EXPECT_EQ(dialog.commands, (Log{"2 0 free"})) << tap.name;
    }

    // A press on it whose release was lost, then one in the client area lifted on it.
    OkDialog lost;
    EXPECT_EQ(Run(lost, {[] {
                             platform::input::StylusDown(OnButton());
                             platform::input::StylusDown(ClientBelowButton());
                             platform::input::StylusUp(OnButton());
                         },
                         Escape}),
              IDCANCEL);
    EXPECT_EQ(lost.commands, (Log{"2 0 free"}));
}

TEST_F(CaptionOkButtonDialogTest, SlidingOffReleasesItAndSlidingBackPressesItAgain) {
    OkDialog dialog;
    std::vector<COLORREF> faces;
    const auto face = [&] { faces.push_back(FacePixel(dialog.m_hWnd)); };
    const INT_PTR result = Run(dialog, {[] { platform::input::StylusDown(OnButton()); }, face,
                                        [] { platform::input::StylusMove(ClientBelowButton()); },
                                        face, [] { platform::input::StylusMove(OnButton()); }, face,
                                        [] { platform::input::StylusUp(OnButton()); }});
    EXPECT_EQ(result, IDOK);
    const COLORREF pressed = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF released = GetSysColor(COLOR_BTNHIGHLIGHT);
    EXPECT_EQ(faces, (std::vector<COLORREF>{pressed, released, pressed}));

    // All of it queued at once, as a quick finger gives it.
    OkDialog quick;
    EXPECT_EQ(Run(quick, {[] {
                      platform::input::StylusDown(OnButton());
                      platform::input::StylusMove(OnCaptionTitle());
                      platform::input::StylusMove(TopRightCorner());
                      platform::input::StylusUp(TopRightCorner());
                  }}),
              IDOK);
}

TEST_F(CaptionOkButtonDialogTest, ALostCaptureEndsTheHoldWithoutACommand) {
    OkDialog dialog;
    COLORREF whileHeld = 0;
    COLORREF afterLoss = 0;
    const INT_PTR result = Run(
        dialog, {[] { platform::input::StylusDown(OnButton()); },
                 [&] {
                     whileHeld = FacePixel(dialog.m_hWnd);
                     ::ReleaseCapture();
                 },
                 [&] {
                     afterLoss = FacePixel(dialog.m_hWnd);
                     platform::input::StylusUp(OnButton());
                 },
                 [&] { dialog.commands.push_back("still open"); }, TapStep(OnButton, OnButton)});
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(whileHeld, GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(afterLoss, GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(dialog.commands, (Log{"still open", "1 0 free"}));
}

TEST_F(CaptionOkButtonDialogTest, ADialogDestroyedMidHoldLeavesTheStylusToTheWindowsBelow) {
    Log log;
    RecordingWnd below(&log, "below");
    ASSERT_TRUE(below.CreateTopLevel(RECT{0, 0, 480, 640}));
    Pump();
    OkDialog dialog;
    const INT_PTR result = Run(dialog, {[] { platform::input::StylusDown(OnButton()); },
                                        [&] {
                                            ::DestroyWindow(dialog.m_hWnd);
                                            // Wakes the loop, as the message that destroys a
                                            // dialog in a program would.
                                            ::PostMessage(nullptr, WM_NULL, 0, 0);
                                        }});
    EXPECT_NE(result, IDOK);
    EXPECT_TRUE(dialog.commands.empty());
    log.clear();
    platform::input::StylusUp(OnButton());
    Pump();
    EXPECT_EQ(log, (Log{"below:up 456,17"}));

    OkDialog next;
    EXPECT_EQ(Run(next, {TapStep(OnButton, OnButton)}), IDOK);
}

}  // namespace

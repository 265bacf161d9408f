// Where a full-screen dialog goes: the whole of a handheld-sized or portrait display, a centred
// handheld-shaped window on a large landscape one; and the dialogs that place themselves.
#include <cstdlib>
#include <string>

#include "platform/base/handheld_screen.h"
#include "platform/framework/dialog.h"
#include "support/headless_fixture.h"

namespace {

std::string Describe(const RECT& rect) {
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + " " +
           std::to_string(rect.right) + "," + std::to_string(rect.bottom);
}

struct Placement {
    const char* name;
    platform::DisplayInfo display;
    const char* expected;
};

class HandheldScreenRectTest : public ::testing::TestWithParam<Placement> {};

TEST_P(HandheldScreenRectTest, FillsSmallAndPortraitScreensAndCentresAHandheldOnLargeOnes) {
    const Placement& placement = GetParam();
    const RECT rect = platform::HandheldScreenRect(placement.display);
    EXPECT_EQ(Describe(rect), placement.expected);
    const int width = placement.display.width;
    const int height = placement.display.height;
    if (rect.right - rect.left == width && rect.bottom - rect.top == height) return;
    // A window: portrait 3 by 4, seven eighths high, in the middle of the screen.
    EXPECT_EQ(rect.bottom - rect.top, height * 7 / 8);
    EXPECT_EQ(rect.right - rect.left, (rect.bottom - rect.top) * 3 / 4);
    EXPECT_LE(std::abs(rect.left - (width - rect.right)), 1);
    EXPECT_LE(std::abs(rect.top - (height - rect.bottom)), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, HandheldScreenRectTest,
    ::testing::Values(
        Placement{"HandheldPortrait", {480, 640, 96}, "0,0 480,640"},
        Placement{"PhonePortraitFullHd", {1080, 1920, 96}, "0,0 1080,1920"},
        Placement{"Square", {1000, 1000, 96}, "0,0 1000,1000"},
        Placement{"HandheldLandscape", {640, 480, 96}, "0,0 640,480"},
        Placement{"NetbookAtTheLimit", {1024, 600, 96}, "0,0 1024,600"},
        Placement{"JustPastTheLimit", {1025, 601, 96}, "316,38 709,563"},
        Placement{"DesktopFullHd", {1920, 1080, 96}, "606,67 1314,1012"},
        Placement{"Laptop", {1280, 800, 96}, "377,50 902,750"},
        // Density counts: half the pixels across at twice the density is a small screen.
        Placement{"DenseHandheldLandscape", {1920, 1080, 192}, "0,0 1920,1080"},
        Placement{"DenseAtTheLimit", {2560, 1200, 192}, "0,0 2560,1200"},
        Placement{"Desktop4kAt192", {3840, 2160, 192}, "1211,135 2628,2025"},
        Placement{"NoScreen", {0, 0, 96}, "0,0 0,0"}),
    [](const ::testing::TestParamInfo<Placement>& info) { return std::string(info.param.name); });

class FullScreenDialog : public CDialog {
  public:
    FullScreenDialog() : CDialog(Template(), nullptr) {}
    static platform::DialogTemplate Template() {
        platform::DialogTemplate dialogTemplate;
        dialogTemplate.style = WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_SETFONT;
        dialogTemplate.exStyle = WS_EX_APPWINDOW | WS_EX_CAPTIONOKBTN;
        dialogTemplate.cx = 156;
        dialogTemplate.cy = 129;
        dialogTemplate.caption = L"full screen";
        dialogTemplate.fontFace = L"MS Shell Dlg";
        return dialogTemplate;
    }
};

class FullScreenDialogTest : public HeadlessTest {
  protected:
    // Runs the dialog until it is first idle and returns where it was then.
    RECT ShownAt(CDialog& dialog) {
        RECT shown{};
        bool done = false;
        backend->onIdle = [&] {
            if (done) return false;
            done = true;
            ::GetWindowRect(dialog.m_hWnd, &shown);
            dialog.EndDialog(IDCANCEL);
            return true;
        };
        dialog.DoModal();
        backend->onIdle = nullptr;
        return shown;
    }
};

TEST_F(FullScreenDialogTest, TheFrameworkPlacesItOnTheHandheldScreenUnlessTheDialogPlacesItself) {
    FullScreenDialog onHandheld;
    EXPECT_EQ(Describe(ShownAt(onHandheld)), "0,0 480,640");

    backend = &platform::InstallHeadlessBackend(platform::DisplayInfo{1920, 1080, 96});
    FullScreenDialog onDesktop;
    EXPECT_EQ(Describe(ShownAt(onDesktop)), "606,67 1314,1012");

    // With the handling off (the launcher), the template's own place and size stay.
    FullScreenDialog placedByItself;
    placedByItself.m_bFullScreen = FALSE;
    const RECT own = ShownAt(placedByItself);
    EXPECT_EQ(own.left, 0);
    EXPECT_EQ(own.top, 0);
    EXPECT_LT(own.right, 480);
}

}  // namespace

// Installing the SDL backend: the error without a display, the display it reports, and SDL's
// life tied to the backend's.
#include <string_view>

#include "platform/backends/sdl/sdl_display.h"
#include "sdl/probe_window.h"
#include "sdl/sdl_fixture.h"

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

TEST(SdlInstall, WithoutADisplayItFailsWithAReasonAndKeepsTheBackendInUse) {
    platform::Backend* before = &platform::InstallHeadlessBackend();
    UseDummyDisplay();
    setenv("SDL_VIDEODRIVER", "x11", 1);
    std::string error;
    EXPECT_FALSE(platform::InstallSdlBackend(&error));
    EXPECT_EQ(error, "cannot open a display: x11 not available");
    EXPECT_EQ(platform::CurrentBackend(), before);
    EXPECT_EQ(SDL_WasInit(0), 0u);
    EXPECT_FALSE(platform::InstallSdlBackend(nullptr));

    // With no driver named SDL would settle for an invisible screen; that is no display either.
    unsetenv("SDL_VIDEODRIVER");
    error.clear();
    if (platform::InstallSdlBackend(&error)) {
        // A machine with a framebuffer device the test may open: then it must be that one.
        const std::string_view driver = SDL_GetCurrentVideoDriver();
        EXPECT_NE(driver, "offscreen");
        EXPECT_NE(driver, "dummy");
        platform::InstallHeadlessBackend();
    } else {
        EXPECT_TRUE(StartsWith(error, "cannot open a display: ")) << error;
        EXPECT_EQ(SDL_WasInit(0), 0u);
    }
    UseDummyDisplay();
}

TEST(SdlInstall, ReportsTheDesktopAndShutsSdlDownWithTheBackend) {
    UseDummyDisplay();
    unsetenv("SDL_FRAMEBUFFER_ACCELERATION");
    platform::SetCurrentDisplay(platform::DisplayInfo{1, 1, 300});
    ASSERT_TRUE(platform::InstallSdlBackend(nullptr));
    // Only X11 is told to present window surfaces as they are; elsewhere (Wayland, KMS) that
    // would leave SDL without any window surface, so it keeps its own choice.
    EXPECT_EQ(SDL_GetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION), nullptr);
    // The dummy screen's desktop; it knows no density.
    EXPECT_EQ(platform::CurrentDisplay().width, 1024);
    EXPECT_EQ(platform::CurrentDisplay().height, 768);
    EXPECT_EQ(platform::CurrentDisplay().dotsPerInch, 96);

    // A second SDL backend replacing the first keeps SDL open for itself.
    ASSERT_TRUE(platform::InstallSdlBackend(nullptr));
    EXPECT_NE(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    auto* backend = dynamic_cast<platform::SdlBackend*>(platform::CurrentBackend());
    ASSERT_NE(backend, nullptr);
    std::vector<std::string> log;
    ProbeWindow window(&log);
    ASSERT_TRUE(window.CreateTopLevel(RECT{0, 0, 20, 20}));
    EXPECT_NE(SDL_GetWindowFromID(backend->SdlWindowId(window.m_hWnd)), nullptr);

    platform::InstallHeadlessBackend();
    EXPECT_EQ(SDL_WasInit(0), 0u);
}

TEST(SdlInstall, UnknownOrAbsurdDensitiesBecomeTheDefault) {
    EXPECT_EQ(platform::SaneDotsPerInch(0.0F), 96);
    EXPECT_EQ(platform::SaneDotsPerInch(std::numeric_limits<float>::quiet_NaN()), 96);
    EXPECT_EQ(platform::SaneDotsPerInch(12.0F), 96);
    EXPECT_EQ(platform::SaneDotsPerInch(25000.0F), 96);
    EXPECT_EQ(platform::SaneDotsPerInch(191.6F), 192);
}

}  // namespace

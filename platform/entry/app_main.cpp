// The program's entry point: opens the screen, then hands over to the application object.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/backends/wayland/wayland_backend.h"
#include "platform/backends/x11/x11_backend.h"
#include "platform/base/startup_steps.h"
#include "platform/entry/sdl_fallback.h"
#include "platform/framework/app.h"
#include "platform/windows/message_pump.h"

namespace {

// A Wayland compositor and an X server are spoken to directly; everything else (KMSDRM, a
// framebuffer, a server that cannot show our windows) through SDL, which is also what a user
// who names SDL's video driver gets.
bool OpenScreen() {
    std::string waylandError;
    if (platform::InstallWaylandBackend(&waylandError)) return true;
    std::string x11Error;
    const char* sdlDriver = std::getenv("SDL_VIDEODRIVER");
    if ((sdlDriver == nullptr || *sdlDriver == '\0') && platform::InstallX11Backend(&x11Error)) {
        return true;
    }
    std::string error;
    if (platform::InstallSdlFallback(&error)) return true;
    std::fprintf(stderr, "%s\n", error.c_str());
    if (std::getenv("WAYLAND_DISPLAY") != nullptr)
        std::fprintf(stderr, "%s\n", waylandError.c_str());
    return false;
}

}  // namespace

int main() {
    const platform::StartupSteps startupSteps;
    if (!OpenScreen()) return 1;
    CWinApp* application = AfxGetApp();
    if (application == nullptr) return 1;
    if (application->InitInstance()) {
        while (platform::PumpOneMessage()) {
        }
    }
    const int exitCode = application->ExitInstance();
    platform::InstallBackend(nullptr);  // windows go before the screen they are shown on
    return exitCode;
}

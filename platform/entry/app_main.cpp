// The program's entry point: opens the screen, then hands over to the application object.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/backends/sdl/sdl_backend.h"
#include "platform/backends/wayland/wayland_backend.h"
#include "platform/framework/app.h"
#include "platform/windows/message_pump.h"

namespace {

// A Wayland compositor is spoken to directly; everything else (X11, KMSDRM, a framebuffer, a
// compositor that cannot show our windows) through SDL.
bool OpenScreen() {
    std::string waylandError;
    if (platform::InstallWaylandBackend(&waylandError)) return true;
    std::string error;
    if (platform::InstallSdlBackend(&error)) return true;
    std::fprintf(stderr, "%s\n", error.c_str());
    if (std::getenv("WAYLAND_DISPLAY") != nullptr)
        std::fprintf(stderr, "%s\n", waylandError.c_str());
    return false;
}

}  // namespace

int main() {
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

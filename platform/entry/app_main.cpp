// The program's entry point: opens the screen, then hands over to the application object.
#include <cstdio>
#include <string>

#include "platform/backends/sdl/sdl_backend.h"
#include "platform/framework/app.h"
#include "platform/windows/message_pump.h"

int main() {
    std::string error;
    if (!platform::InstallSdlBackend(&error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
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

// The SDL backend as a module the programs load only when they fall back on it: SDL and the
// forty libraries it brings (sound, D-Bus, X11 extensions) cost a native start nothing.
#include <string>

#include "platform/backends/sdl/sdl_backend.h"

extern "C" __attribute__((visibility("default"))) bool TavrelInstallSdlBackend(std::string* error) {
    return platform::InstallSdlBackend(error);
}

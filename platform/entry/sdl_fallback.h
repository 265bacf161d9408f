// Loading the SDL backend module (libtavrel-sdl.so, beside the program or where the build put
// it) and installing its backend.
#pragma once

#include <string>

namespace platform {

// False, with the reason in *error, when the module cannot be loaded or SDL opens no screen.
bool InstallSdlFallback(std::string* error);

}  // namespace platform

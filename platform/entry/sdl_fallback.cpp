// The SDL backend through dlopen.
#include "platform/entry/sdl_fallback.h"

#include <dlfcn.h>

#include <array>

#include "platform/base/text_encoding.h"
#include "platform/files/file_api.h"

namespace platform {
namespace {

// Beside the program (an install), then where the build made it (a program of the build, or a
// copy of one in a test's folder), then wherever the dynamic loader looks.
void* LoadModule(std::string& reasons) {
    const std::wstring program = ModuleFilePath();
    const std::string folder = Utf8FromWide(program.substr(0, program.find_last_of(L'/') + 1));
    const std::array<std::string, 3> candidates{folder + "libtavrel-sdl.so",
                                                TAVREL_SDL_MODULE_BUILT_AT, "libtavrel-sdl.so"};
    for (const std::string& candidate : candidates) {
        if (void* module = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL)) return module;
        reasons += std::string("\n  ") + ::dlerror();
    }
    return nullptr;
}

}  // namespace

bool InstallSdlFallback(std::string* error) {
    std::string reasons;
    void* module = LoadModule(reasons);
    if (module == nullptr) {
        if (error != nullptr) *error = "cannot load the SDL backend:" + reasons;
        return false;
    }
    using Install = bool (*)(std::string*);
    const auto install = reinterpret_cast<Install>(::dlsym(module, "TavrelInstallSdlBackend"));
    if (install == nullptr) {
        if (error != nullptr) *error = "the SDL backend module has no entry point";
        return false;
    }
    // Never unloaded: its backend lives until the program ends.
    return install(error);
}

}  // namespace platform

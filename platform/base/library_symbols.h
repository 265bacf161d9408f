// Functions of a library opened with dlopen, looked up by name into typed pointers.
#pragma once

#include <dlfcn.h>

namespace platform {

// Sets `*function` to the library's function of that name; false (and null) when it has none.
template <typename Function>
bool FindSymbol(void* library, const char* name, Function* function) {
    *function = reinterpret_cast<Function>(::dlsym(library, name));
    return *function != nullptr;
}

}  // namespace platform

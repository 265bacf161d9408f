#include "platform/files/file_steps.h"

#include <unistd.h>

#include <cerrno>
#include <functional>
#include <utility>

namespace platform {
namespace {

std::function<bool(FileStep)>& Injector() {
    static std::function<bool(FileStep)> injector;
    return injector;
}

}  // namespace

void SetFileFailureInjector(std::function<bool(FileStep)> injector) {
    Injector() = std::move(injector);
}

bool InjectedFailure(FileStep step) {
    if (Injector() && Injector()(step)) {
        errno = EIO;
        return true;
    }
    return false;
}

bool WriteAll(int descriptor, std::string_view content) {
    while (!content.empty()) {
        if (InjectedFailure(FileStep::Write)) return false;
        const ssize_t written = ::write(descriptor, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace platform

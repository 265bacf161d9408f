// Session signals through a self-pipe, and ending the session.
#include "platform/backends/shared/session_end.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "platform/windows/window_api.h"
#include "platform/windows/window_tree.h"

namespace platform {
namespace {

int pipeEnds[2] = {-1, -1};

void OnSessionSignal(int /*signal*/) {
    const int savedErrno = errno;
    const char byte = 1;
    // Full or not, the pipe says the same: the session ends.
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
    errno = savedErrno;
}

}  // namespace

int SessionSignalDescriptor() {
    static const int descriptor = [] {
        if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return -1;
        struct sigaction action {};
        action.sa_handler = OnSessionSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
            // A signal the program was started with ignored (Ctrl+C of a background job) stays so.
            struct sigaction previous {};
            if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) {
                continue;
            }
            ::sigaction(signal, &action, nullptr);
        }
        return pipeEnds[0];
    }();
    return descriptor;
}

bool EndSessionIfSignalled() {
    const int descriptor = SessionSignalDescriptor();
    if (descriptor < 0) return false;
    std::array<char, 64> bytes{};
    bool signalled = false;
    while (::read(descriptor, bytes.data(), bytes.size()) > 0) signalled = true;
    if (signalled) EndSession();
    return signalled;
}

void EndSession() {
    for (HWND hwnd : TopLevelWindows()) PostMessage(hwnd, WM_CLOSE, 0, 0);
    PostQuitMessage(0);
}

}  // namespace platform

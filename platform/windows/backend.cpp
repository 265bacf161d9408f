#include "platform/windows/backend.h"

#include <string>

#include "platform/windows/focus_state.h"
#include "platform/windows/message_queue.h"
#include "platform/windows/window_tree.h"

namespace platform {
namespace {

// Used until a real backend is installed: a clock that stands still and a screen nobody sees.
class NullBackend final : public Backend {
  public:
    std::uint32_t TickCount() override { return 0; }
    void TopLevelChanged(HWND) override {}
    void TopLevelDestroyed(HWND) override {}
    void Present(HWND, const RECT&) override {}
    void RequestForeground(HWND) override {}
    bool WaitForEvents(int) override { return false; }
    bool CanShowWindows() override { return false; }
};

// Never destroyed by the exit of the process: when a program ends because its display went
// away, the backend must not try to close windows on that display (it would wait for it
// forever). Programs remove their backend themselves when they end normally.
std::unique_ptr<Backend>& Installed() {
    static auto* backend = new std::unique_ptr<Backend>(std::make_unique<NullBackend>());
    return *backend;
}

}  // namespace

Backend* CurrentBackend() { return Installed().get(); }

void InstallBackend(std::unique_ptr<Backend> backend) {
    const std::vector<HWND> remaining = TopLevelWindows();
    for (HWND hwnd : remaining) DestroyWindow(hwnd);
    ResetMessageQueue();
    Focus() = FocusState{};
    Installed() = backend ? std::move(backend) : std::make_unique<NullBackend>();
}

}  // namespace platform

DWORD GetTickCount() { return platform::CurrentBackend()->TickCount(); }

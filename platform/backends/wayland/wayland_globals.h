// The connection's globals: bound once from the registry, each at the highest version we handle
// every event of, and kept for the connection's life. Outputs and the seat may come and go.
#pragma once

#include <wayland-client.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/backends/wayland/wayland_outputs.h"
#include "platform/backends/wayland/wayland_proxy.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-activation-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace platform {

class WaylandGlobals {
  public:
    // Binds what the compositor offers (a seat is handed over at once, so that its listener
    // hears the capabilities that follow), after one round trip for the globals and one for what
    // the outputs and the seat say of themselves. Without wl_compositor, wl_shm or xdg_wm_base
    // no window can be shown: nullptr, with the reason in *error.
    static std::unique_ptr<WaylandGlobals> Bind(
        wl_display* display, std::function<void()> outputsChanged,
        std::function<void(wl_seat*, const WaylandGlobals&)> seatAdded, std::string* error);
    ~WaylandGlobals();
    WaylandGlobals(const WaylandGlobals&) = delete;
    WaylandGlobals& operator=(const WaylandGlobals&) = delete;

    wl_compositor* Compositor() const { return compositor_.get(); }
    wl_shm* Shm() const { return shm_.get(); }
    xdg_wm_base* WmBase() const { return wmBase_.get(); }
    // Optional globals: nullptr when the compositor has none.
    zwlr_layer_shell_v1* LayerShell() const { return layerShell_.get(); }
    xdg_activation_v1* Activation() const { return activation_.get(); }
    wl_data_device_manager* DataDeviceManager() const { return dataDeviceManager_.get(); }
    WaylandOutputs& Outputs() { return outputs_; }
    const WaylandOutputs& Outputs() const { return outputs_; }

    // Registry events (public for the listener table).
    void Announced(wl_registry* registry, std::uint32_t name, const char* interface,
                   std::uint32_t version);
    void Removed(std::uint32_t name);

  private:
    WaylandGlobals(std::function<void()> outputsChanged,
                   std::function<void(wl_seat*, const WaylandGlobals&)> seatAdded);

    std::function<void(wl_seat*, const WaylandGlobals&)> seatAdded_;
    OwnedProxy<wl_registry> registry_;
    OwnedProxy<wl_compositor> compositor_;
    OwnedProxy<wl_shm> shm_;
    OwnedProxy<xdg_wm_base> wmBase_;
    OwnedProxy<zwlr_layer_shell_v1> layerShell_;
    OwnedProxy<xdg_activation_v1> activation_;
    OwnedProxy<wl_data_device_manager> dataDeviceManager_;
    std::uint32_t seatName_ = 0;
    WaylandOutputs outputs_;
};

}  // namespace platform

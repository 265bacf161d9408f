// wl_registry listener: which global becomes which member, at which version.
#include "platform/backends/wayland/wayland_globals.h"

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

template <typename Proxy>
Proxy* BindGlobal(wl_registry* registry, std::uint32_t name, const wl_interface& interface,
                  std::uint32_t offered, std::uint32_t highest) {
    return static_cast<Proxy*>(
        wl_registry_bind(registry, name, &interface, std::min(offered, highest)));
}

void OnPing(void* /*data*/, xdg_wm_base* base, std::uint32_t serial) {
    xdg_wm_base_pong(base, serial);
}

constexpr xdg_wm_base_listener kWmBaseListener{OnPing};

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t version) {
    static_cast<WaylandGlobals*>(data)->Announced(registry, name, interface, version);
}

void OnGlobalRemoved(void* data, wl_registry* /*registry*/, std::uint32_t name) {
    static_cast<WaylandGlobals*>(data)->Removed(name);
}

constexpr wl_registry_listener kRegistryListener{OnGlobal, OnGlobalRemoved};

}  // namespace

WaylandGlobals::WaylandGlobals(std::function<void()> outputsChanged,
                               std::function<void(wl_seat*, const WaylandGlobals&)> seatAdded)
    : seatAdded_(std::move(seatAdded)), outputs_(std::move(outputsChanged)) {}

WaylandGlobals::~WaylandGlobals() = default;

std::unique_ptr<WaylandGlobals> WaylandGlobals::Bind(
    wl_display* display, std::function<void()> outputsChanged,
    std::function<void(wl_seat*, const WaylandGlobals&)> seatAdded, std::string* error) {
    std::unique_ptr<WaylandGlobals> globals(
        new WaylandGlobals(std::move(outputsChanged), std::move(seatAdded)));
    globals->registry_.reset(wl_display_get_registry(display));
    wl_registry_add_listener(globals->registry_.get(), &kRegistryListener, globals.get());
    const auto fail = [error](const std::string& reason) -> std::unique_ptr<WaylandGlobals> {
        if (error != nullptr) *error = reason;
        return nullptr;
    };
    if (wl_display_roundtrip(display) < 0) return fail("the Wayland connection broke");
    if (!globals->compositor_ || !globals->shm_ || !globals->wmBase_) {
        return fail("the compositor offers no wl_compositor, wl_shm or xdg_wm_base");
    }
    if (wl_display_roundtrip(display) < 0) return fail("the Wayland connection broke");
    return globals;
}

void WaylandGlobals::Announced(wl_registry* registry, std::uint32_t name, const char* interface,
                               std::uint32_t version) {
    const auto is = [interface](const wl_interface& known) {
        return std::strcmp(interface, known.name) == 0;
    };
    // Version 4 of wl_compositor brings damage in buffer pixels; 3 the buffer scale.
    if (is(wl_compositor_interface) && !compositor_) {
        compositor_.reset(
            BindGlobal<wl_compositor>(registry, name, wl_compositor_interface, version, 4));
    } else if (is(wl_shm_interface) && !shm_) {
        shm_.reset(BindGlobal<wl_shm>(registry, name, wl_shm_interface, version, 1));
    } else if (is(xdg_wm_base_interface) && !wmBase_) {
        wmBase_.reset(BindGlobal<xdg_wm_base>(registry, name, xdg_wm_base_interface, version, 3));
        xdg_wm_base_add_listener(wmBase_.get(), &kWmBaseListener, nullptr);
    } else if (is(zwlr_layer_shell_v1_interface) && !layerShell_) {
        layerShell_.reset(BindGlobal<zwlr_layer_shell_v1>(
            registry, name, zwlr_layer_shell_v1_interface, version, 4));
    } else if (is(xdg_activation_v1_interface) && !activation_) {
        activation_.reset(
            BindGlobal<xdg_activation_v1>(registry, name, xdg_activation_v1_interface, version, 1));
    } else if (is(wl_data_device_manager_interface) && !dataDeviceManager_) {
        dataDeviceManager_.reset(BindGlobal<wl_data_device_manager>(
            registry, name, wl_data_device_manager_interface, version, 3));
    } else if (is(wl_output_interface)) {
        outputs_.Add(registry, name, version);
    } else if (is(wl_seat_interface) && seatName_ == 0) {
        // One seat: the programs have one stylus and one keyboard. Version 5 is the highest
        // whose every pointer, touch and keyboard event the seat's listeners handle.
        seatName_ = name;
        if (seatAdded_) {
            seatAdded_(BindGlobal<wl_seat>(registry, name, wl_seat_interface, version, 5), *this);
        }
    }
}

void WaylandGlobals::Removed(std::uint32_t name) { outputs_.Remove(name); }

}  // namespace platform

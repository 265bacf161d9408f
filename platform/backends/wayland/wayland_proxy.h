// Ownership of Wayland protocol objects: each proxy is held by a unique_ptr whose deleter sends
// the object's destructor request (where its version has one), so no object outlives its owner
// or is destroyed twice.
#pragma once

#include <wayland-client.h>

#include <cstdint>
#include <memory>

#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-activation-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace platform {

// The version of a bound object, to check what it may be asked.
template <typename Proxy>
std::uint32_t VersionOf(Proxy* proxy) {
    return wl_proxy_get_version(reinterpret_cast<wl_proxy*>(proxy));
}

// Objects whose destructor request came in a later version are only forgotten locally before.
template <typename Proxy>
void ReleaseOrForget(Proxy* proxy, std::uint32_t sinceVersion, void (*release)(Proxy*)) {
    if (VersionOf(proxy) >= sinceVersion) {
        release(proxy);
    } else {
        wl_proxy_destroy(reinterpret_cast<wl_proxy*>(proxy));
    }
}

inline void DestroyProxy(wl_registry* proxy) { wl_registry_destroy(proxy); }
inline void DestroyProxy(wl_compositor* proxy) { wl_compositor_destroy(proxy); }
inline void DestroyProxy(wl_shm* proxy) { wl_shm_destroy(proxy); }
inline void DestroyProxy(wl_surface* proxy) { wl_surface_destroy(proxy); }
inline void DestroyProxy(wl_output* proxy) {
    ReleaseOrForget(proxy, WL_OUTPUT_RELEASE_SINCE_VERSION, wl_output_release);
}
inline void DestroyProxy(wl_seat* proxy) {
    ReleaseOrForget(proxy, WL_SEAT_RELEASE_SINCE_VERSION, wl_seat_release);
}
inline void DestroyProxy(wl_pointer* proxy) {
    ReleaseOrForget(proxy, WL_POINTER_RELEASE_SINCE_VERSION, wl_pointer_release);
}
inline void DestroyProxy(wl_keyboard* proxy) {
    ReleaseOrForget(proxy, WL_KEYBOARD_RELEASE_SINCE_VERSION, wl_keyboard_release);
}
inline void DestroyProxy(wl_touch* proxy) {
    ReleaseOrForget(proxy, WL_TOUCH_RELEASE_SINCE_VERSION, wl_touch_release);
}
inline void DestroyProxy(wl_data_device_manager* proxy) { wl_data_device_manager_destroy(proxy); }
inline void DestroyProxy(wl_data_device* proxy) {
    ReleaseOrForget(proxy, WL_DATA_DEVICE_RELEASE_SINCE_VERSION, wl_data_device_release);
}
inline void DestroyProxy(wl_data_source* proxy) { wl_data_source_destroy(proxy); }
inline void DestroyProxy(wl_data_offer* proxy) { wl_data_offer_destroy(proxy); }
inline void DestroyProxy(xdg_wm_base* proxy) { xdg_wm_base_destroy(proxy); }
inline void DestroyProxy(xdg_surface* proxy) { xdg_surface_destroy(proxy); }
inline void DestroyProxy(xdg_toplevel* proxy) { xdg_toplevel_destroy(proxy); }
inline void DestroyProxy(zwlr_layer_shell_v1* proxy) {
    ReleaseOrForget(proxy, ZWLR_LAYER_SHELL_V1_DESTROY_SINCE_VERSION, zwlr_layer_shell_v1_destroy);
}
inline void DestroyProxy(zwlr_layer_surface_v1* proxy) { zwlr_layer_surface_v1_destroy(proxy); }
inline void DestroyProxy(xdg_activation_v1* proxy) { xdg_activation_v1_destroy(proxy); }

template <typename Proxy>
struct ProxyDeleter {
    void operator()(Proxy* proxy) const {
        if (proxy != nullptr) DestroyProxy(proxy);
    }
};

template <typename Proxy>
using OwnedProxy = std::unique_ptr<Proxy, ProxyDeleter<Proxy>>;

}  // namespace platform

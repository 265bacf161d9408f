// xdg_activation_token_v1 listener: one token per request, read on a private queue so that no
// other event is handled while the launcher waits for it.
#include "platform/backends/wayland/wayland_activation.h"

namespace platform {
namespace {

void OnDone(void* data, xdg_activation_token_v1* /*token*/, const char* token) {
    *static_cast<std::optional<std::string>*>(data) = std::string(token);
}

constexpr xdg_activation_token_v1_listener kTokenListener{OnDone};

// The compositor answers at once; a few round trips allow for one that is busy.
constexpr int kRoundTrips = 4;

}  // namespace

std::optional<std::string> RequestActivationToken(wl_display* display,
                                                  xdg_activation_v1* activation, wl_seat* seat,
                                                  std::uint32_t serial, wl_surface* surface) {
    if (display == nullptr || activation == nullptr) return std::nullopt;
    wl_event_queue* queue = wl_display_create_queue(display);
    if (queue == nullptr) return std::nullopt;
    auto* wrapper = static_cast<xdg_activation_v1*>(wl_proxy_create_wrapper(activation));
    std::optional<std::string> token;
    if (wrapper != nullptr) {
        wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper), queue);
        xdg_activation_token_v1* request = xdg_activation_v1_get_activation_token(wrapper);
        wl_proxy_wrapper_destroy(wrapper);
        xdg_activation_token_v1_add_listener(request, &kTokenListener, &token);
        if (seat != nullptr && serial != 0) {
            xdg_activation_token_v1_set_serial(request, serial, seat);
        }
        if (surface != nullptr) xdg_activation_token_v1_set_surface(request, surface);
        xdg_activation_token_v1_commit(request);
        for (int trip = 0; trip < kRoundTrips && !token; ++trip) {
            if (wl_display_roundtrip_queue(display, queue) < 0) break;
        }
        xdg_activation_token_v1_destroy(request);
    }
    wl_event_queue_destroy(queue);
    return token;
}

}  // namespace platform

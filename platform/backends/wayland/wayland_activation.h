// Startup tokens (xdg-activation): a program the launcher starts hands the token to the
// compositor, which then gives it the focus that it would refuse a program stealing it.
#pragma once

#include <wayland-client.h>

#include <cstdint>
#include <optional>
#include <string>

#include "xdg-activation-v1-client-protocol.h"

namespace platform {

// Asks for a token on behalf of the user's input `serial` on `surface` (either may be absent);
// waits for the compositor's answer on a queue of its own. nullopt when none comes.
std::optional<std::string> RequestActivationToken(wl_display* display,
                                                  xdg_activation_v1* activation, wl_seat* seat,
                                                  std::uint32_t serial, wl_surface* surface);

}  // namespace platform

// The tick clock of the native backends: milliseconds of CLOCK_MONOTONIC, wrapping at 2^32.
#pragma once

#include <cstdint>

namespace platform {

std::uint32_t MonotonicTickCount();

}  // namespace platform

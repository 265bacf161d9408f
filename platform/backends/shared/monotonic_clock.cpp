// CLOCK_MONOTONIC never jumps with the wall clock, so timers and key repeats keep their pace.
#include "platform/backends/shared/monotonic_clock.h"

#include <time.h>

namespace platform {

std::uint32_t MonotonicTickCount() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto milliseconds = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                              static_cast<std::uint64_t>(now.tv_nsec) / 1'000'000u;
    return static_cast<std::uint32_t>(milliseconds);
}

}  // namespace platform

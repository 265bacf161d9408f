// How long another program may take to hand over its clipboard text, and the most of it that is
// taken: far more than any box holds, and no more than a paste may cost. For every backend.
#pragma once

#include <chrono>
#include <cstddef>

namespace platform {

inline constexpr std::chrono::milliseconds kClipboardWait{2000};
inline constexpr std::size_t kMaxClipboardBytes = std::size_t{64} << 20;

}  // namespace platform

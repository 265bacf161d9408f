// Plausible densities.
#include "platform/backends/shared/density.h"

#include <cmath>

namespace platform {
namespace {

constexpr float kLowestPlausibleDotsPerInch = 50.0F;
constexpr float kHighestPlausibleDotsPerInch = 1000.0F;

}  // namespace

int SaneDotsPerInch(float reported) {
    if (!std::isfinite(reported) || reported < kLowestPlausibleDotsPerInch ||
        reported > kHighestPlausibleDotsPerInch) {
        return kDefaultDotsPerInch;
    }
    return static_cast<int>(std::lround(reported));
}

}  // namespace platform

// A screen's density as the backends report it: what a server or driver says, when plausible.
#pragma once

namespace platform {

constexpr int kDefaultDotsPerInch = 96;

// `reported`, rounded, when it lies between 50 and 1000 dpi; beyond that it is a guess from a
// missing or bogus physical size, and 96 stands instead.
int SaneDotsPerInch(float reported);

}  // namespace platform

// The font families installed on the system, for letting the user pick a face by name.
#pragma once

#include <string>
#include <vector>

namespace platform {

// Every installed family name once, sorted without regard to case. A face with names in several
// languages contributes its English ones (or its first name when it has no English one).
std::vector<std::wstring> InstalledFontFamilies();

}  // namespace platform

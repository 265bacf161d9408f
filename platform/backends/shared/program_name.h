// The program file's name, by which desktops find its desktop entry: the Wayland app id and the
// X11 window class.
#pragma once

#include <string>

namespace platform {

// "TavrelPrj" for /any/folder/TavrelPrj; "tavrel" when the path is unknown.
std::string ProgramName();

}  // namespace platform

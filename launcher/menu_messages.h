// The message the menu window sends its parent to end the launcher.
#pragma once

#include "platform/windows/messages.h"

constexpr UINT WM_MENU_DONE = WM_USER + 1;

// What the X server tells of our windows that SDL does not pass on: a window destroyed by another
// client (xdotool windowclose, a misbehaving pager) and the size a window really has. X errors
// about such windows must not end the program: Xlib's default handler exits with status 1.
#pragma once

#include <SDL.h>

#include "platform/base/win_types.h"

namespace platform {

class SdlWindowTable;

// Keeps every X error from ending the program (each is reported once on standard error), for as
// long as SDL's X11 connection lives. Nothing on other drivers.
void KeepAliveOnX11Errors();

// The size the window has now: on X11 the server's answer, since the configure event SDL reports
// may be overtaken by later resizes of our own; elsewhere SDL's.
SIZE ActualWindowSize(SDL_Window* window);

// A window-system event SDL passed through: when it says that one of our windows was destroyed
// from outside, its SDL window is dropped and the window is asked to close, as a window
// manager's close would (a window that stays, the editor after "отмена", is shown anew). True
// when the event was taken.
bool HandleX11WindowEvent(const SDL_Event& event, SdlWindowTable& windows);

}  // namespace platform

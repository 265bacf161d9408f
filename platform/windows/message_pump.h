// Running the message loop: taking messages from the queue, letting the framework windows
// pre-translate them, and dispatching them.
#pragma once

#include "platform/windows/messages.h"

namespace platform {

// Offers the message to the PreTranslateMessage of its window and then of each parent in turn;
// true when one of them consumed it.
bool PreTranslateThroughWindows(MSG* message);
// Handles one message as the framework's loop does. False for WM_QUIT.
bool PumpOneMessage();
// Handles every message that is ready without waiting (input, posted, paints and due timers),
// then shows what changed. Returns the number of messages handled. Used by tests and by loops
// that must not block.
int ProcessPendingMessages();
// Whether the program has been asked to end (WM_QUIT waits in the queue): modal loops then end
// and new ones do not show.
bool IsQuitPosted();

}  // namespace platform

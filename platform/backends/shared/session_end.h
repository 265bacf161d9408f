// The end of the session: the signals that end it (SIGTERM, SIGINT, SIGHUP) seen as a readable
// descriptor by the backends that wait on their connection with poll, and what ending means for
// the program.
#pragma once

namespace platform {

// Read end of a pipe that becomes readable when one of those signals arrives; the handlers are
// installed on the first call.
int SessionSignalDescriptor();
// After such a signal (the pipe is drained): ends the session and returns true.
bool EndSessionIfSignalled();
// Every window is asked to close and the program to end, so that no modal loop (a message box)
// keeps it alive.
void EndSession();

}  // namespace platform

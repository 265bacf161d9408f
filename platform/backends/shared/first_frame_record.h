// Start-up measurement shared by the real-screen backends: with TAVREL_FIRST_FRAME_FILE set, the
// CLOCK_MONOTONIC time (ns) of the first picture put on screen is written to that file, once.
#pragma once

namespace platform {

void RecordFirstFrame();

}  // namespace platform

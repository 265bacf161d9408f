// Mapping the pages of a fresh buffer in one call when it is about to be written whole.
#pragma once

#include <cstddef>

namespace platform {

// Maps the whole pages inside [memory, memory + bytes) for writing now: one system call instead
// of a page fault for each on first write (some 10 us apiece on a virtual machine). Kernels
// before 5.14 lack the call; the pages then come one fault at a time, as without it.
void MapPagesForWriting(void* memory, std::size_t bytes);

}  // namespace platform

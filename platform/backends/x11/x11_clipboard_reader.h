// Reading another X11 program's CLIPBOARD text over a connection of our own, so that nothing of
// the program's own connection waits on it: in one piece, or in the chunks of the INCR protocol
// that large texts come in.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

namespace platform {

// The text (UTF-8) that the selection's owner on `displayName` gives, up to `limit` bytes;
// nullopt when there is no owner or none answers before `timeout`.
std::optional<std::string> ReadX11ClipboardText(const std::string& displayName,
                                                std::chrono::milliseconds timeout,
                                                std::size_t limit);

}  // namespace platform

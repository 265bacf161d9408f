// The calling thread's last error, as the system's calls leave it on failure (here the C
// library's errno codes), and its text for a message to the user.
#pragma once

#include <string>

#include "platform/base/win_types.h"

DWORD GetLastError();
void SetLastError(DWORD error);

namespace platform {

// The system's own wording of an error code ("Permission denied", "No space left on device").
std::wstring ErrorText(DWORD error);

}  // namespace platform

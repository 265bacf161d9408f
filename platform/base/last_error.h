// The calling thread's last error, as the system's calls leave it on failure (here the C
// library's errno codes), and its text for a message to the user.
#pragma once

#include <string>

#include "platform/base/win_types.h"

DWORD GetLastError();
void SetLastError(DWORD error);

namespace platform {

// The platform's own error codes, beyond the C library's.
constexpr DWORD kErrorNotRegularFile = 0x20000001;  // a device, a named pipe or a socket

// The system's own wording of an error code ("Permission denied", "No space left on device").
std::wstring ErrorText(DWORD error);

}  // namespace platform

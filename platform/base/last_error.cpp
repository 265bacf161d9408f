#include "platform/base/last_error.h"

#include <cstring>

#include "platform/base/text_encoding.h"

namespace {

thread_local DWORD lastError = 0;

}  // namespace

DWORD GetLastError() { return lastError; }

void SetLastError(DWORD error) { lastError = error; }

namespace platform {

std::wstring ErrorText(DWORD error) {
    if (error == kErrorNotRegularFile) {
        return L"Not a regular file (a device, a named pipe or a socket)";
    }
    char buffer[256] = {};
    // The GNU variant returns the text, which may or may not be in the buffer.
    const char* text = ::strerror_r(static_cast<int>(error), buffer, sizeof(buffer));
    return WideFromUtf8(text != nullptr ? text : "");
}

}  // namespace platform

// The steps of the file layer as tests see them: each asks the failure injector first (see
// SetFileFailureInjector), so that a test can make any one of them fail as the system would.
#pragma once

#include <string_view>

#include "platform/files/file_api.h"

namespace platform {

// True when the test's injector wants `step` to fail; errno is then EIO, as a disk error sets it.
bool InjectedFailure(FileStep step);

// Writes all of `content`, retrying interrupted and partial writes; false (errno set) on failure.
bool WriteAll(int descriptor, std::string_view content);

}  // namespace platform

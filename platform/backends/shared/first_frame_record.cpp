// The first frame's time goes beside the file and is renamed over it, so a reader never sees
// half of it.
#include "platform/backends/shared/first_frame_record.h"

#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace platform {

void RecordFirstFrame() {
    static bool recorded = false;
    if (recorded) return;
    recorded = true;
    const char* path = std::getenv("TAVREL_FIRST_FRAME_FILE");
    if (path == nullptr || *path == '\0') return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const std::string temporary = std::string(path) + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "w");
    if (file == nullptr) return;
    std::fprintf(file, "%lld\n",
                 static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec);
    if (std::fclose(file) == 0) std::rename(temporary.c_str(), path);
}

}  // namespace platform

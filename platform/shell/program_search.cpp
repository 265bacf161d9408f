// Looking programs up in PATH.
#include "platform/shell/program_search.h"

#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string FindExecutable(const std::string& name, const std::vector<std::string>& searchPath) {
    if (name.empty()) return std::string();
    if (name.find('/') != std::string::npos) {
        return name.front() == '/' && IsExecutableFile(name) ? name : std::string();
    }
    for (const std::string& folder : searchPath) {
        std::string candidate = folder + "/" + name;
        if (IsExecutableFile(candidate)) return candidate;
    }
    return std::string();
}

}  // namespace platform

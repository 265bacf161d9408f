// Walking the applications folders by desktop-file ID.
#include "platform/shell/desktop_files.h"

#include <algorithm>
#include <filesystem>
#include <unordered_set>
#include <utility>
#include <vector>

namespace platform {
namespace {

void VisitFolder(const std::string& folder, std::unordered_set<std::string>& claimedIds,
                 const std::function<bool(const std::string&, const std::string&)>& visit) {
    namespace fs = std::filesystem;
    std::error_code error;
    std::vector<std::pair<std::string, std::string>> files;  // ID, path
    fs::recursive_directory_iterator walker(folder, fs::directory_options::skip_permission_denied,
                                            error);
    for (const fs::recursive_directory_iterator end; !error && walker != end;
         walker.increment(error)) {
        const fs::path& path = walker->path();
        // Its own error code: a broken link must not end the walk.
        std::error_code entryError;
        if (path.extension() != ".desktop" || walker->is_directory(entryError)) continue;
        std::string id = path.lexically_relative(folder).string();
        std::replace(id.begin(), id.end(), '/', '-');
        files.emplace_back(std::move(id), path.string());
    }
    // Sorted, so which of two files wins does not depend on the order on disk.
    std::sort(files.begin(), files.end());
    for (const auto& [id, path] : files) {
        if (!claimedIds.contains(id) && visit(id, path)) claimedIds.insert(id);
    }
}

}  // namespace

void ForEachDesktopFile(
    const XdgDirectories& directories,
    const std::function<bool(const std::string& id, const std::string& path)>& visit) {
    std::unordered_set<std::string> claimedIds;
    VisitFolder(directories.dataHome + "/applications", claimedIds, visit);
    for (const std::string& data : directories.dataDirs) {
        VisitFolder(data + "/applications", claimedIds, visit);
    }
}

}  // namespace platform

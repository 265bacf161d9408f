// Walking the applications folders by desktop-file ID.
#include "platform/shell/desktop_files.h"

#include <algorithm>
#include <filesystem>
#include <unordered_set>
#include <utility>

namespace platform {
namespace {

void ListFolder(const std::string& folder, std::vector<DesktopFile>& files) {
    namespace fs = std::filesystem;
    std::error_code error;
    const std::size_t first = files.size();
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
        files.push_back({std::move(id), path.string()});
    }
    // Sorted, so which of two files wins does not depend on the order on disk.
    std::sort(files.begin() + static_cast<std::ptrdiff_t>(first), files.end(),
              [](const DesktopFile& a, const DesktopFile& b) {
                  return a.id != b.id ? a.id < b.id : a.path < b.path;
              });
}

}  // namespace

std::vector<DesktopFile> ListDesktopFiles(const XdgDirectories& directories) {
    std::vector<DesktopFile> files;
    ListFolder(directories.dataHome + "/applications", files);
    for (const std::string& data : directories.dataDirs) ListFolder(data + "/applications", files);
    return files;
}

void ForEachDesktopFile(
    const XdgDirectories& directories,
    const std::function<bool(const std::string& id, const std::string& path)>& visit) {
    std::unordered_set<std::string> claimedIds;
    for (const DesktopFile& file : ListDesktopFiles(directories)) {
        if (!claimedIds.contains(file.id) && visit(file.id, file.path)) {
            claimedIds.insert(file.id);
        }
    }
}

}  // namespace platform

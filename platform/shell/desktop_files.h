// The applications' desktop files, found by desktop-file ID in the XDG data folders.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/shell/xdg_directories.h"

namespace platform {

struct DesktopFile {
    std::string id;
    std::string path;
};

// Every *.desktop path under $XDG_DATA_HOME/applications and then each
// $XDG_DATA_DIRS/applications, in order of precedence, with its desktop-file ID (the path below
// the applications folder, '/' turned into '-'); an ID may come more than once. Within one folder
// the files come sorted by ID; anything that is no folder is listed, so that a reader can tell a
// named pipe or a device from an entry.
std::vector<DesktopFile> ListDesktopFiles(const XdgDirectories& directories);

// Calls `visit` with each *.desktop path under $XDG_DATA_HOME/applications and then each
// $XDG_DATA_DIRS/applications, in order of precedence, together with its desktop-file ID (the
// path below the applications folder, '/' turned into '-'). An ID that a visit claimed (by
// returning true) is not offered again, so the user's entry hides the system's of the same ID.
void ForEachDesktopFile(
    const XdgDirectories& directories,
    const std::function<bool(const std::string& id, const std::string& path)>& visit);

}  // namespace platform

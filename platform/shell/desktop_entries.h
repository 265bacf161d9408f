// The applications' .desktop entries: which icon a program's entry names, and the icon of a
// given .desktop file.
#pragma once

#include <optional>
#include <string>

namespace platform {

// The Icon of the entry whose Exec or TryExec runs the program at `programPath` (an absolute
// path), from the entries in $XDG_DATA_HOME/applications and each $XDG_DATA_DIRS/applications.
// The index is built on the first call and kept until ResetDesktopEntryIndex().
std::optional<std::string> FindProgramIcon(const std::string& programPath);

// The Icon of one .desktop file; nullopt when it has none or cannot be read.
std::optional<std::string> ReadDesktopFileIcon(const std::string& path);

// The program an Exec line runs: its first word, unquoted, with a leading `env VAR=value`
// skipped; empty when there is none.
std::string ProgramOfExec(const std::string& exec);

void ResetDesktopEntryIndex();

}  // namespace platform

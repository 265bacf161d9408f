// The Exec key of desktop entries: its field codes expanded and its command line split into the
// program's arguments as the desktops' own launchers do it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// What the field codes stand for when an application is started without files or URLs.
struct ExecFields {
    std::string icon;         // %i gives --icon and this, or nothing when it is empty
    std::string name;         // %c, the translated Name
    std::string desktopFile;  // %k, the entry's own path
};

// The words of the command line, after expanding the field codes (%f %F %u %U and the
// deprecated %d %D %n %N %v %m vanish, %% is a percent sign; expansions are quoted, so a name
// with spaces stays one word) and unquoting as a shell does: blanks separate, single quotes keep
// their text literally, double quotes keep it but for a backslash before " ` $ \, a backslash
// elsewhere takes the next character literally, and a # that begins a word begins a comment.
// nullopt when a quote is left open.
std::optional<std::vector<std::string>> SplitExec(std::string_view exec,
                                                  const ExecFields& fields = {});

}  // namespace platform

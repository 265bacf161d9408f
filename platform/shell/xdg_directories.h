// Where the desktop's shared data lives (XDG base directories and PATH), read from the
// environment once per cache generation so tests can point it at a temporary tree.
#pragma once

#include <string>
#include <vector>

namespace platform {

struct XdgDirectories {
    std::string home;
    std::string dataHome;                     // $XDG_DATA_HOME, else ~/.local/share
    std::vector<std::string> dataDirs;        // $XDG_DATA_DIRS, else /usr/local/share:/usr/share
    std::string configHome;                   // $XDG_CONFIG_HOME, else ~/.config
    std::vector<std::string> configDirs;      // $XDG_CONFIG_DIRS, else /etc/xdg
    std::vector<std::string> executablePath;  // $PATH

    // Relative entries are ignored, as the base directory rules require.
    static XdgDirectories FromEnvironment();
};

}  // namespace platform

// Reading the XDG base directory variables with their documented defaults.
#include "platform/shell/xdg_directories.h"

#include <cstdlib>
#include <string_view>

namespace platform {
namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

std::vector<std::string> AbsoluteEntries(std::string_view list) {
    std::vector<std::string> entries;
    while (!list.empty()) {
        const std::size_t colon = list.find(':');
        std::string_view entry = list.substr(0, colon);
        while (entry.size() > 1 && entry.back() == '/') entry.remove_suffix(1);
        if (!entry.empty() && entry.front() == '/') entries.emplace_back(entry);
        if (colon == std::string_view::npos) break;
        list.remove_prefix(colon + 1);
    }
    return entries;
}

std::string AbsoluteOr(std::string value, const std::string& fallback) {
    while (value.size() > 1 && value.back() == '/') value.pop_back();
    return !value.empty() && value.front() == '/' ? value : fallback;
}

std::vector<std::string> ListOr(const std::string& value, std::string_view fallback) {
    std::vector<std::string> entries = AbsoluteEntries(value);
    return entries.empty() ? AbsoluteEntries(fallback) : entries;
}

}  // namespace

XdgDirectories XdgDirectories::FromEnvironment() {
    XdgDirectories directories;
    directories.home = Variable("HOME");
    directories.dataHome =
        AbsoluteOr(Variable("XDG_DATA_HOME"), directories.home + "/.local/share");
    directories.dataDirs = ListOr(Variable("XDG_DATA_DIRS"), "/usr/local/share:/usr/share");
    directories.configHome = AbsoluteOr(Variable("XDG_CONFIG_HOME"), directories.home + "/.config");
    directories.configDirs = ListOr(Variable("XDG_CONFIG_DIRS"), "/etc/xdg");
    directories.executablePath = AbsoluteEntries(Variable("PATH"));
    return directories;
}

}  // namespace platform

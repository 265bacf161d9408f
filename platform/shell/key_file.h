// The desktop's "key file" format ([Group] headers, Key=Value lines), as used by .desktop
// files, icon theme indexes and GTK's settings.ini.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {

class KeyFile {
  public:
    // nullopt when the file cannot be read, is no regular file or is larger than a key file can
    // sensibly be (1 MiB).
    static std::optional<KeyFile> Load(const std::string& path);
    // Lines outside a group, comments and lines without '=' are ignored; escapes (\s \n \t \r
    // \\) in values are decoded; the first of repeated keys wins.
    static KeyFile Parse(std::string_view text);
    // Only the keys that `keep` accepts (given their group and key), for readers that need a
    // few keys of files that hold many (a desktop entry's translations).
    using KeyFilter = std::function<bool(std::string_view group, std::string_view key)>;
    static KeyFile Parse(std::string_view text, const KeyFilter& keep);

    bool HasGroup(std::string_view group) const;
    const std::string* Find(std::string_view group, std::string_view key) const;
    std::string String(std::string_view group, std::string_view key,
                       std::string_view fallback = {}) const;
    // Falls back for a missing value or one that is not a whole number.
    int Integer(std::string_view group, std::string_view key, int fallback) const;
    bool Boolean(std::string_view group, std::string_view key, bool fallback) const;
    // Comma- (or `separator`-) separated values, without empty entries.
    std::vector<std::string> List(std::string_view group, std::string_view key,
                                  char separator = ',') const;

  private:
    using Group = std::unordered_map<std::string, std::string>;
    std::unordered_map<std::string, Group> groups_;
};

}  // namespace platform

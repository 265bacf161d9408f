// GTK's icon-theme.cache of a theme folder: which icon files each size directory holds, so a
// lookup needs no directory listing. Used only while no directory has changed since it was made.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class IconThemeCache {
  public:
    // The cache of `root` for its size `directories` (paths relative to it, as index.theme
    // names them); nullopt when it is missing or malformed, or when one of those directories
    // changed after it was written (so that a listing could find something it does not know).
    static std::optional<IconThemeCache> Open(const std::string& root,
                                              const std::vector<std::string>& directories);

    // Calls visit(directory, scalable) for each PNG (false) and SVG (true) file of the icon,
    // `directory` being an index into the directories given to Open.
    void ForEachFile(std::string_view name,
                     const std::function<void(std::uint32_t, bool)>& visit) const;

  private:
    IconThemeCache() = default;
    // Whether every chain ends and every name and image list lies inside the file.
    bool EveryIconReadable() const;
    bool Read16(std::uint32_t offset, std::uint32_t* value) const;
    bool Read32(std::uint32_t offset, std::uint32_t* value) const;
    // The NUL-terminated string at `offset`; nullopt when it runs past the end.
    std::optional<std::string_view> StringAt(std::uint32_t offset) const;

    std::string bytes_;
    std::uint32_t hashOffset_ = 0;
    std::uint32_t bucketCount_ = 0;
    std::vector<std::int64_t> directoryOf_;  // cache directory -> index given to Open, or -1
};

}  // namespace platform

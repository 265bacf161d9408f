// Reading GTK's icon-theme.cache (format version 1, big-endian): a header with the offsets of
// a hash table and a directory list; each hash bucket chains icons by name, each icon lists
// (directory, suffix flags) pairs. Every offset is checked against the file's size.
#include "platform/shell/icon_theme_cache.h"

#include <sys/stat.h>

#include <cstring>
#include <unordered_map>

#include "platform/files/regular_file.h"

namespace platform {
namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFF;
// The largest themes' caches are a few megabytes; a file beyond this is not read.
constexpr std::size_t kMaxFileSize = std::size_t{64} << 20;
constexpr std::uint32_t kSvgSuffix = 1u << 1;
constexpr std::uint32_t kPngSuffix = 1u << 2;

// GTK's icon name hash: h = h * 31 + c over signed characters.
std::uint32_t IconNameHash(std::string_view name) {
    std::uint32_t hash = 0;
    for (std::size_t index = 0; index < name.size(); ++index) {
        const auto character = static_cast<std::uint32_t>(
            static_cast<std::int32_t>(static_cast<signed char>(name[index])));
        hash = index == 0 ? character : (hash << 5) - hash + character;
    }
    return hash;
}

bool Newer(const timespec& a, const timespec& b) {
    return a.tv_sec != b.tv_sec ? a.tv_sec > b.tv_sec : a.tv_nsec > b.tv_nsec;
}

// The form gtk-update-icon-cache writes a directory in: no "./", no repeated or trailing '/'.
std::string Normalised(std::string_view path) {
    std::string normal;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view part = path.substr(start, end - start);
        if (!part.empty() && part != ".") {
            if (!normal.empty()) normal += '/';
            normal += part;
        }
        start = end + 1;
    }
    return normal;
}

}  // namespace

std::optional<IconThemeCache> IconThemeCache::Open(const std::string& root,
                                                   const std::vector<std::string>& directories) {
    const std::string path = root + "/icon-theme.cache";
    struct stat cacheStatus {};
    if (::stat(path.c_str(), &cacheStatus) != 0 || !S_ISREG(cacheStatus.st_mode)) {
        return std::nullopt;
    }
    IconThemeCache cache;
    std::optional<std::string> bytes = ReadRegularFile(path, kMaxFileSize);
    if (!bytes) return std::nullopt;
    cache.bytes_ = std::move(*bytes);
    std::uint32_t major = 0;
    std::uint32_t directoryListOffset = 0;
    std::uint32_t directoryCount = 0;
    if (!cache.Read16(0, &major) || major != 1 || !cache.Read32(4, &cache.hashOffset_) ||
        !cache.Read32(8, &directoryListOffset) ||
        !cache.Read32(cache.hashOffset_, &cache.bucketCount_) || cache.bucketCount_ == 0 ||
        !cache.Read32(directoryListOffset, &directoryCount)) {
        return std::nullopt;
    }

    std::unordered_map<std::string, std::size_t> indexOf;
    for (std::size_t index = 0; index < directories.size(); ++index) {
        indexOf.emplace(Normalised(directories[index]), index);
    }
    std::vector<bool> listed(directories.size(), false);
    for (std::uint32_t index = 0; index < directoryCount; ++index) {
        std::uint32_t nameOffset = 0;
        if (!cache.Read32(directoryListOffset + 4 + 4 * index, &nameOffset)) return std::nullopt;
        const std::optional<std::string_view> name = cache.StringAt(nameOffset);
        if (!name) return std::nullopt;
        const auto found = indexOf.find(Normalised(*name));
        cache.directoryOf_.push_back(
            found == indexOf.end() ? -1 : static_cast<std::int64_t>(found->second));
        if (found != indexOf.end()) listed[found->second] = true;
    }
    if (!cache.EveryIconReadable()) return std::nullopt;

    // A directory changed after the cache (an icon added, removed or renamed) or one the cache
    // lists that is gone: only a listing tells what it holds now. A directory the cache does
    // not list held no icons when it was made.
    for (std::size_t index = 0; index < directories.size(); ++index) {
        struct stat status {};
        const bool exists = ::stat((root + "/" + directories[index]).c_str(), &status) == 0 &&
                            S_ISDIR(status.st_mode);
        if (exists ? Newer(status.st_mtim, cacheStatus.st_mtim) : listed[index]) {
            return std::nullopt;
        }
    }
    return cache;
}

void IconThemeCache::ForEachFile(std::string_view name,
                                 const std::function<void(std::uint32_t, bool)>& visit) const {
    std::uint32_t icon = 0;
    if (!Read32(hashOffset_ + 4 + 4 * (IconNameHash(name) % bucketCount_), &icon)) return;
    // Open checked every chain and list, so the walk ends and every read succeeds.
    while (icon != kEndOfChain) {
        std::uint32_t next = 0;
        std::uint32_t nameOffset = 0;
        std::uint32_t imagesOffset = 0;
        if (!Read32(icon, &next) || !Read32(icon + 4, &nameOffset) ||
            !Read32(icon + 8, &imagesOffset)) {
            return;
        }
        if (StringAt(nameOffset) == name) {
            std::uint32_t count = 0;
            if (!Read32(imagesOffset, &count)) return;
            for (std::uint32_t image = 0; image < count; ++image) {
                std::uint32_t directory = 0;
                std::uint32_t flags = 0;
                const std::uint32_t at = imagesOffset + 4 + 8 * image;
                if (!Read16(at, &directory) || !Read16(at + 2, &flags)) return;
                if (directoryOf_[directory] < 0) continue;
                const auto index = static_cast<std::uint32_t>(directoryOf_[directory]);
                if ((flags & kPngSuffix) != 0) visit(index, false);
                if ((flags & kSvgSuffix) != 0) visit(index, true);
            }
            return;
        }
        icon = next;
    }
}

bool IconThemeCache::EveryIconReadable() const {
    // Each chain link is 12 bytes: more links than the file can hold means a loop.
    std::size_t links = 0;
    for (std::uint32_t bucket = 0; bucket < bucketCount_; ++bucket) {
        std::uint32_t icon = 0;
        if (!Read32(hashOffset_ + 4 + 4 * bucket, &icon)) return false;
        while (icon != kEndOfChain) {
            std::uint32_t nameOffset = 0;
            std::uint32_t imagesOffset = 0;
            std::uint32_t count = 0;
            if (++links > bytes_.size() / 12 || !Read32(icon + 4, &nameOffset) ||
                !StringAt(nameOffset) || !Read32(icon + 8, &imagesOffset) ||
                !Read32(imagesOffset, &count) ||
                static_cast<std::size_t>(imagesOffset) + 4 + std::size_t{8} * count >
                    bytes_.size()) {
                return false;
            }
            for (std::uint32_t image = 0; image < count; ++image) {
                std::uint32_t directory = 0;
                if (!Read16(imagesOffset + 4 + 8 * image, &directory) ||
                    directory >= directoryOf_.size()) {
                    return false;
                }
            }
            if (!Read32(icon, &icon)) return false;
        }
    }
    return true;
}

bool IconThemeCache::Read16(std::uint32_t offset, std::uint32_t* value) const {
    if (static_cast<std::size_t>(offset) + 2 > bytes_.size()) return false;
    const auto* bytes = reinterpret_cast<const unsigned char*>(bytes_.data()) + offset;
    *value = (static_cast<std::uint32_t>(bytes[0]) << 8) | bytes[1];
    return true;
}

bool IconThemeCache::Read32(std::uint32_t offset, std::uint32_t* value) const {
    if (static_cast<std::size_t>(offset) + 4 > bytes_.size()) return false;
    const auto* bytes = reinterpret_cast<const unsigned char*>(bytes_.data()) + offset;
    *value = (static_cast<std::uint32_t>(bytes[0]) << 24) |
             (static_cast<std::uint32_t>(bytes[1]) << 16) |
             (static_cast<std::uint32_t>(bytes[2]) << 8) | bytes[3];
    return true;
}

std::optional<std::string_view> IconThemeCache::StringAt(std::uint32_t offset) const {
    if (offset >= bytes_.size()) return std::nullopt;
    const void* end = std::memchr(bytes_.data() + offset, '\0', bytes_.size() - offset);
    if (end == nullptr) return std::nullopt;
    return std::string_view(
        bytes_.data() + offset,
        static_cast<std::size_t>(static_cast<const char*>(end) - (bytes_.data() + offset)));
}

}  // namespace platform

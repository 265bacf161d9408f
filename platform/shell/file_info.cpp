// SHGetFileInfo's icon lookup: desktop entry, then icon theme by program name, then a generic
// icon for the kind of file; results are cached per path.
#include "platform/shell/file_info.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/base/system_metrics.h"
#include "platform/base/text_encoding.h"
#include "platform/graphics/icon.h"
#include "platform/shell/desktop_entries.h"
#include "platform/shell/icon_theme.h"

namespace platform {
namespace {

using IconFiles = std::shared_ptr<const std::vector<IconFile>>;

std::string Lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Lower-case extension without the dot; empty when there is none.
std::string Extension(const std::string& path) {
    const std::string name = BaseName(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? std::string() : Lowercase(name.substr(dot + 1));
}

bool IsWebAddress(const std::string& path) {
    const std::string start = Lowercase(path.substr(0, 8));
    return start.starts_with("http://") || start.starts_with("https://");
}

enum class PathKind { Missing, WebAddress, Folder, DesktopFile, Program, Document };

PathKind Classify(const std::string& path) {
    if (IsWebAddress(path)) return PathKind::WebAddress;
    struct stat status {};
    if (path.empty() || ::stat(path.c_str(), &status) != 0) return PathKind::Missing;
    if (S_ISDIR(status.st_mode)) return PathKind::Folder;
    if (S_ISREG(status.st_mode) && Extension(path) == "desktop") return PathKind::DesktopFile;
    if (S_ISREG(status.st_mode) && (status.st_mode & 0111) != 0) return PathKind::Program;
    return PathKind::Document;
}

IconFiles FirstThemeIcon(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (IconFiles files = FindThemeIcon(name)) return files;
    }
    return nullptr;
}

// An entry's Icon: a PNG or SVG file named by absolute path is used as it is; anything else is
// an icon name (a legacy extension dropped), and so is the stem of a file we cannot draw (XPM).
IconFiles FilesForIconValue(const std::string& value) {
    if (value.empty()) return nullptr;
    std::string name = value;
    if (value.front() == '/') {
        const std::string extension = Extension(value);
        struct stat status {};
        if ((extension == "png" || extension == "svg") && ::stat(value.c_str(), &status) == 0 &&
            S_ISREG(status.st_mode)) {
            return std::make_shared<const std::vector<IconFile>>(1, IconFileForPath(value));
        }
        name = BaseName(value);
    }
    const std::string extension = Extension(name);
    if (extension == "png" || extension == "svg" || extension == "xpm") {
        name.resize(name.size() - extension.size() - 1);
    }
    return FindThemeIcon(name);
}

IconFiles GenericDocumentIcon(const std::string& path) {
    static const std::unordered_map<std::string, std::string> kIconByExtension = [] {
        std::unordered_map<std::string, std::string> table;
        const auto add = [&table](std::initializer_list<const char*> extensions, const char* icon) {
            for (const char* extension : extensions) table.emplace(extension, icon);
        };
        add({"txt", "text", "log", "md", "ini", "conf", "cfg"}, "text-x-generic");
        add({"png", "jpg", "jpeg", "gif", "bmp", "webp", "svg", "tif", "tiff", "ico", "xpm"},
            "image-x-generic");
        add({"mp3", "ogg", "oga", "opus", "wav", "flac", "m4a", "aac", "wma", "mid", "midi"},
            "audio-x-generic");
        add({"mp4", "m4v", "mkv", "avi", "mov", "webm", "mpg", "mpeg", "wmv", "ogv", "3gp"},
            "video-x-generic");
        add({"pdf"}, "application-pdf");
        add({"html", "htm", "xhtml", "url"}, "text-html");
        add({"zip", "tar", "gz", "tgz", "bz2", "xz", "7z", "rar", "cab", "deb"},
            "package-x-generic");
        add({"doc", "docx", "odt", "rtf"}, "x-office-document");
        add({"xls", "xlsx", "ods", "csv"}, "x-office-spreadsheet");
        add({"ppt", "pptx", "odp"}, "x-office-presentation");
        return table;
    }();
    auto found = kIconByExtension.find(Extension(path));
    if (found != kIconByExtension.end()) {
        if (IconFiles files = FindThemeIcon(found->second)) return files;
    }
    return FirstThemeIcon({"text-x-generic", "unknown"});
}

IconFiles LookUp(PathKind kind, const std::string& path) {
    switch (kind) {
        case PathKind::Missing:
            return nullptr;
        case PathKind::WebAddress:
            return FirstThemeIcon({"text-html", "web-browser"});
        case PathKind::Folder:
            return FirstThemeIcon({"folder", "inode-directory"});
        case PathKind::DesktopFile:
            if (std::optional<std::string> icon = ReadDesktopFileIcon(path)) {
                if (IconFiles files = FilesForIconValue(*icon)) return files;
            }
            return FirstThemeIcon({"application-x-executable"});
        case PathKind::Program:
            if (std::optional<std::string> icon = FindProgramIcon(path)) {
                if (IconFiles files = FilesForIconValue(*icon)) return files;
            }
            if (IconFiles files = FindThemeIcon(BaseName(path))) return files;
            return FirstThemeIcon({"application-x-executable"});
        case PathKind::Document:
            return GenericDocumentIcon(path);
    }
    return nullptr;
}

// Results per path and kind. Whether the path exists is checked on every call (one stat), so a
// program installed later is found; what it maps to is cached.
std::unordered_map<std::string, IconFiles>& Results() {
    static std::unordered_map<std::string, IconFiles> results;
    return results;
}

IconFiles CachedLookUp(const std::string& path) {
    const PathKind kind = Classify(path);
    if (kind == PathKind::Missing) return nullptr;
    std::string key = path;
    key += static_cast<char>('0' + static_cast<int>(kind));
    auto found = Results().find(key);
    if (found == Results().end())
        found = Results().emplace(std::move(key), LookUp(kind, path)).first;
    return found->second;
}

}  // namespace

void ResetIconLookupCaches() {
    Results().clear();
    ResetIconThemeCache();
    ResetDesktopEntryIndex();
}

}  // namespace platform

DWORD_PTR SHGetFileInfo(const wchar_t* path, DWORD /*fileAttributes*/, SHFILEINFO* info,
                        UINT infoSize, UINT flags) {
    if (path == nullptr) return 0;
    const bool wantIcon = (flags & SHGFI_ICON) != 0;
    if (wantIcon && (info == nullptr || infoSize < sizeof(SHFILEINFO))) return 0;
    const std::string utf8 = platform::Utf8FromWide(path);
    if (!wantIcon) return platform::Classify(utf8) != platform::PathKind::Missing ? 1 : 0;

    info->hIcon = nullptr;
    info->iIcon = 0;
    platform::IconFiles files = platform::CachedLookUp(utf8);
    if (!files) return 0;
    const bool small = (flags & SHGFI_SMALLICON) != 0;
    const SIZE size{GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON),
                    GetSystemMetrics(small ? SM_CYSMICON : SM_CYICON)};
    info->hIcon = platform::CreateIconFromFiles(std::move(files), size);
    return info->hIcon != nullptr ? 1 : 0;
}

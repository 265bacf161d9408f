// SHGetFileInfo's icon lookup: desktop entry, then icon theme by program name, then a generic
// icon for the kind of file. Each icon found comes with those after it, which stand in for it
// when its files cannot be read. Results are cached per path.
#include "platform/shell/file_info.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <map>
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

using IconFiles = IconFileSet;
using Choices = std::shared_ptr<const IconChoices>;

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

// The icons found, in order of preference, each once.
class ChoiceList {
  public:
    void Add(const IconFiles& files) {
        if (files && std::find(list_.begin(), list_.end(), files) == list_.end()) {
            list_.push_back(files);
        }
    }
    void AddThemeIcons(std::initializer_list<const char*> names) {
        for (const char* name : names) Add(FindThemeIcon(name));
    }
    IconChoices Take() { return std::move(list_); }

  private:
    IconChoices list_;
};

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

void AddDocumentIcons(const std::string& path, ChoiceList& choices) {
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
    if (found != kIconByExtension.end()) choices.Add(FindThemeIcon(found->second));
    choices.AddThemeIcons({"text-x-generic", "unknown"});
}

IconChoices LookUp(PathKind kind, const std::string& path) {
    ChoiceList choices;
    switch (kind) {
        case PathKind::Missing:
            break;
        case PathKind::WebAddress:
            choices.AddThemeIcons({"text-html", "web-browser"});
            break;
        case PathKind::Folder:
            choices.AddThemeIcons({"folder", "inode-directory"});
            break;
        case PathKind::DesktopFile:
            if (std::optional<std::string> icon = ReadDesktopFileIcon(path)) {
                choices.Add(FilesForIconValue(*icon));
            }
            choices.AddThemeIcons({"application-x-executable"});
            break;
        case PathKind::Program:
            if (std::optional<std::string> icon = FindProgramIcon(path)) {
                choices.Add(FilesForIconValue(*icon));
            }
            choices.Add(FindThemeIcon(BaseName(path)));
            choices.AddThemeIcons({"application-x-executable"});
            break;
        case PathKind::Document:
            AddDocumentIcons(path, choices);
            break;
    }
    return choices.Take();
}

// One object per distinct list of choices, so that every path whose lookup ends in the same
// icons gets icons that share their decoded images.
std::map<IconChoices, Choices>& InternedChoices() {
    static std::map<IconChoices, Choices> interned;
    return interned;
}

Choices Interned(IconChoices list) {
    std::map<IconChoices, Choices>& interned = InternedChoices();
    if (list.empty()) return nullptr;
    auto found = interned.find(list);
    if (found == interned.end()) {
        auto choices = std::make_shared<const IconChoices>(list);
        found = interned.emplace(std::move(list), std::move(choices)).first;
    }
    return found->second;
}

// Results per path and kind. Whether the path exists is checked on every call (one stat), so a
// program installed later is found; what it maps to is cached.
std::unordered_map<std::string, Choices>& Results() {
    static std::unordered_map<std::string, Choices> results;
    return results;
}

Choices CachedLookUp(const std::string& path) {
    const PathKind kind = Classify(path);
    if (kind == PathKind::Missing) return nullptr;
    std::string key = path;
    key += static_cast<char>('0' + static_cast<int>(kind));
    auto found = Results().find(key);
    if (found == Results().end())
        found = Results().emplace(std::move(key), Interned(LookUp(kind, path))).first;
    return found->second;
}

}  // namespace

void ResetIconLookupCaches() {
    Results().clear();
    InternedChoices().clear();
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
    platform::Choices choices = platform::CachedLookUp(utf8);
    if (!choices) return 0;
    const bool small = (flags & SHGFI_SMALLICON) != 0;
    const SIZE size{GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON),
                    GetSystemMetrics(small ? SM_CYSMICON : SM_CYICON)};
    info->hIcon = platform::CreateIconFromChoices(choices, size);
    return info->hIcon != nullptr ? 1 : 0;
}

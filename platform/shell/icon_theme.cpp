// Icon theme lookup: index.theme parsing, GTK's icon-theme.cache where it is current, else one
// directory scan per theme folder; results are cached.
#include "platform/shell/icon_theme.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "platform/base/startup_steps.h"
#include "platform/shell/icon_theme_cache.h"
#include "platform/shell/key_file.h"

namespace platform {
namespace {

bool IsDirectory(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

struct DirectoryCloser {
    void operator()(DIR* directory) const { ::closedir(directory); }
};

// Calls `visit(stem, scalable)` for each PNG and SVG file in the folder. Theme files are
// lower-case by convention, so only lower-case extensions count; XPM is left out on purpose.
template <typename Visit>
void ForEachIconFile(const std::string& folder, Visit visit) {
    std::unique_ptr<DIR, DirectoryCloser> directory(::opendir(folder.c_str()));
    if (!directory) return;
    while (const dirent* entry = ::readdir(directory.get())) {
        const std::string_view name = entry->d_name;
        if (name.size() <= 4) continue;
        const std::string_view extension = name.substr(name.size() - 4);
        if (extension != ".png" && extension != ".svg") continue;
        visit(name.substr(0, name.size() - 4), extension == ".svg");
    }
}

// A size directory of a theme, with the range of pixel sizes its icons were made for.
struct ThemeDirectory {
    std::string path;  // relative to the theme's folder
    int pixels = 0;
    int minPixels = 0;
    int maxPixels = 0;
};

class Theme {
  public:
    // Null when no base directory holds the theme's index.theme.
    static std::unique_ptr<Theme> Load(const std::string& name,
                                       const std::vector<std::string>& baseDirectories);

    const std::vector<std::string>& Parents() const { return parents_; }
    // Adds the theme's files for the icon, indexing the theme's folders on first use.
    void AppendFiles(const std::string& iconName, std::vector<IconFile>& files);
    void Index() {
        if (!indexed_) BuildIndex();
    }

  private:
    struct Entry {
        std::uint32_t directory;
        std::uint16_t root;
        bool scalable;
    };
    void BuildIndex();

    std::vector<std::string> roots_;  // the theme's folder in each base directory that has one
    std::vector<ThemeDirectory> directories_;
    std::vector<std::string> parents_;
    bool indexed_ = false;
    std::unordered_map<std::string, std::vector<Entry>> icons_;     // folders without a cache
    std::vector<std::pair<std::uint16_t, IconThemeCache>> caches_;  // root, its current cache
};

ThemeDirectory ReadDirectory(const KeyFile& index, const std::string& path) {
    ThemeDirectory directory;
    directory.path = path;
    const int size = index.Integer(path, "Size", 0);
    const int scale = std::max(1, index.Integer(path, "Scale", 1));
    const std::string type = index.String(path, "Type", "Threshold");
    int minSize = size;
    int maxSize = size;
    if (type == "Scalable") {
        minSize = index.Integer(path, "MinSize", size);
        maxSize = index.Integer(path, "MaxSize", size);
    } else if (type != "Fixed") {
        const int threshold = index.Integer(path, "Threshold", 2);
        minSize = size - threshold;
        maxSize = size + threshold;
    }
    directory.pixels = size * scale;
    directory.minPixels = std::max(1, minSize) * scale;
    directory.maxPixels = std::max(minSize, maxSize) * scale;
    return directory;
}

std::unique_ptr<Theme> Theme::Load(const std::string& name,
                                   const std::vector<std::string>& baseDirectories) {
    if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..") {
        return nullptr;
    }
    std::optional<KeyFile> index;
    auto theme = std::make_unique<Theme>();
    for (const std::string& base : baseDirectories) {
        const std::string root = base + "/" + name;
        if (!IsDirectory(root)) continue;
        if (theme->roots_.size() == UINT16_MAX) break;
        theme->roots_.push_back(root);
        if (!index) index = KeyFile::Load(root + "/index.theme");
    }
    if (!index || !index->HasGroup("Icon Theme")) return nullptr;

    std::vector<std::string> paths = index->List("Icon Theme", "Directories");
    for (std::string& scaled : index->List("Icon Theme", "ScaledDirectories")) {
        paths.push_back(std::move(scaled));
    }
    std::unordered_set<std::string> seen;
    for (const std::string& path : paths) {
        if (!seen.insert(path).second || !index->HasGroup(path)) continue;
        ThemeDirectory directory = ReadDirectory(*index, path);
        if (directory.pixels > 0) theme->directories_.push_back(std::move(directory));
    }
    theme->parents_ = index->List("Icon Theme", "Inherits");
    return theme;
}

void Theme::BuildIndex() {
    indexed_ = true;
    // Listing a theme means opening every size directory (Adwaita and hicolor: some 480): a
    // current cache answers the same questions from one file.
    std::vector<std::string> paths;
    for (const ThemeDirectory& directory : directories_) paths.push_back(directory.path);
    std::vector<bool> cached(roots_.size(), false);
    for (std::size_t root = 0; root < roots_.size(); ++root) {
        if (std::optional<IconThemeCache> cache = IconThemeCache::Open(roots_[root], paths)) {
            caches_.emplace_back(static_cast<std::uint16_t>(root), std::move(*cache));
            cached[root] = true;
        }
    }
    for (std::size_t directory = 0; directory < directories_.size(); ++directory) {
        for (std::size_t root = 0; root < roots_.size(); ++root) {
            if (cached[root]) continue;
            ForEachIconFile(
                roots_[root] + "/" + directories_[directory].path,
                [&](std::string_view stem, bool scalable) {
                    std::vector<Entry>& entries = icons_[std::string(stem)];
                    // An earlier base directory overrides a later one.
                    const bool known =
                        std::any_of(entries.begin(), entries.end(), [&](const Entry& entry) {
                            return entry.directory == directory && entry.scalable == scalable;
                        });
                    if (!known) {
                        entries.push_back({static_cast<std::uint32_t>(directory),
                                           static_cast<std::uint16_t>(root), scalable});
                    }
                });
        }
    }
}

void Theme::AppendFiles(const std::string& iconName, std::vector<IconFile>& files) {
    Index();
    const auto found = icons_.find(iconName);
    const std::vector<Entry>* entries = found != icons_.end() ? &found->second : nullptr;
    std::vector<Entry> merged;
    if (!caches_.empty()) {
        // Cached and listed folders together, in the listing's order: by directory, then by
        // base directory, an earlier base directory overriding a later one.
        if (entries != nullptr) merged = *entries;
        for (const auto& [root, cache] : caches_) {
            cache.ForEachFile(iconName, [&, root = root](std::uint32_t directory, bool scalable) {
                merged.push_back({directory, root, scalable});
            });
        }
        std::stable_sort(merged.begin(), merged.end(), [](const Entry& a, const Entry& b) {
            return a.directory != b.directory ? a.directory < b.directory : a.root < b.root;
        });
        std::vector<Entry> unique;
        for (const Entry& entry : merged) {
            const bool known = std::any_of(unique.begin(), unique.end(), [&](const Entry& kept) {
                return kept.directory == entry.directory && kept.scalable == entry.scalable;
            });
            if (!known) unique.push_back(entry);
        }
        merged = std::move(unique);
        entries = &merged;
    }
    if (entries == nullptr) return;
    for (const Entry& entry : *entries) {
        const ThemeDirectory& directory = directories_[entry.directory];
        IconFile file;
        file.path = roots_[entry.root] + "/" + directory.path + "/" + iconName +
                    (entry.scalable ? ".svg" : ".png");
        file.pixelSize = directory.pixels;
        file.minPixelSize = directory.minPixels;
        file.maxPixelSize = directory.maxPixels;
        file.scalable = entry.scalable;
        files.push_back(std::move(file));
    }
}

std::string ConfiguredThemeName(const XdgDirectories& directories) {
    std::vector<std::string> settingsFiles{directories.configHome + "/gtk-3.0/settings.ini"};
    for (const std::string& configDirectory : directories.configDirs) {
        settingsFiles.push_back(configDirectory + "/gtk-3.0/settings.ini");
    }
    settingsFiles.emplace_back("/etc/gtk-3.0/settings.ini");
    for (const std::string& path : settingsFiles) {
        std::optional<KeyFile> settings = KeyFile::Load(path);
        if (!settings) continue;
        std::string name = settings->String("Settings", "gtk-icon-theme-name");
        if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
            name = name.substr(1, name.size() - 2);
        }
        if (!name.empty()) return name;
    }
    return {};
}

class ThemeRegistry {
  public:
    explicit ThemeRegistry(const XdgDirectories& directories) : directories_(directories) {
        baseDirectories_.push_back(directories.dataHome + "/icons");
        for (const std::string& data : directories.dataDirs) {
            baseDirectories_.push_back(data + "/icons");
            pixmapDirectories_.push_back(data + "/pixmaps");
        }
        baseDirectories_.push_back(directories.home + "/.icons");
    }

    std::shared_ptr<const std::vector<IconFile>> Find(std::string_view name) {
        const std::string key(name);
        if (auto cached = results_.find(key); cached != results_.end()) return cached->second;
        std::vector<IconFile> files;
        if (!key.empty() && key.find('/') == std::string::npos) {
            files = FromChain(key);
            if (files.empty()) files = FromPixmaps(key);
            if (files.empty() && !key.ends_with("-symbolic")) files = FromChain(key + "-symbolic");
        }
        auto result = files.empty()
                          ? nullptr
                          : std::make_shared<const std::vector<IconFile>>(std::move(files));
        results_.emplace(key, result);
        return result;
    }

    const std::string& CurrentName() {
        if (!chainBuilt_) BuildChain();
        return currentName_;
    }

    // What the first lookups would read: every theme of the chain and its index.
    void IndexChain() {
        if (!chainBuilt_) BuildChain();
        for (Theme* theme : chain_) theme->Index();
    }

  private:
    Theme* Get(const std::string& name) {
        auto found = themes_.find(name);
        if (found == themes_.end()) {
            found = themes_.emplace(name, Theme::Load(name, baseDirectories_)).first;
        }
        return found->second.get();
    }

    // The chosen theme, the themes it inherits (depth first, each once), then hicolor.
    void BuildChain() {
        chainBuilt_ = true;
        currentName_ = ConfiguredThemeName(directories_);
        if (Get(currentName_) == nullptr) currentName_ = "Adwaita";
        if (Get(currentName_) == nullptr) currentName_ = "hicolor";
        std::unordered_set<std::string> visited;
        AddToChain(currentName_, visited);
        AddToChain("hicolor", visited);
    }

    void AddToChain(const std::string& name, std::unordered_set<std::string>& visited) {
        if (!visited.insert(name).second) return;
        Theme* theme = Get(name);
        if (theme == nullptr) return;
        chain_.push_back(theme);
        for (const std::string& parent : theme->Parents()) AddToChain(parent, visited);
    }

    std::vector<IconFile> FromChain(const std::string& name) {
        if (!chainBuilt_) BuildChain();
        std::vector<IconFile> files;
        for (Theme* theme : chain_) {
            theme->AppendFiles(name, files);
            if (!files.empty()) break;
        }
        return files;
    }

    std::vector<IconFile> FromPixmaps(const std::string& name) {
        if (!pixmapsListed_) {
            pixmapsListed_ = true;
            for (const std::string& folder : pixmapDirectories_) {
                ForEachIconFile(folder, [&](std::string_view stem, bool scalable) {
                    std::vector<IconFile>& files = pixmaps_[std::string(stem)];
                    std::string path =
                        folder + "/" + std::string(stem) + (scalable ? ".svg" : ".png");
                    files.push_back(IconFile{std::move(path), 0, 0, 0, scalable});
                });
            }
        }
        auto found = pixmaps_.find(name);
        return found == pixmaps_.end() ? std::vector<IconFile>{} : found->second;
    }

    XdgDirectories directories_;
    std::vector<std::string> baseDirectories_;
    std::vector<std::string> pixmapDirectories_;
    std::unordered_map<std::string, std::unique_ptr<Theme>> themes_;  // null: not installed
    bool chainBuilt_ = false;
    std::string currentName_;
    std::vector<Theme*> chain_;
    bool pixmapsListed_ = false;
    std::unordered_map<std::string, std::vector<IconFile>> pixmaps_;
    std::unordered_map<std::string, std::shared_ptr<const std::vector<IconFile>>> results_;
};

std::unique_ptr<ThemeRegistry>& RegistrySlot() {
    static std::unique_ptr<ThemeRegistry> registry;
    return registry;
}

StartupResult<std::unique_ptr<ThemeRegistry>>& IndexedAtStartup() {
    static StartupResult<std::unique_ptr<ThemeRegistry>> registry;
    return registry;
}

ThemeRegistry& Registry() {
    EndIndexingIconThemes();
    std::unique_ptr<ThemeRegistry>& registry = RegistrySlot();
    if (!registry) registry = std::make_unique<ThemeRegistry>(XdgDirectories::FromEnvironment());
    return *registry;
}

}  // namespace

void BeginIndexingIconThemes() {
    // The environment is read here, on the program's own thread.
    IndexedAtStartup().Begin([directories = XdgDirectories::FromEnvironment()] {
        auto registry = std::make_unique<ThemeRegistry>(directories);
        registry->IndexChain();
        return registry;
    });
}

void EndIndexingIconThemes() {
    if (std::optional<std::unique_ptr<ThemeRegistry>> indexed = IndexedAtStartup().Take()) {
        RegistrySlot() = std::move(*indexed);
    }
}

std::shared_ptr<const std::vector<IconFile>> FindThemeIcon(std::string_view name) {
    return Registry().Find(name);
}

std::string CurrentIconThemeName() { return Registry().CurrentName(); }

void ResetIconThemeCache() {
    EndIndexingIconThemes();  // read for an environment that may have changed since
    RegistrySlot().reset();
}

}  // namespace platform

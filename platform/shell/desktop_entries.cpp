// Index of the applications' .desktop entries by the program they run.
#include "platform/shell/desktop_entries.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/shell/key_file.h"
#include "platform/shell/xdg_directories.h"

namespace platform {
namespace {

constexpr std::string_view kEntryGroup = "Desktop Entry";

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Canonical(const std::string& path) {
    std::error_code error;
    std::filesystem::path canonical = std::filesystem::canonical(path, error);
    return error ? std::string() : canonical.string();
}

// Splits an Exec value into words: space separated, double quotes group, and inside quotes a
// backslash escapes the next character. Stops after `wanted` words.
std::vector<std::string> ExecWords(std::string_view exec, std::size_t wanted) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (std::size_t i = 0; i < exec.size() && words.size() < wanted; ++i) {
        const char c = exec[i];
        if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && i + 1 < exec.size()) {
                word += exec[++i];
            } else {
                word += c;
            }
        } else if (c == '"') {
            quoted = true;
            inWord = true;
        } else if (c == ' ' || c == '\t') {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord && words.size() < wanted) words.push_back(std::move(word));
    return words;
}

class DesktopEntryIndex {
  public:
    explicit DesktopEntryIndex(const XdgDirectories& directories)
        : searchPath_(directories.executablePath) {
        // Earlier folders take precedence: an entry's ID hides the same ID further down.
        std::unordered_set<std::string> seenIds;
        AddFolder(directories.dataHome + "/applications", seenIds);
        for (const std::string& data : directories.dataDirs) {
            AddFolder(data + "/applications", seenIds);
        }
    }

    std::optional<std::string> IconFor(const std::string& programPath) {
        if (auto found = byPath_.find(programPath); found != byPath_.end()) return found->second;
        const std::string canonical = Canonical(programPath);
        // Entries naming a bare program are matched when PATH leads to this very file.
        if (auto found = byName_.find(BaseName(programPath)); found != byName_.end()) {
            const std::string resolved = ResolveInPath(found->first);
            if (!resolved.empty() && (resolved == programPath ||
                                      (!canonical.empty() && Canonical(resolved) == canonical))) {
                return found->second;
            }
        }
        if (canonical.empty()) return std::nullopt;
        // The same program reached through a link (/bin and /usr/bin, alternatives).
        if (!canonicalBuilt_) {
            canonicalBuilt_ = true;
            for (const auto& [path, icon] : byPath_) {
                if (std::string target = Canonical(path); !target.empty()) {
                    byCanonicalPath_.try_emplace(std::move(target), icon);
                }
            }
        }
        if (auto found = byCanonicalPath_.find(canonical); found != byCanonicalPath_.end()) {
            return found->second;
        }
        return std::nullopt;
    }

  private:
    void AddFolder(const std::string& folder, std::unordered_set<std::string>& seenIds) {
        namespace fs = std::filesystem;
        std::error_code error;
        std::vector<std::pair<std::string, std::string>> entries;  // ID, path
        fs::recursive_directory_iterator walker(
            folder, fs::directory_options::skip_permission_denied, error);
        for (const fs::recursive_directory_iterator end; !error && walker != end;
             walker.increment(error)) {
            const fs::path& path = walker->path();
            // Its own error code: a broken link must not end the walk.
            std::error_code entryError;
            if (path.extension() != ".desktop" || !walker->is_regular_file(entryError)) continue;
            // The ID is the path below the folder with '/' turned into '-'.
            std::string id = path.lexically_relative(folder).string();
            std::replace(id.begin(), id.end(), '/', '-');
            entries.emplace_back(std::move(id), path.string());
        }
        // Sorted, so which of two entries for one program wins does not depend on disk order.
        std::sort(entries.begin(), entries.end());
        for (const auto& [id, path] : entries) {
            if (seenIds.insert(id).second) AddEntry(path);
        }
    }

    void AddEntry(const std::string& path) {
        std::optional<KeyFile> entry = KeyFile::Load(path);
        if (!entry || entry->String(kEntryGroup, "Type") != "Application") return;
        if (entry->Boolean(kEntryGroup, "Hidden", false)) return;
        const std::string icon = entry->String(kEntryGroup, "Icon");
        if (icon.empty()) return;
        AddProgram(ProgramOfExec(entry->String(kEntryGroup, "Exec")), icon);
        AddProgram(entry->String(kEntryGroup, "TryExec"), icon);
    }

    void AddProgram(const std::string& program, const std::string& icon) {
        if (program.empty()) return;
        if (program.front() == '/') {
            byPath_.try_emplace(program, icon);
        } else if (program.find('/') == std::string::npos) {
            byName_.try_emplace(program, icon);
        }
    }

    std::string ResolveInPath(const std::string& name) {
        if (auto found = resolved_.find(name); found != resolved_.end()) return found->second;
        std::string resolved;
        for (const std::string& folder : searchPath_) {
            std::string candidate = folder + "/" + name;
            std::error_code error;
            if (std::filesystem::is_regular_file(candidate, error) &&
                ::access(candidate.c_str(), X_OK) == 0) {
                resolved = std::move(candidate);
                break;
            }
        }
        resolved_.emplace(name, resolved);
        return resolved;
    }

    std::vector<std::string> searchPath_;
    std::unordered_map<std::string, std::string> byPath_;  // absolute program -> icon
    std::unordered_map<std::string, std::string> byName_;  // bare program name -> icon
    bool canonicalBuilt_ = false;
    std::unordered_map<std::string, std::string> byCanonicalPath_;
    std::unordered_map<std::string, std::string> resolved_;  // bare name -> PATH match
};

std::unique_ptr<DesktopEntryIndex>& IndexSlot() {
    static std::unique_ptr<DesktopEntryIndex> index;
    return index;
}

}  // namespace

std::string ProgramOfExec(const std::string& exec) {
    // Enough words for "env A=1 B=2 program"; longer prefixes are rare enough to ignore.
    std::vector<std::string> words = ExecWords(exec, 8);
    std::size_t first = 0;
    if (!words.empty() && BaseName(words[0]) == "env") {
        first = 1;
        while (first < words.size() && words[first].find('=') != std::string::npos) {
            ++first;
        }
    }
    return first < words.size() ? words[first] : std::string();
}

std::optional<std::string> FindProgramIcon(const std::string& programPath) {
    std::unique_ptr<DesktopEntryIndex>& index = IndexSlot();
    if (!index) index = std::make_unique<DesktopEntryIndex>(XdgDirectories::FromEnvironment());
    return index->IconFor(programPath);
}

std::optional<std::string> ReadDesktopFileIcon(const std::string& path) {
    std::optional<KeyFile> entry = KeyFile::Load(path);
    if (!entry) return std::nullopt;
    std::string icon = entry->String(kEntryGroup, "Icon");
    if (icon.empty()) return std::nullopt;
    return icon;
}

void ResetDesktopEntryIndex() { IndexSlot().reset(); }

}  // namespace platform

// Index of the applications' .desktop entries by the program they run.
#include "platform/shell/desktop_entries.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/shell/desktop_exec.h"
#include "platform/shell/desktop_files.h"
#include "platform/shell/key_file.h"
#include "platform/shell/program_search.h"
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

class DesktopEntryIndex {
  public:
    explicit DesktopEntryIndex(const XdgDirectories& directories)
        : searchPath_(directories.executablePath) {
        ForEachDesktopFile(directories, [this](const std::string&, const std::string& path) {
            AddEntry(path);
            return true;
        });
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
        return resolved_.emplace(name, FindExecutable(name, searchPath_)).first->second;
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
    const std::optional<std::vector<std::string>> words = SplitExec(exec);
    if (!words) return std::string();
    std::size_t first = 0;
    if (!words->empty() && BaseName((*words)[0]) == "env") {
        first = 1;
        while (first < words->size() && (*words)[first].find('=') != std::string::npos) {
            ++first;
        }
    }
    return first < words->size() ? (*words)[first] : std::string();
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

// Reading the installed applications' desktop entries and deciding which of them to list.
#include "entries/desktop_applications.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "platform/base/text_encoding.h"
#include "platform/files/regular_file.h"
#include "platform/shell/desktop_exec.h"
#include "platform/shell/desktop_files.h"
#include "platform/shell/key_file.h"
#include "platform/shell/program_search.h"

namespace entries {
namespace {

constexpr std::string_view kGroup = "Desktop Entry";
// A desktop entry is a few kilobytes, one with every translation some tens.
constexpr std::size_t kMaxEntrySize = std::size_t{1} << 20;

std::vector<std::string> SplitList(std::string_view list, char separator) {
    std::vector<std::string> items;
    while (!list.empty()) {
        const std::size_t end = list.find(separator);
        if (end != 0) items.emplace_back(list.substr(0, end));
        if (end == std::string_view::npos) break;
        list.remove_prefix(end + 1);
    }
    return items;
}

// Why a desktop file could not be read, in words.
std::string ReadFailure(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return std::string("cannot be read: ") + std::strerror(errno);
    }
    if (!S_ISREG(status.st_mode)) return "not a regular file (a named pipe, a device or a socket)";
    if (static_cast<std::size_t>(status.st_size) > kMaxEntrySize) {
        return "larger than a desktop entry can be (1 MiB)";
    }
    return "cannot be read";
}

// The entry's text, or why it cannot be used; never waits on a pipe or a device.
std::optional<std::string> ReadEntryText(const std::string& path, std::string& reason) {
    std::optional<std::string> text = platform::ReadRegularFile(path, kMaxEntrySize);
    if (!text) {
        reason = ReadFailure(path);
    } else if (text->find('\0') != std::string::npos) {
        reason = "holds binary data";
        text.reset();
    } else if (!platform::IsUtf8(*text)) {
        reason = "not UTF-8 text";
        text.reset();
    }
    return text;
}

class EntryReader {
  public:
    explicit EntryReader(const ScanSettings& settings)
        : settings_(settings),
          keyNames_{"Type",
                    "Name",
                    "GenericName",
                    "Exec",
                    "TryExec",
                    "Icon",
                    "Hidden",
                    "NoDisplay",
                    "Terminal",
                    "OnlyShowIn",
                    "NotShowIn",
                    "DBusActivatable",
                    "X-Purism-FormFactor",
                    "X-KDE-FormFactor"} {
        for (const std::string& suffix : settings.localeSuffixes) {
            keyNames_.push_back("Name" + suffix);
            keyNames_.push_back("GenericName" + suffix);
        }
        keys_.insert(keyNames_.begin(), keyNames_.end());
        // Of an entry's many keys (its texts in every language) only these are kept; most
        // lines are translations of other keys, told apart before any lookup.
        keep_ = [this](std::string_view group, std::string_view key) {
            if (group != kGroup) return false;
            const std::size_t bracket = key.find('[');
            if (bracket != std::string_view::npos) {
                const std::string_view base = key.substr(0, bracket);
                if (base != "Name" && base != "GenericName") return false;
            }
            return keys_.contains(key);
        };
    }

    // An entry's text read and parsed, or why it could not be; safe on any thread.
    struct Parsed {
        std::optional<platform::KeyFile> entry;
        std::string failure;
    };
    Parsed Parse(const std::string& path) const {
        Parsed parsed;
        const std::optional<std::string> text = ReadEntryText(path, parsed.failure);
        if (!text) return parsed;
        parsed.entry = platform::KeyFile::Parse(*text, keep_);
        if (!parsed.entry->HasGroup(kGroup)) {
            parsed.entry.reset();
            parsed.failure = "no [Desktop Entry] group";
        }
        return parsed;
    }

    // True when the file claims its ID: a readable entry, shown or not, hides the same ID in
    // folders of lower precedence; a broken one leaves it to them.
    bool Examine(const platform::DesktopFile& file, const Parsed& parsed, ApplicationScan& scan) {
        if (!parsed.entry) {
            scan.leftOut.push_back({file.id, file.path, parsed.failure, true});
            return false;
        }
        Application application;
        application.id = file.id;
        application.path = file.path;
        std::string reason = Examine(*parsed.entry, application);
        if (reason.empty()) {
            scan.applications.push_back(std::move(application));
        } else {
            scan.leftOut.push_back({file.id, file.path, std::move(reason), false});
        }
        return true;
    }

  private:
    std::string Localized(const platform::KeyFile& entry, const std::string& key) const {
        const std::vector<std::string>& suffixes = settings_.localeSuffixes;
        const auto best = std::find_if(suffixes.begin(), suffixes.end(), [&](const auto& suffix) {
            return entry.Find(kGroup, key + suffix) != nullptr;
        });
        return entry.String(kGroup, best == suffixes.end() ? key : key + *best);
    }

    bool ShownOnThisDesktop(const platform::KeyFile& entry, std::string& reason) const {
        const auto isCurrent = [this](const std::string& desktop) {
            return std::find(settings_.currentDesktops.begin(), settings_.currentDesktops.end(),
                             desktop) != settings_.currentDesktops.end();
        };
        if (const std::string* only = entry.Find(kGroup, "OnlyShowIn")) {
            const std::vector<std::string> desktops = SplitList(*only, ';');
            if (std::none_of(desktops.begin(), desktops.end(), isCurrent)) {
                reason = "only for other desktops (OnlyShowIn=" + *only + ")";
                return false;
            }
        }
        if (const std::string* not_ = entry.Find(kGroup, "NotShowIn")) {
            const std::vector<std::string> desktops = SplitList(*not_, ';');
            if (std::any_of(desktops.begin(), desktops.end(), isCurrent)) {
                reason = "not for this desktop (NotShowIn=" + *not_ + ")";
                return false;
            }
        }
        return true;
    }

    static bool DeclaresMobile(const platform::KeyFile& entry) {
        for (const char* key : {"X-Purism-FormFactor", "X-KDE-FormFactor"}) {
            for (std::string factor : SplitList(entry.String(kGroup, key), ';')) {
                std::transform(factor.begin(), factor.end(), factor.begin(),
                               [](unsigned char c) { return std::tolower(c); });
                // Purism's name, and KDE's own ("handset") beside it.
                if (factor == "mobile" || factor == "handset") return true;
            }
        }
        return false;
    }

    const std::string& Find(const std::string& program) {
        if (auto found = programs_.find(program); found != programs_.end()) return found->second;
        return programs_
            .emplace(program,
                     platform::FindExecutable(program, settings_.directories.executablePath))
            .first->second;
    }

    // Fills the application; the reason it is left out, or empty when it is listed.
    std::string Examine(const platform::KeyFile& entry, Application& application) {
        // First: a user's entry that only says Hidden=true deletes the application.
        if (entry.Boolean(kGroup, "Hidden", false)) return "hidden (Hidden=true)";
        const std::string type = entry.String(kGroup, "Type");
        if (type != "Application") {
            return type.empty() ? "no Type" : "not an application (Type=" + type + ")";
        }
        if (entry.Boolean(kGroup, "NoDisplay", false)) return "not for menus (NoDisplay=true)";
        std::string reason;
        if (!ShownOnThisDesktop(entry, reason)) return reason;
        if (settings_.mobileOnly && !DeclaresMobile(entry)) return "not declared for phones";
        if (const std::string* tryExec = entry.Find(kGroup, "TryExec");
            tryExec != nullptr && !tryExec->empty() && Find(*tryExec).empty()) {
            return "TryExec names no program here (" + *tryExec + ")";
        }
        application.title = Localized(entry, "Name");
        if (application.title.empty()) return "no Name";
        application.genericName = Localized(entry, "GenericName");
        const std::string* exec = entry.Find(kGroup, "Exec");
        if (exec == nullptr || exec->empty()) {
            return entry.Boolean(kGroup, "DBusActivatable", false)
                       ? "no Exec (started through D-Bus only)"
                       : "no Exec";
        }
        platform::ExecFields fields;
        fields.icon = entry.String(kGroup, "Icon");
        fields.name = application.title;
        fields.desktopFile = application.path;
        std::optional<std::vector<std::string>> words = platform::SplitExec(*exec, fields);
        if (!words) return "Exec leaves a quote open";
        if (words->empty()) return "Exec names no program";
        application.program = Find(words->front());
        if (application.program.empty()) return "no program " + words->front() + " here";
        application.arguments.assign(std::make_move_iterator(words->begin() + 1),
                                     std::make_move_iterator(words->end()));
        application.terminal = entry.Boolean(kGroup, "Terminal", false);
        return std::string();
    }

    const ScanSettings& settings_;
    std::vector<std::string> keyNames_;
    std::unordered_set<std::string_view> keys_;
    platform::KeyFile::KeyFilter keep_;
    std::unordered_map<std::string, std::string> programs_;  // as Exec names it -> its path
};

const char* FirstSet(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return value;
    }
    return "";
}

}  // namespace

std::vector<std::string> LocaleSuffixes(const std::string& locale) {
    if (locale.empty() || locale == "C" || locale == "POSIX") return {};
    // lang_COUNTRY.ENCODING@MODIFIER; the encoding plays no part in the keys.
    const std::size_t at = locale.find('@');
    const std::string modifier = at == std::string::npos ? "" : locale.substr(at);
    const std::string base = locale.substr(0, std::min(locale.find('.'), at));
    const std::size_t underscore = base.find('_');
    const std::string language = base.substr(0, underscore);
    if (language.empty() || language == "C") return {};
    std::vector<std::string> suffixes;
    if (underscore != std::string::npos) {
        if (!modifier.empty()) suffixes.push_back("[" + base + modifier + "]");
        suffixes.push_back("[" + base + "]");
    }
    if (!modifier.empty()) suffixes.push_back("[" + language + modifier + "]");
    suffixes.push_back("[" + language + "]");
    return suffixes;
}

ScanSettings ScanSettings::FromEnvironment() {
    ScanSettings settings;
    settings.directories = platform::XdgDirectories::FromEnvironment();
    settings.currentDesktops = SplitList(FirstSet({"XDG_CURRENT_DESKTOP"}), ':');
    settings.localeSuffixes = LocaleSuffixes(FirstSet({"LC_ALL", "LC_MESSAGES", "LANG"}));
    return settings;
}

ApplicationScan ScanApplications(const ScanSettings& settings) {
    const std::vector<platform::DesktopFile> files =
        platform::ListDesktopFiles(settings.directories);
    EntryReader reader(settings);
    // Reading thousands of files is most of the work, and each file stands on its own: the
    // cores share it. Which file wins an ID is decided afterwards, in order.
    std::vector<EntryReader::Parsed> parsed(files.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t index = next++; index < files.size(); index = next++) {
            parsed[index] = reader.Parse(files[index].path);
        }
    };
    {
        const unsigned helpers =
            files.size() < 64 ? 0 : std::clamp(std::thread::hardware_concurrency(), 1U, 4U) - 1;
        std::vector<std::jthread> threads;
        for (unsigned helper = 0; helper < helpers; ++helper) threads.emplace_back(work);
        work();
    }
    ApplicationScan scan;
    std::unordered_set<std::string> claimedIds;
    for (std::size_t index = 0; index < files.size(); ++index) {
        if (claimedIds.contains(files[index].id)) continue;
        if (reader.Examine(files[index], parsed[index], scan)) claimedIds.insert(files[index].id);
    }
    return scan;
}

}  // namespace entries

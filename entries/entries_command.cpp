// Writing the launcher's settings.ini from the installed applications.
#include "entries/entries_command.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>

#include "config/program_folder.h"
#include "entries/application_rows.h"
#include "entries/desktop_applications.h"
#include "platform/base/last_error.h"
#include "platform/base/text_encoding.h"
#include "platform/files/file_api.h"
#include "platform/files/regular_file.h"
#include "platform/shell/program_search.h"

namespace entries {
namespace {

constexpr const char* kUsage =
    "Usage: tavrel-entries [--merge] [--mobile] [--verbose] [FOLDER]\n"
    "Writes the launcher's settings.ini in FOLDER (by default the folder of this program, where\n"
    "the launcher reads it) with a row for each application installed here.\n"
    "  --merge    keep the rows of an existing settings.ini as they are and add only the\n"
    "             applications it does not list yet (by title, or by program and arguments)\n"
    "  --mobile   only the applications made for phones (X-Purism-FormFactor or\n"
    "             X-KDE-FormFactor with Mobile or Handset)\n"
    "  --verbose  list the rows written and the applications left out, with the reason\n";

// As large as the launcher reads an INI file.
constexpr std::size_t kMaxSettingsSize = std::size_t{64} << 20;

struct CommandLine {
    bool merge = false;
    bool mobile = false;
    bool verbose = false;
    bool help = false;
    std::optional<std::string> folder;
};

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments,
                                            std::ostream& errors) {
    CommandLine line;
    for (const std::string& argument : arguments) {
        if (argument == "--merge") {
            line.merge = true;
        } else if (argument == "--mobile") {
            line.mobile = true;
        } else if (argument == "--verbose" || argument == "-v") {
            line.verbose = true;
        } else if (argument == "--help" || argument == "-h") {
            line.help = true;
        } else if (argument.starts_with("-") || line.folder) {
            errors << "tavrel-entries: unexpected argument \"" << argument << "\"\n" << kUsage;
            return std::nullopt;
        } else {
            line.folder = argument;
        }
    }
    return line;
}

// The terminal emulator for Terminal=true applications: the user's $TERMINAL, else Debian's
// x-terminal-emulator.
std::string TerminalProgram(const std::vector<std::string>& searchPath) {
    if (const char* terminal = std::getenv("TERMINAL"); terminal != nullptr && *terminal) {
        if (std::string found = platform::FindExecutable(terminal, searchPath); !found.empty()) {
            return found;
        }
    }
    return platform::FindExecutable("x-terminal-emulator", searchPath);
}

std::string LastErrorText() { return platform::Utf8FromWide(platform::ErrorText(GetLastError())); }

// The existing file: nullopt with no error when there is none.
std::optional<std::string> ReadExisting(const std::string& path, std::string& error) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        if (errno != ENOENT) error = std::strerror(errno);
        return std::nullopt;
    }
    if (!S_ISREG(status.st_mode)) {
        error = "not a regular file";
        return std::nullopt;
    }
    std::optional<std::string> text = platform::ReadRegularFile(path, kMaxSettingsSize);
    if (!text) error = "cannot be read (or is larger than 64 MiB)";
    return text;
}

bool HasBareLineFeeds(std::string_view text) {
    for (std::size_t at = text.find('\n'); at != std::string_view::npos;
         at = text.find('\n', at + 1)) {
        if (at == 0 || text[at - 1] != '\r') return true;
    }
    return false;
}

std::string Count(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + ' ' + (count == 1 ? one : many);
}

void ListRows(const std::vector<Row>& rows, std::ostream& out) {
    for (const Row& row : rows) {
        out << "  " << row.title << ": " << row.execPath;
        if (!row.args.empty()) out << ' ' << row.args;
        if (row.terminal) out << "  (in a terminal)";
        out << '\n';
    }
}

}  // namespace

int RunEntriesCommand(const std::vector<std::string>& arguments, std::ostream& out,
                      std::ostream& errors) {
    const std::optional<CommandLine> line = ParseCommandLine(arguments, errors);
    if (!line) return 2;
    if (line->help) {
        out << kUsage;
        return 0;
    }
    std::string folder = line->folder ? *line->folder : platform::Utf8FromWide(ProgramFolder());
    if (!folder.empty() && folder.back() != '/') folder += '/';
    const std::string path = folder + "settings.ini";
    std::error_code folderError;
    std::filesystem::create_directories(folder, folderError);
    if (folderError) {
        errors << "tavrel-entries: cannot make the folder " << folder << ": "
               << folderError.message() << '\n';
        return 1;
    }

    std::string readError;
    const std::optional<std::string> existing = ReadExisting(path, readError);
    if (!readError.empty()) {
        errors << "tavrel-entries: " << path << ": " << readError << "; it is left as it is\n";
        return 1;
    }

    ScanSettings settings = ScanSettings::FromEnvironment();
    settings.mobileOnly = line->mobile;
    ApplicationScan scan = ScanApplications(settings);
    const std::string terminal = TerminalProgram(settings.directories.executablePath);
    std::vector<Row> rows = MakeRows(scan.applications, terminal, scan.leftOut);
    for (const LeftOut& left : scan.leftOut) {
        if (left.unreadable)
            errors << "tavrel-entries: skipped " << left.path << ": " << left.reason << '\n';
    }

    std::string content;
    std::size_t keptRows = 0;
    if (line->merge && existing) {
        if (existing->find('\0') != std::string::npos) {
            errors << "tavrel-entries: " << path << " holds a zero byte, after which the "
                   << "launcher reads nothing; it is left as it is\n";
            return 1;
        }
        const ExistingRows kept = ReadExistingRows(*existing);
        keptRows = kept.titles.size();
        std::erase_if(rows, [&kept](const Row& row) { return kept.Holds(row); });
        MakeTitlesDistinct(rows, kept.titles);
        SortByTitle(rows);
        content = *existing;
        if (!content.empty() && !content.ends_with("\r\n") && !rows.empty()) content += "\r\n";
        content += FormatRows(rows);
        if (HasBareLineFeeds(*existing)) {
            errors << "tavrel-entries: warning: " << path << " has lines that end in LF alone; "
                   << "the launcher reads keys only from lines that end in CR LF\n";
        }
    } else {
        MakeTitlesDistinct(rows, {});
        SortByTitle(rows);
        content = FormatRows(rows);
    }

    if (line->verbose) {
        ListRows(rows, out);
        for (const LeftOut& left : scan.leftOut) {
            if (!left.unreadable) out << "  left out " << left.id << ": " << left.reason << '\n';
        }
    }
    if (existing && *existing == content) {
        out << path << " is up to date ("
            << Count(keptRows + (line->merge ? 0 : rows.size()), "row", "rows")
            << "); nothing written.\n";
        return 0;
    }
    if (!platform::ReplaceFileContent(platform::WideFromUtf8(path), content)) {
        errors << "tavrel-entries: cannot write " << path << ": " << LastErrorText()
               << "; the old file is left as it was\n";
        return 1;
    }
    const std::size_t terminalRows = static_cast<std::size_t>(
        std::count_if(rows.begin(), rows.end(), [](const Row& row) { return row.terminal; }));
    if (keptRows > 0) {
        out << "Added " << Count(rows.size(), "row", "rows") << " to " << path << ", after its "
            << Count(keptRows, "row", "rows") << ".\n";
    } else {
        out << "Wrote " << Count(rows.size(), "row", "rows") << " to " << path << ".\n";
    }
    if (terminalRows > 0) {
        out << Count(terminalRows, "of them runs", "of them run") << " in a terminal (" << terminal
            << ").\n";
    }
    const std::size_t leftOut = scan.leftOut.size();
    if (leftOut > 0 && !line->verbose) {
        out << Count(leftOut, "application", "applications")
            << " left out (--verbose says which and why).\n";
    }
    return 0;
}

}  // namespace entries

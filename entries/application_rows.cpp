// Turning applications into the launcher's rows and rows into settings.ini text.
#include "entries/application_rows.h"

#include <algorithm>
#include <cwchar>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "config/ini_document.h"
#include "platform/base/text_encoding.h"

namespace entries {
namespace {

// A section name ends at the first ']' and must stay on its line.
std::string SectionName(std::string title) {
    for (char& character : title) {
        if (character == ']') character = ')';
        if (character == '[') character = '(';
        if (character == '\r' || character == '\n' || character == '\t') character = ' ';
    }
    return title;
}

std::string IdWithoutSuffix(const std::string& id) {
    constexpr std::string_view kSuffix = ".desktop";
    return id.ends_with(kSuffix) ? id.substr(0, id.size() - kSuffix.size()) : id;
}

// Compared as it is: the collation's weights are no characters, and turned into UTF-8 those
// beyond Unicode would all become U+FFFD and sort alike.
std::wstring CollationKey(const std::string& title) {
    const std::wstring wide = platform::WideFromUtf8(title);
    const std::size_t length = std::wcsxfrm(nullptr, wide.c_str(), 0);
    std::wstring key(length, L'\0');
    std::wcsxfrm(key.data(), wide.c_str(), length + 1);
    return key;
}

}  // namespace

std::string LauncherArguments(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) {
        if (!text.empty()) text += ' ';
        if (!word.empty() && word.find_first_of(" \t\"\\") == std::string::npos) {
            text += word;
            continue;
        }
        text += '"';
        for (const char character : word) {
            if (character == '"' || character == '\\') text += '\\';
            text += character;
        }
        text += '"';
    }
    return text;
}

std::vector<Row> MakeRows(const std::vector<Application>& applications,
                          const std::string& terminalProgram, std::vector<LeftOut>& leftOut) {
    std::vector<Row> rows;
    rows.reserve(applications.size());
    for (const Application& application : applications) {
        Row row{.title = SectionName(application.title),
                .execPath = application.program,
                .args = LauncherArguments(application.arguments),
                .id = application.id,
                .genericName = SectionName(application.genericName),
                .terminal = application.terminal};
        if (application.terminal) {
            if (terminalProgram.empty()) {
                leftOut.push_back({application.id, application.path,
                                   "runs in a terminal, and there is none (x-terminal-emulator "
                                   "or $TERMINAL)",
                                   false});
                continue;
            }
            std::vector<std::string> command{"-e", application.program};
            command.insert(command.end(), application.arguments.begin(),
                           application.arguments.end());
            row.execPath = terminalProgram;
            row.args = LauncherArguments(command);
        }
        // A value ends at its line's end; the launcher would see a cut command.
        if (row.args.find_first_of("\r\n") != std::string::npos ||
            row.execPath.find_first_of("\r\n") != std::string::npos) {
            leftOut.push_back(
                {application.id, application.path, "a line break in its command", false});
            continue;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

void MakeTitlesDistinct(std::vector<Row>& rows, const std::vector<std::string>& takenTitles) {
    std::unordered_map<std::string, std::size_t> uses;
    for (const std::string& title : takenTitles) ++uses[title];
    for (const Row& row : rows) ++uses[row.title];
    std::vector<Row*> clashing;
    for (Row& row : rows) {
        if (uses[row.title] > 1) clashing.push_back(&row);
    }
    if (clashing.empty()) return;
    // With the generic name first; rows that still clash, or have none, with their ID.
    std::unordered_map<std::string, std::size_t> renamed;
    std::vector<std::string> byGenericName(clashing.size());
    for (std::size_t index = 0; index < clashing.size(); ++index) {
        const Row& row = *clashing[index];
        if (!row.genericName.empty() && row.genericName != row.title) {
            byGenericName[index] = row.title + " (" + row.genericName + ")";
            ++renamed[byGenericName[index]];
        }
    }
    for (std::size_t index = 0; index < clashing.size(); ++index) {
        Row& row = *clashing[index];
        const std::string& candidate = byGenericName[index];
        if (!candidate.empty() && renamed[candidate] == 1 && !uses.contains(candidate)) {
            row.title = candidate;
        } else {
            row.title = SectionName(row.title + " (" + IdWithoutSuffix(row.id) + ")");
        }
    }
}

void SortByTitle(std::vector<Row>& rows) {
    std::vector<std::pair<std::wstring, std::size_t>> keys;
    keys.reserve(rows.size());
    for (std::size_t index = 0; index < rows.size(); ++index) {
        keys.emplace_back(CollationKey(rows[index].title), index);
    }
    std::sort(keys.begin(), keys.end(), [&rows](const auto& first, const auto& second) {
        if (first.first != second.first) return first.first < second.first;
        return rows[first.second].id < rows[second.second].id;
    });
    std::vector<Row> sorted(rows.size());
    std::transform(keys.begin(), keys.end(), sorted.begin(),
                   [&rows](const auto& key) { return std::move(rows[key.second]); });
    rows = std::move(sorted);
}

std::string FormatRows(const std::vector<Row>& rows) {
    IniDocument document;
    document.sections.reserve(rows.size());
    for (const Row& row : rows) {
        auto section = std::make_unique<IniSection>();
        section->name = row.title;
        section->keys.emplace_back("ExecPath");
        section->values.emplace_back(row.execPath);
        if (!row.args.empty()) {
            section->keys.emplace_back("Args");
            section->values.emplace_back(row.args);
        }
        document.sections.push_back(std::move(section));
    }
    return IniFormat(document);
}

namespace {

std::string CommandKey(const std::string& execPath, const std::string& args) {
    return execPath + '\0' + args;
}

}  // namespace

bool ExistingRows::Holds(const Row& row) const {
    return titleSet.contains(row.title) || commands.contains(CommandKey(row.execPath, row.args));
}

ExistingRows ReadExistingRows(std::string_view text) {
    IniDocument document;
    // As the launcher reads it: up to a zero byte, with a line end after the last line.
    std::string parsed(text.substr(0, text.find('\0')));
    parsed += "\r\n";
    IniParse(document, parsed);
    ExistingRows existing;
    for (const auto& section : document.sections) {
        if (!section) continue;
        existing.titles.push_back(section->name);
        existing.titleSet.insert(section->name);
        const char* execPath = IniSectionValue(*section, "ExecPath");
        const char* args = IniSectionValue(*section, "Args");
        existing.commands.insert(
            CommandKey(execPath != nullptr ? execPath : "", args != nullptr ? args : ""));
    }
    return existing;
}

}  // namespace entries

// Field codes and quoting of desktop entries' Exec lines.
#include "platform/shell/desktop_exec.h"

namespace platform {
namespace {

// Single quotes keep every character but the single quote itself, which is closed, escaped
// and reopened.
std::string ShellQuote(std::string_view text) {
    std::string quoted = "'";
    for (const char character : text) {
        if (character == '\'') {
            quoted += "'\\''";
        } else {
            quoted += character;
        }
    }
    quoted += '\'';
    return quoted;
}

// The field codes are expanded in the raw line, before it is split, so that an expansion lands
// wherever its code stood, inside a word or as a word of its own.
std::string ExpandFieldCodes(std::string_view exec, const ExecFields& fields) {
    std::string expanded;
    expanded.reserve(exec.size());
    for (std::size_t index = 0; index < exec.size(); ++index) {
        if (exec[index] != '%' || index + 1 == exec.size()) {
            expanded += exec[index];
            continue;
        }
        switch (exec[++index]) {
            case '%':
                expanded += '%';
                break;
            case 'i':
                if (!fields.icon.empty()) expanded += "--icon " + ShellQuote(fields.icon);
                break;
            case 'c':
                expanded += ShellQuote(fields.name);
                break;
            case 'k':
                expanded += ShellQuote(fields.desktopFile);
                break;
            default:  // files and URLs, none given; deprecated and unknown codes
                break;
        }
    }
    return expanded;
}

bool IsBlank(char character) { return character == ' ' || character == '\t' || character == '\n'; }

}  // namespace

std::optional<std::vector<std::string>> SplitExec(std::string_view exec, const ExecFields& fields) {
    const std::string line = ExpandFieldCodes(exec, fields);
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (std::size_t index = 0; index < line.size(); ++index) {
        const char character = line[index];
        if (IsBlank(character)) {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else if (character == '#' && !inWord) {
            const std::size_t end = line.find('\n', index);
            if (end == std::string::npos) break;
            index = end;
        } else if (character == '\'') {
            const std::size_t end = line.find('\'', index + 1);
            if (end == std::string::npos) return std::nullopt;
            word.append(line, index + 1, end - index - 1);
            index = end;
            inWord = true;
        } else if (character == '"') {
            inWord = true;
            for (++index;; ++index) {
                if (index == line.size()) return std::nullopt;
                const char quoted = line[index];
                if (quoted == '"') break;
                if (quoted == '\\' && index + 1 < line.size()) {
                    const char next = line[index + 1];
                    if (next == '"' || next == '`' || next == '$' || next == '\\') {
                        word += next;
                        ++index;
                        continue;
                    }
                    if (next == '\n') {
                        ++index;
                        continue;
                    }
                }
                word += quoted;
            }
        } else if (character == '\\') {
            // A backslash before a line end joins the lines; a last one stands for nothing.
            if (index + 1 < line.size() && line[++index] != '\n') {
                word += line[index];
                inWord = true;
            }
        } else {
            word += character;
            inWord = true;
        }
    }
    if (inWord) words.push_back(std::move(word));
    return words;
}

}  // namespace platform

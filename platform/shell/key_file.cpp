// A small parser for the desktop's key files.
#include "platform/shell/key_file.h"

#include <charconv>

#include "platform/files/regular_file.h"

namespace platform {
namespace {

std::string_view Trim(std::string_view text) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return text;
}

std::string Unescape(std::string_view value) {
    if (value.find('\\') == std::string_view::npos) return std::string(value);
    std::string result;
    result.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            result += value[i];
            continue;
        }
        switch (const char next = value[++i]) {
            case 's':
                result += ' ';
                break;
            case 'n':
                result += '\n';
                break;
            case 't':
                result += '\t';
                break;
            case 'r':
                result += '\r';
                break;
            case '\\':
                result += '\\';
                break;
            default:  // not an escape of the format: kept for the value's own syntax (Exec)
                result += '\\';
                result += next;
        }
    }
    return result;
}

// Desktop entries and GTK's settings are a few kilobytes, the largest theme indexes some hundred.
constexpr std::size_t kMaxFileSize = std::size_t{1} << 20;

}  // namespace

std::optional<KeyFile> KeyFile::Load(const std::string& path) {
    const std::optional<std::string> text = ReadRegularFile(path, kMaxFileSize);
    if (!text) return std::nullopt;
    return Parse(*text);
}

KeyFile KeyFile::Parse(std::string_view text) { return Parse(text, nullptr); }

KeyFile KeyFile::Parse(std::string_view text, const KeyFilter& keep) {
    KeyFile keyFile;
    std::string_view groupName;
    Group* group = nullptr;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == '#') continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            groupName =
                close == std::string_view::npos ? std::string_view() : line.substr(1, close - 1);
            group = close == std::string_view::npos ? nullptr
                                                    : &keyFile.groups_[std::string(groupName)];
            continue;
        }
        const std::size_t equals = line.find('=');
        if (group == nullptr || equals == std::string_view::npos) continue;
        const std::string_view key = Trim(line.substr(0, equals));
        if (key.empty() || (keep && !keep(groupName, key))) continue;
        group->try_emplace(std::string(key), Unescape(Trim(line.substr(equals + 1))));
    }
    return keyFile;
}

bool KeyFile::HasGroup(std::string_view group) const {
    return groups_.find(std::string(group)) != groups_.end();
}

const std::string* KeyFile::Find(std::string_view group, std::string_view key) const {
    auto foundGroup = groups_.find(std::string(group));
    if (foundGroup == groups_.end()) return nullptr;
    auto found = foundGroup->second.find(std::string(key));
    return found == foundGroup->second.end() ? nullptr : &found->second;
}

std::string KeyFile::String(std::string_view group, std::string_view key,
                            std::string_view fallback) const {
    const std::string* value = Find(group, key);
    return value != nullptr ? *value : std::string(fallback);
}

int KeyFile::Integer(std::string_view group, std::string_view key, int fallback) const {
    const std::string* value = Find(group, key);
    if (value == nullptr) return fallback;
    int number = 0;
    const char* end = value->data() + value->size();
    const auto [stop, error] = std::from_chars(value->data(), end, number);
    return error == std::errc() && stop == end ? number : fallback;
}

bool KeyFile::Boolean(std::string_view group, std::string_view key, bool fallback) const {
    const std::string* value = Find(group, key);
    if (value == nullptr) return fallback;
    if (*value == "true" || *value == "1") return true;
    if (*value == "false" || *value == "0") return false;
    return fallback;
}

std::vector<std::string> KeyFile::List(std::string_view group, std::string_view key,
                                       char separator) const {
    std::vector<std::string> items;
    const std::string* value = Find(group, key);
    if (value == nullptr) return items;
    std::string_view rest = *value;
    while (!rest.empty()) {
        const std::size_t end = rest.find(separator);
        const std::string_view item = Trim(rest.substr(0, end));
        if (!item.empty()) items.emplace_back(item);
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    return items;
}

}  // namespace platform

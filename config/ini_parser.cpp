// The INI parser. From the current position it looks for the next "[", "]", "#", "=" and line end
// ("\r\n"), as a plain substring search would, but keeps each found position until the position
// passes it, so the whole text is scanned a bounded number of times.
#include <algorithm>

#include "config/ini_document.h"

namespace {

constexpr std::size_t kNone = std::string_view::npos;

// The next occurrence of a byte at or after a position, for positions that never go back.
class NextByte {
  public:
    NextByte(std::string_view text, char byte) : text_(text), byte_(byte) {}

    std::size_t From(std::size_t position) {
        if (!known_ || (found_ != kNone && found_ < position)) {
            found_ = text_.find(byte_, position);
            known_ = true;
        }
        return found_;
    }

  private:
    std::string_view text_;
    char byte_;
    std::size_t found_ = kNone;
    bool known_ = false;
};

// The next "\r\n" at or after a position, for positions that never go back.
class NextLineEnd {
  public:
    explicit NextLineEnd(std::string_view text) : text_(text), carriageReturn_(text, '\r') {}

    std::size_t From(std::size_t position) {
        for (std::size_t candidate = carriageReturn_.From(position); candidate != kNone;
             candidate = carriageReturn_.From(candidate + 1)) {
            if (candidate + 1 < text_.size() && text_[candidate + 1] == '\n') return candidate;
        }
        return kNone;
    }

  private:
    std::string_view text_;
    NextByte carriageReturn_;
};

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == kNone) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool Before(std::size_t first, std::size_t second) { return first != kNone && first < second; }

}  // namespace

void IniParse(IniDocument& document, std::string_view text) {
    NextByte open(text, '[');
    NextByte close(text, ']');
    NextByte hash(text, '#');
    NextByte equals(text, '=');
    NextLineEnd lineEnd(text);

    std::size_t header = open.From(0);
    while (header != kNone) {
        const std::size_t nameEnd = close.From(header + 1);
        if (nameEnd == kNone) return;
        auto section = std::make_unique<IniSection>();
        section->name.assign(text.substr(header + 1, nameEnd - header - 1));
        IniSection& current = *section;
        document.sections.push_back(std::move(section));

        std::size_t position = nameEnd;
        for (;;) {
            const std::size_t nextHash = hash.From(position);
            const std::size_t nextEquals = equals.From(position);
            const std::size_t nextOpen = open.From(position);
            // A "[" before the next "#" and "=" is a section header, even when a comment
            // follows it (a comment line right under a header, or a "#" in the name).
            if (nextHash != kNone && nextEquals != kNone && Before(nextOpen, nextHash) &&
                Before(nextOpen, nextEquals)) {
                break;
            }
            if (nextHash != kNone && nextEquals != kNone && nextHash < nextEquals) {
                position = lineEnd.From(nextHash);  // a comment: skip to its line end
                if (position == kNone) return;
                continue;
            }
            if (nextEquals == kNone || Before(nextOpen, nextEquals)) break;
            // The key line starts after the last line end between here and the "=".
            std::size_t keyStart = kNone;
            for (std::size_t at = nextEquals - 1; at > position; --at) {
                if (text[at] == '\n' && text[at - 1] == '\r') {
                    keyStart = at + 1;
                    break;
                }
            }
            if (keyStart == kNone) break;
            const std::string_view key = TrimBlanks(text.substr(keyStart, nextEquals - keyStart));
            if (key.empty()) break;
            const std::size_t valueEnd = lineEnd.From(nextEquals);
            if (valueEnd == kNone) return;
            std::string_view value = text.substr(nextEquals + 1, valueEnd - nextEquals - 1);
            value.remove_prefix(std::min(value.find_first_not_of(' '), value.size()));
            const std::size_t lastKept = value.find_last_not_of(' ');
            value = lastKept == kNone ? std::string_view() : value.substr(0, lastKept + 1);
            current.keys.emplace_back(key);
            current.values.emplace_back(value);
            position = valueEnd;
        }
        header = open.From(position);
    }
}

#include "config/reference_ini_parser.h"

#include <cstring>

namespace {

std::string Trim(const char* begin, const char* end) {
    while (begin < end && *begin == ' ') ++begin;
    while (end > begin && end[-1] == ' ') --end;
    return std::string(begin, end);
}

}  // namespace

void ReferenceIniParse(IniDocument& document, const std::string& text) {
    const char* data = text.c_str();
    const char* open = std::strchr(data, '[');
    while (open != nullptr) {
        const char* close = std::strchr(open + 1, ']');
        if (close == nullptr) return;
        auto section = std::make_unique<IniSection>();
        section->name.assign(open + 1, close);
        IniSection& current = *section;
        document.sections.push_back(std::move(section));
        const char* position = close;
        for (;;) {
            const char* hash = std::strchr(position, '#');
            const char* equals = std::strchr(position, '=');
            const char* bracket = std::strchr(position, '[');
            if (bracket != nullptr && hash != nullptr && equals != nullptr && bracket < hash &&
                bracket < equals) {
                break;
            }
            if (hash != nullptr && equals != nullptr && hash < equals) {
                position = std::strstr(hash, "\r\n");
                continue;
            }
            if (equals == nullptr || (bracket != nullptr && bracket < equals)) break;
            const char* lineStart = nullptr;
            for (const char* at = equals - 1; at > position; --at) {
                if (*at == '\n' && at[-1] == '\r') {
                    lineStart = at + 1;
                    break;
                }
            }
            if (lineStart == nullptr) break;
            const std::string key = Trim(lineStart, equals);
            if (key.empty()) break;
            const char* valueEnd = std::strstr(equals, "\r\n");
            current.keys.push_back(key);
            current.values.push_back(Trim(equals + 1, valueEnd));
            position = valueEnd;
        }
        open = std::strchr(position, '[');
    }
}

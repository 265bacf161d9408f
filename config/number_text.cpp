#include "config/number_text.h"

#include <limits>

namespace {

template <typename Character>
bool IsSpace(Character character) {
    return character == ' ' || (character >= '\t' && character <= '\r');
}

template <typename Character>
std::int32_t Parse(const Character* text) {
    if (text == nullptr) return 0;
    while (IsSpace(*text)) ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    constexpr std::int64_t kLimit =
        static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1;
    std::int64_t magnitude = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        // Beyond the limit the digits no longer matter, only that there were so many.
        if (magnitude < kLimit) magnitude = magnitude * 10 + (*text - '0');
    }
    if (negative) return static_cast<std::int32_t>(-std::min(magnitude, kLimit));
    return static_cast<std::int32_t>(std::min(magnitude, kLimit - 1));
}

}  // namespace

std::int32_t ParseDecimal(const char* text) { return Parse(text); }
std::int32_t ParseDecimal(const wchar_t* text) { return Parse(text); }
std::string FormatDecimal(std::int32_t value) { return std::to_string(value); }

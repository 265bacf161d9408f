#include "platform/base/text_encoding.h"

#include <cstdint>
#include <cstring>

namespace platform {
namespace {

bool IsEncodable(std::uint32_t codePoint) {
    return codePoint <= 0x10FFFF && (codePoint < 0xD800 || codePoint > 0xDFFF);
}

// The character at `index`: its length in bytes, or 0 where the bytes there are no UTF-8
// (cut short, overlong, a surrogate or beyond U+10FFFF).
std::size_t DecodeCharacter(std::string_view utf8, std::size_t index, std::uint32_t& codePoint) {
    const auto lead = static_cast<unsigned char>(utf8[index]);
    std::size_t length = 0;
    std::uint32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        codePoint = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        codePoint = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        codePoint = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    std::size_t taken = 1;
    while (taken < length && index + taken < utf8.size() &&
           (static_cast<unsigned char>(utf8[index + taken]) & 0xC0) == 0x80) {
        codePoint = (codePoint << 6) | (static_cast<unsigned char>(utf8[index + taken]) & 0x3F);
        ++taken;
    }
    return taken < length || codePoint < minimum || !IsEncodable(codePoint) ? 0 : length;
}

}  // namespace

std::wstring WideFromUtf8(std::string_view utf8) {
    std::wstring wide;
    wide.reserve(utf8.size());
    std::size_t index = 0;
    while (index < utf8.size()) {
        std::uint32_t codePoint = 0;
        const std::size_t length = DecodeCharacter(utf8, index, codePoint);
        // Not a character: only its first byte is escaped; the bytes after it are looked at
        // again on their own (a stray continuation byte is escaped in turn).
        if (length == 0) {
            wide.push_back(EscapedByte(static_cast<unsigned char>(utf8[index])));
            ++index;
            continue;
        }
        wide.push_back(static_cast<wchar_t>(codePoint));
        index += length;
    }
    return wide;
}

bool IsUtf8(std::string_view text) {
    std::size_t index = 0;
    while (index < text.size()) {
        // Most text is ASCII: eight bytes at a time while none has its high bit set.
        std::uint64_t eight = 0;
        if (index + sizeof eight <= text.size() &&
            (std::memcpy(&eight, text.data() + index, sizeof eight),
             (eight & 0x8080808080808080ULL) == 0)) {
            index += sizeof eight;
            continue;
        }
        if (static_cast<unsigned char>(text[index]) < 0x80) {
            ++index;
            continue;
        }
        std::uint32_t codePoint = 0;
        const std::size_t length = DecodeCharacter(text, index, codePoint);
        if (length == 0) return false;
        index += length;
    }
    return true;
}

std::string Utf8FromWide(std::wstring_view wide) {
    std::string utf8;
    utf8.reserve(wide.size());
    for (wchar_t character : wide) {
        auto codePoint = static_cast<std::uint32_t>(character);
        if (IsEscapedByte(codePoint)) {
            utf8.push_back(static_cast<char>(codePoint - 0xDC00));
            continue;
        }
        if (!IsEncodable(codePoint)) codePoint = kReplacementCharacter;
        if (codePoint < 0x80) {
            utf8.push_back(static_cast<char>(codePoint));
        } else if (codePoint < 0x800) {
            utf8.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
            utf8.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
        } else if (codePoint < 0x10000) {
            utf8.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
            utf8.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
            utf8.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
        } else {
            utf8.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
            utf8.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
            utf8.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
            utf8.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
        }
    }
    return utf8;
}

}  // namespace platform

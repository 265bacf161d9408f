#include "platform/base/text_encoding.h"

#include <cstdint>

namespace platform {
namespace {

bool IsEncodable(std::uint32_t codePoint) {
    return codePoint <= 0x10FFFF && (codePoint < 0xD800 || codePoint > 0xDFFF);
}

}  // namespace

std::wstring WideFromUtf8(std::string_view utf8) {
    std::wstring wide;
    wide.reserve(utf8.size());
    std::size_t index = 0;
    while (index < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[index]);
        int length = 0;
        std::uint32_t codePoint = 0;
        std::uint32_t minimum = 0;
        if (lead < 0x80) {
            wide.push_back(static_cast<wchar_t>(lead));
            ++index;
            continue;
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
        }
        int taken = 1;
        while (taken < length && index + taken < utf8.size() &&
               (static_cast<unsigned char>(utf8[index + taken]) & 0xC0) == 0x80) {
            codePoint = (codePoint << 6) | (static_cast<unsigned char>(utf8[index + taken]) & 0x3F);
            ++taken;
        }
        // Not a character: only its first byte is escaped; the bytes after it are looked at
        // again on their own (a stray continuation byte is escaped in turn).
        if (length == 0 || taken < length || codePoint < minimum || !IsEncodable(codePoint)) {
            wide.push_back(EscapedByte(lead));
            ++index;
            continue;
        }
        wide.push_back(static_cast<wchar_t>(codePoint));
        index += static_cast<std::size_t>(taken);
    }
    return wide;
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

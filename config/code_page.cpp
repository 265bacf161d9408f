#include "config/code_page.h"

#include "platform/base/text_encoding.h"

std::wstring WideFromAnsi(std::string_view text) { return platform::WideFromUtf8(text); }

std::string AnsiFromWide(std::wstring_view text, std::size_t capacity) {
    if (capacity == 0) return {};
    std::string encoded = platform::Utf8FromWide(text);
    if (encoded.size() < capacity) return encoded;
    std::size_t length = capacity - 1;
    // Back up over continuation bytes to the start of the character that does not fit.
    while (length > 0 && (static_cast<unsigned char>(encoded[length]) & 0xC0) == 0x80) --length;
    encoded.resize(length);
    return encoded;
}

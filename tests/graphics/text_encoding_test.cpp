// UTF-8 conversion: round trips of text, and bytes that are not UTF-8 kept byte for byte.
#include <gtest/gtest.h>

#include "platform/base/text_encoding.h"

namespace {

using platform::Utf8FromWide;
using platform::WideFromUtf8;

TEST(TextEncodingTest, RoundTripsLatinCyrillicCjkAndAstralText) {
    const std::wstring text =
        L"Ok \u0441\u0432\u043e\u0439\u0441\u0442\u0432\u0430 \u6f22\u5b57 \U0001F600";
    EXPECT_EQ(WideFromUtf8(Utf8FromWide(text)), text);
    EXPECT_EQ(Utf8FromWide(L"\u00e9"), "\xC3\xA9");
}

TEST(TextEncodingTest, BytesThatAreNotUtf8PassThroughByteForByte) {
    // A stray continuation byte, an overlong slash, an encoded surrogate, a truncated tail, a
    // byte that never starts a character, and Latin-1 text: each byte becomes one escape.
    EXPECT_EQ(WideFromUtf8("a\x80z"), L"a\xDC80z");
    EXPECT_EQ(WideFromUtf8("\xC0\xAF"), L"\xDCC0\xDCAF");
    EXPECT_EQ(WideFromUtf8("\xED\xA0\x80!"), L"\xDCED\xDCA0\xDC80!");
    EXPECT_EQ(WideFromUtf8("ab\xE2\x82"), L"ab\xDCE2\xDC82");
    EXPECT_EQ(WideFromUtf8("\xE2\x82z"), L"\xDCE2\xDC82z");
    EXPECT_EQ(WideFromUtf8("\xF4\x90\x80\x80"), L"\xDCF4\xDC90\xDC80\xDC80");  // > U+10FFFF
    EXPECT_EQ(WideFromUtf8("\xFF"), L"\xDCFF");
    EXPECT_EQ(WideFromUtf8("caf\xE9 \xC3\xA9"), L"caf\xDCE9 \u00E9");

    // Any bytes come back as they were: every single byte and every pair of bytes.
    for (int first = 0; first < 256; ++first) {
        for (int second = 0; second < 256; ++second) {
            const std::string bytes{static_cast<char>(first), static_cast<char>(second), 'x'};
            ASSERT_EQ(Utf8FromWide(WideFromUtf8(bytes)), bytes) << first << " " << second;
        }
    }
    const std::string mixed = "/tmp/caf\xE9/\xD0\x9F\xFF\xF0\x9F\x98\x80\xF0\x9F\x98";
    EXPECT_EQ(Utf8FromWide(WideFromUtf8(mixed)), mixed);

    // Other code points that UTF-8 cannot carry still become U+FFFD.
    EXPECT_EQ(Utf8FromWide(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf8FromWide(std::wstring(1, static_cast<wchar_t>(0xDC7F))), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf8FromWide(std::wstring(1, static_cast<wchar_t>(0xDD00))), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf8FromWide(std::wstring(1, static_cast<wchar_t>(0x110000))), "\xEF\xBF\xBD");
}

}  // namespace

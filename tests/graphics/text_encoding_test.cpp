// UTF-8 conversion: round trips, and invalid input that must never crash or over-read.
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

TEST(TextEncodingTest, InvalidBytesBecomeReplacementCharacters) {
    // A stray continuation byte, an overlong slash, an encoded surrogate and a truncated tail.
    EXPECT_EQ(WideFromUtf8("a\x80z"), L"a\uFFFDz");
    EXPECT_EQ(WideFromUtf8("\xC0\xAF"), L"\uFFFD");
    EXPECT_EQ(WideFromUtf8("\xED\xA0\x80!"), L"\uFFFD!");
    EXPECT_EQ(WideFromUtf8("ab\xE2\x82"), L"ab\uFFFD");
    EXPECT_EQ(WideFromUtf8("\xE2\x82z"), L"\uFFFDz");
    EXPECT_EQ(WideFromUtf8("\xFF"), L"\uFFFD");
    EXPECT_EQ(Utf8FromWide(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf8FromWide(std::wstring(1, static_cast<wchar_t>(0x110000))), "\xEF\xBF\xBD");
}

}  // namespace

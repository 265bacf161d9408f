// DrawText onto a bitmap: placement, clipping, background, colour, prefixes and hard strings.
#include <string>

#include "platform/graphics/font_face.h"
#include "platform/graphics/system_colors.h"
#include "text/text_canvas.h"

namespace text_tests {
namespace {

using DrawTextTest = TextCanvasTest;

RECT Shifted(RECT rect, int dx, int dy) {
    OffsetRect(&rect, dx, dy);
    return rect;
}

TEST_F(DrawTextTest, PlacesTextLeftCentredOrRightInTheRectangle) {
    const std::wstring text = L"Hello";
    const RECT area{20, 10, 421, 60};  // odd width: the centring rounds down
    const LONG width = Extent(text).cx;
    ASSERT_GT(width, 0);

    Draw(text, area, DT_SINGLELINE | DT_LEFT);
    const RECT left = InkBox();
    ASSERT_NE(left.right, 0);
    // The ink starts near the left edge and stays within the measured extent.
    EXPECT_GE(left.left, area.left);
    EXPECT_LE(left.left, area.left + 3);
    EXPECT_LE(left.right, area.left + width + 1);

    Clear(kWhite);
    Draw(text, area, DT_SINGLELINE | DT_CENTER);
    const int centreOffset = (area.right - area.left - width) / 2;
    EXPECT_EQ(Describe(Shifted(left, centreOffset, 0)), Describe(InkBox()));

    Clear(kWhite);
    Draw(text, area, DT_SINGLELINE | DT_RIGHT);
    EXPECT_EQ(Describe(Shifted(left, area.right - area.left - width, 0)), Describe(InkBox()));
}

TEST_F(DrawTextTest, PlacesASingleLineAtTopCentreOrBottom) {
    const std::wstring text = L"Wg";
    const RECT area{10, 20, 300, 121};
    const int lineHeight = Metrics().tmHeight;
    EXPECT_EQ(Draw(text, area, DT_SINGLELINE | DT_TOP), lineHeight);
    const RECT top = InkBox();
    EXPECT_GE(top.top, area.top);
    EXPECT_LE(top.bottom, area.top + lineHeight);

    Clear(kWhite);
    Draw(text, area, DT_SINGLELINE | DT_VCENTER);
    const int centreOffset = (area.bottom - area.top - lineHeight) / 2;
    EXPECT_EQ(Describe(Shifted(top, 0, centreOffset)), Describe(InkBox()));

    Clear(kWhite);
    Draw(text, area, DT_SINGLELINE | DT_BOTTOM);
    EXPECT_EQ(Describe(Shifted(top, 0, area.bottom - area.top - lineHeight)), Describe(InkBox()));

    // Without DT_SINGLELINE the vertical placement flags do nothing.
    Clear(kWhite);
    Draw(text, area, DT_VCENTER);
    EXPECT_EQ(Describe(top), Describe(InkBox()));
}

TEST_F(DrawTextTest, ClipsToTheRectangleUnlessToldNotTo) {
    const std::wstring text = L"A title far wider than its little box";
    const RECT area{180, 40, 300, 80};
    ASSERT_GT(Extent(text).cx, area.right - area.left);

    Draw(text, area, DT_SINGLELINE | DT_CENTER);
    const RECT clipped = InkBox();
    ASSERT_NE(clipped.right, 0);
    EXPECT_GE(clipped.left, area.left);
    EXPECT_LE(clipped.right, area.right);
    EXPECT_GE(clipped.top, area.top);
    EXPECT_LE(clipped.bottom, area.bottom);

    // Centred text overflows on both sides when it is not clipped.
    Clear(kWhite);
    Draw(text, area, DT_SINGLELINE | DT_CENTER | DT_NOCLIP);
    const RECT overflowing = InkBox();
    EXPECT_LT(overflowing.left, area.left);
    EXPECT_GT(overflowing.right, area.right);

    // A rectangle shorter than the line cuts the glyphs vertically.
    Clear(kWhite);
    Draw(L"Hg", RECT{10, 100, 200, 108}, 0);
    EXPECT_LE(InkBox().bottom, 108);
}

TEST_F(DrawTextTest, NeverDrawsOutsideTheContextClip) {
    const RECT deviceClip{100, 0, 200, kHeight};
    platform::FindDeviceContext(dc_)->LimitClip(deviceClip);
    Draw(L"Clipped by the context itself", RECT{0, 50, kWidth, 100}, DT_SINGLELINE | DT_NOCLIP);
    const RECT ink = InkBox();
    ASSERT_NE(ink.right, 0);
    EXPECT_GE(ink.left, deviceClip.left);
    EXPECT_LE(ink.right, deviceClip.right);

    // Rectangles partly or wholly off the bitmap, even at the ends of the coordinate range.
    EXPECT_GT(Draw(L"Off the edge", RECT{-40, -10, 150, 30}, 0), 0);
    EXPECT_GT(Draw(L"Far away", RECT{INT_MIN, INT_MIN, INT_MAX, INT_MAX},
                   DT_CENTER | DT_VCENTER | DT_SINGLELINE),
              0);
    EXPECT_GT(Draw(L"Far away", RECT{INT_MAX - 5, 0, INT_MAX, 40}, DT_RIGHT | DT_NOCLIP), 0);
}

TEST_F(DrawTextTest, OpaqueModeFillsEachLineBoxTransparentLeavesTheBackground) {
    const COLORREF blue = RGB(0, 0, 255);
    const COLORREF red = RGB(255, 0, 0);
    Clear(blue);
    SetTextColor(dc_, RGB(0, 0, 0));
    SetBkColor(dc_, red);
    SetBkMode(dc_, OPAQUE);
    const std::wstring text = L"a b";
    const LONG width = Extent(text).cx;
    const int lineHeight = Metrics().tmHeight;
    Draw(text, RECT{10, 10, 300, 100}, 0);
    // The whole line box is painted (text or background), nothing outside it.
    const RECT painted = InkBox(blue);
    EXPECT_EQ(painted.left, 10);
    EXPECT_EQ(painted.top, 10);
    EXPECT_EQ(painted.right, 10 + width);
    EXPECT_EQ(painted.bottom, 10 + lineHeight);
    for (int y = 10; y < 10 + lineHeight; ++y) {
        for (int x = 10; x < 10 + width; ++x) ASSERT_NE(At(x, y), blue) << x << "," << y;
    }
    EXPECT_EQ(At(1, 1), blue);

    Clear(blue);
    SetBkMode(dc_, TRANSPARENT);
    Draw(text, RECT{10, 10, 300, 100}, 0);
    EXPECT_TRUE(HasInk({0, 0, kWidth, kHeight}, blue));
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) ASSERT_NE(At(x, y), red);
    }
    // Between the glyphs the background stays.
    EXPECT_EQ(At(10 + width / 2, 10), blue);
}

TEST_F(DrawTextTest, DrawsInTheTextColourIncludingSystemColours) {
    const COLORREF green = RGB(10, 160, 40);
    SetTextColor(dc_, green);
    UseFont(MakeLogFont(-40));
    Draw(L"HITO", RECT{0, 0, kWidth, kHeight}, DT_SINGLELINE);
    // Stems cover whole pixels; the round edges blend between the two colours.
    bool fullyCovered = false;
    bool blended = false;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const COLORREF pixel = At(x, y);
            fullyCovered = fullyCovered || pixel == green;
            blended = blended || (pixel != green && pixel != kWhite);
            ASSERT_GE(GetRValue(pixel), GetRValue(green));
            ASSERT_GE(GetGValue(pixel), GetGValue(green));
            ASSERT_GE(GetBValue(pixel), GetBValue(green));
        }
    }
    EXPECT_TRUE(fullyCovered);
    EXPECT_TRUE(blended);

    Clear(kWhite);
    SetTextColor(dc_, SYS_COLOR_INDEX_FLAG | COLOR_HIGHLIGHT);
    Draw(L"HIT", RECT{0, 0, kWidth, kHeight}, DT_SINGLELINE);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    bool found = false;
    for (int y = 0; y < kHeight && !found; ++y) {
        for (int x = 0; x < kWidth && !found; ++x) found = At(x, y) == highlight;
    }
    EXPECT_TRUE(found);
}

TEST_F(DrawTextTest, AmpersandsMarkMnemonicsUnlessNoPrefix) {
    const std::wstring plain = L"Save";
    const std::wstring marked = L"&Save";
    // The prefix takes no room; without prefix processing it is an ordinary character.
    EXPECT_EQ(CalcRect(marked, DT_SINGLELINE).right, Extent(plain).cx);
    EXPECT_EQ(CalcRect(marked, DT_SINGLELINE | DT_NOPREFIX).right, Extent(marked).cx);
    EXPECT_EQ(CalcRect(L"A&&B", DT_SINGLELINE).right, Extent(L"A&B").cx);
    EXPECT_EQ(CalcRect(L"AB&", DT_SINGLELINE).right, Extent(L"AB").cx);

    // "&S" underlines the S: the two drawings differ only below the baseline, under the S.
    const RECT area{10, 10, 300, 80};
    const TEXTMETRIC metrics = Metrics();
    const int baseline = area.top + metrics.tmAscent;
    Draw(plain, area, DT_SINGLELINE);
    const auto withoutUnderline = Snapshot();
    Clear(kWhite);
    Draw(marked, area, DT_SINGLELINE);
    const auto withUnderline = Snapshot();
    ASSERT_NE(withUnderline, withoutUnderline);
    const LONG underlineEnd = area.left + Extent(L"S").cx;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const std::size_t index = static_cast<std::size_t>(y) * kWidth + x;
            if (withUnderline[index] == withoutUnderline[index]) continue;
            EXPECT_GE(y, baseline);
            EXPECT_LT(y, area.top + metrics.tmHeight);
            EXPECT_GE(x, area.left);
            EXPECT_LT(x, underlineEnd);
        }
    }

    // "&&" draws a single ampersand and underlines nothing.
    Clear(kWhite);
    Draw(L"A&&B", area, DT_SINGLELINE);
    const auto doubled = Snapshot();
    Clear(kWhite);
    Draw(L"A&B", area, DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(Snapshot(), doubled);
}

TEST_F(DrawTextTest, LinesStackAndWrapAtSpaces) {
    const int lineHeight = Metrics().tmHeight;
    const RECT area{0, 0, kWidth, kHeight};
    EXPECT_EQ(Draw(L"One\nTwo", area, 0), 2 * lineHeight);
    EXPECT_TRUE(HasInk({0, 0, kWidth, lineHeight}));
    EXPECT_TRUE(HasInk({0, lineHeight, kWidth, 2 * lineHeight}));
    EXPECT_FALSE(HasInk({0, 2 * lineHeight, kWidth, kHeight}));

    // Word wrapping puts "three" on a line of its own below "one two".
    Clear(kWhite);
    const LONG width = Extent(L"one two").cx;
    EXPECT_EQ(Draw(L"one two three", RECT{0, 0, width, kHeight}, DT_WORDBREAK), 2 * lineHeight);
    const RECT secondLine = InkBox(kWhite, {0, lineHeight, kWidth, kHeight});
    EXPECT_LE(secondLine.right, Extent(L"three").cx + 1);
    EXPECT_LE(InkBox().right, width);
}

TEST_F(DrawTextTest, EndEllipsisKeepsLongTextInsideTheRectangle) {
    const std::wstring text = L"A long program name that does not fit";
    const RECT area{10, 10, 150, 60};
    const LONG width = area.right - area.left;
    RECT measured = area;
    DrawText(dc_, text.c_str(), -1, &measured, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
    EXPECT_LE(measured.right, area.right);
    EXPECT_GE(measured.right, area.right - Metrics().tmMaxCharWidth - Extent(L"...").cx);

    Draw(text, area, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    const RECT ink = InkBox();
    EXPECT_GE(ink.left, area.left);
    EXPECT_LE(ink.right, area.right);

    // The same text drawn clipped without the ellipsis looks different at the end.
    const auto withEllipsis = Snapshot();
    Clear(kWhite);
    Draw(text, area, DT_SINGLELINE);
    EXPECT_NE(Snapshot(), withEllipsis);

    // Text that fits is left alone.
    EXPECT_EQ(CalcRect(L"Short", DT_SINGLELINE | DT_END_ELLIPSIS, width).right,
              Extent(L"Short").cx);
}

TEST_F(DrawTextTest, ScriptsWithoutGlyphsAndInvalidValuesDrawWithoutHarm) {
    const RECT area{0, 0, kWidth, kHeight};
    const std::wstring cyrillic = L"Привет, мир";
    EXPECT_GT(Extent(cyrillic).cx, 0);
    EXPECT_GT(Draw(cyrillic, area, DT_SINGLELINE), 0);
    EXPECT_TRUE(HasInk(area));

    // CJK may come from a fallback font or draw as missing-glyph boxes: either way it takes room.
    Clear(kWhite);
    const std::wstring chinese = L"中文字体";
    EXPECT_GT(Extent(chinese).cx, 0);
    EXPECT_GT(Draw(chinese, area, DT_SINGLELINE), 0);
    EXPECT_TRUE(HasInk(area));

    // Not Unicode characters: beyond the range, surrogates, negative; and control characters.
    std::wstring invalid;
    for (wchar_t value :
         {static_cast<wchar_t>(0x110000), static_cast<wchar_t>(0xD800),
          static_cast<wchar_t>(0xDFFF), static_cast<wchar_t>(-1), static_cast<wchar_t>(0x7FFFFFFF),
          static_cast<wchar_t>(1), static_cast<wchar_t>(0x10FFFF), static_cast<wchar_t>(0xE000)}) {
        invalid.push_back(value);
    }
    EXPECT_GT(Extent(invalid.substr(0, 1)).cx, 0);  // the missing-glyph box takes room
    Clear(kWhite);
    EXPECT_GT(Draw(invalid, area, 0), 0);
    EXPECT_TRUE(HasInk(area));
    EXPECT_GT(Draw(std::wstring(L"a\0b", 3), area, DT_NOPREFIX), 0);
}

TEST_F(DrawTextTest, RejectsBadArguments) {
    RECT area{0, 0, 100, 100};
    EXPECT_EQ(DrawText(nullptr, L"text", -1, &area, 0), 0);
    EXPECT_EQ(DrawText(reinterpret_cast<HDC>(&area), L"text", -1, &area, 0), 0);
    EXPECT_EQ(DrawText(dc_, L"text", -1, nullptr, 0), 0);
    EXPECT_EQ(DrawText(dc_, nullptr, 4, &area, 0), 0);
    EXPECT_EQ(DrawText(dc_, L"text", -2, &area, 0), 0);
    SIZE size{};
    EXPECT_FALSE(GetTextExtentPoint32(nullptr, L"a", 1, &size));
    EXPECT_FALSE(GetTextExtentPoint32(dc_, L"a", 1, nullptr));
    EXPECT_FALSE(GetTextExtentPoint32(dc_, L"a", -1, &size));
    TEXTMETRIC metrics{};
    EXPECT_FALSE(GetTextMetrics(nullptr, &metrics));
    EXPECT_FALSE(GetTextMetrics(dc_, nullptr));
    EXPECT_FALSE(HasInk({0, 0, kWidth, kHeight}));
}

TEST_F(DrawTextTest, SecondDrawingRendersNoNewGlyphs) {
    UseFont(MakeLogFont(-31));  // a size no other test uses, so its cache starts empty
    const std::wstring text = L"Cache me, Привет 中 \x10FFFF";
    const RECT area{0, 0, kWidth, kHeight};
    // Measuring loads advances but rasterises nothing.
    const std::uint64_t beforeMeasuring = platform::GlyphRenderCount();
    Extent(text);
    CalcRect(text, 0);
    EXPECT_EQ(platform::GlyphRenderCount(), beforeMeasuring);

    Draw(text, area, 0);
    const std::uint64_t afterFirst = platform::GlyphRenderCount();
    EXPECT_GT(afterFirst, beforeMeasuring);
    Draw(text, area, DT_CENTER);
    EXPECT_EQ(platform::GlyphRenderCount(), afterFirst);

    // A font created anew for the next paint finds the same face and its glyphs.
    UseFont(MakeLogFont(-31));
    Draw(text, area, 0);
    EXPECT_EQ(platform::GlyphRenderCount(), afterFirst);
}

TEST_F(DrawTextTest, VeryLongTitleRasterisesOnlyWhatIsVisible) {
    UseFont(MakeLogFont(-23));  // a size no other test uses
    // Visible middle: Latin; far outside on both sides: Cyrillic that must never be rasterised.
    std::wstring title(4000, L'Ж');
    title += std::wstring(2000, L'a');
    title += std::wstring(4000, L'Ж');
    ASSERT_EQ(title.size(), 10000U);
    const RECT area{-260, 0, 740, 60};  // 1000 pixels, partly off the bitmap
    const std::uint64_t before = platform::GlyphRenderCount();
    EXPECT_EQ(Draw(title, area, DT_SINGLELINE | DT_CENTER), Metrics().tmHeight);
    EXPECT_EQ(platform::GlyphRenderCount(), before + 1);  // 'a' only
    EXPECT_TRUE(HasInk({0, 0, kWidth, 60}));
}

}  // namespace
}  // namespace text_tests

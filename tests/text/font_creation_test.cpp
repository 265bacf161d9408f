// Font objects: creation, the LOGFONT they keep, sizes, weights, the default font and sharing.
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/base/system_metrics.h"
#include "platform/graphics/font_face.h"
#include "text/text_canvas.h"

namespace text_tests {
namespace {

using FontCreationTest = TextCanvasTest;

TEST_F(FontCreationTest, RefusesMissingDescriptionsAndAbsurdHeights) {
    const int before = platform::LiveGdiObjectCount();
    EXPECT_EQ(CreateFontIndirect(nullptr), nullptr);
    for (LONG height : {2001, -2001, INT_MAX, INT_MIN, INT_MIN + 1}) {
        LOGFONT description = MakeLogFont(height);
        EXPECT_EQ(CreateFontIndirect(&description), nullptr) << height;
    }
    EXPECT_EQ(platform::LiveGdiObjectCount(), before);
    // The largest heights allowed still work.
    EXPECT_NE(MakeFont(MakeLogFont(2000)), nullptr);
    EXPECT_NE(MakeFont(MakeLogFont(-2000)), nullptr);
}

TEST_F(FontCreationTest, KeepsTheDescriptionAsGiven) {
    LOGFONT description = MakeLogFont(0, L"DejaVu Serif", 0, true);
    description.lfUnderline = 1;
    description.lfQuality = 3;
    HFONT font = MakeFont(description);
    LOGFONT stored{};
    ASSERT_EQ(GetObject(font, sizeof stored, &stored), static_cast<int>(sizeof(LOGFONT)));
    EXPECT_EQ(std::memcmp(&stored, &description, sizeof(LOGFONT)), 0);
    EXPECT_EQ(stored.lfHeight, 0);

    // A face name that fills the whole array without a terminator is read only to its end.
    LOGFONT unterminated = MakeLogFont(-12);
    for (wchar_t& character : unterminated.lfFaceName) character = L'Q';
    EXPECT_NE(MakeFont(unterminated), nullptr);
}

TEST_F(FontCreationTest, PositiveHeightIsTheCellAndNegativeTheEm) {
    UseFont(MakeLogFont(20));
    const TEXTMETRIC cell = Metrics();
    EXPECT_EQ(cell.tmHeight, 20);
    EXPECT_EQ(cell.tmAscent + cell.tmDescent, cell.tmHeight);

    UseFont(MakeLogFont(-20));
    const TEXTMETRIC em = Metrics();
    EXPECT_EQ(em.tmHeight - em.tmInternalLeading, 20);
    EXPECT_GT(em.tmHeight, 20);  // the line is taller than the em in any ordinary font
    EXPECT_EQ(em.tmAscent + em.tmDescent, em.tmHeight);
    EXPECT_EQ(em.tmExternalLeading, 0);
    EXPECT_GT(em.tmAveCharWidth, 0);
    EXPECT_GE(em.tmMaxCharWidth, em.tmAveCharWidth);
    EXPECT_EQ(Extent(L"x").cx, em.tmAveCharWidth);
    EXPECT_EQ(Extent(L"").cy, em.tmHeight);

    // Every cell height is met exactly, small and large.
    for (LONG height : {1, 7, 13, 33, 100}) {
        UseFont(MakeLogFont(height));
        EXPECT_EQ(Metrics().tmHeight, height);
    }
}

TEST_F(FontCreationTest, DefaultFontIsAStockObjectEveryContextStartsWith) {
    HFONT standard = platform::DefaultFont();
    ASSERT_NE(standard, nullptr);
    EXPECT_EQ(platform::DefaultFont(), standard);
    LOGFONT description{};
    ASSERT_GT(GetObject(standard, sizeof description, &description), 0);
    EXPECT_EQ(description.lfHeight, -platform::ScaleForDisplay(14));
    EXPECT_EQ(description.lfWeight, FW_NORMAL);
    EXPECT_EQ(description.lfFaceName[0], L'\0');
    EXPECT_FALSE(DeleteObject(standard));

    HDC fresh = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetCurrentObject(fresh, OBJ_FONT), standard);
    TEXTMETRIC defaultMetrics{};
    ASSERT_TRUE(GetTextMetrics(fresh, &defaultMetrics));
    DeleteDC(fresh);

    // Height 0 asks for the default height.
    LOGFONT zero{};
    UseFont(zero);
    const TEXTMETRIC metrics = Metrics();
    EXPECT_EQ(metrics.tmHeight, defaultMetrics.tmHeight);
    EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, platform::ScaleForDisplay(14));
    EXPECT_EQ(metrics.tmWeight, FW_NORMAL);
}

TEST_F(FontCreationTest, BoldIsWiderAndItalicDrawsDifferently) {
    const std::wstring sample = L"Settings and Programs";
    const LONG normalWidth = Extent(sample).cx;
    UseFont(MakeLogFont(-20, L"DejaVu Sans", FW_BOLD));
    EXPECT_GT(Extent(sample).cx, normalWidth);
    EXPECT_EQ(Metrics().tmWeight, FW_BOLD);

    // Italic slants, whether the family has an italic file or the slant is synthesised: the top
    // of an upright stem moves right of its foot.
    const RECT area{10, 10, 470, 60};
    auto stemLean = [&](bool italic) {
        Clear(kWhite);
        UseFont(MakeLogFont(-40, L"DejaVu Sans", FW_NORMAL, italic));
        Draw(L"l", area, DT_SINGLELINE);
        const RECT ink = InkBox();
        const int quarter = (ink.bottom - ink.top) / 4;
        const RECT top = InkBox(kWhite, {0, ink.top, kWidth, ink.top + quarter});
        const RECT foot = InkBox(kWhite, {0, ink.bottom - quarter, kWidth, ink.bottom});
        return top.left - foot.left;
    };
    EXPECT_LE(std::abs(stemLean(false)), 1);
    EXPECT_GE(stemLean(true), 3);
    EXPECT_NE(Metrics().tmItalic, 0);
}

TEST_F(FontCreationTest, SynthesizesBoldAndItalicWhenTheFamilyHasNeither) {
    // Only meaningful where this family, which has a single upright regular file, is installed.
    HFONT bold = MakeFont(MakeLogFont(-20, L"Droid Sans Fallback", FW_BOLD));
    HFONT italic = MakeFont(MakeLogFont(-20, L"Droid Sans Fallback", FW_NORMAL, true));
    const platform::FontObject* object = FontObjectOf(bold);
    ASSERT_NE(object, nullptr);
    if (object->face->FamilyName() != "Droid Sans Fallback") GTEST_SKIP() << "font not installed";
    EXPECT_TRUE(object->face->SynthesizesBold());
    EXPECT_FALSE(object->face->SynthesizesItalic());
    EXPECT_TRUE(FontObjectOf(italic)->face->SynthesizesItalic());
    EXPECT_FALSE(FontObjectOf(italic)->face->SynthesizesBold());
    const std::wstring sample = L"Bold";
    UseFont(MakeLogFont(-20, L"Droid Sans Fallback"));
    const LONG normalWidth = Extent(sample).cx;
    SelectObject(dc_, bold);
    EXPECT_GT(Extent(sample).cx, normalWidth);
}

TEST_F(FontCreationTest, MissingFaceFallsBackToTheDefaultFace) {
    HFONT missing = MakeFont(MakeLogFont(-20, L"No Such Family 12345"));
    HFONT standard = MakeFont(MakeLogFont(-20, L""));
    ASSERT_NE(missing, nullptr);
    ASSERT_NE(standard, nullptr);
    EXPECT_EQ(FontObjectOf(missing)->face->FamilyName(),
              FontObjectOf(standard)->face->FamilyName());
    SelectObject(dc_, missing);
    Draw(L"Fallback", RECT{0, 0, kWidth, kHeight}, DT_SINGLELINE);
    EXPECT_TRUE(HasInk({0, 0, kWidth, kHeight}));
}

TEST_F(FontCreationTest, FontsAskingForTheSameShareOneFace) {
    HFONT first = MakeFont(MakeLogFont(-17));
    HFONT second = MakeFont(MakeLogFont(-17));
    HFONT larger = MakeFont(MakeLogFont(-18));
    HFONT bold = MakeFont(MakeLogFont(-17, L"DejaVu Sans", FW_BOLD));
    EXPECT_NE(first, second);
    EXPECT_EQ(FontObjectOf(first)->face, FontObjectOf(second)->face);
    EXPECT_NE(FontObjectOf(first)->face, FontObjectOf(larger)->face);
    EXPECT_NE(FontObjectOf(first)->face, FontObjectOf(bold)->face);
    // FW_DONTCARE is the normal weight.
    HFONT dontCare = MakeFont(MakeLogFont(-17, L"DejaVu Sans", FW_DONTCARE));
    EXPECT_EQ(FontObjectOf(first)->face, FontObjectOf(dontCare)->face);
}

TEST_F(FontCreationTest, DeletingASelectedFontWaitsForTheContext) {
    LOGFONT description = MakeLogFont(-15);
    HFONT font = CreateFontIndirect(&description);
    HGDIOBJ previous = SelectObject(dc_, font);
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_GT(Draw(L"still drawable", RECT{0, 0, kWidth, kHeight}, DT_SINGLELINE), 0);
    SelectObject(dc_, previous);  // now it goes; the fixture checks nothing is left behind
    EXPECT_EQ(FontObjectOf(font), nullptr);
}

}  // namespace
}  // namespace text_tests

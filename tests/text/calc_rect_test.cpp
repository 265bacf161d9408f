// Measuring with DT_CALCRECT: line breaks, word wrapping, tabs and empty text.
#include <string>

#include "text/text_canvas.h"

namespace text_tests {
namespace {

class CalcRectTest : public TextCanvasTest {
  protected:
    void SetUp() override {
        TextCanvasTest::SetUp();
        lineHeight_ = Metrics().tmHeight;
    }
    int lineHeight_ = 0;
};

TEST_F(CalcRectTest, SingleLineIsTheExtentAndDrawsNothing) {
    RECT rect{5, 7, 6, 8};
    const std::wstring text = L"Measure me";
    EXPECT_EQ(DrawText(dc_, text.c_str(), -1, &rect, DT_SINGLELINE | DT_CALCRECT), lineHeight_);
    EXPECT_EQ(rect.left, 5);
    EXPECT_EQ(rect.top, 7);
    EXPECT_EQ(rect.right, 5 + Extent(text).cx);
    EXPECT_EQ(rect.bottom, 7 + lineHeight_);
    EXPECT_FALSE(HasInk({0, 0, kWidth, kHeight}));

    // A single line ignores line breaks and is one line even when empty.
    EXPECT_EQ(CalcRect(L"ab\r\ncd\n", DT_SINGLELINE).right, Extent(L"abcd").cx);
    EXPECT_EQ(CalcRect(L"ab\r\ncd\n", DT_SINGLELINE).bottom, lineHeight_);
    const RECT empty = CalcRect(L"", DT_SINGLELINE);
    EXPECT_EQ(empty.right, 0);
    EXPECT_EQ(empty.bottom, lineHeight_);
}

TEST_F(CalcRectTest, LineBreaksMakeLinesAndTheWidestCounts) {
    RECT widest = CalcRect(L"a\nccc\nbb", 0);
    EXPECT_EQ(widest.right, Extent(L"ccc").cx);
    EXPECT_EQ(widest.bottom, 3 * lineHeight_);
    // "\r\n" is one break, a lone "\r" is one too, and a break at the very end adds no line.
    EXPECT_EQ(CalcRect(L"a\r\nb\rc", 0).bottom, 3 * lineHeight_);
    EXPECT_EQ(CalcRect(L"a\n", 0).bottom, lineHeight_);
    EXPECT_EQ(CalcRect(L"a\n\nb", 0).bottom, 3 * lineHeight_);
    EXPECT_EQ(CalcRect(L"\n", 0).bottom, lineHeight_);
    EXPECT_EQ(CalcRect(L"", 0).bottom, 0);
    // A prefix before a break underlines nothing and takes no room.
    EXPECT_EQ(CalcRect(L"ab&\ncd", 0).right, Extent(L"ab").cx);
}

TEST_F(CalcRectTest, WordBreakWrapsAtSpacesAndKeepsLongWordsWhole) {
    const LONG width = Extent(L"one two").cx;
    // Exactly as wide as "one two": that line fits, the next word goes below.
    EXPECT_EQ(CalcRect(L"one two three", DT_WORDBREAK, width).bottom, 2 * lineHeight_);
    EXPECT_EQ(CalcRect(L"one two three", DT_WORDBREAK, width - 1).bottom, 3 * lineHeight_);
    // Several spaces at a break vanish with it.
    EXPECT_EQ(CalcRect(L"one    two", DT_WORDBREAK, Extent(L"one").cx).right, Extent(L"one").cx);

    // A word wider than the rectangle keeps its own line and sets the width.
    const std::wstring longWord = L"Extraordinarily";
    RECT longRect = CalcRect(L"a " + longWord + L" b", DT_WORDBREAK, Extent(L"a").cx);
    EXPECT_EQ(longRect.bottom, 3 * lineHeight_);
    EXPECT_EQ(longRect.right, Extent(longWord).cx);

    // Hard breaks still apply, and a single line never wraps.
    EXPECT_EQ(CalcRect(L"a b\nc", DT_WORDBREAK, 1).bottom, 3 * lineHeight_);
    EXPECT_EQ(CalcRect(L"one two three", DT_WORDBREAK | DT_SINGLELINE, width).bottom, lineHeight_);
    // Leading spaces are no place to break.
    EXPECT_EQ(CalcRect(L"   word", DT_WORDBREAK, 1).bottom, lineHeight_);
}

TEST_F(CalcRectTest, EditControlWrappingBreaksAWordWiderThanTheRectangle) {
    // A path with no space in it still fits a narrow box, broken after its last fitting letter.
    const std::wstring path = L"/usr/share/applications/org.example.Notes.desktop";
    const LONG width = Extent(L"/usr/share/").cx;
    const RECT broken = CalcRect(path, DT_WORDBREAK | DT_EDITCONTROL, width);
    EXPECT_LE(broken.right, width);
    EXPECT_GE(broken.bottom, 4 * lineHeight_);
    EXPECT_EQ(CalcRect(L"/usr/share/x", DT_WORDBREAK | DT_EDITCONTROL, width).bottom,
              2 * lineHeight_)
        << "the break comes after exactly the letters that fit";
    // Words that fit still break at spaces, and one letter wider than the rectangle stays.
    EXPECT_EQ(
        CalcRect(L"one two three", DT_WORDBREAK | DT_EDITCONTROL, Extent(L"one two").cx).bottom,
        2 * lineHeight_);
    EXPECT_EQ(CalcRect(L"W", DT_WORDBREAK | DT_EDITCONTROL, 1).bottom, lineHeight_);
}

TEST_F(CalcRectTest, TabsExpandToStopsOfEightAverageCharacters) {
    const LONG stop = 8 * Metrics().tmAveCharWidth;
    EXPECT_EQ(CalcRect(L"a\tb", DT_EXPANDTABS).right, stop + Extent(L"b").cx);
    EXPECT_EQ(CalcRect(L"\t\tb", DT_EXPANDTABS).right, 2 * stop + Extent(L"b").cx);
    EXPECT_EQ(CalcRect(L"a\tb", DT_EXPANDTABS | DT_SINGLELINE).right, stop + Extent(L"b").cx);
    // Without expansion a tab is as wide as a space.
    EXPECT_EQ(CalcRect(L"a\tb", 0).right, Extent(L"a b").cx);
}

}  // namespace
}  // namespace text_tests

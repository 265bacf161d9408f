// DrawText with DT_WORDBREAK as a description panel uses it: lines break between words inside the
// rectangle, CR LF and LF start new lines, the rectangle's bottom cuts the text, a word wider than
// the rectangle keeps a line of its own and is clipped.
#include <algorithm>
#include <string>
#include <vector>

#include "text/text_canvas.h"

namespace text_tests {
namespace {

class WordWrapTest : public TextCanvasTest {
  protected:
    void SetUp() override {
        TextCanvasTest::SetUp();
        lineHeight = Metrics().tmHeight;
    }
    // The ink of line `index` of text drawn from y = top.
    RECT LineInk(int index, int top = 0) const {
        return InkBox(kWhite, {0, top + index * lineHeight, kWidth,
                               std::min(kHeight, top + (index + 1) * lineHeight)});
    }
    int lineHeight = 0;
};

TEST_F(WordWrapTest, BreaksBetweenWordsSoThatEachLineFitsTheRectangle) {
    const std::vector<std::wstring> words = {L"при",       L"значении", L"«да»",     L"берётся",
                                             L"системная", L"высота",   L"элемента", L"списка"};
    std::wstring text;
    for (const std::wstring& word : words) text += (text.empty() ? L"" : L" ") + word;
    for (const LONG width : {Extent(L"при значении «да»").cx, Extent(L"при значении «да»").cx - 1,
                             LONG{150}, LONG{97}}) {
        Clear(kWhite);
        // As many whole words on each line as fit in the width.
        std::vector<std::wstring> lines;
        for (std::size_t next = 0; next < words.size();) {
            std::wstring line = words[next++];
            while (next < words.size() && Extent(line + L" " + words[next]).cx <= width)
                line += L" " + words[next++];
            lines.push_back(line);
        }
        const int count = static_cast<int>(lines.size());
        EXPECT_EQ(Draw(text, RECT{10, 0, 10 + width, kHeight}, DT_WORDBREAK), count * lineHeight)
            << width;
        // The line's ink ends where its words end (a glyph may stop a pixel or two short), or at
        // the right edge for a word wider than the rectangle.
        for (int index = 0; index < count; ++index) {
            const RECT ink = LineInk(index);
            const LONG end = 10 + std::min(Extent(lines[index]).cx, width);
            EXPECT_GE(ink.left, 10) << width << " " << index;
            EXPECT_LE(ink.right, end) << width << " " << index;
            EXPECT_GE(ink.right, end - 3) << width << " " << index;
        }
        EXPECT_FALSE(HasInk({0, count * lineHeight, kWidth, kHeight})) << width;
        EXPECT_LE(InkBox().right, 10 + width);
    }
}

TEST_F(WordWrapTest, CrLfAndLfStartNewLinesAndABlankLineStaysBlank) {
    const RECT area{0, 0, kWidth, kHeight};
    EXPECT_EQ(Draw(L"автор\r\nгод\nсайт", area, DT_WORDBREAK), 3 * lineHeight);
    const auto separate = Snapshot();
    EXPECT_LE(LineInk(0).right, Extent(L"автор").cx);
    EXPECT_LE(LineInk(1).right, Extent(L"год").cx);
    EXPECT_LE(LineInk(2).right, Extent(L"сайт").cx);
    Clear(kWhite);
    Draw(L"автор\nгод\r\nсайт", area, DT_WORDBREAK);
    EXPECT_EQ(Snapshot(), separate) << "CR LF and LF break alike, and CR LF is one break";

    Clear(kWhite);
    EXPECT_EQ(Draw(L"one\r\n\r\ntwo", area, DT_WORDBREAK), 3 * lineHeight);
    EXPECT_TRUE(HasInk(LineInk(0)));
    EXPECT_EQ(LineInk(1).right, 0);
    EXPECT_TRUE(HasInk(LineInk(2)));
}

TEST_F(WordWrapTest, TheRectanglesBottomCutsTheTextAndNothingIsDrawnBelowIt) {
    std::wstring text;
    for (int copy = 0; copy < 20; ++copy) text += L"слово и ещё слово ";
    const int bottom = 20 + lineHeight * 3 / 2;  // room for a line and a half
    const RECT area{0, 20, 200, bottom};
    Draw(text, area, DT_WORDBREAK);
    EXPECT_FALSE(HasInk({0, bottom, kWidth, kHeight}));
    EXPECT_FALSE(HasInk({0, 0, kWidth, 20}));
    EXPECT_TRUE(HasInk({0, 20 + lineHeight, kWidth, bottom})) << "the cut line shows its top";

    // The opaque background of a cut line stops at the bottom too.
    Clear(kWhite);
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, RGB(0, 0, 255));
    Draw(text, area, DT_WORDBREAK);
    EXPECT_EQ(InkBox().bottom, bottom);
    EXPECT_LE(InkBox().right, 200);
}

TEST_F(WordWrapTest, AWordWiderThanTheRectangleKeepsItsOwnLineClippedAndEmptyTextDrawsNothing) {
    const std::wstring word = L"пользовательскаявысотаэлемента";
    const LONG width = Extent(L"пользовательская").cx;
    ASSERT_GT(Extent(word).cx, width);
    EXPECT_EQ(Draw(L"a " + word + L" b", RECT{0, 0, width, kHeight}, DT_WORDBREAK), 3 * lineHeight);
    EXPECT_LE(LineInk(0).right, Extent(L"a").cx);
    EXPECT_LE(LineInk(1).right, width) << "clipped at the rectangle's right";
    EXPECT_GE(LineInk(1).right, width - 3) << "filled up to there";
    EXPECT_LE(LineInk(2).right, Extent(L"b").cx);

    Clear(kWhite);
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, RGB(0, 0, 255));
    EXPECT_EQ(Draw(L"", RECT{0, 0, kWidth, kHeight}, DT_WORDBREAK), 0);
    EXPECT_FALSE(HasInk({0, 0, kWidth, kHeight}));
}

}  // namespace
}  // namespace text_tests

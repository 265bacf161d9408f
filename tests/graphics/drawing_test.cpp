// Lines and block copies on a memory bitmap: where pixels land, pixel by pixel.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/graphics/gdi.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kInk = RGB(200, 0, 0);

// A memory context with a selected bitmap, released at the end of the test.
class Canvas {
  public:
    Canvas(int width, int height)
        : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
        bitmap_ = CreateCompatibleBitmap(dc_, width, height);
        previous_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc_; }
    // Every pixel its own colour, so a copy shows where each one came from.
    static COLORREF Pattern(int x, int y) { return RGB(x * 10, y * 20, 7); }
    void FillPattern() {
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) SetPixel(dc_, x, y, Pattern(x, y));
        }
    }
    void Clear(COLORREF color) {
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) SetPixel(dc_, x, y, color);
        }
    }
    // The picture as rows of characters: '#' where `ink` is, '.' elsewhere.
    std::vector<std::string> Rows(COLORREF ink) const {
        std::vector<std::string> rows;
        for (int y = 0; y < height_; ++y) {
            std::string row;
            for (int x = 0; x < width_; ++x) row += GetPixel(dc_, x, y) == ink ? '#' : '.';
            rows.push_back(row);
        }
        return rows;
    }

    int Width() const { return width_; }
    int Height() const { return height_; }

  private:
    int width_;
    int height_;
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

// Copies a block of 8 x 5 pixels from (4, top) to (4 + dx, top + dy) within one bitmap, and
// checks that every pixel of the block came from its source and nothing else changed.
void ExpectSelfCopy(int top, int dx, int dy) {
    SCOPED_TRACE("shift " + std::to_string(dx) + ", " + std::to_string(dy));
    Canvas canvas(20, 10);
    canvas.FillPattern();
    ASSERT_TRUE(BitBlt(canvas.Dc(), 4 + dx, top + dy, 8, 5, canvas.Dc(), 4, top, SRCCOPY));
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const bool copied = x >= 4 + dx && x < 12 + dx && y >= top + dy && y < top + 5 + dy;
            const COLORREF expected =
                copied ? Canvas::Pattern(x - dx, y - dy) : Canvas::Pattern(x, y);
            ASSERT_EQ(GetPixel(canvas.Dc(), x, y), expected) << "at " << x << ", " << y;
        }
    }
}

TEST(DrawingTest, BitBltOfAPartWidthBlockOverItselfCopiesEveryRowFromItsSource) {
    // Part of the width, so each row is copied on its own: the order of rows matters.
    ExpectSelfCopy(2, 0, 1);    // one row down
    ExpectSelfCopy(3, 0, -1);   // one row up
    ExpectSelfCopy(2, 1, 1);    // down and right
    ExpectSelfCopy(3, -1, -1);  // up and left
    ExpectSelfCopy(2, 3, 0);    // sideways within the rows
}

TEST(DrawingTest, LineToLeavesOutItsEndPixelInEveryDirection) {
    Canvas canvas(12, 12);
    canvas.Clear(kWhite);
    HPEN pen = CreatePen(PS_SOLID, 1, kInk);
    HGDIOBJ previous = SelectObject(canvas.Dc(), pen);
    const auto line = [&canvas](int fromX, int fromY, int toX, int toY) {
        MoveToEx(canvas.Dc(), fromX, fromY, nullptr);
        LineTo(canvas.Dc(), toX, toY);
    };
    line(1, 0, 6, 0);     // right
    line(10, 2, 5, 2);    // left
    line(0, 4, 0, 9);     // down
    line(11, 11, 11, 6);  // up
    line(2, 5, 6, 9);     // diagonal down right
    line(9, 9, 6, 6);     // diagonal up left
    line(8, 11, 8, 11);   // no length: nothing
    EXPECT_EQ(canvas.Rows(kInk), (std::vector<std::string>{
                                     ".#####......",  //
                                     "............",  //
                                     "......#####.",  //
                                     "............",  //
                                     "#...........",  //
                                     "#.#.........",  //
                                     "#..#........",  //
                                     "#...#..#...#",  //
                                     "#....#..#..#",  //
                                     ".........#.#",  //
                                     "...........#",  //
                                     "...........#",  //
                                 }));

    // The position moves to the end point, so a path of LineTo calls leaves out only its last
    // pixel.
    POINT position{};
    MoveToEx(canvas.Dc(), 0, 0, &position);
    EXPECT_EQ(position.x, 8);
    EXPECT_EQ(position.y, 11);
    SelectObject(canvas.Dc(), previous);
    DeleteObject(pen);
}

TEST(DrawingTest, AThinDashedPenDrawsFourOnTwoOffFromTheStartOfEachLine) {
    Canvas canvas(16, 6);
    canvas.Clear(kWhite);
    HPEN dashed = CreatePen(PS_DASH, 1, kInk);
    HGDIOBJ previous = SelectObject(canvas.Dc(), dashed);
    MoveToEx(canvas.Dc(), 0, 0, nullptr);
    LineTo(canvas.Dc(), 15, 0);  // right
    LineTo(canvas.Dc(), 15, 5);  // then down: the pattern starts again at the corner
    MoveToEx(canvas.Dc(), 14, 3, nullptr);
    LineTo(canvas.Dc(), 0, 3);  // left
    SelectObject(canvas.Dc(), previous);
    DeleteObject(dashed);
    // A wide dashed pen draws solid (two pixels wide: the lower half falls off the canvas).
    HPEN wide = CreatePen(PS_DASH, 2, kInk);
    previous = SelectObject(canvas.Dc(), wide);
    MoveToEx(canvas.Dc(), 0, 5, nullptr);
    LineTo(canvas.Dc(), 10, 5);
    SelectObject(canvas.Dc(), previous);
    DeleteObject(wide);
    EXPECT_EQ(canvas.Rows(kInk), (std::vector<std::string>{
                                     "####..####..####",  //
                                     "...............#",  //
                                     "...............#",  //
                                     ".##..####..#####",  //
                                     "................",  //
                                     "###########.....",  //
                                 }));
}

}  // namespace

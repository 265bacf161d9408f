// Drawing icons: scaling, alpha blending, clipping, choice of source file, failures and handles.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "icon_test_support.h"
#include "platform/graphics/icon.h"
#include "support/child_process.h"

namespace {

using icon_test::ColourDistance;
using icon_test::DrawnColour;
using icon_test::MemoryCanvas;
using icon_test::TemporaryFolder;
using icon_test::WriteSolidPng;

constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kGreen = 0xFF00FF00;
constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint32_t kYellow = 0xFFFFFF00;

// Every test must give back every icon it made.
class IconDrawing : public testing::Test {
  protected:
    void TearDown() override { EXPECT_EQ(platform::LiveIconCount(), liveIcons_); }

    static HICON IconFromFiles(std::vector<platform::IconFile> files) {
        return platform::CreateIconFromFiles(
            std::make_shared<const std::vector<platform::IconFile>>(std::move(files)),
            SIZE{32, 32});
    }
    static platform::IconFile Png(const std::string& path, int size) {
        return platform::IconFile{path, size, size, size, false};
    }

  private:
    int liveIcons_ = platform::LiveIconCount();
};

TEST_F(IconDrawing, ScalesUpAsBlocksAndDownByAveragingInPremultipliedAlpha) {
    const std::uint32_t quadrants[] = {kRed, kGreen, kBlue, kYellow};
    HICON icon = CreateIconFromPixels(2, 2, quadrants);
    ASSERT_NE(icon, nullptr);
    MemoryCanvas canvas(70, 70);
    ASSERT_TRUE(DrawIconEx(canvas.Dc(), 3, 3, icon, 64, 64, 0, nullptr, DI_NORMAL));
    // Bilinear: each pixel's colour is pure for the outer quarter (up to the first sample's
    // centre), then ramps towards its neighbour; each half is led by its own colour.
    for (int offset : {0, 8, 15}) {
        EXPECT_EQ(canvas.At(3 + offset, 3 + offset), RGB(255, 0, 0));
        EXPECT_EQ(canvas.At(66 - offset, 3 + offset), RGB(0, 255, 0));
        EXPECT_EQ(canvas.At(3 + offset, 66 - offset), RGB(0, 0, 255));
        EXPECT_EQ(canvas.At(66 - offset, 66 - offset), RGB(255, 255, 0));
    }
    const COLORREF leftOfMiddle = canvas.At(3 + 31, 3 + 8);
    const COLORREF rightOfMiddle = canvas.At(3 + 32, 3 + 8);
    EXPECT_GT(GetRValue(leftOfMiddle), GetGValue(leftOfMiddle));
    EXPECT_GT(GetGValue(rightOfMiddle), GetRValue(rightOfMiddle));
    EXPECT_EQ(canvas.At(2, 2), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(67, 67), RGB(255, 255, 255));
    DestroyIcon(icon);

    // 4 x 4 of 2 x 2 blocks shrinks to exactly the four colours.
    std::vector<std::uint32_t> blocks(16);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) blocks[y * 4 + x] = quadrants[(y / 2) * 2 + x / 2];
    }
    icon = CreateIconFromPixels(4, 4, blocks.data());
    canvas.Clear(RGB(0, 0, 0));
    ASSERT_TRUE(DrawIconEx(canvas.Dc(), 0, 0, icon, 2, 2, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(canvas.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(1, 0), RGB(0, 255, 0));
    EXPECT_EQ(canvas.At(0, 1), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(1, 1), RGB(255, 255, 0));
    DestroyIcon(icon);

    // Opaque red beside fully transparent green: half-transparent red, with no green in it.
    const std::uint32_t redAndNothing[] = {kRed, 0x0000FF00};
    icon = CreateIconFromPixels(2, 1, redAndNothing);
    canvas.Clear(RGB(255, 255, 255));
    ASSERT_TRUE(DrawIconEx(canvas.Dc(), 0, 0, icon, 1, 1, 0, nullptr, DI_NORMAL));
    EXPECT_LE(ColourDistance(canvas.At(0, 0), RGB(255, 128, 128)), 1);
    DestroyIcon(icon);

    // Three pixels into two: each output covers one and a half inputs.
    const std::uint32_t ramp[] = {0xFF000000, 0xFF787878, 0xFFF0F0F0};
    icon = CreateIconFromPixels(3, 1, ramp);
    ASSERT_TRUE(DrawIconEx(canvas.Dc(), 0, 0, icon, 2, 1, 0, nullptr, DI_NORMAL));
    EXPECT_LE(ColourDistance(canvas.At(0, 0), RGB(40, 40, 40)), 1);
    EXPECT_LE(ColourDistance(canvas.At(1, 0), RGB(200, 200, 200)), 1);
    DestroyIcon(icon);
}

TEST_F(IconDrawing, BlendsSourceOverTheBackground) {
    const std::uint32_t pixels[] = {0x80FF0000, 0x00FFFFFF, 0xFF00FF00, 0x40FFFFFF};
    HICON icon = CreateIconFromPixels(4, 1, pixels);
    MemoryCanvas canvas(4, 1);
    canvas.Clear(RGB(0, 0, 255));
    ASSERT_TRUE(DrawIconEx(canvas.Dc(), 0, 0, icon, 4, 1, 0, nullptr, DI_NORMAL));
    EXPECT_LE(ColourDistance(canvas.At(0, 0), RGB(128, 0, 127)), 1);
    EXPECT_EQ(canvas.At(1, 0), RGB(0, 0, 255));  // fully transparent: untouched
    EXPECT_EQ(canvas.At(2, 0), RGB(0, 255, 0));  // opaque: replaces
    EXPECT_LE(ColourDistance(canvas.At(3, 0), RGB(64, 64, 255)), 1);

    // Drawn twice, a half-transparent icon darkens further: it really blends with what is there.
    ASSERT_TRUE(DrawIconEx(canvas.Dc(), 0, 0, icon, 4, 1, 0, nullptr, DI_NORMAL));
    EXPECT_LE(ColourDistance(canvas.At(0, 0), RGB(192, 0, 63)), 1);
    DestroyIcon(icon);
}

TEST_F(IconDrawing, HonoursTheClipAndTheContextBounds) {
    const std::vector<std::uint32_t> solid(16 * 16, kRed);
    HICON icon = CreateIconFromPixels(16, 16, solid.data());
    MemoryCanvas canvas(20, 20);
    platform::FindDeviceContext(canvas.Dc())->LimitClip(RECT{5, 5, 10, 10});
    ASSERT_TRUE(DrawIconEx(canvas.Dc(), 0, 0, icon, 20, 20, 0, nullptr, DI_NORMAL));
    int red = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const COLORREF pixel = platform::ColorFromPixel(
                platform::FindDeviceContext(canvas.Dc())->Target()->At(x, y));
            const bool inside = x >= 5 && x < 10 && y >= 5 && y < 10;
            EXPECT_EQ(pixel, inside ? RGB(255, 0, 0) : RGB(255, 255, 255)) << x << "," << y;
            red += pixel == RGB(255, 0, 0) ? 1 : 0;
        }
    }
    EXPECT_EQ(red, 25);

    // Hanging off every edge of the bitmap: only the part on it is drawn.
    MemoryCanvas small(8, 8);
    ASSERT_TRUE(DrawIconEx(small.Dc(), -4, -4, icon, 16, 16, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(small.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(small.At(7, 7), RGB(255, 0, 0));
    // Wholly outside: nothing to do, which is not a failure.
    EXPECT_TRUE(DrawIconEx(small.Dc(), 100, 100, icon, 16, 16, 0, nullptr, DI_NORMAL));
    DestroyIcon(icon);
}

TEST_F(IconDrawing, DrawsNothingForEmptySizesOrBadHandles) {
    const std::uint32_t pixel[] = {kRed};
    HICON icon = CreateIconFromPixels(1, 1, pixel);
    MemoryCanvas canvas(8, 8);
    EXPECT_FALSE(DrawIconEx(canvas.Dc(), 0, 0, icon, 0, 8, 0, nullptr, DI_NORMAL));
    EXPECT_FALSE(DrawIconEx(canvas.Dc(), 0, 0, icon, 8, 0, 0, nullptr, DI_NORMAL));
    EXPECT_FALSE(DrawIconEx(canvas.Dc(), 0, 0, icon, -8, 8, 0, nullptr, DI_NORMAL));
    EXPECT_FALSE(DrawIconEx(canvas.Dc(), 0, 0, icon, 8, -1, 0, nullptr, DI_NORMAL));
    EXPECT_FALSE(DrawIconEx(nullptr, 0, 0, icon, 8, 8, 0, nullptr, DI_NORMAL));
    EXPECT_FALSE(DrawIconEx(canvas.Dc(), 0, 0, icon, 8, 8, 0, nullptr, 0));
    EXPECT_EQ(canvas.At(0, 0), RGB(255, 255, 255));

    EXPECT_EQ(CreateIconFromPixels(0, 1, pixel), nullptr);
    EXPECT_EQ(CreateIconFromPixels(1, 1, nullptr), nullptr);
    EXPECT_EQ(CreateIconFromPixels(platform::Surface::kMaxSide + 1, 1, pixel), nullptr);

    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(nullptr));
    EXPECT_FALSE(DrawIconEx(canvas.Dc(), 0, 0, icon, 8, 8, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(canvas.At(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(platform::CreateIconFromFiles(nullptr, SIZE{32, 32}), nullptr);
}

TEST_F(IconDrawing, FlickerFreeBrushAndImageOrMaskOnly) {
    const std::uint32_t pixels[] = {0x80FF0000, 0x00000000};
    HICON icon = CreateIconFromPixels(2, 1, pixels);
    MemoryCanvas canvas(4, 1);
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    ASSERT_TRUE(DrawIconEx(canvas.Dc(), 0, 0, icon, 2, 1, 0, green, DI_NORMAL));
    EXPECT_LE(ColourDistance(canvas.At(0, 0), RGB(128, 127, 0)), 1);
    EXPECT_EQ(canvas.At(1, 0), RGB(0, 255, 0));
    EXPECT_EQ(canvas.At(2, 0), RGB(255, 255, 255));  // the brush fills the icon's area only
    DeleteObject(green);

    canvas.Clear(RGB(0, 0, 255));
    ASSERT_TRUE(DrawIconEx(canvas.Dc(), 0, 0, icon, 2, 1, 0, nullptr, DI_IMAGE));
    EXPECT_LE(ColourDistance(canvas.At(0, 0), RGB(128, 0, 0)), 1);
    EXPECT_EQ(canvas.At(1, 0), RGB(0, 0, 0));
    canvas.Clear(RGB(0, 0, 255));
    ASSERT_TRUE(DrawIconEx(canvas.Dc(), 0, 0, icon, 2, 1, 0, nullptr, DI_MASK));
    EXPECT_EQ(canvas.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(1, 0), RGB(0, 0, 255));
    DestroyIcon(icon);
}

TEST_F(IconDrawing, PicksTheSmallestLargeEnoughFileThenTheSvgThenTheLargest) {
    TemporaryFolder folder;
    ASSERT_TRUE(WriteSolidPng(folder.Path() + "/16.png", 16, kRed));
    ASSERT_TRUE(WriteSolidPng(folder.Path() + "/32.png", 32, kGreen));
    ASSERT_TRUE(WriteSolidPng(folder.Path() + "/64.png", 64, kBlue));
    icon_test::WriteText(folder.Path() + "/any.svg",
                         R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16">)"
                         R"(<rect width="16" height="16" fill="#ffff00"/></svg>)");
    const std::vector<platform::IconFile> bitmaps{Png(folder.Path() + "/64.png", 64),
                                                  Png(folder.Path() + "/16.png", 16),
                                                  Png(folder.Path() + "/32.png", 32)};
    HICON icon = IconFromFiles(bitmaps);
    EXPECT_EQ(DrawnColour(icon, 8), RGB(255, 0, 0));
    EXPECT_EQ(DrawnColour(icon, 16), RGB(255, 0, 0));
    EXPECT_EQ(DrawnColour(icon, 20), RGB(0, 255, 0));
    EXPECT_EQ(DrawnColour(icon, 32), RGB(0, 255, 0));
    EXPECT_EQ(DrawnColour(icon, 33), RGB(0, 0, 255));
    EXPECT_EQ(DrawnColour(icon, 100), RGB(0, 0, 255));  // no SVG: the largest, grown
    DestroyIcon(icon);

    std::vector<platform::IconFile> withSvg = bitmaps;
    withSvg.push_back(platform::IconFile{folder.Path() + "/any.svg", 16, 16, 256, true});
    icon = IconFromFiles(withSvg);
    EXPECT_EQ(DrawnColour(icon, 64), RGB(0, 0, 255));
    EXPECT_EQ(DrawnColour(icon, 100), RGB(255, 255, 0));
    DestroyIcon(icon);

    // A file made for a range of sizes (a threshold directory) wins inside its range.
    std::vector<platform::IconFile> withRange = bitmaps;
    withRange.push_back(platform::IconFile{folder.Path() + "/16.png", 22, 20, 24, false});
    icon = IconFromFiles(withRange);
    EXPECT_EQ(DrawnColour(icon, 24), RGB(255, 0, 0));
    EXPECT_EQ(DrawnColour(icon, 25), RGB(0, 255, 0));
    DestroyIcon(icon);
}

TEST_F(IconDrawing, FallsBackPastFilesThatDoNotDecode) {
    TemporaryFolder folder;
    ASSERT_TRUE(WriteSolidPng(folder.Path() + "/16.png", 16, kRed));
    ASSERT_TRUE(WriteSolidPng(folder.Path() + "/whole.png", 64, kBlue));
    const std::string bytes = icon_test::ReadBytes(folder.Path() + "/whole.png");
    icon_test::WriteText(folder.Path() + "/64.png", bytes.substr(0, bytes.size() / 2));
    icon_test::WriteText(folder.Path() + "/32.png", "not a PNG");
    icon_test::WriteText(folder.Path() + "/broken.svg", "<svg unclosed");
    HICON icon =
        IconFromFiles({Png(folder.Path() + "/32.png", 32), Png(folder.Path() + "/64.png", 64),
                       platform::IconFile{folder.Path() + "/broken.svg", 16, 16, 256, true},
                       Png(folder.Path() + "/16.png", 16)});
    EXPECT_EQ(DrawnColour(icon, 32), RGB(255, 0, 0));
    EXPECT_EQ(DrawnColour(icon, 48), RGB(255, 0, 0));
    DestroyIcon(icon);

    icon = IconFromFiles({Png(folder.Path() + "/32.png", 32), Png(folder.Path() + "/gone.png", 16),
                          platform::IconFile{folder.Path() + "/broken.svg", 16, 16, 256, true}});
    MemoryCanvas canvas(32, 32);
    EXPECT_FALSE(DrawIconEx(canvas.Dc(), 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL));
    EXPECT_FALSE(DrawIconEx(canvas.Dc(), 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(canvas.At(16, 16), RGB(255, 255, 255));
    DestroyIcon(icon);
}

TEST_F(IconDrawing, DecodesOnFirstDrawOnceForAllIconsOfAFile) {
    TemporaryFolder folder;
    const std::string path = folder.Path() + "/late.png";
    // The file does not exist yet when the icons are made: nothing is read before drawing.
    HICON first = IconFromFiles({Png(path, 16)});
    HICON second = IconFromFiles({Png(path, 16)});
    ASSERT_TRUE(WriteSolidPng(path, 16, kGreen));

    const int decodesBefore = platform::IconFileDecodeCount();
    EXPECT_EQ(DrawnColour(first, 16), RGB(0, 255, 0));
    EXPECT_EQ(DrawnColour(first, 16), RGB(0, 255, 0));
    EXPECT_EQ(DrawnColour(second, 16), RGB(0, 255, 0));
    EXPECT_EQ(DrawnColour(second, 24), RGB(0, 255, 0));
    EXPECT_EQ(platform::IconFileDecodeCount(), decodesBefore + 1);
    DestroyIcon(first);
    DestroyIcon(second);

    // Once no icon holds it the decoded file is let go, and read again when needed.
    ASSERT_TRUE(WriteSolidPng(path, 16, kBlue));
    HICON third = IconFromFiles({Png(path, 16)});
    EXPECT_EQ(DrawnColour(third, 16), RGB(0, 0, 255));
    EXPECT_EQ(platform::IconFileDecodeCount(), decodesBefore + 2);
    DestroyIcon(third);
}

TEST_F(IconDrawing, RendersSvgSharplyAtEachSize) {
    TemporaryFolder folder;
    const std::string path = folder.Path() + "/halves.svg";
    icon_test::WriteText(path, R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 10 10">)"
                               R"(<rect width="5" height="10" fill="#ff0000"/>)"
                               R"(<rect x="5" width="5" height="10" fill="#0000ff"/></svg>)");
    HICON icon = IconFromFiles({platform::IconFile{path, 16, 16, 512, true}});
    for (int size : {16, 48}) {
        MemoryCanvas canvas(size + 2, size + 2);
        ASSERT_TRUE(DrawIconEx(canvas.Dc(), 1, 1, icon, size, size, 0, nullptr, DI_NORMAL));
        // Rendered at the size, not grown from a smaller picture: the halves meet in one step.
        EXPECT_EQ(canvas.At(1, 1), RGB(255, 0, 0)) << size;
        EXPECT_EQ(canvas.At(size / 2, size / 2), RGB(255, 0, 0)) << size;
        EXPECT_EQ(canvas.At(size / 2 + 1, size / 2), RGB(0, 0, 255)) << size;
        EXPECT_EQ(canvas.At(size, size), RGB(0, 0, 255)) << size;
        EXPECT_EQ(canvas.At(size + 1, size + 1), RGB(255, 255, 255)) << size;
    }
    DestroyIcon(icon);
}

TEST_F(IconDrawing, SvgFilesThatDeclareEntitiesDrawAndThoseTooLargeOrNotFilesDoNot) {
    TemporaryFolder folder;
    const std::string path = folder.Path() + "/entities.svg";
    icon_test::WriteText(
        path,
        "<?xml version=\"1.0\"?>\n"
        "<!DOCTYPE svg [\n<!ENTITY fill \"#708090\">\n<!ENTITY side \"16\">\n]>\n"
        R"(<svg xmlns="http://www.w3.org/2000/svg" width="&side;" height="&side;">)"
        R"(<rect width="&side;" height="&side;" fill="&fill;"/></svg>)");
    HICON icon = IconFromFiles({platform::IconFile{path, 16, 16, 512, true}});
    MemoryCanvas canvas(16, 16);
    ASSERT_TRUE(DrawIconEx(canvas.Dc(), 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(canvas.At(8, 8), RGB(0x70, 0x80, 0x90));
    DestroyIcon(icon);

    // Beyond four megabytes, or a named pipe: not read at all.
    const std::string large = folder.Path() + "/large.svg";
    icon_test::WriteText(large, R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16">)"
                                R"(<rect width="16" height="16" fill="#708090"/>)" +
                                    std::string(4 << 20, ' ') + "</svg>");
    const std::string pipe = folder.Path() + "/pipe.svg";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    child_process::ExpectInChild(10, [&] {
        for (const std::string& refused : {large, pipe}) {
            HICON none = IconFromFiles({platform::IconFile{refused, 16, 16, 512, true}});
            EXPECT_FALSE(DrawIconEx(canvas.Dc(), 0, 0, none, 16, 16, 0, nullptr, DI_NORMAL))
                << refused;
            DestroyIcon(none);
        }
    });
}

}  // namespace

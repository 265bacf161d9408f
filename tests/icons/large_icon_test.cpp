// Icon files far larger than any icon is drawn: what they may cost to decode, and that they
// still look as they should.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "icon_test_support.h"
#include "platform/graphics/icon.h"
#include "platform/graphics/premultiplied_image.h"
#include "support/child_process.h"

namespace {

using icon_test::TemporaryFolder;

// What decoding one icon file and drawing it may add to the program's data: four megabytes for
// the decoded picture at most, and room for the libraries' own buffers.
constexpr rlim_t kIconBudget = rlim_t{10} << 20;

HICON IconOfFile(const std::string& path) {
    return platform::CreateIconFromFiles(
        std::make_shared<const std::vector<platform::IconFile>>(1, platform::IconFileForPath(path)),
        SIZE{32, 32});
}

// A width x height RGBA picture in four quadrants (red, green, blue, half-transparent white),
// written a row at a time.
bool WriteQuadrants(const std::string& path, int width, int height, bool interlaced = false) {
    icon_test::RawPng image{width, height, 8, PNG_COLOR_TYPE_RGBA, interlaced};
    for (int y = 0; y < height; ++y) {
        std::vector<png_byte> row;
        row.reserve(static_cast<std::size_t>(width) * 4);
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2;
            const bool bottom = y >= height / 2;
            if (!bottom) {
                row.insert(row.end(), {static_cast<png_byte>(right ? 0 : 255),
                                       static_cast<png_byte>(right ? 255 : 0), 0, 255});
            } else {
                row.insert(
                    row.end(),
                    {static_cast<png_byte>(right ? 255 : 0), static_cast<png_byte>(right ? 255 : 0),
                     static_cast<png_byte>(255), static_cast<png_byte>(right ? 128 : 255)});
            }
        }
        image.rows.push_back(std::move(row));
    }
    return icon_test::WriteRawPng(path, image);
}

TEST(LargeIconTest, AHeaderClaimingAHugePictureCostsNothingAndDrawsNothing) {
    TemporaryFolder folder;
    const std::string path = folder.Path() + "/huge-header.png";
    ASSERT_TRUE(icon_test::WriteHugeHeaderPng(path, 8000, 8000));
    ASSERT_LT(std::filesystem::file_size(path), 100u);
    child_process::ExpectInChild(
        10,
        [&] {
            EXPECT_FALSE(platform::ReadPng(path));
            HICON icon = IconOfFile(path);
            icon_test::MemoryCanvas canvas(32, 32);
            EXPECT_FALSE(DrawIconEx(canvas.Dc(), 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL));
            EXPECT_EQ(canvas.At(16, 16), RGB(255, 255, 255));
            DestroyIcon(icon);
        },
        kIconBudget);
}

TEST(LargeIconTest, ALargePictureIsShrunkWhileDecodedAndDrawsAsItLooks) {
    TemporaryFolder folder;
    const std::string path = folder.Path() + "/large.png";
    // Two megapixels, and not square: decoded whole it would take some 23 MB.
    ASSERT_TRUE(WriteQuadrants(path, 1600, 1200));
    child_process::ExpectInChild(
        20,
        [&] {
            HICON icon = IconOfFile(path);
            icon_test::MemoryCanvas canvas(64, 48);
            ASSERT_TRUE(DrawIconEx(canvas.Dc(), 0, 0, icon, 64, 48, 0, nullptr, DI_NORMAL));
            EXPECT_EQ(canvas.At(10, 10), RGB(255, 0, 0));
            EXPECT_EQ(canvas.At(53, 10), RGB(0, 255, 0));
            EXPECT_EQ(canvas.At(10, 37), RGB(0, 0, 255));
            // Half-transparent white over the white canvas.
            EXPECT_EQ(canvas.At(53, 37), RGB(255, 255, 255));
            // The edges between the quadrants blend exactly as from the whole picture.
            EXPECT_EQ(canvas.At(31, 10), RGB(255, 0, 0));
            EXPECT_EQ(canvas.At(32, 10), RGB(0, 255, 0));
            DestroyIcon(icon);
        },
        kIconBudget);
}

// A valid picture costs its decoding, however small its file: beyond the largest any icon needs
// (4096 x 4096 pixels) it is refused as unreadable, and the next icon stands in.
TEST(LargeIconTest, APictureBeyondAnyIconsSizeIsRefusedAndOneAtTheLimitDrawn) {
    TemporaryFolder folder;
    struct Case {
        int width;
        int height;
        bool drawn;
    };
    for (const Case& picture :
         {Case{16384, 1024, true}, Case{16384, 1025, false}, Case{4097, 4096, false}}) {
        SCOPED_TRACE(std::to_string(picture.width) + "x" + std::to_string(picture.height));
        const std::string path = folder.Path() + "/picture.png";
        icon_test::RawPng image{picture.width, picture.height, 1, PNG_COLOR_TYPE_GRAY, false};
        image.rows.assign(
            static_cast<std::size_t>(picture.height),
            std::vector<png_byte>(static_cast<std::size_t>(picture.width + 7) / 8, 0));
        ASSERT_TRUE(icon_test::WriteRawPng(path, image));
        HICON icon = IconOfFile(path);
        icon_test::MemoryCanvas canvas(32, 32);
        EXPECT_EQ(DrawIconEx(canvas.Dc(), 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL) != FALSE,
                  picture.drawn);
        EXPECT_EQ(canvas.At(16, 16), picture.drawn ? RGB(0, 0, 0) : RGB(255, 255, 255));
        DestroyIcon(icon);
    }
}

TEST(LargeIconTest, ALargeInterlacedPictureIsRefused) {
    // Interlaced rows come only once the whole picture is decoded, so it would be held whole.
    TemporaryFolder folder;
    const std::string large = folder.Path() + "/large.png";
    icon_test::RawPng interlaced{1100, 1000, 1, PNG_COLOR_TYPE_GRAY, true};
    interlaced.rows.assign(1000, std::vector<png_byte>((1100 + 7) / 8, 0));
    ASSERT_TRUE(icon_test::WriteRawPng(large, interlaced));
    HICON icon = IconOfFile(large);
    icon_test::MemoryCanvas canvas(32, 32);
    EXPECT_FALSE(DrawIconEx(canvas.Dc(), 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL));
    DestroyIcon(icon);

    // Within the size that is decoded whole, interlacing is fine.
    const std::string small = folder.Path() + "/small.png";
    ASSERT_TRUE(WriteQuadrants(small, 1000, 1000, true));  // exactly the limit
    icon = IconOfFile(small);
    ASSERT_TRUE(DrawIconEx(canvas.Dc(), 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(canvas.At(8, 8), RGB(255, 0, 0));
    DestroyIcon(icon);
}

TEST(LargeIconTest, ShrinkingRowByRowGivesExactlyWhatShrinkingTheWholeImageGives) {
    std::mt19937 random(7);
    for (const auto& [width, height, toWidth, toHeight] :
         std::vector<std::array<int, 4>>{{1000, 777, 123, 95},
                                         {64, 64, 64, 64},
                                         {300, 7, 1, 1},
                                         {17, 900, 16, 899},
                                         {5, 5, 3, 2}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        platform::PremultipliedImage image{width, height, {}};
        for (int index = 0; index < width * height; ++index) {
            const std::uint32_t alpha = random() & 0xFF;
            const std::uint32_t colour = random();
            image.pixels.push_back((alpha << 24) | (((colour >> 16) & 0xFF) * alpha / 255) << 16 |
                                   (((colour >> 8) & 0xFF) * alpha / 255) << 8 |
                                   (colour & 0xFF) * alpha / 255);
        }
        platform::RowShrinker shrinker(width, height, toWidth, toHeight);
        for (int y = 0; y < height; ++y) {
            shrinker.AddRow(image.pixels.data() + static_cast<std::size_t>(y) * width);
        }
        const platform::PremultipliedImage shrunk = shrinker.Take();
        const std::optional<platform::PremultipliedImage> whole =
            platform::ScaleImage(image, toWidth, toHeight);
        ASSERT_TRUE(whole);
        EXPECT_EQ(shrunk.width, toWidth);
        EXPECT_EQ(shrunk.height, toHeight);
        EXPECT_EQ(shrunk.pixels, whole->pixels);
    }
}

}  // namespace

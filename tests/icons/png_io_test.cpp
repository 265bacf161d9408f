// PNG reading in every colour type, rejection of bad files, and writing surface areas.
#include <gtest/gtest.h>

#include "icon_test_support.h"

namespace {

using icon_test::RawPng;
using icon_test::TemporaryFolder;
using icon_test::WriteRawPng;

TEST(PngIo, WritesAnAreaOfASurfaceAndReadsItBack) {
    TemporaryFolder folder;
    std::optional<platform::Surface> surface = platform::Surface::Create(5, 4);
    ASSERT_TRUE(surface);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) surface->Row(y)[x] = 0x00102030u * (x + 1) + 0x00050000u * y;
    }
    const std::string path = folder.Path() + "/snapshot.png";
    ASSERT_TRUE(platform::WritePng(path, *surface, RECT{1, 1, 4, 3}));
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    std::optional<platform::RgbaImage> image = platform::ReadPng(path);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width, 3);
    ASSERT_EQ(image->height, 2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(image->pixels[y * 3 + x], 0xFF000000u | surface->At(x + 1, y + 1))
                << x << "," << y;
        }
    }

    // An area reaching past the surface is cut to it; one wholly outside writes nothing.
    ASSERT_TRUE(platform::WritePng(path, *surface, RECT{-3, 2, 99, 99}));
    image = platform::ReadPng(path);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 5);
    EXPECT_EQ(image->height, 2);
    EXPECT_FALSE(platform::WritePng(folder.Path() + "/outside.png", *surface, RECT{5, 0, 9, 4}));
    EXPECT_FALSE(
        platform::WritePng(folder.Path() + "/no/such/folder.png", *surface, surface->Bounds()));
}

TEST(PngIo, ReadsPaletteGreyAndSixteenBitImagesAsStraightArgb) {
    TemporaryFolder folder;
    const std::string path = folder.Path() + "/image.png";

    RawPng palette{4, 1, 2, PNG_COLOR_TYPE_PALETTE};
    palette.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    palette.paletteAlpha = {255, 128, 0};  // the fourth entry stays opaque
    palette.rows = {{0x1B}};               // indexes 0, 1, 2, 3
    ASSERT_TRUE(WriteRawPng(path, palette));
    std::optional<platform::RgbaImage> image = platform::ReadPng(path);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels,
              (std::vector<std::uint32_t>{0xFFFF0000, 0x8000FF00, 0x000000FF, 0xFFFFFFFF}));

    RawPng grey{4, 1, 1, PNG_COLOR_TYPE_GRAY};
    grey.rows = {{0xA0}};  // 1, 0, 1, 0
    ASSERT_TRUE(WriteRawPng(path, grey));
    image = platform::ReadPng(path);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels,
              (std::vector<std::uint32_t>{0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000}));

    RawPng greyAlpha{2, 1, 8, PNG_COLOR_TYPE_GRAY_ALPHA};
    greyAlpha.rows = {{0x40, 0x80, 0xC0, 0xFF}};
    ASSERT_TRUE(WriteRawPng(path, greyAlpha));
    image = platform::ReadPng(path);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, (std::vector<std::uint32_t>{0x80404040, 0xFFC0C0C0}));

    RawPng deepRgb{2, 1, 16, PNG_COLOR_TYPE_RGB};
    deepRgb.rows = {{0xFF, 0xFF, 0x80, 0x80, 0x00, 0x00, 0x12, 0x34, 0x00, 0x00, 0xFF, 0xFF}};
    ASSERT_TRUE(WriteRawPng(path, deepRgb));
    image = platform::ReadPng(path);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, (std::vector<std::uint32_t>{0xFFFF8000, 0xFF1200FF}));

    RawPng deepRgba{1, 1, 16, PNG_COLOR_TYPE_RGBA};
    deepRgba.rows = {{0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x80, 0x80}};
    ASSERT_TRUE(WriteRawPng(path, deepRgba));
    image = platform::ReadPng(path);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, (std::vector<std::uint32_t>{0x8000FF00}));
}

RawPng InterlacedPattern() {
    RawPng image{9, 9, 8, PNG_COLOR_TYPE_RGBA, true};
    for (int y = 0; y < 9; ++y) {
        std::vector<png_byte> row;
        for (int x = 0; x < 9; ++x) {
            row.insert(row.end(), {static_cast<png_byte>(x * 20), static_cast<png_byte>(y * 20),
                                   static_cast<png_byte>(x + y), static_cast<png_byte>(x * 28)});
        }
        image.rows.push_back(std::move(row));
    }
    return image;
}

TEST(PngIo, ReadsInterlacedImages) {
    TemporaryFolder folder;
    const std::string path = folder.Path() + "/interlaced.png";
    ASSERT_TRUE(WriteRawPng(path, InterlacedPattern()));
    std::optional<platform::RgbaImage> image = platform::ReadPng(path);
    ASSERT_TRUE(image);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 9; ++x) {
            const std::uint32_t expected = (static_cast<std::uint32_t>(x * 28) << 24) |
                                           (static_cast<std::uint32_t>(x * 20) << 16) |
                                           (static_cast<std::uint32_t>(y * 20) << 8) |
                                           static_cast<std::uint32_t>(x + y);
            EXPECT_EQ(image->pixels[y * 9 + x], expected) << x << "," << y;
        }
    }
}

TEST(PngIo, RejectsMissingCorruptAndTruncatedFiles) {
    TemporaryFolder folder;
    EXPECT_FALSE(platform::ReadPng(folder.Path() + "/missing.png"));
    const std::string path = folder.Path() + "/bad.png";
    icon_test::WriteText(path, "");
    EXPECT_FALSE(platform::ReadPng(path));
    icon_test::WriteText(path, "GIF89a, not a PNG at all");
    EXPECT_FALSE(platform::ReadPng(path));

    const std::string good = folder.Path() + "/good.png";
    ASSERT_TRUE(WriteRawPng(good, InterlacedPattern()));
    const std::string bytes = icon_test::ReadBytes(good);
    ASSERT_TRUE(platform::ReadPng(good));
    // Every cut, from inside the signature to just before the end chunk's last byte.
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        icon_test::WriteText(path, bytes.substr(0, length));
        EXPECT_FALSE(platform::ReadPng(path)) << "cut at " << length << " of " << bytes.size();
    }
    // A changed byte in the image data breaks its checksum.
    std::string corrupt = bytes;
    corrupt[corrupt.size() / 2] = static_cast<char>(corrupt[corrupt.size() / 2] ^ 0x5A);
    icon_test::WriteText(path, corrupt);
    EXPECT_FALSE(platform::ReadPng(path));
}

TEST(PngIo, RejectsImagesBeyondTheSurfaceLimits) {
    TemporaryFolder folder;
    const std::string path = folder.Path() + "/huge.png";
    const int wide = platform::Surface::kMaxSide + 1;
    RawPng tooWide{wide, 1, 1, PNG_COLOR_TYPE_GRAY};
    tooWide.rows = {std::vector<png_byte>((wide + 7) / 8, 0)};
    ASSERT_TRUE(WriteRawPng(path, tooWide));
    EXPECT_FALSE(platform::ReadPng(path));

    // Each side allowed, the area not.
    const int side = 8193;
    static_assert(8193LL * 8193 > platform::Surface::kMaxPixels);
    RawPng tooLarge{side, side, 1, PNG_COLOR_TYPE_GRAY};
    tooLarge.rows.assign(side, std::vector<png_byte>((side + 7) / 8, 0));
    ASSERT_TRUE(WriteRawPng(path, tooLarge));
    EXPECT_FALSE(platform::ReadPng(path));
}

TEST(PngIo, FilesBeyondThirtyTwoMebibytesAreNotRead) {
    // A valid picture that carries a private chunk of zeros: read only while the whole file
    // stays within the limit.
    TemporaryFolder folder;
    const auto write = [&](const std::string& path, std::size_t chunkBytes) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        png_init_io(png, file);
        png_set_IHDR(png, info, 1, 1, 8, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        const std::vector<png_byte> zeros(chunkBytes, 0);
        png_write_chunk(png, reinterpret_cast<png_const_bytep>("prVt"), zeros.data(), zeros.size());
        const png_byte row[] = {0x80};
        png_write_row(png, row);
        png_write_end(png, nullptr);
        png_destroy_write_struct(&png, &info);
        return std::fclose(file) == 0;
    };
    const std::string path = folder.Path() + "/padded.png";
    ASSERT_TRUE(write(path, std::size_t{32} << 20));
    ASSERT_GT(std::filesystem::file_size(path), platform::kMaxPngFileSize);
    EXPECT_FALSE(platform::ReadPng(path));
    ASSERT_TRUE(write(path, (std::size_t{32} << 20) - 200));
    ASSERT_LE(std::filesystem::file_size(path), platform::kMaxPngFileSize);
    const std::optional<platform::RgbaImage> image = platform::ReadPng(path);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, std::vector<std::uint32_t>{0xFF808080});
}

}  // namespace

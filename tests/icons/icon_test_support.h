// Helpers for the icon tests: a temporary folder, environment overrides, PNG writers in every
// colour type, and drawing an icon to see which colour came out.
#pragma once

#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/device_context.h"
#include "platform/graphics/gdi.h"
#include "platform/graphics/png_io.h"

namespace icon_test {

// A fresh folder under the system's temporary directory, removed with everything in it.
class TemporaryFolder {
  public:
    TemporaryFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tavrel-icons-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~TemporaryFolder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::string& Path() const { return path_; }
    // `relative` below the folder, with its parent folders created.
    std::string Make(const std::string& relative) const {
        const std::filesystem::path full = std::filesystem::path(path_) / relative;
        std::filesystem::create_directories(full.parent_path());
        return full.string();
    }

  private:
    std::string path_;
};

// Sets an environment variable for the life of the object, then restores it.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) previous_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() {
        if (previous_) {
            ::setenv(name_, previous_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    const char* name_;
    std::optional<std::string> previous_;
};

inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Writes raw PNG rows in any colour type, the way other programs would have written them.
struct RawPng {
    RawPng(int imageWidth, int imageHeight, int imageBitDepth = 8,
           int imageColorType = PNG_COLOR_TYPE_RGBA, bool imageInterlaced = false)
        : width(imageWidth),
          height(imageHeight),
          bitDepth(imageBitDepth),
          colorType(imageColorType),
          interlaced(imageInterlaced) {}
    int width;
    int height;
    int bitDepth;
    int colorType;
    bool interlaced;
    std::vector<std::vector<png_byte>> rows;
    std::vector<png_color> palette;
    std::vector<png_byte> paletteAlpha;  // tRNS for palette images
};

inline bool WriteRawPng(const std::string& path, const RawPng& image) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), image.bitDepth, image.colorType,
                 image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!image.palette.empty()) {
        png_set_PLTE(png, info, image.palette.data(), static_cast<int>(image.palette.size()));
    }
    if (!image.paletteAlpha.empty()) {
        png_set_tRNS(png, info, image.paletteAlpha.data(),
                     static_cast<int>(image.paletteAlpha.size()), nullptr);
    }
    png_write_info(png, info);
    std::vector<png_bytep> rows;
    for (const auto& row : image.rows) rows.push_back(const_cast<png_bytep>(row.data()));
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

// A straight-alpha 0xAARRGGBB image as an 8-bit RGBA PNG.
inline bool WriteArgbPng(const std::string& path, int width, int height,
                         const std::vector<std::uint32_t>& argb) {
    RawPng image{width, height};
    for (int y = 0; y < height; ++y) {
        std::vector<png_byte> row;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t pixel = argb[static_cast<std::size_t>(y) * width + x];
            row.insert(row.end(),
                       {static_cast<png_byte>(pixel >> 16), static_cast<png_byte>(pixel >> 8),
                        static_cast<png_byte>(pixel), static_cast<png_byte>(pixel >> 24)});
        }
        image.rows.push_back(std::move(row));
    }
    return WriteRawPng(path, image);
}

// A PNG of a few dozen bytes whose header claims width x height RGBA pixels: its only image data
// is one zlib stream of eight zero bytes, far too little for the image.
inline bool WriteHugeHeaderPng(const std::string& path, int width, int height) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const png_byte eightZeros[] = {0x78, 0x9C, 0x63, 0x60, 0x80, 0x00,
                                   0x00, 0x00, 0x08, 0x00, 0x01};
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("IDAT"), eightZeros, sizeof eightZeros);
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("IEND"), nullptr, 0);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

inline bool WriteSolidPng(const std::string& path, int size, std::uint32_t argb) {
    return WriteArgbPng(path, size, size,
                        std::vector<std::uint32_t>(static_cast<std::size_t>(size) * size, argb));
}

// A memory context drawing into a width x height bitmap, released at the end of the test.
class MemoryCanvas {
  public:
    MemoryCanvas(int width, int height) : dc_(CreateCompatibleDC(nullptr)) {
        bitmap_ = CreateCompatibleBitmap(dc_, width, height);
        previous_ = SelectObject(dc_, bitmap_);
        Clear(RGB(255, 255, 255));
    }
    ~MemoryCanvas() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;

    HDC Dc() const { return dc_; }
    void Clear(COLORREF color) {
        platform::DeviceContext* context = platform::FindDeviceContext(dc_);
        context->Target()->Fill(context->Target()->Bounds(), platform::PixelFromColor(color));
    }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

  private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
};

// The colour in the middle of the icon drawn at size x size over white; CLR_INVALID when the
// icon drew nothing.
inline COLORREF DrawnColour(HICON icon, int size) {
    MemoryCanvas canvas(size, size);
    if (!DrawIconEx(canvas.Dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL)) return CLR_INVALID;
    return canvas.At(size / 2, size / 2);
}

// Distance between two colours in the largest channel difference.
inline int ColourDistance(COLORREF first, COLORREF second) {
    const int red = std::abs(GetRValue(first) - GetRValue(second));
    const int green = std::abs(GetGValue(first) - GetGValue(second));
    const int blue = std::abs(GetBValue(first) - GetBValue(second));
    return std::max({red, green, blue});
}

}  // namespace icon_test

// Shared fixture of the text tests: a white memory bitmap to draw into, fonts that are deleted
// afterwards, the inked area read back, and a check that no graphics object leaks.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/graphics/device_context.h"
#include "platform/graphics/gdi.h"
#include "platform/graphics/gdi_objects.h"

namespace text_tests {

inline LOGFONT MakeLogFont(LONG height, const wchar_t* face = L"DejaVu Sans",
                           LONG weight = FW_NORMAL, bool italic = false) {
    LOGFONT description{};
    description.lfHeight = height;
    description.lfWeight = weight;
    description.lfItalic = italic ? 1 : 0;
    std::wstring name(face);
    name.copy(description.lfFaceName, LF_FACESIZE - 1);
    return description;
}

// Rectangles compared as text, so that a failure shows both.
// (Streamed: g++ 12 at -O3 gives a false -Wrestrict for a literal + std::string chain here.)
inline std::string Describe(const RECT& rect) {
    std::ostringstream text;
    text << '(' << rect.left << ", " << rect.top << ")-(" << rect.right << ", " << rect.bottom
         << ')';
    return text.str();
}

inline const platform::FontObject* FontObjectOf(HGDIOBJ font) {
    return platform::FindGdiObjectOf<platform::FontObject>(font, platform::GdiKind::Font);
}

class TextCanvasTest : public ::testing::Test {
  protected:
    static constexpr int kWidth = 480;
    static constexpr int kHeight = 200;
    static constexpr COLORREF kWhite = RGB(255, 255, 255);

    void SetUp() override {
        startObjects_ = platform::LiveGdiObjectCount();
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateCompatibleBitmap(dc_, kWidth, kHeight);
        ASSERT_NE(SelectObject(dc_, bitmap_), nullptr);
        Clear(kWhite);
        SetBkMode(dc_, TRANSPARENT);
        UseFont(MakeLogFont(-20));
    }

    void TearDown() override {
        DeleteDC(dc_);
        DeleteObject(bitmap_);
        for (HFONT font : fonts_) DeleteObject(font);
        EXPECT_EQ(platform::LiveGdiObjectCount(), startObjects_) << "graphics objects leaked";
    }

    // Creates a font that the fixture deletes at the end, and selects it.
    HFONT UseFont(const LOGFONT& description) {
        HFONT font = MakeFont(description);
        SelectObject(dc_, font);
        return font;
    }
    HFONT MakeFont(const LOGFONT& description) {
        HFONT font = CreateFontIndirect(&description);
        EXPECT_NE(font, nullptr);
        if (font != nullptr) fonts_.push_back(font);
        return font;
    }

    void Clear(COLORREF color) {
        HBRUSH brush = CreateSolidBrush(color);
        RECT all{0, 0, kWidth, kHeight};
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }

    const platform::Surface& Pixels() const { return *platform::FindDeviceContext(dc_)->Target(); }
    COLORREF At(int x, int y) const { return platform::ColorFromPixel(Pixels().At(x, y)); }

    // Bounding box of the pixels that differ from `background`; empty when there are none.
    RECT InkBox(COLORREF background = kWhite, RECT area = {0, 0, kWidth, kHeight}) const {
        RECT box{kWidth, kHeight, 0, 0};
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                if (At(x, y) == background) continue;
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
        }
        return box.left < box.right ? box : RECT{};
    }
    bool HasInk(RECT area, COLORREF background = kWhite) const {
        return InkBox(background, area).right != 0;
    }
    std::vector<platform::Pixel> Snapshot() const {
        const platform::Surface& surface = Pixels();
        return {surface.Row(0), surface.Row(0) + kWidth * kHeight};
    }

    SIZE Extent(const std::wstring& text) const {
        SIZE size{};
        EXPECT_TRUE(GetTextExtentPoint32(dc_, text.c_str(), static_cast<int>(text.size()), &size));
        return size;
    }
    TEXTMETRIC Metrics() const {
        TEXTMETRIC metrics{};
        EXPECT_TRUE(GetTextMetrics(dc_, &metrics));
        return metrics;
    }
    // The rectangle DT_CALCRECT computes for the text from (0, 0) with the given width.
    RECT CalcRect(const std::wstring& text, UINT format, LONG width = 1000) const {
        RECT rect{0, 0, width, 0};
        DrawText(dc_, text.c_str(), static_cast<int>(text.size()), &rect, format | DT_CALCRECT);
        return rect;
    }
    int Draw(const std::wstring& text, RECT rect, UINT format) {
        return DrawText(dc_, text.c_str(), static_cast<int>(text.size()), &rect, format);
    }

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    std::vector<HFONT> fonts_;
    int startObjects_ = 0;
};

}  // namespace text_tests

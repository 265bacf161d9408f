// Text on device contexts: DrawText, GetTextExtentPoint32 and GetTextMetrics.
#include <algorithm>
#include <climits>
#include <cwchar>
#include <string_view>

#include "platform/graphics/device_context.h"
#include "platform/graphics/font_face.h"
#include "platform/graphics/system_colors.h"
#include "platform/graphics/text_layout.h"

using platform::DeviceContext;
using platform::FontFace;
using platform::FontObject;
using platform::Pixel;

namespace {

// Layout buffers kept between calls: drawing the same labels every frame reuses their capacity.
// A very long text gives its memory back afterwards.
constexpr std::size_t kRetainedCharacters = 1 << 16;

const FontObject* SelectedFont(const DeviceContext& context) {
    const auto* font =
        platform::FindGdiObjectOf<FontObject>(context.Font(), platform::GdiKind::Font);
    if (font == nullptr || !font->face) {
        font =
            platform::FindGdiObjectOf<FontObject>(platform::DefaultFont(), platform::GdiKind::Font);
    }
    return font != nullptr && font->face ? font : nullptr;
}

int ClampToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

// A device-space rectangle that may lie far outside any surface.
struct Span {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = 0;
    std::int64_t bottom = 0;
};

void FillClipped(platform::Surface& surface, const RECT& clip, const Span& area, Pixel pixel) {
    const RECT visible{ClampToInt(std::max<std::int64_t>(area.left, clip.left)),
                       ClampToInt(std::max<std::int64_t>(area.top, clip.top)),
                       ClampToInt(std::min<std::int64_t>(area.right, clip.right)),
                       ClampToInt(std::min<std::int64_t>(area.bottom, clip.bottom))};
    if (visible.left < visible.right && visible.top < visible.bottom) surface.Fill(visible, pixel);
}

int BlendChannel(int target, int source, int coverage) {
    return target + (source - target) * coverage / 255;
}

// Lays the glyph's coverage over the surface in the text colour, inside `clip` only.
void BlendGlyph(platform::Surface& surface, const RECT& clip, const platform::Glyph& glyph,
                std::int64_t penX, std::int64_t baseline, Pixel color) {
    if (glyph.width <= 0 || glyph.height <= 0) return;
    const std::int64_t glyphLeft = penX + glyph.left;
    const std::int64_t glyphTop = baseline - glyph.top;
    const std::int64_t fromX = std::max<std::int64_t>(glyphLeft, clip.left);
    const std::int64_t toX = std::min<std::int64_t>(glyphLeft + glyph.width, clip.right);
    const std::int64_t fromY = std::max<std::int64_t>(glyphTop, clip.top);
    const std::int64_t toY = std::min<std::int64_t>(glyphTop + glyph.height, clip.bottom);
    if (fromX >= toX || fromY >= toY) return;

    const int red = static_cast<int>((color >> 16) & 0xFF);
    const int green = static_cast<int>((color >> 8) & 0xFF);
    const int blue = static_cast<int>(color & 0xFF);
    for (auto y = fromY; y < toY; ++y) {
        Pixel* row = surface.Row(static_cast<int>(y));
        const std::uint8_t* coverage =
            glyph.coverage.data() + (y - glyphTop) * glyph.width + (fromX - glyphLeft);
        for (auto x = fromX; x < toX; ++x, ++coverage) {
            const int amount = *coverage;
            if (amount == 0) continue;
            Pixel& target = row[x];
            if (amount == 255) {
                target = color;
                continue;
            }
            const int targetRed = static_cast<int>((target >> 16) & 0xFF);
            const int targetGreen = static_cast<int>((target >> 8) & 0xFF);
            const int targetBlue = static_cast<int>(target & 0xFF);
            target = static_cast<Pixel>(BlendChannel(targetRed, red, amount) << 16 |
                                        BlendChannel(targetGreen, green, amount) << 8 |
                                        BlendChannel(targetBlue, blue, amount));
        }
    }
}

class LayoutPainter {
  public:
    LayoutPainter(DeviceContext& context, const FontObject& font, const RECT& clip)
        : surface_(*context.Target()),
          clip_(clip),
          face_(*font.face),
          metrics_(font.face->Metrics()),
          textPixel_(platform::PixelFromColor(platform::ResolveColor(context.textColor))),
          backgroundPixel_(
              platform::PixelFromColor(platform::ResolveColor(context.backgroundColor))),
          opaque_(context.backgroundMode == OPAQUE),
          underlineAll_(font.logFont.lfUnderline != 0),
          strikeOut_(font.logFont.lfStrikeOut != 0) {}

    void Line(const platform::TextLayout& layout, const platform::LaidOutLine& line,
              std::int64_t left, std::int64_t top) {
        const std::int64_t bottom = top + metrics_.height;
        if (bottom <= clip_.top || top >= clip_.bottom) return;
        const std::int64_t right = left + line.width;
        if (opaque_) FillClipped(surface_, clip_, {left, top, right, bottom}, backgroundPixel_);
        const std::int64_t baseline = top + metrics_.ascent;
        std::int64_t pen = left;
        for (std::size_t index = line.begin; index < line.end; ++index) {
            if (pen > clip_.right + Overhang()) break;  // the rest lies beyond the clip
            const platform::LaidOutCharacter& character = layout.characters[index];
            if (!platform::IsBlankCharacter(character.codePoint)) {
                Character(character.codePoint, pen, baseline);
            }
            if (character.underlined && !underlineAll_) {
                Stroke(pen, pen + character.advance, baseline + metrics_.underlineOffset);
            }
            pen += character.advance;
        }
        if (line.ellipsis) {
            pen = right - 3 * std::int64_t{layout.periodAdvance};
            for (int period = 0; period < 3; ++period, pen += layout.periodAdvance) {
                Character(U'.', pen, baseline);
            }
        }
        if (underlineAll_) Stroke(left, right, baseline + metrics_.underlineOffset);
        if (strikeOut_) Stroke(left, right, baseline - std::max(1, metrics_.ascent / 3));
    }

  private:
    // How far ink may reach beyond a glyph's advance (slanted and synthesised glyphs).
    std::int64_t Overhang() const { return metrics_.emHeight; }

    void Character(char32_t codePoint, std::int64_t pen, std::int64_t baseline) {
        // Glyphs wholly outside the clip are neither rasterised nor blended.
        if (pen + Overhang() + metrics_.maxCharWidth < clip_.left) return;
        BlendGlyph(surface_, clip_, face_.Rendered(codePoint), pen, baseline, textPixel_);
    }

    // A horizontal line of the underline's thickness in the text colour.
    void Stroke(std::int64_t from, std::int64_t to, std::int64_t top) {
        FillClipped(surface_, clip_, {from, top, to, top + metrics_.underlineThickness},
                    textPixel_);
    }

    platform::Surface& surface_;
    RECT clip_;
    FontFace& face_;
    const platform::FontMetrics& metrics_;
    Pixel textPixel_;
    Pixel backgroundPixel_;
    bool opaque_;
    bool underlineAll_;
    bool strikeOut_;
};

void PaintLayout(DeviceContext& context, const FontObject& font, const platform::TextLayout& layout,
                 const RECT& rect, UINT format) {
    // Device coordinates in 64 bits: a rectangle may lie anywhere in the 32-bit plane.
    const POINT origin = context.Origin();
    const Span area{std::int64_t{rect.left} + origin.x, std::int64_t{rect.top} + origin.y,
                    std::int64_t{rect.right} + origin.x, std::int64_t{rect.bottom} + origin.y};
    RECT clip = context.DeviceClip();
    if ((format & DT_NOCLIP) == 0) {
        clip = RECT{ClampToInt(std::max<std::int64_t>(clip.left, area.left)),
                    ClampToInt(std::max<std::int64_t>(clip.top, area.top)),
                    ClampToInt(std::min<std::int64_t>(clip.right, area.right)),
                    ClampToInt(std::min<std::int64_t>(clip.bottom, area.bottom))};
    }
    if (clip.left >= clip.right || clip.top >= clip.bottom) return;

    const std::int64_t lineHeight = font.face->Metrics().height;
    std::int64_t top = area.top;
    if ((format & DT_SINGLELINE) != 0) {
        if ((format & DT_VCENTER) != 0) {
            top = area.top + (area.bottom - area.top - lineHeight) / 2;
        } else if ((format & DT_BOTTOM) != 0) {
            top = area.bottom - lineHeight;
        }
    }
    LayoutPainter painter(context, font, clip);
    for (const platform::LaidOutLine& line : layout.lines) {
        if (top >= clip.bottom) break;
        std::int64_t left = area.left;
        if ((format & DT_CENTER) != 0) {
            left = area.left + (area.right - area.left - line.width) / 2;
        } else if ((format & DT_RIGHT) != 0) {
            left = area.right - line.width;
        }
        painter.Line(layout, line, left, top);
        top += lineHeight;
    }
}

}  // namespace

int DrawText(HDC hdc, const wchar_t* text, int length, RECT* rect, UINT format) {
    DeviceContext* context = platform::FindDeviceContext(hdc);
    if (context == nullptr || rect == nullptr || length < -1) return 0;
    if (text == nullptr && length != 0) return 0;
    const FontObject* font = SelectedFont(*context);
    if (font == nullptr) return 0;
    const std::size_t count = length == -1 ? std::wcslen(text) : static_cast<std::size_t>(length);

    thread_local platform::TextLayout layout;
    const std::int64_t width = std::int64_t{rect->right} - rect->left;
    platform::LayOutText(*font->face, std::wstring_view(text, count), format, width, layout);
    const std::int64_t height =
        std::int64_t{font->face->Metrics().height} * static_cast<std::int64_t>(layout.lines.size());

    if ((format & DT_CALCRECT) != 0) {
        rect->right = ClampToInt(rect->left + layout.widest);
        rect->bottom = ClampToInt(rect->top + height);
    } else if (context->Target() != nullptr) {
        PaintLayout(*context, *font, layout, *rect, format);
    }
    if (layout.characters.capacity() > kRetainedCharacters) {
        layout.characters = {};
        layout.lines = {};
    }
    return ClampToInt(height);
}

BOOL GetTextExtentPoint32(HDC hdc, const wchar_t* text, int length, SIZE* size) {
    DeviceContext* context = platform::FindDeviceContext(hdc);
    if (context == nullptr || size == nullptr || length < 0) return FALSE;
    if (text == nullptr && length != 0) return FALSE;
    const FontObject* font = SelectedFont(*context);
    if (font == nullptr) return FALSE;
    std::int64_t width = 0;
    for (int index = 0; index < length; ++index) {
        width += font->face->Advance(static_cast<char32_t>(text[index]));
    }
    size->cx = ClampToInt(width);
    size->cy = font->face->Metrics().height;
    return TRUE;
}

BOOL GetTextMetrics(HDC hdc, TEXTMETRIC* metrics) {
    DeviceContext* context = platform::FindDeviceContext(hdc);
    if (context == nullptr || metrics == nullptr) return FALSE;
    const FontObject* font = SelectedFont(*context);
    if (font == nullptr) return FALSE;
    const platform::FontMetrics& face = font->face->Metrics();
    metrics->tmHeight = face.height;
    metrics->tmAscent = face.ascent;
    metrics->tmDescent = face.descent;
    metrics->tmInternalLeading = face.height - face.emHeight;
    metrics->tmExternalLeading = 0;
    metrics->tmAveCharWidth = face.averageCharWidth;
    metrics->tmMaxCharWidth = face.maxCharWidth;
    metrics->tmWeight = font->logFont.lfWeight == FW_DONTCARE
                            ? FW_NORMAL
                            : std::clamp<LONG>(font->logFont.lfWeight, 1, 1000);
    metrics->tmItalic = font->logFont.lfItalic != 0 ? 1 : 0;
    return TRUE;
}

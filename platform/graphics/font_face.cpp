// Font faces: opening the file fontconfig chose, sizing it, caching glyphs, and finding other
// fonts for characters the file lacks.
#include "platform/graphics/font_face.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <unordered_set>
#include <utility>

#include "platform/base/text_encoding.h"

#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

namespace platform {
namespace {

// Glyph key shared by every value that is not a Unicode character: they all draw the same box.
constexpr char32_t kNotACharacter = 0x110000;
// Faces kept although no font uses them any more, so that fonts created for each paint find
// their glyphs still rendered.
constexpr std::size_t kFaceCacheLimit = 64;

std::uint64_t glyphRenders = 0;

struct FontRegistry {
    std::shared_ptr<FT_LibraryRec_> library;
    std::map<FaceRequest, std::shared_ptr<FontFace>> faces;
    std::map<std::pair<FontFileChoice, int>, std::shared_ptr<FontFace>> fallbackFaces;
    std::map<FontStyle, std::optional<FontFileChoice>> matches;
    std::unordered_set<char32_t> codePointsNoFontHas;
    bool libraryFailed = false;
};

FontRegistry& Registry() {
    static FontRegistry registry;
    return registry;
}

std::shared_ptr<FT_LibraryRec_> Library() {
    FontRegistry& registry = Registry();
    if (!registry.library && !registry.libraryFailed) {
        FT_Library library = nullptr;
        if (FT_Init_FreeType(&library) == 0) {
            registry.library.reset(library, FreeTypeLibraryCloser{});
        } else {
            registry.libraryFailed = true;
        }
    }
    return registry.library;
}

// Fontconfig's answer for a style, remembered: matching costs far more than a map lookup and the
// same styles come back at many sizes.
const std::optional<FontFileChoice>& CachedMatch(const FontStyle& style) {
    auto& matches = Registry().matches;
    auto found = matches.find(style);
    if (found == matches.end()) found = matches.emplace(style, MatchFontFile(style)).first;
    return found->second;
}

template <typename Cache>
void DropUnusedWhenFull(Cache& cache) {
    if (cache.size() < kFaceCacheLimit) return;
    std::erase_if(cache, [](const auto& item) { return item.second.use_count() == 1; });
}

// Rounded and rounded-up quotients of non-negative values.
std::int64_t RoundedQuotient(std::int64_t dividend, std::int64_t divisor) {
    return (dividend + divisor / 2) / divisor;
}
std::int64_t CeilingQuotient(std::int64_t dividend, std::int64_t divisor) {
    return (dividend + divisor - 1) / divisor;
}
int WholePixels(FT_Pos fixedPoint) { return static_cast<int>((fixedPoint + 32) >> 6); }

void CopyCoverage(const FT_Bitmap& bitmap, Glyph& glyph) {
    glyph.width = static_cast<int>(bitmap.width);
    glyph.height = static_cast<int>(bitmap.rows);
    glyph.coverage.assign(static_cast<std::size_t>(glyph.width) * glyph.height, 0);
    const int pitch = bitmap.pitch;
    for (int row = 0; row < glyph.height; ++row) {
        // A negative pitch stores the rows bottom-up.
        const unsigned char* source =
            pitch >= 0
                ? bitmap.buffer + static_cast<std::ptrdiff_t>(row) * pitch
                : bitmap.buffer + static_cast<std::ptrdiff_t>(glyph.height - 1 - row) * -pitch;
        std::uint8_t* target =
            glyph.coverage.data() + static_cast<std::ptrdiff_t>(row) * glyph.width;
        for (int column = 0; column < glyph.width; ++column) {
            switch (bitmap.pixel_mode) {
                case FT_PIXEL_MODE_GRAY: {
                    const int levels = bitmap.num_grays > 1 ? bitmap.num_grays - 1 : 255;
                    target[column] = static_cast<std::uint8_t>(source[column] * 255 / levels);
                    break;
                }
                case FT_PIXEL_MODE_MONO:
                    target[column] = (source[column / 8] & (0x80 >> (column % 8))) != 0 ? 255 : 0;
                    break;
                case FT_PIXEL_MODE_BGRA:
                    target[column] = source[column * 4 + 3];
                    break;
                default:
                    target[column] = 0;
                    break;
            }
        }
    }
}

}  // namespace

std::uint64_t GlyphRenderCount() { return glyphRenders; }

std::shared_ptr<FontFace> FontFace::Resolve(const FaceRequest& request) {
    if (request.height == 0 || request.height < -kMaxFontHeight ||
        request.height > kMaxFontHeight) {
        return nullptr;
    }
    FontRegistry& registry = Registry();
    if (auto found = registry.faces.find(request); found != registry.faces.end()) {
        return found->second;
    }
    FontStyle style{Utf8FromWide(request.family), std::clamp(request.weight, 1, 1000),
                    request.italic};
    std::shared_ptr<FontFace> face;
    if (const auto& choice = CachedMatch(style)) face = Open(*choice, style, request.height);
    if (!face && !style.family.empty()) {
        // The chosen file would not open: the default face is better than no text.
        style.family.clear();
        if (const auto& choice = CachedMatch(style)) face = Open(*choice, style, request.height);
    }
    if (!face) return nullptr;
    DropUnusedWhenFull(registry.faces);
    registry.faces.emplace(request, face);
    return face;
}

std::shared_ptr<FontFace> FontFace::Open(const FontFileChoice& file, const FontStyle& style,
                                         int height) {
    std::shared_ptr<FT_LibraryRec_> library = Library();
    if (!library) return nullptr;
    FT_Face opened = nullptr;
    if (FT_New_Face(library.get(), file.path.c_str(), file.index, &opened) != 0) return nullptr;
    FreeTypeFaceHandle handle(opened);
    auto face = std::make_shared<FontFace>(ConstructionKey{}, std::move(library), std::move(handle),
                                           file, style);
    if (!face->ComputeMetrics(height)) return nullptr;
    return face;
}

FontFace::FontFace(ConstructionKey /*key*/, std::shared_ptr<FT_LibraryRec_> library,
                   FreeTypeFaceHandle face, FontFileChoice file, FontStyle style)
    : library_(std::move(library)),
      face_(std::move(face)),
      file_(std::move(file)),
      style_(std::move(style)),
      asciiGlyphs_(128) {}

FontFace::~FontFace() = default;

std::string_view FontFace::FamilyName() const {
    return face_->family_name != nullptr ? std::string_view(face_->family_name)
                                         : std::string_view();
}

bool FontFace::ComputeMetrics(int requestedHeight) {
    FT_Face face = face_.get();
    const bool cellHeight = requestedHeight > 0;
    // Bounded by kMaxFontHeight, so neither the negation nor the products below overflow.
    const std::int64_t pixels = std::abs(requestedHeight);
    FontMetrics metrics;
    std::int64_t unitsPerEm = 0;

    if (FT_IS_SCALABLE(face)) {
        unitsPerEm = face->units_per_EM > 0 ? face->units_per_EM : 2048;
        std::int64_t above = std::max<std::int64_t>(0, face->ascender);
        std::int64_t below = std::max<std::int64_t>(0, -static_cast<std::int64_t>(face->descender));
        if (above + below == 0) {
            above = std::max<std::int64_t>(0, face->bbox.yMax);
            below = std::max<std::int64_t>(0, -static_cast<std::int64_t>(face->bbox.yMin));
        }
        if (above + below == 0) {
            above = unitsPerEm * 4 / 5;
            below = unitsPerEm - above;
        }
        if (cellHeight) {
            // The em follows from the cell; ascent and descent split the cell exactly.
            metrics.emHeight = static_cast<int>(
                std::max<std::int64_t>(1, RoundedQuotient(pixels * unitsPerEm, above + below)));
            metrics.ascent = static_cast<int>(RoundedQuotient(pixels * above, above + below));
            metrics.descent = static_cast<int>(pixels) - metrics.ascent;
        } else {
            // Rounded up, so that accents and descenders stay inside the line.
            metrics.emHeight = static_cast<int>(pixels);
            metrics.ascent = static_cast<int>(CeilingQuotient(above * pixels, unitsPerEm));
            metrics.descent = static_cast<int>(CeilingQuotient(below * pixels, unitsPerEm));
        }
        if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(metrics.emHeight)) != 0) return false;
        metrics.maxCharWidth = static_cast<int>(CeilingQuotient(
            std::max<std::int64_t>(0, face->max_advance_width) * metrics.emHeight, unitsPerEm));
    } else if (face->num_fixed_sizes > 0) {
        // A bitmap font: the strike nearest to the request.
        int best = 0;
        for (int strike = 1; strike < face->num_fixed_sizes; ++strike) {
            if (std::abs(face->available_sizes[strike].height - pixels) <
                std::abs(face->available_sizes[best].height - pixels)) {
                best = strike;
            }
        }
        if (FT_Select_Size(face, best) != 0) return false;
        const FT_Size_Metrics& strike = face->size->metrics;
        metrics.emHeight = std::max<int>(1, strike.y_ppem);
        metrics.ascent =
            static_cast<int>(CeilingQuotient(std::max<FT_Pos>(0, strike.ascender), 64));
        metrics.descent =
            static_cast<int>(CeilingQuotient(std::max<FT_Pos>(0, -strike.descender), 64));
        metrics.maxCharWidth = WholePixels(strike.max_advance);
    } else {
        return false;
    }
    metrics.height = std::max(1, metrics.ascent + metrics.descent);

    if (unitsPerEm > 0 && face->underline_thickness > 0) {
        metrics.underlineThickness = static_cast<int>(std::max<std::int64_t>(
            1, RoundedQuotient(face->underline_thickness * std::int64_t{metrics.emHeight},
                               unitsPerEm)));
        // FreeType gives the centre of the stroke, below the baseline.
        const std::int64_t centre = RoundedQuotient(
            std::max<std::int64_t>(0, -static_cast<std::int64_t>(face->underline_position)) *
                metrics.emHeight,
            unitsPerEm);
        metrics.underlineOffset =
            static_cast<int>(std::max<std::int64_t>(1, centre - metrics.underlineThickness / 2));
    } else {
        metrics.underlineThickness = std::max(1, metrics.emHeight / 14);
        metrics.underlineOffset = std::max(1, metrics.descent / 2);
    }
    metrics.underlineOffset = std::min(metrics.underlineOffset,
                                       std::max(0, metrics.descent - metrics.underlineThickness));

    metrics_ = metrics;  // LoadGlyph below reads the em height
    if (const FT_UInt x = FT_Get_Char_Index(face, 'x'); x != 0) {
        Glyph sample;
        LoadGlyph(x, false, sample);
        metrics.averageCharWidth = sample.advance;
    } else if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
               os2 != nullptr && os2->xAvgCharWidth > 0 && unitsPerEm > 0) {
        metrics.averageCharWidth = static_cast<int>(
            RoundedQuotient(std::int64_t{os2->xAvgCharWidth} * metrics.emHeight, unitsPerEm));
    }
    if (metrics.averageCharWidth <= 0) metrics.averageCharWidth = std::max(1, metrics.emHeight / 2);
    if (file_.embolden)
        metrics.maxCharWidth += static_cast<int>(CeilingQuotient(metrics.emHeight, 24));
    metrics.maxCharWidth = std::max(metrics.maxCharWidth, metrics.averageCharWidth);
    metrics_ = metrics;
    return true;
}

FontFace::CacheEntry& FontFace::Lookup(char32_t codePoint) {
    // A byte that was not UTF-8 (kept for the file system's sake) shows as undecodable text does.
    if (IsEscapedByte(codePoint)) codePoint = kReplacementCharacter;
    if (!IsUnicodeScalar(codePoint)) codePoint = kNotACharacter;
    CacheEntry& entry =
        codePoint < asciiGlyphs_.size() ? asciiGlyphs_[codePoint] : otherGlyphs_[codePoint];
    if (entry.known) return entry;
    entry.known = true;
    entry.source = this;
    entry.glyphIndex = 0;  // the missing-glyph box
    if (codePoint != kNotACharacter) {
        if (const FT_UInt index = FT_Get_Char_Index(face_.get(), codePoint); index != 0) {
            entry.glyphIndex = index;
        } else if (const FallbackGlyph fallback = FindFallback(codePoint);
                   fallback.face != nullptr) {
            entry.source = fallback.face;
            entry.glyphIndex = fallback.glyphIndex;
        }
    }
    entry.source->LoadGlyph(entry.glyphIndex, false, entry.glyph);
    return entry;
}

const Glyph& FontFace::Rendered(char32_t codePoint) {
    CacheEntry& entry = Lookup(codePoint);
    if (!entry.glyph.rendered) entry.source->LoadGlyph(entry.glyphIndex, true, entry.glyph);
    return entry.glyph;
}

FontFace::FallbackGlyph FontFace::FindFallback(char32_t codePoint) {
    // Fonts found for earlier characters usually have the next one too (a run of CJK text).
    for (const auto& fallback : fallbacks_) {
        if (const FT_UInt index = FT_Get_Char_Index(fallback->face_.get(), codePoint); index != 0) {
            return {fallback.get(), index};
        }
    }
    // Control characters have no glyph in any font; asking fontconfig would only cost time.
    if (codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0)) return {};
    FontRegistry& registry = Registry();
    if (registry.codePointsNoFontHas.contains(codePoint)) return {};

    std::optional<FontFileChoice> choice = MatchFontFileWithCharacter(style_, codePoint);
    if (!choice || (choice->path == file_.path && choice->index == file_.index)) {
        registry.codePointsNoFontHas.insert(codePoint);
        return {};
    }
    const auto key = std::make_pair(*choice, metrics_.emHeight);
    std::shared_ptr<FontFace> fallback;
    if (auto found = registry.fallbackFaces.find(key); found != registry.fallbackFaces.end()) {
        fallback = found->second;
    } else {
        fallback = Open(*choice, style_, -metrics_.emHeight);
        if (!fallback) {
            registry.codePointsNoFontHas.insert(codePoint);
            return {};
        }
        DropUnusedWhenFull(registry.fallbackFaces);
        registry.fallbackFaces.emplace(key, fallback);
    }
    const FT_UInt index = FT_Get_Char_Index(fallback->face_.get(), codePoint);
    if (index == 0) return {};
    fallbacks_.push_back(fallback);
    return {fallback.get(), index};
}

void FontFace::LoadGlyph(unsigned glyphIndex, bool render, Glyph& glyph) {
    FT_Face face = face_.get();
    if (FT_Load_Glyph(face, glyphIndex, FT_LOAD_DEFAULT) != 0) {
        // A broken glyph measures and draws as nothing rather than failing the whole text.
        glyph.advance = 0;
        glyph.rendered = render;
        glyph.width = glyph.height = 0;
        glyph.coverage.clear();
        return;
    }
    FT_GlyphSlot slot = face->glyph;
    if (file_.oblique && slot->format == FT_GLYPH_FORMAT_OUTLINE) FT_GlyphSlot_Oblique(slot);
    if (file_.embolden) FT_GlyphSlot_Embolden(slot);
    glyph.advance = std::max(0, WholePixels(slot->advance.x));
    if (!render) return;

    ++glyphRenders;
    glyph.rendered = true;
    if (slot->format != FT_GLYPH_FORMAT_BITMAP &&
        FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) {
        glyph.width = glyph.height = 0;
        glyph.coverage.clear();
        return;
    }
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    CopyCoverage(slot->bitmap, glyph);
}

}  // namespace platform

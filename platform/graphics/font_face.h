// FontFace: one font file at one pixel size, with its line metrics and a cache of hinted,
// anti-aliased glyphs. Fonts (HFONT) share faces; characters the file lacks come from other
// installed fonts. Like the rest of the graphics layer, faces are used from one thread only.
#pragma once

#include <compare>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/graphics/font_handles.h"
#include "platform/graphics/font_matching.h"

namespace platform {

struct FontMetrics {
    int emHeight = 0;  // pixels per em
    int ascent = 0;    // baseline to the top of the line
    int descent = 0;   // baseline to the bottom of the line
    int height = 0;    // ascent + descent: the distance between lines
    int averageCharWidth = 0;
    int maxCharWidth = 0;
    int underlineOffset = 1;  // from the baseline down to the underline's top row
    int underlineThickness = 1;
};

struct Glyph {
    int advance = 0;  // whole pixels
    bool rendered = false;
    int left = 0;  // from the pen to the bitmap's first column
    int top = 0;   // from the baseline up to the bitmap's first row
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage;  // width x height, row by row: 0 none to 255 full
};

// What a font asks for. The height is never 0 here: > 0 is the cell height (ascent + descent),
// < 0 the em height, both in pixels.
struct FaceRequest {
    std::wstring family;
    int weight = 400;
    bool italic = false;
    int height = 0;

    auto operator<=>(const FaceRequest&) const = default;
};

// Largest |height| a face may be asked for; larger requests are refused.
constexpr int kMaxFontHeight = 2000;

class FontFace {
    struct ConstructionKey {
        explicit ConstructionKey() = default;
    };

  public:
    // The shared face for a request; null only for an impossible height or when no usable font is
    // installed. A family that is not installed resolves to fontconfig's substitute.
    static std::shared_ptr<FontFace> Resolve(const FaceRequest& request);

    FontFace(ConstructionKey key, std::shared_ptr<FT_LibraryRec_> library, FreeTypeFaceHandle face,
             FontFileChoice file, FontStyle style);
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;
    ~FontFace();

    const FontMetrics& Metrics() const { return metrics_; }
    // The family name recorded in the file that was chosen.
    std::string_view FamilyName() const;
    bool SynthesizesBold() const { return file_.embolden; }
    bool SynthesizesItalic() const { return file_.oblique; }

    // Advance of a character, loading but not rasterising its glyph the first time.
    int Advance(char32_t codePoint) { return Lookup(codePoint).glyph.advance; }
    // The character's glyph with its coverage bitmap, rasterised the first time only. Characters
    // that no installed font has, and values that are not Unicode characters, give the
    // missing-glyph box of this face.
    const Glyph& Rendered(char32_t codePoint);

  private:
    struct CacheEntry {
        Glyph glyph;
        FontFace* source = nullptr;  // this face or one of its fallbacks
        unsigned glyphIndex = 0;
        bool known = false;
    };
    struct FallbackGlyph {
        FontFace* face = nullptr;
        unsigned glyphIndex = 0;
    };

    // Opens and sizes a face; null when the file cannot be read or sized.
    static std::shared_ptr<FontFace> Open(const FontFileChoice& file, const FontStyle& style,
                                          int height);
    CacheEntry& Lookup(char32_t codePoint);
    FallbackGlyph FindFallback(char32_t codePoint);
    // Loads a glyph of this face (with bold and slant synthesis); rasterises it into `glyph` when
    // `render` is set, otherwise only sets the advance.
    void LoadGlyph(unsigned glyphIndex, bool render, Glyph& glyph);
    bool ComputeMetrics(int requestedHeight);

    std::shared_ptr<FT_LibraryRec_> library_;  // outlives face_ (members end in reverse order)
    FreeTypeFaceHandle face_;
    FontFileChoice file_;
    FontStyle style_;
    FontMetrics metrics_;
    std::vector<CacheEntry> asciiGlyphs_;  // indexed by code point: the common case, no hashing
    std::unordered_map<char32_t, CacheEntry> otherGlyphs_;
    std::vector<std::shared_ptr<FontFace>> fallbacks_;
};

// Number of glyphs rasterised so far in the process; drawing text that was drawn before with the
// same font must not raise it.
std::uint64_t GlyphRenderCount();

}  // namespace platform

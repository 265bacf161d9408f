// Fontconfig queries behind font creation and per-character fallback.
#include "platform/graphics/font_matching.h"

#include <algorithm>

#include "platform/base/startup_steps.h"
#include "platform/graphics/font_handles.h"

namespace platform {
namespace {

// Fontconfig reads its configuration, some hundred files, at its first question, and every
// program draws text: start-up has it read on another core while the screen is opened.
StartupResult<bool>& LoadedAtStartup() {
    static StartupResult<bool> loaded;
    return loaded;
}
void BeginLoadingFontconfig() {
    LoadedAtStartup().Begin([] { return FcInit() == FcTrue; });
}
[[maybe_unused]] const bool kLoadedAtStartup =
    AddStartupStep({StartupNeed::beforeTheWindow, BeginLoadingFontconfig, AwaitFontconfig});

const FcChar8* AsFontconfigString(const char* text) {
    return reinterpret_cast<const FcChar8*>(text);
}

FontconfigPatternHandle PatternForStyle(const FontStyle& style) {
    FontconfigPatternHandle pattern(FcPatternCreate());
    if (!pattern) return nullptr;
    const char* family = style.family.empty() ? "sans-serif" : style.family.c_str();
    FcPatternAddString(pattern.get(), FC_FAMILY, AsFontconfigString(family));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT,
                        FcWeightFromOpenType(std::clamp(style.weight, 1, 1000)));
    FcPatternAddInteger(pattern.get(), FC_SLANT, style.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    // Text is drawn at arbitrary sizes; a bitmap-only font would be scaled badly or not at all.
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    // Text has one colour; colour fonts (emoji) are mostly fixed-size bitmaps of their own.
    FcPatternAddBool(pattern.get(), FC_COLOR, FcFalse);
    return pattern;
}

std::optional<FontFileChoice> BestMatch(FcPattern* pattern, const FontStyle& style,
                                        std::optional<char32_t> requiredCharacter) {
    AwaitFontconfig();
    if (FcConfigSubstitute(nullptr, pattern, FcMatchPattern) == FcFalse) return std::nullopt;
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FontconfigPatternHandle match(FcFontMatch(nullptr, pattern, &result));
    if (!match) return std::nullopt;

    if (requiredCharacter) {
        FcCharSet* characters = nullptr;
        if (FcPatternGetCharSet(match.get(), FC_CHARSET, 0, &characters) != FcResultMatch ||
            FcCharSetHasChar(characters, *requiredCharacter) == FcFalse) {
            return std::nullopt;
        }
    }
    FcChar8* file = nullptr;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || file == nullptr) {
        return std::nullopt;
    }
    FontFileChoice choice;
    choice.path = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &choice.index);

    // Fontconfig's configuration may ask for synthesis itself: it then reports the requested
    // weight or slant for the font and adds FC_EMBOLDEN or a slanting FC_MATRIX. A configuration
    // without those rules reports the file's own weight and slant.
    int matchedWeight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &matchedWeight);
    int matchedSlant = FC_SLANT_ROMAN;
    FcPatternGetInteger(match.get(), FC_SLANT, 0, &matchedSlant);
    FcBool emboldenHint = FcFalse;
    FcPatternGetBool(match.get(), FC_EMBOLDEN, 0, &emboldenHint);
    const int requestedWeight = FcWeightFromOpenType(std::clamp(style.weight, 1, 1000));
    choice.embolden = emboldenHint == FcTrue ||
                      (requestedWeight >= FC_WEIGHT_DEMIBOLD && matchedWeight <= FC_WEIGHT_MEDIUM);
    FcMatrix* transform = nullptr;
    const bool slantedByConfiguration =
        FcPatternGetMatrix(match.get(), FC_MATRIX, 0, &transform) == FcResultMatch &&
        transform != nullptr && transform->xy != 0;
    choice.oblique = style.italic && (matchedSlant == FC_SLANT_ROMAN || slantedByConfiguration);
    return choice;
}

}  // namespace

void AwaitFontconfig() { LoadedAtStartup().Take(); }

std::optional<FontFileChoice> MatchFontFile(const FontStyle& style) {
    FontconfigPatternHandle pattern = PatternForStyle(style);
    if (!pattern) return std::nullopt;
    return BestMatch(pattern.get(), style, std::nullopt);
}

std::optional<FontFileChoice> MatchFontFileWithCharacter(const FontStyle& style,
                                                         char32_t codePoint) {
    if (!IsUnicodeScalar(codePoint)) return std::nullopt;
    FontconfigPatternHandle pattern = PatternForStyle(style);
    FontconfigCharSetHandle characters(FcCharSetCreate());
    if (!pattern || !characters) return std::nullopt;
    // Coverage ranks above the family in fontconfig's matching, so a font that has the character
    // wins over the requested family when that family lacks it.
    FcCharSetAddChar(characters.get(), codePoint);
    FcPatternAddCharSet(pattern.get(), FC_CHARSET, characters.get());
    return BestMatch(pattern.get(), style, codePoint);
}

}  // namespace platform

// Owning handles for the FreeType and fontconfig objects the text code uses, so that every exit
// path releases them.
#pragma once

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>

namespace platform {

struct FreeTypeLibraryCloser {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FreeTypeFaceCloser {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
struct FontconfigPatternCloser {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct FontconfigFontSetCloser {
    void operator()(FcFontSet* fontSet) const { FcFontSetDestroy(fontSet); }
};
struct FontconfigObjectSetCloser {
    void operator()(FcObjectSet* objectSet) const { FcObjectSetDestroy(objectSet); }
};
struct FontconfigCharSetCloser {
    void operator()(FcCharSet* charSet) const { FcCharSetDestroy(charSet); }
};

using FreeTypeLibraryHandle = std::unique_ptr<FT_LibraryRec_, FreeTypeLibraryCloser>;
using FreeTypeFaceHandle = std::unique_ptr<FT_FaceRec_, FreeTypeFaceCloser>;
using FontconfigPatternHandle = std::unique_ptr<FcPattern, FontconfigPatternCloser>;
using FontconfigFontSetHandle = std::unique_ptr<FcFontSet, FontconfigFontSetCloser>;
using FontconfigObjectSetHandle = std::unique_ptr<FcObjectSet, FontconfigObjectSetCloser>;
using FontconfigCharSetHandle = std::unique_ptr<FcCharSet, FontconfigCharSetCloser>;

}  // namespace platform

// Font objects: CreateFontIndirect and the font every new device context starts with.
#include <algorithm>
#include <memory>

#include "platform/base/system_metrics.h"
#include "platform/graphics/font_face.h"
#include "platform/graphics/gdi_objects.h"

namespace {

platform::FaceRequest RequestFor(const LOGFONT& logFont, int height) {
    // The face name need not be terminated when it fills the whole array.
    const wchar_t* name = logFont.lfFaceName;
    const auto nameLength =
        static_cast<std::size_t>(std::find(name, name + LF_FACESIZE, L'\0') - name);
    const int weight =
        logFont.lfWeight == FW_DONTCARE ? FW_NORMAL : std::clamp<int>(logFont.lfWeight, 1, 1000);
    return platform::FaceRequest{std::wstring(name, nameLength), weight, logFont.lfItalic != 0,
                                 height};
}

}  // namespace

HFONT CreateFontIndirect(const LOGFONT* logFont) {
    if (logFont == nullptr) return nullptr;
    // Compared as given: negating INT_MIN would overflow.
    int height = logFont->lfHeight;
    if (height < -platform::kMaxFontHeight || height > platform::kMaxFontHeight) return nullptr;
    if (height == 0) {
        const auto* standard = platform::FindGdiObjectOf<platform::FontObject>(
            platform::DefaultFont(), platform::GdiKind::Font);
        height = standard != nullptr ? standard->logFont.lfHeight : -platform::ScaleForDisplay(14);
    }
    std::shared_ptr<platform::FontFace> face =
        platform::FontFace::Resolve(RequestFor(*logFont, height));
    if (!face) return nullptr;
    return static_cast<HFONT>(platform::AdoptGdiObject(
        std::make_unique<platform::FontObject>(*logFont, std::move(face))));
}

namespace platform {

HFONT DefaultFont() {
    // Made on first use (after the backend has reported the display) and kept for the process.
    static const HFONT font = [] {
        LOGFONT description{};
        description.lfHeight = -ScaleForDisplay(14);
        description.lfWeight = FW_NORMAL;
        HFONT created = CreateFontIndirect(&description);
        MarkStock(created);
        return created;
    }();
    return font;
}

}  // namespace platform

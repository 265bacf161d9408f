// Listing installed font families through fontconfig.
#include "platform/graphics/font_families.h"

#include <algorithm>
#include <cwctype>
#include <string_view>

#include "platform/graphics/font_handles.h"
#include "platform/graphics/font_matching.h"

namespace platform {
namespace {

std::string_view StringOf(FcPattern* pattern, const char* object, int index) {
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, index, &value) != FcResultMatch || value == nullptr) {
        return {};
    }
    return reinterpret_cast<const char*>(value);
}

void AddFamilyNames(FcPattern* font, std::vector<std::wstring>& families) {
    bool addedAny = false;
    for (int index = 0;; ++index) {
        const std::string_view family = StringOf(font, FC_FAMILY, index);
        if (family.empty()) break;
        // Names without a language tag count as English.
        const std::string_view language = StringOf(font, FC_FAMILYLANG, index);
        if (!language.empty() && language != "en") continue;
        families.push_back(WideFromUtf8(family));
        addedAny = true;
    }
    if (!addedAny) {
        if (const std::string_view first = StringOf(font, FC_FAMILY, 0); !first.empty()) {
            families.push_back(WideFromUtf8(first));
        }
    }
}

bool LessIgnoringCase(const std::wstring& first, const std::wstring& second) {
    const auto folded = [](wchar_t character) {
        return std::towlower(static_cast<wint_t>(character));
    };
    return std::lexicographical_compare(
        first.begin(), first.end(), second.begin(), second.end(),
        [&](wchar_t a, wchar_t b) { return folded(a) < folded(b); });
}

}  // namespace

std::vector<std::wstring> InstalledFontFamilies() {
    std::vector<std::wstring> families;
    AwaitFontconfig();
    FontconfigPatternHandle everything(FcPatternCreate());
    FontconfigObjectSetHandle wanted(FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, nullptr));
    if (!everything || !wanted) return families;
    FontconfigFontSetHandle fonts(FcFontList(nullptr, everything.get(), wanted.get()));
    if (!fonts) return families;
    for (int index = 0; index < fonts->nfont; ++index)
        AddFamilyNames(fonts->fonts[index], families);
    families.erase(std::remove_if(families.begin(), families.end(),
                                  [](const std::wstring& name) { return name.empty(); }),
                   families.end());
    // Exact order breaks ties between names that differ only in case, so equal names end up
    // adjacent for the de-duplication.
    std::sort(families.begin(), families.end(), [](const std::wstring& a, const std::wstring& b) {
        if (LessIgnoringCase(a, b)) return true;
        if (LessIgnoringCase(b, a)) return false;
        return a < b;
    });
    families.erase(std::unique(families.begin(), families.end()), families.end());
    return families;
}

}  // namespace platform

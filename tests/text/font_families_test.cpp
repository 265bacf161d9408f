// The installed family names offered to a font picker.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>

#include "platform/graphics/font_families.h"

namespace {

std::wstring Folded(std::wstring name) {
    for (wchar_t& character : name) character = static_cast<wchar_t>(std::towlower(character));
    return name;
}

TEST(FontFamiliesTest, ListsEachInstalledFamilyOnceInCaseInsensitiveOrder) {
    const std::vector<std::wstring> families = platform::InstalledFontFamilies();
    ASSERT_FALSE(families.empty());
    EXPECT_NE(std::find(families.begin(), families.end(), L"DejaVu Sans"), families.end());
    for (std::size_t index = 1; index < families.size(); ++index) {
        EXPECT_LE(Folded(families[index - 1]), Folded(families[index]));
        EXPECT_NE(families[index - 1], families[index]);
    }
    for (const std::wstring& family : families) EXPECT_FALSE(family.empty());
}

}  // namespace

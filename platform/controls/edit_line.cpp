#include "platform/controls/edit_line.h"

#include <algorithm>
#include <climits>

#include "platform/graphics/gdi.h"
#include "platform/windows/window_api.h"

namespace platform {
namespace {

wchar_t ShownCharacter(wchar_t character) {
    return character >= 0 && character < L' ' ? L' ' : character;
}

}  // namespace

std::wstring ShownEditText(std::wstring_view text) {
    std::wstring shown(text);
    std::ranges::transform(shown, shown.begin(), ShownCharacter);
    return shown;
}

std::vector<int> EditCharacterAdvances(HFONT font, std::wstring_view text) {
    std::vector<int> advances;
    advances.reserve(text.size());
    HDC screen = ::GetDC(nullptr);
    HGDIOBJ previous = ::SelectObject(screen, font);
    for (wchar_t character : text) {
        const wchar_t shown = ShownCharacter(character);
        SIZE size{};
        ::GetTextExtentPoint32(screen, &shown, 1, &size);
        advances.push_back(size.cx);
    }
    ::SelectObject(screen, previous);
    ::ReleaseDC(nullptr, screen);
    return advances;
}

void EditLine::Measure(HFONT font, std::wstring_view text) {
    const std::vector<int> advances = EditCharacterAdvances(font, text);
    offsets_.resize(advances.size() + 1);
    offsets_[0] = 0;
    // Saturates: a line beyond 2^31 pixels stays in range (and far out of view).
    for (std::size_t index = 0; index < advances.size(); ++index) {
        offsets_[index + 1] = static_cast<int>(std::min<long long>(
            INT_MAX, static_cast<long long>(offsets_[index]) + advances[index]));
    }
}

int EditLine::NearestPosition(int x) const {
    // The first offset at or beyond x; the one before it wins when x is nearer to it.
    const auto after = std::ranges::lower_bound(offsets_, x);
    if (after == offsets_.begin()) return 0;
    if (after == offsets_.end()) return static_cast<int>(offsets_.size()) - 1;
    const auto before = after - 1;
    const auto position = static_cast<int>(after - offsets_.begin());
    return x - *before < *after - x ? position - 1 : position;
}

}  // namespace platform

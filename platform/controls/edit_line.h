// Where the characters of an edit box's line lie: the x of every caret position, measured in the
// box's font from the start of the text, and the caret position nearest to a point. Characters
// are placed by their whole-pixel advances, as the text is drawn, so a caret drawn at an offset
// sits exactly between two drawn characters.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/base/win_types.h"

namespace platform {

// The text as the box shows it: control characters (a tab that came with pasted text, say) take
// the room of a space.
std::wstring ShownEditText(std::wstring_view text);
// How far each character moves the pen in `font`, as the box shows it.
std::vector<int> EditCharacterAdvances(HFONT font, std::wstring_view text);

class EditLine {
  public:
    void Measure(HFONT font, std::wstring_view text);
    int Width() const { return offsets_.back(); }
    // Position 0 to the length of the text.
    int Offset(int position) const { return offsets_[static_cast<std::size_t>(position)]; }
    // The caret position nearest to `x`: a point on the right half of a character goes after it.
    int NearestPosition(int x) const;

  private:
    std::vector<int> offsets_{0};
};

}  // namespace platform

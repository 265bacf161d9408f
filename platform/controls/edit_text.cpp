#include "platform/controls/edit_text.h"

#include <algorithm>

namespace platform {

std::wstring_view EditText::SelectedText() const {
    return std::wstring_view(text_).substr(
        static_cast<std::size_t>(SelectionStart()),
        static_cast<std::size_t>(SelectionEnd() - SelectionStart()));
}

void EditText::SetText(std::wstring_view text) {
    text_.assign(text);
    anchor_ = 0;
    caret_ = 0;
}

void EditText::Select(int anchor, int caret) {
    anchor_ = Clamp(anchor);
    caret_ = Clamp(caret);
}

void EditText::MoveCaret(int position, bool extend) {
    caret_ = Clamp(position);
    if (!extend) anchor_ = caret_;
}

bool EditText::ReplaceSelection(std::wstring_view text) {
    const bool changed = SelectedText() != text;
    const int start = SelectionStart();
    text_.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(SelectionEnd() - start),
                  text);
    caret_ = start + static_cast<int>(text.size());
    anchor_ = caret_;
    return changed;
}

bool EditText::DeleteBackward() {
    if (!HasSelection()) {
        if (caret_ == 0) return false;
        anchor_ = caret_ - 1;
    }
    return ReplaceSelection({});
}

bool EditText::DeleteForward() {
    if (!HasSelection()) {
        if (caret_ == Length()) return false;
        anchor_ = caret_ + 1;
    }
    return ReplaceSelection({});
}

int EditText::Clamp(int position) const { return std::clamp(position, 0, Length()); }

}  // namespace platform

// The text of a single-line edit box with its caret and selection, apart from any window: the
// editing steps the control is made of. Positions are character indexes from 0 to the length;
// the selection runs between the anchor and the caret (its moving end), in either order.
#pragma once

#include <string>
#include <string_view>

namespace platform {

class EditText {
  public:
    const std::wstring& Text() const { return text_; }
    int Length() const { return static_cast<int>(text_.size()); }
    int Caret() const { return caret_; }
    int Anchor() const { return anchor_; }
    int SelectionStart() const { return anchor_ < caret_ ? anchor_ : caret_; }
    int SelectionEnd() const { return anchor_ < caret_ ? caret_ : anchor_; }
    bool HasSelection() const { return anchor_ != caret_; }
    std::wstring_view SelectedText() const;

    // New text, with the caret at its start.
    void SetText(std::wstring_view text);
    // Both ends are kept within the text.
    void Select(int anchor, int caret);
    // Moves the caret; without `extend` the selection collapses onto it.
    void MoveCaret(int position, bool extend);
    // Where Left and Right without Shift go: a selection collapses to its near end, else the
    // caret steps by one character.
    int StepLeft() const { return HasSelection() ? SelectionStart() : caret_ - 1; }
    int StepRight() const { return HasSelection() ? SelectionEnd() : caret_ + 1; }

    // Each returns whether the text changed.
    // Puts `text` in place of the selection and the caret after it (text equal to the
    // selection leaves the text as it was).
    bool ReplaceSelection(std::wstring_view text);
    // Backspace and Delete: the selection, else the character before or after the caret.
    bool DeleteBackward();
    bool DeleteForward();

  private:
    int Clamp(int position) const;

    std::wstring text_;
    int anchor_ = 0;
    int caret_ = 0;
};

}  // namespace platform

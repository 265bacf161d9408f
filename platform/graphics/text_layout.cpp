// Line layout for DrawText.
#include "platform/graphics/text_layout.h"

#include <algorithm>

namespace platform {
namespace {

// Marks a hard line break among the collected characters.
constexpr char32_t kLineBreak = U'\n';

bool IsBreakingSpace(char32_t codePoint) { return codePoint == U' ' || codePoint == U'\t'; }

class LineBreaker {
  public:
    LineBreaker(TextLayout& layout, UINT format, std::int64_t width, int tabStop)
        : characters_(layout.characters),
          lines_(layout.lines),
          expandTabs_((format & DT_EXPANDTABS) != 0),
          wordBreak_((format & DT_WORDBREAK) != 0),
          breakLongWords_((format & DT_EDITCONTROL) != 0),
          width_(width),
          tabStop_(tabStop) {}

    void Paragraph(std::size_t begin, std::size_t end) {
        if (!wordBreak_) {
            lines_.push_back({begin, end, Advance(begin, end), false});
            return;
        }
        std::size_t lineStart = begin;
        while (!WrapOneLine(lineStart, end)) {
        }
    }

  private:
    // Sums the advances of [begin, end) from the start of a line, placing tab stops on the way.
    std::int64_t Advance(std::size_t begin, std::size_t end) {
        std::int64_t x = 0;
        for (std::size_t index = begin; index < end; ++index) x += Place(index, x);
        return x;
    }

    int Place(std::size_t index, std::int64_t x) {
        LaidOutCharacter& character = characters_[index];
        if (expandTabs_ && character.codePoint == U'\t') {
            character.advance = static_cast<int>(tabStop_ - x % tabStop_);
        }
        return character.advance;
    }

    // Emits the next line of the paragraph starting at `lineStart` and advances `lineStart`;
    // true when that line ended the paragraph. Lines break after the last word that fits, the
    // spaces at the break belonging to neither line; a word wider than the rectangle keeps a
    // line of its own, or with DT_EDITCONTROL is broken after its last character that fits.
    bool WrapOneLine(std::size_t& lineStart, std::size_t end) {
        std::int64_t x = 0;
        std::size_t breakEnd = lineStart;  // end of the line when breaking at the last space run
        std::size_t nextStart = 0;         // first character after that run; 0 while none seen
        std::int64_t widthAtBreak = 0;
        for (std::size_t index = lineStart; index < end; ++index) {
            const bool space = IsBreakingSpace(characters_[index].codePoint);
            const bool afterSpace =
                index > lineStart && IsBreakingSpace(characters_[index - 1].codePoint);
            const int advance = Place(index, x);
            if (space) {
                if (index > lineStart && !afterSpace) {
                    breakEnd = index;
                    widthAtBreak = x;
                }
            } else {
                if (afterSpace && breakEnd > lineStart) nextStart = index;
                if (x + advance > width_ && nextStart > lineStart) {
                    lines_.push_back({lineStart, breakEnd, widthAtBreak, false});
                    lineStart = nextStart;
                    return false;
                }
                if (x + advance > width_ && breakLongWords_ && index > lineStart) {
                    lines_.push_back({lineStart, index, x, false});
                    lineStart = index;
                    return false;
                }
            }
            x += advance;
        }
        lines_.push_back({lineStart, end, x, false});
        return true;
    }

    std::vector<LaidOutCharacter>& characters_;
    std::vector<LaidOutLine>& lines_;
    bool expandTabs_;
    bool wordBreak_;
    bool breakLongWords_;
    std::int64_t width_;
    int tabStop_;
};

void CollectCharacters(FontFace& face, std::wstring_view text, UINT format,
                       std::vector<LaidOutCharacter>& characters) {
    characters.clear();
    const bool prefixes = (format & DT_NOPREFIX) == 0;
    const bool singleLine = (format & DT_SINGLELINE) != 0;
    const bool expandTabs = (format & DT_EXPANDTABS) != 0;
    bool underlineNext = false;
    for (std::size_t index = 0; index < text.size(); ++index) {
        // wchar_t is signed: negative values become large and so not Unicode characters.
        const auto codePoint = static_cast<char32_t>(text[index]);
        if (prefixes && codePoint == U'&') {
            if (index + 1 < text.size() && text[index + 1] == L'&') {
                ++index;  // "&&" draws one '&'
            } else {
                underlineNext = true;  // a lone '&' underlines what follows; a final one vanishes
                continue;
            }
        }
        if (codePoint == U'\r' || codePoint == U'\n') {
            underlineNext = false;
            if (singleLine) continue;
            if (codePoint == U'\r' && index + 1 < text.size() && text[index + 1] == L'\n') ++index;
            characters.push_back({kLineBreak, 0, false});
            continue;
        }
        int advance = 0;
        if (codePoint == U'\t') {
            // Expanded tabs get their width from their position; unexpanded ones show as a space.
            advance = expandTabs ? 0 : face.Advance(U' ');
        } else {
            advance = face.Advance(codePoint);
        }
        characters.push_back({codePoint, advance, underlineNext});
        underlineNext = false;
    }
}

void AddEllipses(TextLayout& layout, std::int64_t width) {
    const std::int64_t ellipsisWidth = 3 * std::int64_t{layout.periodAdvance};
    for (LaidOutLine& line : layout.lines) {
        if (line.width <= width) continue;
        std::int64_t kept = line.width;
        std::size_t end = line.end;
        while (end > line.begin && kept + ellipsisWidth > width) {
            --end;
            kept -= layout.characters[end].advance;
        }
        while (end > line.begin && IsBreakingSpace(layout.characters[end - 1].codePoint)) {
            --end;
            kept -= layout.characters[end].advance;
        }
        line.end = end;
        line.width = kept + ellipsisWidth;
        line.ellipsis = true;
    }
}

}  // namespace

void LayOutText(FontFace& face, std::wstring_view text, UINT format, std::int64_t width,
                TextLayout& layout) {
    CollectCharacters(face, text, format, layout.characters);
    layout.lines.clear();
    layout.widest = 0;
    layout.periodAdvance = face.Advance(U'.');

    const std::vector<LaidOutCharacter>& characters = layout.characters;
    const int tabStop = std::max(1, 8 * face.Metrics().averageCharWidth);
    if ((format & DT_SINGLELINE) != 0) {
        LineBreaker breaker(layout, format & ~UINT{DT_WORDBREAK}, width, tabStop);
        breaker.Paragraph(0, characters.size());
    } else {
        LineBreaker breaker(layout, format, width, tabStop);
        // A break at the very end does not start another line.
        std::size_t paragraphStart = 0;
        for (std::size_t index = 0; index < characters.size(); ++index) {
            if (characters[index].codePoint != kLineBreak) continue;
            breaker.Paragraph(paragraphStart, index);
            paragraphStart = index + 1;
        }
        if (paragraphStart < characters.size())
            breaker.Paragraph(paragraphStart, characters.size());
    }
    if ((format & DT_END_ELLIPSIS) != 0) AddEllipses(layout, width);
    for (const LaidOutLine& line : layout.lines)
        layout.widest = std::max(layout.widest, line.width);
}

}  // namespace platform

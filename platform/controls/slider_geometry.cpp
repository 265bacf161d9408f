#include "platform/controls/slider_geometry.h"

#include <algorithm>

namespace platform {

namespace {

// The margin on one axis: what is wanted, but always leaving at least one pixel inside.
int FitMargin(int wanted, int length) { return std::clamp((length - 1) / 2, 0, wanted); }

long long Span(SliderRange range) {
    return static_cast<long long>(range.maximum) - static_cast<long long>(range.minimum);
}

}  // namespace

SliderGeometry::SliderGeometry(const RECT& client, int thumbWidth, int margin) {
    const int width = std::max(0, static_cast<int>(client.right - client.left));
    const int height = std::max(0, static_cast<int>(client.bottom - client.top));
    const int marginX = FitMargin(std::max(0, margin), width);
    const int marginY = FitMargin(std::max(0, margin), height);
    content_ = RECT{client.left + marginX, client.top + marginY, client.left + width - marginX,
                    client.top + height - marginY};
    const int contentWidth = static_cast<int>(content_.right - content_.left);
    thumbWidth_ = std::clamp(thumbWidth, std::min(1, contentWidth), contentWidth);
    travel_ = contentWidth - thumbWidth_;
}

RECT SliderGeometry::ThumbRect(SliderRange range, int position) const {
    const long long span = Span(range);
    const long long offset =
        static_cast<long long>(std::clamp(position, range.minimum, range.maximum)) - range.minimum;
    const long long left = span > 0 ? offset * travel_ / span : 0;
    const int thumbLeft = static_cast<int>(content_.left + left);
    return RECT{thumbLeft, content_.top, thumbLeft + thumbWidth_, content_.bottom};
}

RECT SliderGeometry::TrackRect(int thickness) const {
    const int height = static_cast<int>(content_.bottom - content_.top);
    const int band = std::clamp(thickness, 0, height);
    const int top = static_cast<int>(content_.top) + (height - band) / 2;
    const int left = static_cast<int>(content_.left) + thumbWidth_ / 2;
    return RECT{left, top, left + travel_ + 1, top + band};
}

int SliderGeometry::PositionForThumbLeft(SliderRange range, int thumbLeft) const {
    const long long span = Span(range);
    if (travel_ <= 0 || span <= 0) return range.minimum;
    const long long offset = std::clamp(static_cast<long long>(thumbLeft) - content_.left, 0LL,
                                        static_cast<long long>(travel_));
    // Of the two positions either side of the exact value, the one drawn nearer to the finger:
    // with many values per pixel the thumb stays exactly under it, with few it snaps to the
    // nearest value. Products stay below 2^63 for any int range and any int width.
    const long long below = offset * span / travel_;
    const long long above = below + (offset * span % travel_ != 0 ? 1 : 0);
    const long long belowGap = offset - below * travel_ / span;
    const long long aboveGap = above * travel_ / span - offset;
    return static_cast<int>(range.minimum + (aboveGap < belowGap ? above : below));
}

int MoveWithinRange(SliderRange range, int position, long long delta) {
    const long long moved = static_cast<long long>(position) + delta;
    return static_cast<int>(std::clamp(moved, static_cast<long long>(range.minimum),
                                       static_cast<long long>(range.maximum)));
}

}  // namespace platform

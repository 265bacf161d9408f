// Where a slider's parts lie in its client area (the focus margin, the track, the thumb) and how
// a thumb place and a position in the range map to each other. Pure arithmetic, in 64 bits so
// that any int range and any width work without overflow or division by zero.
#pragma once

#include "platform/base/win_types.h"

namespace platform {

struct SliderRange {
    int minimum = 0;
    int maximum = 0;  // never below minimum
};

class SliderGeometry {
  public:
    // `client` is the slider's client rectangle; `thumbWidth` and `margin` are the wanted sizes
    // in pixels at the display's density, shrunk to what the client area can hold.
    SliderGeometry(const RECT& client, int thumbWidth, int margin);

    // Inside the focus margin: where the thumb travels.
    const RECT& Content() const { return content_; }
    int ThumbWidth() const { return thumbWidth_; }
    // Pixels the thumb's left edge can move across.
    int Travel() const { return travel_; }

    // The thumb for `position`, clamped to the range.
    RECT ThumbRect(SliderRange range, int position) const;
    // The groove across the middle, from the thumb's centre at one end to its centre at the other.
    RECT TrackRect(int thickness) const;
    // The position whose thumb has its left edge nearest to `thumbLeft` (client coordinates),
    // clamped to the range.
    int PositionForThumbLeft(SliderRange range, int thumbLeft) const;

  private:
    RECT content_{};
    int thumbWidth_ = 0;
    int travel_ = 0;
};

// `position` moved by `delta`, kept inside the range without overflowing.
int MoveWithinRange(SliderRange range, int position, long long delta);

}  // namespace platform

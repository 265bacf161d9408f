// CTavrelScroll: the thin slider at the right of the menu that shows where the visible part of
// the list lies.
#pragma once

#include <cstdint>

#include "platform/graphics/gdi_classes.h"

class CTavrelScroll final {
  public:
    // Stores the track; with a track of some width also the position, content and page heights.
    virtual void Configure(std::int64_t position, std::int64_t contentHeight, int pageHeight,
                           CRect track);
    // Fills the track and draws the thumb over it; nothing when the track has no width.
    virtual void Draw(CDC* dc, COLORREF trackColor, COLORREF thumbColor);
    virtual void SetPos(std::int64_t position);
    bool IsVisible() const { return track.Width() != 0; }
    // The thumb's rectangle in client coordinates; empty when there is no proportion to show.
    CRect ThumbRect() const;
    // The shortest thumb: one that only its proportion would make thinner than this would be
    // lost on a long list.
    int MinimumThumbHeight() const;

    // Positions and heights in 64 bits: a long list of tall rows exceeds the int range.
    std::int64_t pos = 0;
    std::int64_t total = 0;
    int page = 0;
    CRect track;
    double scale = 0.0;  // content pixels per track pixel
    int inset = 4;
};

// DeviceContext: where drawing goes (a window's part of its top-level surface, or a memory
// bitmap), with the clip, origin and the objects and colours selected into it.
#pragma once

#include "platform/graphics/gdi_objects.h"

namespace platform {

class DeviceContext {
  public:
    // A context on a window: logical (0, 0) lies at device point `origin` of `target`, and drawing
    // is clipped to `clip` (device coordinates). The target is the window's top-level surface,
    // whose address stays the same when the window is resized.
    DeviceContext(Surface* target, POINT origin, const RECT& clip, HWND window);
    // A memory context: draws into whichever bitmap is selected (at first a 1 x 1 stock bitmap).
    DeviceContext();
    ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    bool IsMemory() const { return memory_; }
    HWND Window() const { return window_; }
    Surface* Target() const { return target_; }
    POINT Origin() const { return origin_; }
    // The clip in device coordinates (always inside the target's bounds).
    const RECT& DeviceClip() const { return clip_; }
    // Logical to device coordinates.
    POINT ToDevice(int x, int y) const { return POINT{x + origin_.x, y + origin_.y}; }
    RECT ToDevice(const RECT& rect) const;
    // Narrows the clip (device coordinates); used for painting only the invalid part.
    void LimitClip(const RECT& deviceRect);

    HGDIOBJ Select(HGDIOBJ object);
    HBRUSH Brush() const { return brush_; }
    HPEN Pen() const { return pen_; }
    HFONT Font() const { return font_; }
    HBITMAP Bitmap() const { return bitmap_; }

    COLORREF textColor;
    COLORREF backgroundColor;
    int backgroundMode = OPAQUE;
    POINT position{};  // current position for LineTo

  private:
    bool memory_;
    HWND window_ = nullptr;
    Surface* target_ = nullptr;
    POINT origin_{};
    RECT clip_{};
    HBRUSH brush_ = nullptr;
    HPEN pen_ = nullptr;
    HFONT font_ = nullptr;
    HBITMAP bitmap_ = nullptr;
};

// The context behind a handle, or null when it is not a live context.
DeviceContext* FindDeviceContext(HDC handle);
// Registers contexts made by the window system (GetDC, BeginPaint) and drops them again.
HDC AdoptDeviceContext(std::unique_ptr<DeviceContext> context);
bool DestroyDeviceContext(HDC handle);

}  // namespace platform

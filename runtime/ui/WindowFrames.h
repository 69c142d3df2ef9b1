// The kinds of native window that each value of a window's `Frame` selects,
// their default placements and system styles, and the placement offsets
// applied to a window's bounds before it is created. Plain logic: no system
// calls, so it is also tested natively.
#pragma once

#include <cstdint>

namespace runtime {

// Bounds as windows and controls hold them: top, left, bottom, right.
struct Bounds {
    int16_t top = 0, left = 0, bottom = 0, right = 0;
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    void offset(int32_t dh, int32_t dv) {
        left = static_cast<int16_t>(left + dh);
        right = static_cast<int16_t>(right + dh);
        top = static_cast<int16_t>(top + dv);
        bottom = static_cast<int16_t>(bottom + dv);
    }
    bool contains(const Bounds& inner) const {
        return inner.left >= left && inner.top >= top && inner.right <= right && inner.bottom <= bottom;
    }
};

constexpr uint8_t kDocumentKind = 8;
constexpr uint8_t kFloatingKind = 1;

struct FrameKind {
    uint8_t kind;
    int32_t defaultPlacement;
};

// Frame 0 to 7; any other value is treated as 0.
FrameKind frameKind(int32_t frame);
bool isModalKind(uint8_t kind);
// Whether a window of this kind keeps the resizable flag that GrowIcon sets.
bool keepsResizable(uint8_t kind);

struct WindowOptions {
    bool resizable = false;
    bool closeBox = false;
    bool zoomIcon = false;
    bool frameMode = false;
};

struct WindowStyles {
    uint32_t style = 0;
    uint32_t extendedStyle = 0;
};

// Kinds 0 to 9; the constructor refuses others.
WindowStyles windowStyles(uint8_t kind, const WindowOptions& options);

// Applies a placement (the window's own, or the frame's default when 0) to
// bounds, for a screen of the given size.
void applyPlacement(Bounds& bounds, int32_t placement, int32_t screenWidth, int32_t screenHeight);

}  // namespace runtime

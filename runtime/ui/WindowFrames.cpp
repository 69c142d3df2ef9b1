#include "ui/WindowFrames.h"

namespace runtime {
namespace {

// The system's style bits (the values of the Win32 headers).
constexpr uint32_t kPopup = 0x80000000u;
constexpr uint32_t kCaption = 0x00C00000u;
constexpr uint32_t kBorder = 0x00800000u;
constexpr uint32_t kDialogFrame = 0x00400000u;
constexpr uint32_t kSystemMenu = 0x00080000u;
constexpr uint32_t kThickFrame = 0x00040000u;
constexpr uint32_t kMinimizeBox = 0x00020000u;
constexpr uint32_t kMaximizeBox = 0x00010000u;
constexpr uint32_t kExDialogModalFrame = 0x00000001u;
constexpr uint32_t kExTopmost = 0x00000008u;
constexpr uint32_t kExMdiChild = 0x00000040u;
constexpr uint32_t kExToolWindow = 0x00000080u;
constexpr uint32_t kExWindowEdge = 0x00000100u;

constexpr FrameKind kFrames[8] = {{8, 4}, {3, 2}, {2, 2}, {1, 0}, {4, 2}, {5, 2}, {6, 4}, {9, 0}};

uint32_t options(const WindowOptions& o, bool thickFrame) {
    uint32_t style = 0;
    if (thickFrame && o.resizable) style |= kThickFrame;
    if (o.closeBox) style |= kSystemMenu;
    if (o.zoomIcon) style |= kMinimizeBox | kMaximizeBox;
    return style;
}

}  // namespace

FrameKind frameKind(int32_t frame) { return (frame >= 0 && frame <= 7) ? kFrames[frame] : kFrames[0]; }

bool isModalKind(uint8_t kind) { return kind >= 2 && kind <= 5; }

bool keepsResizable(uint8_t kind) { return kind == kDocumentKind || kind == kFloatingKind || kind == 9; }

WindowStyles windowStyles(uint8_t kind, const WindowOptions& o) {
    const uint32_t mdiChild = o.frameMode ? kExMdiChild : 0;
    switch (kind) {
        case 1: return {kCaption | options(o, true), kExWindowEdge | kExToolWindow | kExTopmost | mdiChild};
        case 2: return {kPopup | kDialogFrame, 0};
        case 3: return {kPopup | kCaption, kExDialogModalFrame | mdiChild};
        case 4:
        case 5: return {kPopup | kBorder, 0};
        case 6: return {kCaption | options(o, false), 0};
        case 9: return {kPopup | (o.resizable ? kThickFrame : kBorder) | options(o, false), 0};
        default: return {kCaption | options(o, true), 0};  // the document kind
    }
}

void applyPlacement(Bounds& bounds, int32_t placement, int32_t screenWidth, int32_t screenHeight) {
    switch (placement) {
        case 0: bounds.offset(4, 100); break;
        case 1:
        case 2:
        case 3: bounds.offset((screenWidth - bounds.right) / 2, (screenHeight - bounds.bottom) / 4); break;
        case 4: bounds.offset(10, 50); break;
        default: break;
    }
}

}  // namespace runtime

// The instance data of a `Control` object, after the data of `Object`: what
// every control shares (its name and index, its window, container and pane,
// its rectangle and state). The kinds of control keep their own data after it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"
#include "ui/WindowFrames.h"

namespace runtime {

class NativeWindow;
class Pane;

struct ControlFields {
    StringHandle name;
    int32_t index;           // kNoIndex when not in a control array
    ObjectHandle window;     // borrowed: the window holds the control
    ObjectHandle container;  // borrowed: an enclosing Canvas of the same window
    Pane* pane;              // null until CreatePane made one
    NativeWindow* parent;
    int32_t stateWord;
    uint8_t visible;
    uint8_t enabled;
    uint8_t isClone;
    uint8_t hasState;        // the initial pane state was given
    int16_t left, top, width, height;
    StringHandle balloonHelp;
    StringHandle disabledBalloonHelp;
    int32_t tabPanelIndex;
    uint8_t lockLeft, lockTop, lockRight, lockBottom;
    ObjectHandle mouseCursor;  // owned
};

constexpr int32_t kControlFieldsOffset = 24;
#if defined(__i386__)
static_assert(kControlFieldsOffset + sizeof(ControlFields) <= 88, "fits a Control instance");
#endif

inline ControlFields& controlFields(ObjectHandle control) {
    return *reinterpret_cast<ControlFields*>(reinterpret_cast<char*>(control) + kControlFieldsOffset);
}

// The text style of the controls that draw text with a font of their own
// (push buttons, check boxes, radio buttons, group boxes, static texts, tab
// panels, pop-up menus): right after the control's data, before the kind's
// own fields.
struct ControlFont {
    StringHandle textFont;  // empty: the default control font
    int32_t textSize;       // 0 or less: the default size
    uint8_t bold, italic, underline, reserved;
};

constexpr int32_t kControlFontOffset = 88;
constexpr int32_t kControlKindDataOffset = kControlFontOffset + static_cast<int32_t>(sizeof(ControlFont));
#if defined(__i386__)
static_assert(sizeof(ControlFont) == 12);
static_assert(offsetof(ControlFields, mouseCursor) == 56);
#endif

inline ControlFont& controlFont(ObjectHandle control) {
    return *reinterpret_cast<ControlFont*>(reinterpret_cast<char*>(control) + kControlFontOffset);
}

inline Bounds controlBounds(const ControlFields& c) {
    return Bounds{c.top, c.left, static_cast<int16_t>(c.top + c.height), static_cast<int16_t>(c.left + c.width)};
}

}  // namespace runtime

// The instance data of a `Window` object, after the data of `Object`: the
// stored properties, the bounds, and the runtime state that hangs off it (its
// native window and its controls).
#pragma once

#include <cstddef>
#include <cstdint>

#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"
#include "ui/WindowFrames.h"

namespace runtime {

class NativeWindow;
struct WindowContents;

struct WindowFields {
    uint8_t visible;
    uint8_t closeBox;
    uint8_t growIcon;
    uint8_t zoomIcon;
    uint8_t hasBackColor;
    uint8_t acceptedDrops;  // DropKind bits
    uint8_t reserved[2];
    int32_t frame;
    int32_t placement;
    Bounds bounds;          // top, left, bottom, right
    int32_t backColor;      // 0x00RRGGBB
    StringHandle title;
    StringHandle balloonHelp;
    ObjectHandle backdrop;
    ObjectHandle mouseCursor;
    int16_t minWidth, minHeight, maxWidth, maxHeight;
    int32_t macProcId;
    StringHandle floaterProcess;
    NativeWindow* native;       // null before creation and after close
    WindowContents* contents;   // registry, descriptors, controls; null until laid out
    Bounds initialBounds;
};

constexpr int32_t kWindowFieldsOffset = 24;
#if defined(__i386__)
static_assert(kWindowFieldsOffset + sizeof(WindowFields) <= 112, "fits a Window instance");
#endif

inline WindowFields& windowFields(ObjectHandle window) {
    return *reinterpret_cast<WindowFields*>(reinterpret_cast<char*>(window) + kWindowFieldsOffset);
}

}  // namespace runtime

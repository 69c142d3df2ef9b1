#include "loader/PluginControlEntries.h"

#include "loader/PluginGraphics.h"
#include "loader/PluginHost.h"
#include "loader/PluginPane.h"
#include "objects/BuiltinClasses.h"
#include "objects/ClassRegistry.h"
#include "objects/ObjectLifetime.h"
#include "text/StringValue.h"
#include "ui/ControlFields.h"
#include "ui/NativeWindow.h"
#include "ui/Pane.h"
#include "ui/WindowFields.h"

using namespace runtime;
using namespace runtime::plugins;

namespace {

// Only controls carry control fields: the routines do nothing for nil and
// for objects of other classes.
bool isControlInstance(ObjectHandle instance) {
    return instance && inheritsFrom(instance->classRecord, builtinClass("Control"));
}

COLORREF systemColour(PluginColour rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace

void GetControlBounds(ObjectHandle instance, int16_t* bounds) {
    if (!bounds) return;
    if (!isControlInstance(instance)) {
        bounds[0] = bounds[1] = bounds[2] = bounds[3] = 0;
        return;
    }
    const Bounds b = controlBounds(controlFields(instance));
    bounds[0] = b.top;
    bounds[1] = b.left;
    bounds[2] = b.bottom;
    bounds[3] = b.right;
}

bool GetControlVisible(ObjectHandle instance) {
    return isControlInstance(instance) && controlFields(instance).visible != 0;
}

void SetControlVisible(ObjectHandle instance, bool visible) {
    if (!isControlInstance(instance)) return;
    ControlFields& f = controlFields(instance);
    f.visible = visible ? 1 : 0;
    if (f.pane) f.pane->setVisible(visible);
}

ObjectHandle getControlWindow(ObjectHandle instance) {
    if (!isControlInstance(instance)) return nullptr;
    ObjectHandle window = controlFields(instance).window;
    lockObject(window);
    return window;
}

HWND GetControlHWND(ObjectHandle instance) {
    if (!isControlInstance(instance)) return nullptr;
    const ControlFields& f = controlFields(instance);
    if (f.pane && f.pane->handle()) return f.pane->handle();
    NativeWindow* window = f.parent;
    if (!window && f.window) window = windowFields(f.window).native;
    return window ? window->handle() : nullptr;
}

ObjectHandle VELMGetControlGraphics(ObjectHandle instance) {
    PluginPane* pane = PluginPane::of(instance);
    return pane ? pane->clientGraphics().release() : nullptr;
}

HDC VELMGraphicsDC(ObjectHandle graphics) { return graphicsDC(graphics); }

void VELMInvalidateControl(ObjectHandle instance) {
    if (PluginPane* pane = PluginPane::of(instance)) pane->invalidate();
}

void VELMInvalidateControlRect(ObjectHandle instance, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (PluginPane* pane = PluginPane::of(instance)) pane->invalidate(RECT{left, top, right, bottom});
}

void VELMSetSpecialBackground(ObjectHandle instance, const PluginColour* colour) {
    if (PluginPane* pane = PluginPane::of(instance)) {
        pane->setSpecialBackground(colour != nullptr, colour ? systemColour(*colour) : 0);
    }
}

StringHandle PluginInterpretConstantValue(StringHandle value) {
    lockString(value);
    return value;
}

void lockPictureDescription(ObjectHandle picture, PluginPictureDescription* description) {
    if (!description) return;
    *description = PluginPictureDescription{};
    if (describePicture(picture, *description)) lockObject(picture);
}

void unlockPictureDescription(ObjectHandle picture) {
    PluginPictureDescription unused{};
    if (describePicture(picture, unused)) unlockObject(picture);
}

void drawPicturePrimitive(ObjectHandle graphics, const PluginPictureDescription* description, int32_t x, int32_t y) {
    if (description) drawPictureDescription(graphicsDC(graphics), *description, x, y);
}

// The project the window tests run against: compiled classes whose handlers
// are C++ functions that record what they are told in `gTrace`, layouts
// built from them, and real input for the native windows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "objects/ObjectEntries.h"
#include "support/LoopPasses.h"
#include "objects/WindowInstantiation.h"
#include "objects/WindowLayout.h"
#include "text/StringValue.h"
#include "ui/WindowEntries.h"

namespace window_tests {

// What the handlers were told, in order.
extern std::string gTrace;
// Answers the handlers give.
extern bool gRefuseClose;    // CancelClose
extern bool gEnableSaveAll;  // EnableMenuItems enables "SaveAll"
extern bool gTakeMouse;      // MouseDown
extern bool gTakeKey;        // KeyDown

// A control's name.
std::string nameOf(ObjectHandle control);

// Class indices of the test project.
struct Classes {
    int32_t application, window, canvas, rectControl, timer, testWindow, traceControl, subWindow, closing, app, keyWindow;
    int32_t bindingInterface, binder, notABinder, partControl, editControl;
};
extern Classes ix;

// Project objects (item index + 1): pictures for backdrops.
struct Pictures {
    int32_t red, eightBits, short_;
};
extern Pictures pictures;

constexpr uint16_t kRed555 = 0x7C00;
constexpr int32_t kPictureWidth = 8, kPictureHeight = 4;

runtime::LayoutControl control(int32_t cls, const std::string& name, std::vector<runtime::PropertyText> more = {});
runtime::WindowLayout windowLayout(int32_t cls, std::vector<runtime::LayoutControl> controls = {},
                                   std::vector<runtime::PropertyText> props = {});

// An open window, closed and released at the end of the test.
struct OpenWindow {
    ObjectHandle object = nullptr;
    explicit OpenWindow(const runtime::WindowLayout& layout) {
        const std::vector<uint8_t> bytes = runtime::encodeSizedWindowLayout(layout);
        object = RuntimeCreateWindow(bytes.data(), nullptr);
    }
    ~OpenWindow() {
        gRefuseClose = false;
        if (object) {
            RuntimeCloseWindow(object);
            RuntimeUnlockObject(object);
        }
    }
    OpenWindow(const OpenWindow&) = delete;
    OpenWindow& operator=(const OpenWindow&) = delete;
    HWND handle() const { return reinterpret_cast<HWND>(static_cast<intptr_t>(windowHWNDGetter(object))); }
    ObjectHandle fetch(const char* name) const {
        runtime::StringValue n = runtime::StringValue::fromCString(name);
        return RuntimeControlFetch(object, n.get());
    }
};

using testing_support::runPasses;
// Takes every queued message first.
void drainMessages();
// Moves the mouse as a person would and runs passes until it is there.
void moveMouse(POINT to);
// Moves the mouse there, then presses and releases the left button.
void clickAt(POINT screen);
POINT screenPoint(HWND window, int x, int y);

// Screen colours of a window's client points.
bool isRed(COLORREF c);
COLORREF screenPixel(HWND window, int x, int y);
// Whether the screen shows what `expected` accepts at a client point once
// the window has painted.
bool settlesTo(HWND window, int x, int y, bool (*expected)(COLORREF));

}  // namespace window_tests

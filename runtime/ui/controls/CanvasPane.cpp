// Canvases: "VL_Pane" windows whose drawing is the Paint event, with the
// mouse events in control coordinates. Controls drawn inside a canvas
// belong to it.
#include "objects/ObjectLifetime.h"
#include "ui/controls/ControlKind.h"

namespace runtime::controls {
namespace {

class CanvasPane final : public Pane {
public:
    CanvasPane(ObjectHandle control, NativeWindow* window) : Pane(control, window) { createPaneWindow(); }

    bool takesFocus() const override { return false; }

    void paintPane(HDC dc) override {
        (void)dc;
        // The Graphics object that Paint receives draws into this canvas.
        const Unwindable<ObjectRef> graphics(ObjectRef::adopt(newObject(builtinClass("Graphics"))));
        raise(control(), "Canvas", "Paint", graphics->get());
    }

    bool mouseDownAt(POINT p, int32_t) override { return raise(control(), "Canvas", "MouseDown", x(p), y(p)); }
    void mouseDragAt(POINT p) override { raise(control(), "Canvas", "MouseDrag", x(p), y(p)); }
    void mouseUpAt(POINT p) override { raise(control(), "Canvas", "MouseUp", x(p), y(p)); }

private:
    int32_t x(POINT p) const { return p.x - bounds().left; }
    int32_t y(POINT p) const { return p.y - bounds().top; }
};

void createPane(ObjectHandle c) { createPaneOf<CanvasPane>(c); }

}  // namespace

void defineCanvas() { setCreatePaneHandler(builtinClass("Canvas"), createPane); }

}  // namespace runtime::controls

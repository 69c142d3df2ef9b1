#include "ui/controls/LinePane.h"

#include <algorithm>

#include "ui/controls/ControlKind.h"

namespace runtime::controls {
namespace {

// No text style: the fields follow the control's data.
struct LineFields {
    int32_t x1, y1, x2, y2;  // window coordinates
    int32_t borderWidth;     // pen width, 1 at least when drawn
    int32_t borderColor;     // 0x00RRGGBB
};
#if defined(__i386__)
static_assert(kControlFontOffset + sizeof(LineFields) <= 112, "fits a Line instance");
#endif

LineFields& fields(ObjectHandle c) {
    return *reinterpret_cast<LineFields*>(reinterpret_cast<char*>(c) + kControlFontOffset);
}

COLORREF systemColour(int32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

int32_t penWidth(const LineFields& f) { return std::clamp(f.borderWidth, 1, 255); }

int16_t toInt16(int32_t v) { return static_cast<int16_t>(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX)); }

// The control's rectangle: the two points' box, widened by the pen so that
// a thick line (centred on its points) stays inside.
void encloseLine(ObjectHandle c) {
    const LineFields& f = fields(c);
    ControlFields& cf = controlFields(c);
    const int32_t pen = penWidth(f), before = pen / 2, after = pen - before;
    const int32_t left = std::min(f.x1, f.x2) - before, top = std::min(f.y1, f.y2) - before;
    cf.left = toInt16(left);
    cf.top = toInt16(top);
    cf.width = toInt16(std::max(f.x1, f.x2) + after - left);
    cf.height = toInt16(std::max(f.y1, f.y2) + after - top);
}

class LinePane final : public Pane {
public:
    LinePane(ObjectHandle control, NativeWindow* window) : Pane(control, window) { createPaneWindow(); }

    bool takesFocus() const override { return false; }
    bool takesMouse() const override { return false; }

    void paintPane(HDC dc) override {
        const LineFields& f = fields(control());
        const int32_t pen = penWidth(f);
        HPEN line = CreatePen(PS_SOLID, pen, systemColour(f.borderColor));
        HGDIOBJ old = SelectObject(dc, line);
        const int32_t x1 = f.x1 - bounds().left, y1 = f.y1 - bounds().top;
        const int32_t x2 = f.x2 - bounds().left, y2 = f.y2 - bounds().top;
        MoveToEx(dc, x1, y1, nullptr);
        LineTo(dc, x2, y2);
        // LineTo leaves the last point out; the line includes both ends.
        if (pen == 1) SetPixel(dc, x2, y2, systemColour(f.borderColor));
        SelectObject(dc, old);
        DeleteObject(line);
    }
};

void createPane(ObjectHandle c) { createPaneOf<LinePane>(c); }

void initialise(ObjectHandle c, ClassRecord*) { fields(c).borderWidth = 1; }

// The line after a change of its points or pen: the pane follows.
void relayout(ObjectHandle c) {
    const Bounds before = controlBounds(controlFields(c));
    encloseLine(c);
    Pane* pane = controlFields(c).pane;
    if (!pane) return;
    const Bounds after = controlBounds(controlFields(c));
    if (before.left != after.left || before.top != after.top || before.right != after.right ||
        before.bottom != after.bottom) {
        pane->setBounds(after, true);
    }
    pane->invalidate();
}

template <int32_t Selector>
int32_t pointGetter(ObjectHandle c) {
    if (!c) return 0;
    const LineFields& f = fields(c);
    const int32_t points[] = {f.x1, f.y1, f.x2, f.y2};
    return points[Selector];
}
template <int32_t Selector>
void pointSetter(ObjectHandle c, int32_t value) { linePosSetter(c, Selector, value); }

int32_t widthGetter(ObjectHandle c) { return c ? fields(c).borderWidth : 0; }
void widthSetter(ObjectHandle c, int32_t width) {
    if (!c) return;
    fields(c).borderWidth = width;
    relayout(c);
}
int32_t colourGetter(ObjectHandle c) { return c ? fields(c).borderColor : 0; }
void colourSetter(ObjectHandle c, int32_t colour) {
    if (!c) return;
    fields(c).borderColor = colour;
    if (Pane* pane = controlFields(c).pane) pane->invalidate();
}

}  // namespace

void defineLine() {
    ClassRecord* cls = builtinClass("Line");
    cls->initialiser = initialise;
    setCreatePaneHandler(cls, createPane);
    using T = PropertyType;
    addProperty(cls, "X1", T::kInteger, pointGetter<0>, pointSetter<0>);
    addProperty(cls, "Y1", T::kInteger, pointGetter<1>, pointSetter<1>);
    addProperty(cls, "X2", T::kInteger, pointGetter<2>, pointSetter<2>);
    addProperty(cls, "Y2", T::kInteger, pointGetter<3>, pointSetter<3>);
    addProperty(cls, "BorderWidth", T::kInteger, widthGetter, widthSetter);
    addProperty(cls, "BorderColor", T::kColor, colourGetter, colourSetter);
}

}  // namespace runtime::controls

using namespace runtime;
using namespace runtime::controls;

void linePosSetter(ObjectHandle c, int32_t selector, int32_t value) {
    if (!c || selector < 0 || selector > 3) return;
    LineFields& f = fields(c);
    int32_t* points[] = {&f.x1, &f.y1, &f.x2, &f.y2};
    // Kept within the 16-bit rectangle the control lives in.
    *points[selector] = std::clamp<int32_t>(value, INT16_MIN / 2, INT16_MAX / 2);
    relayout(c);
}

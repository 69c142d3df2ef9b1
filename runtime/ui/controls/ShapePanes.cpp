// The shape controls: rectangles, ovals and rounded rectangles the runtime
// draws in their rectangle with FillColor, BorderColor and BorderWidth.
#include <algorithm>

#include "ui/controls/ControlKind.h"

namespace runtime::controls {
namespace {

enum class Shape { kRectangle, kOval, kRoundRectangle };

// No text style: the fields follow the control's data.
struct ShapeFields {
    int32_t fillColor;    // 0x00RRGGBB
    int32_t borderColor;  // 0x00RRGGBB
    int32_t borderWidth;
    int16_t ovalWidth, ovalHeight;  // rounded rectangles only
};

ShapeFields& fields(ObjectHandle c) {
    return *reinterpret_cast<ShapeFields*>(reinterpret_cast<char*>(c) + kControlFontOffset);
}

COLORREF systemColour(int32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

class ShapePane final : public Pane {
public:
    ShapePane(ObjectHandle control, NativeWindow* window, Shape shape) : Pane(control, window), shape_(shape) {
        createPaneWindow();
    }

    bool takesFocus() const override { return false; }
    bool takesMouse() const override { return false; }

    void paintPane(HDC dc) override {
        const ShapeFields& f = fields(control());
        const int32_t border = std::clamp(f.borderWidth, 0, 255);
        HBRUSH brush = CreateSolidBrush(systemColour(f.fillColor));
        HPEN pen = border > 0 ? CreatePen(PS_INSIDEFRAME, border, systemColour(f.borderColor))
                              : static_cast<HPEN>(GetStockObject(NULL_PEN));
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        HGDIOBJ oldPen = SelectObject(dc, pen);
        // Without a pen the shapes leave their right and bottom edge out.
        const int32_t extra = border > 0 ? 0 : 1;
        const int32_t w = bounds().width() + extra, h = bounds().height() + extra;
        switch (shape_) {
            case Shape::kRectangle: Rectangle(dc, 0, 0, w, h); break;
            case Shape::kOval: Ellipse(dc, 0, 0, w, h); break;
            case Shape::kRoundRectangle: RoundRect(dc, 0, 0, w, h, f.ovalWidth, f.ovalHeight); break;
        }
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(brush);
        if (border > 0) DeleteObject(pen);
    }

private:
    Shape shape_;
};

template <Shape S>
void createPane(ObjectHandle c) {
    if (!c) return;
    ControlFields& f = controlFields(c);
    if (f.pane || !f.parent) return;
    auto* pane = new ShapePane(c, f.parent, S);
    if (!pane->handle()) {
        delete pane;
        return;
    }
    f.pane = pane;
}

void initialise(ObjectHandle c, ClassRecord*) {
    ShapeFields& f = fields(c);
    f.fillColor = 0xFFFFFF;
    f.borderColor = 0;
    f.borderWidth = 1;
    f.ovalWidth = f.ovalHeight = 16;
}

void repaint(ObjectHandle c) {
    if (Pane* pane = controlFields(c).pane) pane->invalidate();
}

template <int32_t ShapeFields::*Field>
int32_t intGetter(ObjectHandle c) { return c ? fields(c).*Field : 0; }
template <int32_t ShapeFields::*Field>
void intSetter(ObjectHandle c, int32_t v) {
    if (!c) return;
    fields(c).*Field = v;
    repaint(c);
}
template <int16_t ShapeFields::*Field>
int32_t shortGetter(ObjectHandle c) { return c ? fields(c).*Field : 0; }
template <int16_t ShapeFields::*Field>
void shortSetter(ObjectHandle c, int32_t v) {
    if (!c) return;
    fields(c).*Field = static_cast<int16_t>(std::clamp(v, 0, 0x7FFF));
    repaint(c);
}

template <Shape S>
void define(const char* className) {
    ClassRecord* cls = builtinClass(className);
    cls->initialiser = initialise;
    setCreatePaneHandler(cls, createPane<S>);
    using T = PropertyType;
    addProperty(cls, "FillColor", T::kColor, intGetter<&ShapeFields::fillColor>, intSetter<&ShapeFields::fillColor>);
    addProperty(cls, "BorderColor", T::kColor, intGetter<&ShapeFields::borderColor>, intSetter<&ShapeFields::borderColor>);
    addProperty(cls, "BorderWidth", T::kInteger, intGetter<&ShapeFields::borderWidth>, intSetter<&ShapeFields::borderWidth>);
    if constexpr (S == Shape::kRoundRectangle) {
        addProperty(cls, "OvalWidth", T::kInteger, shortGetter<&ShapeFields::ovalWidth>, shortSetter<&ShapeFields::ovalWidth>);
        addProperty(cls, "OvalHeight", T::kInteger, shortGetter<&ShapeFields::ovalHeight>,
                    shortSetter<&ShapeFields::ovalHeight>);
    }
}

}  // namespace

void defineShapes() {
    define<Shape::kRectangle>("Rectangle");
    define<Shape::kOval>("Oval");
    define<Shape::kRoundRectangle>("RoundRectangle");
}

}  // namespace runtime::controls

// Scroll bars and sliders: a "SCROLLBAR", vertical when the control is at
// least as tall as it is wide. The position moves by LineStep and PageStep;
// dragging the thumb moves it while dragging only with LiveScroll.
// ValueChanged follows every change of the position.
#include <algorithm>

#include "ui/controls/ControlKind.h"

namespace runtime::controls {
namespace {

// No text style: the fields follow the control's data.
struct ScrollFields {
    int32_t minimum;
    int32_t value;
    int32_t maximum;
    int32_t lineStep;
    int32_t pageStep;
    uint8_t liveScroll;
};

ScrollFields& fields(ObjectHandle c) {
    return *reinterpret_cast<ScrollFields*>(reinterpret_cast<char*>(c) + kControlFontOffset);
}

int32_t clampedValue(const ScrollFields& f, int32_t value) {
    return std::clamp(value, f.minimum, std::max(f.minimum, f.maximum));
}

class ScrollBarPane final : public Pane {
public:
    ScrollBarPane(ObjectHandle control, NativeWindow* window) : Pane(control, window) {
        const DWORD orientation = bounds().height() >= bounds().width() ? SBS_VERT : SBS_HORZ;
        if (!createChild(L"SCROLLBAR", orientation, std::wstring())) return;
        applyRange();
    }

    bool takesFocus() const override { return false; }

    void applyRange() {
        const ScrollFields& f = fields(control());
        SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_POS, f.minimum, std::max(f.minimum, f.maximum), 0, f.value, 0};
        SetScrollInfo(handle(), SB_CTL, &info, TRUE);
    }

    // Moves the position; ValueChanged when it changed.
    void moveTo(int32_t value) {
        ObjectHandle c = control();
        ScrollFields& f = fields(c);
        const int32_t next = clampedValue(f, value);
        if (next == f.value) return;
        f.value = next;
        SetScrollPos(handle(), SB_CTL, next, TRUE);
        const char* declaring = inheritsFrom(c->classRecord, builtinClass("Slider")) ? "Slider" : "ScrollBar";
        guarded(GuardedEvent::kValueChanged, [c, declaring] { raise(c, declaring, "ValueChanged"); });
    }

    void horizontalScroll(int32_t code, int32_t) override { scrolled(code); }
    void verticalScroll(int32_t code, int32_t) override { scrolled(code); }

private:
    void scrolled(int32_t code) {
        const ScrollFields& f = fields(control());
        switch (code) {
            case SB_LINEUP: moveTo(f.value - f.lineStep); break;
            case SB_LINEDOWN: moveTo(f.value + f.lineStep); break;
            case SB_PAGEUP: moveTo(f.value - f.pageStep); break;
            case SB_PAGEDOWN: moveTo(f.value + f.pageStep); break;
            case SB_TOP: moveTo(f.minimum); break;
            case SB_BOTTOM: moveTo(f.maximum); break;
            case SB_THUMBTRACK:
                if (f.liveScroll) moveTo(trackPosition());
                break;
            case SB_THUMBPOSITION: moveTo(trackPosition()); break;
            default: break;
        }
    }

    int32_t trackPosition() const {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(handle(), SB_CTL, &info);
        return info.nTrackPos;
    }
};

void createPane(ObjectHandle c) { createPaneOf<ScrollBarPane>(c); }

void initialise(ObjectHandle c, ClassRecord*) {
    ScrollFields& f = fields(c);
    f.maximum = 100;
    f.lineStep = 1;
    f.pageStep = 20;
    f.liveScroll = 1;
}

template <int32_t ScrollFields::*Field>
int32_t intGetter(ObjectHandle c) { return c ? fields(c).*Field : 0; }

// Range and steps: stored, then the live bar takes the new range and the
// position stays inside it.
template <int32_t ScrollFields::*Field>
void rangeSetter(ObjectHandle c, int32_t v) {
    if (!c) return;
    fields(c).*Field = v;
    if (auto* pane = paneOf<ScrollBarPane>(c)) {
        pane->applyRange();
        pane->moveTo(fields(c).value);
    } else {
        fields(c).value = clampedValue(fields(c), fields(c).value);
    }
}

void valueSetter(ObjectHandle c, int32_t v) {
    if (!c) return;
    if (auto* pane = paneOf<ScrollBarPane>(c)) pane->moveTo(v);
    else fields(c).value = v;
}

template <int32_t ScrollFields::*Field>
void stepSetter(ObjectHandle c, int32_t v) {
    if (c) fields(c).*Field = std::max(0, v);
}

bool liveGetter(ObjectHandle c) { return c && fields(c).liveScroll; }
void liveSetter(ObjectHandle c, bool v) {
    if (c) fields(c).liveScroll = v;
}

void define(const char* className) {
    ClassRecord* cls = builtinClass(className);
    cls->initialiser = initialise;
    setCreatePaneHandler(cls, createPane);
    using T = PropertyType;
    addProperty(cls, "Minimum", T::kInteger, intGetter<&ScrollFields::minimum>, rangeSetter<&ScrollFields::minimum>);
    addProperty(cls, "Maximum", T::kInteger, intGetter<&ScrollFields::maximum>, rangeSetter<&ScrollFields::maximum>);
    addProperty(cls, "Value", T::kInteger, intGetter<&ScrollFields::value>, valueSetter);
    addProperty(cls, "LineStep", T::kInteger, intGetter<&ScrollFields::lineStep>, stepSetter<&ScrollFields::lineStep>);
    addProperty(cls, "PageStep", T::kInteger, intGetter<&ScrollFields::pageStep>, stepSetter<&ScrollFields::pageStep>);
    addProperty(cls, "LiveScroll", T::kBoolean, liveGetter, liveSetter);
}

}  // namespace

void defineScrollBars() {
    define("ScrollBar");
    define("Slider");
}

}  // namespace runtime::controls

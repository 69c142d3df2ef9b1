#include "ui/controls/ControlKind.h"

#include "text/CaseFold.h"
#include "ui/NativeWindow.h"

namespace runtime::controls {

void setCreatePaneHandler(ClassRecord* cls, void (*handler)(ObjectHandle)) {
    prependEventHandler(cls, "CreatePane", reinterpret_cast<CodeAddress>(handler), 0);
}

void storeString(StringHandle& field, StringHandle value) {
    StringHandle old = field;
    field = StringValue::borrow(value).release();
    StringValue::adopt(old);
}

StringHandle copyString(StringHandle field) { return StringValue::borrow(field).release(); }

void setCaption(ObjectHandle c, StringHandle& field, StringHandle caption) {
    storeString(field, caption);
    if (Pane* pane = controlFields(c).pane) {
        const std::wstring text = systemText(caption);
        HWND h = pane->handle();
        callSystem([&] { return SetWindowTextW(h, text.c_str()); });
    }
}

std::wstring systemText(StringHandle text) { return toSystemText(viewOf(text)); }

FontRequest fontRequestOf(ObjectHandle c) {
    const ControlFont& font = controlFont(c);
    FontRequest request;
    const std::string_view name = viewOf(font.textFont);
    request.name = name.empty() ? "System" : std::string(name);
    request.size = font.textSize > 0 ? font.textSize : 12;
    request.bold = font.bold != 0;
    request.italic = font.italic != 0;
    request.underline = font.underline != 0;
    return request;
}

CodeAddress findMethod(ObjectHandle object, std::string_view name) {
    for (const ClassRecord* c = object ? object->classRecord : nullptr; c; c = c->superclass) {
        for (const MethodRecord* m = c->methods; m; m = m->next) {
            if (foldedEquals(viewOf(m->name), name) && m->firstRoutine) return m->firstRoutine;
        }
    }
    return nullptr;
}

std::vector<Pane*> siblingsOnPanel(const Pane& pane) {
    std::vector<Pane*> siblings;
    if (!pane.window()) return siblings;
    for (Pane* p : pane.window()->panes()) {
        if (p != &pane && p->parentPane() == pane.parentPane() && p->panelKey() == pane.panelKey()) siblings.push_back(p);
    }
    return siblings;
}

}  // namespace runtime::controls

namespace runtime {

void defineControlClasses() {
    using namespace controls;
    defineRectControl();
    defineFontFamilies();
    definePushButton();
    defineCheckBox();
    defineRadioButton();
    defineStaticText();
    defineGroupBox();
    defineProgressBar();
    defineTabPanel();
    defineScrollBars();
    defineCanvas();
    defineShapes();
    defineLine();
}

}  // namespace runtime

#include "ui/controls/ControlKind.h"
#include "ui/controls/SimpleControlEntries.h"


namespace runtime::controls {
namespace {

struct GroupBoxFields {
    StringHandle caption;
};

GroupBoxFields& fields(ObjectHandle c) { return kindFields<GroupBoxFields>(c); }

class GroupBoxPane final : public Pane {
public:
    GroupBoxPane(ObjectHandle control, NativeWindow* window) : Pane(control, window) {
        if (!createChild(L"BUTTON", BS_GROUPBOX, systemText(fields(control).caption))) return;
        subclass();
        setFont(fontRequestOf(control));
        // Below the controls drawn inside it, whichever was made first.
        placeBelowContents();
    }

    bool takesFocus() const override { return false; }

    // The frame leaves its inside to the window: it is filled with the
    // colour behind the box, as the buttons in it are.
    LRESULT messageHook(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_ERASEBKGND) return callPreviousProcedure(message, wParam, lParam);
        RECT r;
        GetClientRect(handle(), &r);
        HBRUSH brush = CreateSolidBrush(colourBehind());
        FillRect(reinterpret_cast<HDC>(wParam), &r, brush);
        DeleteObject(brush);
        return 1;
    }
};

void createPane(ObjectHandle c) { createPaneOf<GroupBoxPane>(c); }

}  // namespace

void defineGroupBox() {
    ClassRecord* cls = builtinClass("GroupBox");
    cls->finaliser = finaliseTextControl<GroupBoxFields, &GroupBoxFields::caption>;
    setCreatePaneHandler(cls, createPane);
    addProperty(cls, "Caption", PropertyType::kString, groupCaptionGetter, groupCaptionSetter);
}

}  // namespace runtime::controls

using namespace runtime;
using namespace runtime::controls;

StringHandle groupCaptionGetter(ObjectHandle c) { return c ? copyString(fields(c).caption) : nullptr; }

void groupCaptionSetter(ObjectHandle c, StringHandle caption) {
    if (c) setCaption(c, fields(c).caption, caption);
}

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
        SetWindowPos(handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }

    bool takesFocus() const override { return false; }
};

void createPane(ObjectHandle c) { createPaneOf<GroupBoxPane>(c); }

}  // namespace

void defineGroupBox() {
    ClassRecord* cls = builtinClass("GroupBox");
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

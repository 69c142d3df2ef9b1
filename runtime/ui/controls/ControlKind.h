// What the kinds of control share: creating their panes from the CreatePane
// event, their property records, their text style and their events.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "objects/BuiltinClasses.h"
#include "objects/ClassRegistry.h"
#include "objects/ObjectRef.h"
#include "text/StringValue.h"
#include "text/SystemText.h"
#include "ui/ControlFields.h"
#include "ui/FontCache.h"
#include "ui/Pane.h"
#include "ui/WindowEvents.h"

namespace runtime::controls {

// The kind's own fields, after the control's data and its text style.
template <typename Fields>
Fields& kindFields(ObjectHandle c) {
    return *reinterpret_cast<Fields*>(reinterpret_cast<char*>(c) + kControlKindDataOffset);
}

// The pane of a control that has one of this kind (a subclass may have made
// another kind of pane in its own CreatePane).
template <typename PaneKind>
PaneKind* paneOf(ObjectHandle c) {
    return c ? dynamic_cast<PaneKind*>(controlFields(c).pane) : nullptr;
}

// Sets a stored caption and the live control's window text.
void setCaption(ObjectHandle c, StringHandle& field, StringHandle caption);

// The CreatePane handler of a kind: makes the pane unless the control has
// one or its window has no native window; a pane whose system window could
// not be made is dropped.
template <typename PaneKind>
void createPaneOf(ObjectHandle c) {
    if (!c) return;
    ControlFields& f = controlFields(c);
    if (f.pane || !f.parent) return;
    auto* pane = new PaneKind(c, f.parent);
    if (!pane->handle()) {
        delete pane;
        return;
    }
    f.pane = pane;
}

void addProperty(ClassRecord* cls, const char* name, PropertyType type, auto getter, auto setter) {
    prependProperty(cls, name, type, reinterpret_cast<CodeAddress>(getter), reinterpret_cast<CodeAddress>(setter));
}

void setCreatePaneHandler(ClassRecord* cls, void (*handler)(ObjectHandle));

// The finaliser of a kind that keeps one string of its own (its caption)
// and the text style: both strings go with the object.
template <typename Fields, StringHandle Fields::*Text>
void finaliseTextControl(ObjectHandle c, ClassRecord*) {
    StringValue::adopt(std::exchange(kindFields<Fields>(c).*Text, nullptr));
    StringValue::adopt(std::exchange(controlFont(c).textFont, nullptr));
}

// Stores a counted string, the new reference first.
void storeString(StringHandle& field, StringHandle value);
StringHandle copyString(StringHandle field);  // a reference for the caller
std::wstring systemText(StringHandle text);

// The text style of the control as a font request ("System" 12 by default).
FontRequest fontRequestOf(ObjectHandle c);

// Raises an event that the built-in class `declaringClass` declares.
template <typename... Args>
bool raise(ObjectHandle c, std::string_view declaringClass, std::string_view name, Args... args) {
    return deliverNamedEvent(c, declaringClass, name, args...);
}

// The first routine of the object's method `name` (its class chain), or null.
CodeAddress findMethod(ObjectHandle object, std::string_view name);

// The panes that share `pane`'s parent and panel key, in pane order.
std::vector<Pane*> siblingsOnPanel(const Pane& pane);

// The indeterminate display of a progress bar, or null when it shows none.
HWND progressOverlayHandle(ObjectHandle c);

// Defined by each kind.
void defineRectControl();
void definePushButton();
void defineCheckBox();
void defineRadioButton();
void defineStaticText();
void defineGroupBox();
void defineProgressBar();
void defineTabPanel();
void defineScrollBars();
void defineCanvas();
void defineShapes();
void defineLine();
void defineFontFamilies();

}  // namespace runtime::controls

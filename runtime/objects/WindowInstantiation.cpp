#include "objects/WindowInstantiation.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "objects/BuiltinClasses.h"
#include "objects/ClassRegistry.h"
#include "objects/EventDelivery.h"
#include "objects/PropertyText.h"
#include "objects/UnwindScope.h"
#include "objects/WindowContents.h"
#include "text/CaseFold.h"
#include "text/StringValue.h"
#include "ui/ControlFields.h"
#include "ui/NativeWindow.h"
#include "ui/Pane.h"
#include "ui/WindowEvents.h"
#include "ui/WindowFields.h"

namespace runtime {

WindowContents::~WindowContents() { releaseControls(); }

void WindowContents::releaseControls() {
    // Emptied first: a finaliser that looks at the window finds no control.
    ControlRegistry<ObjectHeader*> old = std::move(registry);
    registry = {};
    for (const auto& entry : old.entries()) {
        // A control that compiled code still holds outlives its window.
        if (entry.value && inheritsFrom(entry.value->classRecord, builtinClass("Control"))) {
            controlFields(entry.value).window = nullptr;
            controlFields(entry.value).parent = nullptr;
            controlFields(entry.value).container = nullptr;
        }
        unlockObject(entry.value);
    }
}

namespace {

bool isControl(ObjectHandle object) { return inheritsFrom(object->classRecord, builtinClass("Control")); }

// Every class index the layout names must be in the class table.
bool classesPresent(const WindowLayout& layout) {
    if (!classTableEntry(layout.windowClass)) return false;
    for (const LayoutControl& c : layout.controls) {
        if (!classTableEntry(c.classIndex)) return false;
    }
    for (const LayoutBinding& b : layout.bindings) {
        if (!classTableEntry(b.binderClass)) return false;
    }
    return true;
}

std::optional<WindowLayout> readLayout(const uint8_t* layout) {
    if (!layout) return std::nullopt;
    uint32_t length = 0;
    std::memcpy(&length, layout, 4);
    // Read from a copy of the L bytes, as the image's layout is never changed.
    const std::vector<uint8_t> working(layout + 4, layout + 4 + length);
    std::optional<WindowLayout> parsed = parseWindowLayout(working);
    if (parsed && !classesPresent(*parsed)) return std::nullopt;
    return parsed;
}

std::string_view propertyValue(const std::vector<PropertyText>& pairs, std::string_view name) {
    std::string_view value;
    for (const auto& [n, v] : pairs) {
        if (foldedEquals(n, name)) value = v;
    }
    return value;
}

void setUpControl(ObjectHandle control, ObjectHandle window) {
    ControlFields& f = controlFields(control);
    f.window = window;
    f.parent = windowFields(window).native;
    f.hasState = 1;
}

ObjectHandle containerFor(ObjectHandle control, const WindowContents& contents) {
    ClassRecord* canvas = builtinClass("Canvas");
    const Bounds inner = controlBounds(controlFields(control));
    ObjectHandle found = nullptr;
    for (const auto& entry : contents.registry.entries()) {
        ObjectHandle c = entry.value;
        if (c && inheritsFrom(c->classRecord, canvas) && controlBounds(controlFields(c)).contains(inner)) found = c;
    }
    return found;
}

// Registers `control` under `key`; the registry takes over the reference.
void registerControl(WindowContents& contents, const std::string& key, ObjectRef control) {
    if (ObjectHandle replaced = contents.registry.insert(key, control.release())) unlockObject(replaced);
}

void configurePane(ObjectHandle control) {
    ControlFields& f = controlFields(control);
    Pane* pane = f.pane;
    if (!pane) return;
    pane->setStateWord(f.stateWord);
    if (!f.visible) pane->setVisible(false);
    if (!f.enabled) pane->setEnabled(false);
    pane->setHelpTexts(f.balloonHelp, f.disabledBalloonHelp);
}

void createPane(ObjectHandle control) {
    deliverNamedEvent(control, "Control", "CreatePane");
    configurePane(control);
}

NativeWindowParams nativeParams(ObjectHandle window) {
    WindowFields& w = windowFields(window);
    const FrameKind frame = frameKind(w.frame);
    applyPlacement(w.bounds, w.placement ? w.placement : frame.defaultPlacement, GetSystemMetrics(SM_CXSCREEN),
                   GetSystemMetrics(SM_CYSCREEN));
    w.initialBounds = w.bounds;
    NativeWindowParams params;
    params.kind = frame.kind;
    params.bounds = w.bounds;
    params.title = std::string(viewOf(w.title));
    params.growIcon = w.growIcon;
    params.closeBox = w.closeBox;
    params.zoomIcon = w.zoomIcon;
    params.visible = w.visible;
    params.hasBackColor = w.hasBackColor;
    params.backColor = RGB((w.backColor >> 16) & 0xFF, (w.backColor >> 8) & 0xFF, w.backColor & 0xFF);
    return params;
}

void readControls(ObjectHandle window, const WindowLayout& layout, WindowContents& contents) {
    for (const LayoutControl& entry : layout.controls) {
        ClassRecord* cls = classTableEntry(entry.classIndex);
        const Unwindable<ObjectRef> control(ObjectRef::adopt(newObject(cls)));
        const bool visual = isControl(control->get());
        if (visual) setUpControl(control->get(), window);
        int32_t index = kNoIndex;
        const std::string_view indexText = propertyValue(entry.properties, "Index");
        if (!indexText.empty()) index = integerFromText(indexText);
        const std::string name(propertyValue(entry.properties, "Name"));
        for (const auto& [n, v] : entry.properties) applyPropertyText(control->get(), n, v);
        const bool known = std::any_of(contents.descriptors.begin(), contents.descriptors.end(),
                                       [&](const ControlDescriptor& d) { return foldedEquals(d.name, name); });
        if (!known) contents.descriptors.insert(contents.descriptors.begin(), {name, index, cls, entry.properties});
        if (visual) {
            controlFields(control->get()).container = containerFor(control->get(), contents);
            controlFields(control->get()).index = index;
        }
        registerControl(contents, registryKey(name, index), ObjectRef(*control));
    }
}

// A part of a control for a binding: the control itself, or what its
// getBoundPart method gives for the part text and name.
ObjectRef boundPart(ObjectHandle control, const std::string& partText, const std::string& partName) {
    if (partText.empty()) return ObjectRef::borrow(control);
    for (const ClassRecord* c = control->classRecord; c; c = c->superclass) {
        for (const MethodRecord* m = c->methods; m; m = m->next) {
            if (foldedEquals(viewOf(m->name), "getBoundPart") && m->firstRoutine) {
                using GetPart = ObjectHandle (*)(ObjectHandle, StringHandle, StringHandle);
                const Unwindable<StringValue> text(StringValue::fromBytes(partText));
                const Unwindable<StringValue> name(StringValue::fromBytes(partName));
                return ObjectRef::adopt(reinterpret_cast<GetPart>(m->firstRoutine)(control, text->get(), name->get()));
            }
        }
    }
    return {};
}

// The binder's "bind": the routine its class implements for an interface
// that declares a method of that name (the binding interface), or null when
// the binder implements none.
CodeAddress bindMethod(ObjectHandle binder) {
    for (const ClassRecord* c = binder->classRecord; c; c = c->superclass) {
        for (const InterfaceRecord* i = c->interfaces; i; i = i->next) {
            if (!i->interfaceClass || !i->dispatchTable) continue;
            for (const MethodRecord* m = i->interfaceClass->methods; m; m = m->next) {
                const int32_t slot = m->interfaceOrdinal;
                if (foldedEquals(viewOf(m->name), "bind") && slot >= 1 && slot < i->tableSize) {
                    return i->dispatchTable[slot];
                }
            }
        }
    }
    return nullptr;
}

void readBindings(const WindowLayout& layout, const WindowContents& contents) {
    const auto& entries = contents.registry.entries();
    for (const LayoutBinding& b : layout.bindings) {
        if (b.sourceControl < 0 || b.targetControl < 0 || static_cast<size_t>(b.sourceControl) >= entries.size() ||
            static_cast<size_t>(b.targetControl) >= entries.size()) {
            continue;
        }
        const Unwindable<ObjectRef> source(boundPart(entries[b.sourceControl].value, b.sourcePartText, b.sourcePart));
        const Unwindable<ObjectRef> target(boundPart(entries[b.targetControl].value, b.targetPartText, b.targetPart));
        if (!*source || !*target) continue;
        const Unwindable<ObjectRef> binder(ObjectRef::adopt(newObject(classTableEntry(b.binderClass))));
        if (CodeAddress bind = bindMethod(binder->get())) {
            using Bind = void (*)(ObjectHandle, ObjectHandle, ObjectHandle);
            reinterpret_cast<Bind>(bind)(binder->get(), source->get(), target->get());
        }
    }
}

std::vector<ObjectRef> registeredControls(const WindowContents& contents) {
    std::vector<ObjectRef> controls;
    for (const auto& entry : contents.registry.entries()) {
        if (entry.value && isControl(entry.value)) controls.push_back(ObjectRef::borrow(entry.value));
    }
    return controls;
}

ObjectHandle createWindow(const uint8_t* layoutBytes, ObjectHandle* implicitInstance) {
    const Unwindable<std::optional<WindowLayout>> layout(readLayout(layoutBytes));
    if (!*layout) return nullptr;
    const WindowLayout& l = **layout;
    Unwindable<ObjectRef> window(ObjectRef::adopt(newObject(classTableEntry(l.windowClass))));
    ObjectHandle w = window->get();
    if (implicitInstance) *implicitInstance = w;
    // A failed step leaves no implicit instance that points at a freed window.
    auto forget = [&] {
        if (implicitInstance && *implicitInstance == w) *implicitInstance = nullptr;
    };
    for (const auto& [name, value] : l.properties) applyPropertyText(w, name, value);

    auto* native = new NativeWindow(w, nativeParams(w));
    if (!native->handle()) {
        delete native;
        forget();
        return nullptr;
    }
    native->markRuntimeView();
    windowFields(w).native = native;
    windowFields(w).contents = new WindowContents;
    WindowContents& contents = *windowFields(w).contents;

    readControls(w, l, contents);
    {
        const Unwindable<std::vector<ObjectRef>> controls(registeredControls(contents));
        for (const ObjectRef& c : *controls) createPane(c.get());
        if (NativeWindow* n = windowFields(w).native) n->setBalloonHelp(std::string(viewOf(windowFields(w).balloonHelp)));
        readBindings(l, contents);
        for (const ObjectRef& c : *controls) deliverNamedEvent(c.get(), "Control", "Open");
    }
    if (NativeWindow* n = windowFields(w).native) InvalidateRect(n->handle(), nullptr, TRUE);
    deliverWindowEvent(w, "Open");
    if (!windowFields(w).native) {
        // Closed during its own Open.
        forget();
        return nullptr;
    }
    return window->release();
}

}  // namespace
}  // namespace runtime

using namespace runtime;

ObjectHandle RuntimeCreateWindow(const uint8_t* layout, ObjectHandle* implicitInstance) {
    return createWindow(layout, implicitInstance);
}

ObjectHandle RuntimeControlFetch(ObjectHandle window, StringHandle name) {
    if (!window || !windowFields(window).contents) return nullptr;
    return windowFields(window).contents->registry.find(viewOf(name));
}

ObjectHandle RuntimeControlReference(ObjectHandle window, StringHandle name) {
    return ObjectRef::borrow(RuntimeControlFetch(window, name)).release();
}

ObjectHandle RuntimeControlArrayItemReference(ObjectHandle window, StringHandle name, int32_t index) {
    if (!window || !windowFields(window).contents) return nullptr;
    const std::string key = registryKey(viewOf(name), index);
    return ObjectRef::borrow(windowFields(window).contents->registry.find(key)).release();
}

ObjectHandle RuntimeCloneControlReference(ObjectHandle window, StringHandle name) {
    // A closed window has no native window to put a new control on.
    if (!window || !windowFields(window).contents || !windowFields(window).native) return nullptr;
    WindowContents& contents = *windowFields(window).contents;
    const ControlDescriptor* descriptor = nullptr;
    for (const ControlDescriptor& d : contents.descriptors) {
        if (foldedEquals(d.name, viewOf(name))) descriptor = &d;
    }
    if (!descriptor) return nullptr;
    const ObjectHandle templateControl = contents.registry.find(registryKey(descriptor->name, descriptor->index));
    const Unwindable<ControlDescriptor> recorded(*descriptor);
    const Unwindable<ObjectRef> clone(ObjectRef::adopt(newObject(recorded->controlClass)));
    ObjectHandle c = clone->get();
    const bool visual = isControl(c);
    std::string key;
    int32_t index = kNoIndex;
    if (recorded->index == kNoIndex) {
        key = recorded->name + "*0";
    } else {
        for (index = 0; contents.registry.contains(registryKey(recorded->name, index)); ++index) {}
        key = registryKey(recorded->name, index);
    }
    if (visual) {
        setUpControl(c, window);
        controlFields(c).isClone = 1;
        controlFields(c).container = templateControl && isControl(templateControl) ? controlFields(templateControl).container : nullptr;
        controlFields(c).index = index;
    }
    registerControl(contents, key, ObjectRef(*clone));
    for (const auto& [n, v] : recorded->properties) applyPropertyText(c, n, v);
    if (visual) {
        controlFields(c).index = index;  // the recorded "Index" is not used
        createPane(c);
        deliverNamedEvent(c, "Control", "Open");
    }
    return ObjectRef(*clone).release();
}

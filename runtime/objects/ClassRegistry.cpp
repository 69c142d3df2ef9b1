#include "objects/ClassRegistry.h"

#include <vector>

#include "text/CaseFold.h"
#include "text/StringValue.h"

namespace runtime {
namespace {

// Process-wide: classes live until the process ends.
ClassRecord* gClasses = nullptr;
std::vector<ClassRecord*> gBuiltinClasses;
std::vector<ClassRecord*> gClassTable;
ClassFinder gControlClassFinder = nullptr;
ClassFinder gPluginClassFinder = nullptr;

// A string value owned by a record that lives as long as the process.
StringHandle keptString(std::string_view text) { return StringValue::fromBytes(text).release(); }

std::string_view nameOf(const ClassRecord* cls) { return viewOf(cls->name); }

}  // namespace

ClassRecord* createClass(std::string_view name, ClassRecord* superclass) {
    auto* cls = new ClassRecord{};
    cls->kind = kClassRecordKind;
    cls->superclass = superclass;
    cls->name = keptString(name);
    cls->instanceSize = 24;
    cls->perClassSlot = -1;
    cls->nextClass = gClasses;
    gClasses = cls;
    return cls;
}

ClassRecord* firstClass() { return gClasses; }

void registerBuiltinClass(ClassRecord* cls) { gBuiltinClasses.push_back(cls); }

ClassRecord* findBuiltinClass(std::string_view name) {
    for (ClassRecord* cls : gBuiltinClasses) {
        if (foldedEquals(nameOf(cls), name)) return cls;
    }
    return nullptr;
}

void setPluginClassFinders(ClassFinder controlClasses, ClassFinder pluginClasses) {
    gControlClassFinder = controlClasses;
    gPluginClassFinder = pluginClasses;
}

ClassRecord* findPluginControlClass(std::string_view name) {
    return gControlClassFinder ? gControlClassFinder(name) : nullptr;
}

ClassRecord* findPluginClass(std::string_view name) { return gPluginClassFinder ? gPluginClassFinder(name) : nullptr; }

bool inheritsFrom(const ClassRecord* cls, const ClassRecord* ancestor) {
    for (; cls; cls = cls->superclass) {
        if (cls == ancestor) return true;
    }
    return false;
}

void resetClassTable(int32_t count) { gClassTable.assign(static_cast<size_t>(count > 0 ? count : 0), nullptr); }

void setClassTableEntry(int32_t index, ClassRecord* cls) {
    if (index >= 0 && static_cast<size_t>(index) < gClassTable.size()) gClassTable[static_cast<size_t>(index)] = cls;
}

ClassRecord* classTableEntry(int32_t index) {
    if (index < 0 || static_cast<size_t>(index) >= gClassTable.size()) return nullptr;
    return gClassTable[static_cast<size_t>(index)];
}

std::span<ClassRecord* const> classTable() { return gClassTable; }

void appendMethod(ClassRecord* cls, std::string_view name, CodeAddress firstRoutine) {
    auto* method = new MethodRecord{};
    method->name = keptString(name);
    method->firstRoutine = firstRoutine;
    MethodRecord** tail = &cls->methods;
    while (*tail) tail = &(*tail)->next;
    *tail = method;
}

void prependEventHandler(ClassRecord* cls, std::string_view name, CodeAddress code, int32_t hookCode) {
    cls->eventHandlers = new EventHandlerRecord{cls->eventHandlers, keptString(name), hookCode, code};
}

void prependMenuHandler(ClassRecord* cls, std::string_view menuItemName, CodeAddress code) {
    cls->menuHandlers = new MenuHandlerRecord{cls->menuHandlers, keptString(menuItemName), code};
}

void prependInterface(ClassRecord* cls, ClassRecord* interfaceClass) {
    cls->interfaces = new InterfaceRecord{cls->interfaces, interfaceClass, nullptr, 0};
}

void prependProperty(ClassRecord* cls, std::string_view name, PropertyType type, CodeAddress getter,
                     CodeAddress setter) {
    cls->properties = new PropertyRecord{cls->properties, keptString(name), type, getter, setter};
}

const PropertyRecord* findProperty(const ClassRecord* cls, std::string_view name) {
    for (; cls; cls = cls->superclass) {
        for (const PropertyRecord* p = cls->properties; p; p = p->next) {
            if (foldedEquals(viewOf(p->name), name)) return p;
        }
    }
    return nullptr;
}

void declareEvent(ClassRecord* cls, EventDescriptor* descriptor) {
    // Declaration order is kept: the lookup walks the declared events in order.
    auto* record = new DeclaredEventRecord{nullptr, descriptor};
    DeclaredEventRecord** tail = &cls->declaredEvents;
    while (*tail) tail = &(*tail)->next;
    *tail = record;
}

EventDescriptor* newEventDescriptor(std::string_view name, std::string_view parameters, std::string_view result) {
    return new EventDescriptor{keptString(name), keptString(parameters), keptString(result)};
}

EventDescriptor* declaredEvent(const ClassRecord* cls, std::string_view name) {
    for (const DeclaredEventRecord* d = cls->declaredEvents; d; d = d->next) {
        if (foldedEquals(viewOf(d->descriptor->name), name)) return d->descriptor;
    }
    return nullptr;
}

}  // namespace runtime

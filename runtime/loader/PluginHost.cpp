#include "loader/PluginHost.h"

#include <string>

#include "loader/PluginDeclaration.h"
#include "loader/PluginPaneHooks.h"
#include "loader/PluginPane.h"
#include "loader/PluginProperties.h"
#include "objects/ClassRegistry.h"
#include "text/CaseFold.h"
#include "text/StringValue.h"

namespace runtime::plugins {
namespace {

// Process-wide: plug-ins and what they registered live until the process ends.
PluginRecord* gPlugins = nullptr;
PluginRecord* gCurrent = nullptr;  // set only while a plug-in's main runs
GlobalMethod* gGlobalMethods = nullptr;
PluginControlClass* gControlClasses = nullptr;
PluginClass* gPlainClasses = nullptr;
PluginPaneHooks gPaneHooks{createPluginPane, destroyPluginPane, redrawPluginPane};

using InstanceRoutine = void(RUNTIME_CALL*)(ObjectHandle instance);

StringHandle keptString(std::string_view text) { return StringValue::fromBytes(text).release(); }
std::string_view nameOf(const ClassRecord* cls) { return viewOf(cls->name); }

bool supportsClasses(const PluginRecord* plugin) { return plugin && (plugin->version == 3 || plugin->version == 4); }

void* exportedRoutine(const PluginRecord* plugin, int32_t index) {
    if (!plugin || !plugin->exports || index < 0) return nullptr;
    return plugin->exports[index];
}

bool isClassName(std::string_view name) { return findAnyClass(name) != nullptr; }

void callInstanceRoutine(void* routine, ObjectHandle instance) {
    if (routine) reinterpret_cast<InstanceRoutine>(routine)(instance);
}

// Members built from definitions go to the front of their lists.
void addMethod(ClassRecord* cls, const PluginMethodDefinition& definition) {
    if (!definition.declaration) return;
    const DeclarationResult parsed = parseDeclaration(definition.declaration, isClassName);
    if (!parsed.ok) return;  // rejected: the member is not registered
    auto* method = new MethodRecord{};
    method->name = keptString(parsed.declaration.name);
    method->declaration = keptString(definition.declaration);
    method->firstRoutine = definition.routine;
    method->secondRoutine = definition.assignRoutine;
    method->parameters = keptString(parsed.declaration.parameterText());
    method->next = cls->methods;
    cls->methods = method;
}

void addEvent(ClassRecord* cls, PluginEventDefinition& definition) {
    if (!definition.declaration) return;
    const DeclarationResult parsed = parseDeclaration(definition.declaration, isClassName);
    if (!parsed.ok) return;
    const Declaration& d = parsed.declaration;
    EventDescriptor* descriptor = newEventDescriptor(d.name, d.parameterText(), d.resultType);
    cls->declaredEvents = new DeclaredEventRecord{cls->declaredEvents, descriptor};
    definition.handle = descriptor;
}

void addInterfaces(ClassRecord* cls, const char* list) {
    if (!list) return;
    std::string_view rest(list);
    while (!rest.empty()) {
        const size_t comma = rest.find(',');
        std::string_view name = rest.substr(0, comma);
        while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
        while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
        ClassRecord* iface = findAnyClass(name);
        if (iface && iface->isInterface) prependInterface(cls, iface);
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
}

struct MemberTables {
    PluginPropertyDefinition* properties;
    int32_t propertyCount;
    PluginMethodDefinition* methods;
    int32_t methodCount;
    PluginEventDefinition* events;
    int32_t eventCount;
};

void addMembers(ClassRecord* cls, const MemberTables& t, int32_t dataOffset, bool redrawing) {
    for (int32_t i = 0; t.properties && i < t.propertyCount; ++i) {
        addPluginProperty(cls, t.properties[i], dataOffset, redrawing);
    }
    for (int32_t i = 0; t.methods && i < t.methodCount; ++i) addMethod(cls, t.methods[i]);
    for (int32_t i = 0; t.events && i < t.eventCount; ++i) addEvent(cls, t.events[i]);
}

void addExtraRoutines(ClassRecord* cls, const PluginRecord* plugin, const PluginExtraRoutine* extras, int32_t count) {
    for (int32_t i = 0; extras && i < count; ++i) {
        if (extras[i].name) prependEventHandler(cls, extras[i].name, exportedRoutine(plugin, extras[i].exportIndex), 0);
    }
}

PluginControlClass* controlClassOf(const ClassRecord* record) {
    for (PluginControlClass* c = gControlClasses; c; c = c->next) {
        if (c->record == record) return c;
    }
    return nullptr;
}

PluginClass* plainClassOf(const ClassRecord* record) {
    for (PluginClass* c = gPlainClasses; c; c = c->next) {
        if (c->record == record) return c;
    }
    return nullptr;
}

void* behaviourSlot(const PluginControlClass* c, int32_t slot) { return c->behaviour ? c->behaviour[slot] : nullptr; }

void initialiseControl(ObjectHandle object, ClassRecord* owner) {
    PluginControlClass* c = controlClassOf(owner);
    if (!c) return;
    *reinterpret_cast<PluginControlClass**>(reinterpret_cast<char*>(object) + kControlClassWordOffset) = c;
    callInstanceRoutine(behaviourSlot(c, kBehaviourConstruct), object);
}

void finaliseControl(ObjectHandle object, ClassRecord* owner) {
    PluginControlClass* c = controlClassOf(owner);
    if (!c) return;
    if (gPaneHooks.destroyPane) gPaneHooks.destroyPane(object);
    callInstanceRoutine(behaviourSlot(c, kBehaviourDestroy), object);
}

// The CreatePane handler of every plug-in control class.
RUNTIME_CALL void createControlPane(ObjectHandle instance) {
    if (!instance || !gPaneHooks.createPane) return;
    const auto* c = *reinterpret_cast<PluginControlClass**>(reinterpret_cast<char*>(instance) + kControlClassWordOffset);
    if (c) gPaneHooks.createPane(instance, c);
}

void initialisePlainClass(ObjectHandle object, ClassRecord* owner) {
    if (PluginClass* c = plainClassOf(owner)) callInstanceRoutine(c->initialiser, object);
}

void finalisePlainClass(ObjectHandle object, ClassRecord* owner) {
    if (PluginClass* c = plainClassOf(owner)) callInstanceRoutine(c->finaliser, object);
}

void registerControlDefinition(PluginControlDefinition* definition, PluginRecord* plugin) {
    if (!definition->className) return;
    ClassRecord* cls = createClass(definition->className, findBuiltinClass("RectControl"));
    cls->instanceSize = definition->dataSize + kControlDataOffset;
    cls->initialiser = initialiseControl;
    cls->finaliser = finaliseControl;
    auto* control = new PluginControlClass{cls, definition, definition->behaviour, plugin, nullptr};
    prependEventHandler(cls, "CreatePane", reinterpret_cast<CodeAddress>(&createControlPane), 0);
    definition->dataOffset = kControlDataOffset;
    addMembers(cls,
               {definition->properties, definition->propertyCount, definition->methods, definition->methodCount,
                definition->events, definition->eventCount},
               kControlDataOffset, true);
    if (definition->layout == 4) {
        addExtraRoutines(cls, plugin, definition->extraRoutines, definition->extraRoutineCount);
        addInterfaces(cls, definition->interfaces);
    }
    control->next = gControlClasses;
    gControlClasses = control;
}

// Layout 1: five-word property entries (direct access) and export-index
// methods, converted into a layout 4 definition that lives as long as the
// process.
void registerOlderControl(PluginControlDefinitionV1* older, PluginRecord* plugin) {
    auto* converted = new PluginControlDefinition{};
    converted->layout = 4;
    converted->className = older->className;
    converted->dataSize = older->dataSize;
    converted->flags = older->flags;
    converted->designNumbers[0] = older->designNumbers[0];
    converted->designNumbers[1] = older->designNumbers[1];
    converted->defaultWidth = 100;
    converted->defaultHeight = 100;
    const int32_t propertyCount = older->properties && older->propertyCount > 0 ? older->propertyCount : 0;
    converted->properties = new PluginPropertyDefinition[static_cast<size_t>(propertyCount)]{};
    converted->propertyCount = propertyCount;
    for (int32_t i = 0; i < propertyCount; ++i) {
        const PluginPropertyEntryV1& e = older->properties[i];
        void* direct = reinterpret_cast<void*>(kPropertyDirect);
        converted->properties[i] = {e.group, e.name, e.type, e.flags, direct, direct, e.offset, 0, 0, nullptr};
    }
    const int32_t methodCount = older->methods && older->methodCount > 0 ? older->methodCount : 0;
    converted->methods = new PluginMethodDefinition[static_cast<size_t>(methodCount)]{};
    converted->methodCount = methodCount;
    for (int32_t i = 0; i < methodCount; ++i) {
        converted->methods[i] = {exportedRoutine(plugin, older->methods[i].exportIndex), nullptr,
                                 older->methods[i].declaration};
    }
    converted->events = older->events;
    converted->eventCount = older->eventCount;
    converted->behaviour = older->behaviour;
    registerControlDefinition(converted, plugin);
    older->dataOffset = converted->dataOffset;
}

// A subclass's private data starts at its superclass's instance size, which
// is known only once that superclass is complete: a plug-in superclass is
// completed first. A class that reaches itself through its superclass names
// (directly or in a cycle) gets no superclass there, so no class chain loops.
void completeClass(PluginClass* c) {
    if (c->completion != PluginClass::Completion::Pending) return;
    c->completion = PluginClass::Completion::Running;
    PluginClassDefinition* d = c->definition;
    ClassRecord* cls = c->record;
    ClassRecord* super = d->superclassName ? findAnyClass(d->superclassName) : nullptr;
    if (PluginClass* pluginSuper = super ? plainClassOf(super) : nullptr) {
        completeClass(pluginSuper);
        if (pluginSuper->completion != PluginClass::Completion::Done) super = nullptr;
    }
    const int32_t offset = super ? super->instanceSize : kPlainClassDataOffset;
    cls->superclass = super;
    cls->instanceSize = offset + d->dataSize;
    d->dataOffset = offset;
    addMembers(cls, {d->properties, d->propertyCount, d->methods, d->methodCount, d->events, d->eventCount}, offset,
               false);
    addExtraRoutines(cls, c->plugin, d->extraRoutines, d->extraRoutineCount);
    addInterfaces(cls, d->interfaces);
    c->completion = PluginClass::Completion::Done;
}

const MethodRecord* methodDeclared(const ClassRecord* cls, std::string_view declaration) {
    for (const MethodRecord* m = cls->methods; m; m = m->next) {
        if (m->declaration && foldedEquals(viewOf(m->declaration), declaration)) return m;
    }
    return nullptr;
}

const PropertyRecord* propertyNamed(const ClassRecord* cls, std::string_view name) {
    for (const PropertyRecord* p = cls->properties; p; p = p->next) {
        if (foldedEquals(viewOf(p->name), name)) return p;
    }
    return nullptr;
}

}  // namespace

void setPluginPaneHooks(const PluginPaneHooks& hooks) { gPaneHooks = hooks; }

const PluginControlClass* pluginControlClassOf(ObjectHandle instance) {
    if (!instance) return nullptr;
    for (const ClassRecord* cls = instance->classRecord; cls; cls = cls->superclass) {
        if (const PluginControlClass* c = controlClassOf(cls)) return c;
    }
    return nullptr;
}
const PluginPaneHooks& pluginPaneHooks() { return gPaneHooks; }

void runPluginMain(PluginMainRoutine main, PluginResolver resolver) {
    auto* plugin = new PluginRecord{};
    plugin->next = gPlugins;
    gPlugins = plugin;
    gCurrent = plugin;
    main(resolver);
    gCurrent = nullptr;
}

void registerPluginVersion(int32_t version) {
    if (gCurrent) gCurrent->version = version;
}

void registerPluginExports(const PluginExports* exports) {
    if (gCurrent && exports) gCurrent->exports = exports->routines;
}

void registerMethod(const void* definition) {
    if (!gCurrent || !definition) return;
    const PluginMethodDefinition* method = nullptr;
    if (gCurrent->version == 1) {
        const auto* older = static_cast<const PluginMethodDefinitionV1*>(definition);
        method = new PluginMethodDefinition{exportedRoutine(gCurrent, older->exportIndex), nullptr, older->declaration};
    } else if (gCurrent->version == 3 || gCurrent->version == 4) {
        method = static_cast<const PluginMethodDefinition*>(definition);
    } else {
        return;
    }
    gGlobalMethods = new GlobalMethod{method, gCurrent, gGlobalMethods};
}

void registerControl(void* definition) {
    if (!gCurrent || !definition) return;
    const int32_t layout = *static_cast<const int32_t*>(definition);
    if (layout == 1) {
        registerOlderControl(static_cast<PluginControlDefinitionV1*>(definition), gCurrent);
    } else if (layout == 3 || layout == 4) {
        registerControlDefinition(static_cast<PluginControlDefinition*>(definition), gCurrent);
    }
}

void registerClass(PluginClassDefinition* definition) {
    if (!supportsClasses(gCurrent) || !definition || !definition->className) return;
    if (findAnyClass(definition->className)) return;
    ClassRecord* cls = createClass(definition->className);
    cls->initialiser = initialisePlainClass;
    cls->finaliser = finalisePlainClass;
    gPlainClasses =
        new PluginClass{cls, definition, gCurrent, definition->initialiser, definition->finaliser, gPlainClasses};
}

void registerClassExtension(PluginClassDefinition* definition) {
    if (!supportsClasses(gCurrent) || !definition || !definition->className) return;
    ClassRecord* cls = findAnyClass(definition->className);
    if (!cls) return;
    addMembers(cls,
               {definition->properties, definition->propertyCount, definition->methods, definition->methodCount,
                definition->events, definition->eventCount},
               kPlainClassDataOffset, false);
}

void completePluginClasses() {
    for (PluginClass* c = gPlainClasses; c; c = c->next) completeClass(c);
}

ClassRecord* findControlClass(std::string_view name) {
    for (PluginControlClass* c = gControlClasses; c; c = c->next) {
        if (foldedEquals(nameOf(c->record), name)) return c->record;
    }
    return nullptr;
}

ClassRecord* findPlainClass(std::string_view name) {
    for (PluginClass* c = gPlainClasses; c; c = c->next) {
        if (foldedEquals(nameOf(c->record), name)) return c->record;
    }
    return nullptr;
}

ClassRecord* findAnyClass(std::string_view name) {
    if (ClassRecord* cls = findBuiltinClass(name)) return cls;
    if (ClassRecord* cls = findControlClass(name)) return cls;
    return findPlainClass(name);
}

void* resolvePluginMember(std::string_view memberText) {
    if (memberText.empty()) return nullptr;
    const char kind = memberText.front();
    std::string_view rest = memberText.substr(1);
    std::string_view className;
    const size_t bang = rest.find('!');
    if (bang != std::string_view::npos) {
        className = rest.substr(0, bang);
        rest = rest.substr(bang + 1);
    }
    // Members name their class in this order: built-in, plug-in class, plug-in control.
    ClassRecord* cls = nullptr;
    if (!className.empty()) {
        cls = findBuiltinClass(className);
        if (!cls) cls = findPlainClass(className);
        if (!cls) cls = findControlClass(className);
    }
    if (kind == 'M' || kind == 'W') {
        if (cls) {
            const MethodRecord* m = methodDeclared(cls, rest);
            return m ? (kind == 'M' ? m->firstRoutine : m->secondRoutine) : nullptr;
        }
        for (const GlobalMethod* g = gGlobalMethods; g; g = g->next) {
            const char* declaration = g->definition->declaration;
            if (declaration && foldedEquals(declaration, rest)) {
                return kind == 'M' ? g->definition->routine : g->definition->assignRoutine;
            }
        }
        return nullptr;
    }
    if ((kind == 'G' || kind == 'S') && cls) {
        const PropertyRecord* p = propertyNamed(cls, rest);
        return p ? (kind == 'G' ? p->getter : p->setter) : nullptr;
    }
    return nullptr;
}

const PluginRecord* firstPlugin() { return gPlugins; }
const GlobalMethod* firstGlobalMethod() { return gGlobalMethods; }
const PluginControlClass* firstControlClass() { return gControlClasses; }
const PluginClass* firstPlainClass() { return gPlainClasses; }

void definePluginInterfaces() {
    if (!findBuiltinClass("actionNotificationReceiver")) {
        ClassRecord* receiver = createClass("actionNotificationReceiver");
        receiver->isInterface = 1;
        appendMethod(receiver, "PerformAction", nullptr);
        registerBuiltinClass(receiver);
    }
    if (!findBuiltinClass("ActionSource")) {
        ClassRecord* source = createClass("ActionSource");
        source->isInterface = 1;
        registerBuiltinClass(source);
    }
}

}  // namespace runtime::plugins

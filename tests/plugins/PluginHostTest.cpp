// The plug-in host with small plug-ins of the tests' own: their main routines
// find the registration routines through the resolver, as a real plug-in's
// glue does, and register records that the tests then look at through the
// host's lookups, the deferred-member resolution and new instances.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "glue/PluginGlue.h"
#include "loader/PluginEntries.h"
#include "loader/PluginHost.h"
#include "loader/PluginInstaller.h"
#include "loader/PluginPaneHooks.h"
#include "objects/BuiltinClasses.h"
#include "objects/ClassRegistry.h"
#include "objects/EventLookup.h"
#include "objects/ObjectLifetime.h"
#include "objects/ObjectEntries.h"
#include "objects/RuntimeStartup.h"
#include "text/StringEntries.h"
#include "text/StringValue.h"

namespace {

using namespace runtime;
using namespace runtime::plugins;

std::map<std::string, int> gAsked;

RUNTIME_CALL void* countingResolver(const char* name) {
    ++gAsked[name];
    return resolveRuntimeName(name);
}

// The plug-in side: glue routines of this test's plug-ins.
glue::GlueRoutine<void, int32_t> RegisterPluginVersionGlue{"RegisterPluginVersion"};
glue::GlueRoutine<void, const void*> PluginRegisterMethodGlue{"PluginRegisterMethod"};
glue::GlueRoutine<void, void*> PluginRegisterControlGlue{"PluginRegisterControl"};
glue::GlueRoutine<void, void*> PluginRegisterClassGlue{"PluginRegisterClass"};
glue::GlueRoutine<void, void*> PluginRegisterClassExtensionGlue{"PluginRegisterClassExtension"};
glue::GlueRoutine<void, const void*> RegisterPluginExportsGlue{"RegisterPluginExports"};

RUNTIME_CALL int32_t twice(int32_t x) { return 2 * x; }
RUNTIME_CALL void addRow(ObjectHandle, StringHandle) {}

// Version 1: never announces a version; methods by export index.
void* const gV1Routines[] = {reinterpret_cast<void*>(&twice)};
const PluginExports gV1Exports{gV1Routines};
PluginMethodDefinitionV1 gV1Method{0, "v1_Twice(x As Integer) As Integer"};
PluginClassDefinition gV1Class{0, "V1Class", nullptr, 4};
int32_t gLayoutTwo[19] = {2, 0};

RUNTIME_CALL void versionOneMain(PluginResolver resolver) {
    glue::setResolver(resolver);
    RegisterPluginExportsGlue(&gV1Exports);
    PluginRegisterMethodGlue(&gV1Method);
    PluginRegisterClassGlue(&gV1Class);
    const char* name = "LayoutTwoControl";
    gLayoutTwo[1] = static_cast<int32_t>(reinterpret_cast<uintptr_t>(name));
    PluginRegisterControlGlue(gLayoutTwo);
}

// Version 4: a control with every kind of property access, methods, an event,
// behaviour routines, an interface; a plain class, a duplicate, an extension.
std::vector<std::string> gBehaviourCalls;
RUNTIME_CALL void construct(ObjectHandle) { gBehaviourCalls.push_back("construct"); }
RUNTIME_CALL void destroy(ObjectHandle) { gBehaviourCalls.push_back("destroy"); }
int32_t gRoutineParameter = 0;
RUNTIME_CALL int32_t routineGetter(ObjectHandle, int32_t parameter) {
    gRoutineParameter = parameter;
    return 77;
}
RUNTIME_CALL void routineSetter(ObjectHandle instance, int32_t parameter, int32_t value) {
    gRoutineParameter = parameter;
    *reinterpret_cast<int32_t*>(reinterpret_cast<char*>(instance) + kControlDataOffset + 12) = value + 1000;
}

void* const kDirect = reinterpret_cast<void*>(kPropertyDirect);
PluginPropertyDefinition gProperties[] = {
    {"Appearance", "Caption", "string", 0, kDirect, kDirect, 0, 0, 0, nullptr},
    {"Appearance", "Count", "Integer", kPropertyRedrawFlag, kDirect, kDirect, 4, 0, 0, nullptr},
    {"Appearance", "Flag", "boolean", 0, kDirect, kDirect, 8, 0, 0, nullptr},
    {"Appearance", "Routed", "Integer", 0, reinterpret_cast<void*>(&routineGetter),
     reinterpret_cast<void*>(&routineSetter), 5, 0, 0, nullptr},
    {"Appearance", "Icon", "Picture", 0, kDirect, kDirect, 16, 0, 0, nullptr},
    {"Appearance", "Mystery", "NoSuchClass", 0, kDirect, kDirect, 20, 0, 0, nullptr},
};
PluginMethodDefinition gMethods[] = {
    {reinterpret_cast<void*>(&addRow), nullptr, "AddRow(text As String)"},
    {reinterpret_cast<void*>(&twice), reinterpret_cast<void*>(&addRow), "List(row As Integer) As String"},
    {reinterpret_cast<void*>(&twice), nullptr, "Broken(row As Integer"},
    {reinterpret_cast<void*>(&twice), nullptr, "Odd(row As NoSuchType)"},
    {reinterpret_cast<void*>(&twice), nullptr, "Odder As NoSuchType"},
};
PluginEventDefinition gEvents[] = {{"Action", nullptr}, {"Pick(row As Integer) As Boolean", nullptr}};
void* const gBehaviour[kBehaviourSlotCount] = {reinterpret_cast<void*>(&construct), reinterpret_cast<void*>(&destroy)};
PluginControlDefinition gControl{4, "TestControl", 24, 0, {1, 2}, 60, 22, gProperties, 6, gMethods, 5,
                                 gEvents, 2, gBehaviour, 0, nullptr, 0, "ActionSource, NoSuchInterface"};
PluginClassDefinition gThing{0, "TestThing", "Timer", 8};
PluginClassDefinition gDuplicate{0, "Timer", nullptr, 100};
PluginPropertyDefinition gExtensionProperties[] = {
    {"", "Extra", "Integer", 0, kDirect, kDirect, 0, 0, 0, nullptr}};
PluginClassDefinition gExtension{0, "Collection", nullptr, 0, 0, nullptr, nullptr, gExtensionProperties, 1};
// A superclass registered before its subclass: completion runs newest first,
// so the subclass comes first and must wait for its superclass's size.
PluginClassDefinition gBase{0, "TestBase", nullptr, 12};
PluginClassDefinition gDerived{0, "TestDerived", "TestBase", 4};
PluginClassDefinition gGrandChild{0, "TestGrandChild", "TestDerived", 8};
// Two classes that name each other, and one that names itself.
PluginClassDefinition gLoopA{0, "TestLoopA", "TestLoopB", 4};
PluginClassDefinition gLoopB{0, "TestLoopB", "TestLoopA", 4};
PluginClassDefinition gSelf{0, "TestSelf", "TestSelf", 4};

RUNTIME_CALL void versionFourMain(PluginResolver resolver) {
    glue::setResolver(resolver);
    RegisterPluginVersionGlue(4);
    PluginRegisterControlGlue(&gControl);
    PluginRegisterClassGlue(&gThing);
    PluginRegisterClassGlue(&gDuplicate);
    PluginRegisterClassExtensionGlue(&gExtension);
    PluginRegisterClassGlue(&gBase);
    PluginRegisterClassGlue(&gDerived);
    PluginRegisterClassGlue(&gGrandChild);
    PluginRegisterClassGlue(&gLoopA);
    PluginRegisterClassGlue(&gLoopB);
    PluginRegisterClassGlue(&gSelf);
    PluginRegisterControlGlue(&gControl);  // the glue asks the resolver once per name
}

int gRedraws = 0;

class PluginHost : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        defineBuiltinClasses();
        definePluginInterfaces();
        setPluginClassFinders(findControlClass, findPlainClass);
        PluginPaneHooks hooks;
        hooks.requestRedraw = [](ObjectHandle) { ++gRedraws; };
        setPluginPaneHooks(hooks);
        runPluginMain(&versionOneMain, &countingResolver);
        runPluginMain(&versionFourMain, &countingResolver);
        completePluginClasses();
    }
};

template <typename R, typename... A>
R call(void* routine, A... args) {
    return reinterpret_cast<R(RUNTIME_CALL*)(A...)>(routine)(args...);
}

TEST(PluginResolver, FindsEntryRoutinesIgnoringCase) {
    EXPECT_EQ(resolveRuntimeName("runtimeinit"), reinterpret_cast<void*>(&RuntimeInit));
    EXPECT_EQ(resolveRuntimeName("PLUGINREGISTERCLASS"), reinterpret_cast<void*>(&PluginRegisterClass));
    EXPECT_EQ(resolveRuntimeName("NoSuchRoutine"), nullptr);
    EXPECT_EQ(resolveRuntimeName(""), nullptr);
}

TEST_F(PluginHost, EachGlueNameIsResolvedOnce) {
    EXPECT_EQ(gAsked["PluginRegisterControl"], 1);
    EXPECT_EQ(gAsked["RegisterPluginVersion"], 1);
    EXPECT_EQ(gAsked.count("VELMBuildString"), 0u);
}

TEST_F(PluginHost, VersionOnePluginMethodsAreReadByExportIndexAndClassesIgnored) {
    const PluginRecord* v4 = firstPlugin();
    ASSERT_TRUE(v4 && v4->next);
    EXPECT_EQ(v4->version, 4);
    EXPECT_EQ(v4->next->version, 1);
    EXPECT_EQ(v4->next->reserved[0], -1);
    EXPECT_EQ(resolvePluginMember("Mv1_Twice(x As Integer) As Integer"), reinterpret_cast<void*>(&twice));
    EXPECT_EQ(resolvePluginMember("MV1_TWICE(X AS INTEGER) AS INTEGER"), reinterpret_cast<void*>(&twice));
    EXPECT_EQ(resolvePluginMember("Wv1_Twice(x As Integer) As Integer"), nullptr);
    EXPECT_EQ(findAnyClass("V1Class"), nullptr);
    EXPECT_EQ(findAnyClass("LayoutTwoControl"), nullptr);
}

TEST_F(PluginHost, ControlClassRecordFollowsTheDefinition) {
    ClassRecord* cls = findControlClass("testcontrol");
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls->superclass, findBuiltinClass("RectControl"));
    EXPECT_EQ(cls->instanceSize, 24 + 92);
    EXPECT_EQ(gControl.dataOffset, 92);
    ASSERT_NE(cls->interfaces, nullptr);
    EXPECT_EQ(cls->interfaces->interfaceClass, findBuiltinClass("ActionSource"));
    EXPECT_EQ(cls->interfaces->next, nullptr) << "a name that is no interface is left out";
    EXPECT_NE(findHookCode(cls, 0), nullptr) << "the host's CreatePane handler";
}

TEST_F(PluginHost, PropertiesOfKnownTypesAreRegisteredOthersDropped) {
    for (const char* name : {"Caption", "Count", "Flag", "Routed", "Icon"}) {
        EXPECT_NE(resolvePluginMember(std::string("GTestControl!") + name), nullptr) << name;
    }
    EXPECT_EQ(resolvePluginMember("GTestControl!Mystery"), nullptr);
    EXPECT_EQ(resolvePluginMember("Gnowhere!Caption"), nullptr);
    EXPECT_EQ(resolvePluginMember("GCaption"), nullptr) << "properties need a class";
}

TEST_F(PluginHost, DirectAndRoutinePropertiesThroughTheirRecords) {
    ObjectHandle instance = PluginNewInstance("TestControl");
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(gBehaviourCalls, std::vector<std::string>{"construct"});

    void* setCount = resolvePluginMember("STestControl!Count");
    void* getCount = resolvePluginMember("GTestControl!Count");
    const int before = gRedraws;
    call<void>(setCount, instance, int32_t{41});
    EXPECT_EQ(call<int32_t>(getCount, instance), 41);
    EXPECT_EQ(*reinterpret_cast<int32_t*>(reinterpret_cast<char*>(instance) + 92 + 4), 41);
    EXPECT_EQ(gRedraws, before + 1) << "a flagged direct store asks for a redraw";

    call<void>(resolvePluginMember("STestControl!Flag"), instance, true);
    EXPECT_TRUE(call<bool>(resolvePluginMember("GTestControl!Flag"), instance));
    EXPECT_EQ(gRedraws, before + 1);

    const StringValue text = StringValue::fromCString("caption");
    call<void>(resolvePluginMember("STestControl!Caption"), instance, text.get());
    EXPECT_EQ(text.get()->refCount, 2);
    StringHandle read = call<StringHandle>(resolvePluginMember("GTestControl!Caption"), instance);
    EXPECT_EQ(read, text.get());
    EXPECT_EQ(text.get()->refCount, 3) << "the getter hands out a reference of its own";
    RuntimeUnlockString(read);
    call<void>(resolvePluginMember("STestControl!Caption"), instance, text.get());
    EXPECT_EQ(text.get()->refCount, 2) << "storing the same value keeps one reference";

    EXPECT_EQ(call<int32_t>(resolvePluginMember("GTestControl!Routed"), instance), 77);
    EXPECT_EQ(gRoutineParameter, 5);
    call<void>(resolvePluginMember("STestControl!Routed"), instance, int32_t{3});
    EXPECT_EQ(*reinterpret_cast<int32_t*>(reinterpret_cast<char*>(instance) + 92 + 12), 1003);

    call<void>(resolvePluginMember("STestControl!Caption"), instance, StringHandle{nullptr});
    EXPECT_EQ(text.get()->refCount, 1);
    RuntimeUnlockObject(instance);
    EXPECT_EQ(gBehaviourCalls, (std::vector<std::string>{"construct", "destroy"}));
}

TEST_F(PluginHost, MethodsMatchTheirFullDeclarationAndBadOnesAreRejected) {
    EXPECT_EQ(resolvePluginMember("MTestControl!AddRow(text As String)"), reinterpret_cast<void*>(&addRow));
    EXPECT_EQ(resolvePluginMember("Mtestcontrol!addrow(TEXT as string)"), reinterpret_cast<void*>(&addRow));
    EXPECT_EQ(resolvePluginMember("MTestControl!AddRow"), nullptr);
    EXPECT_EQ(resolvePluginMember("WTestControl!List(row As Integer) As String"), reinterpret_cast<void*>(&addRow));
    EXPECT_EQ(resolvePluginMember("MTestControl!Broken(row As Integer"), nullptr);
    EXPECT_EQ(resolvePluginMember("MTestControl!Odd(row As NoSuchType)"), nullptr);
    EXPECT_EQ(resolvePluginMember("MTestControl!Odder As NoSuchType"), nullptr);
    EXPECT_EQ(resolvePluginMember("XTestControl!AddRow(text As String)"), nullptr);
}

RUNTIME_CALL void actionHandler(ObjectHandle) {}

TEST_F(PluginHost, EventHandlesFindHandlersOfSubclasses) {
    ASSERT_NE(gEvents[0].handle, nullptr);
    const auto* pick = static_cast<const EventDescriptor*>(gEvents[1].handle);
    EXPECT_EQ(viewOf(pick->name), "Pick");
    EXPECT_EQ(viewOf(pick->parameters), "row As Integer");
    EXPECT_EQ(viewOf(pick->result), "Boolean");

    ClassRecord* sub = createClass("TestControlUser", findControlClass("TestControl"));
    sub->instanceSize = findControlClass("TestControl")->instanceSize;
    prependEventHandler(sub, "Action", reinterpret_cast<CodeAddress>(&actionHandler), 0);
    ObjectHandle instance = newObject(sub);
    EXPECT_EQ(GetEventInstance(instance, static_cast<const EventDescriptor*>(gEvents[0].handle)),
              reinterpret_cast<CodeAddress>(&actionHandler));
    EXPECT_EQ(GetEventInstance(instance, pick), nullptr);
    EXPECT_EQ(GetEventInstance(nullptr, pick), nullptr);
    EXPECT_EQ(GetEventInstance(instance, nullptr), nullptr);
    EXPECT_EQ(GetEventInstancePPC(instance, gEvents[0].handle), nullptr);
    RuntimeUnlockObject(instance);
}

TEST_F(PluginHost, PlainClassesAreCompletedAndDuplicatesChangeNothing) {
    ClassRecord* thing = findPlainClass("TestThing");
    ASSERT_NE(thing, nullptr);
    ClassRecord* timer = findBuiltinClass("Timer");
    EXPECT_EQ(thing->superclass, timer);
    EXPECT_EQ(thing->instanceSize, timer->instanceSize + 8);
    EXPECT_EQ(gThing.dataOffset, timer->instanceSize);
    EXPECT_EQ(timer->instanceSize, 40) << "registering a class named Timer changed nothing";
    EXPECT_EQ(findPlainClass("Timer"), nullptr);
    EXPECT_NE(resolvePluginMember("GCollection!Extra"), nullptr) << "the extension added its property";
    ObjectHandle made = PluginNewInstance("testthing");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->classRecord, thing);
    RuntimeUnlockObject(made);
    EXPECT_EQ(PluginNewInstance("NoSuchClass"), nullptr);
    EXPECT_EQ(PluginNewInstance("actionNotificationReceiver"), nullptr) << "interfaces have no instances";
}

TEST_F(PluginHost, APluginSuperclassIsCompletedBeforeItsSubclasses) {
    ClassRecord* base = findPlainClass("TestBase");
    ClassRecord* derived = findPlainClass("TestDerived");
    ClassRecord* grandChild = findPlainClass("TestGrandChild");
    ASSERT_TRUE(base && derived && grandChild);
    EXPECT_EQ(base->instanceSize, 24 + 12);
    EXPECT_EQ(derived->superclass, base);
    EXPECT_EQ(gDerived.dataOffset, 24 + 12) << "the subclass's data follows all of the superclass's";
    EXPECT_EQ(derived->instanceSize, 24 + 12 + 4);
    EXPECT_EQ(gGrandChild.dataOffset, 24 + 12 + 4);
    EXPECT_EQ(grandChild->instanceSize, 24 + 12 + 4 + 8);
}

TEST_F(PluginHost, SuperclassNamesThatLoopLeaveNoLoopingClassChain) {
    for (const char* name : {"TestLoopA", "TestLoopB", "TestSelf"}) {
        const ClassRecord* cls = findPlainClass(name);
        ASSERT_NE(cls, nullptr) << name;
        int steps = 0;
        for (const ClassRecord* c = cls; c && steps < 10; c = c->superclass) ++steps;
        EXPECT_LT(steps, 10) << name << "'s class chain ends";
        EXPECT_EQ(cls->instanceSize % 4, 0) << name;
    }
    EXPECT_EQ(findPlainClass("TestSelf")->superclass, nullptr);
    // Of the pair, exactly one has the other as its superclass.
    const ClassRecord* a = findPlainClass("TestLoopA");
    const ClassRecord* b = findPlainClass("TestLoopB");
    EXPECT_NE(a->superclass == b, b->superclass == a);
}

}  // namespace

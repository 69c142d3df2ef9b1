// The object model under Wine: RuntimeInit over a project table laid out as a
// relocated image holds it, object lifetime, type tests, dispatch, the event
// lookup, exceptions unwinding through frames shaped like compiled code, and
// the project items.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "objects/ApplicationObject.h"
#include "objects/BuiltinClasses.h"
#include "objects/ClassRegistry.h"
#include "objects/DataStreamWriter.h"
#include "objects/EventLookup.h"
#include "objects/EventLoop.h"
#include "objects/ExceptionUnwinding.h"
#include "objects/LoopEntries.h"
#include "objects/MenuBarModel.h"
#include "objects/ObjectEntries.h"
#include "objects/ObjectRef.h"
#include "objects/ProjectData.h"
#include "objects/ProjectItems.h"
#include "objects/RuntimeStartup.h"
#include "objects/SystemObjects.h"
#include "text/StringEntries.h"
#include "text/StringValue.h"

using namespace runtime;
using testing_support::ProjectData;

// Read and written by the frames of CompiledFrames.S.
extern "C" {
int32_t gCaughtBy = 0;
}
extern "C" ObjectHandle fixtureCatch(StringHandle s, ObjectHandle e);
extern "C" ObjectHandle fixtureInnerOutside(StringHandle s, ObjectHandle e, StringHandle local);
extern "C" ObjectHandle fixtureInnerWrongClass(StringHandle s, ObjectHandle e, StringHandle local);
extern "C" ObjectHandle fixtureOuter(StringHandle s, ObjectHandle e, StringHandle local,
                                     ObjectHandle (*inner)(StringHandle, ObjectHandle, StringHandle));
extern "C" ObjectHandle fixtureNil();
extern "C" ObjectHandle fixtureCheckCast(ObjectHandle o, int32_t classIndex);

// A runtime routine that takes a string and raises: the frame between the
// raise and the compiled caller.
extern "C" __attribute__((noinline)) void raiseWithString(StringHandle, ObjectHandle e) { RuntimeRaiseException(e); }

namespace {

std::vector<std::string> gLog;

// "Compiled code": handlers, initialisers, finalisers and methods.
extern "C" {
void openA(ObjectHandle) { gLog.push_back("open A"); }
void openB(ObjectHandle app) { gLog.push_back(std::string("open B ") + std::to_string(app->refCount)); }
void initBase(ObjectHandle, ClassRecord* c) { gLog.push_back("init " + std::string(viewOf(c->name))); }
void finBase(ObjectHandle, ClassRecord* c) { gLog.push_back("fin " + std::string(viewOf(c->name))); }
// A finaliser that hands its object to code that takes a reference and drops
// it again, as an event handler or a plug-in's destroy routine may.
void finBorrowing(ObjectHandle o, ClassRecord*) {
    RuntimeLockObject(o);
    RuntimeUnlockObject(o);
    gLog.push_back("fin borrowing");
}
void midOpen(ObjectHandle) {}
void leafOpen(ObjectHandle) {}
void nonsense(ObjectHandle) {}
void greet(ObjectHandle) {}
void wave(ObjectHandle) {}
void slotZero() {}
void slotOne() {}
}

// Class-table indices (CompiledFrames.S relies on 1 and 2).
struct Indices {
    int32_t application, runtimeException, nilObjectException, object, window, illegalCast;
    int32_t base, derived, appA, appB, winMid, winLeaf, iface, greeter, badGreeter, smallChild, unrelated;
    int32_t orderChild, orderParent, selfParent, tinyRoot, borrowing;
    int32_t pictureItem, globalItem, firstResourceItem;
} ix;

ObjectHandle gGlobalInstance = nullptr;

ProjectData& project() {
    static ProjectData data;
    return data;
}

void buildProject() {
    ProjectData& p = project();
    ix.application = p.addNamedClass("Application");
    ix.runtimeException = p.addNamedClass("runtimeexception");  // names ignore case
    ix.nilObjectException = p.addNamedClass("NilObjectException");
    ix.object = p.addNamedClass("Object");
    ix.window = p.addNamedClass("Window");
    ix.illegalCast = p.addNamedClass("IllegalCastException");
    ix.iface = p.addCompiledClass({.name = "IGreeter", .isInterface = true, .methods = {{"Greet", nullptr}, {"Wave", nullptr}}});
    ix.base = p.addCompiledClass({.name = "Base", .size = 32, .superIndex = ix.object, .initialiser = initBase, .finaliser = finBase});
    ix.borrowing = p.addCompiledClass({.name = "Borrowing", .size = 20, .superIndex = ix.object, .finaliser = finBorrowing});
    ix.derived = p.addCompiledClass(
        {.name = "Derived", .size = 40, .superIndex = ix.base, .initialiser = initBase, .finaliser = finBase,
         .virtualTable = {reinterpret_cast<void*>(slotZero), reinterpret_cast<void*>(slotOne)}});
    ix.appA = p.addCompiledClass({.name = "AppA", .size = 32, .superIndex = ix.application, .eventHandlers = {{"Open", reinterpret_cast<void*>(openA)}}});
    ix.appB = p.addCompiledClass({.name = "AppB", .size = 32, .superIndex = ix.application,
                                  .eventHandlers = {{"open", reinterpret_cast<void*>(openB), 7}},
                                  .menuHandlers = {{"FileQuit", reinterpret_cast<void*>(nonsense)}}});
    ix.winMid = p.addCompiledClass({.name = "WinMid", .size = 112, .superIndex = ix.window, .eventHandlers = {{"Open", reinterpret_cast<void*>(midOpen)}}});
    ix.winLeaf = p.addCompiledClass({.name = "WinLeaf", .size = 116, .superIndex = ix.winMid,
                                     .eventHandlers = {{"Open", reinterpret_cast<void*>(leafOpen)}, {"Nonsense", reinterpret_cast<void*>(nonsense)}}});
    ix.greeter = p.addCompiledClass({.name = "Greeter", .superIndex = ix.object, .interfaces = {ix.iface},
                                     .methods = {{"wave", reinterpret_cast<void*>(wave)}, {"Greet", reinterpret_cast<void*>(greet)}}});
    ix.badGreeter = p.addCompiledClass({.name = "BadGreeter", .superIndex = ix.object, .interfaces = {ix.iface},
                                        .methods = {{"Greet", reinterpret_cast<void*>(greet)}}});
    ix.smallChild = p.addCompiledClass({.name = "SmallChild", .size = 20, .superIndex = ix.base});
    ix.unrelated = p.addCompiledClass({.name = "Unrelated", .superIndex = ix.object});
    // A subclass listed before its superclass, which inherits from Window.
    ix.orderChild = p.addCompiledClass({.name = "OrderChild", .size = 100, .superIndex = ix.unrelated + 2});
    ix.orderParent = p.addCompiledClass({.name = "OrderParent", .size = 40, .superIndex = ix.window});
    // A class that names itself as its superclass, and a root class smaller
    // than the object header.
    ix.selfParent = p.addCompiledClass({.name = "SelfParent", .size = 24, .superIndex = ix.orderParent + 1});
    ix.tinyRoot = p.addCompiledClass({.name = "TinyRoot", .size = 8});

    SettingsStream settings;
    settings.messages = {"", "", "", "", "An exception of class %1 was not handled.\rThe application must shut down."};
    settings.mdiTitle = "My Application";
    const std::vector<uint8_t> settingsBytes = encodeSettingsStream(settings);
    ProjectData::Words settingsItem = ProjectData::streamItem(4, settingsBytes);
    settingsItem.insert(settingsItem.begin() + 1, 0);  // a settings item has a 0 word before its count

    MenuBarStream bar;
    MenuEntry file{.text = "File", .name = "FileMenu", .classIndex = -1};
    file.items.push_back({.text = "Quit", .name = "FileQuit", .shortcut = "Q", .classIndex = -1});
    bar.menus = {file, {.kind = 1, .text = "Other"}};
    const std::vector<uint8_t> barBytes = encodeMenuBarStream(bar);
    const ProjectData::Words menuItem = ProjectData::streamItem(2, barBytes);

    p.addItem(menuItem);                                     // project object 1: none
    p.addItem({1, 0x1234, 16, 32, 32, 2048});                // 2: a picture
    p.addNullItem();                                         // 3: skipped
    p.addItem(settingsItem);                                 // 4: none
    p.addItem({5, static_cast<uint32_t>(ix.derived),
               static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&gGlobalInstance))});  // 5: a global
    p.addItem({99, 1, 2});                                   // 6: unknown kind, skipped
    // 7 to 13: one item of each resource kind
    static const char kDatabaseText[] = "select";
    p.addItem({1, 0x101, 16, 1, 1, 4, 0});
    p.addItem({3, 0x103});
    p.addItem({6, 0x106, 0});
    p.addItem({7, 0x107});
    p.addItem({8, 0x108});
    p.addItem({9, 0x109});
    p.addItem({10, 0x10A, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(kDatabaseText)), 0x55, 0x66});
    ix.firstResourceItem = 7;
    ix.pictureItem = 2;
    ix.globalItem = 5;
}

class RuntimeEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        buildProject();
        RuntimeInit(project().table());
    }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new RuntimeEnvironment);

int32_t refs(ObjectHandle o) { return o ? o->refCount : 0; }

TEST(RuntimeInit, ChoosesTheLastApplicationSubclassAndDeliversOpen) {
    ASSERT_NE(applicationObject(), nullptr);
    EXPECT_EQ(applicationObject()->classRecord, classTableEntry(ix.appB));
    // Held by the runtime and, during the call, by the delivery.
    EXPECT_EQ(std::count(gLog.begin(), gLog.end(), "open B 2"), 1);
    EXPECT_EQ(std::count(gLog.begin(), gLog.end(), "open A"), 0);
    ObjectHandle app = getAppObject();
    EXPECT_EQ(app, applicationObject());
    EXPECT_EQ(refs(app), 2);
    RuntimeUnlockObject(app);
    EXPECT_EQ(refs(app), 1);
}

TEST(RuntimeInit, ClassTableAndDescriptors) {
    EXPECT_EQ(classTableEntry(ix.runtimeException), builtinClass("RuntimeException"));
    ClassRecord* derived = classTableEntry(ix.derived);
    EXPECT_EQ(viewOf(derived->name), "Derived");
    EXPECT_EQ(derived->superclass, classTableEntry(ix.base));
    EXPECT_EQ(derived->instanceSize, 40);
    EXPECT_EQ(derived->kind, 3);
    EXPECT_EQ(derived->perClassSlot, -1);
    // A class smaller than its superclass is allocated at the superclass's size.
    EXPECT_EQ(classTableEntry(ix.smallChild)->instanceSize, 32);
    // Handler lists run in the reverse of descriptor order.
    ClassRecord* leaf = classTableEntry(ix.winLeaf);
    EXPECT_EQ(viewOf(leaf->eventHandlers->name), "Nonsense");
    // Methods keep descriptor order.
    ClassRecord* greeter = classTableEntry(ix.greeter);
    EXPECT_EQ(viewOf(greeter->methods->name), "wave");
    EXPECT_EQ(viewOf(builtinClass("NilObjectException")->alternateName), "java/lang/NullPointerException");
}

TEST(Objects, InitialisersRootFirstFinalisersLeafFirst) {
    gLog.clear();
    const int32_t liveBefore = liveObjectCount();
    ObjectHandle o = RuntimeNewObject(ix.derived);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(gLog, (std::vector<std::string>{"init Base", "init Derived"}));
    EXPECT_EQ(refs(o), 1);
    EXPECT_EQ(firstLiveObject(), o);
    EXPECT_EQ(liveObjectCount(), liveBefore + 1);
    // Instance data is zero.
    for (int32_t offset = 16; offset < 40; ++offset) EXPECT_EQ(reinterpret_cast<uint8_t*>(o)[offset], 0);
    EXPECT_EQ(RuntimeLockObject(o), o);
    EXPECT_EQ(refs(o), 2);
    RuntimeUnlockObject(o);
    EXPECT_EQ(gLog.size(), 2u);
    EXPECT_EQ(RuntimeUnlockObject(o), nullptr);
    EXPECT_EQ(gLog, (std::vector<std::string>{"init Base", "init Derived", "fin Derived", "fin Base"}));
    EXPECT_EQ(liveObjectCount(), liveBefore);
    RuntimeLockObject(nullptr);
    RuntimeUnlockObject(nullptr);
}

TEST(Objects, AReferenceTakenAndDroppedByAFinaliserDoesNotDestroyTheObjectAgain) {
    gLog.clear();
    const int32_t liveBefore = liveObjectCount();
    ObjectHandle o = RuntimeNewObject(ix.borrowing);
    ASSERT_NE(o, nullptr);
    RuntimeUnlockObject(o);
    EXPECT_EQ(gLog, (std::vector<std::string>{"fin borrowing"}));
    EXPECT_EQ(liveObjectCount(), liveBefore);
}

TEST(Objects, FieldAccessorsCountReferences) {
    ObjectHandle holder = RuntimeNewObject(ix.unrelated);
    ObjectHandle a = RuntimeNewObject(ix.unrelated);
    objSetter(holder, 17, a);  // an unaligned field
    EXPECT_EQ(refs(a), 2);
    ObjectHandle got = objGetter(holder, 17);
    EXPECT_EQ(got, a);
    EXPECT_EQ(refs(a), 3);
    RuntimeUnlockObject(got);
    // Storing what the field holds, borrowed from the field, keeps it alive.
    RuntimeUnlockObject(a);
    EXPECT_EQ(refs(a), 1);
    objSetter(holder, 17, a);
    EXPECT_EQ(refs(a), 1);
    objSetter(holder, 17, nullptr);
    RuntimeUnlockObject(holder);
}

TEST(Objects, TypeTestsAndCasts) {
    ObjectHandle derived = RuntimeNewObject(ix.derived);
    ObjectHandle greeter = RuntimeNewObject(ix.greeter);
    EXPECT_TRUE(RuntimeObjectIsa(derived, ix.base));
    EXPECT_TRUE(RuntimeObjectIsa(derived, ix.object));
    EXPECT_FALSE(RuntimeObjectIsa(derived, ix.greeter));
    EXPECT_FALSE(RuntimeObjectIsa(nullptr, ix.object));
    EXPECT_TRUE(RuntimeObjectIsa(greeter, ix.iface));
    EXPECT_FALSE(RuntimeObjectIsa(derived, ix.iface));
    EXPECT_FALSE(RuntimeObjectIsa(derived, 9999));
    gCaughtBy = 0;
    EXPECT_EQ(fixtureCheckCast(nullptr, ix.base), nullptr);  // nil passes
    EXPECT_EQ(fixtureCheckCast(derived, ix.base), nullptr);
    EXPECT_EQ(gCaughtBy, 0);
    ObjectHandle caught = fixtureCheckCast(greeter, ix.base);
    EXPECT_EQ(gCaughtBy, 4);
    ASSERT_NE(caught, nullptr);
    EXPECT_EQ(caught->classRecord, builtinClass("IllegalCastException"));
    EXPECT_EQ(refs(caught), 1);
    RuntimeUnlockObject(caught);
    RuntimeUnlockObject(derived);
    RuntimeUnlockObject(greeter);
}

TEST(Objects, VirtualAndInterfaceDispatch) {
    ObjectHandle derived = RuntimeNewObject(ix.derived);
    EXPECT_EQ(FindVTableCode(derived, 1), reinterpret_cast<void*>(slotOne));
    EXPECT_EQ(FindVTableCode(derived, 0), reinterpret_cast<void*>(slotZero));
    EXPECT_EQ(FindVTableCode(derived, 2), nullptr);  // beyond the table
    EXPECT_EQ(FindVTableCode(nullptr, 0), nullptr);
    ObjectHandle greeter = RuntimeNewObject(ix.greeter);
    EXPECT_EQ(FindInterfaceVTableCode(greeter, 1, ix.iface), reinterpret_cast<void*>(greet));
    EXPECT_EQ(FindInterfaceVTableCode(greeter, 2, ix.iface), reinterpret_cast<void*>(wave));
    EXPECT_EQ(FindInterfaceVTableCode(derived, 1, ix.iface), nullptr);
    // A class that lacks a method gets no table; the other classes keep theirs.
    ObjectHandle bad = RuntimeNewObject(ix.badGreeter);
    EXPECT_EQ(FindInterfaceVTableCode(bad, 1, ix.iface), nullptr);
    EXPECT_EQ(RuntimeFindHookCode(applicationObject(), 7), reinterpret_cast<void*>(openB));
    EXPECT_EQ(RuntimeFindHookCode(applicationObject(), 8), nullptr);
    EXPECT_EQ(RuntimeFindHookCode(nullptr, 7), nullptr);
    for (ObjectHandle o : {derived, greeter, bad}) RuntimeUnlockObject(o);
}

TEST(EventLookup, NearestHandlerToTheDeclaringClassWins) {
    const EventDescriptor* open = builtinEvent("Window", "Open");
    const HandlerFound found = findHandler(classTableEntry(ix.winLeaf), open);
    EXPECT_EQ(found.code, reinterpret_cast<void*>(midOpen));
    EXPECT_FALSE(found.inOwnClass);
    const HandlerFound mid = findHandler(classTableEntry(ix.winMid), open);
    EXPECT_EQ(mid.code, reinterpret_cast<void*>(midOpen));
    EXPECT_TRUE(mid.inOwnClass);
    // A handler for an event the chain never declares is never found.
    const EventDescriptor* stray = newEventDescriptor("Nonsense", "", "");
    EXPECT_EQ(findHandler(classTableEntry(ix.winLeaf), stray).code, nullptr);
    // An event of the same name that another chain declares finds nothing here.
    EXPECT_EQ(findHandler(classTableEntry(ix.winLeaf), builtinEvent("Control", "Open")).code, nullptr);
}

TEST(EventLookup, RedeclaredEventHidesTheHandlersBelowIt) {
    ClassRecord* root = createClass("Root");
    EventDescriptor* rootPing = newEventDescriptor("Ping", "", "");
    declareEvent(root, rootPing);
    ClassRecord* middle = createClass("Middle", root);
    EventDescriptor* middlePing = newEventDescriptor("ping", "", "");
    declareEvent(middle, middlePing);
    prependEventHandler(middle, "Ping", reinterpret_cast<void*>(greet), 0);
    ClassRecord* leaf = createClass("Leaf", middle);
    prependEventHandler(leaf, "PING", reinterpret_cast<void*>(wave), 0);
    // The leaf's handler answers the middle's event, not the root's.
    EXPECT_EQ(findHandler(leaf, middlePing).code, reinterpret_cast<void*>(wave));
    // For the root's event the middle's own handler counts, not the leaf's.
    EXPECT_EQ(findHandler(leaf, rootPing).code, reinterpret_cast<void*>(greet));
    // A class's handlers never answer the events it declares itself.
    EXPECT_EQ(findHandler(middle, middlePing).code, nullptr);
}

StringHandle makeString(const char* text) { return VELMBuildString(text, static_cast<int32_t>(strlen(text))); }

TEST(Exceptions, CatchClauseResumesWithTheExceptionInTheFrameSlot) {
    StringHandle s = makeString("argument");
    RuntimeLockString(s);  // the test's own reference; the call passes the other
    ObjectHandle e = RuntimeNewObject(ix.runtimeException);
    gCaughtBy = 0;
    ObjectHandle caught = fixtureCatch(s, e);
    EXPECT_EQ(gCaughtBy, 1);
    EXPECT_EQ(caught, e);
    EXPECT_EQ(s->refCount, 1);  // released exactly once by the call-site tag
    EXPECT_EQ(refs(e), 2);      // ours and the catch clause's
    RuntimeUnlockObject(caught);
    RuntimeUnlockObject(e);
    RuntimeUnlockString(s);
}

TEST(Exceptions, OutsideRegionAndOtherClassesPassToTheOuterFrame) {
    for (auto inner : {fixtureInnerOutside, fixtureInnerWrongClass}) {
        StringHandle s = makeString("argument");
        StringHandle local = makeString("local");
        RuntimeLockString(s);
        RuntimeLockString(local);
        ObjectHandle e = RuntimeNewObject(ix.runtimeException);
        const int32_t liveBefore = liveObjectCount();
        gCaughtBy = 0;
        ObjectHandle caught = fixtureOuter(s, e, local, inner);
        EXPECT_EQ(gCaughtBy, 2);
        EXPECT_EQ(caught, e);
        EXPECT_EQ(s->refCount, 1);
        EXPECT_EQ(local->refCount, 1);  // the passed frame's local was released
        EXPECT_EQ(refs(e), 2);
        EXPECT_EQ(liveObjectCount(), liveBefore);
        RuntimeUnlockObject(caught);
        RuntimeUnlockObject(e);
        RuntimeUnlockString(s);
        RuntimeUnlockString(local);
    }
}

TEST(Exceptions, NilObjectRaisesANewException) {
    const int32_t liveBefore = liveObjectCount();
    gCaughtBy = 0;
    ObjectHandle caught = fixtureNil();
    EXPECT_EQ(gCaughtBy, 3);
    ASSERT_NE(caught, nullptr);
    EXPECT_EQ(caught->classRecord, builtinClass("NilObjectException"));
    EXPECT_EQ(refs(caught), 1);
    RuntimeUnlockObject(caught);
    EXPECT_EQ(liveObjectCount(), liveBefore);
    RuntimeReraiseException();  // does nothing
}

TEST(Exceptions, UnhandledMessageNamesTheClass) {
    EXPECT_EQ(unhandledExceptionMessage("NilObjectException"),
              "An exception of class NilObjectException was not handled.\rThe application must shut down.");
}

TEST(ProjectItems, ObjectsAndSettings) {
    EXPECT_EQ(RuntimeProjectObject(0), nullptr);
    EXPECT_EQ(RuntimeProjectObject(1), nullptr);  // the menu bar makes no project object
    ObjectHandle picture = RuntimePictureReference(ix.pictureItem);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->classRecord, builtinClass("Picture"));
    EXPECT_EQ(refs(picture), 2);  // the table's and ours
    const auto* fields = reinterpret_cast<const ResourceFields*>(reinterpret_cast<char*>(picture) + kResourceFieldsOffset);
    EXPECT_EQ(fields->resourceWord, 0x1234u);
    RuntimeUnlockObject(picture);
    EXPECT_EQ(RuntimeProjectObject(3), nullptr);
    EXPECT_EQ(RuntimeProjectObject(6), nullptr);
    EXPECT_EQ(RuntimeProjectObject(14), nullptr);  // beyond the table
    ASSERT_NE(gGlobalInstance, nullptr);
    EXPECT_EQ(gGlobalInstance->classRecord, classTableEntry(ix.derived));
    EXPECT_EQ(refs(gGlobalInstance), 1);
    EXPECT_EQ(applicationSettings().mdiTitle, "My Application");
    EXPECT_FALSE(applicationSettings().mdiFrame);
}

TEST(ProjectItems, EveryResourceKindMakesAnObjectThatHoldsItsFields) {
    struct Row {
        uint32_t kind;
        const ResourceClass& cls;
    };
    const Row rows[] = {{1, kPictureClass}, {3, kMovieClass}, {6, kSoundClass}, {7, kResource7Class},
                        {8, kResource8Class}, {9, kCursorClass}, {10, kDatabaseClass}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].kind);
        ObjectHandle object = RuntimeProjectObject(ix.firstResourceItem + static_cast<int32_t>(i));
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->classRecord, builtinClass(rows[i].cls.name));
        // Everything the item writes lies inside the object's block.
        EXPECT_GE(object->classRecord->instanceSize, resourceInstanceSize(rows[i].cls.shape));
        const auto* fields = reinterpret_cast<const ResourceFields*>(reinterpret_cast<char*>(object) + kResourceFieldsOffset);
        EXPECT_EQ(fields->resourceWord, 0x100u + rows[i].kind);
        if (rows[i].kind == 10) {
            EXPECT_STREQ(reinterpret_cast<const char*>(fields->data), "select");
            EXPECT_EQ(fields->word1, 0x55u);
            EXPECT_EQ(fields->word2, 0x66u);
        }
        RuntimeUnlockObject(object);
    }
}

TEST(CoreEntries, SystemAndKeyboardObjectsAndTheCommandLine) {
    ObjectHandle system = getSystemObject();
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(system->classRecord, builtinClass("System"));
    EXPECT_EQ(viewOf(*reinterpret_cast<StringHandle*>(reinterpret_cast<char*>(system) + kSystemNameOffset)), "System");
    EXPECT_EQ(refs(system), 2);  // the runtime's and ours
    RuntimeUnlockObject(system);
    EXPECT_EQ(refs(system), 1);

    ObjectHandle keyboard = getKeyboardObject();
    ObjectHandle again = getKeyboardObject();
    ASSERT_NE(keyboard, nullptr);
    EXPECT_EQ(keyboard, again);
    EXPECT_EQ(keyboard->classRecord, builtinClass("Keyboard"));
    EXPECT_EQ(refs(keyboard), 3);
    RuntimeUnlockObject(again);
    RuntimeUnlockObject(keyboard);

    StringHandle line = win32getCommandLine();
    EXPECT_EQ(viewOf(line), GetCommandLineA());
    EXPECT_EQ(line->refCount, 1);
    RuntimeUnlockString(line);
    lineTrace();  // nothing to observe but that it returns
}

TEST(RuntimeInit, InstanceSizesFollowTheSuperclassChainInAnyTableOrder) {
    EXPECT_EQ(classTableEntry(ix.orderParent)->instanceSize, 112);
    EXPECT_EQ(classTableEntry(ix.orderChild)->instanceSize, 112);
}

TEST(RuntimeInit, MalformedClassDescriptorsStaySafe) {
    ClassRecord* self = classTableEntry(ix.selfParent);
    EXPECT_EQ(self->superclass, nullptr);  // no cycle
    EXPECT_FALSE(RuntimeObjectIsa(nullptr, ix.selfParent));
    EXPECT_EQ(classTableEntry(ix.tinyRoot)->instanceSize, 24);
    ObjectHandle tiny = RuntimeNewObject(ix.tinyRoot);
    EXPECT_EQ(refs(tiny), 1);
    RuntimeUnlockObject(tiny);
}

TEST(ProjectItems, MenuBarBecomesMenuItemObjects) {
    const auto& bar = menuBar();
    ASSERT_EQ(bar.size(), 1u);  // the record of kind 1 makes no menu
    const MenuItemFields& menu = menuItemFields(bar[0].item.get());
    EXPECT_EQ(viewOf(menu.text), "File");
    ASSERT_EQ(bar[0].children.size(), 1u);
    ObjectHandle quit = bar[0].children[0].item.get();
    EXPECT_EQ(quit->classRecord, builtinClass("MenuItem"));
    EXPECT_EQ(viewOf(menuItemFields(quit).shortcut), "Q");
    EXPECT_EQ(menuItemFields(quit).index, -1);
    menuItemFields(quit).enabled = 0;
    ObjectHandle same = RuntimeEnableMenu(quit);
    EXPECT_EQ(same, quit);
    EXPECT_EQ(menuItemFields(quit).enabled, 1);
    EXPECT_EQ(refs(quit), 2);
    RuntimeUnlockObject(same);
}

TEST(ProjectItems, MissingNamedClassMessage) {
    EXPECT_EQ(missingClassMessage("Gizmo"), "The application could not be started because the class Gizmo could not be found.");
}

}  // namespace

namespace {

class CountingTask : public PeriodicTask {
public:
    int runs = 0;
    void run() override { ++runs; }
};

// The tick count may advance in steps of several milliseconds.
void waitForNextTick() {
    const DWORD start = GetTickCount();
    while (GetTickCount() == start) Sleep(1);
}

TEST(EventLoop, BackgroundTaskRunsDueTasksOncePerMillisecond) {
    CountingTask task;
    addPeriodicTask(&task, 0);
    bool sameTickSeen = false;
    for (int attempt = 0; attempt < 50 && !sameTickSeen; ++attempt) {
        const int before = task.runs;
        const DWORD start = GetTickCount();
        RuntimeBackgroundTask();
        RuntimeBackgroundTask();
        if (GetTickCount() != start) continue;  // the clock moved between the calls: try again
        sameTickSeen = true;
        EXPECT_LE(task.runs - before, 1);
    }
    EXPECT_TRUE(sameTickSeen);
    waitForNextTick();
    const int before = task.runs;
    RuntimeBackgroundTask();
    EXPECT_EQ(task.runs, before + 1);
    removePeriodicTask(&task);
    waitForNextTick();
    RuntimeBackgroundTask();
    EXPECT_EQ(task.runs, before + 1);
}

TEST(EventLoop, ElapsedTimeSurvivesTheWrapOfTheTickCount) {
    EXPECT_EQ(elapsedMilliseconds(0xFFFFFFF0u, 0x10u), 0x20u);
    EXPECT_EQ(elapsedMilliseconds(100, 250), 150u);
    EXPECT_EQ(elapsedMilliseconds(0, 0), 0u);
}

TEST(EventLoop, Clocks) {
    const DWORD now = GetTickCount();
    const int32_t ticks = RuntimeTicks();
    EXPECT_LE(static_cast<DWORD>(ticks) - (now >> 4), 1u);
    const double micro = RuntimeMicroseconds();
    EXPECT_GE(micro, now * 1000.0);
    EXPECT_EQ(std::fmod(micro, 1000.0), 0.0);  // millisecond resolution
    EXPECT_FALSE(getUserCancelled());
}

}  // namespace

// Windows instantiated from layouts: creation order, the control registry,
// containers, clones, bindings and damaged layouts.
#include "WindowTestProject.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "objects/ControlRegistry.h"
#include "objects/DataStreamWriter.h"
#include "objects/ObjectLifetime.h"
#include "ui/ControlFields.h"
#include "ui/NativeWindow.h"
#include "ui/Pane.h"
#include "ui/WindowFields.h"

using namespace runtime;
using namespace window_tests;

namespace {

TEST(LayoutWindows, PanesThenControlsOpenThenTheWindow) {
    gTrace.clear();
    OpenWindow w(windowLayout(ix.testWindow, {control(ix.traceControl, "a"), control(ix.traceControl, "b")}));
    ASSERT_NE(w.object, nullptr);
    EXPECT_EQ(gTrace, "P:a P:b O:a O:b W:open ");
    EXPECT_EQ(windowControlCountGetter(w.object), 2);
}

TEST(LayoutWindows, RegistryKeysForIndexedAndPlainControls) {
    OpenWindow w(windowLayout(ix.testWindow, {control(ix.rectControl, "Solo", {{"Index", "-2147483648"}}),
                                             control(ix.rectControl, "Arr", {{"Index", "2"}})}));
    ASSERT_NE(w.object, nullptr);
    EXPECT_NE(w.fetch("Solo"), nullptr);
    EXPECT_NE(w.fetch("solo"), nullptr);  // keys compare ignoring case
    EXPECT_EQ(w.fetch("Arr"), nullptr);
    StringValue arr = StringValue::fromCString("Arr");
    ObjectHandle two = RuntimeControlArrayItemReference(w.object, arr.get(), 2);
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(controlFields(two).index, 2);
    EXPECT_EQ(RuntimeControlReference(w.object, arr.get()), nullptr);
    RuntimeUnlockObject(two);
    EXPECT_EQ(registryKey("Arr", 2), "Arr$2");
}

TEST(LayoutWindows, SameNameWithoutIndexReplacesInPlaceAndKeepsTheFirstDescriptor) {
    OpenWindow w(windowLayout(ix.testWindow, {control(ix.rectControl, "Dup", {{"Left", "1"}}),
                                             control(ix.rectControl, "Mid"),
                                             control(ix.rectControl, "Dup", {{"Left", "7"}})}));
    ASSERT_NE(w.object, nullptr);
    ASSERT_EQ(windowControlCountGetter(w.object), 2);
    ObjectHandle first = windowControl(w.object, 0);
    EXPECT_EQ(controlFields(first).left, 7);  // the later control, at the earlier position
    RuntimeUnlockObject(first);
    StringValue dup = StringValue::fromCString("Dup");
    ObjectHandle clone = RuntimeCloneControlReference(w.object, dup.get());
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(controlFields(clone).left, 1);  // made from the first descriptor
    EXPECT_NE(w.fetch("Dup*0"), nullptr);
    RuntimeUnlockObject(clone);
}

TEST(LayoutWindows, BooleanTexts) {
    struct Case {
        const char* text;
        bool visible;
    };
    for (const Case& c : {Case{"True", true}, Case{"true", true}, Case{"TRUE", true}, Case{"1", false},
                          Case{"False", false}, Case{"", false}, Case{"yes", false}}) {
        OpenWindow w(windowLayout(ix.testWindow, {control(ix.rectControl, "c", {{"Visible", c.text}})}));
        ASSERT_NE(w.object, nullptr);
        EXPECT_EQ(controlFields(w.fetch("c")).visible != 0, c.visible) << c.text;
    }
}

TEST(LayoutWindows, ControlInsideACanvasGetsItAsContainer) {
    auto rect = [](const char* l, const char* t, const char* wd, const char* h) {
        return std::vector<PropertyText>{{"Left", l}, {"Top", t}, {"Width", wd}, {"Height", h}};
    };
    OpenWindow w(windowLayout(ix.testWindow, {control(ix.canvas, "outer", rect("0", "0", "200", "200")),
                                             control(ix.canvas, "frame", rect("10", "10", "100", "100")),
                                             control(ix.rectControl, "inside", rect("10", "10", "100", "100")),
                                             control(ix.rectControl, "across", rect("90", "90", "30", "30"))}));
    ASSERT_NE(w.object, nullptr);
    EXPECT_EQ(controlFields(w.fetch("inside")).container, w.fetch("frame"));  // the last enclosing canvas
    EXPECT_EQ(controlFields(w.fetch("across")).container, w.fetch("outer"));
    EXPECT_EQ(controlFields(w.fetch("outer")).container, nullptr);
}

TEST(LayoutWindows, ClonesOfAnArrayTakeTheNextFreeIndex) {
    std::vector<LayoutControl> controls;
    for (const char* i : {"0", "1", "2"}) controls.push_back(control(ix.traceControl, "Btn", {{"Index", i}}));
    OpenWindow w(windowLayout(ix.testWindow, controls));
    ASSERT_NE(w.object, nullptr);
    StringValue btn = StringValue::fromCString("Btn");
    gTrace.clear();
    ObjectHandle third = RuntimeCloneControlReference(w.object, btn.get());
    ObjectHandle fourth = RuntimeCloneControlReference(w.object, btn.get());
    ASSERT_NE(third, nullptr);
    ASSERT_NE(fourth, nullptr);
    EXPECT_EQ(controlFields(third).index, 3);
    EXPECT_EQ(controlFields(fourth).index, 4);
    EXPECT_EQ(third->refCount, 2);  // the caller's and the registry's
    EXPECT_EQ(gTrace, "P:Btn O:Btn P:Btn O:Btn ");
    EXPECT_EQ(w.fetch("Btn$4"), fourth);
    RuntimeUnlockObject(third);
    RuntimeUnlockObject(fourth);
}

TEST(LayoutWindows, AClosedWindowFindsAndClonesNothing) {
    OpenWindow w(windowLayout(ix.testWindow, {control(ix.traceControl, "Btn", {{"Index", "0"}})}));
    ASSERT_NE(w.object, nullptr);
    RuntimeCloseWindow(w.object);
    ASSERT_EQ(windowFields(w.object).native, nullptr);
    StringValue btn = StringValue::fromCString("Btn");
    gTrace.clear();
    EXPECT_EQ(RuntimeCloneControlReference(w.object, btn.get()), nullptr);
    EXPECT_EQ(RuntimeControlArrayItemReference(w.object, btn.get(), 0), nullptr);
    EXPECT_EQ(windowControlCountGetter(w.object), 0);
    EXPECT_EQ(gTrace, "");  // no pane was made for a window that is gone
}

TEST(LayoutWindows, WindowClosedInItsOwnOpenGivesNilAndClearsTheImplicitInstance) {
    const int32_t live = liveObjectCount();
    ObjectHandle implicitInstance = nullptr;
    const std::vector<uint8_t> bytes = encodeSizedWindowLayout(windowLayout(ix.closing, {control(ix.rectControl, "x")}));
    EXPECT_EQ(RuntimeCreateWindow(bytes.data(), &implicitInstance), nullptr);
    EXPECT_EQ(implicitInstance, nullptr);
    EXPECT_EQ(liveObjectCount(), live);
    EXPECT_EQ(NativeWindow::first(), nullptr);
}

TEST(LayoutWindows, DamagedLayoutsGiveNilAndLeakNothing) {
    const std::vector<uint8_t> good =
        encodeWindowLayout(windowLayout(ix.testWindow, {control(ix.rectControl, "c", {{"Left", "5"}})}));
    std::vector<std::pair<std::string, std::vector<uint8_t>>> cases;
    for (size_t cut : {size_t{0}, size_t{1}, size_t{5}, good.size() / 2, good.size() - 1}) {
        cases.emplace_back("truncated at " + std::to_string(cut), std::vector<uint8_t>(good.begin(), good.begin() + cut));
    }
    std::vector<uint8_t> extra = good;
    extra.push_back(0);
    cases.emplace_back("a byte left over", extra);
    cases.emplace_back("window class outside the table", encodeWindowLayout(windowLayout(999)));
    cases.emplace_back("control class outside the table",
                       encodeWindowLayout(windowLayout(ix.testWindow, {control(-1, "c")})));
    DataStreamWriter huge;
    huge.writeVarint(0x0FFFFFFF);  // a property count far beyond the stream
    huge.writeVarint(ix.testWindow);
    cases.emplace_back("a count past the end", huge.bytes());
    const int32_t live = liveObjectCount();
    for (const auto& [what, stream] : cases) {
        std::vector<uint8_t> bytes(4);
        const auto n = static_cast<uint32_t>(stream.size());
        std::memcpy(bytes.data(), &n, 4);
        bytes.insert(bytes.end(), stream.begin(), stream.end());
        EXPECT_EQ(RuntimeCreateWindow(bytes.data(), nullptr), nullptr) << what;
    }
    EXPECT_EQ(liveObjectCount(), live);
    EXPECT_EQ(NativeWindow::first(), nullptr);
}

TEST(Bindings, BindersGetTheNumberedControlsOrTheirPartsBeforeTheControlsOpen) {
    WindowLayout layout = windowLayout(ix.testWindow, {control(ix.partControl, "a"), control(ix.partControl, "b")});
    layout.bindings = {
        {.sourceControl = 0, .targetControl = 1, .binderClass = ix.binder},
        {.sourceControl = 1, .sourcePart = "value", .targetControl = 0, .binderClass = ix.binder, .sourcePartText = "self"},
        {.sourceControl = 0, .targetControl = 1, .targetPart = "x", .binderClass = ix.binder, .targetPartText = "none"},
        {.sourceControl = 0, .targetControl = 2, .binderClass = ix.binder},  // no third control
        {.sourceControl = 0, .targetControl = 1, .binderClass = ix.notABinder},
    };
    const int32_t live = liveObjectCount();
    gTrace.clear();
    {
        OpenWindow w(layout);
        ASSERT_NE(w.object, nullptr);
        EXPECT_EQ(gTrace, "P:a P:b bind:a>b part:self/value bind:b>a part:none/x O:a O:b W:open ");
    }
    EXPECT_EQ(liveObjectCount(), live);  // binders and parts released
}

}  // namespace

// The window layout stream, the control registry's keys and buckets, frame
// kinds and placements, and shortcut texts: plain logic, run natively and
// under Wine.
#include <gtest/gtest.h>

#include "objects/ControlRegistry.h"
#include "objects/DataStreamWriter.h"
#include "objects/WindowLayout.h"
#include "ui/ShortcutText.h"
#include "ui/WindowFrames.h"

using namespace runtime;

namespace {

WindowLayout sample() {
    WindowLayout l;
    l.windowClass = 5;
    l.properties = {{"Title", "PHS"}, {"Frame", "0"}};
    l.controls = {{7, {{"Name", "PushButton"}, {"Index", "1"}}}, {8, {}}};
    l.bindings = {{0, "value", 1, "text", 9, "", "part"}};
    return l;
}

TEST(WindowLayout, RoundTripKeepsEveryItem) {
    const auto parsed = parseWindowLayout(encodeWindowLayout(sample()));
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->windowClass, 5);
    EXPECT_EQ(parsed->properties, sample().properties);
    ASSERT_EQ(parsed->controls.size(), 2u);
    EXPECT_EQ(parsed->controls[0].classIndex, 7);
    EXPECT_EQ(parsed->controls[0].properties, sample().controls[0].properties);
    ASSERT_EQ(parsed->bindings.size(), 1u);
    EXPECT_EQ(parsed->bindings[0].targetPart, "text");
    EXPECT_EQ(parsed->bindings[0].targetPartText, "part");
    EXPECT_EQ(parsed->bindings[0].binderClass, 9);
}

TEST(WindowLayout, DamagedStreamsAreRefused) {
    const std::vector<uint8_t> good = encodeWindowLayout(sample());
    for (size_t cut = 0; cut < good.size(); ++cut) {
        EXPECT_FALSE(parseWindowLayout(std::span(good.data(), cut)).has_value()) << "cut at " << cut;
    }
    std::vector<uint8_t> longer = good;
    longer.push_back(0);
    EXPECT_FALSE(parseWindowLayout(longer).has_value());

    struct Case {
        const char* what;
        int32_t propertyCount, controlCount;
    };
    for (const Case& c : {Case{"negative property count", -1, 0}, Case{"huge property count", 0x7FFFFFF, 0},
                          Case{"negative control count", 0, -3}, Case{"huge control count", 0, 0x100000}}) {
        DataStreamWriter out;
        out.writeVarint(c.propertyCount);
        out.writeVarint(1);
        out.writeVarint(c.controlCount);
        out.writeVarint(0);
        EXPECT_FALSE(parseWindowLayout(out.bytes()).has_value()) << c.what;
    }
}

TEST(ControlRegistry, BucketsHashSignedBytesUpperCased) {
    // hash = byte ^ (hash << 2), over signed bytes, lower case made upper.
    EXPECT_EQ(registryBucket("A"), 'A');
    EXPECT_EQ(registryBucket("ab"), static_cast<uint8_t>('B' ^ ('A' << 2)));
    EXPECT_EQ(registryBucket("Ab"), registryBucket("aB"));
    EXPECT_EQ(registryBucket("\x82"), 0x82);                                    // -126, low 8 bits
    EXPECT_EQ(registryBucket("\x82" "A"), static_cast<uint8_t>('A' ^ (-126 * 4)));
    EXPECT_EQ(registryKey("Button1", kNoIndex), "Button1");
    EXPECT_EQ(registryKey("Button1", 0), "Button1$0");
    EXPECT_EQ(registryKey("Button1", -5), "Button1$-5");
}

TEST(ControlRegistry, ReplacingKeepsThePositionAndKeysIgnoreCase) {
    ControlRegistry<int> r;
    EXPECT_EQ(r.insert("One", 1), 0);
    EXPECT_EQ(r.insert("Two", 2), 0);
    EXPECT_EQ(r.insert("ONE", 3), 1);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r.entries()[0].value, 3);
    EXPECT_EQ(r.entries()[1].value, 2);
    EXPECT_EQ(r.find("one"), 3);
    EXPECT_EQ(r.find("three"), 0);
}

TEST(WindowFrames, KindsPlacementsAndStyles) {
    struct Case {
        int32_t frame;
        uint8_t kind;
        int32_t placement;
        bool modal;
    };
    for (const Case& c : {Case{0, 8, 4, false}, Case{1, 3, 2, true}, Case{2, 2, 2, true}, Case{3, 1, 0, false},
                          Case{4, 4, 2, true}, Case{5, 5, 2, true}, Case{6, 6, 4, false}, Case{7, 9, 0, false},
                          Case{8, 8, 4, false}, Case{-1, 8, 4, false}}) {
        EXPECT_EQ(frameKind(c.frame).kind, c.kind) << c.frame;
        EXPECT_EQ(frameKind(c.frame).defaultPlacement, c.placement) << c.frame;
        EXPECT_EQ(isModalKind(frameKind(c.frame).kind), c.modal) << c.frame;
    }
    const WindowOptions all{.resizable = true, .closeBox = true, .zoomIcon = true};
    EXPECT_EQ(windowStyles(8, all).style, 0x00C00000u | 0x00040000u | 0x00080000u | 0x00030000u);
    EXPECT_EQ(windowStyles(6, all).style & 0x00040000u, 0u);  // never a thick frame
    EXPECT_EQ(windowStyles(9, {.resizable = false}).style, 0x80000000u | 0x00800000u);
    EXPECT_EQ(windowStyles(3, {.frameMode = true}).extendedStyle, 0x41u);
    EXPECT_FALSE(keepsResizable(2));
}

TEST(WindowFrames, PlacementOffsets) {
    struct Case {
        int32_t placement;
        int16_t left, top;
    };
    for (const Case& c : {Case{0, 4, 100}, Case{1, 362, 142}, Case{2, 362, 142}, Case{3, 362, 142},
                          Case{4, 10, 50}, Case{5, 0, 0}}) {
        Bounds b{0, 0, 200, 300};
        applyPlacement(b, c.placement, 1024, 768);  // (1024 - 300) / 2, (768 - 200) / 4
        EXPECT_EQ(b.left, c.left) << c.placement;
        EXPECT_EQ(b.top, c.top) << c.placement;
        EXPECT_EQ(b.width(), 300);
    }
    Bounds wide{0, 0, 100, 1100};
    applyPlacement(wide, 2, 1024, 768);
    EXPECT_EQ(wide.left, -38);  // truncated toward zero
}

TEST(ShortcutText, ModifiersAndKeyNames) {
    struct Case {
        uint32_t key;
        KeyModifiers modifiers;
        const char* text;
    };
    for (const Case& c : {Case{'S', {true, true, false}, "Ctrl+Shft+S"}, Case{32, {}, "Space"},
                          Case{'Q', {true, false, false}, "Ctrl+Q"}, Case{8, {}, "Bsp"}, Case{9, {false, true}, "Shft+Tab"},
                          Case{12, {}, "Clr"}, Case{13, {}, "Enter"}, Case{27, {}, "Esc"}, Case{33, {}, "PgUp"},
                          Case{46, {}, "Del"}, Case{47, {}, "Help"}, Case{112, {}, "F1"}, Case{120, {}, "F9"},
                          Case{121, {}, "F10"}, Case{135, {}, "F24"}, Case{'5', {false, false, true}, "Alt+5"},
                          Case{'X', {true, true, true}, "Ctrl+Shft+Alt+X"}}) {
        EXPECT_EQ(shortcutText(c.key, c.modifiers), c.text);
    }
    EXPECT_EQ(menuShortcutText("Q"), "Ctrl+Q");
    EXPECT_EQ(menuShortcutText("Ctrl+Shft+S"), "Ctrl+Shft+S");
    EXPECT_EQ(menuShortcutText(""), "");
}

}  // namespace

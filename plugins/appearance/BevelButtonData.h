// The private data of a BevelButton instance (108 bytes): the positions are
// those the property records give the host for direct access.
#pragma once

#include <cstddef>
#include <cstdint>

#include "glue/PluginRecords.h"
#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"

namespace appearance {

struct MenuRow {
    MenuRow* next;
    StringHandle text;  // null for a separator
    int32_t isSeparator;
};

struct ReceiverEntry {
    ReceiverEntry* next;
    ObjectHandle receiver;
};

struct BevelButtonData {
    StringHandle caption;      // 0
    int32_t unused4;           // 4
    int32_t hasMenu;           // 8: 0 none, 1 below, 2 to the right
    int32_t unused12;          // 12
    int32_t iconAlign;         // 16: 0 to 9
    int32_t captionAlign;      // 20: 0 to 3
    int32_t captionPlacement;  // 24: 0 to 5
    int16_t menuValue;         // 28
    uint8_t value;             // 30
    uint8_t unused31;
    MenuRow* rows;             // 32
    StringHandle textFont;     // 36
    int32_t textSize;          // 40
    uint8_t bold;              // 44
    uint8_t italic;            // 45
    uint8_t underline;         // 46
    uint8_t unused47;
    PluginPictureDescription iconDescription;  // 48: the icon's pixels, width at 56, height at 60
    ObjectHandle icon;           // 64
    int32_t iconDX;              // 68
    int32_t iconDY;              // 72
    int32_t captionDelta;        // 76
    int32_t bevel;               // 80: bevel width - 1
    int32_t unused84[3];
    int32_t buttonType;          // 96: 0 push, 1 toggle, 2 sticky
    ReceiverEntry* receivers;    // 100
    uint8_t pressed;             // 104
    uint8_t unused105[3];
};

#if defined(__i386__)
static_assert(sizeof(BevelButtonData) == 108);
static_assert(offsetof(BevelButtonData, caption) == 0);
static_assert(offsetof(BevelButtonData, hasMenu) == 8);
static_assert(offsetof(BevelButtonData, iconAlign) == 16);
static_assert(offsetof(BevelButtonData, captionAlign) == 20);
static_assert(offsetof(BevelButtonData, captionPlacement) == 24);
static_assert(offsetof(BevelButtonData, menuValue) == 28);
static_assert(offsetof(BevelButtonData, value) == 30);
static_assert(offsetof(BevelButtonData, rows) == 32);
static_assert(offsetof(BevelButtonData, textFont) == 36);
static_assert(offsetof(BevelButtonData, textSize) == 40);
static_assert(offsetof(BevelButtonData, bold) == 44);
static_assert(offsetof(BevelButtonData, italic) == 45);
static_assert(offsetof(BevelButtonData, underline) == 46);
static_assert(offsetof(BevelButtonData, iconDescription) == 48);
static_assert(offsetof(BevelButtonData, iconDescription) + offsetof(PluginPictureDescription, width) == 56);
static_assert(offsetof(BevelButtonData, iconDescription) + offsetof(PluginPictureDescription, height) == 60);
static_assert(offsetof(BevelButtonData, icon) == 64);
static_assert(offsetof(BevelButtonData, iconDX) == 68);
static_assert(offsetof(BevelButtonData, iconDY) == 72);
static_assert(offsetof(BevelButtonData, captionDelta) == 76);
static_assert(offsetof(BevelButtonData, bevel) == 80);
static_assert(offsetof(BevelButtonData, buttonType) == 96);
static_assert(offsetof(BevelButtonData, receivers) == 100);
static_assert(offsetof(BevelButtonData, pressed) == 104);
static_assert(sizeof(MenuRow) == 12);
#endif

}  // namespace appearance

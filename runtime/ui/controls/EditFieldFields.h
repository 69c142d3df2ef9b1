// The instance data of an `EditField` object, after the data of `Control`:
// the values its setters store, used to build the system control when the
// window opens and read back while it has none.
#pragma once

#include <cstddef>
#include <cstdint>

#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"
#include "ui/ControlFields.h"

namespace runtime {

struct EditFieldFields {
    StringHandle text;      // the stored Text
    StringHandle textFont;  // the whole field's font name
    int32_t textSize;
    int32_t textColor;      // 0x00RRGGBB
    int32_t backColor;      // 0x00RRGGBB
    int32_t limitText;      // 0: no limit
    uint8_t border;
    uint8_t multiLine;
    uint8_t scrollBar;
    uint8_t readOnly;
    uint8_t password;
    uint8_t styled;
    uint8_t acceptTabs;
    uint8_t bold;
    uint8_t italic;
    uint8_t underline;
    uint8_t liveUpdate;
    uint8_t useFocusRing;
    uint8_t hasTextColor;   // TextColor was set
    uint8_t hasBackColor;   // BackColor was set
    uint8_t inTextChange;   // a TextChange handler runs for this field
    uint8_t inSelChange;    // a SelChange handler runs for this field
};

constexpr int32_t kEditFieldFieldsOffset = 88;
constexpr int32_t kEditFieldInstanceSize = 136;

#if defined(__i386__)
static_assert(offsetof(EditFieldFields, textFont) == 4);
static_assert(offsetof(EditFieldFields, textSize) == 8);
static_assert(offsetof(EditFieldFields, textColor) == 12);
static_assert(offsetof(EditFieldFields, backColor) == 16);
static_assert(offsetof(EditFieldFields, limitText) == 20);
static_assert(offsetof(EditFieldFields, border) == 24);
static_assert(offsetof(EditFieldFields, inSelChange) == 39);
static_assert(kControlFieldsOffset + sizeof(ControlFields) <= kEditFieldFieldsOffset, "after the control's data");
static_assert(kEditFieldFieldsOffset + sizeof(EditFieldFields) <= kEditFieldInstanceSize, "fits an EditField");
#endif

inline EditFieldFields& editFields(ObjectHandle field) {
    return *reinterpret_cast<EditFieldFields*>(reinterpret_cast<char*>(field) + kEditFieldFieldsOffset);
}

}  // namespace runtime

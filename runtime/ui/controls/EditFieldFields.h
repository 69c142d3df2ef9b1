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

// The whole field's font (TextFont, TextSize, Bold, Italic, Underline) is
// the control's text style (ControlFont), before these fields.
struct EditFieldFields {
    StringHandle text;      // the stored Text
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
    uint8_t liveUpdate;
    uint8_t useFocusRing;
    uint8_t hasTextColor;   // TextColor was set
    uint8_t hasBackColor;   // BackColor was set
};

constexpr int32_t kEditFieldFieldsOffset = kControlKindDataOffset;
constexpr int32_t kEditFieldInstanceSize = 136;

#if defined(__i386__)
static_assert(offsetof(EditFieldFields, textColor) == 4);
static_assert(offsetof(EditFieldFields, limitText) == 12);
static_assert(offsetof(EditFieldFields, border) == 16);
static_assert(offsetof(EditFieldFields, hasBackColor) == 26);
static_assert(kEditFieldFieldsOffset + sizeof(EditFieldFields) <= kEditFieldInstanceSize, "fits an EditField");
#endif

inline EditFieldFields& editFields(ObjectHandle field) {
    return *reinterpret_cast<EditFieldFields*>(reinterpret_cast<char*>(field) + kEditFieldFieldsOffset);
}

}  // namespace runtime

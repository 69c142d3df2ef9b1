// The instance data of a `Listbox` object after the data of `Control`: the
// values the layout and the setters store, and the per-column tables, which
// live as long as the object. Rows and the selection belong to the pane and
// exist only while the window is open.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"
#include "text/StringValue.h"
#include "ui/lists/ListColumns.h"

namespace runtime {

class ListboxPane;

// Per-column settings: type, alignment, alignment offset, heading text and
// the computed pixel width, for the 64 column numbers.
struct ListColumnTable {
    std::array<int32_t, lists::kColumnSlots> type{};
    std::array<int32_t, lists::kColumnSlots> alignment{};
    std::array<int32_t, lists::kColumnSlots> alignmentOffset{};
    std::array<StringValue, lists::kColumnSlots> heading{};  // empty: "Field" + (column + 1)
    std::array<int32_t, lists::kColumnSlots> width{};
};

struct ListboxFields {
    int32_t columnCount;
    StringHandle columnWidths;
    StringHandle initialValue;
    StringHandle textFont;
    int32_t textSize;
    int32_t selectionType;  // 0 single, otherwise multiple
    int32_t headingIndex;   // the sort column, -1 for none
    int32_t lastIndex;
    uint8_t hierarchical;
    uint8_t hasHeading;
    uint8_t useFocusRing;
    uint8_t enableDrag;
    uint8_t bold, italic, underline;
    uint8_t reserved;
    ListColumnTable* columns;  // owned
};

constexpr int32_t kListboxFieldsOffset = 88;
constexpr int32_t kListboxInstanceSize = 524;
#if defined(__i386__)
static_assert(offsetof(ListboxFields, columns) == 40);
static_assert(kListboxFieldsOffset + sizeof(ListboxFields) <= kListboxInstanceSize, "fits a Listbox instance");
#endif

inline ListboxFields& listboxFields(ObjectHandle list) {
    return *reinterpret_cast<ListboxFields*>(reinterpret_cast<char*>(list) + kListboxFieldsOffset);
}

}  // namespace runtime

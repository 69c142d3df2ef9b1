// A DragItem: what a drop brought to a window or a control (its text or its
// file) and where it was dropped, in the client coordinates of the window.
#pragma once

#include <cstdint>

#include "RuntimeCall.h"
#include "objects/ObjectHeader.h"
#include "objects/ObjectRef.h"
#include "text/StringRecord.h"

namespace runtime {

struct DragItemFields {
    StringHandle text;        // the dropped text, or empty
    ObjectHandle folderItem;  // the dropped file, or nil
    int32_t left, top, width, height;
};
constexpr int32_t kDragItemFieldsOffset = 24;
#if defined(__i386__)
static_assert(kDragItemFieldsOffset + sizeof(DragItemFields) <= 72, "fits a DragItem instance");
#endif

inline DragItemFields& dragItemFields(ObjectHandle item) {
    return *reinterpret_cast<DragItemFields*>(reinterpret_cast<char*>(item) + kDragItemFieldsOffset);
}

// Gives the DragItem class the finaliser that releases what an item holds.
void defineDragItem();

}  // namespace runtime

RUNTIME_ENTRY bool DragItemTextAvailable(ObjectHandle item);
RUNTIME_ENTRY StringHandle dragItemTextGetter(ObjectHandle item);
RUNTIME_ENTRY void dragItemTextSetter(ObjectHandle item, StringHandle text);
RUNTIME_ENTRY bool DragItemFolderItemAvailable(ObjectHandle item);
RUNTIME_ENTRY ObjectHandle dragItemFolderItemGetter(ObjectHandle item);
RUNTIME_ENTRY void dragItemFolderItemSetter(ObjectHandle item, ObjectHandle folderItem);
RUNTIME_ENTRY int32_t dragItemDropLeft(ObjectHandle item);
RUNTIME_ENTRY int32_t dragItemDropTop(ObjectHandle item);
RUNTIME_ENTRY int32_t dragItemDropWidth(ObjectHandle item);
RUNTIME_ENTRY int32_t dragItemDropHeight(ObjectHandle item);

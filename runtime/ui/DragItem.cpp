#include "ui/DragItem.h"

#include "objects/BuiltinClasses.h"
#include "objects/ClassRecord.h"
#include "text/StringValue.h"

namespace runtime {
namespace {

void finaliseDragItem(ObjectHandle item, ClassRecord*) {
    DragItemFields& f = dragItemFields(item);
    StringValue::adopt(std::exchange(f.text, nullptr));
    ObjectRef::adopt(std::exchange(f.folderItem, nullptr));
}

}  // namespace

void defineDragItem() { builtinClass("DragItem")->finaliser = finaliseDragItem; }

}  // namespace runtime

using namespace runtime;

bool DragItemTextAvailable(ObjectHandle item) { return item && viewOf(dragItemFields(item).text).size() > 0; }

StringHandle dragItemTextGetter(ObjectHandle item) {
    return item ? StringValue::borrow(dragItemFields(item).text).release() : nullptr;
}

void dragItemTextSetter(ObjectHandle item, StringHandle text) {
    if (!item) return;
    StringHandle old = dragItemFields(item).text;
    dragItemFields(item).text = StringValue::borrow(text).release();  // the new reference first
    StringValue::adopt(old);
}

bool DragItemFolderItemAvailable(ObjectHandle item) { return item && dragItemFields(item).folderItem; }

ObjectHandle dragItemFolderItemGetter(ObjectHandle item) {
    return item ? ObjectRef::borrow(dragItemFields(item).folderItem).release() : nullptr;
}

void dragItemFolderItemSetter(ObjectHandle item, ObjectHandle folderItem) {
    if (!item) return;
    ObjectHandle old = dragItemFields(item).folderItem;
    dragItemFields(item).folderItem = ObjectRef::borrow(folderItem).release();
    ObjectRef::adopt(old);
}

int32_t dragItemDropLeft(ObjectHandle item) { return item ? dragItemFields(item).left : 0; }
int32_t dragItemDropTop(ObjectHandle item) { return item ? dragItemFields(item).top : 0; }
int32_t dragItemDropWidth(ObjectHandle item) { return item ? dragItemFields(item).width : 0; }
int32_t dragItemDropHeight(ObjectHandle item) { return item ? dragItemFields(item).height : 0; }

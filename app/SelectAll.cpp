// Edit fields whose whole text "すべてを選択" selects.
#include "Window1State.h"

using namespace app::literals;
using app::Object;

extern "C" {

void SelectAll_EnableMenuItems(ObjectHandle) {
    const Object item = Object::adopt(RuntimeMenuReference("EditSelectAll"_s));
    if (item) RuntimeUnlockObject(RuntimeEnableMenu(item.get()));
}

int32_t SelectAll_EditSelectAll(ObjectHandle field) {
    editSelStartSetter(field, 0);
    editSelLengthSetter(field, 32767);
    return 1;
}

}  // extern "C"

#include "objects/MenuBarModel.h"

#include "objects/BuiltinClasses.h"
#include "objects/ClassRegistry.h"
#include "text/StringValue.h"

namespace runtime {
namespace {

// Process-wide: the one menu bar of the application.
std::vector<MenuNode> gMenuBar;

constexpr int32_t kPlaceholder = 2;

ObjectRef newMenuItem(const MenuEntry& entry) {
    ClassRecord* cls = classTableEntry(entry.classIndex);
    ClassRecord* menuItemClass = builtinClass("MenuItem");
    if (!cls || !inheritsFrom(cls, menuItemClass)) cls = menuItemClass;
    ObjectRef item = ObjectRef::adopt(newObject(cls));
    MenuItemFields& fields = menuItemFields(item.get());
    fields.text = StringValue::fromBytes(entry.text).release();
    fields.name = StringValue::fromBytes(entry.name).release();
    fields.index = entry.index.value_or(-1);
    fields.shortcut = StringValue::fromBytes(entry.shortcut).release();
    fields.flag = entry.flag;
    fields.enabled = 1;
    fields.visible = 1;
    return item;
}

void buildItems(const std::vector<MenuEntry>& entries, std::vector<MenuNode>& nodes) {
    for (const MenuEntry& entry : entries) {
        if (entry.kind == kPlaceholder) continue;
        MenuNode& node = nodes.emplace_back();
        node.item = newMenuItem(entry);
        buildItems(entry.items, node.children);
    }
}

}  // namespace

MenuItemFields& menuItemFields(ObjectHandle item) {
    return *reinterpret_cast<MenuItemFields*>(reinterpret_cast<char*>(item) + kMenuItemFieldsOffset);
}

void finaliseMenuItem(ObjectHandle item, ClassRecord*) {
    MenuItemFields& fields = menuItemFields(item);
    for (StringHandle* s : {&fields.text, &fields.name, &fields.shortcut}) {
        StringValue::adopt(*s);
        *s = nullptr;
    }
}

void buildMenuBar(const MenuBarStream& stream) {
    gMenuBar.clear();
    for (const MenuEntry& menu : stream.menus) {
        // Only ordinary menus make a menu of the bar; the others are skipped
        // with their items.
        if (menu.kind != 0) continue;
        MenuNode& node = gMenuBar.emplace_back();
        node.item = newMenuItem(menu);
        buildItems(menu.items, node.children);
    }
}

const std::vector<MenuNode>& menuBar() { return gMenuBar; }
std::vector<MenuNode>& mutableMenuBar() { return gMenuBar; }

}  // namespace runtime

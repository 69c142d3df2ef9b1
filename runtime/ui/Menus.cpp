#include "ui/Menus.h"

#include <functional>
#include <vector>

#include "objects/ApplicationObject.h"
#include "objects/EventLookup.h"
#include "objects/MenuBarModel.h"
#include "text/CaseFold.h"
#include "text/StringValue.h"
#include "text/SystemText.h"
#include "ui/FrameWindow.h"
#include "ui/NativeWindow.h"
#include "ui/Pane.h"
#include "ui/ShortcutText.h"
#include "ui/WindowEntries.h"
#include "ui/WindowEvents.h"
#include "ui/WindowOperations.h"

namespace runtime {
namespace {

// Menu command identifiers start here, so they never meet control identifiers.
constexpr UINT kFirstCommandId = 1000;

// Process-wide: the native menu bar and the identifiers given out.
HMENU gMenuBar = nullptr;
UINT gNextCommandId = kFirstCommandId;

void forEachItem(std::vector<MenuNode>& nodes, const std::function<void(MenuNode&)>& visit) {
    for (MenuNode& node : nodes) {
        visit(node);
        forEachItem(node.children, visit);
    }
}

void giveIdentifiers() {
    forEachItem(mutableMenuBar(), [](MenuNode& node) {
        MenuItemFields& f = menuItemFields(node.item.get());
        if (f.commandId == 0) f.commandId = static_cast<int32_t>(gNextCommandId++);
    });
}

std::wstring itemText(const MenuItemFields& f) {
    const std::string_view text = viewOf(f.text);
    std::string label(text);
    if (f.shortcut && viewOf(f.shortcut).size() > 0) label += "\t" + menuShortcutText(std::string(viewOf(f.shortcut)));
    return toSystemText(label);
}

// Fills `menu` with the visible items of `nodes`, in their order.
void fillMenu(HMENU menu, std::vector<MenuNode>& nodes) {
    while (GetMenuItemCount(menu) > 0) DeleteMenu(menu, 0, MF_BYPOSITION);
    for (MenuNode& node : nodes) {
        const MenuItemFields& f = menuItemFields(node.item.get());
        if (!f.visible) continue;
        if (viewOf(f.text) == "-") {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const UINT state = (f.enabled ? MF_ENABLED : MF_GRAYED) | (f.checked ? MF_CHECKED : MF_UNCHECKED);
        if (!node.children.empty()) {
            HMENU sub = CreatePopupMenu();
            fillMenu(sub, node.children);
            AppendMenuW(menu, MF_POPUP | state, reinterpret_cast<UINT_PTR>(sub), itemText(f).c_str());
        } else {
            AppendMenuW(menu, MF_STRING | state, static_cast<UINT_PTR>(f.commandId), itemText(f).c_str());
        }
    }
}

void rebuildNativeMenus() {
    if (!gMenuBar) return;
    giveIdentifiers();
    fillMenu(gMenuBar, mutableMenuBar());
    if (HWND frame = frameWindow()) DrawMenuBar(frame);
    else if (NativeWindow* w = menuBarWindow(); w && w->handle()) DrawMenuBar(w->handle());
}

MenuNode* findNode(std::vector<MenuNode>& nodes, const std::function<bool(const MenuItemFields&)>& match) {
    for (MenuNode& node : nodes) {
        if (match(menuItemFields(node.item.get()))) return &node;
        if (MenuNode* inner = findNode(node.children, match)) return inner;
    }
    return nullptr;
}

bool callMenuHandler(ObjectHandle target, ObjectHandle item) {
    if (!target) return false;
    const MenuItemFields& f = menuItemFields(item);
    const CodeAddress code = findMenuHandler(target->classRecord, f.name);
    if (!code) return false;
    const Unwindable<ObjectRef> keep(ObjectRef::borrow(target));
    if (f.index >= 0) return callBooleanHandler(code, target, f.index);
    return callBooleanHandler(code, target);
}

}  // namespace

HMENU menuBarHandle() {
    if (!gMenuBar && !menuBar().empty()) {
        gMenuBar = CreateMenu();
        rebuildNativeMenus();
    }
    return gMenuBar;
}

void forgetMenuBarHandle() { gMenuBar = nullptr; }

ObjectHandle menuItemForCommand(UINT commandId) {
    giveIdentifiers();
    MenuNode* node = findNode(mutableMenuBar(), [&](const MenuItemFields& f) {
        return f.commandId == static_cast<int32_t>(commandId);
    });
    return node ? node->item.get() : nullptr;
}

UINT commandForShortcut(const std::string& text) {
    giveIdentifiers();
    MenuNode* node = findNode(mutableMenuBar(), [&](const MenuItemFields& f) {
        return f.shortcut && viewOf(f.shortcut).size() > 0 &&
               foldedEquals(menuShortcutText(std::string(viewOf(f.shortcut))), text);
    });
    return node ? static_cast<UINT>(menuItemFields(node->item.get()).commandId) : 0;
}

bool runMenuCommand(UINT commandId) {
    ObjectHandle found = menuItemForCommand(commandId);
    if (!found) return false;
    const Unwindable<ObjectRef> item(ObjectRef::borrow(found));
    if (Pane* pane = focusedPane(); pane && pane->menuCommand(item->get())) return true;
    if (NativeWindow* front = frontWindow(); front && front->isRuntimeView()) {
        if (callMenuHandler(front->windowObject(), item->get())) return true;
    }
    if (callMenuHandler(applicationObject(), item->get())) return true;
    return deliverNamedEvent(item->get(), "MenuItem", "Action");
}

void refreshMenuBar() {
    if (menuBar().empty()) return;
    const Unwindable<std::vector<ObjectRef>> items([] {
        std::vector<ObjectRef> all;
        forEachItem(mutableMenuBar(), [&](MenuNode& node) { all.push_back(node.item); });
        return all;
    }());
    for (const ObjectRef& item : *items) {
        // The menus of the bar themselves stay usable; their items are disabled.
        menuItemFields(item.get()).enabled = 0;
    }
    for (const MenuNode& menu : menuBar()) menuItemFields(menu.item.get()).enabled = 1;
    for (const ObjectRef& item : *items) deliverNamedEvent(item.get(), "MenuItem", "EnableMenu");
    if (Pane* pane = focusedPane()) pane->enableMenuItems();
    // The front window: the active child of the frame, else the menu-bar window.
    NativeWindow* front = inFrameMode() ? activeFrameChild() : menuBarWindow();
    if (front && front->isRuntimeView()) {
        const Unwindable<ObjectRef> window(ObjectRef::borrow(front->windowObject()));
        deliverWindowEvent(window->get(), "EnableMenuItems");
    }
    deliverNamedEvent(applicationObject(), "Application", "EnableMenuItems");
    rebuildNativeMenus();
}

}  // namespace runtime

using namespace runtime;

// The menu routines of the entry table.
ObjectHandle RuntimeMenuReference(StringHandle name) {
    MenuNode* node = findNode(mutableMenuBar(), [&](const MenuItemFields& f) {
        return f.index < 0 && foldedEquals(viewOf(f.name), viewOf(name));
    });
    return node ? ObjectRef(node->item).release() : nullptr;
}

ObjectHandle RuntimeMenuArrayReference(StringHandle name, int32_t index) {
    MenuNode* node = findNode(mutableMenuBar(), [&](const MenuItemFields& f) {
        return f.index == index && index >= 0 && foldedEquals(viewOf(f.name), viewOf(name));
    });
    return node ? ObjectRef(node->item).release() : nullptr;
}

namespace {

// The list that holds `item`, or null.
std::vector<MenuNode>* siblingsOf(std::vector<MenuNode>& nodes, ObjectHandle item) {
    for (MenuNode& node : nodes) {
        if (node.item.get() == item) return &nodes;
        if (auto* inner = siblingsOf(node.children, item)) return inner;
    }
    return nullptr;
}

}  // namespace

// A new element of the item's menu item array, after the array's last
// element, with the smallest index not yet taken; locked for the caller.
ObjectHandle RuntimeCloneMenu(ObjectHandle item) {
    if (!item) return nullptr;
    std::vector<MenuNode>* siblings = siblingsOf(mutableMenuBar(), item);
    if (!siblings) return nullptr;
    const MenuItemFields& source = menuItemFields(item);
    const std::string_view name = viewOf(source.name);
    int32_t index = 0;
    size_t after = 0;
    for (bool taken = true; taken; ++index) {
        taken = false;
        for (const MenuNode& n : *siblings) {
            const MenuItemFields& f = menuItemFields(n.item.get());
            if (foldedEquals(viewOf(f.name), name) && f.index == index) taken = true;
        }
        if (!taken) break;
    }
    for (size_t i = 0; i < siblings->size(); ++i) {
        if (foldedEquals(viewOf(menuItemFields((*siblings)[i].item.get()).name), name)) after = i + 1;
    }
    ObjectRef clone = ObjectRef::adopt(newObject(item->classRecord));
    MenuItemFields& f = menuItemFields(clone.get());
    f.text = StringValue::borrow(source.text).release();
    f.name = StringValue::borrow(source.name).release();
    f.shortcut = StringValue::borrow(source.shortcut).release();
    f.index = index;
    f.flag = source.flag;
    f.enabled = 1;
    f.visible = 1;
    MenuNode node;
    node.item = clone;
    siblings->insert(siblings->begin() + static_cast<ptrdiff_t>(after), std::move(node));
    rebuildNativeMenus();
    return clone.release();
}

// Removes the item from its menu.
void RuntimeCloseMenuItem(ObjectHandle item) {
    std::vector<MenuNode>* siblings = siblingsOf(mutableMenuBar(), item);
    if (!siblings) return;
    std::erase_if(*siblings, [&](const MenuNode& n) { return n.item.get() == item; });
    rebuildNativeMenus();
}

// The text of a menu item, and its shortcut key; the native menus follow.
StringHandle menuItemTextGetter(ObjectHandle item) {
    return item ? StringValue::borrow(menuItemFields(item).text).release() : nullptr;
}

namespace {
void storeItemString(StringHandle& field, StringHandle value) {
    StringHandle old = field;
    field = StringValue::borrow(value).release();  // the new reference first
    StringValue::adopt(old);
    rebuildNativeMenus();
}
}  // namespace

void menuItemTextSetter(ObjectHandle item, StringHandle text) {
    if (item) storeItemString(menuItemFields(item).text, text);
}

void menuItemCommandKeySetter(ObjectHandle item, StringHandle key) {
    if (item) storeItemString(menuItemFields(item).shortcut, key);
}

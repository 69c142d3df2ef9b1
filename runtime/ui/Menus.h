// The native menu bar built from the image's menu items: command
// identifiers, the keyboard shortcut list, menu commands and the refresh of
// the items' state before a menu opens.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "objects/ObjectHeader.h"

namespace runtime {

// The native menu bar (built on first use), or null when the image has none.
HMENU menuBarHandle();
// Drops the native menu bar (when its window is destroyed, the system
// destroys the menu with it).
void forgetMenuBarHandle();

// The menu item with that command identifier, or null (borrowed).
ObjectHandle menuItemForCommand(UINT commandId);
// The identifier of the item whose shortcut text is `text` (case-insensitive), or 0.
UINT commandForShortcut(const std::string& text);

// Runs the menu command: the focused control, the front window's handlers,
// the application's, the item's Action. True when a handler reported it handled.
bool runMenuCommand(UINT commandId);

// Before a menu opens: disable everything, let the items, the focused
// control, the front window and the application enable theirs, then rebuild
// the native menus.
void refreshMenuBar();

}  // namespace runtime

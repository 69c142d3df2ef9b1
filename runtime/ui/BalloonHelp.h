// Balloon help texts shown as standard tooltips: one tooltip window per
// runtime window, one tool per pane (the pane's child window).
#pragma once

#include <windows.h>

#include <string_view>

namespace runtime {

// Sets the tooltip text of `control` (a child of `window`); an empty text
// removes its tool.
void setBalloonHelp(HWND window, HWND control, std::string_view text);
// The tooltip window of `window`, or null when it has none.
HWND balloonHelpWindow(HWND window);

}  // namespace runtime

// The runtime's palette: a 6 x 6 x 6 colour cube, selected into a window's
// device context before it paints, so that pictures and colours look right
// on a display with 256 colours.
#pragma once

#include <windows.h>

namespace runtime {

// Made on first use; lives for the process.
HPALETTE runtimePalette();
// Selects the palette into `dc` (in the background) and maps it.
void selectRuntimePalette(HDC dc);
// For WM_QUERYNEWPALETTE: selects the palette into the window's device
// context in the foreground and maps it to the system palette.
void realizeRuntimePalette(HWND window);

}  // namespace runtime

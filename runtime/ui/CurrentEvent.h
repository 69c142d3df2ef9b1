// The message being translated, as the mouse and keyboard routines read it.
#pragma once

#include <windows.h>

namespace runtime {

struct CurrentEvent {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LONG time = 0;
    DWORD position = 0;
    bool contextualClick = false;
};

CurrentEvent& currentEvent();

}  // namespace runtime

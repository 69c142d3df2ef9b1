// Real input for GUI tests: mouse and keyboard events sent through the
// system's input queue, as a person's hands would make them. The callers
// pump their own messages afterwards.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string_view>

namespace testing_support {

// A mouse event at a screen point. Absolute coordinates are scaled to 0..65535
// and rounded up, since the system truncates them back to pixels.
INPUT absoluteMouseInput(POINT screen, DWORD flags);

// Sends one mouse event at a screen point (MOUSEEVENTF_MOVE and
// MOUSEEVENTF_ABSOLUTE are added to `flags`).
void sendMouseAt(POINT screen, DWORD flags);

// Presses the keys in order and releases them in reverse order: {VK_CONTROL,
// 'C'} is Ctrl+C, {VK_RETURN} a single key stroke.
void sendKeyChord(std::initializer_list<WORD> keys);

// Sends a key press or a key release alone (for a modifier held across
// other input).
void sendKey(WORD key, bool down);

// Types each character as a Unicode key press and release.
void sendUnicodeText(std::wstring_view text);

}  // namespace testing_support

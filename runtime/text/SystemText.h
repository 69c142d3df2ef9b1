// The boundary between the runtime's text and the system's: every Win32 call
// that passes text (window and control texts, menus, message boxes, file
// names, font faces) converts through here and calls the wide-character form
// of the system routine. The code page in which string values hold their
// bytes is decided in this one place.
#pragma once

#include <string>
#include <string_view>

namespace runtime {

// The code page of the bytes of string values (Shift-JIS for the hosted
// application; today the system's ANSI code page).
unsigned textCodePage();

// The bytes of runtime text as system (UTF-16) text, and back. Bytes that do
// not form a character of the code page become its default character; an
// empty input gives an empty result.
std::wstring toSystemText(std::string_view bytes);
std::string fromSystemText(std::wstring_view text);

// A message box whose text and caption are runtime text; returns the button
// pressed. `owner` is a window handle or null.
int systemMessageBox(void* owner, std::string_view text, std::string_view caption, unsigned flags);

}  // namespace runtime

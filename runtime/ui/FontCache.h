// The fonts that windows and controls share: one HFONT per distinct request
// (name, size, bold, italic, underline), counted, deleted with its last user.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace runtime {

struct FontRequest {
    std::string name;
    int32_t size = 12;
    bool bold = false, italic = false, underline = false;
};

HFONT acquireFont(const FontRequest& request);
void releaseFont(HFONT font);

// The face used for a requested name ("Geneva" -> "MS Sans Serif", ...).
std::string_view fontFace(std::string_view requested);
// The character set for the application's script number.
BYTE scriptCharacterSet(int32_t script);
// The script number of the application: the first byte of the image's
// settings (13 for Japanese), unless set here.
int32_t applicationScript();
void setApplicationScript(int32_t script);

// How many distinct fonts are cached.
size_t cachedFontCount();

}  // namespace runtime

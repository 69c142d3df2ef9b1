// Texts of the project description are UTF-8; the image holds them in the
// application's code page, Shift-JIS (code page 932).
#pragma once

#include <string>

#include "DescriptionSyntax.h"

namespace imagetool {

// The Shift-JIS bytes of a UTF-8 string token; fails at the token when it is
// not UTF-8 or holds a character that Shift-JIS cannot represent.
std::string shiftJisText(const Token& token);

}  // namespace imagetool

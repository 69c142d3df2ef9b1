// Setting a property by name from its value text, as layouts do: the property
// record of the first class in the object's chain that declares it, with the
// text converted for its value type.
#pragma once

#include <string_view>

#include "objects/ObjectHeader.h"

namespace runtime {

// Unknown names and properties without a setter are ignored.
void applyPropertyText(ObjectHandle object, std::string_view name, std::string_view text);

// "True" in any case is true; every other text is false.
bool booleanFromText(std::string_view text);
int32_t integerFromText(std::string_view text);

}  // namespace runtime

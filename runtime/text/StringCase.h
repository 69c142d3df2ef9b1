// Letter case of string values, as the ANSI code page defines it.
#pragma once

#include "text/CharacterTables.h"
#include "text/StringValue.h"

namespace runtime {

// A copy of s with every character upper-cased or lower-cased.
StringValue upperCased(const CharacterTables& tables, const StringValue& s);
StringValue lowerCased(const CharacterTables& tables, const StringValue& s);
// A copy of s in which every run of characters that are not blank starts with
// an upper-case character and continues in lower case.
StringValue titleCased(const CharacterTables& tables, const StringValue& s);

}  // namespace runtime

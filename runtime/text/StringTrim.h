// Trimming of white space at the ends of string values. In single-byte mode
// white space is any space or blank byte; in double-byte mode it is any
// character of the space class, one or two bytes long (the ideographic space
// among them).
#pragma once

#include "text/CharacterTables.h"
#include "text/StringValue.h"

namespace runtime {

StringValue trimmedLeft(const CharacterTables& tables, const StringValue& s);
StringValue trimmedRight(const CharacterTables& tables, const StringValue& s);
StringValue trimmed(const CharacterTables& tables, const StringValue& s);

}  // namespace runtime

// Fields and replacements: text split at, or rewritten at, the places where a
// separator or pattern occurs. Every match is found by the string functions'
// search, so matches ignore case and, in double-byte mode, start only where a
// character starts.
#pragma once

#include <cstdint>

#include "text/CharacterTables.h"
#include "text/StringValue.h"

namespace runtime {

// s with the first occurrence of t replaced by u; s itself when t is empty or
// absent.
StringValue replaceFirst(const CharacterTables& tables, const StringValue& s, const StringValue& t,
                         const StringValue& u);
// s with every occurrence of t replaced by u, left to right; text inserted
// from u is never searched again.
StringValue replaceAll(const CharacterTables& tables, const StringValue& s, const StringValue& t,
                       const StringValue& u);
// The number of fields of s separated by t: 0 for an empty s, 1 for an empty t.
int32_t countFields(const CharacterTables& tables, const StringValue& s, const StringValue& t);
// Field n (1-based) of s separated by t; empty when there is no such field.
StringValue nthField(const CharacterTables& tables, const StringValue& s, const StringValue& t, int32_t n);

}  // namespace runtime

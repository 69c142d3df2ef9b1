// Number text under a picture format (StringFormat): up to three sections
// separated by ";" (positive, negative, zero), "#" and "0" digit placeholders,
// "." for the locale's decimal separator, "," for grouping with the locale's
// thousands separator, "%" for percent, "e"/"E" for an exponent, "+", "-",
// "(", ")" as signs and brackets, "\" to take the next character literally,
// and the keyword "Scientific". Characters of other kinds print nothing.
#pragma once

#include "text/CharacterTables.h"
#include "text/NumberText.h"
#include "text/StringValue.h"

namespace runtime {

StringValue formatPicture(const CharacterTables& tables, double x, const StringValue& format,
                          const NumberSeparators& separators);

}  // namespace runtime

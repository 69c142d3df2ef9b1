#include "text/StringFunctionEntries.h"

#include "text/ByteStrings.h"
#include "text/CharacterTables.h"
#include "text/DoubleByteStrings.h"
#include "text/EntryGuard.h"
#include "text/StringCase.h"
#include "text/StringFields.h"
#include "text/StringSearch.h"
#include "text/StringTrim.h"
#include "text/StringValue.h"

using runtime::guardedEntry;
using runtime::StringValue;

namespace {

const runtime::CharacterTables& tables() { return runtime::CharacterTables::system(); }
StringValue arg(StringHandle s) { return StringValue::borrow(s); }

}  // namespace

StringHandle StringLeft(StringHandle s, int32_t n) { return arg(s).left(n).release(); }
StringHandle StringRight(StringHandle s, int32_t n) { return arg(s).right(n).release(); }
StringHandle StringMid2(StringHandle s, int32_t i) { return runtime::middleFrom(arg(s), i).release(); }
StringHandle StringMid3(StringHandle s, int32_t i, int32_t n) { return runtime::middle(arg(s), i, n).release(); }
int32_t StringLen(StringHandle s) { return s ? s->length : 0; }
int32_t StringAsc(StringHandle s) { return runtime::firstByte(arg(s)); }
StringHandle StringChr(int32_t n) { return runtime::byteString(n).release(); }

StringHandle StringLCase(StringHandle s) { return runtime::lowerCased(tables(), arg(s)).release(); }
StringHandle StringUCase(StringHandle s) { return runtime::upperCased(tables(), arg(s)).release(); }
StringHandle StringTitleCase(StringHandle s) { return runtime::titleCased(tables(), arg(s)).release(); }

int32_t StringInStr(int32_t i, StringHandle s, StringHandle t) {
    return guardedEntry([&] { return runtime::findText(tables(), i, arg(s).view(), arg(t).view()); });
}

StringHandle StringReplace(StringHandle s, StringHandle t, StringHandle u) {
    return guardedEntry([&] { return runtime::replaceFirst(tables(), arg(s), arg(t), arg(u)).release(); });
}

StringHandle StringReplaceAll(StringHandle s, StringHandle t, StringHandle u) {
    return guardedEntry([&] { return runtime::replaceAll(tables(), arg(s), arg(t), arg(u)).release(); });
}

int32_t StringCountFields(StringHandle s, StringHandle t) {
    return guardedEntry([&] { return runtime::countFields(tables(), arg(s), arg(t)); });
}

StringHandle StringNthField(StringHandle s, StringHandle t, int32_t n) {
    return guardedEntry([&] { return runtime::nthField(tables(), arg(s), arg(t), n).release(); });
}

StringHandle runLTrim(StringHandle s) { return runtime::trimmedLeft(tables(), arg(s)).release(); }
StringHandle runRTrim(StringHandle s) { return runtime::trimmedRight(tables(), arg(s)).release(); }
StringHandle runTrim(StringHandle s) { return runtime::trimmed(tables(), arg(s)).release(); }

StringHandle StringDBCSLeft(StringHandle s, int32_t n) {
    return runtime::leftCharacters(tables(), arg(s), n).release();
}
StringHandle StringDBCSRight(StringHandle s, int32_t n) {
    return runtime::rightCharacters(tables(), arg(s), n).release();
}
StringHandle StringDBCSMid2(StringHandle s, int32_t i) {
    return runtime::middleCharactersFrom(tables(), arg(s), i).release();
}
StringHandle StringDBCSMid3(StringHandle s, int32_t i, int32_t n) {
    return runtime::middleCharacters(tables(), arg(s), i, n).release();
}
int32_t StringDBCSLen(StringHandle s) { return runtime::lengthInCharacters(tables(), arg(s)); }
int32_t StringDBCSAsc(StringHandle s) { return runtime::firstCharacterCode(tables(), arg(s)); }
StringHandle StringDBCSChr(int32_t n) { return runtime::characterString(n).release(); }

int32_t StringDBCSInStr(int32_t i, StringHandle s, StringHandle t) {
    return guardedEntry([&] { return runtime::findCharacters(tables(), i, arg(s), arg(t)); });
}

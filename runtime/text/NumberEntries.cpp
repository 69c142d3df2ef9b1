#include "text/NumberEntries.h"

#include "text/CharacterTables.h"
#include "text/EntryGuard.h"
#include "text/NumberText.h"
#include "text/PictureFormat.h"
#include "text/StringValue.h"

using runtime::guardedEntry;
using runtime::StringValue;

namespace {

const runtime::CharacterTables& tables() { return runtime::CharacterTables::system(); }
// The separators are read again at every call: the user may change them.
runtime::NumberSeparators separators() { return runtime::localeSeparators(runtime::systemTextPlatform()); }
StringValue arg(StringHandle s) { return StringValue::borrow(s); }

}  // namespace

double StringVal(StringHandle s) {
    return guardedEntry([&] { return runtime::numberValue(arg(s).view()); });
}

double runCDbl(StringHandle s) {
    return guardedEntry([&] { return runtime::localeNumberValue(tables(), arg(s), separators()); });
}

StringHandle StringStr(double x) {
    return guardedEntry([&] { return StringValue::fromBytes(runtime::numberText(x)).release(); });
}

StringHandle runCStr(double x) {
    return guardedEntry([&] { return runtime::localeNumberText(tables(), x, separators()).release(); });
}

StringHandle StringFormat(double x, StringHandle format) {
    return guardedEntry([&] { return runtime::formatPicture(tables(), x, arg(format), separators()).release(); });
}

StringHandle RuntimeHex(uint32_t value) {
    return guardedEntry([&] { return StringValue::fromBytes(runtime::hexadecimalText(value)).release(); });
}

StringHandle RuntimeOct(uint32_t value) {
    return guardedEntry([&] { return StringValue::fromBytes(runtime::octalText(value)).release(); });
}

int32_t FPToInt(double x) { return runtime::truncatedInteger(x); }
double IntToFP(int32_t value) { return value; }

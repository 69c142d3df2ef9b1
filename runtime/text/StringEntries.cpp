#include "text/StringEntries.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "UnalignedAccess.h"
#include "text/StringValue.h"

using runtime::StringValue;

namespace {

// The user's default locale.
constexpr LCID kUserDefaultLocale = 0x0400;

// Maps CompareStringA's result to -1/0/1; a failed call gives 0.
int32_t collate(StringHandle a, StringHandle b, DWORD flags) {
    const StringValue left = StringValue::borrow(a);
    const StringValue right = StringValue::borrow(b);
    switch (CompareStringA(kUserDefaultLocale, flags, left.cString(), left.length(), right.cString(),
                           right.length())) {
        case CSTR_LESS_THAN: return -1;
        case CSTR_GREATER_THAN: return 1;
        default: return 0;
    }
}

int32_t compareBytes(StringHandle a, StringHandle b) {
    const StringValue left = StringValue::borrow(a);
    const StringValue right = StringValue::borrow(b);
    if (left.empty()) return right.empty() ? 0 : -1;
    if (right.empty()) return 1;
    const int32_t common = std::min(left.length(), right.length());
    const int order = std::memcmp(left.bytes(), right.bytes(), static_cast<size_t>(common));
    if (order != 0) return order < 0 ? -1 : 1;
    return left.length() < right.length() ? -1 : left.length() > right.length() ? 1 : 0;
}

}  // namespace

void RuntimeLockString(StringHandle s) { runtime::lockString(s); }
void RuntimeUnlockString(StringHandle s) { runtime::unlockString(s); }
void VELMLockString(StringHandle s) { runtime::lockString(s); }
void VELMUnlockString(StringHandle s) { runtime::unlockString(s); }

StringHandle RuntimeAddString(StringHandle a, StringHandle b) {
    return (StringValue::borrow(a) + StringValue::borrow(b)).release();
}

int32_t RuntimeStringCompare(StringHandle a, StringHandle b) { return collate(a, b, NORM_IGNORECASE); }

int32_t StringStrCompare(StringHandle a, StringHandle b, int32_t mode) {
    return mode == 0 ? compareBytes(a, b) : collate(a, b, 0);
}

const char* StringGetCString(StringHandle s) { return runtime::cStringOf(s); }
const char* StringToCString(StringHandle s) { return runtime::cStringOf(s); }
const uint8_t* StringGetPString(StringHandle s) { return runtime::pStringOf(s); }
const uint8_t* StringToPString(StringHandle s) { return runtime::pStringOf(s); }

uint32_t StringToOSType(StringHandle s) {
    const StringValue value = StringValue::borrow(s);
    if (value.empty()) return 0x3F3F3F3F;  // "????"
    uint32_t type = 0;
    std::memcpy(&type, value.bytes(), static_cast<size_t>(std::min(value.length(), 4)));
    return type;
}

StringHandle VELMBuildString(const void* bytes, int32_t length) {
    return StringValue::fromBytes(bytes, length).release();
}

StringHandle stringGetter(void* object, int32_t offset) {
    return StringValue::borrow(runtime::loadUnaligned<StringHandle>(object, offset)).release();
}

void stringSetter(void* object, int32_t offset, StringHandle value) {
    // The new reference is added before the old one is dropped: the field may
    // already hold `value`, borrowed from this very field.
    runtime::lockString(value);
    runtime::unlockString(runtime::loadUnaligned<StringHandle>(object, offset));
    runtime::storeUnaligned(object, offset, value);
}

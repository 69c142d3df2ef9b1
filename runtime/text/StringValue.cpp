#include "text/StringValue.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "text/FatalError.h"
#include "text/SmallBlockPool.h"

namespace runtime {
namespace {

// The views of the empty string: a zero length byte followed by the zero that
// ends the (empty) zero-terminated text. Never written, never freed.
constexpr uint8_t kEmptyText[2] = {0, 0};

// Writable byte 0 of the empty string: a scratch byte, so that the shared empty
// views above can never be changed by a caller.
uint8_t emptyScratch;

// The longest text a record can count: its buffer adds the length byte and
// the final zero.
constexpr int32_t kMaxLength = INT32_MAX - 2;

StringHandle newRecord(const void* bytes, int32_t n) {
    if (n > kMaxLength) runOutOfMemory();
    auto* record = static_cast<StringRecord*>(poolAllocate(sizeof(StringRecord)));
    auto* text = static_cast<uint8_t*>(poolAllocate(n + 2));
    record->refCount = 1;
    record->text = text;
    record->capacity = n + 2;
    record->length = n;
    text[0] = lengthByteFor(n);
    if (bytes) std::memcpy(text + 1, bytes, static_cast<size_t>(n));
    text[n + 1] = 0;
    return record;
}

void freeRecord(StringHandle s) {
    poolRelease(s->text, s->capacity);
    poolRelease(s, sizeof(StringRecord));
}

}  // namespace

void lockString(StringHandle s) {
    if (s) ++s->refCount;
}

void unlockString(StringHandle s) {
    if (s && --s->refCount == 0) freeRecord(s);
}

StringValue& StringValue::operator=(const StringValue& other) {
    // The new reference is taken before the old one is dropped, so assigning a
    // value to a holder that already holds it never frees it in between.
    lockString(other.record_);
    unlockString(std::exchange(record_, other.record_));
    return *this;
}

StringValue& StringValue::operator=(StringValue&& other) noexcept {
    if (this != &other) unlockString(std::exchange(record_, std::exchange(other.record_, nullptr)));
    return *this;
}

StringValue StringValue::fromBytes(const void* bytes, int32_t n) {
    if (n <= 0) return {};
    return StringValue(newRecord(bytes, n));
}

StringValue StringValue::fromBytes(std::string_view bytes) {
    if (bytes.size() > static_cast<size_t>(kMaxLength)) runOutOfMemory();
    return fromBytes(bytes.data(), static_cast<int32_t>(bytes.size()));
}

StringValue StringValue::fromCString(const char* text) {
    if (!text) return {};
    return fromBytes(text, static_cast<int32_t>(std::strlen(text)));
}

StringValue StringValue::fromInt(int32_t value) {
    char digits[16];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    return fromBytes(digits, static_cast<int32_t>(result.ptr - digits));
}

const char* cStringOf(StringHandle s) {
    return reinterpret_cast<const char*>(s ? s->text + 1 : kEmptyText + 1);
}

const uint8_t* pStringOf(StringHandle s) { return s ? s->text : kEmptyText; }

uint8_t* StringValue::writableByte(int32_t i) {
    if (!record_) return &emptyScratch;
    if (record_->refCount > 1) *this = fromBytes(cString(), record_->length);
    return record_->text + 1 + i;
}

StringValue StringValue::bytesFrom(int32_t i, int32_t n) const { return fromBytes(cString() + i, n); }

StringValue StringValue::left(int32_t n) const {
    if (n >= length()) return *this;
    if (n < 1) return {};
    return bytesFrom(0, n);
}

StringValue StringValue::right(int32_t n) const {
    if (n >= length()) return *this;
    if (n < 1) return {};
    return bytesFrom(length() - n, n);
}

StringValue StringValue::tail(int32_t i) const {
    i = std::max(i, 0);
    if (i >= length()) return {};
    if (i == 0) return *this;
    return bytesFrom(i, length() - i);
}

StringValue StringValue::slice(int32_t i, int32_t n) const {
    if (i < 0) {
        // Computed in 64 bits: a large negative start must not wrap the count.
        n = static_cast<int32_t>(std::max<int64_t>(int64_t{n} + i, INT32_MIN));
        i = 0;
    }
    if (i >= length() || n < 1) return {};
    if (i == 0 && n == length()) return *this;
    return bytesFrom(i, std::min(n, length() - i));
}

StringValue StringValue::appended(uint8_t c) const {
    StringValue result = fromBytes(nullptr, length() + 1);
    std::memcpy(result.record_->text + 1, cString(), static_cast<size_t>(length()));
    result.record_->text[length() + 1] = c;
    return result;
}

StringValue operator+(const StringValue& a, const StringValue& b) {
    if (b.empty()) return a;
    if (a.empty()) return b;
    // A text that a record cannot count cannot be held either.
    const int64_t total = int64_t{a.length()} + b.length();
    if (total > kMaxLength) runOutOfMemory();
    StringValue result = StringValue::fromBytes(nullptr, static_cast<int32_t>(total));
    std::memcpy(result.record_->text + 1, a.cString(), static_cast<size_t>(a.length()));
    std::memcpy(result.record_->text + 1 + a.length(), b.cString(), static_cast<size_t>(result.length() - a.length()));
    return result;
}

}  // namespace runtime

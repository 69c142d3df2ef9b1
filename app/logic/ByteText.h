// Byte views and bounded byte writers for the application's pure logic.
//
// The logic is compiled both into the application image (freestanding: no C
// library, no exceptions, no global constructors) and natively for the tests,
// so it works on plain byte views and on buffers the caller provides. A writer
// never writes past its buffer: it remembers that something did not fit, and
// the caller reports that instead of sending a cut message.
#pragma once

#include <cstddef>
#include <cstdint>

namespace applogic {

// A read-only view of bytes (Shift-JIS text, file contents, received data).
struct Bytes {
    const uint8_t* data = nullptr;
    int32_t size = 0;

    constexpr Bytes() = default;
    constexpr Bytes(const uint8_t* bytes, int32_t count) : data(bytes), size(count) {}
    // A view of a literal's bytes (without its terminating zero).
    template <size_t N>
    Bytes(const char (&text)[N])
        : data(reinterpret_cast<const uint8_t*>(text)), size(static_cast<int32_t>(N - 1)) {}

    static Bytes of(const char* text, int32_t count) { return Bytes(reinterpret_cast<const uint8_t*>(text), count); }

    constexpr uint8_t operator[](int32_t i) const { return data[i]; }
    constexpr bool empty() const { return size <= 0; }
    // The bytes from `from` on (clamped to the view).
    constexpr Bytes from(int32_t start) const {
        if (start >= size) return Bytes(data + size, 0);
        if (start < 0) start = 0;
        return Bytes(data + start, size - start);
    }
    // At most the first `count` bytes.
    constexpr Bytes first(int32_t count) const {
        if (count < 0) count = 0;
        return Bytes(data, count < size ? count : size);
    }
};

bool equalBytes(Bytes a, Bytes b);

// Appends bytes to a caller-provided buffer; what does not fit is counted as
// overflow and never written.
class ByteWriter {
public:
    ByteWriter(uint8_t* buffer, int32_t capacity) : buffer_(buffer), capacity_(capacity < 0 ? 0 : capacity) {}

    void put(uint8_t byte) {
        if (length_ < capacity_) {
            buffer_[length_++] = byte;
        } else {
            overflow_ = true;
        }
    }
    void put(Bytes bytes) {
        for (int32_t i = 0; i < bytes.size; ++i) put(bytes[i]);
    }
    // Two-byte character codes (lead byte first).
    void putPair(uint16_t code) {
        put(static_cast<uint8_t>(code >> 8));
        put(static_cast<uint8_t>(code & 0xFF));
    }
    // A non-negative number in decimal, at least `minDigits` digits.
    void putDecimal(int32_t value, int32_t minDigits = 1);

    int32_t length() const { return length_; }
    bool overflowed() const { return overflow_; }
    Bytes written() const { return Bytes(buffer_, length_); }
    // The result as the logic's routines report it: the length, or -1 when
    // the buffer was too small.
    int32_t result() const { return overflow_ ? -1 : length_; }
    // Drops everything from `length` on (to undo a partial entry).
    void truncate(int32_t length) {
        if (length >= 0 && length < length_) length_ = length;
    }
    uint8_t* data() { return buffer_; }

private:
    uint8_t* buffer_;
    int32_t capacity_;
    int32_t length_ = 0;
    bool overflow_ = false;
};

}  // namespace applogic

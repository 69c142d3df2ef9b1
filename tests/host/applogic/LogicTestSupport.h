// Helpers for the native tests of the application's logic: Shift-JIS text
// from UTF-8 literals (through the C library's converter, independent of the
// logic's own tables) and calls of the buffer-writing routines.
#pragma once

#include <iconv.h>

#include <stdexcept>
#include <string>

#include "logic/ByteText.h"

namespace logic_test {

inline std::string convert(const std::string& text, const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no converter");
    std::string out(text.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1)) throw std::runtime_error("cannot convert: " + text);
    out.resize(out.size() - outLeft);
    return out;
}

// Shift-JIS (code page 932) bytes of UTF-8 text.
inline std::string sjis(const std::string& utf8) { return convert(utf8, "CP932", "UTF-8"); }

inline applogic::Bytes bytes(const std::string& text) {
    return applogic::Bytes(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int32_t>(text.size()));
}

inline std::string str(applogic::Bytes b) { return std::string(reinterpret_cast<const char*>(b.data), b.size); }

// Runs an encoder with a buffer of the given capacity; "<overflow>" for -1.
template <typename Encoder>
std::string encode(Encoder encoder, const std::string& text, int32_t capacity) {
    std::string buffer(static_cast<size_t>(capacity) + 8, '\x5A');
    const int32_t n = encoder(bytes(text), reinterpret_cast<uint8_t*>(buffer.data()), capacity);
    for (size_t i = static_cast<size_t>(capacity); i < buffer.size(); ++i) {
        if (buffer[i] != '\x5A') throw std::runtime_error("wrote past the buffer");
    }
    if (n < 0) return "<overflow>";
    return buffer.substr(0, static_cast<size_t>(n));
}

}  // namespace logic_test

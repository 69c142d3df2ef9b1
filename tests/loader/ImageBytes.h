// Builders of hand-made image pieces for the loader's tests: code with import
// chains, link records and relocation words.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <string_view>
#include <vector>

#include "loader/ImageFormat.h"

namespace loader_test {

using Bytes = std::vector<uint8_t>;

inline void appendU32(Bytes& bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

inline void appendU16(Bytes& bytes, uint16_t value) {
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

inline Bytes importRecord(uint32_t chainHead, std::string_view name) {
    Bytes record{0x01};
    appendU32(record, chainHead);
    record.push_back(static_cast<uint8_t>(name.size()));
    record.insert(record.end(), name.begin(), name.end());
    return record;
}

inline Bytes dataReference(uint32_t offset) {
    Bytes record{0x02};
    appendU32(record, offset);
    return record;
}

inline Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

inline Bytes relocationWords(std::initializer_list<uint16_t> words) {
    Bytes stream;
    for (uint16_t word : words) appendU16(stream, word);
    return stream;
}

// code1 filled with NOPs, with call sites placed where a test wants them.
struct TestCode {
    Bytes bytes;

    explicit TestCode(size_t size) : bytes(size, 0x90) {}

    // Makes a call site at each displacement field offset, chained in the order
    // given; returns the chain head.
    uint32_t chain(std::initializer_list<uint32_t> fields) {
        uint32_t next = 0;
        for (auto it = std::rbegin(fields); it != std::rend(fields); ++it) {
            bytes[*it - 1] = image::kCallOpcode;
            image::writeU32(bytes.data() + *it, next);
            next = *it;
        }
        return next;
    }

    uint32_t word(uint32_t offset) const { return image::readU32(bytes.data() + offset); }
};

}  // namespace loader_test

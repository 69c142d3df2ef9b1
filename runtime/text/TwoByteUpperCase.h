// The code page's upper-case form of every two-byte character (a lead byte
// and whatever byte follows it), each asked of the platform on its own, and
// which lead bytes begin characters whose upper-case form begins with a given
// byte. Built once, when a double-byte search first needs it: upper-casing a
// text character by character through this table keeps every character in
// its place, also where the platform's upper-casing of a whole text would
// shift the bytes after a malformed character.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "text/TextPlatform.h"

namespace runtime {

class TwoByteUpperCase {
public:
    // `leadBytes` holds 1 for each lead byte of the code page.
    TwoByteUpperCase(const TextPlatform& platform, const std::array<uint8_t, 256>& leadBytes);

    // The upper-case form of the character `lead`, `second` as its two bytes.
    std::array<uint8_t, 2> upper(uint8_t lead, uint8_t second) const {
        const uint8_t* pair = &pairs_[(static_cast<size_t>(rowOf_[lead]) * 256 + second) * 2];
        return {pair[0], pair[1]};
    }

    // The lead bytes whose characters upper-case to one that begins with
    // `first`, in increasing order.
    std::span<const uint8_t> leadsFoldingTo(uint8_t first) const {
        return {leadGroups_.data() + groupStart_[first], static_cast<size_t>(groupStart_[first + 1] - groupStart_[first])};
    }

    // Whether every upper-case form begins with a lead byte, so that a text
    // and its upper-cased copy split into characters at the same places.
    bool keepsLeadBytes() const { return keepsLeadBytes_; }

private:
    std::array<uint8_t, 256> rowOf_{};
    std::vector<uint8_t> pairs_;  // two bytes per character, one row of 256 per lead byte
    std::array<uint16_t, 257> groupStart_{};
    std::vector<uint8_t> leadGroups_;
    bool keepsLeadBytes_ = true;
};

}  // namespace runtime

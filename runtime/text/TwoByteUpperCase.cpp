#include "text/TwoByteUpperCase.h"

#include <bitset>

namespace runtime {

TwoByteUpperCase::TwoByteUpperCase(const TextPlatform& platform, const std::array<uint8_t, 256>& leadBytes) {
    size_t rows = 0;
    for (int b = 0; b < 256; ++b) {
        if (leadBytes[b]) rowOf_[b] = static_cast<uint8_t>(rows++);
    }
    pairs_.resize(rows * 256 * 2);
    // Which first bytes the characters of each lead byte upper-case to.
    std::array<std::bitset<256>, 256> firstsOfLead{};
    for (int lead = 0; lead < 256; ++lead) {
        if (!leadBytes[lead]) continue;
        for (int second = 0; second < 256; ++second) {
            uint8_t* pair = &pairs_[(static_cast<size_t>(rowOf_[lead]) * 256 + second) * 2];
            pair[0] = static_cast<uint8_t>(lead);
            pair[1] = static_cast<uint8_t>(second);
            // One character per call: the platform may shift what follows a
            // malformed character when it upper-cases a longer text.
            platform.upperCase(pair, 2);
            keepsLeadBytes_ = keepsLeadBytes_ && leadBytes[pair[0]];
            firstsOfLead[lead].set(pair[0]);
        }
    }
    // Group the lead bytes by the first bytes they upper-case to.
    for (int first = 0; first < 256; ++first) {
        groupStart_[first] = static_cast<uint16_t>(leadGroups_.size());
        for (int lead = 0; lead < 256; ++lead) {
            if (firstsOfLead[lead].test(first)) leadGroups_.push_back(static_cast<uint8_t>(lead));
        }
    }
    groupStart_[256] = static_cast<uint16_t>(leadGroups_.size());
}

}  // namespace runtime

#include "text/CharacterTables.h"

namespace runtime {

CharacterTables::CharacterTables(const TextPlatform& platform) : platform_(platform) {
    for (int c = 0; c < 256; ++c) {
        const auto byte = static_cast<uint8_t>(c);
        leadBytes_[c] = platform.isLeadByte(byte) ? 1 : 0;
        doubleByte_ = doubleByte_ || leadBytes_[c];
    }
    // A lead byte alone is no character: it keeps its value and has no type.
    for (int c = 0; c < 256; ++c) {
        uint8_t byte = static_cast<uint8_t>(c);
        upper_[c] = lower_[c] = byte;
        if (leadBytes_[c]) continue;
        platform.upperCase(&upper_[c], 1);
        platform.lowerCase(&lower_[c], 1);
        types_[c] = platform.characterType(&byte, 1);
        oneByteUpperKeepsLeadBytes_ = oneByteUpperKeepsLeadBytes_ && !leadBytes_[upper_[c]];
    }
    // Counting sort of the bytes by their upper-case form.
    std::array<uint16_t, 256> counts{};
    for (uint8_t folded : upper_) ++counts[folded];
    for (int v = 0; v < 256; ++v) foldStart_[v + 1] = static_cast<uint16_t>(foldStart_[v] + counts[v]);
    std::array<uint16_t, 256> next{};
    for (int v = 0; v < 256; ++v) next[v] = foldStart_[v];
    for (int c = 0; c < 256; ++c) foldGroups_[next[upper_[c]]++] = static_cast<uint8_t>(c);
}

const CharacterTables& CharacterTables::system() {
    static const CharacterTables tables(systemTextPlatform());
    return tables;
}

uint16_t CharacterTables::characterType(const uint8_t* bytes, int32_t n) const {
    return n == 1 ? types_[bytes[0]] : platform_.characterType(bytes, n);
}

void CharacterTables::upperCaseCharacter(uint8_t* bytes, int32_t n) const {
    if (n == 1) {
        bytes[0] = upper_[bytes[0]];
    } else {
        platform_.upperCase(bytes, n);
    }
}

void CharacterTables::lowerCaseCharacter(uint8_t* bytes, int32_t n) const {
    if (n == 1) {
        bytes[0] = lower_[bytes[0]];
    } else {
        platform_.lowerCase(bytes, n);
    }
}

std::span<const uint8_t> CharacterTables::bytesFoldingTo(uint8_t folded) const {
    return {foldGroups_.data() + foldStart_[folded], static_cast<size_t>(foldStart_[folded + 1] - foldStart_[folded])};
}

const TwoByteUpperCase& CharacterTables::twoByteUpperCase() const {
    std::call_once(twoByteOnce_, [this] { twoByte_ = std::make_unique<TwoByteUpperCase>(platform_, leadBytes_); });
    return *twoByte_;
}

void CharacterTables::upperCaseCharacters(const uint8_t* in, uint8_t* out, size_t n) const {
    const TwoByteUpperCase* twoByte = nullptr;  // fetched at the first two-byte character
    for (size_t i = 0; i < n;) {
        if (leadBytes_[in[i]] && i + 1 < n) {
            if (!twoByte) twoByte = &twoByteUpperCase();
            const std::array<uint8_t, 2> pair = twoByte->upper(in[i], in[i + 1]);
            out[i] = pair[0];
            out[i + 1] = pair[1];
            i += 2;
        } else {
            out[i] = upper_[in[i]];
            ++i;
        }
    }
}

bool CharacterTables::upperCaseKeepsCharacterStarts() const {
    return oneByteUpperKeepsLeadBytes_ && (!doubleByte_ || twoByteUpperCase().keepsLeadBytes());
}

}  // namespace runtime

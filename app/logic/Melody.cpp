#include "Melody.h"

#include "MelodyTables.h"

namespace applogic {
namespace {

constexpr int32_t kTempoTable[10] = {60, 72, 84, 96, 108, 114, 126, 138, 150, 168};
// The upper bounds (exclusive) of each digit's range in quantisation.
constexpr int32_t kTempoBounds[9] = {66, 78, 90, 102, 111, 120, 132, 144, 160};

bool isLineBreak(uint8_t b) { return b == 13 || b == 10; }

}  // namespace

int32_t tempoOfDigit(uint8_t digit) {
    if (digit < '0' || digit > '9') return 0;
    return kTempoTable[digit - '0'];
}

QuantisedTempo quantiseTempo(int32_t bpm) {
    int32_t index = 0;
    while (index < 9 && bpm >= kTempoBounds[index]) ++index;
    return {kTempoTable[index], static_cast<uint8_t>('0' + index)};
}

int32_t melodyNoteCount(int32_t melodyTextLength) {
    return melodyTextLength > 5 ? (melodyTextLength - 5) / 3 : 0;
}

int32_t melodyLengthShare(int32_t melodyTextLength) {
    return melodyTextLength > 3 ? (melodyTextLength - 3) / 2 : 0;
}

void putTempoLine(ByteWriter& out, int32_t bpm) {
    out.put(Bytes("Tempo="));
    out.putDecimal(bpm);
    out.put(Bytes("\r\n"));
}

void putBeats(ByteWriter& out, int32_t twelfths) {
    if (twelfths < 0) twelfths = 0;
    out.putDecimal(twelfths / 12);
    // Seven decimals of a twelfth never end in an exact half, so rounding
    // half up gives what the formatted output gives.
    int32_t fraction = ((twelfths % 12) * 10000000 + 6) / 12;
    if (fraction == 0) return;
    int32_t digits = 7;
    while (fraction % 10 == 0) {
        fraction /= 10;
        --digits;
    }
    out.put('.');
    out.putDecimal(fraction, digits);
}

bool pitchOfCode(uint8_t tens, uint8_t units, int32_t& note, Bytes& name) {
    if (tens == '0' && units == '0') {
        note = 0;
        name = Bytes::of(kRestName, 2);
        return true;
    }
    for (const PitchEntry& pitch : kPitches) {
        if (pitch.code[0] == tens && pitch.code[1] == units) {
            note = pitch.note;
            name = tableText(pitch.name);
            return true;
        }
    }
    return false;
}

MelodyListing::MelodyListing(Bytes digits, int32_t currentBpm, ByteWriter& listing, ByteWriter& playList)
    : digits_(digits), bpm_(currentBpm), listing_(listing), playList_(playList) {}

bool MelodyListing::readDigit(uint8_t& digit) {
    while (position_ < digits_.size && isLineBreak(digits_[position_])) ++position_;
    if (position_ >= digits_.size) return false;
    digit = digits_[position_++];
    return true;
}

bool MelodyListing::start() {
    uint8_t tempo = 0;
    if (!readDigit(tempo)) return false;
    if (tempoOfDigit(tempo) != 0) bpm_ = tempoOfDigit(tempo);
    putTempoLine(listing_, bpm_);
    return true;
}

bool MelodyListing::next() {
    uint8_t duration = 0, tens = 0, units = 0;
    if (!readDigit(duration)) return false;
    const bool complete = readDigit(tens) && readDigit(units);
    ++groups_;
    for (const LengthEntry& length : kTypedLengths) {
        if (length.digit == duration) {
            twelfths_ = length.twelfths;
            lengthName_ = tableText(length.name);
        }
    }
    putBeats(playList_, twelfths_);
    playList_.put('#');
    const bool tie = complete && tens == '0' && units == '1';
    if (tie) {
        playList_.put(Bytes("0#"));
        note_ = 0;
        if (hasEntry_) {
            // The tie lengthens the entry before it: "ド(４)" becomes "ド(４+８)".
            listing_.truncate(listing_.length() - 1);
            listing_.put('+');
        } else {
            // Nothing to lengthen: the tie sounds as a rest.
            listing_.put(Bytes::of(kRestName, 2));
            listing_.put('(');
        }
        listing_.put(lengthName_);
        listing_.put(')');
        hasEntry_ = true;
        return true;
    }
    int32_t note = 0;
    Bytes name;
    if (complete && pitchOfCode(tens, units, note, name)) {
        note_ = note;
        pitchName_ = name;
    }
    playList_.putDecimal(note_);
    playList_.put('#');
    listing_.put(pitchName_);
    listing_.put('(');
    listing_.put(lengthName_);
    listing_.put(')');
    hasEntry_ = true;
    return true;
}

void MelodyListing::finish() {
    playList_.put(Bytes("FF"));
    listing_.put(Bytes("\r\nEnd"));
}

}  // namespace applogic

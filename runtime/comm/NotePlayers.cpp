#include <array>

#include "comm/MidiOutput.h"
#include "comm/NotePlayerEntries.h"

using namespace runtime;

namespace {

constexpr int32_t kChannelCount = 16;
constexpr uint32_t kNoteOn = 0x90;
constexpr uint32_t kNoteOff = 0x80;
constexpr uint32_t kProgramChange = 0xC0;
constexpr uint32_t kReleaseVelocity = 64;
// MIDI data bytes have 7 bits; a wider value would turn into a status byte.
constexpr uint32_t kDataMask = 0x7F;

// Process-wide: one device for all players.
struct MidiState {
    bool deviceOpen = false;
    int32_t livePlayers = 0;
    std::array<bool, kChannelCount> channelInUse{};
};
MidiState gMidi;

NotePlayerFields& fieldsOf(ObjectHandle player) {
    return *reinterpret_cast<NotePlayerFields*>(reinterpret_cast<char*>(player) + kNotePlayerFieldsOffset);
}

uint32_t data(int32_t value) { return static_cast<uint32_t>(value) & kDataMask; }

void sendFor(const NotePlayerFields& fields, uint32_t status, uint32_t data1, uint32_t data2) {
    midiOutput().send((status | static_cast<uint32_t>(fields.channel)) | data1 << 8 | data2 << 16);
}

}  // namespace

namespace runtime {

void initialiseNotePlayer(ObjectHandle player, ClassRecord*) {
    if (gMidi.livePlayers == 0) gMidi.deviceOpen = midiOutput().open();
    ++gMidi.livePlayers;
    if (!gMidi.deviceOpen) return;
    for (int32_t channel = 0; channel < kChannelCount; ++channel) {
        if (gMidi.channelInUse[channel]) continue;
        gMidi.channelInUse[channel] = true;
        fieldsOf(player).channel = channel;
        fieldsOf(player).hasChannel = 1;
        return;
    }
}

void finaliseNotePlayer(ObjectHandle player, ClassRecord*) {
    NotePlayerFields& fields = fieldsOf(player);
    if (fields.hasChannel) {
        gMidi.channelInUse[fields.channel & (kChannelCount - 1)] = false;
        fields.hasChannel = 0;
    }
    if (--gMidi.livePlayers == 0 && gMidi.deviceOpen) {
        midiOutput().close();
        gMidi.deviceOpen = false;
    }
}

}  // namespace runtime

void notePlayerPlayNote(ObjectHandle player, int32_t note, int32_t velocity) {
    if (!player || !fieldsOf(player).hasChannel) return;
    const NotePlayerFields& fields = fieldsOf(player);
    if (velocity != 0) {
        sendFor(fields, kNoteOn, data(note), data(velocity));
    } else {
        sendFor(fields, kNoteOff, data(note), kReleaseVelocity);
    }
}

void notePlayerInstrumentSetter(ObjectHandle player, int32_t instrument) {
    if (!player) return;
    NotePlayerFields& fields = fieldsOf(player);
    if (fields.instrument == instrument) return;
    fields.instrument = instrument;
    if (fields.hasChannel) sendFor(fields, kProgramChange, data(instrument), 0);
}

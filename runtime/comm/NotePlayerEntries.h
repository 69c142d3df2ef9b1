// The NotePlayer control: single MIDI notes on the first MIDI output device,
// each player on a channel of its own. The device is open while at least one
// player exists; without a device every player is silent.
#pragma once

#include <cstddef>
#include <cstdint>

#include "RuntimeCall.h"
#include "objects/ClassRecord.h"

RUNTIME_ENTRY void notePlayerPlayNote(ObjectHandle player, int32_t note, int32_t velocity);
RUNTIME_ENTRY void notePlayerInstrumentSetter(ObjectHandle player, int32_t instrument);

namespace runtime {

// Instance data of NotePlayer after the data of Control.
struct NotePlayerFields {
    int32_t channel;     // 0 to 15
    int32_t instrument;  // the Instrument property
    uint8_t hasChannel;
};
constexpr int32_t kNotePlayerFieldsOffset = 88;
#if defined(__i386__)
static_assert(offsetof(NotePlayerFields, instrument) == 4 && offsetof(NotePlayerFields, hasChannel) == 8);
static_assert(kNotePlayerFieldsOffset + sizeof(NotePlayerFields) == 100);
#endif

// Class hooks: a channel is taken with the player and given back with it.
void initialiseNotePlayer(ObjectHandle player, ClassRecord*);
void finaliseNotePlayer(ObjectHandle player, ClassRecord*);

}  // namespace runtime

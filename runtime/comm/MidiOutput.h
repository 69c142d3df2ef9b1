// Where the note players' short MIDI messages go: the system's first MIDI
// output device, or an output a test installs to see the messages (there is
// no synthesiser on the test machines).
#pragma once

#include <cstdint>

namespace runtime {

class MidiOutput {
public:
    virtual ~MidiOutput() = default;
    // False when there is no device: the players then stay silent.
    virtual bool open() = 0;
    // One short message: status | data1 << 8 | data2 << 16.
    virtual void send(uint32_t message) = 0;
    virtual void close() = 0;
};

// The output in use: the system's unless another is installed.
MidiOutput& midiOutput();
// Installs `output` for the players made from now on; null restores the
// system's. The device is opened and closed with the players, so install
// only while no NotePlayer exists.
void setMidiOutput(MidiOutput* output);

}  // namespace runtime

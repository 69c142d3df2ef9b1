#include "comm/MidiOutput.h"

#include <windows.h>
#include <mmsystem.h>

namespace runtime {
namespace {

// The first MIDI output device of the system, through winmm.
class SystemMidiOutput final : public MidiOutput {
public:
    bool open() override {
        if (midiOutOpen(&handle_, 0, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) handle_ = nullptr;
        return handle_ != nullptr;
    }
    void send(uint32_t message) override {
        if (handle_) midiOutShortMsg(handle_, message);
    }
    void close() override {
        if (handle_) midiOutClose(handle_);
        handle_ = nullptr;
    }

private:
    HMIDIOUT handle_ = nullptr;
};

SystemMidiOutput gSystemOutput;
MidiOutput* gInstalled = nullptr;

}  // namespace

MidiOutput& midiOutput() { return gInstalled ? *gInstalled : gSystemOutput; }
void setMidiOutput(MidiOutput* output) { gInstalled = output; }

}  // namespace runtime

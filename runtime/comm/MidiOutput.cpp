#include "comm/MidiOutput.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstdio>

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

// Short messages written as lines "<GetTickCount> <message in hex>" to the
// file that the environment variable SUTAKIBA_MIDI_LOG names: how tests that
// drive the whole program from outside hear it on machines without a
// synthesiser.
class LoggedMidiOutput final : public MidiOutput {
public:
    static const char* path() {
        static char name[MAX_PATH];
        const DWORD n = GetEnvironmentVariableA("SUTAKIBA_MIDI_LOG", name, MAX_PATH);
        return n > 0 && n < MAX_PATH ? name : nullptr;
    }
    bool open() override {
        file_ = CreateFileA(path(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file_ == INVALID_HANDLE_VALUE) file_ = nullptr;
        return file_ != nullptr;
    }
    void send(uint32_t message) override {
        if (!file_) return;
        char line[40];
        const int n = std::snprintf(line, sizeof line, "%lu %06lX\r\n", static_cast<unsigned long>(GetTickCount()),
                                    static_cast<unsigned long>(message));
        DWORD written = 0;
        if (n > 0) WriteFile(file_, line, static_cast<DWORD>(n), &written, nullptr);
    }
    void close() override {
        if (file_) CloseHandle(file_);
        file_ = nullptr;
    }

private:
    HANDLE file_ = nullptr;
};

SystemMidiOutput gSystemOutput;
LoggedMidiOutput gLoggedOutput;
MidiOutput* gInstalled = nullptr;

}  // namespace

MidiOutput& midiOutput() {
    if (gInstalled) return *gInstalled;
    if (LoggedMidiOutput::path()) return gLoggedOutput;
    return gSystemOutput;
}
void setMidiOutput(MidiOutput* output) { gInstalled = output; }

}  // namespace runtime

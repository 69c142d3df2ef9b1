// The preview of the melody ("着メロ試聴" on the first and fourth tab):
// Timer3 walks the play list, one note per period, on NotePlayer1.
#include "MelodyImports.h"
#include "MelodyState.h"
#include "logic/Melody.h"

using namespace app::literals;
using app::Object;
using app::String;

namespace {

constexpr int32_t kTimerOff = 0;
constexpr int32_t kTimerRepeating = 2;
constexpr int32_t kLoudest = 127;
// Shortest melody digits that hold a note: "*6*6", tempo digit, one digit.
constexpr int32_t kShortestMelody = 6;

void setPreviewCaptions(ObjectHandle window, StringHandle caption) {
    const StringHandle names[2] = {"PushButton7"_s, "PushButton4"_s};
    for (StringHandle name : names) {
        const Object button = app::control(window, name);
        if (button) pushButtonTitleSetter(button.get(), caption);
    }
}

void setProgress(ObjectHandle window, int32_t maximum, int32_t value) {
    const Object bar = app::control(window, "Prog_Status"_s);
    if (!bar) return;
    if (maximum >= 0) progressMaximumSetter(bar.get(), maximum);
    progressValueSetter(bar.get(), value);
}

void setTimerMode(ObjectHandle window, int32_t mode) {
    const Object timer = app::control(window, "Timer3"_s);
    if (timer) timerModeSetter(timer.get(), mode);
}

void playNote(ObjectHandle window, int32_t note, int32_t velocity) {
    const Object player = app::control(window, "NotePlayer1"_s);
    if (player) notePlayerPlayNote(player.get(), note, velocity);
}

// Ends the preview: captions back, timer off, progress empty, and the note
// sounding last switched off.
void stopPreview(ObjectHandle window, int32_t progressMaximum) {
    app::MelodyState& state = app::melodyState(window);
    setPreviewCaptions(window, "着メロ試聴"_s);
    state.playing = 0;
    state.position = 1;
    setTimerMode(window, kTimerOff);
    setProgress(window, progressMaximum, 0);
    playNote(window, state.lastNote, 0);
}

String playListField(ObjectHandle window, int32_t field) {
    return String::adopt(kejNthField(app::melodyState(window).playList, "#"_s, field));
}

}  // namespace

extern "C" {

void Window1_Play_Music(ObjectHandle window) {
    app::MelodyState& state = app::melodyState(window);
    if (app::melodyText(window).length() < kShortestMelody) {
        RuntimeBeep();
        RuntimeMsgBox("着メロデータがありません"_s);
        app::setEnabled(window, "PushButton7"_s, false);
        app::setEnabled(window, "PushButton4"_s, false);
        setProgress(window, 100, 0);
        return;
    }
    if (state.playing) {
        stopPreview(window, 100);
        return;
    }
    setPreviewCaptions(window, "演奏停止"_s);
    state.playing = 1;
    state.fieldCount = kejCountFields(state.playList, "#"_s);
    state.position = 1;
    setTimerMode(window, kTimerRepeating);
    setProgress(window, state.fieldCount, 0);
}

// One step of the preview: the next note starts and sounds for its beats at
// the melody's tempo; earlier notes are not stopped.
void Timer3_Action(ObjectHandle timer) {
    const ObjectHandle window = app::mainWindow();
    app::MelodyState& state = app::melodyState(window);
    if (!state.playing) {
        timerModeSetter(timer, kTimerOff);
        return;
    }
    setProgress(window, -1, state.position);
    const String beats = playListField(window, state.position);
    if (applogic::equalBytes(app::bytesOf(beats), applogic::Bytes("FF")) || state.position >= state.fieldCount) {
        stopPreview(window, -1);
        return;
    }
    state.position += 1;
    const int32_t note = static_cast<int32_t>(StringVal(playListField(window, state.position).get()));
    playNote(window, note, note != 0 ? kLoudest : 0);
    state.lastNote = note;
    state.position += 1;
    const int32_t bpm = state.bpm > 0 ? state.bpm : applogic::tempoOfDigit('0');
    timerPeriodSetter(timer, static_cast<int32_t>(60000.0 * StringVal(beats.get()) / bpm));
}

void PushButton7_Action(ObjectHandle) { Window1_Play_Music(app::mainWindow()); }
void PushButton4_Action(ObjectHandle) { Window1_Play_Music(app::mainWindow()); }

}  // extern "C"

// Typed melodies: the tempo, the readable listing and play list built from
// the digits in Edit_Melo ("音データ生成"), the note counts, and the digits
// redisplayed in colour.
#include "MelodyBuffer.h"
#include "MelodyImports.h"
#include "MelodyState.h"
#include "logic/Melody.h"

using namespace app::literals;
using app::MelodyBuffer;
using app::Object;
using app::String;
using applogic::Bytes;

namespace {

constexpr int32_t kRed = 0xFF0000;
constexpr int32_t kBlue = 0x0000FF;
constexpr int32_t kBlack = 0x000000;
// "*6*6" and the tempo digit come before the notes.
constexpr int32_t kPrefixLength = 4;

StringHandle noMelodyText() { return "着メロデータがありません"_s; }

// `text` without CR and LF (typed digits may span lines).
String withoutLineBreaks(const String& text) {
    const Bytes bytes = app::bytesOf(text);
    MelodyBuffer buffer(bytes.size);
    for (int32_t i = 0; i < bytes.size; ++i) {
        if (bytes[i] != 13 && bytes[i] != 10) buffer.writer().put(bytes[i]);
    }
    return buffer.text();
}

// "*6*6" + the digits of Edit_Melo.
String melodyOfField(ObjectHandle window) {
    return String::borrow("*6*6"_s) + withoutLineBreaks(app::fieldText(window, "Edit_Melo"_s));
}

void replaceString(StringHandle& field, StringHandle value) {
    RuntimeLockString(value);  // before the unlock: `value` may be the field's
    RuntimeUnlockString(field);
    field = value;
}

// Colours `length` characters of `field` from `start`.
void colourRun(ObjectHandle field, int32_t start, int32_t length, int32_t colour) {
    if (length <= 0) return;
    editSelStartSetter(field, start);
    editSelLengthSetter(field, length);
    editSelTextColorSetter(field, colour);
}

}  // namespace

namespace app {

String melodyText(ObjectHandle window) { return String::borrow(melodyState(window).melodyText); }

void setMelodyText(ObjectHandle window, const String& text) {
    replaceString(melodyState(window).melodyText, text.get());
    window1State(window).melodyNoteCount = applogic::melodyLengthShare(text.length());
}

void setPlayList(ObjectHandle window, const String& list) { replaceString(melodyState(window).playList, list.get()); }

// Preview and attachment are offered once there is a melody.
void offerMelody(ObjectHandle window) {
    setEnabled(window, "PushButton7"_s, true);
    setEnabled(window, "PushButton4"_s, true);
    setEnabled(window, "Check_Melo"_s, true);
}

}  // namespace app

extern "C" {

void Window1_Make_Tempo(ObjectHandle window, StringHandle digit) {
    if (!digit || digit->length < 1) return;
    const int32_t bpm = applogic::tempoOfDigit(digit->text[1]);
    if (bpm != 0) app::melodyState(window).bpm = bpm;
}

void Window1_Tempo_Set(ObjectHandle window) {
    app::MelodyState& state = app::melodyState(window);
    const applogic::QuantisedTempo tempo = applogic::quantiseTempo(state.bpm);
    state.bpm = tempo.bpm;
    const uint8_t digit = tempo.digit;
    app::setMelodyText(window, String::borrow("*6*6"_s) + app::stringOf(Bytes(&digit, 1)));
}

void Window1_Melo_Onsu(ObjectHandle window) {
    const int32_t notes = applogic::melodyNoteCount(app::melodyText(window).length());
    const String most = app::fieldText(window, "Edit_Onsu"_s);
    const int32_t colour = notes > static_cast<int32_t>(StringVal(most.get())) ? kRed : kBlue;
    const String count = app::numberText(notes);
    const String labelled = String::borrow("音数："_s) + count;
    const StringHandle captions[2] = {count.get(), labelled.get()};
    const StringHandle names[2] = {"Static_Onsu"_s, "Static_Onsu2"_s};
    for (int32_t i = 0; i < 2; ++i) {
        const Object display = app::control(window, names[i]);
        if (!display) continue;
        staticCaptionSetter(display.get(), captions[i]);
        staticTextColorSetter(display.get(), colour);
    }
}

// "音データ生成": the listing into Edit_Melo2, the play list for the preview.
void Window1_Make_Melo(ObjectHandle window) {
    const String typed = withoutLineBreaks(app::fieldText(window, "Edit_Melo"_s));
    if (typed.length() == 0) {
        RuntimeBeep();
        RuntimeMsgBox(noMelodyText());
        return;
    }
    app::MelodyState& state = app::melodyState(window);
    app::setMelodyText(window, String::borrow("*6*6"_s) + typed);
    Window1_Make_Tempo(window, typed.get());
    // A first digit that names no tempo keeps the tempo there is, or the
    // slowest when there has never been one.
    if (state.bpm <= 0) state.bpm = applogic::tempoOfDigit('0');

    const Bytes digits = app::bytesOf(typed);
    MelodyBuffer listing(applogic::melodyListingCapacity(digits.size));
    MelodyBuffer playList(applogic::melodyPlayListCapacity(digits.size));
    applogic::MelodyListing melody(digits, state.bpm, listing.writer(), playList.writer());
    melody.start();
    while (!getUserCancelled() && melody.next()) {
    }
    melody.finish();
    app::setPlayList(window, playList.text());

    const Object shown = app::control(window, "Edit_Melo2"_s);
    if (shown) {
        editTextFontSetter(shown.get(), "MS Gothic"_s);
        const String text = listing.text();
        editTextSetter(shown.get(), text.get());
        editSelStartSetter(shown.get(), text.length());
        editSelLengthSetter(shown.get(), 0);
    }
    app::setMelodyText(window, melodyOfField(window));
    Window1_Melo_Onsu(window);
    Window1_Mojisu(window);
    app::offerMelody(window);
}

// The melody digits shown again in Edit_Melo: the tempo digit in black, each
// note's duration digit in red and its pitch code in blue.
void Window1_Melo_Data(ObjectHandle window) {
    const Object field = app::control(window, "Edit_Melo"_s);
    if (!field) return;
    const String melody = app::melodyText(window);
    ControlVisibleSetter(field.get(), false);
    editTextColorSetter(field.get(), kBlack);
    editTextSetter(field.get(), app::stringOf(app::bytesOf(melody).from(kPrefixLength)).get());
    for (int32_t start = 1; start < melody.length() - kPrefixLength; start += 3) {
        colourRun(field.get(), start, 1, kRed);
        colourRun(field.get(), start + 1, 2, kBlue);
    }
    editSelStartSetter(field.get(), 0);
    editSelLengthSetter(field.get(), 0);
    ControlVisibleSetter(field.get(), true);
}

// Pointing at or typing into Edit_Melo takes its digits as the melody.
void Edit_Melo_MouseEnter(ObjectHandle) {
    const ObjectHandle window = app::mainWindow();
    app::setMelodyText(window, melodyOfField(window));
    Window1_Melo_Onsu(window);
    Window1_Mojisu(window);
}

bool Edit_Melo_KeyDown(ObjectHandle field, StringHandle) {
    Edit_Melo_MouseEnter(field);
    return false;
}

void PushButton3_Action(ObjectHandle) { Window1_Make_Melo(app::mainWindow()); }

}  // extern "C"

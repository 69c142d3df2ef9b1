// "ALS 読込": a melody file turned into melody digits, a listing and a play
// list; its title becomes the message.
#include "MelodyBuffer.h"
#include "MelodyImports.h"
#include "MelodyState.h"
#include "logic/AlsImport.h"
#include "logic/Melody.h"
#include "logic/MelodyTables.h"

using namespace app::literals;
using app::MelodyBuffer;
using app::Object;
using app::String;
using applogic::Bytes;

namespace {

constexpr int32_t kMagenta = 0xFF00FF;
constexpr int32_t kBlue = 0x0000FF;
constexpr int32_t kOrange = 0xFF8000;
constexpr int32_t kBlack = 0x000000;
constexpr int32_t kHeightSelector = 3;
constexpr int32_t kMelodyFieldHeight = 100;

void setMelodyFieldHeight(ObjectHandle window, int32_t height) {
    const Object field = app::control(window, "Edit_Melo"_s);
    if (field) ctlPosSetter(field.get(), kHeightSelector, height);
}

void setProgress(ObjectHandle window, int32_t maximum, int32_t value) {
    const Object bar = app::control(window, "Prog_Status"_s);
    if (!bar) return;
    if (maximum >= 0) progressMaximumSetter(bar.get(), maximum);
    progressValueSetter(bar.get(), value);
}

void colourRun(ObjectHandle field, int32_t start, int32_t length, int32_t colour) {
    if (length <= 0) return;
    editSelStartSetter(field, start);
    editSelLengthSetter(field, length);
    editSelTextColorSetter(field, colour);
}

int32_t hexValue(uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

void putHex(applogic::ByteWriter& out, Bytes bytes) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    for (int32_t i = 0; i < bytes.size; ++i) {
        out.put(static_cast<uint8_t>(kDigits[bytes[i] >> 4]));
        out.put(static_cast<uint8_t>(kDigits[bytes[i] & 15]));
    }
}

bool endsWithAls(Bytes name) {
    if (name.size < 4) return false;
    const Bytes tail = name.from(name.size - 4);
    const char* als = ".als";
    for (int32_t i = 0; i < 4; ++i) {
        uint8_t c = tail[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<uint8_t>(c + 32);
        if (c != static_cast<uint8_t>(als[i])) return false;
    }
    return true;
}

// The file's name without its ".als".
String shownName(ObjectHandle item) {
    const String name = String::adopt(fileNameGetter(item));
    const Bytes bytes = app::bytesOf(name);
    return endsWithAls(bytes) ? app::stringOf(bytes.first(bytes.size - 4)) : name;
}

String readWholeFile(ObjectHandle item, bool& opened) {
    const Object stream = Object::adopt(FolderItemOpenTextFile(item));
    opened = static_cast<bool>(stream);
    if (!opened) return String();
    String contents = String::adopt(TextInputStreamReadAll(stream.get()));
    TextInputStreamClose(stream.get());
    return contents;
}

// Puts the window back the way it is between imports.
void endImport(ObjectHandle window) {
    setProgress(window, 100, 0);
    setMelodyFieldHeight(window, kMelodyFieldHeight);
    const Object field = app::control(window, "Edit_Melo"_s);
    if (!field) return;
    editSelStartSetter(field.get(), 0);
    editSelLengthSetter(field.get(), 0);
}

// Appends converted digits to Edit_Melo: per note the duration digit in
// magenta, the pitch code in blue and the tie digits in orange.
void showImportedDigits(ObjectHandle window, Bytes digits, Bytes extraCounts) {
    const Object field = app::control(window, "Edit_Melo"_s);
    if (!field) return;
    const String before = app::fieldText(window, "Edit_Melo"_s);
    editTextSetter(field.get(), (before + app::stringOf(digits)).get());
    int32_t start = before.length();
    for (int32_t note = 0; note < extraCounts.size; ++note) {
        colourRun(field.get(), start, 1, kMagenta);
        colourRun(field.get(), start + 1, 2, kBlue);
        colourRun(field.get(), start + 3, extraCounts[note], kOrange);
        start += 3 + extraCounts[note];
    }
}

}  // namespace

extern "C" {

// The pitch code of a pitch byte given as two hex digits: "00" for the rest
// and for bytes outside the table.
StringHandle Window1_Change_Onkai(ObjectHandle, StringHandle hexByte) {
    const Bytes hex = app::bytesOf(String::borrow(hexByte));
    if (hex.size < 2) return RuntimeAddString("00"_s, nullptr);
    const int32_t byte = hexValue(hex[0]) * 16 + hexValue(hex[1]);
    const int32_t index = byte - 0x2E;
    if (index < 0 || index >= 29) return RuntimeAddString("00"_s, nullptr);
    return VELMBuildString(applogic::kPitches[index].code, 2);
}

// The notes of song data (hex text, after the tempo byte) as melody digits;
// the play list, Edit_Melo's coloured digits and the listing in Edit_Melo2
// follow them. A cancel keeps what was converted.
StringHandle Window1_Change_Melo(ObjectHandle window, StringHandle hexText) {
    const String hexHeld = String::borrow(hexText);
    const Bytes hex = app::bytesOf(hexHeld);
    // The converter expects the song with its tempo byte in front.
    MelodyBuffer song(1 + hex.size / 2);
    song.writer().put(0);
    for (int32_t i = 0; i + 1 < hex.size; i += 2) {
        song.writer().put(static_cast<uint8_t>(hexValue(hex[i]) * 16 + hexValue(hex[i + 1])));
    }
    const Bytes songBytes = song.written();
    MelodyBuffer digits(applogic::alsDigitsCapacity(songBytes.size));
    MelodyBuffer listing(applogic::alsListingCapacity(songBytes.size));
    MelodyBuffer playList(applogic::alsPlayListCapacity(songBytes.size));
    MelodyBuffer extraCounts(songBytes.size);
    applogic::AlsConverter converter(songBytes, digits.writer(), listing.writer(), playList.writer());

    setProgress(window, hex.size, 1);
    while (!getUserCancelled() && converter.next()) {
        const int32_t extra = converter.lastExtraDigits();
        extraCounts.writer().put(static_cast<uint8_t>(extra > 255 ? 255 : extra));
        setProgress(window, -1, converter.progress() - 2);
    }
    converter.finish();
    app::setPlayList(window, playList.text());
    showImportedDigits(window, digits.written(), extraCounts.written());

    const Object shown = app::control(window, "Edit_Melo2"_s);
    if (shown) {
        editTextFontSetter(shown.get(), "System"_s);
        const String text = app::fieldText(window, "Edit_Melo2"_s) + listing.text();
        editTextSetter(shown.get(), text.get());
    }
    return digits.text().release();
}

void Window1_ALS_Load(ObjectHandle window) {
    const Object item = Object::adopt(RuntimeGetOpenFolderItem("Audio/X-Alpha5"_s));
    if (!item) return;
    bool opened = false;
    const String contents = readWholeFile(item.get(), opened);
    if (!opened) return;
    // A file without song data leaves the melody there is.
    const Bytes file = app::bytesOf(contents);
    Bytes song;
    if (!applogic::alsSong(file, song)) {
        RuntimeBeep();
        RuntimeMsgBox("着メロデータがありません"_s);
        return;
    }
    setProgress(window, 0, 0);
    setMelodyFieldHeight(window, 0);
    app::setMelodyText(window, String());
    String title = app::stringOf(applogic::alsTitle(file));
    if (title.length() == 0) title = shownName(item.get());

    MelodyBuffer tempoLine(32);
    applogic::putTempoLine(tempoLine.writer(), applogic::alsTempo(song));
    app::setFieldText(window, "Edit_Melo2"_s, tempoLine.text().get());
    app::melodyState(window).bpm = applogic::alsTempo(song);
    Window1_Tempo_Set(window);

    const Object field = app::control(window, "Edit_Melo"_s);
    if (field) {
        editTextColorSetter(field.get(), kBlack);
        editTextSetter(field.get(), app::stringOf(app::bytesOf(app::melodyText(window)).from(4)).get());
    }

    MelodyBuffer notesHex(2 * song.size);
    putHex(notesHex.writer(), song.from(1));
    const String notes = String::adopt(Window1_Change_Melo(window, notesHex.text().get()));
    app::setMelodyText(window, app::melodyText(window) + notes);
    Window1_Melo_Onsu(window);

    app::setFieldText(window, "Edit_Msg"_s, (title + String::borrow("\r\n"_s)).get());
    Window1_Mojisu(window);
    app::offerMelody(window);
    app::setChecked(window, "Check_Melo"_s, true);
    endImport(window);
}

void PushButton6_Action(ObjectHandle) { Window1_ALS_Load(app::mainWindow()); }

}  // extern "C"

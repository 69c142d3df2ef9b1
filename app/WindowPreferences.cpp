// The preferences: the modem speaker set-up at start, the serial port menu,
// and the fourteen lines of the preferences file read into and written from
// the settings the window shows.
#include "SafeSave.h"
#include "Window1State.h"
#include "logic/Preferences.h"

using namespace app::literals;
using app::Object;
using app::String;
using applogic::PreferenceLine;

namespace {

// The Serial instance's port field (0 is COM1).
constexpr int32_t kSerialPortFieldOffset = 40;

void choosePort(ObjectHandle serial, int32_t row) {
    *reinterpret_cast<int16_t*>(reinterpret_cast<uint8_t*>(serial) + kSerialPortFieldOffset) =
        static_cast<int16_t>(row);
}

Object preferencesFile() {
    const Object folder = Object::adopt(getPreferencesFolder());
    if (!folder) return Object();
    const String name = app::stringOf(applogic::Bytes(applogic::kPreferencesFileName));
    return Object::adopt(FolderChild(folder.get(), name.get()));
}

StringHandle textLine(PreferenceLine line) {
    switch (line) {
        case PreferenceLine::OutsideLinePrefix: return "Edit_Head"_s;
        case PreferenceLine::MelodyNoteLimit: return "Edit_Onsu"_s;
        case PreferenceLine::MailAddress: return "Edit_MailAdd"_s;
        case PreferenceLine::SmtpServer: return "Edit_SMTP"_s;
        case PreferenceLine::SmtpPort: return "Edit_Port"_s;
        case PreferenceLine::ReplyNumber: return "Edit_RESNO"_s;
        default: return nullptr;
    }
}

StringHandle flagLine(PreferenceLine line) {
    switch (line) {
        case PreferenceLine::DialThroughExtension: return "Check_DialTone"_s;
        case PreferenceLine::SendByMail: return "Check_Email"_s;
        case PreferenceLine::CopyToSelf: return "Check_MeToo"_s;
        case PreferenceLine::ManualSending: return "Check_Manual"_s;
        default: return nullptr;
    }
}

void applyWindowCoordinate(ObjectHandle window, int32_t selector, applogic::Bytes line) {
    int32_t value = 0;
    if (applogic::integerFromLine(line, value) && applogic::isUsableWindowCoordinate(value)) {
        windowPosSetter(window, selector, value);
    }
}

void applyLine(ObjectHandle window, PreferenceLine line, const String& text) {
    const applogic::Bytes bytes = app::bytesOf(text);
    if (const StringHandle field = textLine(line)) {
        app::setFieldText(window, field, text.get());
    } else if (const StringHandle box = flagLine(line)) {
        app::setChecked(window, box, applogic::flagFromLine(bytes));
    } else if (line == PreferenceLine::WindowTop) {
        applyWindowCoordinate(window, 1, bytes);
    } else if (line == PreferenceLine::WindowLeft) {
        applyWindowCoordinate(window, 0, bytes);
    } else if (line == PreferenceLine::LineType) {
        const applogic::LineTypeChoice choice = applogic::lineTypeFromLine(bytes);
        if (choice == applogic::LineTypeChoice::Unchanged) return;
        const Object radio = app::control(window, choice == applogic::LineTypeChoice::Tone ? "Radio_Tone"_s : "Radio_Pulse"_s);
        if (radio) radioValueSetter(radio.get(), true);
    } else if (line == PreferenceLine::SerialPortIndex) {
        const Object popup = app::control(window, "Serial_Popup"_s);
        if (popup) RuntimePopupSelectionSetter(popup.get(), applogic::serialRowFromLine(bytes, RuntimePopupCountGetter(popup.get())));
    }
}

String flagLineText(ObjectHandle window, StringHandle box) {
    return app::stringOf(applogic::flagText(app::isChecked(window, box)));
}

String lineText(ObjectHandle window, PreferenceLine line) {
    if (const StringHandle field = textLine(line)) return app::fieldText(window, field);
    if (const StringHandle box = flagLine(line)) return flagLineText(window, box);
    switch (line) {
        case PreferenceLine::WindowTop: return app::numberText(windowPosGetter(window, 1));
        case PreferenceLine::WindowLeft: return app::numberText(windowPosGetter(window, 0));
        case PreferenceLine::LineType: {
            const Object tone = app::control(window, "Radio_Tone"_s);
            return app::stringOf(applogic::lineTypeText(tone && radioValueGetter(tone.get())));
        }
        case PreferenceLine::SerialPortIndex: {
            const Object popup = app::control(window, "Serial_Popup"_s);
            return app::numberText(popup ? RuntimePopupSelectionGetter(popup.get()) : 0);
        }
        default: return String();
    }
}

}  // namespace

namespace app {

// Sets Serial1's port from the chosen row of the port menu before it opens.
void applySerialChoice(ObjectHandle window, ObjectHandle serial) {
    const Object popup = control(window, "Serial_Popup"_s);
    const int32_t row = popup ? RuntimePopupSelectionGetter(popup.get()) : -1;
    if (row >= 0) choosePort(serial, row);
}

}  // namespace app

extern "C" {

// Turns the modem's speaker on: the answer is not awaited.
void Window1_Modem_Prefs(ObjectHandle window) {
    const Object serial = app::control(window, "Serial1"_s);
    if (!serial) return;
    serialClose(serial.get());
    app::applySerialChoice(window, serial.get());
    serialOpen(serial.get());
    serialWrite(serial.get(), "ATM1\r"_s);
    serialWrite(serial.get(), "ATL1\r"_s);
    serialClose(serial.get());
}

void Window1_Serial_prefs(ObjectHandle window) {
    const Object popup = app::control(window, "Serial_Popup"_s);
    if (!popup) return;
    const int32_t count = getSerialPortCount();
    for (int32_t i = 1; i <= count; ++i) {
        const Object port = Object::adopt(getSerialPort(i - 1));
        if (!port) continue;
        const String name = String::adopt(stringGetter(port.get(), 24));
        RuntimePopupAddRow(popup.get(), name.get());
    }
}

// Reads what the file holds; a line that is missing or damaged leaves the
// laid-out value in place.
void Window1_My_Prefs(ObjectHandle window) {
    const Object file = preferencesFile();
    const Object stream = file ? Object::adopt(FolderItemOpenTextFile(file.get())) : Object();
    if (stream) {
        for (int32_t i = 0; i < applogic::kPreferenceLineCount && !TextInputStreamEOF(stream.get()); ++i) {
            const String line = String::adopt(TextInputStreamReadLine(stream.get()));
            applyLine(window, static_cast<PreferenceLine>(i), line);
        }
        TextInputStreamClose(stream.get());
    }
    const Object popup = app::control(window, "Serial_Popup"_s);
    if (popup && RuntimePopupSelectionGetter(popup.get()) < 0 && RuntimePopupCountGetter(popup.get()) > 0) {
        RuntimePopupSelectionSetter(popup.get(), 0);
    }
}

void Window1_Save_Prefs(ObjectHandle window) {
    const Object file = preferencesFile();
    if (!file) return;
    app::SafeSave save(file.get());
    if (!save.ready()) return;
    for (int32_t i = 0; i < applogic::kPreferenceLineCount; ++i) {
        save.writeLine(lineText(window, static_cast<PreferenceLine>(i)));
    }
    save.commit(app::stringOf(applogic::Bytes(applogic::kPreferencesFileType)).get(),
                app::stringOf(applogic::Bytes(applogic::kPreferencesFileCreator)).get());
}

}  // extern "C"

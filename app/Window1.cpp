// The main window: opening, the ways out (each saves the preferences and
// the address book once), the length display and the send-by-mail switch.
#include "Window1State.h"
#include "logic/LengthDisplay.h"

using namespace app::literals;
using app::Object;
using app::String;

extern "C" {

void Window1_Open(ObjectHandle window) {
    app::setCaption(window, "Static_Moji"_s, "0"_s);
    app::setCaption(window, "Static_Onsu"_s, "0"_s);
    app::setFieldText(window, "Edit_Msg"_s, nullptr);
    app::window1State(window).saveOnClose = 1;
    const Object message = app::control(window, "Edit_Msg"_s);
    if (message) RuntimeSetFocus(message.get());
    // The port menu and the preferences come first: the modem set-up goes to
    // the port they chose, not always to the laid-out COM1.
    Window1_Serial_prefs(window);
    Window1_My_Prefs(window);
    Window1_Modem_Prefs(window);
    Window1_Set_AdBook(window);
}

// Saves both files the first time any way out is taken, then quits.
void Window1_SaveOnceAndQuit(ObjectHandle window) {
    app::Window1State& state = app::window1State(window);
    if (state.saveOnClose) {
        state.saveOnClose = 0;
        Window1_Save_Prefs(window);
        Window1_Save_AdBook(window);
    }
    ApplicationQuit();
}

bool Window1_CancelClose(ObjectHandle window) {
    Window1_SaveOnceAndQuit(window);
    return false;
}

void Window1_Close(ObjectHandle window) { Window1_SaveOnceAndQuit(window); }

// The number of characters the message takes, coloured by the limit of the
// chosen encoding.
void Window1_Mojisu(ObjectHandle window) {
    const String text = app::fieldText(window, "Edit_Msg"_s);
    const int32_t count = StringDBCSLen(text.get()) + app::window1State(window).melodyNoteCount;
    const Object display = app::control(window, "Static_Moji"_s);
    if (!display) return;
    staticCaptionSetter(display.get(), app::numberText(count).get());
    staticTextColorSetter(display.get(), applogic::lengthColour(count, app::isChecked(window, "Check_Kanji"_s)));
}

void Edit_Msg_TextChange(ObjectHandle) { Window1_Mojisu(app::mainWindow()); }
void Static_Moji_MouseEnter(ObjectHandle) { Window1_Mojisu(app::mainWindow()); }
void Check_Kanji_Action(ObjectHandle) { Window1_Mojisu(app::mainWindow()); }

// "設定保存"
void PushButton13_Action(ObjectHandle) { Window1_Save_Prefs(app::mainWindow()); }

// Sending by mail uses only "メッセージ送信"; by modem the sequence starts at "送信".
void Check_Email_Action(ObjectHandle box) {
    const ObjectHandle window = app::mainWindow();
    const bool byMail = checkBoxValueGetter(box);
    for (int32_t index = 1; index <= 5; ++index) {
        app::setButtonEnabled(window, index, byMail ? index == 3 : index == 1);
    }
}

}  // extern "C"

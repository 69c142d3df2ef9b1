// The state the main window keeps in its own instance, after the data of the
// built-in Dialog class, and the handles to it that the window's parts share.
#pragma once

#include <cstddef>
#include <cstdint>

#include "support/AppObject.h"
#include "support/AppString.h"
#include "support/ControlImports.h"
#include "logic/ByteText.h"

namespace app {

inline constexpr int32_t kDialogInstanceSize = 112;
inline constexpr int32_t kWindow1InstanceSize = 248;
// Room for the sending state (modem and mail) and the melody state.
inline constexpr size_t kSendingStateSize = 64;
inline constexpr size_t kMelodyStateSize = 64;

struct Window1State {
    // Set by Open; the first close or quit saves the preferences and the
    // address book and clears it, so they are written exactly once.
    uint8_t saveOnClose;
    uint8_t unused[3];
    // Notes of the melody, counted into the length display.
    int32_t melodyNoteCount;
    // Interpreted by SendingState.h and MelodyState.h.
    alignas(4) uint8_t sending[kSendingStateSize];
    alignas(4) uint8_t melody[kMelodyStateSize];
};
static_assert(sizeof(Window1State) == kWindow1InstanceSize - kDialogInstanceSize);

inline Window1State& window1State(ObjectHandle window) {
    return *reinterpret_cast<Window1State*>(reinterpret_cast<uint8_t*>(window) + kDialogInstanceSize);
}

// The main window's instance, kept by the application object.
ObjectHandle mainWindow();

// The text of an edit field, and the caption of a static text.
String fieldText(ObjectHandle window, StringHandle name);
void setFieldText(ObjectHandle window, StringHandle name, StringHandle text);
bool isChecked(ObjectHandle window, StringHandle name);
void setChecked(ObjectHandle window, StringHandle name, bool checked);
void setCaption(ObjectHandle window, StringHandle name, StringHandle caption);
void setEnabled(ObjectHandle window, StringHandle name, bool enabled);
void setButtonEnabled(ObjectHandle window, int32_t index, bool enabled);

// A number as text with the runtime's conversion, and back (truncated).
String numberText(int32_t value);

// Bytes of a string value (valid while the value is held).
applogic::Bytes bytesOf(const String& text);
String stringOf(applogic::Bytes bytes);

}  // namespace app

// The window's methods that other parts call (each takes the window).
extern "C" {
void Window1_Mojisu(ObjectHandle window);
void Window1_Modem_Prefs(ObjectHandle window);
void Window1_Serial_prefs(ObjectHandle window);
void Window1_My_Prefs(ObjectHandle window);
void Window1_Save_Prefs(ObjectHandle window);
void Window1_Set_AdBook(ObjectHandle window);
void Window1_Save_AdBook(ObjectHandle window);
void Window1_AdBook_Load(ObjectHandle window);
}

namespace app {
// The recipient menu made anew from the address list.
void rebuildRecipientMenu(ObjectHandle window);
// Sets Serial1's port from the chosen row of the port menu.
void applySerialChoice(ObjectHandle window, ObjectHandle serial);
}  // namespace app

// The message-centre menus: every centre of the table, in its six groups,
// as "<" + name + ">" + number; choosing one gives its number.
#include "Window1State.h"
#include "logic/AddressBookText.h"
#include "logic/MessageCentres.h"

using namespace app::literals;
using app::String;

extern "C" {

void Center_Pop_Open(ObjectHandle button) {
    uint8_t row[applogic::kMessageCentreMenuRowCapacity];
    for (int32_t i = 0; i < applogic::kMessageCentreCount; ++i) {
        if (i > 0 && applogic::messageCentre(i).group != applogic::messageCentre(i - 1).group) bevelAddSeparator(button);
        const int32_t n = applogic::messageCentreMenuRow(i, row, sizeof row);
        if (n > 0) bevelAddRow(button, app::stringOf(applogic::Bytes(row, n)).get());
    }
}

// The number of the chosen row goes into Edit_Center.
void Bevel_Center_Action(ObjectHandle button) {
    const String chosen = String::adopt(bevelListRow(button, bevelMenuValue(button)));
    if (!chosen.get()) return;
    const String number = app::stringOf(applogic::numberOfMenuRow(app::bytesOf(chosen)));
    app::setFieldText(app::mainWindow(), "Edit_Center"_s, number.get());
}

}  // extern "C"

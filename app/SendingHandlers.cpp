// The buttons that send: each calls the step it stands for.
#include "SendingState.h"

using namespace app::literals;

namespace {

// "メッセージ送信": by mail it starts the dialogue; by modem it sends the
// pending block without waiting for the pause to end.
void sendMessageNow(ObjectHandle window) {
    if (app::isChecked(window, "Check_Email"_s)) {
        app::startMail(window);
    } else {
        app::sendBlockNow(window);
    }
}

}  // namespace

extern "C" {

// The control array PushButton: 1 "送信", 2 "番号送信", 3 "メッセージ送信",
// 4 "送信継続", 5 "送信終了".
void PushButton_Action(ObjectHandle button) {
    const ObjectHandle window = app::mainWindow();
    switch (app::controlIndex(button)) {
        case 1: app::startModemCall(window); break;
        case 2: app::sendNumberNow(window); break;
        case 3: sendMessageNow(window); break;
        case 4: app::continueOnSameCall(window); break;
        case 5: app::endModemCall(window); break;
        default: break;
    }
}

void PushButton12_Action(ObjectHandle) { app::abortSending(app::mainWindow()); }

}  // extern "C"

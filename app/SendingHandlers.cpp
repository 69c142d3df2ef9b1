// The buttons that send: each calls the step it stands for.
// Sending by modem and by mail are built on these entry points.
#include "Window1State.h"

using namespace app::literals;

namespace {

void startSending(ObjectHandle) {}
void sendNumberNow(ObjectHandle) {}
void sendMessageNow(ObjectHandle) {}
void continueSending(ObjectHandle) {}
void endSending(ObjectHandle) {}
void abortSending(ObjectHandle) {}

}  // namespace

extern "C" {

// The control array PushButton: 1 "送信", 2 "番号送信", 3 "メッセージ送信",
// 4 "送信継続", 5 "送信終了".
void PushButton_Action(ObjectHandle button) {
    const ObjectHandle window = app::mainWindow();
    switch (app::controlIndex(button)) {
        case 1: startSending(window); break;
        case 2: sendNumberNow(window); break;
        case 3: sendMessageNow(window); break;
        case 4: continueSending(window); break;
        case 5: endSending(window); break;
        default: break;
    }
}

void PushButton12_Action(ObjectHandle) { abortSending(app::mainWindow()); }

}  // extern "C"

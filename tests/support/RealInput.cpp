#include "support/RealInput.h"

#include <vector>

namespace testing_support {

INPUT absoluteMouseInput(POINT screen, DWORD flags) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = (screen.x * 65536 + width - 1) / width;
    input.mi.dy = (screen.y * 65536 + height - 1) / height;
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

void sendMouseAt(POINT screen, DWORD flags) {
    INPUT input = absoluteMouseInput(screen, flags);
    SendInput(1, &input, sizeof(INPUT));
}

void sendKeyChord(std::initializer_list<WORD> keys) {
    std::vector<INPUT> events;
    for (WORD key : keys) {
        INPUT press{};
        press.type = INPUT_KEYBOARD;
        press.ki.wVk = key;
        events.push_back(press);
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        INPUT release{};
        release.type = INPUT_KEYBOARD;
        release.ki.wVk = *key;
        release.ki.dwFlags = KEYEVENTF_KEYUP;
        events.push_back(release);
    }
    SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
}

void sendKey(WORD key, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof(INPUT));
}

void sendUnicodeText(std::wstring_view text) {
    for (wchar_t c : text) {
        INPUT keys[2] = {};
        for (INPUT& k : keys) {
            k.type = INPUT_KEYBOARD;
            k.ki.wScan = c;
            k.ki.dwFlags = KEYEVENTF_UNICODE;
        }
        keys[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        SendInput(2, keys, sizeof(INPUT));
    }
}

}  // namespace testing_support

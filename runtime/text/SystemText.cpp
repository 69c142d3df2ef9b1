#include "text/SystemText.h"

#include <windows.h>

namespace runtime {

unsigned textCodePage() { return CP_ACP; }

std::wstring toSystemText(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(textCodePage(), 0, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(textCodePage(), 0, bytes.data(), size, text.data(), length);
    return text;
}

std::string fromSystemText(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(textCodePage(), 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(textCodePage(), 0, text.data(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

int systemMessageBox(void* owner, std::string_view text, std::string_view caption, unsigned flags) {
    const std::wstring wideText = toSystemText(text);
    const std::wstring wideCaption = toSystemText(caption);
    return MessageBoxW(static_cast<HWND>(owner), wideText.c_str(), wideCaption.c_str(), flags);
}

}  // namespace runtime

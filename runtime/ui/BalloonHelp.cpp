#include "ui/BalloonHelp.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "loader/Instance.h"
#include "text/SystemText.h"

namespace runtime {
namespace {

// Process-wide, on the GUI thread: the tooltip window of each runtime window
// that shows balloon help. A tooltip is owned by its window and goes with it.
std::vector<std::pair<HWND, HWND>> gTooltips;

HWND tooltipFor(HWND window, bool create) {
    std::erase_if(gTooltips, [](const auto& entry) { return !IsWindow(entry.first) || !IsWindow(entry.second); });
    for (const auto& [owner, tip] : gTooltips) {
        if (owner == window) return tip;
    }
    if (!create) return nullptr;
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                               instanceHandle(), nullptr);
    if (tip) gTooltips.emplace_back(window, tip);
    return tip;
}

TTTOOLINFOW toolFor(HWND window, HWND control, wchar_t* text) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    return tool;
}

}  // namespace

void setBalloonHelp(HWND window, HWND control, std::string_view text) {
    if (!window || !control) return;
    HWND tip = tooltipFor(window, !text.empty());
    if (!tip) return;
    TTTOOLINFOW tool = toolFor(window, control, nullptr);
    SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (text.empty()) return;
    std::wstring wide = toSystemText(text);
    tool = toolFor(window, control, wide.data());
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

HWND balloonHelpWindow(HWND window) { return tooltipFor(window, false); }

}  // namespace runtime

// Prints how long building a window of 70 controls of the application's
// kinds from a layout takes, against a bare program in the same process that
// makes the same native windows with CreateWindowExA (goal: at most 1.3x).
// Each round makes the window, shows it and lets it paint until its queue is
// empty; closing it is not timed. The two sides alternate so that neither
// pays for the other's caches. With a class name as its argument (for
// example PushButton) it builds 70 controls of that kind only, to show which
// kind costs what.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "objects/EventLoop.h"
#include "objects/ObjectEntries.h"
#include "objects/ProjectData.h"
#include "objects/RuntimeStartup.h"
#include "objects/WindowInstantiation.h"
#include "objects/WindowLayout.h"
#include "ui/WindowEntries.h"

using namespace runtime;

namespace {

constexpr int kRounds = 15;

// One control of the window: its class, its place and what it shows.
struct Piece {
    const char* kind;
    int x, y, width, height;
    std::vector<PropertyText> properties;
};

std::vector<Piece> pieces(const char* only) {
    std::vector<Piece> all;
    if (only) {
        // One kind only, to see where the time goes.
        for (int i = 0; i < 70; ++i) all.push_back({only, 10 + (i % 7) * 70, 10 + (i / 7) * 30, 66, 26, {{"Caption", "x"}}});
        return all;
    }
    all.push_back({"TabPanel", 4, 4, 500, 360, {{"TabDefinition", std::string("Mail\0Book\0Setup\0Melody", 22)}}});
    for (int i = 0; i < 16; ++i) {
        all.push_back({"PushButton", 10 + (i % 8) * 60, 30 + (i / 8) * 28, 56, 24, {{"Caption", "B" + std::to_string(i)}}});
    }
    for (int i = 0; i < 3; ++i) all.push_back({"GroupBox", 10 + i * 165, 90, 160, 110, {{"Caption", "Group"}}});
    for (int i = 0; i < 6; ++i) {
        all.push_back({"RadioButton", 20 + (i / 2) * 165, 110 + (i % 2) * 24, 140, 20, {{"Caption", "Radio"}}});
        all.push_back({"CheckBox", 20 + (i / 2) * 165, 160 + (i % 2) * 18, 140, 18, {{"Caption", "Check"}}});
    }
    for (int i = 0; i < 27; ++i) {
        all.push_back({"StaticText", 10 + (i % 9) * 54, 206 + (i / 9) * 16, 52, 14, {{"Text", "Text" + std::to_string(i)}}});
    }
    all.push_back({"ProgressBar", 10, 256, 480, 12, {{"Maximum", "5000"}, {"Value", "1200"}}});
    for (int i = 0; i < 5; ++i) all.push_back({"EditField", 10 + i * 96, 274, 92, 22, {{"Text", "0901234567"}}});
    for (int i = 0; i < 3; ++i) {
        all.push_back({"EditField", 10 + i * 120, 300, 116, 40,
                       {{"MultiLine", "True"}, {"Styled", "True"}, {"Text", "message"}}});
    }
    all.push_back({"Listbox", 370, 300, 130, 56, {{"ColumnCount", "3"}, {"HasHeading", "True"}}});
    all.push_back({"PopupMenu", 10, 344, 100, 20, {{"InitialValue", "COM1\rCOM2\rCOM3\rCOM4"}}});
    return all;
}

struct NativeKind {
    const char* className;
    DWORD style;
    int extraHeight;
};

NativeKind nativeKindOf(const std::string& kind, const std::vector<PropertyText>& properties) {
    if (kind == "PushButton") return {"BUTTON", BS_PUSHBUTTON, 0};
    if (kind == "CheckBox") return {"BUTTON", BS_CHECKBOX | BS_NOTIFY, 0};
    if (kind == "RadioButton") return {"BUTTON", BS_RADIOBUTTON | BS_NOTIFY, 0};
    if (kind == "GroupBox") return {"BUTTON", BS_GROUPBOX, 0};
    if (kind == "ProgressBar") return {"msctls_progress32", 0, 0};
    if (kind == "TabPanel") return {"SysTabControl32", 0, 0};
    if (kind == "PopupMenu") return {"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 200};
    if (kind == "Listbox") return {"LISTBOX", WS_BORDER | WS_VSCROLL, 0};
    if (kind == "EditField") {
        const bool rich = std::any_of(properties.begin(), properties.end(), [](const PropertyText& p) { return p.first == "Styled"; });
        return rich ? NativeKind{"RichEdit", ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 0}
                    : NativeKind{"EDIT", ES_AUTOHSCROLL, 0};
    }
    return {"STATIC", 0, 0};
}

std::string textOf(const std::vector<PropertyText>& properties) {
    for (const PropertyText& p : properties) {
        if (p.first == "Caption" || p.first == "Text") return p.second;
    }
    return {};
}

double now() {
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

void drainQueue() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

BOOL CALLBACK countOne(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int gChildren = 0;
double gBuilt = 0, gShown = 0;  // child windows of the last window built, counted once

int countChildren(HWND window) {
    int n = 0;
    EnumChildWindows(window, countOne, reinterpret_cast<LPARAM>(&n));
    return n;
}

LRESULT CALLBACK bareProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// The bare side: the same windows, captions, fonts, tabs, range and rows.
double bareRound(const std::vector<Piece>& all) {
    const double start = now();
    HWND window = CreateWindowExA(0, "BareLayoutWindow", "Bench", WS_OVERLAPPEDWINDOW, 40, 40, 520, 400, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "System");
    for (const Piece& piece : all) {
        const NativeKind kind = nativeKindOf(piece.kind, piece.properties);
        HWND child = CreateWindowExA(0, kind.className, textOf(piece.properties).c_str(),
                                     WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style, piece.x, piece.y,
                                     piece.width, piece.height + kind.extraHeight, window, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        if (std::strcmp(kind.className, "SysTabControl32") == 0) {
            for (const char* title : {"Mail", "Book", "Setup", "Melody"}) {
                TCITEMA item{};
                item.mask = TCIF_TEXT;
                item.pszText = const_cast<char*>(title);
                SendMessageA(child, TCM_INSERTITEMA, SendMessageA(child, TCM_GETITEMCOUNT, 0, 0), reinterpret_cast<LPARAM>(&item));
            }
        } else if (std::strcmp(kind.className, "msctls_progress32") == 0) {
            SendMessageA(child, PBM_SETRANGE32, 0, 5000);
            SendMessageA(child, PBM_SETPOS, 1200, 0);
        } else if (std::strcmp(kind.className, "COMBOBOX") == 0) {
            for (const char* row : {"COM1", "COM2", "COM3", "COM4"}) SendMessageA(child, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row));
        }
    }
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    drainQueue();
    const double elapsed = now() - start;
    gChildren = countChildren(window);
    DestroyWindow(window);
    DeleteObject(font);
    drainQueue();
    return elapsed;
}


// The runtime side: the window built from its layout, shown and painted.
double runtimeRound(const std::vector<uint8_t>& bytes) {
    const double start = now();
    ObjectHandle w = RuntimeCreateWindow(bytes.data(), nullptr);
    if (!w) return -1;
    gBuilt += now() - start;
    HWND handle = reinterpret_cast<HWND>(static_cast<intptr_t>(windowHWNDGetter(w)));
    // The loop's idle step shows a new window: run passes until it has.
    for (int i = 0; i < 100 && !IsWindowVisible(handle); ++i) {
        PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
        runLoopPass();
    }
    gShown += now() - start;
    UpdateWindow(handle);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) runLoopPass();
    const double elapsed = now() - start;
    gChildren = IsWindowVisible(handle) ? countChildren(handle) : -1;
    RuntimeCloseWindow(w);
    RuntimeUnlockObject(w);
    while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) runLoopPass();
    return elapsed;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX common{sizeof common, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&common);
    LoadLibraryA("RICHED32.DLL");
    WNDCLASSA bareClass{};
    bareClass.lpfnWndProc = bareProcedure;
    bareClass.hInstance = GetModuleHandleA(nullptr);
    bareClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    bareClass.lpszClassName = "BareLayoutWindow";
    RegisterClassA(&bareClass);

    testing_support::ProjectData project;
    project.addNamedClass("Application");
    WindowLayout layout;
    layout.windowClass = project.addNamedClass("Window");
    layout.properties = {{"Title", "Bench"}, {"Width", "520"}, {"Height", "370"}, {"Placement", "9"}};
    const std::vector<Piece> all = pieces(argc > 1 ? argv[1] : nullptr);
    for (const Piece& piece : all) {
        LayoutControl c{project.addNamedClass(piece.kind),
                        {{"Name", "c" + std::to_string(layout.controls.size())},
                         {"Left", std::to_string(piece.x)},
                         {"Top", std::to_string(piece.y)},
                         {"Width", std::to_string(piece.width)},
                         {"Height", std::to_string(piece.height)}}};
        c.properties.insert(c.properties.end(), piece.properties.begin(), piece.properties.end());
        // Everything lies on the panel's first page, shown as the bare side shows it.
        if (std::string(piece.kind) != "TabPanel") c.properties.push_back({"TabPanelIndex", "1"});
        layout.controls.push_back(std::move(c));
    }
    RuntimeInit(project.table());
    const std::vector<uint8_t> bytes = encodeSizedWindowLayout(layout);

    // A first round of each warms the system's classes and fonts; both
    // sides must have made their windows (the runtime's, shown).
    bareRound(all);
    const int bareChildren = gChildren;
    if (runtimeRound(bytes) < 0 || gChildren < 0) {
        std::printf("control layout: the window could not be built\n");
        return 1;
    }
    std::printf("control layout: child windows: layout %d, CreateWindowExA %d\n", gChildren, bareChildren);
    gBuilt = gShown = 0;  // the means leave the warming round out
    std::vector<double> bareTimes, runtimeTimes;
    for (int i = 0; i < kRounds; ++i) {
        const double round = runtimeRound(bytes);
        if (round < 0) {
            std::printf("control layout: the window could not be built\n");
            return 1;
        }
        runtimeTimes.push_back(round);
        bareTimes.push_back(bareRound(all));
    }
    const double bare = median(bareTimes), built = median(runtimeTimes);
    std::printf("control layout: %zu controls, median of %d rounds: layout %.2f ms, CreateWindowExA %.2f ms\n",
                all.size(), kRounds, built * 1000, bare * 1000);
    std::printf("control layout: building without showing, mean %.2f ms\n", gBuilt / kRounds * 1000);
    std::printf("control layout: built and shown, mean %.2f ms\n", gShown / kRounds * 1000);
    std::printf("control layout / CreateWindowExA time ratio: %.3f\n", built / bare);
    return 0;
}

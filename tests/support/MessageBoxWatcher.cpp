#include "support/MessageBoxWatcher.h"

#include <vector>

namespace testing_support {
namespace {

std::string windowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), length + 1)));
    return text;
}

std::string className(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

struct Search {
    DWORD processId;
    HWND found = nullptr;
};

BOOL CALLBACK findDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) && className(window) == "#32770") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The message text is the one static control that carries text (the icon is a
// static control without text).
BOOL CALLBACK findText(HWND child, LPARAM param) {
    auto* text = reinterpret_cast<std::string*>(param);
    if (_stricmp(className(child).c_str(), "Static") == 0) {
        std::string candidate = windowText(child);
        if (!candidate.empty()) {
            *text = candidate;
            return FALSE;
        }
    }
    return TRUE;
}

}  // namespace

std::optional<MessageBoxSeen> dismissMessageBox(DWORD processId, DWORD timeoutMs, int buttonId) {
    const DWORD start = GetTickCount();
    Search search{processId};
    while (!search.found) {
        EnumWindows(findDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found) break;
        if (GetTickCount() - start > timeoutMs) return std::nullopt;
        Sleep(50);
    }
    MessageBoxSeen seen;
    seen.caption = windowText(search.found);
    EnumChildWindows(search.found, findText, reinterpret_cast<LPARAM>(&seen.text));
    PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(search.found, buttonId)));
    return seen;
}

MessageBoxWatcher::MessageBoxWatcher(int buttonId, DWORD timeoutMs, DWORD processId)
    : seen_(std::async(std::launch::async,
                       [=] { return dismissMessageBox(processId, timeoutMs, buttonId); })) {}

std::optional<MessageBoxSeen> MessageBoxWatcher::result() { return seen_.get(); }

ChildProcess::~ChildProcess() {
    if (info.hProcess) {
        if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 99);
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
    }
}

DWORD ChildProcess::wait(DWORD timeoutMs) {
    if (WaitForSingleObject(info.hProcess, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    return code;
}

std::string testProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

bool startSiblingProgram(const std::string& program, const std::string& arguments, ChildProcess& child,
                         const std::string& workingDirectory) {
    const std::string path = testProgramFolder() + program;
    std::string commandLine = "\"" + path + "\" " + arguments;
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    return CreateProcessA(path.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &startup,
                          &child.info) != 0;
}

}  // namespace testing_support

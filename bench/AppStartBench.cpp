// Start-up of the application to its idle main window against a bare Win32
// program that opens a window of the same size with the same native
// controls, both started the same way in the same run: wall time from
// CreateProcess to the first wait for input, and the process's CPU time then.
//   app_start_bench SUTAKIBA_EXE BARE_EXE PROJECT_FILE (Windows paths)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr int kRounds = 3;

struct Start {
    bool ok = false;
    double wallMs = 0;
    double cpuMs = 0;
};

double milliseconds(const FILETIME& t) {
    return double((uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
}

Start startOnce(const std::wstring& exe, const std::wstring& arguments, const std::wstring& folder) {
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &info)) {
        return {};
    }
    Start result;
    result.ok = WaitForInputIdle(info.hProcess, 120000) == 0;
    QueryPerformanceCounter(&end);
    result.wallMs = double(end.QuadPart - begin.QuadPart) * 1000.0 / double(frequency.QuadPart);
    FILETIME created, exited, kernel, user;
    if (GetProcessTimes(info.hProcess, &created, &exited, &kernel, &user)) {
        result.cpuMs = milliseconds(kernel) + milliseconds(user);
    }
    // The program is ours: it ends by its handle.
    TerminateProcess(info.hProcess, 0);
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return result;
}

std::wstring folderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: app_start_bench SUTAKIBA_EXE BARE_EXE PROJECT_FILE\n");
        return 2;
    }
    const std::wstring app = argv[1], bare = argv[2], project = argv[3];
    double appWall = 1e300, appCpu = 1e300, bareWall = 1e300, bareCpu = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        const Start a = startOnce(app, L"", folderOf(app));
        const Start b = startOnce(bare, L"\"" + project + L"\"", folderOf(bare));
        if (!a.ok || !b.ok) {
            std::fprintf(stderr, "start-up bench: %s did not reach its idle window\n", a.ok ? "the bare program" : "sutakiba.exe");
            return 1;
        }
        appWall = std::min(appWall, a.wallMs), appCpu = std::min(appCpu, a.cpuMs);
        bareWall = std::min(bareWall, b.wallMs), bareCpu = std::min(bareCpu, b.cpuMs);
    }
    std::printf("start-up to the idle main window (best of %d): sutakiba %.0f ms wall, %.0f ms CPU; bare Win32 %.0f ms wall, %.0f ms CPU\n",
                kRounds, appWall, appCpu, bareWall, bareCpu);
    std::printf("ratio wall %.2f, CPU %.2f (goal: at most 1.30)\n", appWall / bareWall, bareCpu > 0 ? appCpu / bareCpu : 0.0);
    return 0;
}

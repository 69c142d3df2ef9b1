#include "support/ProbeRun.h"

#include <fstream>

namespace testing_support {

ProbeRun runProbe(const std::string& program, const std::string& mode, bool expectMessageBox) {
    char tempFolder[MAX_PATH];
    GetTempPathA(MAX_PATH, tempFolder);
    const std::string logPath = std::string(tempFolder) + program + "_" + mode + ".log";
    DeleteFileA(logPath.c_str());
    ProbeRun run;
    ChildProcess child;
    if (!startSiblingProgram(program + ".exe", mode + " \"" + logPath + "\"", child)) {
        run.exitCode = static_cast<DWORD>(-1);
        return run;
    }
    if (expectMessageBox) run.messageBox = dismissMessageBox(child.info.dwProcessId, 30000);
    run.exitCode = child.wait();
    std::ifstream in(logPath);
    for (std::string line; std::getline(in, line);) run.log.push_back(line);
    return run;
}

}  // namespace testing_support

// sutakiba.exe with an image that carries both plug-ins, under Wine: the
// libraries are written out and loaded, their members bound by the deferred
// binding and called by compiled code; a member nobody provides traps.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/MessageBoxWatcher.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

const std::string kExpected =
    "rows=A,nil,B,nil|row0=C|menuValue=2|captionAlign=3|nth= three|count=4|replaced=a--b--c|exact=aXb--c|error=4|";

fs::path testFolder() { return fs::path(testProgramFolder()); }
// Where the build puts the plug-in libraries.
fs::path pluginFolder() { return testFolder() / ".." / ".." / "plugins"; }

Bytes readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

fs::path systemFolder() {
    char buffer[MAX_PATH];
    GetSystemDirectoryA(buffer, MAX_PATH);
    return buffer;
}

fs::path windowsFolder() {
    char buffer[MAX_PATH];
    GetWindowsDirectoryA(buffer, MAX_PATH);
    return buffer;
}

struct Outcome {
    DWORD exitCode = STILL_ACTIVE;
    std::optional<MessageBoxSeen> box;
    std::string result;
};

Outcome runImage(const std::string& name) {
    const fs::path folder = testFolder() / "scratch" / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::copy_file(testFolder() / "plugin_image.exe", folder / "plugin_image.exe");
    ChildProcess child;
    Outcome run;
    if (!startSiblingProgram(fs::relative(folder / "plugin_image.exe", testFolder()).string(), "", child,
                             folder.string())) {
        ADD_FAILURE() << "cannot start the image";
        return run;
    }
    run.box = dismissMessageBox(child.info.dwProcessId, 60000);
    run.exitCode = child.wait(30000);
    const Bytes result = readFile(folder / "result.txt");
    run.result.assign(result.begin(), result.end());
    return run;
}

void expectRanToTheTrap(const Outcome& run) {
    EXPECT_EQ(run.result, kExpected);
    ASSERT_TRUE(run.box.has_value()) << "the unbound member shows a message";
    EXPECT_NE(run.box->text.find("!MBevelButton!NoSuchMethod"), std::string::npos) << run.box->text;
    EXPECT_NE(run.exitCode, 0u);
}

TEST(PluginImage, InstallsBothPluginsAndBindsTheirMembers) {
    const Outcome run = runImage("installs");
    expectRanToTheTrap(run);
    for (const char* name : {"velmap1.dll", "VlPlugin.dll"}) {
        EXPECT_EQ(readFile(systemFolder() / name), readFile(pluginFolder() / name))
            << name << " is written with the embedded bytes";
    }
}

TEST(PluginImage, AFileWithOtherBytesInTheSystemFolderIsNotLoaded) {
    // Another library under the string plug-in's name, which the runtime can
    // read but not replace: it must not be loaded.
    const fs::path planted = systemFolder() / "VlPlugin.dll";
    const Bytes impostor = readFile(pluginFolder() / "velmap1.dll");
    {
        std::ofstream out(planted, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(impostor.data()), static_cast<std::streamsize>(impostor.size()));
    }
    HANDLE keep = CreateFileW(planted.wstring().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(keep, INVALID_HANDLE_VALUE);
    const Outcome run = runImage("planted");
    CloseHandle(keep);
    expectRanToTheTrap(run);
    EXPECT_EQ(readFile(planted), impostor) << "the planted file is left alone";
    EXPECT_EQ(readFile(windowsFolder() / "VlPlugin.dll"), readFile(pluginFolder() / "VlPlugin.dll"))
        << "the library went to the next folder instead";
    fs::remove(planted);
}

}  // namespace

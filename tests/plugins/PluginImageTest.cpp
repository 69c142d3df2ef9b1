// sutakiba.exe with an image that carries both plug-ins, under Wine: the
// libraries are written out and loaded, their members bound by the deferred
// binding and called by compiled code; a member nobody provides traps.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
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

fs::path ownFolder() {
    wchar_t buffer[MAX_PATH];
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, buffer);
    return fs::path(buffer) / "sutakiba";
}

void plant(const fs::path& path, const Bytes& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Another library under the string plug-in's name, which the runtime could
// replace, is planted in some of the places: no system folder's file is
// replaced or loaded; the library goes to the next place, and only an older
// copy in the runtime's own folder is replaced.
TEST(PluginImage, FilesWithOtherBytesAreNeitherLoadedNorReplacedInTheSystemFolders) {
    const Bytes impostor = readFile(pluginFolder() / "velmap1.dll");
    const Bytes library = readFile(pluginFolder() / "VlPlugin.dll");
    const fs::path system = systemFolder() / "VlPlugin.dll";
    const fs::path windows = windowsFolder() / "VlPlugin.dll";
    const fs::path own = ownFolder() / "VlPlugin.dll";
    struct Case {
        const char* what;
        std::vector<fs::path> planted;
        fs::path expected;  // where the library is written
    };
    const Case cases[] = {
        {"the system folder", {system}, windows},
        {"every folder", {system, windows, own}, own},
    };
    for (const Case& c : cases) {
        for (const fs::path& place : {system, windows, own}) fs::remove(place);
        for (const fs::path& place : c.planted) plant(place, impostor);
        const Outcome run = runImage("planted");
        expectRanToTheTrap(run);
        for (const fs::path& place : c.planted) {
            if (place != c.expected) EXPECT_EQ(readFile(place), impostor) << c.what << ": " << place << " is left alone";
        }
        EXPECT_EQ(readFile(c.expected), library) << c.what << ": the library went to " << c.expected;
    }
    for (const fs::path& place : {system, windows, own}) fs::remove(place);
}

// The image with its embedded plug-in list changed in place: the list is
// refused as a whole with a message, and the process ends with a failure
// before anything is written or loaded.
TEST(PluginImage, ADamagedPluginListRefusesTheStart) {
    // Each case changes the string plug-in's record, found by its name.
    struct Case {
        const char* what;
        std::ptrdiff_t offset;  // from the name-length byte
        std::string bytes;
    };
    const std::string name = "\x0CVlPlugin.dll";
    const Case cases[] = {
        {"a path in a file name", 0, "\x0C..\\lugin.dll"},
        {"a length past the end of data1", -8, std::string("\x00\x00\xF0\x7F", 4)},
    };
    for (const Case& c : cases) {
        const fs::path folder = testFolder() / "scratch" / "damaged";
        fs::remove_all(folder);
        fs::create_directories(folder);
        Bytes exe = readFile(testFolder() / "plugin_image.exe");
        const auto at = std::search(exe.begin(), exe.end(), name.begin(), name.end());
        ASSERT_NE(at, exe.end()) << "the image carries the list";
        std::copy(c.bytes.begin(), c.bytes.end(), at + c.offset);
        {
            std::ofstream out(folder / "plugin_image.exe", std::ios::binary);
            out.write(reinterpret_cast<const char*>(exe.data()), static_cast<std::streamsize>(exe.size()));
        }
        fs::remove(windowsFolder() / "lugin.dll");
        ChildProcess child;
        ASSERT_TRUE(startSiblingProgram(fs::relative(folder / "plugin_image.exe", testFolder()).string(), "", child,
                                        folder.string()));
        const std::optional<MessageBoxSeen> box = dismissMessageBox(child.info.dwProcessId, 60000);
        EXPECT_EQ(child.wait(30000), 1u) << c.what;
        ASSERT_TRUE(box.has_value()) << c.what;
        EXPECT_NE(box->text.find("damaged"), std::string::npos) << box->text;
        EXPECT_NE(box->text.find("plug-in"), std::string::npos) << box->text;
        EXPECT_FALSE(fs::exists(folder / "result.txt")) << c.what << ": the application did not run";
        EXPECT_FALSE(fs::exists(windowsFolder() / "lugin.dll")) << c.what << ": nothing was written";
    }
}

}  // namespace

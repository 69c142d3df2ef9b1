#include "files/FileTestSupport.h"

#include <cstring>
#include <vector>

#include "files/FolderItemEntries.h"
#include "objects/DataStreamWriter.h"
#include "objects/ProjectData.h"
#include "objects/RuntimeStartup.h"
#include "text/StringValue.h"

namespace testing_support {

void startRuntimeWithFileTypes() {
    static bool started = false;
    if (started) return;
    started = true;
    static ProjectData project;
    project.addNamedClass("Application");
    runtime::SettingsStream settings;
    settings.fileTypes = {{"Melody", "MELO", "????", ".als;.txt"},
                          {"Audio/X-Alpha5", "", "", "als"},
                          {"text/tab-separated-values", "XCEL", "TEXT", ""}};
    const std::vector<uint8_t> bytes = runtime::encodeSettingsStream(settings);
    ProjectData::Words item{4, 0, static_cast<uint32_t>(bytes.size())};
    item.resize(3 + (bytes.size() + 3) / 4);
    std::memcpy(&item[3], bytes.data(), bytes.size());
    project.addItem(item);
    RuntimeInit(project.table());
}

ScratchFolder::ScratchFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    static int serial = 0;
    path_ = std::string(temp) + "sutakiba-files-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
    CreateDirectoryA(path_.c_str(), nullptr);
}

namespace {

void removeTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) removeTree(path);
            else DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

ScratchFolder::~ScratchFolder() { removeTree(path_); }

void writeFileBytes(const std::string& path, std::string_view bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string readFileBytes(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD got = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    bytes.resize(got);
    return bytes;
}

bool fileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string take(StringHandle value) {
    const runtime::StringValue owned = runtime::StringValue::adopt(value);
    return std::string(owned.view());
}

std::string pathOf(const Result& item) { return take(fileAbsolutePathGetter(item.get())); }

Result itemAt(const std::string& path) {
    Owned text(path);
    return result(RuntimeGetFolderItem(text));
}

}  // namespace testing_support

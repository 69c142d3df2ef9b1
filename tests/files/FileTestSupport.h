// Helpers of the file tests under Wine: a scratch folder per test, raw file
// bytes written and read with the system's own calls, and the runtime
// started over a project whose settings declare the file types below.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "objects/ObjectRef.h"
#include "support/EntryCallSupport.h"

namespace testing_support {

// Declared by the test project: "Melody" (.als;.txt), "Audio/X-Alpha5" (als)
// and "text/tab-separated-values" (no extension).
void startRuntimeWithFileTypes();

// A fresh, empty folder (ANSI path, no final "\"), removed with its files
// at the end of the scope.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const { return path_ + "\\" + std::string(name); }

private:
    std::string path_;
};

void writeFileBytes(const std::string& path, std::string_view bytes);
std::string readFileBytes(const std::string& path);
bool fileExists(const std::string& path);

// An object result of an entry routine, released at the end of the scope.
using Result = runtime::ObjectRef;
inline Result result(ObjectHandle object) { return runtime::ObjectRef::adopt(object); }

// A string result of an entry routine, as bytes (the reference is dropped).
std::string take(StringHandle value);

// The path of a folder item, through its entry routine.
std::string pathOf(const Result& item);
// A folder item for an absolute path, through RuntimeGetFolderItem.
Result itemAt(const std::string& path);

}  // namespace testing_support

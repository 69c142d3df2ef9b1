// Folder items as the runtime makes and reads them: a FolderItem object holds
// a Windows path; one whose path is not yet known stands for the folder of
// the running executable.
#pragma once

#include <string>
#include <string_view>

#include "files/PathRules.h"
#include "objects/ObjectRef.h"

namespace runtime {

// The path rules of the running system's code page.
const PathRules& systemPathRules();

// The folder that holds the running executable, without a final "\".
std::string executableFolder();

// A new FolderItem with this path (nil for an empty path).
ObjectRef newFolderItem(std::string_view path);

// The item's path, resolving (and storing) the executable's folder for an
// item whose path is not known yet; empty for nil.
std::string folderItemPath(ObjectHandle item);
void setFolderItemPath(ObjectHandle item, std::string_view path);

// The per-user folder of preferences (created when missing), and the older
// place preferences were kept, the Windows directory. Empty when unknown.
std::string preferencesFolderPath();
std::string windowsDirectoryPath();

// The path to read `path` from: the path itself, or, for a missing file of
// the preferences folder that the Windows directory still holds, that one.
std::string pathForReading(const std::string& path);

// Whether something exists at the path.
bool pathExists(std::string_view path);

}  // namespace runtime

// Entry routines of folder items, special folders and the file dialogs.
// Arguments are borrowed; a returned object or string belongs to the caller.
// File-system failures are silent: nil, false, 0 or nothing.
#pragma once

#include <cstdint>

#include "RuntimeCall.h"
#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"

RUNTIME_ENTRY ObjectHandle RuntimeGetFolderItem(StringHandle path);
RUNTIME_ENTRY ObjectHandle RuntimeGetTrueFolderItem(StringHandle path);
RUNTIME_ENTRY ObjectHandle getPreferencesFolder();
RUNTIME_ENTRY ObjectHandle getSystemFolder();
RUNTIME_ENTRY ObjectHandle getExtensionsFolder();
RUNTIME_ENTRY ObjectHandle getTemporaryItemsFolder();
RUNTIME_ENTRY ObjectHandle getTemporaryFolderItem();
RUNTIME_ENTRY ObjectHandle getDesktopFolder();
RUNTIME_ENTRY ObjectHandle getAppleMenuFolder();
RUNTIME_ENTRY ObjectHandle getControlPanelsFolder();
RUNTIME_ENTRY ObjectHandle getStartupItemsFolder();
RUNTIME_ENTRY ObjectHandle getFontsFolder();
RUNTIME_ENTRY ObjectHandle getTrashFolder();
RUNTIME_ENTRY ObjectHandle getShutdownItemsFolder();
RUNTIME_ENTRY int32_t getVolumeCount();
RUNTIME_ENTRY ObjectHandle getVolume(int32_t index);
RUNTIME_ENTRY ObjectHandle RuntimeGetOpenFolderItem(StringHandle typeNames);
RUNTIME_ENTRY ObjectHandle RuntimeGetSaveFolderItem(StringHandle typeNames);

RUNTIME_ENTRY ObjectHandle FolderChild(ObjectHandle folder, StringHandle name);
RUNTIME_ENTRY ObjectHandle FolderTrueChild(ObjectHandle folder, StringHandle name);
RUNTIME_ENTRY ObjectHandle FolderItemItem(ObjectHandle folder, int32_t index);
RUNTIME_ENTRY ObjectHandle FolderItemTrueItem(ObjectHandle folder, int32_t index);
RUNTIME_ENTRY int32_t fileCountGetter(ObjectHandle folder);
RUNTIME_ENTRY StringHandle fileNameGetter(ObjectHandle item);
RUNTIME_ENTRY void fileNameSetter(ObjectHandle item, StringHandle name);
RUNTIME_ENTRY StringHandle fileAbsolutePathGetter(ObjectHandle item);
RUNTIME_ENTRY bool fileExistsGetter(ObjectHandle item);
RUNTIME_ENTRY bool fileDirectoryGetter(ObjectHandle item);
RUNTIME_ENTRY int32_t fileSizeGetter(ObjectHandle item);
RUNTIME_ENTRY int32_t fileRFSizeGetter(ObjectHandle item);
RUNTIME_ENTRY bool fileLockedGetter(ObjectHandle item);
RUNTIME_ENTRY void fileLockedSetter(ObjectHandle item, bool locked);
RUNTIME_ENTRY bool fileVisibleGetter(ObjectHandle item);
RUNTIME_ENTRY void fileVisibleSetter(ObjectHandle item, bool visible);
RUNTIME_ENTRY bool fileAliasGetter(ObjectHandle item);
RUNTIME_ENTRY StringHandle fileTypeGetter(ObjectHandle item);
RUNTIME_ENTRY StringHandle fileMacTypeGetter(ObjectHandle item);
RUNTIME_ENTRY void fileMacTypeSetter(ObjectHandle item, StringHandle type);
RUNTIME_ENTRY StringHandle fileMacCreatorGetter(ObjectHandle item);
RUNTIME_ENTRY void fileMacCreatorSetter(ObjectHandle item, StringHandle creator);
RUNTIME_ENTRY ObjectHandle folderGetCreation(ObjectHandle item);
RUNTIME_ENTRY ObjectHandle folderGetModified(ObjectHandle item);
RUNTIME_ENTRY void folderSetCreation(ObjectHandle item, ObjectHandle date);
RUNTIME_ENTRY void folderSetModified(ObjectHandle item, ObjectHandle date);
RUNTIME_ENTRY ObjectHandle folderParentGetter(ObjectHandle item);
RUNTIME_ENTRY void FolderItemDelete(ObjectHandle item);
RUNTIME_ENTRY void FolderItemCreateAsFolder(ObjectHandle item);
RUNTIME_ENTRY void FolderItemCopyFileTo(ObjectHandle item, ObjectHandle target);
RUNTIME_ENTRY void FolderItemMoveFileTo(ObjectHandle item, ObjectHandle target);
RUNTIME_ENTRY void FolderItemLaunch(ObjectHandle item);

// The standard open and save dialogs, filtered by the application's declared
// file types.
#include <windows.h>
#include <commdlg.h>

#include <string>

#include "files/FileTypes.h"
#include "files/FolderItemEntries.h"
#include "files/FolderItems.h"
#include "objects/ObjectLifetime.h"
#include "objects/ProjectItems.h"
#include "objects/UnwindScope.h"
#include "text/EntryGuard.h"
#include "text/StringValue.h"
#include "text/SystemText.h"
#include "ui/WindowOperations.h"

using namespace runtime;

namespace {

constexpr DWORD kOpenFlags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;  // 0x1804
constexpr DWORD kSaveFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;  // 0x0806
constexpr DWORD kFileNameCharacters = 256;

enum class DialogKind { kOpen, kSave };

ObjectHandle runFileDialog(StringHandle typeNames, DialogKind kind) {
    const DialogFilter filter = dialogFilterFor(applicationSettings().fileTypes, viewOf(typeNames));
    // The zero bytes between the filter's texts survive the conversion.
    const std::wstring systemFilter = toSystemText(filter.filter);
    const std::wstring defaultExtension = toSystemText(filter.defaultExtension);
    wchar_t fileName[kFileNameCharacters] = {};

    OPENFILENAMEW dialog{};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400W;  // the 76-byte form
    dialog.hwndOwner = dialogOwnerWindow();
    dialog.lpstrFilter = systemFilter.c_str();
    dialog.lpstrFile = fileName;
    dialog.nMaxFile = kFileNameCharacters;
    if (kind == DialogKind::kOpen) {
        dialog.Flags = kOpenFlags;
        if (!GetOpenFileNameW(&dialog)) return nullptr;
    } else {
        dialog.Flags = kSaveFlags;
        if (!defaultExtension.empty()) dialog.lpstrDefExt = defaultExtension.c_str();
        if (!GetSaveFileNameW(&dialog)) return nullptr;
    }
    return newFolderItem(fromSystemText(fileName)).release();
}

// A handler that ran while the dialog was up (a window of the runtime painted,
// a timer fired) may have raised: the exception waits until the dialog has
// returned and is raised from the entry routine's frame, the dialog's result
// given up.
ObjectHandle raiseHeldException(ObjectHandle chosen, uintptr_t frame) {
    if (!exceptionPending()) return chosen;
    unlockObject(chosen);
    raisePendingException(frame);
    return nullptr;
}

}  // namespace

__attribute__((noinline)) ObjectHandle RuntimeGetOpenFolderItem(StringHandle typeNames) {
    ObjectHandle chosen = guardedEntry([&] { return runFileDialog(typeNames, DialogKind::kOpen); });
    return raiseHeldException(chosen, RUNTIME_CURRENT_FRAME());
}

__attribute__((noinline)) ObjectHandle RuntimeGetSaveFolderItem(StringHandle typeNames) {
    ObjectHandle chosen = guardedEntry([&] { return runFileDialog(typeNames, DialogKind::kSave); });
    return raiseHeldException(chosen, RUNTIME_CURRENT_FRAME());
}

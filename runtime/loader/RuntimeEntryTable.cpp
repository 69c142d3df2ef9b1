#include "loader/RuntimeEntryTable.h"

#include <windows.h>

#include "comm/NotePlayerEntries.h"
#include "comm/SerialEntries.h"
#include "comm/SocketEntries.h"
#include "files/FolderItemEntries.h"
#include "files/StreamEntries.h"
#include "objects/LoopEntries.h"
#include "objects/ObjectEntries.h"
#include "objects/RuntimeStartup.h"
#include "objects/SystemObjects.h"
#include "text/MathEntries.h"
#include "text/NumberEntries.h"
#include "text/StringEntries.h"
#include "text/StringFunctionEntries.h"
#include "text/UserAlerts.h"

namespace {

template <typename Routine>
constexpr RuntimeEntry entry(const char* name, Routine* routine) {
    return RuntimeEntry{name, reinterpret_cast<void*>(routine), {0, 0}};
}

#define ENTRY(routine) entry(#routine, &routine)

const RuntimeEntry kRuntimeEntries[] = {
    // String values
    ENTRY(RuntimeLockString),
    ENTRY(RuntimeUnlockString),
    ENTRY(RuntimeAddString),
    ENTRY(RuntimeStringCompare),
    ENTRY(StringStrCompare),
    ENTRY(StringGetCString),
    ENTRY(StringToCString),
    ENTRY(StringGetPString),
    ENTRY(StringToPString),
    ENTRY(StringToOSType),
    ENTRY(VELMBuildString),
    ENTRY(VELMLockString),
    ENTRY(VELMUnlockString),
    ENTRY(stringGetter),
    ENTRY(stringSetter),
    // Objects, classes and exceptions
    ENTRY(RuntimeInit),
    ENTRY(RuntimeNewObject),
    ENTRY(RuntimeLockObject),
    ENTRY(RuntimeUnlockObject),
    ENTRY(objGetter),
    ENTRY(objSetter),
    ENTRY(RuntimeObjectIsa),
    ENTRY(RuntimeCheckCast),
    ENTRY(RuntimeNilObject),
    ENTRY(RuntimeRaiseException),
    ENTRY(RuntimeReraiseException),
    ENTRY(RuntimeFindHookCode),
    ENTRY(FindVTableCode),
    ENTRY(FindInterfaceVTableCode),
    ENTRY(RuntimeProjectObject),
    ENTRY(RuntimePictureReference),
    ENTRY(RuntimeStackCheck),
    ENTRY(getAppObject),
    ENTRY(debugDumpObjects),
    ENTRY(getSystemObject),
    ENTRY(getKeyboardObject),
    ENTRY(lineTrace),
    ENTRY(win32getCommandLine),
    // Event loop and application events
    ENTRY(RuntimeRun),
    ENTRY(ApplicationQuit),
    ENTRY(RuntimeBackgroundTask),
    ENTRY(RuntimeTicks),
    ENTRY(RuntimeMicroseconds),
    ENTRY(getUserCancelled),
    ENTRY(RuntimeEnableMenu),
    ENTRY(enableMenuItems),
    ENTRY(ApplicationOpenDocument),
    ENTRY(ApplicationNewDocument),
    // String functions, byte-counting and double-byte
    ENTRY(StringLeft),
    ENTRY(StringRight),
    ENTRY(StringMid2),
    ENTRY(StringMid3),
    ENTRY(StringLen),
    ENTRY(StringAsc),
    ENTRY(StringChr),
    ENTRY(StringLCase),
    ENTRY(StringUCase),
    ENTRY(StringTitleCase),
    ENTRY(StringInStr),
    ENTRY(StringReplace),
    ENTRY(StringReplaceAll),
    ENTRY(StringCountFields),
    ENTRY(StringNthField),
    ENTRY(runLTrim),
    ENTRY(runRTrim),
    ENTRY(runTrim),
    ENTRY(StringDBCSLeft),
    ENTRY(StringDBCSRight),
    ENTRY(StringDBCSMid2),
    ENTRY(StringDBCSMid3),
    ENTRY(StringDBCSLen),
    ENTRY(StringDBCSAsc),
    ENTRY(StringDBCSChr),
    ENTRY(StringDBCSInStr),

    // Numbers: conversion, formatting, arithmetic
    ENTRY(StringVal),
    ENTRY(runCDbl),
    ENTRY(StringStr),
    ENTRY(runCStr),
    ENTRY(StringFormat),
    ENTRY(RuntimeHex),
    ENTRY(RuntimeOct),
    ENTRY(FPToInt),
    ENTRY(IntToFP),
    ENTRY(RuntimeAbs),
    ENTRY(RuntimeMax),
    ENTRY(RuntimeMin),
    ENTRY(RuntimeRound),
    ENTRY(RuntimeCeil),
    ENTRY(RuntimeFloor),
    ENTRY(RuntimeSqrt),
    ENTRY(RuntimeExp),
    ENTRY(RuntimeLog),
    ENTRY(RuntimePow),
    ENTRY(RuntimeSin),
    ENTRY(RuntimeCos),
    ENTRY(RuntimeTan),
    ENTRY(RuntimeASin),
    ENTRY(RuntimeACos),
    ENTRY(RuntimeATan),
    ENTRY(RuntimeATan2),
    ENTRY(BitwiseAnd),
    ENTRY(BitwiseOr),
    ENTRY(BitwiseXor),
    ENTRY(RuntimeRGB),
    ENTRY(rnd),
    ENTRY(RuntimeBeep),
    ENTRY(RuntimeMsgBox),

    // Folder items, files and streams
    ENTRY(RuntimeGetFolderItem),
    ENTRY(fileAbsolutePathGetter),
    ENTRY(fileCountGetter),
    ENTRY(fileNameGetter),
    ENTRY(fileNameSetter),
    ENTRY(fileSizeGetter),
    ENTRY(fileLockedGetter),
    ENTRY(fileDirectoryGetter),
    ENTRY(folderParentGetter),
    ENTRY(TextInputStreamReadLine),
    ENTRY(TextInputStreamReadAll),
    ENTRY(TextInputStreamEOF),
    ENTRY(FolderItemItem),
    ENTRY(FolderItemOpenTextFile),
    ENTRY(FolderItemCreateTextFile),
    ENTRY(TextOutputStreamWriteLine),
    ENTRY(TextOutputStreamWrite),
    ENTRY(TextOutputStreamClose),
    ENTRY(FolderItemOpenBinaryFile),
    ENTRY(FolderItemCreateBinaryFile),
    ENTRY(BinaryStreamEOF),
    ENTRY(BinaryStreamGetLength),
    ENTRY(BinaryStreamSetLength),
    ENTRY(BinaryStreamGetPosition),
    ENTRY(BinaryStreamSetPosition),
    ENTRY(BinaryStreamReadByte),
    ENTRY(BinaryStreamReadShort),
    ENTRY(BinaryStreamReadLong),
    ENTRY(BinaryStreamReadPString),
    ENTRY(BinaryStreamWriteByte),
    ENTRY(BinaryStreamWriteShort),
    ENTRY(BinaryStreamWriteLong),
    ENTRY(BinaryStreamWritePString),
    ENTRY(BinaryStreamClose),
    ENTRY(fileTypeGetter),
    ENTRY(fileVisibleSetter),
    ENTRY(fileLockedSetter),
    ENTRY(FolderChild),
    ENTRY(RuntimeGetOpenFolderItem),
    ENTRY(RuntimeGetSaveFolderItem),
    ENTRY(TextInputStreamClose),
    ENTRY(FolderItemDelete),
    ENTRY(folderGetModified),
    ENTRY(folderGetCreation),
    ENTRY(folderSetCreation),
    ENTRY(folderSetModified),
    ENTRY(FolderItemAppendTextFile),
    ENTRY(getAppleMenuFolder),
    ENTRY(getControlPanelsFolder),
    ENTRY(getDesktopFolder),
    ENTRY(getExtensionsFolder),
    ENTRY(getPreferencesFolder),
    ENTRY(getStartupItemsFolder),
    ENTRY(getShutdownItemsFolder),
    ENTRY(getFontsFolder),
    ENTRY(getTrashFolder),
    ENTRY(getSystemFolder),
    ENTRY(getTemporaryItemsFolder),
    ENTRY(fileExistsGetter),
    ENTRY(FolderItemCreateAsFolder),
    ENTRY(FolderItemLaunch),
    ENTRY(BinaryStreamRead),
    ENTRY(BinaryStreamWrite),
    ENTRY(FolderItemCopyFileTo),
    ENTRY(fileMacTypeGetter),
    ENTRY(fileMacTypeSetter),
    ENTRY(fileMacCreatorGetter),
    ENTRY(fileMacCreatorSetter),
    ENTRY(fileVisibleGetter),
    ENTRY(getVolumeCount),
    ENTRY(getVolume),
    ENTRY(FolderTrueChild),
    ENTRY(FolderItemTrueItem),
    ENTRY(RuntimeGetTrueFolderItem),
    ENTRY(fileAliasGetter),
    ENTRY(fileRFSizeGetter),
    ENTRY(BinaryStreamReadFloat),
    ENTRY(BinaryStreamReadDouble),
    ENTRY(BinaryStreamWriteFloat),
    ENTRY(BinaryStreamWriteDouble),
    ENTRY(FolderItemMoveFileTo),
    ENTRY(getTemporaryFolderItem),

    // Serial port
    ENTRY(serialOpen),
    ENTRY(serialClose),
    ENTRY(serialWrite),
    ENTRY(serialRead),
    ENTRY(serialXmitWait),
    ENTRY(serialFlush),
    ENTRY(serialReadAll),
    ENTRY(getSerialPortCount),
    ENTRY(serialTick),
    ENTRY(serialReset),
    ENTRY(serialLeaveDTROnClose),
    ENTRY(getSerialPort),

    // Socket
    ENTRY(socketDirectConnect),
    ENTRY(SocketConnect),
    ENTRY(SocketReadAll),
    ENTRY(SocketWrite),
    ENTRY(socketRead),
    ENTRY(socketLastErrorCode),
    ENTRY(socketClose),
    ENTRY(socketPPPStatus),
    ENTRY(socketPPPConnect),
    ENTRY(socketPPPDisconnect),
    ENTRY(SocketListen),
    ENTRY(socketLookahead),
    ENTRY(socketLocalAddressGetter),
    ENTRY(socketPoll),
    ENTRY(socketGetEvents),
    ENTRY(socketRemoteAddressGetter),
    ENTRY(pluginSocketRead),
    ENTRY(pluginSocketReadAll),
    ENTRY(pluginSocketLookahead),

    // NotePlayer
    ENTRY(notePlayerPlayNote),
    ENTRY(notePlayerInstrumentSetter),
};

#undef ENTRY

}  // namespace

namespace runtime {

std::span<const RuntimeEntry> runtimeEntryTable() { return kRuntimeEntries; }

void* findRuntimeRoutine(const char* name) {
    for (const RuntimeEntry& slot : kRuntimeEntries) {
        if (slot.name && lstrcmpiA(slot.name, name) == 0) return slot.routine;
    }
    return nullptr;
}

}  // namespace runtime

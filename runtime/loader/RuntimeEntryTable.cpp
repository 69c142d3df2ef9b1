#include "loader/RuntimeEntryTable.h"

#include <windows.h>

#include "loader/PluginEntries.h"
#include "loader/PluginProperties.h"
#include "objects/LoopEntries.h"
#include "objects/ObjectEntries.h"
#include "objects/RuntimeStartup.h"
#include "objects/SystemObjects.h"
#include "ui/Timer.h"
#include "objects/WindowInstantiation.h"
#include "text/MathEntries.h"
#include "text/NumberEntries.h"
#include "text/StringEntries.h"
#include "text/StringFunctionEntries.h"
#include "text/UserAlerts.h"
#include "text/arrays/ArrayEntries.h"
#include "text/arrays/CollectionEntries.h"
#include "ui/WindowEntries.h"

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
    // Timers
    ENTRY(timerModeGetter),
    ENTRY(timerModeSetter),
    ENTRY(timerPeriodGetter),
    ENTRY(timerPeriodSetter),
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
    // Windows, window layouts, controls' registry and menus
    ENTRY(RuntimeCreateWindow),
    ENTRY(RuntimeControlFetch),
    ENTRY(RuntimeControlReference),
    ENTRY(RuntimeControlArrayItemReference),
    ENTRY(RuntimeCloneControlReference),
    ENTRY(RuntimeShowWindow),
    ENTRY(RuntimeHideWindow),
    ENTRY(RuntimeCloseWindow),
    ENTRY(RuntimeShowModal),
    ENTRY(WindowVisibleGetter),
    ENTRY(WindowVisibleSetter),
    ENTRY(windowPosGetter),
    ENTRY(windowPosSetter),
    ENTRY(windowPlacementGetter),
    ENTRY(windowPlacementSetter),
    ENTRY(windowTitleGetter),
    ENTRY(windowTitleSetter),
    ENTRY(windowCloseBoxGetter),
    ENTRY(windowCloseBoxSetter),
    ENTRY(windowGrowIconGetter),
    ENTRY(windowGrowIconSetter),
    ENTRY(windowZoomIconGetter),
    ENTRY(windowZoomIconSetter),
    ENTRY(windowFrameGetter),
    ENTRY(windowFrameSetter),
    ENTRY(windowBackdropGetter),
    ENTRY(windowBackdropSetter),
    ENTRY(windowHasBackColorGetter),
    ENTRY(windowHasBackColorSetter),
    ENTRY(windowBackColorGetter),
    ENTRY(windowBackColorSetter),
    ENTRY(windowBalloonHelpSetter),
    ENTRY(formMouseCursorSetter),
    ENTRY(windowControlCountGetter),
    ENTRY(windowControl),
    ENTRY(windowMouseXGetter),
    ENTRY(windowMouseYGetter),
    ENTRY(windowWindowPtrGetter),
    ENTRY(windowHWNDGetter),
    ENTRY(getWindowCount),
    ENTRY(getWindow),
    ENTRY(RuntimeMenuReference),
    ENTRY(RuntimeMenuArrayReference),
    ENTRY(RuntimeCloneMenu),
    ENTRY(RuntimeCloseMenuItem),
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

    // Arrays and compact boolean arrays
    ENTRY(RuntimeCreateArray),
    ENTRY(RuntimeArrayCreateAddIndex),
    ENTRY(RuntimeUBound),
    ENTRY(RuntimeRedimIntArrayLevel),
    ENTRY(RuntimeRedimStringArrayLevel),
    ENTRY(RuntimeRedimObjectArrayLevel),
    ENTRY(RuntimeDisposeIntArray),
    ENTRY(RuntimeDisposeStringArray),
    ENTRY(RuntimeDisposeObjectArray),
    ENTRY(RuntimeDirectReadIntArray),
    ENTRY(RuntimeDirectReadSingleArray),
    ENTRY(RuntimeDirectReadDoubleArray),
    ENTRY(RuntimeDirectReadStringArray),
    ENTRY(RuntimeDirectReadObjectArray),
    ENTRY(RuntimeDirectWriteIntArray),
    ENTRY(RuntimeDirectWriteSingleArray),
    ENTRY(RuntimeDirectWriteDoubleArray),
    ENTRY(RuntimeDirectWriteStringArray),
    ENTRY(RuntimeDirectWriteObjectArray),
    ENTRY(RuntimeIntArrayAppend),
    ENTRY(RuntimeSingleArrayAppend),
    ENTRY(RuntimeDoubleArrayAppend),
    ENTRY(RuntimeStringArrayAppend),
    ENTRY(RuntimeObjectArrayAppend),
    ENTRY(RuntimeIntArrayInsert),
    ENTRY(RuntimeSingleArrayInsert),
    ENTRY(RuntimeDoubleArrayInsert),
    ENTRY(RuntimeStringArrayInsert),
    ENTRY(RuntimeObjectArrayInsert),
    ENTRY(RuntimeIntArrayRemove),
    ENTRY(RuntimeStringArrayRemove),
    ENTRY(RuntimeObjectArrayRemove),
    ENTRY(RuntimeIntArraySort),
    ENTRY(RuntimeSingleArraySort),
    ENTRY(RuntimeDoubleArraySort),
    ENTRY(RuntimeStringArraySort),
    ENTRY(RuntimeArrayStartReadAccess),
    ENTRY(RuntimeArrayAddReadIndex),
    ENTRY(RuntimeReadIntArray),
    ENTRY(RuntimeReadSingleArray),
    ENTRY(RuntimeReadDoubleArray),
    ENTRY(RuntimeReadStringArray),
    ENTRY(RuntimeReadObjectArray),
    ENTRY(RuntimeArrayStartWriteAccess),
    ENTRY(RuntimeArrayAddWriteIndex),
    ENTRY(RuntimeWriteIntArray),
    ENTRY(RuntimeWriteSingleArray),
    ENTRY(RuntimeWriteDoubleArray),
    ENTRY(RuntimeWriteStringArray),
    ENTRY(RuntimeWriteObjectArray),
    ENTRY(RuntimeCreateFastBooleanArray),
    ENTRY(RuntimeFastArrayUBound),
    ENTRY(RuntimeRedimFastBoolArray),
    ENTRY(RuntimeFastReadBoolArray),
    ENTRY(RuntimeFastWriteBoolArray),
    ENTRY(RuntimeFastBooleanArrayAppend),
    ENTRY(RuntimeFastBooleanArrayInsert),
    ENTRY(RuntimeFastBooleanArrayRemove),
    ENTRY(RuntimeDisposeFastBooleanArray),
    // Collections
    ENTRY(collectionAdd),
    ENTRY(collectionCount),
    ENTRY(collectionIdxItem),
    ENTRY(collectionItem),
    ENTRY(collectionIdxRemove),
    ENTRY(collectionKeyRemove),
    // Plug-in host interface
    ENTRY(Win32InstallPlugins),
    ENTRY(RegisterPluginVersion),
    ENTRY(RegisterPluginExports),
    ENTRY(PluginRegisterMethod),
    ENTRY(PluginRegisterControl),
    ENTRY(PluginRegisterClass),
    ENTRY(PluginRegisterClassExtension),
    ENTRY(PluginNewInstance),
    ENTRY(GetEventInstance),
    ENTRY(GetEventInstancePPC),
    ENTRY(GetInterfaceRoutine),
    ENTRY(VELMLockObject),
    ENTRY(VELMUnlockObject),
    ENTRY(PluginDefaultControlFont),
    ENTRY(PluginDefaultControlFontSize),
    ENTRY(PluginDefaultControlCaption),
    ENTRY(VELMGetWin32Charset),
    ENTRY(intInvalidateSetter),
    ENTRY(boolInvalidateSetter),
    ENTRY(stringInvalidateSetter),
    ENTRY(objInvalidateSetter),
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

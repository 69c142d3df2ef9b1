// Loads the application image of the current folder, binds its plug-in member
// imports through a fake resolver (two members found, the others not) and runs
// it. Every resolver question and every call of a fake member is written as a
// line to probe.log, flushed at once: the process may end inside a trap.
#include <windows.h>

#include <cstdio>
#include <string>

#include "RuntimeCall.h"
#include "loader/ImageLoader.h"
#include "loader/LoadedImage.h"
#include "text/GlobalLock.h"
#include "text/StringValue.h"

namespace {

FILE* gLog = nullptr;

void logLine(const std::string& line) {
    std::fprintf(gLog, "%s\n", line.c_str());
    std::fflush(gLog);
}

RUNTIME_CALL void fakeAddRow(void*, StringHandle text) {
    logLine("AddRow " + std::string(runtime::cStringOf(text)));
}

// kej_ReplaceAll: every occurrence of oldText replaced by newText.
RUNTIME_CALL StringHandle fakeReplaceAll(StringHandle source, StringHandle oldText, StringHandle newText) {
    std::string text = runtime::cStringOf(source);
    const std::string from = runtime::cStringOf(oldText);
    const std::string to = runtime::cStringOf(newText);
    for (size_t at = text.find(from); !from.empty() && at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return runtime::StringValue::fromBytes(text).release();
}

}  // namespace

int main() {
    SetDllDirectoryA("");
    runtime::initGlobalLock();
    gLog = std::fopen("probe.log", "wb");
    if (!gLog) return 12;
    const runtime::loader::LoadResult loaded = runtime::loadApplicationImage();
    if (!loaded.ok()) {
        logLine("not loaded: " + loaded.message());
        return 10;
    }
    logLine("deferred " + std::to_string(runtime::deferredPluginImportCount()));
    runtime::bindDeferredPluginImports([](const runtime::StringValue& member) -> void* {
        const std::string text(member.view());
        logLine("resolve " + text);
        if (text == "MBevelButton!AddRow(text As String)") return reinterpret_cast<void*>(&fakeAddRow);
        if (text.starts_with("Mkej_ReplaceAll(")) return reinterpret_cast<void*>(&fakeReplaceAll);
        return nullptr;
    });
    logLine("deferred " + std::to_string(runtime::deferredPluginImportCount()));
    runtime::callApplicationEntry();
    logLine("returned");  // the fixture never returns: it ends in the trap
    return 11;
}

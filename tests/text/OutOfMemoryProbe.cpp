// A program that runs out of memory in one of three ways; the runtime must
// show its message and end the process with exit code 3.
//   oom_probe                 asks the pool for more than an address space holds
//   oom_probe string          asks for a string value of 0x7FFFFFFF bytes
//   oom_probe chunk LOGFILE   a pool whose next chunk cannot be had; while the
//                             message is up, a timer allocates from the same
//                             pool and writes to the block it got
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "text/SmallBlockPool.h"
#include "text/StringEntries.h"

namespace {

int gChunksGiven = 0;
void* oneChunkOnly(size_t size) { return gChunksGiven++ == 0 ? std::malloc(size) : nullptr; }

runtime::SmallBlockPool* gPool = nullptr;
FILE* gLog = nullptr;

void CALLBACK allocateWhileTheMessageIsUp(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    auto* block = static_cast<char*>(gPool->allocate(8));
    if (block) std::memcpy(block, "written", 8);  // faults if the block is bogus
    std::fprintf(gLog, "%s\n", block ? block : "null");
    std::fclose(gLog);
}

int exhaustChunks(const char* logPath) {
    gLog = std::fopen(logPath, "w");
    if (!gLog) return 12;
    gPool = new runtime::SmallBlockPool(oneChunkOnly);
    // 32 blocks of 252 bytes fill the first chunk but for 128 bytes; the 33rd
    // needs a chunk the source refuses.
    for (int i = 0; i < 32; ++i) gPool->allocate(252);
    SetTimer(nullptr, 0, 200, allocateWhileTheMessageIsUp);
    gPool->allocate(252);
    return 10;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "chunk" && argc > 2) return exhaustChunks(argv[2]);
    if (mode == "string") {
        StringHandle s = VELMBuildString(nullptr, 0x7FFFFFFF);
        return s ? 10 : 11;
    }
    // Larger than any 32-bit address space can hold at once.
    void* block = runtime::poolAllocate(0x7FFFFFF0);
    // Reached only if the allocation succeeded, which is a failure of the test.
    return block ? 10 : 11;
}

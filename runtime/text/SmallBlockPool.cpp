#include "text/SmallBlockPool.h"

#include <cstdlib>

#include "text/FatalError.h"
#include "text/GlobalLock.h"

namespace runtime {

SmallBlockPool& SmallBlockPool::instance() {
    // Never destroyed: string values may be released until the process ends.
    static SmallBlockPool* pool = new SmallBlockPool;
    return *pool;
}

SmallBlockPool::SmallBlockPool(ChunkSource source) : source_(source ? source : std::malloc) {}

SmallBlockPool::~SmallBlockPool() {
    for (void* chunk : chunks_) std::free(chunk);
}

void* SmallBlockPool::allocate(int32_t n) {
    if (n <= 0) return nullptr;
    const int32_t words = classOf(n);
    GlobalLockGuard guard;
    if (words > kLargestClass) {
        void* block = source_(static_cast<size_t>(n));
        if (!block) runOutOfMemory();
        return block;
    }
    void* block;
    if (FreeBlock* freed = freeLists_[words]) {
        freeLists_[words] = freed->next;
        block = freed;
    } else {
        block = cutFromChunk(words);
    }
    bytesInUse_ += n;
    return block;
}

void* SmallBlockPool::cutFromChunk(int32_t words) {
    // On the 32-bit target a word holds the free-list link and aligns every
    // record; a native (64-bit) build of this logic cuts whole pointers.
    constexpr int32_t kGrain = sizeof(FreeBlock);
    const int32_t bytes = (words * kWordSize + kGrain - 1) / kGrain * kGrain;
    if (chunkLeft_ < bytes) {
        // The pool stays as it was until the new chunk exists: an allocation
        // made while the out-of-memory message is up still cuts from the rest
        // of the old chunk or asks again.
        auto* chunk = static_cast<uint8_t*>(source_(kChunkSize));
        if (!chunk) runOutOfMemory();
        chunks_.push_back(chunk);
        // The rest of the old chunk is abandoned: it is smaller than this class.
        chunkCursor_ = chunk;
        chunkLeft_ = kChunkSize;
    }
    void* block = chunkCursor_;
    chunkCursor_ += bytes;
    chunkLeft_ -= bytes;
    return block;
}

void SmallBlockPool::release(void* block, int32_t n) {
    if (!block || n <= 0) return;
    const int32_t words = classOf(n);
    GlobalLockGuard guard;
    if (words > kLargestClass) {
        std::free(block);
        return;
    }
    auto* freed = static_cast<FreeBlock*>(block);
    freed->next = freeLists_[words];
    freeLists_[words] = freed;
    bytesInUse_ -= n;
}

}  // namespace runtime

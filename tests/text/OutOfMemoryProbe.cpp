// A program that asks the small-block pool for more memory than a 32-bit
// process can have. The pool must show its message and end the process.
#include <windows.h>

#include "text/SmallBlockPool.h"

int main() {
    // Larger than any 32-bit address space can hold at once.
    void* block = runtime::poolAllocate(0x7FFFFFF0);
    // Reached only if the allocation succeeded, which is a failure of the test.
    return block ? 10 : 11;
}

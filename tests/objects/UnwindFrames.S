# A function shaped like compiled application code that calls a routine and
# catches what it raises. Class-table index 1 is RuntimeException (see
# UnwindProbe.cpp).
#include "CatchingFrames.inc"

    .text

# ObjectHandle catchAround(void (*routine)(void)): calls routine(); returns 0
# when it returned, else the caught exception (owned by the caller).
    .globl _catchAround
_catchAround:
    enter_catching_frame
    call *8(%ebp)
    .byte 0xEB, 2, 0x2F, 0x00
    xorl %eax, %eax
    jmp 2f
1:  take_caught_exception
2:  leave_catching_frame
    catch_trailer 1, 1b

# A caller shaped like compiled application code: it calls an entry routine
# with argument words from an array, marks the call site with a tag and
# catches RuntimeException (class-table index 0) in its trailer.
#include "../objects/CatchingFrames.inc"

    .text

# ObjectHandle catchingCall(routine, const uint32_t* words, int32 count,
#                           uint64_t* result, int32 floatResult)
# Returns 0 after a normal return (the result in *result: EDX:EAX, or the x87
# value as a double when floatResult is not 0), else the caught exception.
    .globl _catchingCall
_catchingCall:
    enter_catching_frame
    movl 16(%ebp), %ecx
    movl 12(%ebp), %edx
1:  testl %ecx, %ecx
    jz 2f
    decl %ecx
    pushl (%edx,%ecx,4)
    jmp 1b
2:  call *8(%ebp)
    .byte 0xEB, 2, 0x2F, 0x00
    leal -20(%ebp), %esp
    movl 20(%ebp), %ecx
    cmpl $0, 24(%ebp)
    jne 3f
    movl %eax, (%ecx)
    movl %edx, 4(%ecx)
    jmp 4f
3:  fstpl (%ecx)
4:  xorl %eax, %eax
    jmp 6f
5:  take_caught_exception
6:  leave_catching_frame
    catch_trailer 0, 5b

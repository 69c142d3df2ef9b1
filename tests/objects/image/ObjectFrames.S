# Functions shaped like compiled application code, for the object model
# fixture: call-site tags after calls that can raise, and function trailers
# with catch clauses and local releases. Class-table indices (objects.project):
# 1 RuntimeException, 2 NilObjectException.
#include "../CatchingFrames.inc"

    .text

# ObjectHandle catchFromRuntime(ObjectHandle e): RuntimeRaiseException(e);
# the call-site tag releases the argument; RuntimeException is caught.
    .globl _catchFromRuntime
_catchFromRuntime:
    enter_catching_frame
    pushl 8(%ebp)
    call _RuntimeRaiseException
    .byte 0xEB, 4, 0x2F, 0x02, 0x00, 0x00
    addl $4, %esp
    xorl %eax, %eax
    jmp 2f
1:  take_caught_exception
2:  leave_catching_frame
    catch_trailer 1, 1b

# ObjectHandle catchWithString(StringHandle s, ObjectHandle e): raiseWith(s, e)
# whose tag releases the string argument; RuntimeException is caught.
    .globl _catchWithString
_catchWithString:
    enter_catching_frame
    pushl 12(%ebp)
    pushl 8(%ebp)
    call _raiseWith
    .byte 0xEB, 4, 0x2F, 0x01, 0x00, 0x00
    addl $8, %esp
    xorl %eax, %eax
    jmp 2f
1:  take_caught_exception
2:  leave_catching_frame
    catch_trailer 1, 1b

# ObjectHandle passOutside(StringHandle s, ObjectHandle e, StringHandle local):
# holds `local` in a frame slot (released when the frame is left); the call
# site is outside any protected region, so its own catch clause is skipped.
    .globl _passOutside
_passOutside:
    pushl %ebp
    movl %esp, %ebp
    subl $8, %esp
    movl $0, -4(%ebp)
    movl 16(%ebp), %eax
    movl %eax, -8(%ebp)
    pushl 12(%ebp)
    pushl 8(%ebp)
    call _raiseWith
    .byte 0xEB, 5, 0x2F, 0x07, 0x01, 0x00, 0x00
    addl $8, %esp
    xorl %eax, %eax
    leave
    ret
    .byte 0x2F, 0x04
    .short 1
    .long 0
    .byte 0x05
    .short -8
    .byte 0

# ObjectHandle catchOuter(StringHandle s, ObjectHandle e, StringHandle local):
# calls passOutside and catches RuntimeException there.
    .globl _catchOuter
_catchOuter:
    enter_catching_frame
    pushl 16(%ebp)
    pushl 12(%ebp)
    pushl 8(%ebp)
    call _passOutside
    .byte 0xEB, 2, 0x2F, 0x00
    addl $12, %esp
    xorl %eax, %eax
    jmp 2f
1:  take_caught_exception
2:  leave_catching_frame
    catch_trailer 1, 1b

# ObjectHandle catchNil(void): RuntimeNilObject, caught as NilObjectException.
    .globl _catchNil
_catchNil:
    enter_catching_frame
    call _RuntimeNilObject
    .byte 0xEB, 2, 0x2F, 0x00
    xorl %eax, %eax
    jmp 2f
1:  take_caught_exception
2:  leave_catching_frame
    catch_trailer 2, 1b

# ObjectHandle catchNewDocument(ObjectHandle app): ApplicationNewDocument(app),
# whose handler may raise; RuntimeException is caught. Returns 0 when nothing
# was raised.
    .globl _catchNewDocument
_catchNewDocument:
    enter_catching_frame
    pushl 8(%ebp)
    call _ApplicationNewDocument
    .byte 0xEB, 2, 0x2F, 0x00
    addl $4, %esp
    xorl %eax, %eax
    jmp 2f
1:  take_caught_exception
2:  leave_catching_frame
    catch_trailer 1, 1b

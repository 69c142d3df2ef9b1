# Functions shaped like compiled application code: EBP frames, call-site tags
# after calls that can raise, and function trailers with catch clauses and
# local releases. Class-table indices used here: 1 RuntimeException,
# 2 NilObjectException (see ObjectModelTest.cpp). gCaughtBy tells which
# clause caught.
#include "CatchingFrames.inc"

    .text

# ObjectHandle fixtureCatch(StringHandle s, ObjectHandle e)
# Calls raiseWithString(s, e); its tag releases s; the catch clause for
# RuntimeException returns the caught exception.
    .globl _fixtureCatch
_fixtureCatch:
    enter_catching_frame
    pushl 12(%ebp)
    pushl 8(%ebp)
    call _raiseWithString
    .byte 0xEB, 4, 0x2F, 0x01, 0x00, 0x00
    addl $8, %esp
    xorl %eax, %eax
    jmp 2f
1:  movl $1, _gCaughtBy
    take_caught_exception
2:  leave_catching_frame
    catch_trailer 1, 1b

# ObjectHandle fixtureInnerOutside(StringHandle s, ObjectHandle e, StringHandle local)
# Holds `local` in a frame slot; its call site is outside any protected
# region, so its own catch clause does not apply.
    .globl _fixtureInnerOutside
_fixtureInnerOutside:
    enter_catching_frame
    movl 16(%ebp), %eax
    movl %eax, -8(%ebp)
    pushl 12(%ebp)
    pushl 8(%ebp)
    call _raiseWithString
    .byte 0xEB, 5, 0x2F, 0x07, 0x01, 0x00, 0x00
    addl $8, %esp
    xorl %eax, %eax
    jmp 2f
1:  movl $1, _gCaughtBy
    take_caught_exception
2:  leave_catching_frame
    .byte 0x2F, 0x04
    .short 1
    .long 1b - .
    .byte 0x05
    .short -8
    .byte 0

# Same shape, inside a protected region, but its only catch clause is for
# NilObjectException.
    .globl _fixtureInnerWrongClass
_fixtureInnerWrongClass:
    enter_catching_frame
    movl 16(%ebp), %eax
    movl %eax, -8(%ebp)
    pushl 12(%ebp)
    pushl 8(%ebp)
    call _raiseWithString
    .byte 0xEB, 4, 0x2F, 0x01, 0x00, 0x00
    addl $8, %esp
    xorl %eax, %eax
    jmp 2f
1:  movl $1, _gCaughtBy
    take_caught_exception
2:  leave_catching_frame
    .byte 0x2F, 0x04
    .short 2
    .long 1b - .
    .byte 0x05
    .short -8
    .byte 0

# ObjectHandle fixtureOuter(StringHandle s, ObjectHandle e, StringHandle local, inner)
# Calls inner(s, e, local) and catches RuntimeException.
    .globl _fixtureOuter
_fixtureOuter:
    enter_catching_frame
    pushl 16(%ebp)
    pushl 12(%ebp)
    pushl 8(%ebp)
    call *20(%ebp)
    .byte 0xEB, 2, 0x2F, 0x00
    addl $12, %esp
    xorl %eax, %eax
    jmp 2f
1:  movl $2, _gCaughtBy
    take_caught_exception
2:  leave_catching_frame
    catch_trailer 1, 1b

# ObjectHandle fixtureNil(void): calls RuntimeNilObject, catches NilObjectException.
    .globl _fixtureNil
_fixtureNil:
    enter_catching_frame
    call _RuntimeNilObject
    .byte 0xEB, 2, 0x2F, 0x00
    xorl %eax, %eax
    jmp 2f
1:  movl $3, _gCaughtBy
    take_caught_exception
2:  leave_catching_frame
    catch_trailer 2, 1b

# ObjectHandle fixtureCheckCast(ObjectHandle o, int32 classIndex): calls
# RuntimeCheckCast(o, classIndex); returns 0 when it passed, else the caught
# exception.
    .globl _fixtureCheckCast
_fixtureCheckCast:
    enter_catching_frame
    pushl 12(%ebp)
    pushl 8(%ebp)
    call _RuntimeCheckCast
    .byte 0xEB, 2, 0x2F, 0x00
    addl $8, %esp
    xorl %eax, %eax
    jmp 2f
1:  movl $4, _gCaughtBy
    take_caught_exception
2:  leave_catching_frame
    catch_trailer 1, 1b

# Functions shaped like compiled application code, for the object model
# fixture: call-site tags after calls that can raise, and function trailers
# with catch clauses and local releases. Class-table indices (objects.project):
# 1 RuntimeException, 2 NilObjectException.
#
# A catch clause resumes with only EBP restored: these functions keep the
# callee-saved registers in their frame and restore them on every way out.

    .text

# ObjectHandle catchFromRuntime(ObjectHandle e): RuntimeRaiseException(e);
# the call-site tag releases the argument; RuntimeException is caught.
    .globl _catchFromRuntime
_catchFromRuntime:
    pushl %ebp
    movl %esp, %ebp
    subl $8, %esp
    movl $0, -4(%ebp)
    pushl %ebx
    pushl %esi
    pushl %edi
    pushl 8(%ebp)
    call _RuntimeRaiseException
    .byte 0xEB, 4, 0x2F, 0x02, 0x00, 0x00
    addl $4, %esp
    xorl %eax, %eax
    jmp 2f
1:  movl -4(%ebp), %eax
    movl $0, -4(%ebp)
2:  movl -12(%ebp), %ebx
    movl -16(%ebp), %esi
    movl -20(%ebp), %edi
    leave
    ret
    .byte 0x2F, 0x04
    .short 1
    .long 1b - .
    .byte 0

# ObjectHandle catchWithString(StringHandle s, ObjectHandle e): raiseWith(s, e)
# whose tag releases the string argument; RuntimeException is caught.
    .globl _catchWithString
_catchWithString:
    pushl %ebp
    movl %esp, %ebp
    subl $8, %esp
    movl $0, -4(%ebp)
    pushl %ebx
    pushl %esi
    pushl %edi
    pushl 12(%ebp)
    pushl 8(%ebp)
    call _raiseWith
    .byte 0xEB, 4, 0x2F, 0x01, 0x00, 0x00
    addl $8, %esp
    xorl %eax, %eax
    jmp 2f
1:  movl -4(%ebp), %eax
    movl $0, -4(%ebp)
2:  movl -12(%ebp), %ebx
    movl -16(%ebp), %esi
    movl -20(%ebp), %edi
    leave
    ret
    .byte 0x2F, 0x04
    .short 1
    .long 1b - .
    .byte 0

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
    pushl %ebp
    movl %esp, %ebp
    subl $8, %esp
    movl $0, -4(%ebp)
    pushl %ebx
    pushl %esi
    pushl %edi
    pushl 16(%ebp)
    pushl 12(%ebp)
    pushl 8(%ebp)
    call _passOutside
    .byte 0xEB, 2, 0x2F, 0x00
    addl $12, %esp
    xorl %eax, %eax
    jmp 2f
1:  movl -4(%ebp), %eax
    movl $0, -4(%ebp)
2:  movl -12(%ebp), %ebx
    movl -16(%ebp), %esi
    movl -20(%ebp), %edi
    leave
    ret
    .byte 0x2F, 0x04
    .short 1
    .long 1b - .
    .byte 0

# ObjectHandle catchNil(void): RuntimeNilObject, caught as NilObjectException.
    .globl _catchNil
_catchNil:
    pushl %ebp
    movl %esp, %ebp
    subl $8, %esp
    movl $0, -4(%ebp)
    pushl %ebx
    pushl %esi
    pushl %edi
    call _RuntimeNilObject
    .byte 0xEB, 2, 0x2F, 0x00
    xorl %eax, %eax
    jmp 2f
1:  movl -4(%ebp), %eax
    movl $0, -4(%ebp)
2:  movl -12(%ebp), %ebx
    movl -16(%ebp), %esi
    movl -20(%ebp), %edi
    leave
    ret
    .byte 0x2F, 0x04
    .short 2
    .long 1b - .
    .byte 0

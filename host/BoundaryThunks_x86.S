// The 32-bit thunks of every boundary crossing (see Boundary.h). C names
// carry a leading underscore on this target.
#if defined(__i386__)
#include "Boundary.h"

    .text

// Word host_call_checked(const void* fn, const Word* args, Word argBytes, Word fault[2])
// (cdecl). Pushes `argBytes` of `args`, calls `fn` and writes fault[0]: the
// bytes the callee left on the stack (negative: popped too many), fault[1]:
// 1 EBX, 2 ESI, 4 EDI for each register that came back changed. The stack is
// restored from EBP whatever the callee did. Answers EAX.
    .globl _host_call_checked
_host_call_checked:
    push %ebp
    mov %esp, %ebp
    push %ebx                   // -4(%ebp)
    push %esi                   // -8(%ebp)
    push %edi                   // -12(%ebp)
    sub $4, %esp                // -16(%ebp): ESP as the callee must leave it
    mov 16(%ebp), %ecx
    mov %esp, %eax
    sub %ecx, %eax
    and $-16, %eax              // the arguments at a 16-byte boundary
    mov %eax, %esp
    add %ecx, %eax
    mov %eax, -16(%ebp)
    mov 12(%ebp), %esi
    mov %esp, %edi
    shr $2, %ecx
    cld
    rep movsl
    mov -8(%ebp), %esi          // the callee sees the caller's registers
    mov -12(%ebp), %edi
    call *8(%ebp)
    mov -16(%ebp), %edx
    sub %esp, %edx
    mov 20(%ebp), %ecx
    mov %edx, (%ecx)
    xor %edx, %edx
    cmp -4(%ebp), %ebx
    je 1f
    or $1, %edx
1:  cmp -8(%ebp), %esi
    je 2f
    or $2, %edx
2:  cmp -12(%ebp), %edi
    je 3f
    or $4, %edx
3:  mov %edx, 4(%ecx)
    lea -12(%ebp), %esp
    pop %edi
    pop %esi
    pop %ebx
    pop %ebp
    ret

// _host_callback_NAME: what the module calls for callback NAME. Hands the
// address of the arguments to the C++ side (host_enter_NAME, cdecl) and pops
// the row's bytes on the way out.
.macro CALLBACK_THUNK name, bytes
    .globl _host_callback_\name
_host_callback_\name:
    lea 4(%esp), %eax
    push %eax
    call _host_enter_\name
    add $4, %esp
    ret $\bytes
.endm

#define HOST_THUNK_ROW(name, bytes) CALLBACK_THUNK name, bytes;
HOST_CALLBACK_ROWS(HOST_THUNK_ROW)

#endif

// The call thunk of the 32-bit x86 build (see LibraryCall.h). Built only
// there; elsewhere the link object calls the libraries' functions plainly.
//
// uint32_t orvane_call_restoring_stack(const void* function,
//                                      const uint32_t* words, uint32_t count)
//
// ESI holds the stack pointer from before the arguments to after the call:
// both conventions make the callee preserve ESI, EDI, EBX and EBP, so ESI
// still holds it whether the callee cleared its arguments (stdcall, "ret N")
// or left them (cdecl, "ret"). The arguments start 16-byte aligned, as the
// compilers of both systems expect. The result comes back in EAX untouched.
#include "link/LibraryCall.h"

#if !defined(__i386__)
#error "the call thunk is for the 32-bit x86 build only"
#endif

__asm__(R"(
    .text
    .globl orvane_call_restoring_stack
    .p2align 4
orvane_call_restoring_stack:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    pushl %edi
    movl %esp, %esi
    movl 8(%ebp), %eax
    movl 12(%ebp), %edi
    movl 16(%ebp), %ecx
    leal 0(,%ecx,4), %edx
    subl %edx, %esp
    andl $-16, %esp
    testl %ecx, %ecx
    jz 2f
1:
    movl -4(%edi,%ecx,4), %edx
    movl %edx, -4(%esp,%ecx,4)
    decl %ecx
    jnz 1b
2:
    call *%eax
    movl %esi, %esp
    popl %edi
    popl %esi
    popl %ebp
    ret
)");

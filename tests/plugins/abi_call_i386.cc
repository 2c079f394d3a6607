// The i386 call trampoline declared in abi_call_i386.h. Nothing here on x86-64.
#include "tests/plugins/abi_call_i386.h"

#include <cstddef>

#if defined(__i386__)

static_assert(offsetof(AbiCallResult, eax) == 0 && offsetof(AbiCallResult, edx) == 4 &&
              offsetof(AbiCallResult, espDelta) == 8 && offsetof(AbiCallResult, x87Pushed) == 12 &&
              offsetof(AbiCallResult, st0) == 16 && offsetof(AbiCallResult, ebxAfter) == 24 &&
              offsetof(AbiCallResult, ediAfter) == 28);
static_assert(kEbxSentinel == 0x5a5a1234 && kEdiSentinel == 0xa5a54321,
              "the sentinels are repeated in the assembly below");

// Arguments: 8(%ebp) function, 12(%ebp) words, 16(%ebp) count, 20(%ebp) result.
// The x87 status word before the call is parked in result->x87Pushed until the count
// is known.
asm(R"(
    .pushsection .text
    .globl zema_abi_call_i386
    .hidden zema_abi_call_i386
    .type zema_abi_call_i386, @function
zema_abi_call_i386:
    pushl %ebp
    movl %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi

    # Room for the argument words, aligned as the i386 ABI wants it at a call.
    movl 16(%ebp), %ecx
    leal 0(,%ecx,4), %eax
    subl %eax, %esp
    andl $-16, %esp
    movl 12(%ebp), %esi
    movl %esp, %edi
    cld
    rep movsl

    # x87 status word before the call.
    movl 20(%ebp), %edx
    fnstsw %ax
    movzwl %ax, %eax
    movl %eax, 12(%edx)

    movl %esp, %esi
    movl $0x5a5a1234, %ebx
    movl $0xa5a54321, %edi
    movl 8(%ebp), %eax
    call *%eax

    # ESP difference first, before anything touches the stack.
    movl %esp, %ecx
    subl %esi, %ecx
    movl 20(%ebp), %esi
    movl %eax, 0(%esi)
    movl %edx, 4(%esi)
    movl %ecx, 8(%esi)
    movl %ebx, 24(%esi)
    movl %edi, 28(%esi)

    # Values pushed = (TOP before - TOP after) mod 8; TOP is bits 11 to 13.
    fnstsw %ax
    movzwl %ax, %eax
    shrl $11, %eax
    andl $7, %eax
    movl 12(%esi), %edx
    shrl $11, %edx
    andl $7, %edx
    subl %eax, %edx
    andl $7, %edx
    cmpl $7, %edx
    jne 1f
    movl $-1, %edx
1:
    movl %edx, 12(%esi)
    # Pop what was pushed (at most a few; an underflow is left alone).
    testl %edx, %edx
    jle 3f
    fstpl 16(%esi)
2:
    decl %edx
    jz 3f
    fstp %st(0)
    jmp 2b
3:
    fnclex
    leal -12(%ebp), %esp
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    ret
    .size zema_abi_call_i386, .-zema_abi_call_i386
    .popsection
)");

#endif

// A raw i386 call for checking the calling convention of the host's interface entries.
//
// zema_abi_call_i386 copies `count` 32-bit argument words onto a fresh 16-byte aligned
// stack (for a function that returns a struct, the caller puts the address of the
// result buffer first, as the hidden argument), calls `function` and reports what the
// call did to the machine state instead of trusting a prototype:
//   - espDelta: ESP after the call minus ESP before it. A cdecl callee leaves ESP
//     unchanged (0), except that a struct-returning callee removes the hidden result
//     pointer (ret $4), which makes it 4.
//   - x87Pushed: how many values the call left on the x87 register stack, from the TOP
//     field of the x87 status word before and after (fnstsw). A double or float result
//     is exactly one value in st(0); every other result is none. A call that popped
//     a value it never pushed shows up as -1. Whatever was left is popped again, the
//     first value into st0.
//   - eax, edx: the integer result registers.
//   - ebxAfter, ediAfter: the callee-saved registers, loaded with kEbxSentinel and
//     kEdiSentinel before the call.
#pragma once

#include <cstdint>

struct AbiCallResult {
  uint32_t eax;
  uint32_t edx;
  int32_t espDelta;
  int32_t x87Pushed;
  double st0;
  uint32_t ebxAfter;
  uint32_t ediAfter;
};

constexpr uint32_t kEbxSentinel = 0x5a5a1234;
constexpr uint32_t kEdiSentinel = 0xa5a54321;

#if defined(__i386__)
extern "C" void zema_abi_call_i386(const void* function, const uint32_t* words, uint32_t count,
                                   AbiCallResult* result);
#endif

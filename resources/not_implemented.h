// Entries for interface slots that have no behaviour in this host.
//
// Every slot of an interface table must hold a function declared with exactly the
// member's published signature, also when it does nothing: on i386 a function returning
// a struct pops a hidden result pointer and a function returning double or float
// leaves its value on the x87 stack, so an entry declared with another result type
// leaves the plug-in's stack (or the x87 register stack) unbalanced.
//
// NotImplemented<decltype(Interface::Member)>::entry is such a function, generated from
// the member's pointer type. It ignores its arguments and returns the neutral failure
// value of its result type: PP_FALSE, 0, 0.0, false, a null pointer, an undefined var
// or {0, 0}. An entry that takes a PP_CompletionCallback returns PP_ERROR_NOTSUPPORTED
// instead and never runs the callback, so the plug-in does not wait for a completion
// that would never come.
#pragma once

#include <type_traits>

#include "ppapi/pp_types.h"

template <typename FunctionPointer>
struct NotImplemented;

template <typename R, typename... Args>
struct NotImplemented<R (*)(Args...)> {
  static constexpr bool kTakesCallback =
      (std::is_same_v<std::remove_cv_t<Args>, PP_CompletionCallback> || ...);

  static R entry(Args...) {
    if constexpr (kTakesCallback) {
      static_assert(std::is_same_v<R, int32_t>, "callback-taking members return a result code");
      return PP_ERROR_NOTSUPPORTED;
    } else if constexpr (!std::is_void_v<R>) {
      // Value-initialisation: zero for scalars, enums and pointers, all-zero for the
      // PP_Var (PP_VARTYPE_UNDEFINED) and PP_Point results.
      return R{};
    }
  }
};

// For members whose int32_t result is a PPAPI result code (not a count or a number):
// answer PP_ERROR_NOTSUPPORTED, so the plug-in never takes 0 (PP_OK) for an operation
// that did not happen, nor reads outputs that were never written.
template <typename FunctionPointer>
struct NotImplementedResult;

template <typename... Args>
struct NotImplementedResult<int32_t (*)(Args...)> {
  static int32_t entry(Args...) { return PP_ERROR_NOTSUPPORTED; }
};

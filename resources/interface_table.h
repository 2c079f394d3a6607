// The host's interface lookup, handed to the plug-in at start-up, and the stub tables
// it gives out for the interfaces whose services the host does not offer.
#pragma once

#include <cstdint>

#include "ppapi/pp_types.h"

// The table for an exactly matching interface name (NUL included), or null.
const void* ZEMA_GetInterface(const char* interface_name);

// Stub entries. Each call writes the line "TRAP" to standard output and returns.
// Trap yields 0 for whatever integer, PP_Bool or pointer result the caller expects.
uintptr_t Trap();
// For slots whose member returns a result code: fails with PP_ERROR_NOTSUPPORTED
// rather than reporting success, and never runs a completion callback.
int32_t TrapFailure();
// For slots whose member returns a struct PP_Var: an undefined var. On i386 a
// struct-returning function receives a hidden result pointer and removes it from the
// stack on return (ret $4); a function declared otherwise in such a slot would leave
// the plug-in's stack 4 bytes off. Declaring PP_Var here gets that right.
PP_Var TrapVar();

// One slot of a stub table: the plug-in sees a plain function pointer.
union StubEntry {
  uintptr_t (*trap)();
  int32_t (*trapFailure)();
  PP_Var (*trapVar)();
};
static_assert(sizeof(StubEntry) == sizeof(void*));

// Ten slots per stub table, whatever the interface's member count: a plug-in that
// calls beyond the tenth slot of a stubbed interface is outside what the host offers.
inline constexpr int kStubEntries = 10;
using StubTable = StubEntry[kStubEntries];

extern const StubTable stubsBuffer;              // "PPB_Buffer(Dev);0.4"
extern const StubTable stubsFileChooser;         // "PPB_FileChooser(Dev);0.5"
extern const StubTable stubsFileChooserTrusted;  // "PPB_FileChooserTrusted;0.5"
extern const StubTable stubsFileRef;             // "PPB_FileRef;1.0"
extern const StubTable stubsFlashFileFileRef;    // "PPB_Flash_File_FileRef;2"
extern const StubTable stubsPdf;                 // "PPB_PDF;1"
extern const StubTable stubsImeInputEvent;       // "PPB_IMEInputEvent(Dev);0.1"
extern const StubTable stubsNetAddress;          // "PPB_NetAddress_Private;0.1"
extern const StubTable stubsUdpSocket;           // "PPB_UDPSocket_Private;0.3"

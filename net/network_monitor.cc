// "PPB_NetworkMonitor;1.0": the network monitor. The network list is never available.
#include "net/network_monitor.h"

#include "resources/not_implemented.h"

static PP_Resource ZEMA_NetworkMonitor_Create(PP_Instance) {
  return 0;
}

static int32_t ZEMA_NetworkMonitor_UpdateNetworkList(PP_Resource, PP_Resource*,
                                                     PP_CompletionCallback) {
  return PP_ERROR_NOACCESS;
}

using Iface = PPB_NetworkMonitor_1_0;

const PPB_NetworkMonitor_1_0 ppbNetworkMonitor = {
    ZEMA_NetworkMonitor_Create,
    ZEMA_NetworkMonitor_UpdateNetworkList,
    /* ZEMA_NetworkMonitor_IsNetworkMonitor */
    NotImplemented<decltype(Iface::IsNetworkMonitor)>::entry,
};

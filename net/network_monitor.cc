// "PPB_NetworkMonitor;1.0": the network monitor.
#include "net/network_monitor.h"

#include "resources/not_implemented.h"

using Iface = PPB_NetworkMonitor_1_0;

const PPB_NetworkMonitor_1_0 ppbNetworkMonitor = {
    /* ZEMA_NetworkMonitor_Create */ NotImplemented<decltype(Iface::Create)>::entry,
    /* ZEMA_NetworkMonitor_UpdateNetworkList */
    NotImplemented<decltype(Iface::UpdateNetworkList)>::entry,
    /* ZEMA_NetworkMonitor_IsNetworkMonitor */
    NotImplemented<decltype(Iface::IsNetworkMonitor)>::entry,
};

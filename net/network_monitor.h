// "PPB_NetworkMonitor;1.0": the network monitor.
#pragma once

#include "ppapi/ppb_network_monitor.h"

extern const PPB_NetworkMonitor_1_0 ppbNetworkMonitor;

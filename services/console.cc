// "PPB_Console;1.0": console messages.
#include "services/console.h"

#include "resources/not_implemented.h"

using Iface = PPB_Console_1_0;

const PPB_Console_1_0 ppbConsole = {
    /* ZEMA_ConsoleLog */ NotImplemented<decltype(Iface::Log)>::entry,
    /* ZEMA_ConsoleLogWithSource */ NotImplemented<decltype(Iface::LogWithSource)>::entry,
};

// "PPB_Var;1.2": string vars.
#include "resources/var.h"

#include "resources/not_implemented.h"

using Iface = PPB_Var_1_2;

const PPB_Var_1_2 ppbVar = {
    /* ZEMA_AddRef */ NotImplemented<decltype(Iface::AddRef)>::entry,
    /* ZEMA_Release */ NotImplemented<decltype(Iface::Release)>::entry,
    /* ZEMA_VarFromUtf8 */ NotImplemented<decltype(Iface::VarFromUtf8)>::entry,
    /* ZEMA_VarToUtf8 */ NotImplemented<decltype(Iface::VarToUtf8)>::entry,
    /* ZEMA_VarToResource */ NotImplemented<decltype(Iface::VarToResource)>::entry,
    /* ZEMA_VarFromResource */ NotImplemented<decltype(Iface::VarFromResource)>::entry,
};

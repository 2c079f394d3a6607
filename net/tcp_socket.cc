// "PPB_TCPSocket_Private;0.3", ";0.4" and ";0.5": TCP sockets. No socket is ever made: every
// connection attempt fails, asynchronously, as a refused connection would.
#include "net/tcp_socket.h"

#include "host/plugin_instance.h"
#include "resources/not_implemented.h"

static PP_Resource ZEMA_TCPSocket_Create(PP_Instance) {
  return 0;
}

static int32_t ZEMA_TCPSocket_Connect(PP_Resource, const char*, uint16_t,
                                      PP_CompletionCallback callback) {
  // Posted exactly as CallOnMainThread(0) would: it runs in a later turn, in call order.
  pluginInstance->addTimer(PluginInstance::getTimeStampMs(), callback, PP_ERROR_CONNECTION_FAILED);
  return PP_ERROR_INPROGRESS;
}

static PP_Bool ZEMA_TCPSocket_GetLocalAddress(PP_Resource, PP_NetAddress_Private*) {
  return PP_FALSE;
}

static PP_Bool ZEMA_TCPSocket_GetRemoteAddress(PP_Resource, PP_NetAddress_Private*) {
  return PP_FALSE;
}

static void ZEMA_TCPSocket_Disconnect(PP_Resource) {}

using Iface = PPB_TCPSocket_Private_0_3;

const PPB_TCPSocket_Private_0_3 ppbTcpSocket = {
    ZEMA_TCPSocket_Create,
    /* ZEMA_TCPSocket_IsTCPSocket */ NotImplemented<decltype(Iface::IsTCPSocket)>::entry,
    ZEMA_TCPSocket_Connect,
    /* ZEMA_TCPSocket_ConnectWithNetAddress */
    NotImplemented<decltype(Iface::ConnectWithNetAddress)>::entry,
    ZEMA_TCPSocket_GetLocalAddress,
    ZEMA_TCPSocket_GetRemoteAddress,
    /* ZEMA_TCPSocket_SSLHandshake */ NotImplemented<decltype(Iface::SSLHandshake)>::entry,
    /* ZEMA_TCPSocket_Read */ NotImplemented<decltype(Iface::Read)>::entry,
    /* ZEMA_TCPSocket_Write */ NotImplemented<decltype(Iface::Write)>::entry,
    ZEMA_TCPSocket_Disconnect,
};

using Iface05 = PPB_TCPSocket_Private_0_5;

// No socket exists, so there is no certificate to give or take, nor an option to set.
// The table also serves ";0.4", its first twelve members.
const PPB_TCPSocket_Private_0_5 ppbTcpSocket_0_5 = {
    ZEMA_TCPSocket_Create,
    /* ZEMA_TCPSocket_IsTCPSocket */ NotImplemented<decltype(Iface05::IsTCPSocket)>::entry,
    ZEMA_TCPSocket_Connect,
    /* ZEMA_TCPSocket_ConnectWithNetAddress */
    NotImplemented<decltype(Iface05::ConnectWithNetAddress)>::entry,
    ZEMA_TCPSocket_GetLocalAddress,
    ZEMA_TCPSocket_GetRemoteAddress,
    /* ZEMA_TCPSocket_SSLHandshake */ NotImplemented<decltype(Iface05::SSLHandshake)>::entry,
    /* ZEMA_TCPSocket_GetServerCertificate */
    NotImplemented<decltype(Iface05::GetServerCertificate)>::entry,
    /* ZEMA_TCPSocket_AddChainBuildingCertificate */
    NotImplemented<decltype(Iface05::AddChainBuildingCertificate)>::entry,
    /* ZEMA_TCPSocket_Read */ NotImplemented<decltype(Iface05::Read)>::entry,
    /* ZEMA_TCPSocket_Write */ NotImplemented<decltype(Iface05::Write)>::entry,
    ZEMA_TCPSocket_Disconnect,
    /* ZEMA_TCPSocket_SetOption */ NotImplemented<decltype(Iface05::SetOption)>::entry,
};

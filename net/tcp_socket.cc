// "PPB_TCPSocket_Private;0.3": TCP sockets.
#include "net/tcp_socket.h"

#include "resources/not_implemented.h"

using Iface = PPB_TCPSocket_Private_0_3;

const PPB_TCPSocket_Private_0_3 ppbTcpSocket = {
    /* ZEMA_TCPSocket_Create */ NotImplemented<decltype(Iface::Create)>::entry,
    /* ZEMA_TCPSocket_IsTCPSocket */ NotImplemented<decltype(Iface::IsTCPSocket)>::entry,
    /* ZEMA_TCPSocket_Connect */ NotImplemented<decltype(Iface::Connect)>::entry,
    /* ZEMA_TCPSocket_ConnectWithNetAddress */
    NotImplemented<decltype(Iface::ConnectWithNetAddress)>::entry,
    /* ZEMA_TCPSocket_GetLocalAddress */ NotImplemented<decltype(Iface::GetLocalAddress)>::entry,
    /* ZEMA_TCPSocket_GetRemoteAddress */ NotImplemented<decltype(Iface::GetRemoteAddress)>::entry,
    /* ZEMA_TCPSocket_SSLHandshake */ NotImplemented<decltype(Iface::SSLHandshake)>::entry,
    /* ZEMA_TCPSocket_Read */ NotImplemented<decltype(Iface::Read)>::entry,
    /* ZEMA_TCPSocket_Write */ NotImplemented<decltype(Iface::Write)>::entry,
    /* ZEMA_TCPSocket_Disconnect */ NotImplemented<decltype(Iface::Disconnect)>::entry,
};

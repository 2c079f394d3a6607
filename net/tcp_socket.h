// "PPB_TCPSocket_Private;0.3": TCP sockets.
#pragma once

#include "ppapi/ppb_net_private.h"

extern const PPB_TCPSocket_Private_0_3 ppbTcpSocket;
extern const PPB_TCPSocket_Private_0_5 ppbTcpSocket_0_5;

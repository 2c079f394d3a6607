// "PPB_NetAddress_Private;0.1", "PPB_TCPSocket_Private;0.3", ";0.4" and ";0.5",
// "PPB_UDPSocket_Private;0.3" and the opaque network address they share.
#pragma once

#include "ppapi/pp_types.h"

PP_EXTERN_C_BEGIN

typedef enum PP_INT32_ENUM {
  PP_NETADDRESSFAMILY_PRIVATE_UNSPECIFIED = 0,
  PP_NETADDRESSFAMILY_PRIVATE_IPV4 = 1,
  PP_NETADDRESSFAMILY_PRIVATE_IPV6 = 2
} PP_NetAddressFamily_Private;

// Opaque to the plug-in: size bytes of data are meaningful.
struct PP_NetAddress_Private {
  uint32_t size;
  int8_t data[128];
};

// "PPB_NetAddress_Private;0.1"
struct PPB_NetAddress_Private_0_1 {
  PP_Bool (*AreEqual)(const struct PP_NetAddress_Private* addr1,
                      const struct PP_NetAddress_Private* addr2);
  PP_Bool (*AreHostsEqual)(const struct PP_NetAddress_Private* addr1,
                           const struct PP_NetAddress_Private* addr2);
  struct PP_Var (*Describe)(PP_Module module, const struct PP_NetAddress_Private* addr,
                            PP_Bool include_port);
  PP_Bool (*ReplacePort)(const struct PP_NetAddress_Private* src_addr, uint16_t port,
                         struct PP_NetAddress_Private* addr_out);
  void (*GetAnyAddress)(PP_Bool is_ipv6, struct PP_NetAddress_Private* addr);
};

// "PPB_TCPSocket_Private;0.3"
struct PPB_TCPSocket_Private_0_3 {
  PP_Resource (*Create)(PP_Instance instance);
  PP_Bool (*IsTCPSocket)(PP_Resource resource);
  int32_t (*Connect)(PP_Resource tcp_socket, const char* host, uint16_t port,
                     struct PP_CompletionCallback callback);
  int32_t (*ConnectWithNetAddress)(PP_Resource tcp_socket, const struct PP_NetAddress_Private* addr,
                                   struct PP_CompletionCallback callback);
  PP_Bool (*GetLocalAddress)(PP_Resource tcp_socket, struct PP_NetAddress_Private* local_addr);
  PP_Bool (*GetRemoteAddress)(PP_Resource tcp_socket, struct PP_NetAddress_Private* remote_addr);
  int32_t (*SSLHandshake)(PP_Resource tcp_socket, const char* server_name, uint16_t server_port,
                          struct PP_CompletionCallback callback);
  int32_t (*Read)(PP_Resource tcp_socket, char* buffer, int32_t bytes_to_read,
                  struct PP_CompletionCallback callback);
  int32_t (*Write)(PP_Resource tcp_socket, const char* buffer, int32_t bytes_to_write,
                   struct PP_CompletionCallback callback);
  void (*Disconnect)(PP_Resource tcp_socket);
};

typedef enum PP_INT32_ENUM {
  PP_TCPSOCKETOPTION_PRIVATE_INVALID = 0,
  PP_TCPSOCKETOPTION_PRIVATE_NO_DELAY = 1
} PP_TCPSocketOption_Private;

// "PPB_TCPSocket_Private;0.5" (0.4 is its first twelve members). Two members are
// inserted at 7 and 8, so Read, Write and Disconnect sit two slots later than in 0.3.
struct PPB_TCPSocket_Private_0_5 {
  PP_Resource (*Create)(PP_Instance instance);
  PP_Bool (*IsTCPSocket)(PP_Resource resource);
  int32_t (*Connect)(PP_Resource tcp_socket, const char* host, uint16_t port,
                     struct PP_CompletionCallback callback);
  int32_t (*ConnectWithNetAddress)(PP_Resource tcp_socket, const struct PP_NetAddress_Private* addr,
                                   struct PP_CompletionCallback callback);
  PP_Bool (*GetLocalAddress)(PP_Resource tcp_socket, struct PP_NetAddress_Private* local_addr);
  PP_Bool (*GetRemoteAddress)(PP_Resource tcp_socket, struct PP_NetAddress_Private* remote_addr);
  int32_t (*SSLHandshake)(PP_Resource tcp_socket, const char* server_name, uint16_t server_port,
                          struct PP_CompletionCallback callback);
  PP_Resource (*GetServerCertificate)(PP_Resource tcp_socket);
  PP_Bool (*AddChainBuildingCertificate)(PP_Resource tcp_socket, PP_Resource certificate,
                                         PP_Bool is_trusted);
  int32_t (*Read)(PP_Resource tcp_socket, char* buffer, int32_t bytes_to_read,
                  struct PP_CompletionCallback callback);
  int32_t (*Write)(PP_Resource tcp_socket, const char* buffer, int32_t bytes_to_write,
                   struct PP_CompletionCallback callback);
  void (*Disconnect)(PP_Resource tcp_socket);
  int32_t (*SetOption)(PP_Resource tcp_socket, PP_TCPSocketOption_Private name, struct PP_Var value,
                       struct PP_CompletionCallback callback);
};

// "PPB_UDPSocket_Private;0.3"
struct PPB_UDPSocket_Private_0_3 {
  PP_Resource (*Create)(PP_Instance instance_id);
  PP_Bool (*IsUDPSocket)(PP_Resource resource_id);
  int32_t (*Bind)(PP_Resource udp_socket, const struct PP_NetAddress_Private* addr,
                  struct PP_CompletionCallback callback);
  PP_Bool (*GetBoundAddress)(PP_Resource udp_socket, struct PP_NetAddress_Private* addr);
  int32_t (*RecvFrom)(PP_Resource udp_socket, char* buffer, int32_t num_bytes,
                      struct PP_CompletionCallback callback);
  PP_Bool (*GetRecvFromAddress)(PP_Resource udp_socket, struct PP_NetAddress_Private* addr);
  int32_t (*SendTo)(PP_Resource udp_socket, const char* buffer, int32_t num_bytes,
                    const struct PP_NetAddress_Private* addr,
                    struct PP_CompletionCallback callback);
  void (*Close)(PP_Resource udp_socket);
};

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PP_NetAddressFamily_Private) == 4);
static_assert(sizeof(PP_NetAddress_Private) == 132 && alignof(PP_NetAddress_Private) == 4);
static_assert(offsetof(PP_NetAddress_Private, data) == 4);
static_assert(sizeof(PPB_NetAddress_Private_0_1) == 5 * sizeof(void*));
static_assert(sizeof(PPB_TCPSocket_Private_0_3) == 10 * sizeof(void*));
static_assert(sizeof(PP_TCPSocketOption_Private) == 4);
static_assert(sizeof(PPB_TCPSocket_Private_0_5) == 13 * sizeof(void*));
static_assert(offsetof(PPB_TCPSocket_Private_0_5, Read) == 9 * sizeof(void*));
static_assert(sizeof(PPB_UDPSocket_Private_0_3) == 8 * sizeof(void*));
#endif

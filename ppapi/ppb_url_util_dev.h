// "PPB_URLUtil(Dev);0.6" and ";0.7", and the URL component structs they fill.
#pragma once

#include "ppapi/pp_types.h"

PP_EXTERN_C_BEGIN

// A component is absent when len is -1.
struct PP_URLComponent_Dev {
  int32_t begin;
  int32_t len;
};

struct PP_URLComponents_Dev {
  struct PP_URLComponent_Dev scheme;
  struct PP_URLComponent_Dev username;
  struct PP_URLComponent_Dev password;
  struct PP_URLComponent_Dev host;
  struct PP_URLComponent_Dev port;
  struct PP_URLComponent_Dev path;
  struct PP_URLComponent_Dev query;
  struct PP_URLComponent_Dev ref;
};

struct PPB_URLUtil_Dev_0_6 {
  struct PP_Var (*Canonicalize)(struct PP_Var url, struct PP_URLComponents_Dev* components);
  struct PP_Var (*ResolveRelativeToURL)(struct PP_Var base_url, struct PP_Var relative_string,
                                        struct PP_URLComponents_Dev* components);
  struct PP_Var (*ResolveRelativeToDocument)(PP_Instance instance, struct PP_Var relative_string,
                                             struct PP_URLComponents_Dev* components);
  PP_Bool (*IsSameSecurityOrigin)(struct PP_Var url_a, struct PP_Var url_b);
  PP_Bool (*DocumentCanRequest)(PP_Instance instance, struct PP_Var url);
  PP_Bool (*DocumentCanAccessDocument)(PP_Instance active, PP_Instance target);
  struct PP_Var (*GetDocumentURL)(PP_Instance instance, struct PP_URLComponents_Dev* components);
  struct PP_Var (*GetPluginInstanceURL)(PP_Instance instance,
                                        struct PP_URLComponents_Dev* components);
};

// "PPB_URLUtil(Dev);0.7": 0.6 plus GetPluginReferrerURL.
struct PPB_URLUtil_Dev_0_7 {
  struct PP_Var (*Canonicalize)(struct PP_Var url, struct PP_URLComponents_Dev* components);
  struct PP_Var (*ResolveRelativeToURL)(struct PP_Var base_url, struct PP_Var relative_string,
                                        struct PP_URLComponents_Dev* components);
  struct PP_Var (*ResolveRelativeToDocument)(PP_Instance instance, struct PP_Var relative_string,
                                             struct PP_URLComponents_Dev* components);
  PP_Bool (*IsSameSecurityOrigin)(struct PP_Var url_a, struct PP_Var url_b);
  PP_Bool (*DocumentCanRequest)(PP_Instance instance, struct PP_Var url);
  PP_Bool (*DocumentCanAccessDocument)(PP_Instance active, PP_Instance target);
  struct PP_Var (*GetDocumentURL)(PP_Instance instance, struct PP_URLComponents_Dev* components);
  struct PP_Var (*GetPluginInstanceURL)(PP_Instance instance,
                                        struct PP_URLComponents_Dev* components);
  struct PP_Var (*GetPluginReferrerURL)(PP_Instance instance,
                                        struct PP_URLComponents_Dev* components);
};

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PP_URLComponent_Dev) == 8 && alignof(PP_URLComponent_Dev) == 4);
static_assert(offsetof(PP_URLComponent_Dev, len) == 4);
static_assert(sizeof(PP_URLComponents_Dev) == 64 && alignof(PP_URLComponents_Dev) == 4);
static_assert(offsetof(PP_URLComponents_Dev, username) == 8 &&
              offsetof(PP_URLComponents_Dev, password) == 16 &&
              offsetof(PP_URLComponents_Dev, host) == 24 &&
              offsetof(PP_URLComponents_Dev, port) == 32 &&
              offsetof(PP_URLComponents_Dev, path) == 40 &&
              offsetof(PP_URLComponents_Dev, query) == 48 &&
              offsetof(PP_URLComponents_Dev, ref) == 56);
static_assert(sizeof(PPB_URLUtil_Dev_0_6) == 8 * sizeof(void*));
static_assert(sizeof(PPB_URLUtil_Dev_0_7) == 9 * sizeof(void*));
#endif

// "PPB_URLLoader;1.0", "PPB_URLLoaderTrusted;0.3", "PPB_URLRequestInfo;1.0" and
// "PPB_URLResponseInfo;1.0".
#pragma once

#include "ppapi/pp_types.h"

PP_EXTERN_C_BEGIN

typedef enum PP_INT32_ENUM {
  PP_URLREQUESTPROPERTY_URL = 0,
  PP_URLREQUESTPROPERTY_METHOD = 1,
  PP_URLREQUESTPROPERTY_HEADERS = 2,
  PP_URLREQUESTPROPERTY_STREAMTOFILE = 3,
  PP_URLREQUESTPROPERTY_FOLLOWREDIRECTS = 4,
  PP_URLREQUESTPROPERTY_RECORDDOWNLOADPROGRESS = 5,
  PP_URLREQUESTPROPERTY_RECORDUPLOADPROGRESS = 6,
  PP_URLREQUESTPROPERTY_CUSTOMREFERRERURL = 7,
  PP_URLREQUESTPROPERTY_ALLOWCROSSORIGINREQUESTS = 8,
  PP_URLREQUESTPROPERTY_ALLOWCREDENTIALS = 9,
  PP_URLREQUESTPROPERTY_CUSTOMCONTENTTRANSFERENCODING = 10,
  PP_URLREQUESTPROPERTY_PREFETCHBUFFERUPPERTHRESHOLD = 11,
  PP_URLREQUESTPROPERTY_PREFETCHBUFFERLOWERTHRESHOLD = 12,
  PP_URLREQUESTPROPERTY_CUSTOMUSERAGENT = 13
} PP_URLRequestProperty;

typedef enum PP_INT32_ENUM {
  PP_URLRESPONSEPROPERTY_URL = 0,
  PP_URLRESPONSEPROPERTY_REDIRECTURL = 1,
  PP_URLRESPONSEPROPERTY_REDIRECTMETHOD = 2,
  PP_URLRESPONSEPROPERTY_STATUSCODE = 3,
  PP_URLRESPONSEPROPERTY_STATUSLINE = 4,
  PP_URLRESPONSEPROPERTY_HEADERS = 5
} PP_URLResponseProperty;

typedef void (*PP_URLLoaderTrusted_StatusCallback)(PP_Instance pp_instance, PP_Resource pp_resource,
                                                   int64_t bytes_sent,
                                                   int64_t total_bytes_to_be_sent,
                                                   int64_t bytes_received,
                                                   int64_t total_bytes_to_be_received);

// "PPB_URLLoader;1.0"
struct PPB_URLLoader_1_0 {
  PP_Resource (*Create)(PP_Instance instance);
  PP_Bool (*IsURLLoader)(PP_Resource resource);
  int32_t (*Open)(PP_Resource loader, PP_Resource request_info,
                  struct PP_CompletionCallback callback);
  int32_t (*FollowRedirect)(PP_Resource loader, struct PP_CompletionCallback callback);
  PP_Bool (*GetUploadProgress)(PP_Resource loader, int64_t* bytes_sent,
                               int64_t* total_bytes_to_be_sent);
  PP_Bool (*GetDownloadProgress)(PP_Resource loader, int64_t* bytes_received,
                                 int64_t* total_bytes_to_be_received);
  PP_Resource (*GetResponseInfo)(PP_Resource loader);
  int32_t (*ReadResponseBody)(PP_Resource loader, void* buffer, int32_t bytes_to_read,
                              struct PP_CompletionCallback callback);
  int32_t (*FinishStreamingToFile)(PP_Resource loader, struct PP_CompletionCallback callback);
  void (*Close)(PP_Resource loader);
};

// "PPB_URLLoaderTrusted;0.3"
struct PPB_URLLoaderTrusted_0_3 {
  void (*GrantUniversalAccess)(PP_Resource loader);
  void (*RegisterStatusCallback)(PP_Resource loader, PP_URLLoaderTrusted_StatusCallback cb);
};

// "PPB_URLRequestInfo;1.0"
struct PPB_URLRequestInfo_1_0 {
  PP_Resource (*Create)(PP_Instance instance);
  PP_Bool (*IsURLRequestInfo)(PP_Resource resource);
  PP_Bool (*SetProperty)(PP_Resource request, PP_URLRequestProperty property, struct PP_Var value);
  PP_Bool (*AppendDataToBody)(PP_Resource request, const void* data, uint32_t len);
  PP_Bool (*AppendFileToBody)(PP_Resource request, PP_Resource file_ref, int64_t start_offset,
                              int64_t number_of_bytes, PP_Time expected_last_modified_time);
};

// "PPB_URLResponseInfo;1.0"
struct PPB_URLResponseInfo_1_0 {
  PP_Bool (*IsURLResponseInfo)(PP_Resource resource);
  struct PP_Var (*GetProperty)(PP_Resource response, PP_URLResponseProperty property);
  PP_Resource (*GetBodyAsFileRef)(PP_Resource response);
};

// Interface names; the unversioned name is the final published version, and the
// unversioned struct its table.
#define PPB_URLLOADER_INTERFACE_1_0 "PPB_URLLoader;1.0"
#define PPB_URLLOADER_INTERFACE PPB_URLLOADER_INTERFACE_1_0
typedef struct PPB_URLLoader_1_0 PPB_URLLoader;
#define PPB_URLREQUESTINFO_INTERFACE_1_0 "PPB_URLRequestInfo;1.0"
#define PPB_URLREQUESTINFO_INTERFACE PPB_URLREQUESTINFO_INTERFACE_1_0
typedef struct PPB_URLRequestInfo_1_0 PPB_URLRequestInfo;
#define PPB_URLRESPONSEINFO_INTERFACE_1_0 "PPB_URLResponseInfo;1.0"
#define PPB_URLRESPONSEINFO_INTERFACE PPB_URLRESPONSEINFO_INTERFACE_1_0
typedef struct PPB_URLResponseInfo_1_0 PPB_URLResponseInfo;

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PP_URLRequestProperty) == 4 && sizeof(PP_URLResponseProperty) == 4);
static_assert(sizeof(PPB_URLLoader_1_0) == 10 * sizeof(void*));
static_assert(sizeof(PPB_URLLoaderTrusted_0_3) == 2 * sizeof(void*));
static_assert(sizeof(PPB_URLRequestInfo_1_0) == 5 * sizeof(void*));
static_assert(sizeof(PPB_URLResponseInfo_1_0) == 3 * sizeof(void*));
#endif

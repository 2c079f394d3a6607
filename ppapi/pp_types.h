// Public PPAPI scalar types, result codes and the small structs shared by many
// interfaces, declared from the published C ABI. Every layout is checked below for
// both i386 and x86-64.
#pragma once

//
// The declarations are also valid C (C11), so plug-ins written in C build against
// them; the layout checks are C++ only. In C++ every PPAPI enum has the fixed 32-bit
// underlying type of the published ABI; a C compiler gives these enums (all values fit
// an int) the same four bytes.
#ifdef __cplusplus
#include <cstddef>
#include <cstdint>
#define PP_EXTERN_C_BEGIN extern "C" {
#define PP_EXTERN_C_END }
#define PP_INT32_ENUM : int32_t
#else
#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>
#define PP_EXTERN_C_BEGIN
#define PP_EXTERN_C_END
#define PP_INT32_ENUM
#endif

PP_EXTERN_C_BEGIN

typedef enum PP_INT32_ENUM { PP_FALSE = 0, PP_TRUE = 1 } PP_Bool;

typedef int32_t PP_Instance;
typedef int32_t PP_Module;
typedef int32_t PP_Resource;
typedef double PP_Time;
typedef double PP_TimeTicks;
typedef double PP_TimeDelta;
typedef int PP_FileHandle;

// Result codes (int32_t values).
enum PP_INT32_ENUM {
  PP_OK = 0,
  PP_OK_COMPLETIONPENDING = -1,
  PP_ERROR_FAILED = -2,
  PP_ERROR_ABORTED = -3,
  PP_ERROR_BADARGUMENT = -4,
  PP_ERROR_BADRESOURCE = -5,
  PP_ERROR_NOINTERFACE = -6,
  PP_ERROR_NOACCESS = -7,
  PP_ERROR_NOMEMORY = -8,
  PP_ERROR_NOSPACE = -9,
  PP_ERROR_NOQUOTA = -10,
  PP_ERROR_INPROGRESS = -11,
  PP_ERROR_NOTSUPPORTED = -12,
  PP_ERROR_BLOCKS_MAIN_THREAD = -13,
  PP_ERROR_MALFORMED_INPUT = -14,
  PP_ERROR_RESOURCE_FAILED = -15,
  PP_ERROR_FILENOTFOUND = -20,
  PP_ERROR_FILEEXISTS = -21,
  PP_ERROR_FILETOOBIG = -22,
  PP_ERROR_FILECHANGED = -23,
  PP_ERROR_NOTAFILE = -24,
  PP_ERROR_TIMEDOUT = -30,
  PP_ERROR_USERCANCEL = -40,
  PP_ERROR_NO_USER_GESTURE = -41,
  PP_ERROR_CONTEXT_LOST = -50,
  PP_ERROR_NO_MESSAGE_LOOP = -51,
  PP_ERROR_WRONG_THREAD = -52,
  PP_ERROR_WOULD_BLOCK_THREAD = -53,
  PP_ERROR_CONNECTION_CLOSED = -100,
  PP_ERROR_CONNECTION_RESET = -101,
  PP_ERROR_CONNECTION_REFUSED = -102,
  PP_ERROR_CONNECTION_ABORTED = -103,
  PP_ERROR_CONNECTION_FAILED = -104,
  PP_ERROR_CONNECTION_TIMEDOUT = -105,
  PP_ERROR_ADDRESS_INVALID = -106,
  PP_ERROR_ADDRESS_UNREACHABLE = -107,
  PP_ERROR_ADDRESS_IN_USE = -108,
  PP_ERROR_MESSAGE_TOO_BIG = -109,
  PP_ERROR_NAME_NOT_RESOLVED = -110
};

typedef enum PP_INT32_ENUM {
  PP_VARTYPE_UNDEFINED = 0,
  PP_VARTYPE_NULL = 1,
  PP_VARTYPE_BOOL = 2,
  PP_VARTYPE_INT32 = 3,
  PP_VARTYPE_DOUBLE = 4,
  PP_VARTYPE_STRING = 5,
  PP_VARTYPE_OBJECT = 6,
  PP_VARTYPE_ARRAY = 7,
  PP_VARTYPE_DICTIONARY = 8,
  PP_VARTYPE_ARRAY_BUFFER = 9,
  PP_VARTYPE_RESOURCE = 10
} PP_VarType;

union PP_VarValue {
  PP_Bool as_bool;
  int32_t as_int;
  double as_double;
  int64_t as_id;
};

struct PP_Var {
  PP_VarType type;
  int32_t padding;  // explicit in the published layout; keeps value at offset 8
  union PP_VarValue value;
};

typedef void (*PP_CompletionCallback_Func)(void* user_data, int32_t result);

typedef enum PP_INT32_ENUM {
  PP_COMPLETIONCALLBACK_FLAG_NONE = 0,
  PP_COMPLETIONCALLBACK_FLAG_OPTIONAL = 1
} PP_CompletionCallback_Flag;

struct PP_CompletionCallback {
  PP_CompletionCallback_Func func;
  void* user_data;
  int32_t flags;
};

struct PP_Point {
  int32_t x;
  int32_t y;
};

struct PP_FloatPoint {
  float x;
  float y;
};

struct PP_Size {
  int32_t width;
  int32_t height;
};

struct PP_FloatSize {
  float width;
  float height;
};

struct PP_Rect {
  struct PP_Point point;
  struct PP_Size size;
};

struct PP_FloatRect {
  struct PP_FloatPoint point;
  struct PP_FloatSize size;
};

typedef const void* (*PPB_GetInterface)(const char* interface_name);

PP_EXTERN_C_END

#if defined(__i386__)
#define ZEMA_ABI_PICK(i386, x86_64) (i386)
#elif defined(__x86_64__)
#define ZEMA_ABI_PICK(i386, x86_64) (x86_64)
#else
#error "zema targets i386 and x86-64 only"
#endif

#ifdef __cplusplus
static_assert(sizeof(PP_Bool) == 4);
static_assert(sizeof(PP_VarType) == 4);
static_assert(sizeof(PP_VarValue) == 8 && alignof(PP_VarValue) == ZEMA_ABI_PICK(4, 8));
static_assert(sizeof(PP_Var) == 16 && alignof(PP_Var) == ZEMA_ABI_PICK(4, 8));
static_assert(offsetof(PP_Var, type) == 0 && offsetof(PP_Var, padding) == 4 &&
              offsetof(PP_Var, value) == 8);
static_assert(sizeof(PP_CompletionCallback) == ZEMA_ABI_PICK(12, 24));
static_assert(offsetof(PP_CompletionCallback, user_data) == ZEMA_ABI_PICK(4, 8));
static_assert(offsetof(PP_CompletionCallback, flags) == ZEMA_ABI_PICK(8, 16));
static_assert(sizeof(PP_Point) == 8 && sizeof(PP_FloatPoint) == 8);
static_assert(sizeof(PP_Size) == 8 && sizeof(PP_FloatSize) == 8);
static_assert(sizeof(PP_Rect) == 16 && offsetof(PP_Rect, size) == 8);
static_assert(sizeof(PP_FloatRect) == 16 && offsetof(PP_FloatRect, size) == 8);
#endif

// Shared by several interfaces: array output, device-change notices and file
// information.
PP_EXTERN_C_BEGIN

enum PP_INT32_ENUM { PP_kInvalidFileHandle = -1 };

// Called by the browser side to get room for element_count elements of element_size
// bytes each; returns null when the plug-in cannot provide it.
typedef void* (*PP_ArrayOutput_GetDataBuffer)(void* user_data, uint32_t element_count,
                                              uint32_t element_size);

struct PP_ArrayOutput {
  PP_ArrayOutput_GetDataBuffer GetDataBuffer;
  void* user_data;
};

typedef void (*PP_MonitorDeviceChangeCallback)(void* user_data, uint32_t device_count,
                                               const PP_Resource devices[]);

typedef enum PP_INT32_ENUM {
  PP_DEVICETYPE_DEV_INVALID = 0,
  PP_DEVICETYPE_DEV_AUDIOCAPTURE = 1,
  PP_DEVICETYPE_DEV_VIDEOCAPTURE = 2,
  PP_DEVICETYPE_DEV_AUDIOOUTPUT = 3
} PP_DeviceType_Dev;

typedef enum PP_INT32_ENUM {
  PP_FILETYPE_REGULAR = 0,
  PP_FILETYPE_DIRECTORY = 1,
  PP_FILETYPE_OTHER = 2
} PP_FileType;

typedef enum PP_INT32_ENUM {
  PP_FILESYSTEMTYPE_INVALID = 0,
  PP_FILESYSTEMTYPE_EXTERNAL = 1,
  PP_FILESYSTEMTYPE_LOCALPERSISTENT = 2,
  PP_FILESYSTEMTYPE_LOCALTEMPORARY = 3,
  PP_FILESYSTEMTYPE_ISOLATED = 4
} PP_FileSystemType;

struct PP_FileInfo {
  int64_t size;
  PP_FileType type;
  PP_FileSystemType system_type;
  PP_Time creation_time;
  PP_Time last_access_time;
  PP_Time last_modified_time;
};

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PP_CompletionCallback_Flag) == 4);
static_assert(sizeof(PP_ArrayOutput) == ZEMA_ABI_PICK(8, 16));
static_assert(alignof(PP_ArrayOutput) == ZEMA_ABI_PICK(4, 8));
static_assert(offsetof(PP_ArrayOutput, user_data) == ZEMA_ABI_PICK(4, 8));
static_assert(sizeof(PP_DeviceType_Dev) == 4 && sizeof(PP_FileType) == 4 &&
              sizeof(PP_FileSystemType) == 4);
static_assert(sizeof(PP_FileInfo) == 40 && alignof(PP_FileInfo) == ZEMA_ABI_PICK(4, 8));
static_assert(offsetof(PP_FileInfo, type) == 8 && offsetof(PP_FileInfo, system_type) == 12 &&
              offsetof(PP_FileInfo, creation_time) == 16 &&
              offsetof(PP_FileInfo, last_access_time) == 24 &&
              offsetof(PP_FileInfo, last_modified_time) == 32);
static_assert(alignof(PP_Point) == 4 && alignof(PP_Rect) == 4 && alignof(PP_FloatRect) == 4);
static_assert(offsetof(PP_Point, y) == 4 && offsetof(PP_Size, height) == 4 &&
              offsetof(PP_FloatPoint, y) == 4 && offsetof(PP_FloatSize, height) == 4);
#endif

// "PPB_Flash_File_ModuleLocal;3" and "PPB_Flash_File_FileRef;2", with the directory
// listing structs.
#pragma once

#include "ppapi/pp_types.h"

PP_EXTERN_C_BEGIN

struct PP_DirEntry_Dev {
  const char* name;
  PP_Bool is_dir;
};

struct PP_DirContents_Dev {
  int32_t count;
  struct PP_DirEntry_Dev* entries;  // count consecutive entries
};

// CreateThreadAdapterForInstance returns a 1-byte C++ bool (in AL), not PP_Bool.
// "PPB_Flash_File_ModuleLocal;3"
struct PPB_Flash_File_ModuleLocal_3_0 {
  bool (*CreateThreadAdapterForInstance)(PP_Instance instance);
  void (*ClearThreadAdapterForInstance)(PP_Instance instance);
  int32_t (*OpenFile)(PP_Instance instance, const char* path, int32_t mode, PP_FileHandle* file);
  int32_t (*RenameFile)(PP_Instance instance, const char* path_from, const char* path_to);
  int32_t (*DeleteFileOrDir)(PP_Instance instance, const char* path, PP_Bool recursive);
  int32_t (*CreateDir)(PP_Instance instance, const char* path);
  int32_t (*QueryFile)(PP_Instance instance, const char* path, struct PP_FileInfo* info);
  int32_t (*GetDirContents)(PP_Instance instance, const char* path,
                            struct PP_DirContents_Dev** contents);
  void (*FreeDirContents)(PP_Instance instance, struct PP_DirContents_Dev* contents);
  int32_t (*CreateTemporaryFile)(PP_Instance instance, PP_FileHandle* file);
};

// "PPB_Flash_File_FileRef;2"
struct PPB_Flash_File_FileRef {
  int32_t (*OpenFile)(PP_Resource file_ref_id, int32_t mode, PP_FileHandle* file);
  int32_t (*QueryFile)(PP_Resource file_ref_id, struct PP_FileInfo* info);
};

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(bool) == 1);
static_assert(sizeof(PP_DirEntry_Dev) == ZEMA_ABI_PICK(8, 16));
static_assert(alignof(PP_DirEntry_Dev) == ZEMA_ABI_PICK(4, 8));
static_assert(offsetof(PP_DirEntry_Dev, is_dir) == ZEMA_ABI_PICK(4, 8));
static_assert(sizeof(PP_DirContents_Dev) == ZEMA_ABI_PICK(8, 16));
static_assert(alignof(PP_DirContents_Dev) == ZEMA_ABI_PICK(4, 8));
static_assert(offsetof(PP_DirContents_Dev, entries) == ZEMA_ABI_PICK(4, 8));
static_assert(sizeof(PPB_Flash_File_ModuleLocal_3_0) == 10 * sizeof(void*));
static_assert(sizeof(PPB_Flash_File_FileRef) == 2 * sizeof(void*));
#endif

// "PPB_Flash_Clipboard;4.0", ";5.0" and ";5.1".
#pragma once

#include "ppapi/pp_types.h"

PP_EXTERN_C_BEGIN

typedef enum PP_INT32_ENUM {
  PP_FLASH_CLIPBOARD_TYPE_STANDARD = 0,
  PP_FLASH_CLIPBOARD_TYPE_SELECTION = 1
} PP_Flash_Clipboard_Type;

typedef enum PP_INT32_ENUM {
  PP_FLASH_CLIPBOARD_FORMAT_INVALID = 0,
  PP_FLASH_CLIPBOARD_FORMAT_PLAINTEXT = 1,
  PP_FLASH_CLIPBOARD_FORMAT_HTML = 2,
  PP_FLASH_CLIPBOARD_FORMAT_RTF = 3
} PP_Flash_Clipboard_Format;

struct PPB_Flash_Clipboard_4_0 {
  PP_Bool (*IsFormatAvailable)(PP_Instance instance_id, PP_Flash_Clipboard_Type clipboard_type,
                               PP_Flash_Clipboard_Format format);
  struct PP_Var (*ReadData)(PP_Instance instance_id, PP_Flash_Clipboard_Type clipboard_type,
                            PP_Flash_Clipboard_Format format);
  int32_t (*WriteData)(PP_Instance instance_id, PP_Flash_Clipboard_Type clipboard_type,
                       uint32_t data_item_count, const PP_Flash_Clipboard_Format formats[],
                       const struct PP_Var data_items[]);
};

// "PPB_Flash_Clipboard;5.1" (5.0 is its first four members): RegisterCustomFormat comes
// first, and formats are uint32_t (a PP_Flash_Clipboard_Format or a registered id).
struct PPB_Flash_Clipboard_5_1 {
  uint32_t (*RegisterCustomFormat)(PP_Instance instance_id, const char* format_name);
  PP_Bool (*IsFormatAvailable)(PP_Instance instance_id, PP_Flash_Clipboard_Type clipboard_type,
                               uint32_t format);
  struct PP_Var (*ReadData)(PP_Instance instance_id, PP_Flash_Clipboard_Type clipboard_type,
                            uint32_t format);
  int32_t (*WriteData)(PP_Instance instance_id, PP_Flash_Clipboard_Type clipboard_type,
                       uint32_t data_item_count, const uint32_t formats[],
                       const struct PP_Var data_items[]);
  PP_Bool (*GetSequenceNumber)(PP_Instance instance_id, PP_Flash_Clipboard_Type clipboard_type,
                               uint64_t* sequence_number);
};

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PP_Flash_Clipboard_Type) == 4 && sizeof(PP_Flash_Clipboard_Format) == 4);
static_assert(sizeof(PPB_Flash_Clipboard_4_0) == 3 * sizeof(void*));
static_assert(sizeof(PPB_Flash_Clipboard_5_1) == 5 * sizeof(void*));
#endif

// "PPB_Flash_Menu;0.2" and the menu description it takes.
#pragma once

#include "ppapi/pp_types.h"

PP_EXTERN_C_BEGIN

typedef enum PP_INT32_ENUM {
  PP_FLASH_MENUITEM_TYPE_NORMAL = 0,
  PP_FLASH_MENUITEM_TYPE_CHECKBOX = 1,
  PP_FLASH_MENUITEM_TYPE_SEPARATOR = 2,
  PP_FLASH_MENUITEM_TYPE_SUBMENU = 3
} PP_Flash_MenuItem_Type;

struct PP_Flash_MenuItem;

struct PP_Flash_Menu {
  uint32_t count;
  struct PP_Flash_MenuItem* items;  // count consecutive items
};

struct PP_Flash_MenuItem {
  PP_Flash_MenuItem_Type type;
  char* name;
  int32_t id;
  PP_Bool enabled;
  PP_Bool checked;
  struct PP_Flash_Menu* submenu;
};

struct PPB_Flash_Menu_0_2 {
  PP_Resource (*Create)(PP_Instance instance_id, const struct PP_Flash_Menu* menu_data);
  PP_Bool (*IsFlashMenu)(PP_Resource resource_id);
  int32_t (*Show)(PP_Resource menu_id, const struct PP_Point* location, int32_t* selected_id,
                  struct PP_CompletionCallback callback);
};

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PP_Flash_MenuItem_Type) == 4);
static_assert(sizeof(PP_Flash_Menu) == ZEMA_ABI_PICK(8, 16));
static_assert(alignof(PP_Flash_Menu) == ZEMA_ABI_PICK(4, 8));
static_assert(offsetof(PP_Flash_Menu, items) == ZEMA_ABI_PICK(4, 8));
static_assert(sizeof(PP_Flash_MenuItem) == ZEMA_ABI_PICK(24, 40));
static_assert(alignof(PP_Flash_MenuItem) == ZEMA_ABI_PICK(4, 8));
static_assert(offsetof(PP_Flash_MenuItem, name) == ZEMA_ABI_PICK(4, 8) &&
              offsetof(PP_Flash_MenuItem, id) == ZEMA_ABI_PICK(8, 16) &&
              offsetof(PP_Flash_MenuItem, enabled) == ZEMA_ABI_PICK(12, 20) &&
              offsetof(PP_Flash_MenuItem, checked) == ZEMA_ABI_PICK(16, 24) &&
              offsetof(PP_Flash_MenuItem, submenu) == ZEMA_ABI_PICK(20, 32));
static_assert(sizeof(PPB_Flash_Menu_0_2) == 3 * sizeof(void*));
#endif

// "PPB_BrowserFont_Trusted;1.0" and its description, metrics and text-run structs.
#pragma once

#include "ppapi/pp_types.h"

PP_EXTERN_C_BEGIN

typedef enum PP_INT32_ENUM {
  PP_BROWSERFONT_TRUSTED_FAMILY_DEFAULT = 0,
  PP_BROWSERFONT_TRUSTED_FAMILY_SERIF = 1,
  PP_BROWSERFONT_TRUSTED_FAMILY_SANSSERIF = 2,
  PP_BROWSERFONT_TRUSTED_FAMILY_MONOSPACE = 3
} PP_BrowserFont_Trusted_Family;

typedef enum PP_INT32_ENUM {
  PP_BROWSERFONT_TRUSTED_WEIGHT_100 = 0,
  PP_BROWSERFONT_TRUSTED_WEIGHT_200 = 1,
  PP_BROWSERFONT_TRUSTED_WEIGHT_300 = 2,
  PP_BROWSERFONT_TRUSTED_WEIGHT_400 = 3,
  PP_BROWSERFONT_TRUSTED_WEIGHT_500 = 4,
  PP_BROWSERFONT_TRUSTED_WEIGHT_600 = 5,
  PP_BROWSERFONT_TRUSTED_WEIGHT_700 = 6,
  PP_BROWSERFONT_TRUSTED_WEIGHT_800 = 7,
  PP_BROWSERFONT_TRUSTED_WEIGHT_900 = 8,
  PP_BROWSERFONT_TRUSTED_WEIGHT_NORMAL = PP_BROWSERFONT_TRUSTED_WEIGHT_400,
  PP_BROWSERFONT_TRUSTED_WEIGHT_BOLD = PP_BROWSERFONT_TRUSTED_WEIGHT_700
} PP_BrowserFont_Trusted_Weight;

struct PP_BrowserFont_Trusted_Description {
  struct PP_Var face;  // string var, or undefined to use the family
  PP_BrowserFont_Trusted_Family family;
  uint32_t size;
  PP_BrowserFont_Trusted_Weight weight;
  PP_Bool italic;
  PP_Bool small_caps;
  int32_t letter_spacing;
  int32_t word_spacing;
  int32_t padding;  // explicit in the published layout; keeps the size at 48
};

struct PP_BrowserFont_Trusted_Metrics {
  int32_t height;
  int32_t ascent;
  int32_t descent;
  int32_t line_spacing;
  int32_t x_height;
};

struct PP_BrowserFont_Trusted_TextRun {
  struct PP_Var text;
  PP_Bool rtl;
  PP_Bool override_direction;
};

struct PPB_BrowserFont_Trusted_1_0 {
  struct PP_Var (*GetFontFamilies)(PP_Instance instance);
  PP_Resource (*Create)(PP_Instance instance,
                        const struct PP_BrowserFont_Trusted_Description* description);
  PP_Bool (*IsFont)(PP_Resource resource);
  PP_Bool (*Describe)(PP_Resource font, struct PP_BrowserFont_Trusted_Description* description,
                      struct PP_BrowserFont_Trusted_Metrics* metrics);
  PP_Bool (*DrawTextAt)(PP_Resource font, PP_Resource image_data,
                        const struct PP_BrowserFont_Trusted_TextRun* text,
                        const struct PP_Point* position, uint32_t color, const struct PP_Rect* clip,
                        PP_Bool image_data_is_opaque);
  int32_t (*MeasureText)(PP_Resource font, const struct PP_BrowserFont_Trusted_TextRun* text);
  uint32_t (*CharacterOffsetForPixel)(PP_Resource font,
                                      const struct PP_BrowserFont_Trusted_TextRun* text,
                                      int32_t pixel_position);
  int32_t (*PixelOffsetForCharacter)(PP_Resource font,
                                     const struct PP_BrowserFont_Trusted_TextRun* text,
                                     uint32_t char_offset);
};

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PP_BrowserFont_Trusted_Family) == 4);
static_assert(sizeof(PP_BrowserFont_Trusted_Weight) == 4);
static_assert(sizeof(PP_BrowserFont_Trusted_Description) == 48);
static_assert(alignof(PP_BrowserFont_Trusted_Description) == ZEMA_ABI_PICK(4, 8));
static_assert(offsetof(PP_BrowserFont_Trusted_Description, family) == 16 &&
              offsetof(PP_BrowserFont_Trusted_Description, size) == 20 &&
              offsetof(PP_BrowserFont_Trusted_Description, weight) == 24 &&
              offsetof(PP_BrowserFont_Trusted_Description, italic) == 28 &&
              offsetof(PP_BrowserFont_Trusted_Description, small_caps) == 32 &&
              offsetof(PP_BrowserFont_Trusted_Description, letter_spacing) == 36 &&
              offsetof(PP_BrowserFont_Trusted_Description, word_spacing) == 40 &&
              offsetof(PP_BrowserFont_Trusted_Description, padding) == 44);
static_assert(sizeof(PP_BrowserFont_Trusted_Metrics) == 20 &&
              alignof(PP_BrowserFont_Trusted_Metrics) == 4);
static_assert(offsetof(PP_BrowserFont_Trusted_Metrics, ascent) == 4 &&
              offsetof(PP_BrowserFont_Trusted_Metrics, descent) == 8 &&
              offsetof(PP_BrowserFont_Trusted_Metrics, line_spacing) == 12 &&
              offsetof(PP_BrowserFont_Trusted_Metrics, x_height) == 16);
static_assert(sizeof(PP_BrowserFont_Trusted_TextRun) == 24);
static_assert(alignof(PP_BrowserFont_Trusted_TextRun) == ZEMA_ABI_PICK(4, 8));
static_assert(offsetof(PP_BrowserFont_Trusted_TextRun, rtl) == 16 &&
              offsetof(PP_BrowserFont_Trusted_TextRun, override_direction) == 20);
static_assert(sizeof(PPB_BrowserFont_Trusted_1_0) == 8 * sizeof(void*));
#endif

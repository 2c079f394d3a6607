// "PPB_BrowserFont_Trusted;1.0": browser fonts.
#include "fonts/browser_font.h"

#include "fonts/text_drawing.h"
#include "host/plugin_instance.h"
#include "resources/resource_table.h"
#include "resources/var.h"

static PP_Var ZEMA_BrowserFont_GetFontFamilies(PP_Instance) {
  // Each family name followed by a NUL, the last one included.
  static constexpr char kFamilies[] = "Arial\0DejaVu Sans";
  return makeStringVar(kFamilies, sizeof(kFamilies));
}

static PP_Resource ZEMA_BrowserFont_Create(PP_Instance,
                                           const PP_BrowserFont_Trusted_Description* d) {
  if (d == nullptr) return 0;
  auto* font = new PPBrowserFont;
  uint32_t length = 0;
  const char* face = d->face.type == PP_VARTYPE_STRING ? ZEMA_VarToUtf8(d->face, &length) : nullptr;
  font->faceName = face != nullptr ? std::string(face, length) : std::string("Arial");
  font->family = d->family;
  font->size = d->size;
  font->weight = d->weight;
  font->italic = d->italic;
  font->smallCaps = d->small_caps;
  font->letterSpacing = d->letter_spacing;
  font->wordSpacing = d->word_spacing;
  return pluginInstance->allocateResId(font);
}

static PP_Bool ZEMA_BrowserFont_Describe(PP_Resource font_id, PP_BrowserFont_Trusted_Description* d,
                                         PP_BrowserFont_Trusted_Metrics* metrics) {
  Enter<PPBrowserFont> font(font_id);
  if (!font || d == nullptr || metrics == nullptr) return PP_FALSE;
  d->face = makeStringVar(font->faceName);
  d->family = static_cast<PP_BrowserFont_Trusted_Family>(font->family);
  d->size = font->size;
  d->weight = static_cast<PP_BrowserFont_Trusted_Weight>(font->weight);
  d->italic = font->italic;
  d->small_caps = font->smallCaps;
  d->letter_spacing = font->letterSpacing;
  d->word_spacing = font->wordSpacing;
  d->padding = 0;
  // Metrics from the size alone, the font file is not opened.
  uint32_t s = font->size;
  metrics->height = static_cast<int32_t>(s);
  metrics->ascent = static_cast<int32_t>(8 * s / 10);
  metrics->descent = static_cast<int32_t>(2 * s / 10);
  metrics->line_spacing = static_cast<int32_t>(3 * s / 2);
  metrics->x_height = static_cast<int32_t>(s / 2);
  return PP_TRUE;
}

static PP_Bool ZEMA_BrowserFont_DrawTextAt(PP_Resource font_id, PP_Resource image_data,
                                           const PP_BrowserFont_Trusted_TextRun* text,
                                           const PP_Point* position, uint32_t color,
                                           const PP_Rect* clip, PP_Bool) {
  Enter<PPBrowserFont> font(font_id);
  if (!font) return PP_FALSE;
  return drawTextAt(*font, image_data, text, position, color, clip);
}

static int32_t ZEMA_BrowserFont_MeasureText(PP_Resource font_id,
                                            const PP_BrowserFont_Trusted_TextRun* text) {
  Enter<PPBrowserFont> font(font_id);
  return font ? measureText(*font, text) : -1;
}

// The code point whose advance contains `pixel_position` (the first for a position
// before the text, the code point count for one at or after its end); UINT32_MAX for a
// bad font.
static uint32_t ZEMA_BrowserFont_CharacterOffsetForPixel(PP_Resource font_id,
                                                         const PP_BrowserFont_Trusted_TextRun* text,
                                                         int32_t pixel_position) {
  Enter<PPBrowserFont> font(font_id);
  std::vector<int32_t> advances;
  if (!font || !glyphAdvances(*font, text, &advances)) return UINT32_MAX;
  int64_t x = 0;
  for (size_t i = 0; i < advances.size(); ++i) {
    x += advances[i];
    if (pixel_position < x) return static_cast<uint32_t>(i);
  }
  return static_cast<uint32_t>(advances.size());
}

// The pen position before code point `char_offset` (the text's width for the count
// itself); -1 for a bad font or an offset past the end.
static int32_t ZEMA_BrowserFont_PixelOffsetForCharacter(PP_Resource font_id,
                                                        const PP_BrowserFont_Trusted_TextRun* text,
                                                        uint32_t char_offset) {
  Enter<PPBrowserFont> font(font_id);
  std::vector<int32_t> advances;
  if (!font || !glyphAdvances(*font, text, &advances)) return -1;
  if (char_offset > advances.size()) return -1;
  int32_t x = 0;
  for (uint32_t i = 0; i < char_offset; ++i) x += advances[i];
  return x;
}

const PPB_BrowserFont_Trusted_1_0 ppbBrowserFont = {
    ZEMA_BrowserFont_GetFontFamilies,
    ZEMA_BrowserFont_Create,
    isResourceEntry<kResBrowserFont>,
    ZEMA_BrowserFont_Describe,
    ZEMA_BrowserFont_DrawTextAt,
    ZEMA_BrowserFont_MeasureText,
    ZEMA_BrowserFont_CharacterOffsetForPixel,
    ZEMA_BrowserFont_PixelOffsetForCharacter,
};

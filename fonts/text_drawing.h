// Drawing text into image data: glyph coverage blended into 32-bit pixels, UTF-8
// decoding, and the text entries of the browser font and PPB_Flash.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "fonts/freetypepp.h"
#include "ppapi/ppb_browser_font_trusted.h"

class PPImageData;

// The one font file the host draws with.
inline constexpr char kFontFile[] = "/zema/DejaVuSans.ttf";

// A clip in image pixels; right and bottom are exclusive.
struct Rect {
  int32_t left, top, right, bottom;
};

// The clip an entry draws in: the whole image, or `clip` cut to the image.
Rect clipRect(const PPImageData& image, const PP_Rect* clip);

// Composites one glyph's coverage at pen (x, y) in `color` (0xAARRGGBB, premultiplied
// source-over with the coverage as extra alpha) into the pixels inside `clip`.
// Any pen position is fine: a glyph wholly outside the clip draws nothing.
void blitBitmap(const freetypepp::GlyphBitmap& bitmap, PPImageData& image, int64_t x, int64_t y,
                uint32_t color, const Rect& clip);

// The code points of UTF-8 `text`. A broken sequence (a stray continuation byte, an
// impossible lead byte, a sequence cut short) yields U+FFFD for its first byte and
// decoding goes on at the next byte; nothing beyond the text is read.
std::vector<uint32_t> decodeUtf8(std::string_view text);

// Draws code points from `pen` on: each glyph blended, the pen moved by its advance.
// False at the first glyph that cannot be produced (what was drawn stays drawn).
bool drawCodePoints(freetypepp::FontFace& face, PPImageData& image,
                    const std::vector<uint32_t>& codePoints, PP_Point pen, uint32_t color,
                    const Rect& clip, bool embolden);

struct PPBrowserFont;
PP_Bool drawTextAt(const PPBrowserFont& font, PP_Resource image_data,
                   const PP_BrowserFont_Trusted_TextRun* text, const PP_Point* position,
                   uint32_t color, const PP_Rect* clip);
int32_t measureText(const PPBrowserFont& font, const PP_BrowserFont_Trusted_TextRun* text);
// The horizontal advance of each code point of the run, as MeasureText adds them up;
// false when the font cannot be opened.
bool glyphAdvances(const PPBrowserFont& font, const PP_BrowserFont_Trusted_TextRun* text,
                   std::vector<int32_t>* advances);

PP_Bool ZEMA_DrawGlyphs(PP_Instance instance, PP_Resource pp_image_data,
                        const PP_BrowserFont_Trusted_Description* font_desc, uint32_t color,
                        const PP_Point* position, const PP_Rect* clip,
                        const float transformation[3][3], PP_Bool allow_subpixel_aa,
                        uint32_t glyph_count, const uint16_t glyph_indices[],
                        const PP_Point glyph_advances[]);

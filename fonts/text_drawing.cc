// Drawing text into image data.
#include "fonts/text_drawing.h"

#include <algorithm>
#include <string>

#include "fonts/browser_font.h"
#include "graphics/image_data.h"
#include "host/plugin_instance.h"
#include "resources/resource_table.h"
#include "resources/var.h"

Rect clipRect(const PPImageData& image, const PP_Rect* clip) {
  if (clip == nullptr) return Rect{0, 0, image.width, image.height};
  // 64-bit sums: x + width may pass the 32-bit range.
  return Rect{std::max(clip->point.x, 0), std::max(clip->point.y, 0),
              static_cast<int32_t>(
                  std::min<int64_t>(image.width, int64_t{clip->point.x} + clip->size.width)),
              static_cast<int32_t>(
                  std::min<int64_t>(image.height, int64_t{clip->point.y} + clip->size.height))};
}

void blitBitmap(const freetypepp::GlyphBitmap& bitmap, PPImageData& image, int64_t x, int64_t y,
                uint32_t color, const Rect& clip) {
  const FT_Bitmap& glyph = bitmap.glyph->bitmap;
  // Pens stay within ±2^40 (see below) and glyph offsets within 32 bits: no overflow.
  int64_t left = x + bitmap.x, top = y + bitmap.y;
  // The clip never reaches outside the image, whatever the caller passed.
  int64_t x0 = std::max<int64_t>({clip.left, left, 0});
  int64_t x1 = std::min<int64_t>({clip.right, left + glyph.width, image.width});
  int64_t y0 = std::max<int64_t>({clip.top, top, 0});
  int64_t y1 = std::min<int64_t>({clip.bottom, top + glyph.rows, image.height});
  if (x0 >= x1 || y0 >= y1) return;

  uint32_t a = color >> 24;
  uint32_t p0 = (color & 0xff) * a / 255;
  uint32_t p1 = ((color >> 8) & 0xff) * a / 255;
  uint32_t p2 = ((color >> 16) & 0xff) * a / 255;
  size_t stride = static_cast<size_t>(glyph.pitch >= 0 ? glyph.pitch : -glyph.pitch);
  for (int64_t py = y0; py < y1; ++py) {
    // A negative pitch stores the rows bottom-up from the start of the buffer.
    size_t row = static_cast<size_t>(py - top);
    const uint8_t* coverage =
        glyph.buffer + (glyph.pitch >= 0 ? row : glyph.rows - 1 - row) * stride;
    uint8_t* d = image.pixels + (static_cast<size_t>(py) * image.width + x0) * 4;
    for (int64_t px = x0; px < x1; ++px, d += 4) {
      uint32_t k = coverage[px - left];
      uint32_t ka = a * k / 255, n = 255 - ka;
      d[0] = static_cast<uint8_t>(d[0] * n / 255 + p0 * k / 255);
      d[1] = static_cast<uint8_t>(d[1] * n / 255 + p1 * k / 255);
      d[2] = static_cast<uint8_t>(d[2] * n / 255 + p2 * k / 255);
      d[3] = static_cast<uint8_t>(d[3] * n / 255 + ka);
    }
  }
}

std::vector<uint32_t> decodeUtf8(std::string_view text) {
  std::vector<uint32_t> out;
  size_t i = 0;
  while (i < text.size()) {
    auto b = static_cast<uint8_t>(text[i]);
    size_t more;
    uint32_t cp;
    if (b < 0x80) {
      out.push_back(b);
      ++i;
      continue;
    } else if ((b & 0xe0) == 0xc0) {
      more = 1, cp = b & 0x1f;
    } else if ((b & 0xf0) == 0xe0) {
      more = 2, cp = b & 0x0f;
    } else if ((b & 0xf8) == 0xf0) {
      more = 3, cp = b & 0x07;
    } else {
      out.push_back(0xfffd);  // a continuation byte, or no lead byte at all
      ++i;
      continue;
    }
    size_t j = 1;
    while (j <= more && i + j < text.size() && (static_cast<uint8_t>(text[i + j]) & 0xc0) == 0x80)
      cp = cp * 64 + (static_cast<uint8_t>(text[i + j++]) & 0x3f);
    if (j <= more) {
      out.push_back(0xfffd);  // cut short
      ++i;
    } else {
      out.push_back(cp);
      i += j;
    }
  }
  return out;
}

namespace {

// The shared face at `size`, untransformed; null when the font file cannot be opened.
freetypepp::FontFace* faceAt(uint32_t size, const float (*rows)[3] = nullptr) {
  freetypepp::FontFace* face = pluginInstance->fontLibrary.get_face(kFontFile, 0);
  if (face == nullptr) return nullptr;
  static constexpr float kIdentity[2][3] = {{1, 0, 0}, {0, 1, 0}};
  face->set_size(size, 72);
  face->set_transform(rows != nullptr ? rows : kIdentity);
  return face;
}

// The run's text; a run whose var is not a string is empty.
std::string_view runText(const PP_BrowserFont_Trusted_TextRun* text) {
  if (text == nullptr || text->text.type != PP_VARTYPE_STRING) return {};
  uint32_t length = 0;
  const char* bytes = ZEMA_VarToUtf8(text->text, &length);
  return bytes != nullptr ? std::string_view(bytes, length) : std::string_view();
}

// Weights 700, 800 and 900 are drawn emboldened.
bool bold(int32_t weight) {
  return weight > PP_BROWSERFONT_TRUSTED_WEIGHT_600;
}

// Pens are kept within ±2^40: far outside any image, and far from overflowing when a
// glyph's offset or advance is added.
constexpr int64_t kPenLimit = int64_t{1} << 40;

int64_t clampedPen(double v) {
  if (!(v == v)) return 0;
  return static_cast<int64_t>(std::clamp<double>(v, -kPenLimit, kPenLimit));
}

int32_t advanceX(const freetypepp::GlyphBitmap& b) {
  return static_cast<int32_t>(b.glyph->root.advance.x / 65536);
}

int32_t advanceY(const freetypepp::GlyphBitmap& b) {
  return static_cast<int32_t>(b.glyph->root.advance.y / 65536);
}

}  // namespace

bool drawCodePoints(freetypepp::FontFace& face, PPImageData& image,
                    const std::vector<uint32_t>& codePoints, PP_Point pen, uint32_t color,
                    const Rect& clip, bool embolden) {
  int64_t x = pen.x, y = pen.y;  // 64 bits: a pen near INT_MAX advances past it
  for (uint32_t cp : codePoints) {
    freetypepp::GlyphBitmap b = face.bitmap_from_char(cp, embolden);
    if (b.glyph == nullptr) return false;
    blitBitmap(b, image, x, y, color, clip);
    x = std::clamp<int64_t>(x + advanceX(b), -kPenLimit, kPenLimit);
    y = std::clamp<int64_t>(y + advanceY(b), -kPenLimit, kPenLimit);
  }
  return true;
}

PP_Bool drawTextAt(const PPBrowserFont& font, PP_Resource image_data,
                   const PP_BrowserFont_Trusted_TextRun* text, const PP_Point* position,
                   uint32_t color, const PP_Rect* clip) {
  if (clip != nullptr && clip->size.width == 0 && clip->size.height == 0) return PP_TRUE;
  std::string_view bytes = runText(text);
  freetypepp::FontFace* face = faceAt(font.size);
  Enter<PPImageData> image(image_data);
  if (face == nullptr || !image) return PP_FALSE;
  return drawCodePoints(*face, *image, decodeUtf8(bytes),
                        position != nullptr ? *position : PP_Point{0, 0}, color,
                        clipRect(*image, clip), bold(font.weight))
             ? PP_TRUE
             : PP_FALSE;
}

bool glyphAdvances(const PPBrowserFont& font, const PP_BrowserFont_Trusted_TextRun* text,
                   std::vector<int32_t>* advances) {
  freetypepp::FontFace* face = faceAt(font.size);
  if (face == nullptr) return false;
  advances->clear();
  for (uint32_t cp : decodeUtf8(runText(text))) {
    freetypepp::GlyphBitmap b = face->bitmap_from_char(cp, bold(font.weight));
    advances->push_back(b.glyph != nullptr ? advanceX(b) : 0);  // a glyph not made adds 0
  }
  return true;
}

int32_t measureText(const PPBrowserFont& font, const PP_BrowserFont_Trusted_TextRun* text) {
  std::vector<int32_t> advances;
  if (!glyphAdvances(font, text, &advances)) return -1;
  int32_t width = 0;
  for (int32_t advance : advances) width += advance;
  return width;
}

PP_Bool ZEMA_DrawGlyphs(PP_Instance, PP_Resource pp_image_data,
                        const PP_BrowserFont_Trusted_Description* font_desc, uint32_t color,
                        const PP_Point* position, const PP_Rect* clip,
                        const float transformation[3][3], PP_Bool, uint32_t glyph_count,
                        const uint16_t glyph_indices[], const PP_Point glyph_advances[]) {
  if (font_desc == nullptr) return PP_FALSE;
  static constexpr float kIdentity[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  const float(*t)[3] = transformation != nullptr ? transformation : kIdentity;
  freetypepp::FontFace* face = faceAt(font_desc->size, t);
  Enter<PPImageData> image(pp_image_data);
  if (face == nullptr || !image) return PP_FALSE;
  Rect rect = clipRect(*image, clip);
  if (glyph_count == 0) return PP_TRUE;
  if (glyph_indices == nullptr || glyph_advances == nullptr) return PP_FALSE;
  PP_Point start = position != nullptr ? *position : PP_Point{0, 0};
  int64_t x = start.x, y = start.y;
  for (uint32_t i = 0; i < glyph_count; ++i) {
    freetypepp::GlyphBitmap b = face->bitmap_from_glyph(glyph_indices[i], bold(font_desc->weight));
    if (b.glyph == nullptr) return PP_FALSE;
    blitBitmap(b, *image, x, y, color, rect);
    // Only the diagonal scales the advances; rotation and shear do not. Computed in
    // double and clamped: any float the plug-in passes is defined.
    x = clampedPen(static_cast<double>(x) + glyph_advances[i].x * double{t[0][0]});
    y = clampedPen(static_cast<double>(y) + glyph_advances[i].y * double{t[1][1]});
  }
  return PP_TRUE;
}

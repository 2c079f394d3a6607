// A thin object layer over FreeType: the library handle, every face opened for the life
// of the process, and every glyph rendered, each cached.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H

#include <cstdint>
#include <string>
#include <unordered_map>

namespace freetypepp {

namespace internal {

// Face cache key.
struct FontDesc {
  std::string path;
  uint32_t faceIndex;
  bool operator==(const FontDesc&) const = default;
};

struct FontDescHash {
  size_t operator()(const FontDesc& d) const;
};

// Glyph cache key: the glyph and every setting that changes its rendering.
struct GlyphDesc {
  uint32_t glyphIndex;
  bool embolden;
  uint32_t charSize;
  uint32_t resolution;
  int32_t xx, xy, yx, yy;
  bool operator==(const GlyphDesc&) const = default;
};

struct GlyphDescHash {
  size_t operator()(const GlyphDesc& d) const;
};

}  // namespace internal

// A rendered glyph and where its bitmap goes relative to the pen: x to the right of it,
// y downward from the baseline to the bitmap's top. `glyph` is null when the glyph
// could not be produced.
struct GlyphBitmap {
  FT_BitmapGlyph glyph = nullptr;
  int64_t x = 0;  // 64 bits: an origin near the edge of the 32-bit range plus the
  int64_t y = 0;  // glyph's offset must not overflow
};

class FontFace {
 public:
  explicit FontFace(FT_Face face) : face_(face) {}
  FontFace(FontFace&& other) noexcept;
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;
  FontFace& operator=(FontFace&&) = delete;
  ~FontFace();

  // Size in points at `resolution` dots per inch (72: one point is one pixel).
  bool set_size(uint32_t size, uint32_t resolution);
  // The first two rows of a 3 × 3 transformation: the 2 × 2 part goes to FreeType, the
  // third column becomes a whole-pixel offset of every glyph.
  void set_transform(const float m[2][3]);
  GlyphBitmap bitmap_from_glyph(uint32_t glyph_index, bool embolden);
  GlyphBitmap bitmap_from_char(uint32_t char_code, bool embolden);

 private:
  GlyphBitmap placed(FT_BitmapGlyph glyph) const;

  FT_Face face_;
  int32_t originX_ = 0;
  int32_t originY_ = 0;
  uint32_t charSize_ = 12;
  uint32_t resolution_ = 72;
  FT_Fixed xx_ = 1, xy_ = 0, yx_ = 0, yy_ = 1;
  std::unordered_map<internal::GlyphDesc, FT_BitmapGlyph, internal::GlyphDescHash> glyphs_;
  std::unordered_map<uint32_t, uint32_t> charMap_;
};

class Library {
 public:
  Library();
  Library(Library&& other) noexcept;
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  Library& operator=(Library&&) = delete;
  ~Library();

  // The face `face_index` of the font file at `path`, opened once and kept; null (after
  // a line on standard error) when it cannot be opened.
  FontFace* get_face(const char* path, uint32_t face_index);

  FT_Library get() const { return library_; }

 private:
  FT_Library library_ = nullptr;
  std::unordered_map<internal::FontDesc, FontFace, internal::FontDescHash> faces_;
};

}  // namespace freetypepp

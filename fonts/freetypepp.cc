// A thin object layer over FreeType.
#include "fonts/freetypepp.h"

#include FT_SYNTHESIS_H

#include <cstdio>
#include <functional>

namespace freetypepp {

namespace internal {

size_t FontDescHash::operator()(const FontDesc& d) const {
  uint32_t h = 17;
  h = h * 31 + static_cast<uint32_t>(std::hash<std::string>()(d.path));
  h = h * 31 + d.faceIndex;
  return h;
}

size_t GlyphDescHash::operator()(const GlyphDesc& d) const {
  uint32_t h = 17;
  for (uint32_t field :
       {d.glyphIndex, d.charSize, d.resolution, uint32_t{d.embolden}, static_cast<uint32_t>(d.xx),
        static_cast<uint32_t>(d.xy), static_cast<uint32_t>(d.yx), static_cast<uint32_t>(d.yy)})
    h = h * 31 + field;
  return h;
}

}  // namespace internal

FontFace::FontFace(FontFace&& other) noexcept
    : face_(other.face_),
      originX_(other.originX_),
      originY_(other.originY_),
      charSize_(other.charSize_),
      resolution_(other.resolution_),
      xx_(other.xx_),
      xy_(other.xy_),
      yx_(other.yx_),
      yy_(other.yy_),
      glyphs_(std::move(other.glyphs_)),
      charMap_(std::move(other.charMap_)) {
  other.face_ = nullptr;
  other.glyphs_.clear();
  other.charMap_.clear();
}

FontFace::~FontFace() {
  if (face_ == nullptr) return;
  for (auto& [key, glyph] : glyphs_) FT_Done_Glyph(reinterpret_cast<FT_Glyph>(glyph));
  glyphs_.clear();
  FT_Done_Face(face_);
}

bool FontFace::set_size(uint32_t size, uint32_t resolution) {
  charSize_ = size;
  resolution_ = resolution;
  FT_F26Dot6 points = static_cast<FT_F26Dot6>(size) * 64;
  return FT_Set_Char_Size(face_, points, points, resolution, resolution) == 0;
}

namespace {

// `v` as a 32-bit integer, clamped to the range (NaN counts as 0): a plug-in may pass any
// float, and a cast of one outside the range is undefined.
int32_t clampedInt32(double v) {
  if (!(v == v)) return 0;
  if (v <= INT32_MIN) return INT32_MIN;
  if (v >= INT32_MAX) return INT32_MAX;
  return static_cast<int32_t>(v);
}

}  // namespace

void FontFace::set_transform(const float m[2][3]) {
  xx_ = clampedInt32(double{m[0][0]} * 65536.0);
  xy_ = clampedInt32(double{m[0][1]} * 65536.0);
  yx_ = clampedInt32(double{m[1][0]} * 65536.0);
  yy_ = clampedInt32(double{m[1][1]} * 65536.0);
  originX_ = clampedInt32(m[0][2]);
  originY_ = clampedInt32(m[1][2]);
  FT_Matrix matrix{xx_, xy_, yx_, yy_};
  FT_Set_Transform(face_, &matrix, nullptr);
}

GlyphBitmap FontFace::placed(FT_BitmapGlyph glyph) const {
  return GlyphBitmap{glyph, int64_t{glyph->left} + originX_, int64_t{originY_} - glyph->top};
}

GlyphBitmap FontFace::bitmap_from_glyph(uint32_t glyph_index, bool embolden) {
  internal::GlyphDesc key{glyph_index,
                          embolden,
                          charSize_,
                          resolution_,
                          static_cast<int32_t>(xx_),
                          static_cast<int32_t>(xy_),
                          static_cast<int32_t>(yx_),
                          static_cast<int32_t>(yy_)};
  auto cached = glyphs_.find(key);
  if (cached != glyphs_.end()) return placed(cached->second);
  if (FT_Load_Glyph(face_, glyph_index, FT_LOAD_DEFAULT) != 0) {
    fprintf(stderr, "Invalid glyph index%u\n", glyph_index);
    return GlyphBitmap{};
  }
  if (embolden) FT_GlyphSlot_Embolden(face_->glyph);
  if (FT_Render_Glyph(face_->glyph, FT_RENDER_MODE_NORMAL) != 0) {
    fprintf(stderr, "Error rendering glyph index%u\n", glyph_index);
    return GlyphBitmap{};
  }
  FT_Glyph glyph = nullptr;
  FT_Get_Glyph(face_->glyph, &glyph);
  if (glyph == nullptr) return GlyphBitmap{};
  auto bitmap = reinterpret_cast<FT_BitmapGlyph>(glyph);
  glyphs_.emplace(key, bitmap);
  return placed(bitmap);
}

GlyphBitmap FontFace::bitmap_from_char(uint32_t char_code, bool embolden) {
  auto cached = charMap_.find(char_code);
  uint32_t index;
  if (cached != charMap_.end()) {
    index = cached->second;
  } else {
    index = FT_Get_Char_Index(face_, char_code);
    // No glyph: the font's missing-glyph symbol (index 0) stands in, said once per code.
    if (index == 0) fprintf(stderr, "Invalid char code: %u\n", char_code);
    charMap_.emplace(char_code, index);
  }
  return bitmap_from_glyph(index, embolden);
}

Library::Library() {
  FT_Init_FreeType(&library_);
}

Library::Library(Library&& other) noexcept
    : library_(other.library_), faces_(std::move(other.faces_)) {
  other.library_ = nullptr;
  other.faces_.clear();
}

Library::~Library() {
  if (library_ == nullptr) return;
  faces_.clear();  // each face releases its glyphs and its FreeType face first
  FT_Done_FreeType(library_);
}

FontFace* Library::get_face(const char* path, uint32_t face_index) {
  internal::FontDesc key{path, face_index};
  auto cached = faces_.find(key);
  if (cached != faces_.end()) return &cached->second;
  FT_Face face = nullptr;
  if (library_ == nullptr ||
      FT_New_Face(library_, path, static_cast<FT_Long>(face_index), &face) != 0) {
    fprintf(stderr, "Cannot load font %s\n", path);
    return nullptr;
  }
  return &faces_.emplace(std::move(key), FontFace(face)).first->second;
}

}  // namespace freetypepp

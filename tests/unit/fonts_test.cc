// The font library against the real DejaVu Sans, the blend with exact numbers, and
// UTF-8 decoding.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fonts/freetypepp.h"
#include "fonts/text_drawing.h"
#include "graphics/image_data.h"

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

constexpr float kIdentity[2][3] = {{1, 0, 0}, {0, 1, 0}};

TEST(FontLibrary, FacesAreOpenedOnceAndFailuresReportedEveryTime) {
  freetypepp::Library library;
  freetypepp::FontFace* face = library.get_face(ZEMA_FONT_FILE, 0);
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(library.get_face(ZEMA_FONT_FILE, 0), face);
  // Named instance 1 of face 0 is another key, so another face (or a failure to open
  // one), never the cached face 0.
  EXPECT_NE(library.get_face(ZEMA_FONT_FILE, 0x10000), face);
  CaptureStderr();
  EXPECT_EQ(library.get_face("/no/such.ttf", 0), nullptr);
  EXPECT_EQ(library.get_face("/no/such.ttf", 0), nullptr);
  EXPECT_EQ(GetCapturedStderr(), "Cannot load font /no/such.ttf\nCannot load font /no/such.ttf\n");
}

TEST(FontLibrary, GlyphsAreCachedPerSettingAndDiagnosedOnce) {
  freetypepp::Library library;
  freetypepp::FontFace* face = library.get_face(ZEMA_FONT_FILE, 0);
  ASSERT_NE(face, nullptr);
  ASSERT_TRUE(face->set_size(12, 72));
  face->set_transform(kIdentity);
  freetypepp::GlyphBitmap regular = face->bitmap_from_char('A', false);
  ASSERT_NE(regular.glyph, nullptr);
  EXPECT_EQ(face->bitmap_from_char('A', false).glyph, regular.glyph);
  EXPECT_NE(face->bitmap_from_char('A', true).glyph, regular.glyph) << "embolden";
  face->set_size(20, 72);
  freetypepp::GlyphBitmap large = face->bitmap_from_char('A', false);
  EXPECT_NE(large.glyph, regular.glyph) << "size";
  EXPECT_GT(large.glyph->bitmap.rows, regular.glyph->bitmap.rows);

  // Translation moves every glyph by whole pixels: 10.7 → 10, -3.2 → -3.
  const float moved[2][3] = {{1, 0, 10.7f}, {0, 1, -3.2f}};
  face->set_transform(moved);
  freetypepp::GlyphBitmap shifted = face->bitmap_from_char('A', false);
  EXPECT_EQ(shifted.x, large.x + 10);
  EXPECT_EQ(shifted.y, large.y - 3);

  CaptureStderr();
  freetypepp::GlyphBitmap missing = face->bitmap_from_char(0x10fff0, false);
  face->bitmap_from_char(0x10fff0, false);
  EXPECT_NE(missing.glyph, nullptr) << "the missing-glyph symbol";
  EXPECT_EQ(face->bitmap_from_glyph(999999, false).glyph, nullptr);
  EXPECT_EQ(GetCapturedStderr(), "Invalid char code: 1114096\nInvalid glyph index999999\n");
}

// A one-row glyph of the given coverage bytes, placed at the pen.
struct FakeGlyph {
  explicit FakeGlyph(std::vector<uint8_t> coverage, int rows = 1) : bytes(std::move(coverage)) {
    memset(&rec, 0, sizeof(rec));
    rec.bitmap.rows = static_cast<unsigned>(rows);
    rec.bitmap.width = static_cast<unsigned>(bytes.size() / rows);
    rec.bitmap.pitch = static_cast<int>(bytes.size() / rows);
    rec.bitmap.buffer = bytes.data();
  }
  freetypepp::GlyphBitmap at(int32_t x, int32_t y) { return {&rec, x, y}; }
  std::vector<uint8_t> bytes;
  FT_BitmapGlyphRec rec;
};

struct Image {
  Image(int32_t w, int32_t h)
      : image(PPImageData::create(PP_IMAGEDATAFORMAT_BGRA_PREMUL, w, h, true)) {}
  ~Image() { delete image; }
  std::vector<uint8_t> pixel(int x, int y) const {
    const uint8_t* p = image->pixels + (y * image->width + x) * 4;
    return {p[0], p[1], p[2], p[3]};
  }
  void fill(std::initializer_list<uint8_t> bgra) {
    for (int i = 0; i < image->width * image->height; ++i)
      memcpy(image->pixels + i * 4, std::data(bgra), 4);
  }
  PPImageData* image;
};

TEST(Blend, ExactNumbers) {
  Image img(4, 1);
  FakeGlyph half({128, 255, 0});
  img.fill({0, 0, 0, 255});
  blitBitmap(half.at(0, 0), *img.image, 0, 0, 0xffffffff, Rect{0, 0, 4, 1});
  EXPECT_EQ(img.pixel(0, 0), (std::vector<uint8_t>{128, 128, 128, 255}));
  EXPECT_EQ(img.pixel(1, 0), (std::vector<uint8_t>{255, 255, 255, 255}));
  EXPECT_EQ(img.pixel(2, 0), (std::vector<uint8_t>{0, 0, 0, 255})) << "coverage 0";

  img.fill({200, 100, 50, 255});
  FakeGlyph full({255, 255, 255, 255});
  blitBitmap(full.at(0, 0), *img.image, 0, 0, 0x80ff0000, Rect{0, 0, 4, 1});
  EXPECT_EQ(img.pixel(0, 0), (std::vector<uint8_t>{99, 49, 152, 255}));
  blitBitmap(full.at(0, 0), *img.image, 0, 0, 0x00ffffff, Rect{0, 0, 4, 1});
  EXPECT_EQ(img.pixel(3, 0), (std::vector<uint8_t>{99, 49, 152, 255})) << "alpha 0";
}

TEST(Blend, ClipsAndBitmapsPartlyOrWhollyOutsideTouchNothingOutside) {
  Image img(3, 3);
  FakeGlyph square(std::vector<uint8_t>(9, 255), 3);
  const std::pair<Rect, std::vector<std::pair<int, int>>> cases[] = {
      {Rect{-5, -5, 2, 2}, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}},  // partly outside, cut at 0
      {Rect{1, 1, 50, 50}, {{1, 1}, {2, 1}, {1, 2}, {2, 2}}},  // reaching past the image
      {Rect{3, 0, 9, 9}, {}},                                  // wholly outside
      {Rect{0, 0, 0, 0}, {}},
  };
  for (const auto& [clip, painted] : cases) {
    img.fill({0, 0, 0, 0});
    blitBitmap(square.at(0, 0), *img.image, 0, 0, 0xff0000ff, clip);
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 3; ++x) {
        bool in = std::find(painted.begin(), painted.end(), std::pair{x, y}) != painted.end();
        EXPECT_EQ(img.pixel(x, y)[3], in ? 255 : 0) << x << "," << y;
      }
    }
  }
  // A glyph far outside the image, and one straddling its corner.
  img.fill({0, 0, 0, 0});
  blitBitmap(square.at(0, 0), *img.image, -100000, 2000000000, 0xffffffff, Rect{0, 0, 3, 3});
  blitBitmap(square.at(0, 0), *img.image, -2, -2, 0xffffffff, Rect{-9, -9, 99, 99});
  EXPECT_EQ(img.pixel(0, 0)[3], 255);
  EXPECT_EQ(img.pixel(1, 1)[3], 0);
}

TEST(Blend, NegativePitchIsReadBottomUp) {
  Image img(1, 2);
  // Stored bottom-up: the first stored row is the bottom one.
  FakeGlyph glyph({10, 200}, 2);
  glyph.rec.bitmap.pitch = -1;
  img.fill({0, 0, 0, 0});
  blitBitmap(glyph.at(0, 0), *img.image, 0, 0, 0xffffffff, Rect{0, 0, 1, 2});
  EXPECT_EQ(img.pixel(0, 0)[3], 200);
  EXPECT_EQ(img.pixel(0, 1)[3], 10);
}

TEST(Utf8, DecodesAndNeverReadsPastTheText) {
  EXPECT_EQ(decodeUtf8("A\xc3\xa9\xd0\x96\xe2\x82\xac\xf0\x9f\x98\x80"),
            (std::vector<uint32_t>{0x41, 0xe9, 0x416, 0x20ac, 0x1f600}));
  // A stray continuation byte, an impossible lead byte, a sequence cut short by the
  // next character or by the end: U+FFFD for the first byte, then on.
  EXPECT_EQ(decodeUtf8("\x80"
                       "a\xf8"
                       "b\xe2\x82"
                       "c\xf0\x9f"),
            (std::vector<uint32_t>{0xfffd, 'a', 0xfffd, 'b', 0xfffd, 0xfffd, 'c', 0xfffd, 0xfffd}));
  std::string cut = "\xe2\x82\xac";
  EXPECT_EQ(decodeUtf8(std::string_view(cut.data(), 2)), (std::vector<uint32_t>{0xfffd, 0xfffd}));
}

}  // namespace

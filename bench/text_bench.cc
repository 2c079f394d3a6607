// A 40-character line drawn again and again with warm caches (lookups and blending
// only), against FreeType rendering the same glyphs into a plain 8-bit buffer.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "fonts/freetypepp.h"
#include "fonts/text_drawing.h"
#include "graphics/image_data.h"

namespace {

constexpr char kFont[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr char kLine[] = "The quick brown fox jumps over a lazy do";  // 40 characters
static_assert(sizeof(kLine) - 1 == 40);

void TextLine_40Glyphs(benchmark::State& state) {
  freetypepp::Library library;
  freetypepp::FontFace* face = library.get_face(kFont, 0);
  if (face == nullptr) return state.SkipWithError("no DejaVu Sans");
  const float identity[2][3] = {{1, 0, 0}, {0, 1, 0}};
  face->set_size(16, 72);
  face->set_transform(identity);
  PPImageData* image = PPImageData::create(PP_IMAGEDATAFORMAT_BGRA_PREMUL, 400, 24, true);
  std::vector<uint32_t> line = decodeUtf8(kLine);
  Rect clip{0, 0, 400, 24};
  drawCodePoints(*face, *image, line, PP_Point{0, 18}, 0xff204080, clip, false);  // warm up
  for (auto _ : state) {
    drawCodePoints(*face, *image, line, PP_Point{0, 18}, 0xff204080, clip, false);
    benchmark::DoNotOptimize(image->pixels);
  }
  state.SetItemsProcessed(state.iterations() * 40);
  delete image;
}
BENCHMARK(TextLine_40Glyphs)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The baseline: FreeType loads and renders every glyph of the line each time, copied
// into an 8-bit buffer.
void FreeTypeRender_40Glyphs(benchmark::State& state) {
  FT_Library library;
  FT_Face face;
  FT_Init_FreeType(&library);
  if (FT_New_Face(library, kFont, 0, &face) != 0) return state.SkipWithError("no DejaVu Sans");
  FT_Set_Char_Size(face, 16 * 64, 16 * 64, 72, 72);
  std::vector<uint8_t> buffer(400 * 24);
  for (auto _ : state) {
    int pen = 0;
    for (const char* c = kLine; *c != '\0'; ++c) {
      FT_Load_Char(face, static_cast<unsigned char>(*c), FT_LOAD_RENDER);
      const FT_Bitmap& b = face->glyph->bitmap;
      int left = pen + face->glyph->bitmap_left, top = 18 - face->glyph->bitmap_top;
      for (unsigned r = 0; r < b.rows; ++r) {
        int y = top + static_cast<int>(r);
        if (y < 0 || y >= 24) continue;
        for (unsigned x = 0; x < b.width; ++x) {
          int px = left + static_cast<int>(x);
          if (px >= 0 && px < 400) buffer[y * 400 + px] = b.buffer[r * b.pitch + x];
        }
      }
      pen += static_cast<int>(face->glyph->advance.x / 64);
    }
    benchmark::DoNotOptimize(buffer.data());
  }
  state.SetItemsProcessed(state.iterations() * 40);
  FT_Done_Face(face);
  FT_Done_FreeType(library);
}
BENCHMARK(FreeTypeRender_40Glyphs)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

// Text through the real host: drawn pixels against FreeType's own rendering of the same
// glyphs blended by the same formula, computed here; metrics, families and font tables.
#include <fcntl.h>
#include <ft2build.h>
#include <unistd.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <cstring>

#include "tests/support/host_test.h"

namespace {

constexpr char kDocument[] = "http://example.org/page.html";
constexpr int kWidth = 64, kHeight = 24;

// What the host should draw, from FreeType directly: glyphs at 72 dpi under `matrix`,
// each blended as premultiplied source-over with its coverage, into a zeroed BGRA
// image; returned in the channel's order (red, green, blue, alpha).
class Expectation {
 public:
  Expectation() {
    FT_Init_FreeType(&library_);
    FT_New_Face(library_, ZEMA_FONT_FILE, 0, &face_);
  }
  ~Expectation() {
    FT_Done_Face(face_);
    FT_Done_FreeType(library_);
  }
  uint32_t glyphIndex(uint32_t cp) const { return FT_Get_Char_Index(face_, cp); }
  // Draws glyph indices at pens and answers the sum of their advances in pixels.
  int draw(const std::vector<uint32_t>& glyphs, const std::vector<std::pair<int, int>>& pens,
           uint32_t size, bool embolden, FT_Fixed scale, uint32_t color) {
    FT_Set_Char_Size(face_, size * 64, size * 64, 72, 72);
    FT_Matrix matrix{scale, 0, 0, scale};
    FT_Set_Transform(face_, &matrix, nullptr);
    int advance = 0;
    for (size_t i = 0; i < glyphs.size(); ++i) {
      FT_Load_Glyph(face_, glyphs[i], FT_LOAD_DEFAULT);
      if (embolden) FT_GlyphSlot_Embolden(face_->glyph);
      FT_Render_Glyph(face_->glyph, FT_RENDER_MODE_NORMAL);
      const FT_Bitmap& b = face_->glyph->bitmap;
      int left = pens[i].first + face_->glyph->bitmap_left;
      int top = pens[i].second - face_->glyph->bitmap_top;
      for (int r = 0; r < static_cast<int>(b.rows); ++r) {
        for (int c = 0; c < static_cast<int>(b.width); ++c) {
          int x = left + c, y = top + r;
          if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) continue;
          blend(&bgra_[(y * kWidth + x) * 4], color, b.buffer[r * b.pitch + c]);
        }
      }
      advance += static_cast<int>(face_->glyph->advance.x / 64);
    }
    return advance;
  }
  std::vector<uint8_t> rgba() const {
    std::vector<uint8_t> out(bgra_.size());
    for (size_t i = 0; i < out.size(); i += 4) {
      out[i] = bgra_[i + 2], out[i + 1] = bgra_[i + 1], out[i + 2] = bgra_[i],
      out[i + 3] = bgra_[i + 3];
    }
    return out;
  }

 private:
  static void blend(uint8_t* d, uint32_t color, uint32_t k) {
    uint32_t alpha = color >> 24, a = alpha * k / 255, n = 255 - a;
    for (int ch = 0; ch < 3; ++ch) {
      uint32_t premultiplied = ((color >> (8 * ch)) & 0xff) * alpha / 255;
      d[ch] = static_cast<uint8_t>(d[ch] * n / 255 + premultiplied * k / 255);
    }
    d[3] = static_cast<uint8_t>(d[3] * n / 255 + a);
  }
  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
  std::vector<uint8_t> bgra_ = std::vector<uint8_t>(kWidth * kHeight * 4, 0);
};

class TextTest : public HostTest {
 protected:
  ::testing::AssertionResult start() {
    return startHost(
        {kDocument, "scenario", "text", "glyph", std::to_string(Expectation().glyphIndex('l'))});
  }
  std::optional<std::vector<uint8_t>> frameOf(uint32_t step) {
    if (!sendStep(step)) return std::nullopt;
    auto flush = channel.receive([](const HostMessage& m) { return size_t{m.word(8)}; });
    if (!flush || flush->code != MSG_FLUSH_2D) return std::nullopt;
    channel.sendWords({MSG_FLUSH_2D_DONE, flush->word(4), 0, 0});
    return flush->trailing;
  }
};

TEST_F(TextTest, DrawnTextMatchesFreeTypeAndTheBlendPixelForPixel) {
  ASSERT_TRUE(start());
  ASSERT_TRUE(host->waitForStdoutLine("PLUGIN text ready")) << host->error();
  std::vector<uint32_t> glyphs;
  Expectation probe;
  for (uint32_t cp : {0x48u, 0x69u, 0x20u, 0xe9u}) glyphs.push_back(probe.glyphIndex(cp));

  // Weights 400 and 600 draw regular glyphs, 700 emboldened ones.
  for (auto [step, weight, bold] : {std::tuple{1u, 3, false}, {2u, 5, false}, {3u, 6, true}}) {
    Expectation expected;
    std::vector<std::pair<int, int>> pens;
    int x = 2;
    for (uint32_t g : glyphs) {
      pens.emplace_back(x, 18);
      Expectation one;
      x += one.draw({g}, {{0, 0}}, 16, bold, 0x10000, 0xff204080);
    }
    int width = expected.draw(glyphs, pens, 16, bold, 0x10000, 0xff204080);
    auto frame = frameOf(step);
    ASSERT_TRUE(frame) << channel.lastError();
    EXPECT_EQ(*frame, expected.rgba()) << "weight " << weight;
    EXPECT_TRUE(expectLine("PLUGIN text weight", "PLUGIN text weight=" + std::to_string(weight) +
                                                     " drawn=1 width=" + std::to_string(width) +
                                                     " not-a-string=1/0"));
  }

  // Two glyphs under a diagonal of 2.0 with advances of 5: 10 pixels apart.
  Expectation expected;
  uint32_t l = expected.glyphIndex('l');
  expected.draw({l, l}, {{4, 20}, {14, 20}}, 8, false, 0x20000, 0xffffffff);
  auto frame = frameOf(4);
  ASSERT_TRUE(frame) << channel.lastError();
  EXPECT_EQ(*frame, expected.rgba());
  EXPECT_TRUE(expectLine("PLUGIN glyphs", "PLUGIN glyphs drawn=1"));
}

TEST_F(TextTest, FamiliesMetricsAndFontTables) {
  ASSERT_TRUE(start());
  ASSERT_TRUE(host->waitForStdoutLine("PLUGIN text ready")) << host->error();
  ASSERT_TRUE(sendStep(5));
  EXPECT_TRUE(
      expectLine("PLUGIN fonts",
                 "PLUGIN fonts families=Arial|DejaVu Sans| len=18"
                 " 11:11,8,2,16,5 face=Verdana w=6 i=1 ls=1 ws=2 pad=0"
                 " 12:12,9,2,18,6 face=Verdana w=6 i=1 ls=1 ws=2 pad=0"
                 " 20:20,16,4,30,10 face=Verdana w=6 i=1 ls=1 ws=2 pad=0 undefined-face=Arial"));

  // The cmap table as FreeType reads it from the same file.
  FT_Library library;
  FT_Face face;
  FT_Init_FreeType(&library);
  ASSERT_EQ(FT_New_Face(library, ZEMA_FONT_FILE, 0, &face), 0);
  FT_ULong length = 0;
  FT_Load_Sfnt_Table(face, FT_MAKE_TAG('c', 'm', 'a', 'p'), 0, nullptr, &length);
  std::vector<uint8_t> cmap(length);
  FT_Load_Sfnt_Table(face, FT_MAKE_TAG('c', 'm', 'a', 'p'), 0, cmap.data(), &length);
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  uint32_t sum = 0;
  for (uint8_t b : cmap) sum += b;

  ASSERT_TRUE(sendStep(6));
  EXPECT_TRUE(expectLine("PLUGIN table cmap",
                         "PLUGIN table cmap found=1 length=" + std::to_string(length)));
  // The directory is read once per font file: with the file's table count now zeroed,
  // the next requests still find cmap.
  int fd = open((host->zemaDir() + "/DejaVuSans.ttf").c_str(), O_WRONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(pwrite(fd, "\0\0", 2, 4), 2);
  close(fd);
  ASSERT_TRUE(sendStep(7));
  EXPECT_TRUE(expectLine("PLUGIN table read", "PLUGIN table read=1 sum=" + std::to_string(sum) +
                                                  " after=ee too-small=0 unknown=0/77"));
}

TEST_F(TextTest, WithoutTheFontFileNothingCrashes) {
  HostOptions opts = options();
  opts.installFont = false;
  ASSERT_TRUE(startHost({kDocument, "scenario", "text-nofont"}, opts));
  // A zero clip answers at once, without opening the font.
  EXPECT_TRUE(expectLine("PLUGIN nofont zero-clip", "PLUGIN nofont zero-clip=1"));
  EXPECT_TRUE(expectLine("PLUGIN nofont drawn", "PLUGIN nofont drawn=0 width=-1"));
  std::vector<std::string> errors = host->stderrLines();
  ASSERT_FALSE(errors.empty());
  EXPECT_EQ(errors.front(), "Cannot load font /zema/DejaVuSans.ttf");
  EXPECT_TRUE(host->running());
}

}  // namespace

// Scenarios for browser fonts, text drawing, glyph runs and font-file tables.
//
//   text  A 64 x 24 image (zeroed) and a 2D context of the same size. Each step draws
//         into a fresh copy of the image, paints it and flushes:
//     step 1  "Hi é" at (2, 18), 16 px, weight 400, color 0xFF204080; MeasureText.
//     step 2  the same with weight 600; step 3 with weight 700.
//     step 4  DrawGlyphs of glyph index `glyph` twice, 8 px, diagonal 2.0, advances
//             (5, 0), at (4, 20), color 0xFFFFFFFF.
//     step 5  font families, Describe of 11, 12 and 20 px fonts, an undefined face.
//     step 6  GetFontTable("cmap") without a buffer; step 7 with one, and an unknown tag.
//   text-nofont  DrawTextAt with a zero clip, then without one, and MeasureText.
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "ppapi/ppb_browser_font_trusted.h"
#include "ppapi/ppb_core.h"
#include "ppapi/ppb_flash.h"
#include "ppapi/ppb_flash_font_file.h"
#include "ppapi/ppb_graphics_2d.h"
#include "ppapi/ppb_image_data.h"
#include "ppapi/ppb_input_event.h"
#include "ppapi/ppb_var.h"
#include "tests/plugins/test_plugin.h"

namespace {

using testplugin::Args;
using testplugin::report;

struct Tables {
  const PPB_Core_1_0* core = testplugin::hostInterfaceAs<PPB_Core_1_0>("PPB_Core;1.0");
  const PPB_Var_1_2* var = testplugin::hostInterfaceAs<PPB_Var_1_2>("PPB_Var;1.2");
  const PPB_BrowserFont_Trusted_1_0* font =
      testplugin::hostInterfaceAs<PPB_BrowserFont_Trusted_1_0>("PPB_BrowserFont_Trusted;1.0");
  const PPB_Flash_13_0* flash = testplugin::hostInterfaceAs<PPB_Flash_13_0>("PPB_Flash;13.0");
  const PPB_Flash_FontFile_0_2* fontFile =
      testplugin::hostInterfaceAs<PPB_Flash_FontFile_0_2>("PPB_Flash_FontFile;0.2");
  const PPB_ImageData_1_0* image =
      testplugin::hostInterfaceAs<PPB_ImageData_1_0>("PPB_ImageData;1.0");
  const PPB_Graphics2D_1_0* g2d =
      testplugin::hostInterfaceAs<PPB_Graphics2D_1_0>("PPB_Graphics2D;1.0");
};

const Tables& api() {
  static Tables tables;
  return tables;
}

constexpr int32_t kWidth = 64, kHeight = 24;
PP_Resource context = 0, fontFile = 0;

PP_BrowserFont_Trusted_Description description(uint32_t size, PP_BrowserFont_Trusted_Weight w) {
  PP_BrowserFont_Trusted_Description d{};
  d.face = api().var->VarFromUtf8("Verdana", 7);
  d.family = PP_BROWSERFONT_TRUSTED_FAMILY_SANSSERIF;
  d.size = size;
  d.weight = w;
  d.italic = PP_TRUE;
  d.letter_spacing = 1;
  d.word_spacing = 2;
  return d;
}

std::string varText(PP_Var var) {
  uint32_t length = 0;
  const char* bytes = api().var->VarToUtf8(var, &length);
  return bytes != nullptr ? std::string(bytes, length) : std::string();
}

void flushed(void*, int32_t) {}

// Paints `image` into the context and flushes it (the test reads the frame).
void show(PP_Resource image) {
  api().g2d->ReplaceContents(context, image);
  api().g2d->Flush(context, PP_CompletionCallback{flushed, nullptr, 0});
  api().core->ReleaseResource(image);
}

PP_Resource freshImage() {
  PP_Size size{kWidth, kHeight};
  return api().image->Create(testplugin::instance(), PP_IMAGEDATAFORMAT_BGRA_PREMUL, &size,
                             PP_TRUE);
}

void drawText(PP_BrowserFont_Trusted_Weight weight) {
  const Tables& t = api();
  PP_BrowserFont_Trusted_Description d = description(16, weight);
  PP_Resource font = t.font->Create(testplugin::instance(), &d);
  t.var->Release(d.face);
  PP_Resource image = freshImage();
  PP_BrowserFont_Trusted_TextRun run{t.var->VarFromUtf8("Hi \xc3\xa9", 5), PP_FALSE, PP_FALSE};
  PP_Point at{2, 18};
  PP_Bool drawn = t.font->DrawTextAt(font, image, &run, &at, 0xff204080, nullptr, PP_FALSE);
  int32_t width = t.font->MeasureText(font, &run);
  PP_BrowserFont_Trusted_TextRun number{PP_Var{PP_VARTYPE_INT32, 0, {}}, PP_FALSE, PP_FALSE};
  report("text weight=%d drawn=%d width=%d not-a-string=%d/%d", weight, drawn, width,
         t.font->DrawTextAt(font, image, &number, &at, 0xffffffff, nullptr, PP_FALSE),
         t.font->MeasureText(font, &number));
  t.var->Release(run.text);
  t.core->ReleaseResource(font);
  show(image);
}

void textCreate(const Args&) {
  PP_Size size{kWidth, kHeight};
  context = api().g2d->Create(testplugin::instance(), &size, PP_TRUE);
  report("text ready");
}

void step(uint32_t number) {
  const Tables& t = api();
  PP_Instance inst = testplugin::instance();
  switch (number) {
    case 1:
      drawText(PP_BROWSERFONT_TRUSTED_WEIGHT_400);
      break;
    case 2:
      drawText(PP_BROWSERFONT_TRUSTED_WEIGHT_600);
      break;
    case 3:
      drawText(PP_BROWSERFONT_TRUSTED_WEIGHT_700);
      break;
    case 4: {
      PP_BrowserFont_Trusted_Description d = description(8, PP_BROWSERFONT_TRUSTED_WEIGHT_400);
      t.var->Release(d.face);
      PP_Resource image = freshImage();
      auto glyph = static_cast<uint16_t>(testplugin::args().getInt("glyph"));
      const uint16_t glyphs[2] = {glyph, glyph};
      const PP_Point advances[2] = {{5, 0}, {5, 0}};
      const float transformation[3][3] = {{2, 0, 0}, {0, 2, 0}, {0, 0, 1}};
      PP_Point at{4, 20};
      PP_Bool drawn = t.flash->DrawGlyphs(inst, image, &d, 0xffffffff, &at, nullptr, transformation,
                                          PP_FALSE, 2, glyphs, advances);
      report("glyphs drawn=%d", drawn);
      show(image);
      break;
    }
    case 5: {
      PP_Var families = t.font->GetFontFamilies(inst);
      uint32_t len = 0;
      const char* bytes = t.var->VarToUtf8(families, &len);
      std::string text(bytes, len);
      uint32_t familiesLength = len;
      for (char& c : text) c = c == '\0' ? '|' : c;
      std::string metrics;
      for (uint32_t size : {11u, 12u, 20u}) {
        PP_BrowserFont_Trusted_Description d = description(size, PP_BROWSERFONT_TRUSTED_WEIGHT_700);
        PP_Resource font = t.font->Create(inst, &d);
        t.var->Release(d.face);
        PP_BrowserFont_Trusted_Description out;
        memset(&out, 0x55, sizeof(out));
        PP_BrowserFont_Trusted_Metrics m;
        t.font->Describe(font, &out, &m);
        char part[160];
        snprintf(part, sizeof(part), " %u:%d,%d,%d,%d,%d face=%s w=%d i=%d ls=%d ws=%d pad=%d",
                 size, m.height, m.ascent, m.descent, m.line_spacing, m.x_height,
                 varText(out.face).c_str(), out.weight, out.italic, out.letter_spacing,
                 out.word_spacing, out.padding);
        metrics += part;
        t.var->Release(out.face);
        t.core->ReleaseResource(font);
      }
      PP_BrowserFont_Trusted_Description undefinedFace{};
      undefinedFace.size = 10;
      PP_Resource plain = t.font->Create(inst, &undefinedFace);
      PP_BrowserFont_Trusted_Description out{};
      PP_BrowserFont_Trusted_Metrics m;
      t.font->Describe(plain, &out, &m);
      report("fonts families=%s len=%u%s undefined-face=%s", text.c_str(), familiesLength,
             metrics.c_str(), varText(out.face).c_str());
      break;
    }
    case 6: {
      PP_BrowserFont_Trusted_Description d{};
      fontFile = t.fontFile->Create(inst, &d, PP_PRIVATEFONTCHARSET_DEFAULT);
      uint32_t length = 0;
      PP_Bool found = t.fontFile->GetFontTable(fontFile, 0x70616D63, nullptr, &length);
      report("table cmap found=%d length=%u", found, length);
      break;
    }
    case 7: {
      uint32_t length = 0;
      t.fontFile->GetFontTable(fontFile, 0x70616D63, nullptr, &length);
      std::vector<uint8_t> buffer(length + 4, 0xee);
      uint32_t small = length - 1;
      PP_Bool tooSmall = t.fontFile->GetFontTable(fontFile, 0x70616D63, buffer.data(), &small);
      uint32_t room = length;
      PP_Bool read = t.fontFile->GetFontTable(fontFile, 0x70616D63, buffer.data(), &room);
      uint32_t sum = 0;
      for (uint32_t i = 0; i < length; ++i) sum += buffer[i];
      uint32_t unknownLength = 77;
      PP_Bool unknown =
          t.fontFile->GetFontTable(fontFile, 0x21212121, buffer.data(), &unknownLength);
      report("table read=%d sum=%u after=%02x too-small=%d unknown=%d/%u", read, sum,
             buffer[length], tooSmall, unknown, unknownLength);
      break;
    }
  }
}

PP_Bool textEvent(PP_Resource event) {
  step(testplugin::keyCode(event));
  return PP_TRUE;
}

void noFont(const Args&) {
  const Tables& t = api();
  PP_BrowserFont_Trusted_Description d = description(16, PP_BROWSERFONT_TRUSTED_WEIGHT_400);
  PP_Resource font = t.font->Create(testplugin::instance(), &d);
  PP_Resource image = freshImage();
  PP_BrowserFont_Trusted_TextRun run{t.var->VarFromUtf8("Hi", 2), PP_FALSE, PP_FALSE};
  PP_Point at{2, 18};
  PP_Rect zero{{5, 5}, {0, 0}};
  PP_Bool clipped = t.font->DrawTextAt(font, image, &run, &at, 0xffffffff, &zero, PP_FALSE);
  report("nofont zero-clip=%d", clipped);
  PP_Bool drawn = t.font->DrawTextAt(font, image, &run, &at, 0xffffffff, nullptr, PP_FALSE);
  report("nofont drawn=%d width=%d", drawn, t.font->MeasureText(font, &run));
}

testplugin::ScenarioRegistrar textRegistrar("text", {textCreate, nullptr, textEvent});
testplugin::ScenarioRegistrar noFontRegistrar("text-nofont", {noFont});

}  // namespace

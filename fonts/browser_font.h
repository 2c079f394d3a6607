// "PPB_BrowserFont_Trusted;1.0": browser fonts.
#pragma once

#include <cstdint>
#include <string>

#include "ppapi/ppb_browser_font_trusted.h"
#include "resources/resource.h"

// A font description as the plug-in gave it. Every font draws with the host's one font
// file; size and weight steer the drawing, the rest is only reported back.
struct PPBrowserFont : public PPRes {
  static constexpr uint32_t kTypes = typeBit(kResBrowserFont);
  PPBrowserFont() : PPRes(kResBrowserFont) {}
  std::string faceName;
  int32_t family = 0;
  uint32_t size = 0;
  int32_t weight = 0;
  PP_Bool italic = PP_FALSE;
  PP_Bool smallCaps = PP_FALSE;
  int32_t letterSpacing = 0;
  int32_t wordSpacing = 0;
};

extern const PPB_BrowserFont_Trusted_1_0 ppbBrowserFont;

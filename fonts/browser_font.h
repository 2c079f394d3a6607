// "PPB_BrowserFont_Trusted;1.0": browser fonts.
#pragma once

#include "ppapi/ppb_browser_font_trusted.h"

extern const PPB_BrowserFont_Trusted_1_0 ppbBrowserFont;

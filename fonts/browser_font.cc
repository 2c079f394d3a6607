// "PPB_BrowserFont_Trusted;1.0": browser fonts.
#include "fonts/browser_font.h"

#include "resources/not_implemented.h"

using Iface = PPB_BrowserFont_Trusted_1_0;

const PPB_BrowserFont_Trusted_1_0 ppbBrowserFont = {
    /* ZEMA_BrowserFont_GetFontFamilies */ NotImplemented<decltype(Iface::GetFontFamilies)>::entry,
    /* ZEMA_BrowserFont_Create */ NotImplemented<decltype(Iface::Create)>::entry,
    /* ZEMA_BrowserFont_IsFont */ NotImplemented<decltype(Iface::IsFont)>::entry,
    /* ZEMA_BrowserFont_Describe */ NotImplemented<decltype(Iface::Describe)>::entry,
    /* ZEMA_BrowserFont_DrawTextAt */ NotImplemented<decltype(Iface::DrawTextAt)>::entry,
    /* ZEMA_BrowserFont_MeasureText */ NotImplemented<decltype(Iface::MeasureText)>::entry,
    /* ZEMA_BrowserFont_CharacterOffsetForPixel */
    NotImplemented<decltype(Iface::CharacterOffsetForPixel)>::entry,
    /* ZEMA_BrowserFont_PixelOffsetForCharacter */
    NotImplemented<decltype(Iface::PixelOffsetForCharacter)>::entry,
};

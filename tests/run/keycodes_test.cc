// The browser's key codes and modifier bits the window gives the plug-in.
#include "zema-run/keycodes.h"

#include <SDL2/SDL_mouse.h>
#include <gtest/gtest.h>

#include "ppapi/ppb_input_event.h"

TEST(KeyCodes, SdlKeysMapToTheBrowsersCodes) {
  struct Case {
    SDL_Keycode key;
    uint32_t code;
  };
  for (Case c :
       {Case{SDLK_a, 65},        {SDLK_z, 90},          {SDLK_0, 48},        {SDLK_9, 57},
        {SDLK_F1, 112},          {SDLK_F12, 123},       {SDLK_F13, 124},     {SDLK_RETURN, 13},
        {SDLK_KP_ENTER, 13},     {SDLK_ESCAPE, 27},     {SDLK_BACKSPACE, 8}, {SDLK_TAB, 9},
        {SDLK_SPACE, 32},        {SDLK_LEFT, 37},       {SDLK_UP, 38},       {SDLK_RIGHT, 39},
        {SDLK_DOWN, 40},         {SDLK_LSHIFT, 16},     {SDLK_RCTRL, 17},    {SDLK_LALT, 18},
        {SDLK_DELETE, 46},       {SDLK_HOME, 36},       {SDLK_PAGEDOWN, 34}, {SDLK_KP_5, 101},
        {SDLK_KP_PLUS, 107},     {SDLK_SEMICOLON, 186}, {SDLK_COMMA, 188},   {SDLK_SLASH, 191},
        {SDLK_LEFTBRACKET, 219}, {SDLK_QUOTE, 222},     {SDLK_LGUI, 91}})
    EXPECT_EQ(browserKeyCode(c.key), c.code) << SDL_GetKeyName(c.key);
  EXPECT_EQ(browserKeyCode(SDLK_UNKNOWN), 0u);
  EXPECT_EQ(browserKeyCode(SDLK_AUDIOPLAY), 0u) << "no code: not sent";
}

TEST(KeyCodes, ModifiersCarryKeysButtonsKeypadAndRepeat) {
  EXPECT_EQ(inputModifiers(KMOD_NONE, 0, false, false), 0u);
  EXPECT_EQ(inputModifiers(KMOD_LSHIFT | KMOD_RCTRL, 0, false, false),
            uint32_t{PP_INPUTEVENT_MODIFIER_SHIFTKEY | PP_INPUTEVENT_MODIFIER_CONTROLKEY});
  EXPECT_EQ(inputModifiers(KMOD_LALT | KMOD_RGUI | KMOD_CAPS | KMOD_NUM, 0, false, false),
            uint32_t{PP_INPUTEVENT_MODIFIER_ALTKEY | PP_INPUTEVENT_MODIFIER_METAKEY |
                     PP_INPUTEVENT_MODIFIER_CAPSLOCKKEY | PP_INPUTEVENT_MODIFIER_NUMLOCKKEY});
  EXPECT_EQ(
      inputModifiers(KMOD_NONE, SDL_BUTTON_LMASK | SDL_BUTTON_RMASK, true, true),
      uint32_t{PP_INPUTEVENT_MODIFIER_LEFTBUTTONDOWN | PP_INPUTEVENT_MODIFIER_RIGHTBUTTONDOWN |
               PP_INPUTEVENT_MODIFIER_ISKEYPAD | PP_INPUTEVENT_MODIFIER_ISAUTOREPEAT});
  EXPECT_TRUE(isKeypadKey(SDLK_KP_7));
  EXPECT_FALSE(isKeypadKey(SDLK_7));
}

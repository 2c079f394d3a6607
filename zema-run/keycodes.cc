#include "zema-run/keycodes.h"

#include <SDL2/SDL_mouse.h>

#include "ppapi/ppb_input_event.h"

namespace {

struct KeyPair {
  SDL_Keycode sdl;
  uint32_t browser;
};

// Everything but letters, digits and function keys, which follow in ranges below.
constexpr KeyPair kKeys[] = {
    {SDLK_BACKSPACE, 0x08},    {SDLK_TAB, 0x09},          {SDLK_RETURN, 0x0D},
    {SDLK_KP_ENTER, 0x0D},     {SDLK_LSHIFT, 0x10},       {SDLK_RSHIFT, 0x10},
    {SDLK_LCTRL, 0x11},        {SDLK_RCTRL, 0x11},        {SDLK_LALT, 0x12},
    {SDLK_RALT, 0x12},         {SDLK_PAUSE, 0x13},        {SDLK_CAPSLOCK, 0x14},
    {SDLK_ESCAPE, 0x1B},       {SDLK_SPACE, 0x20},        {SDLK_PAGEUP, 0x21},
    {SDLK_PAGEDOWN, 0x22},     {SDLK_END, 0x23},          {SDLK_HOME, 0x24},
    {SDLK_LEFT, 0x25},         {SDLK_UP, 0x26},           {SDLK_RIGHT, 0x27},
    {SDLK_DOWN, 0x28},         {SDLK_PRINTSCREEN, 0x2C},  {SDLK_INSERT, 0x2D},
    {SDLK_DELETE, 0x2E},       {SDLK_LGUI, 0x5B},         {SDLK_RGUI, 0x5C},
    {SDLK_APPLICATION, 0x5D},  {SDLK_KP_0, 0x60},         {SDLK_KP_1, 0x61},
    {SDLK_KP_2, 0x62},         {SDLK_KP_3, 0x63},         {SDLK_KP_4, 0x64},
    {SDLK_KP_5, 0x65},         {SDLK_KP_6, 0x66},         {SDLK_KP_7, 0x67},
    {SDLK_KP_8, 0x68},         {SDLK_KP_9, 0x69},         {SDLK_KP_MULTIPLY, 0x6A},
    {SDLK_KP_PLUS, 0x6B},      {SDLK_KP_MINUS, 0x6D},     {SDLK_KP_PERIOD, 0x6E},
    {SDLK_KP_DIVIDE, 0x6F},    {SDLK_NUMLOCKCLEAR, 0x90}, {SDLK_SCROLLLOCK, 0x91},
    {SDLK_SEMICOLON, 0xBA},    {SDLK_EQUALS, 0xBB},       {SDLK_COMMA, 0xBC},
    {SDLK_MINUS, 0xBD},        {SDLK_PERIOD, 0xBE},       {SDLK_SLASH, 0xBF},
    {SDLK_BACKQUOTE, 0xC0},    {SDLK_LEFTBRACKET, 0xDB},  {SDLK_BACKSLASH, 0xDC},
    {SDLK_RIGHTBRACKET, 0xDD}, {SDLK_QUOTE, 0xDE},
};

}  // namespace

uint32_t browserKeyCode(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 0x41 + static_cast<uint32_t>(key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return 0x30 + static_cast<uint32_t>(key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return 0x70 + static_cast<uint32_t>(key - SDLK_F1);
  if (key >= SDLK_F13 && key <= SDLK_F24) return 0x7C + static_cast<uint32_t>(key - SDLK_F13);
  for (const KeyPair& pair : kKeys)
    if (pair.sdl == key) return pair.browser;
  return 0;
}

bool isKeypadKey(SDL_Keycode key) {
  return (key >= SDLK_KP_DIVIDE && key <= SDLK_KP_PERIOD) || key == SDLK_NUMLOCKCLEAR;
}

uint32_t inputModifiers(uint16_t mod, uint32_t mouseButtons, bool keypad, bool repeat) {
  uint32_t bits = 0;
  if (mod & KMOD_SHIFT) bits |= PP_INPUTEVENT_MODIFIER_SHIFTKEY;
  if (mod & KMOD_CTRL) bits |= PP_INPUTEVENT_MODIFIER_CONTROLKEY;
  if (mod & KMOD_ALT) bits |= PP_INPUTEVENT_MODIFIER_ALTKEY;
  if (mod & KMOD_GUI) bits |= PP_INPUTEVENT_MODIFIER_METAKEY;
  if (mod & KMOD_CAPS) bits |= PP_INPUTEVENT_MODIFIER_CAPSLOCKKEY;
  if (mod & KMOD_NUM) bits |= PP_INPUTEVENT_MODIFIER_NUMLOCKKEY;
  if (keypad) bits |= PP_INPUTEVENT_MODIFIER_ISKEYPAD;
  if (repeat) bits |= PP_INPUTEVENT_MODIFIER_ISAUTOREPEAT;
  if (mouseButtons & SDL_BUTTON_LMASK) bits |= PP_INPUTEVENT_MODIFIER_LEFTBUTTONDOWN;
  if (mouseButtons & SDL_BUTTON_MMASK) bits |= PP_INPUTEVENT_MODIFIER_MIDDLEBUTTONDOWN;
  if (mouseButtons & SDL_BUTTON_RMASK) bits |= PP_INPUTEVENT_MODIFIER_RIGHTBUTTONDOWN;
  return bits;
}

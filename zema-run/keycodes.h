// The browser's key codes (the Windows virtual-key numbers a plug-in receives in
// GetKeyCode) for SDL's key symbols, and the modifier bits of the input events.
#pragma once

#include <SDL2/SDL_keyboard.h>

#include <cstdint>

// The browser's key code for `key`, or 0 for a key it has none for.
uint32_t browserKeyCode(SDL_Keycode key);
// PP_InputEvent_Modifier bits for the keyboard state `mod`, the mouse buttons held
// (SDL_BUTTON masks) and whether the key is on the keypad or repeats.
uint32_t inputModifiers(uint16_t mod, uint32_t mouseButtons, bool keypad, bool repeat);
// Whether `key` is one of the keypad's.
bool isKeypadKey(SDL_Keycode key);

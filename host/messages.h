// Message codes of the host channel and the fixed size of each message (code included).
// Every field on the channel is a little-endian 32-bit word.
#pragma once

#include <cstddef>
#include <cstdint>

enum PPMsgType : uint32_t {
  MSG_BIND_GRAPHICS_2D = 0,
  MSG_BIND_GRAPHICS_3D = 1,
  MSG_FLUSH_2D = 2,
  MSG_FLUSH_2D_DONE = 3,
  MSG_REQUEST_INPUT_EVENTS = 4,
  MSG_MOUSE_EVENT = 5,
  MSG_URL_OPEN = 6,
  MSG_URL_READ = 7,
  MSG_URL_BODY_DATA = 8,
  MSG_URL_RESPONSE = 9,
  MSG_URL_FAILED = 10,
  MSG_VIEW_CHANGED = 11,
  MSG_KEY_EVENT = 12,
  MSG_URL_PROGRESS = 13,
  MSG_URL_CLOSE = 14,
  MSG_EXECUTE_SCRIPT = 15,
  MSG_NAVIGATE = 17,
  MSG_GL_GET_STRING = 18,
  MSG_GL_CREATE_SHADER = 20,
  MSG_GL_SHADER_SOURCE = 21,
  MSG_GL_COMPILE_SHADER = 22,
  MSG_GL_GET_SHADERIV = 23,
  MSG_GL_CREATE_PROGRAM = 24,
  MSG_GL_ATTACH_SHADER = 25,
  MSG_GL_BIND_ATTRIB_LOCATION = 26,
  MSG_GL_LINK_PROGRAM = 27,
  MSG_GL_GET_PROGRAMIV = 28,
  MSG_GL_USE_PROGRAM = 29,
  MSG_GL_GET_UNIFORM_LOCATION = 30,
  MSG_GL_UNIFORM1I = 31,
  MSG_GL_GET_INTEGERV = 32,
  MSG_GL_GEN_TEXTURES = 33,
  MSG_GL_BIND_TEXTURE = 34,
  MSG_GL_TEX_IMAGE_2D = 35,
  MSG_GL_GEN_BUFFERS = 36,
  MSG_GL_BIND_BUFFER = 37,
  MSG_GL_BUFFER_DATA = 38,
  MSG_GL_VERTEX_ATTRIB_POINTER = 39,
  MSG_GL_ENABLE_VERTEX_ATTRIB_ARRAY = 40,
  MSG_GL_BLEND_FUNC = 41,
  MSG_GL_TEX_SUB_IMAGE_2D = 42,
  MSG_GL_DISABLE = 43,
  MSG_GL_COLOR_MASK = 44,
  MSG_GL_CLEAR_COLOR = 45,
  MSG_GL_ENABLE = 46,
  MSG_GL_VIEWPORT = 47,
  MSG_GL_UNIFORM2F = 48,
  MSG_GL_ACTIVE_TEXTURE = 49,
  MSG_GL_DRAW_ARRAYS = 50,
  MSG_CREATE_CONTEXT_3D = 51,
  MSG_RESIZE_BUFFERS = 52,
  MSG_SWAP_BUFFERS = 53,
  MSG_SWAP_BUFFERS_DONE = 54,
  MSG_DESTROY_CONTEXT_3D = 55,
  MSG_GL_TEX_PARAMETERI = 56,
  MSG_GL_FLUSH = 57,
  MSG_GL_PIXEL_STOREI = 58,
  MSG_GL_DELETE_SHADER = 59,
  MSG_AUDIO_START = 60,
  MSG_AUDIO_STOP = 61,
  MSG_AUDIO_SAMPLES = 62,
  MSG_SET_CURSOR = 63,
  MSG_SCREEN_SIZE = 64,
  MSG_SHOW_MENU = 66,
  MSG_MENU_RESULT = 67,
  MSG_TIME_ZONE_OFFSET = 68,
  MSG_CLIPBOARD_READ_TEXT = 69,
  MSG_CLIPBOARD_WRITE_TEXT = 70,
};

// Fixed size in bytes, code included, of every message code in use; 0 for a code that
// is not used. The controlling process's side reads host messages by this table, and
// the host reads incoming messages by it.
constexpr size_t messageFixedSize(uint32_t code) {
  constexpr uint8_t sizes[] = {
      20, 16, 16, 16, 12, 32, 36, 24, 16, 32,  // 0-9
      16, 20, 32, 20, 12, 12, 0,  16, 16, 0,   // 10-19
      16, 20, 16, 20, 16, 20, 24, 16, 20, 16,  // 20-29
      20, 20, 16, 16, 20, 44, 16, 20, 24, 36,  // 30-39
      16, 20, 48, 16, 28, 24, 16, 28, 20, 16,  // 40-49
      24, 28, 20, 16, 16, 12, 24, 16, 20, 16,  // 50-59
      20, 12, 16, 12, 16, 0,  24, 20, 12, 8,   // 60-69
      12,                                      // 70
  };
  return code < sizeof(sizes) ? sizes[code] : 0;
}

// Size of the reply block that follows a synchronous request on the reply connection,
// or 0 for a message without a reply.
constexpr size_t messageReplySize(uint32_t code) {
  switch (code) {
    case MSG_EXECUTE_SCRIPT:
    case MSG_CLIPBOARD_READ_TEXT:
      return 16;
    case MSG_GL_GET_STRING:
    case MSG_GL_CREATE_SHADER:
    case MSG_GL_GET_SHADERIV:
    case MSG_GL_CREATE_PROGRAM:
    case MSG_GL_GET_PROGRAMIV:
    case MSG_GL_GET_UNIFORM_LOCATION:
    case MSG_GL_GET_INTEGERV:
    case MSG_GL_GEN_TEXTURES:
    case MSG_GL_GEN_BUFFERS:
      return 12;
    default:
      return 0;
  }
}

static_assert(messageFixedSize(MSG_BIND_GRAPHICS_2D) == 20);
static_assert(messageFixedSize(MSG_URL_CLOSE) == 12);
static_assert(messageFixedSize(MSG_EXECUTE_SCRIPT) == 12);
static_assert(messageFixedSize(MSG_NAVIGATE) == 16);
static_assert(messageFixedSize(MSG_GL_TEX_IMAGE_2D) == 44);
static_assert(messageFixedSize(MSG_GL_TEX_SUB_IMAGE_2D) == 48);
static_assert(messageFixedSize(MSG_CREATE_CONTEXT_3D) == 28);
static_assert(messageFixedSize(MSG_DESTROY_CONTEXT_3D) == 12);
static_assert(messageFixedSize(MSG_GL_DELETE_SHADER) == 16);
static_assert(messageFixedSize(MSG_AUDIO_START) == 20);
static_assert(messageFixedSize(MSG_SET_CURSOR) == 12);
static_assert(messageFixedSize(MSG_SCREEN_SIZE) == 16);
static_assert(messageFixedSize(65) == 0);
static_assert(messageFixedSize(MSG_SHOW_MENU) == 24);
static_assert(messageFixedSize(MSG_TIME_ZONE_OFFSET) == 12);
static_assert(messageFixedSize(MSG_CLIPBOARD_READ_TEXT) == 8);
static_assert(messageFixedSize(MSG_CLIPBOARD_WRITE_TEXT) == 12);
static_assert(messageFixedSize(71) == 0);

// The list of every message on the host channel. Each line gives, in order: the code,
// the name after MSG_, the struct of its fixed block (protocol/layouts.h), who sends
// it, the fixed size in bytes (code included) and what the host reads back on the reply
// connection. Everything that needs a per-message fact (the code enum, names, sizes,
// the host's dispatcher, the controller kit's typed messages) is generated from here,
// so a new message is one line here plus its struct.
//
// Every message travels on the command connection; the reply connection carries only
// the reply blocks named in the last column, each right after its request.
#pragma once

#include <cstdint>

// X(code, NAME, Struct, Sender, fixed size, Reply)
#define ZEMA_PROTOCOL_MESSAGES(X)                                                 \
  X(0, BIND_GRAPHICS_2D, BindGraphics2D, Host, 20, None)                          \
  X(1, BIND_GRAPHICS_3D, BindGraphics3D, Host, 16, None)                          \
  X(2, FLUSH_2D, Flush2D, Host, 16, None)                                         \
  X(3, FLUSH_2D_DONE, Flush2DDone, Controller, 16, None)                          \
  X(4, REQUEST_INPUT_EVENTS, RequestInputEvents, Host, 12, None)                  \
  X(5, MOUSE_EVENT, MouseEvent, Controller, 32, None)                             \
  X(6, URL_OPEN, UrlOpen, Host, 36, None)                                         \
  X(7, URL_READ, UrlRead, Host, 24, None)                                         \
  X(8, URL_BODY_DATA, UrlBodyData, Controller, 16, None)                          \
  X(9, URL_RESPONSE, UrlResponse, Controller, 32, None)                           \
  X(10, URL_FAILED, UrlFailed, Controller, 16, None)                              \
  X(11, VIEW_CHANGED, ViewChanged, Controller, 20, None)                          \
  X(12, KEY_EVENT, KeyEvent, Controller, 32, None)                                \
  X(13, URL_PROGRESS, UrlProgress, Controller, 20, None)                          \
  X(14, URL_CLOSE, UrlClose, Host, 12, None)                                      \
  X(15, EXECUTE_SCRIPT, ExecuteScript, Host, 12, Script)                          \
  X(17, NAVIGATE, Navigate, Host, 16, None)                                       \
  X(18, GL_GET_STRING, GlGetString, Host, 16, GlString)                           \
  X(20, GL_CREATE_SHADER, GlCreateShader, Host, 16, GlValue)                      \
  X(21, GL_SHADER_SOURCE, GlShaderSource, Host, 20, None)                         \
  X(22, GL_COMPILE_SHADER, GlCompileShader, Host, 16, None)                       \
  X(23, GL_GET_SHADERIV, GlGetShaderiv, Host, 20, GlValue)                        \
  X(24, GL_CREATE_PROGRAM, GlCreateProgram, Host, 16, GlValue)                    \
  X(25, GL_ATTACH_SHADER, GlAttachShader, Host, 20, None)                         \
  X(26, GL_BIND_ATTRIB_LOCATION, GlBindAttribLocation, Host, 24, None)            \
  X(27, GL_LINK_PROGRAM, GlLinkProgram, Host, 16, None)                           \
  X(28, GL_GET_PROGRAMIV, GlGetProgramiv, Host, 20, GlValue)                      \
  X(29, GL_USE_PROGRAM, GlUseProgram, Host, 16, None)                             \
  X(30, GL_GET_UNIFORM_LOCATION, GlGetUniformLocation, Host, 20, GlValue)         \
  X(31, GL_UNIFORM1I, GlUniform1i, Host, 20, None)                                \
  X(32, GL_GET_INTEGERV, GlGetIntegerv, Host, 16, GlData)                         \
  X(33, GL_GEN_TEXTURES, GlGenTextures, Host, 16, GlData)                         \
  X(34, GL_BIND_TEXTURE, GlBindTexture, Host, 20, None)                           \
  X(35, GL_TEX_IMAGE_2D, GlTexImage2D, Host, 44, None)                            \
  X(36, GL_GEN_BUFFERS, GlGenBuffers, Host, 16, GlData)                           \
  X(37, GL_BIND_BUFFER, GlBindBuffer, Host, 20, None)                             \
  X(38, GL_BUFFER_DATA, GlBufferData, Host, 24, None)                             \
  X(39, GL_VERTEX_ATTRIB_POINTER, GlVertexAttribPointer, Host, 36, None)          \
  X(40, GL_ENABLE_VERTEX_ATTRIB_ARRAY, GlEnableVertexAttribArray, Host, 16, None) \
  X(41, GL_BLEND_FUNC, GlBlendFunc, Host, 20, None)                               \
  X(42, GL_TEX_SUB_IMAGE_2D, GlTexSubImage2D, Host, 48, None)                     \
  X(43, GL_DISABLE, GlDisable, Host, 16, None)                                    \
  X(44, GL_COLOR_MASK, GlColorMask, Host, 28, None)                               \
  X(45, GL_CLEAR_COLOR, GlClearColor, Host, 24, None)                             \
  X(46, GL_ENABLE, GlEnable, Host, 16, None)                                      \
  X(47, GL_VIEWPORT, GlViewport, Host, 28, None)                                  \
  X(48, GL_UNIFORM2F, GlUniform2f, Host, 20, None)                                \
  X(49, GL_ACTIVE_TEXTURE, GlActiveTexture, Host, 16, None)                       \
  X(50, GL_DRAW_ARRAYS, GlDrawArrays, Host, 24, None)                             \
  X(51, CREATE_CONTEXT_3D, CreateContext3D, Host, 28, None)                       \
  X(52, RESIZE_BUFFERS, ResizeBuffers, Host, 20, None)                            \
  X(53, SWAP_BUFFERS, SwapBuffers, Host, 16, None)                                \
  X(54, SWAP_BUFFERS_DONE, SwapBuffersDone, Controller, 16, None)                 \
  X(55, DESTROY_CONTEXT_3D, DestroyContext3D, Host, 12, None)                     \
  X(56, GL_TEX_PARAMETERI, GlTexParameteri, Host, 24, None)                       \
  X(57, GL_FLUSH, GlFlush, Host, 16, None)                                        \
  X(58, GL_PIXEL_STOREI, GlPixelStorei, Host, 20, None)                           \
  X(59, GL_DELETE_SHADER, GlDeleteShader, Host, 16, None)                         \
  X(60, AUDIO_START, AudioStart, Host, 20, None)                                  \
  X(61, AUDIO_STOP, AudioStop, Host, 12, None)                                    \
  X(62, AUDIO_SAMPLES, AudioSamples, Host, 16, None)                              \
  X(63, SET_CURSOR, SetCursor, Host, 12, None)                                    \
  X(64, SCREEN_SIZE, ScreenSize, Controller, 16, None)                            \
  X(66, SHOW_MENU, ShowMenu, Host, 24, None)                                      \
  X(67, MENU_RESULT, MenuResult, Controller, 20, None)                            \
  X(68, TIME_ZONE_OFFSET, TimeZoneOffset, Controller, 12, None)                   \
  X(69, CLIPBOARD_READ_TEXT, ClipboardReadText, Host, 8, ClipboardText)           \
  X(70, CLIPBOARD_WRITE_TEXT, ClipboardWriteText, Host, 12, None)

// The message codes, named MSG_ followed by the list's name.
enum PPMsgType : uint32_t {
#define ZEMA_PROTOCOL_ENUM(code, name, type, sender, size, reply) MSG_##name = code,
  ZEMA_PROTOCOL_MESSAGES(ZEMA_PROTOCOL_ENUM)
#undef ZEMA_PROTOCOL_ENUM
};

namespace zema::protocol {

// Who writes a message: the host (read by the controlling process) or the controlling
// process (read by the host).
enum class Sender : uint8_t { Host, Controller };

// What the host reads from the reply connection right after writing a message.
enum class Reply : uint8_t {
  None,           // nothing: the message is fire and forget
  GlValue,        // GlReplyBlock; its value is the answer
  GlData,         // GlReplyBlock; its value is the byte count of the data that follows
  GlString,       // GlReplyBlock; its value is the length of the text that follows
  Script,         // ScriptReplyBlock, then the result text when it is a string
  ClipboardText,  // ClipboardTextReplyBlock, then the text unless it is the host's own
};

// One more than the highest code in use.
constexpr uint32_t kCodeLimit = 71;

}  // namespace zema::protocol

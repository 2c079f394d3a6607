// The fixed block of every message on the host channel, and the reply blocks. Every
// field is a little-endian 32-bit word unless its type says otherwise (the context
// attributes of CreateContext3D are bytes); the structs have no padding, so a block is
// its struct's bytes. Blocks begin with their code; `reserved` and `ignored` fields are
// written as 0 and never read.
//
// Fields not given when a block is built are 0.
//
// trailingSize() is the number of bytes that follow a block on the command connection,
// from its own fields. A menu (ShowMenu) is followed by one MenuItemBlock and its text
// per item instead: its trailingSize() is 0 and kItemsFollow says so.
#pragma once

#include <bit>
#include <cstdint>

#include "protocol/codes.h"

static_assert(std::endian::native == std::endian::little,
              "the channel's words are little-endian, the blocks are sent as they lie in memory");

namespace zema::protocol {

#define ZEMA_NO_TRAILING                    \
  constexpr uint64_t trailingSize() const { \
    return 0;                               \
  }

// ---- 2D graphics ----

struct BindGraphics2D {
  uint32_t code = MSG_BIND_GRAPHICS_2D;
  uint32_t processId = 0;  // the host's process id
  int32_t width = 0;
  int32_t height = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};

struct BindGraphics3D {
  uint32_t code = MSG_BIND_GRAPHICS_3D;
  uint32_t processId = 0;
  uint32_t context = 0;  // the 3D context's number
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};

// Followed by the bound context's pixels, rows top to bottom, red, green, blue, alpha.
// The message names no context: its geometry is the latest BindGraphics2D's.
struct Flush2D {
  uint32_t code = MSG_FLUSH_2D;
  uint32_t callbackNumber = 0;
  uint32_t byteCount = 0;  // width * 4 * height
  uint32_t reserved = 0;
  constexpr uint64_t trailingSize() const { return byteCount; }
};

struct Flush2DDone {
  uint32_t code = MSG_FLUSH_2D_DONE;
  uint32_t callbackNumber = 0;
  uint32_t ignored1 = 0;
  uint32_t ignored2 = 0;
  ZEMA_NO_TRAILING
};

// ---- input and view ----

struct RequestInputEvents {
  uint32_t code = MSG_REQUEST_INPUT_EVENTS;
  uint32_t eventClasses = 0;  // the plug-in's PP_InputEvent_Class bits
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};

struct MouseEvent {
  uint32_t code = MSG_MOUSE_EVENT;
  int32_t type = 0;  // PP_InputEvent_Type
  int32_t x = 0;
  int32_t y = 0;
  uint32_t modifiers = 0;  // PP_InputEvent_Modifier bits
  int32_t button = 0;      // PP_InputEvent_MouseButton
  int32_t clickCount = 0;
  uint32_t ignored = 0;
  ZEMA_NO_TRAILING
};

// Shares the mouse event's seven-word layout: no position, the key in the words that
// hold button and click count.
struct KeyEvent {
  uint32_t code = MSG_KEY_EVENT;
  int32_t type = 0;  // PP_InputEvent_Type
  uint32_t ignoredX = 0;
  uint32_t ignoredY = 0;
  uint32_t modifiers = 0;
  uint32_t keyCode = 0;
  uint32_t character = 0;  // one Unicode code point, 0 for none
  uint32_t ignored = 0;
  ZEMA_NO_TRAILING
};

struct ViewChanged {
  uint32_t code = MSG_VIEW_CHANGED;
  int32_t width = 0;
  int32_t height = 0;
  float deviceScale = 0;
  uint32_t ignored = 0;
  ZEMA_NO_TRAILING
};

struct ScreenSize {
  uint32_t code = MSG_SCREEN_SIZE;
  int32_t width = 0;
  int32_t height = 0;
  uint32_t ignored = 0;
  ZEMA_NO_TRAILING
};

// Followed by the cursor's keyword, ASCII.
struct SetCursor {
  uint32_t code = MSG_SET_CURSOR;
  uint32_t keywordLength = 0;
  uint32_t reserved = 0;
  constexpr uint64_t trailingSize() const { return keywordLength; }
};

// ---- URL loading ----

// Followed by the URL, the header block and the body, each without a terminator.
struct UrlOpen {
  uint32_t code = MSG_URL_OPEN;
  uint32_t callbackNumber = 0;  // the Open's
  uint32_t progressNumber = 0;  // the progress registration's; 0 when none is recorded
  uint32_t processId = 0;
  uint32_t urlLength = 0;
  uint32_t headersLength = 0;
  uint32_t bodyLength = 0;
  uint32_t method = 0;  // 0 GET, 1 POST
  uint32_t reserved = 0;
  constexpr uint64_t trailingSize() const {
    return uint64_t{urlLength} + headersLength + bodyLength;
  }
};

struct UrlRead {
  uint32_t code = MSG_URL_READ;
  uint32_t streamId = 0;  // 0 before a response has arrived
  uint32_t callbackNumber = 0;
  uint32_t processId = 0;
  int32_t bytesToRead = 0;  // as the plug-in gave it
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};

struct UrlClose {
  uint32_t code = MSG_URL_CLOSE;
  uint32_t streamId = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};

// Followed by byteCount body bytes; a count of 0 ends the body.
struct UrlBodyData {
  uint32_t code = MSG_URL_BODY_DATA;
  uint32_t callbackNumber = 0;  // the pending read's
  uint32_t byteCount = 0;
  uint32_t ignored = 0;
  constexpr uint64_t trailingSize() const { return byteCount; }
};

// Followed by the response URL, then the header block, without terminators.
struct UrlResponse {
  uint32_t code = MSG_URL_RESPONSE;
  uint32_t streamId = 0;
  uint32_t callbackNumber = 0;  // the Open's
  int32_t status = 0;           // the HTTP status code
  uint32_t urlLength = 0;
  uint32_t headersLength = 0;
  uint32_t ignored1 = 0;
  uint32_t ignored2 = 0;
  constexpr uint64_t trailingSize() const { return uint64_t{urlLength} + headersLength; }
};

struct UrlFailed {
  uint32_t code = MSG_URL_FAILED;
  uint32_t ignored1 = 0;
  uint32_t callbackNumber = 0;  // an Open's or a read's
  uint32_t ignored2 = 0;
  ZEMA_NO_TRAILING
};

struct UrlProgress {
  uint32_t code = MSG_URL_PROGRESS;
  uint32_t callbackNumber = 0;  // the progress registration's
  uint32_t bytesReceived = 0;
  uint32_t totalBytes = 0;  // equal to bytesReceived ends the registration
  uint32_t ignored = 0;
  ZEMA_NO_TRAILING
};

// ---- document, clipboard, menus, time ----

// Followed by the script. Answered with a ScriptReplyBlock.
struct ExecuteScript {
  uint32_t code = MSG_EXECUTE_SCRIPT;
  uint32_t scriptLength = 0;
  uint32_t reserved = 0;
  constexpr uint64_t trailingSize() const { return scriptLength; }
};

// Followed by the URL, then the target.
struct Navigate {
  uint32_t code = MSG_NAVIGATE;
  uint32_t urlLength = 0;
  uint32_t targetLength = 0;
  uint32_t reserved = 0;
  constexpr uint64_t trailingSize() const { return uint64_t{urlLength} + targetLength; }
};

// Answered with a ClipboardTextReplyBlock.
struct ClipboardReadText {
  uint32_t code = MSG_CLIPBOARD_READ_TEXT;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};

// Followed by the text.
struct ClipboardWriteText {
  uint32_t code = MSG_CLIPBOARD_WRITE_TEXT;
  uint32_t textLength = 0;
  uint32_t reserved = 0;
  constexpr uint64_t trailingSize() const { return textLength; }
};

// Followed by itemCount items: each a MenuItemBlock and its text.
struct ShowMenu {
  uint32_t code = MSG_SHOW_MENU;
  int32_t x = 0;
  int32_t y = 0;
  uint32_t itemCount = 0;
  uint32_t callbackNumber = 0;  // the Show's
  uint32_t reserved = 0;
  static constexpr bool kItemsFollow = true;
  ZEMA_NO_TRAILING
};

// One item of a menu, followed by its text.
struct MenuItemBlock {
  uint32_t type = 0;     // PP_Flash_MenuItem_Type: 0 normal, 1 check box, 2 separator, 3 submenu
  uint32_t enabled = 0;  // 1 or 0
  uint32_t textLength = 0;
  int32_t id = 0;
  uint32_t reserved = 0;
};

struct MenuResult {
  uint32_t code = MSG_MENU_RESULT;
  uint32_t callbackNumber = 0;  // the Show's
  int32_t chosenId = 0;
  uint32_t cancelled = 0;  // non-zero: dismissed, nothing chosen
  uint32_t ignored = 0;
  ZEMA_NO_TRAILING
};

struct TimeZoneOffset {
  uint32_t code = MSG_TIME_ZONE_OFFSET;
  int32_t offset = 0;  // local time-zone offset, a whole number
  uint32_t ignored = 0;
  ZEMA_NO_TRAILING
};

// ---- audio ----

struct AudioStart {
  uint32_t code = MSG_AUDIO_START;
  uint32_t stream = 0;
  uint32_t sampleRate = 0;
  uint32_t frameCount = 0;  // frames per buffer
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};

struct AudioStop {
  uint32_t code = MSG_AUDIO_STOP;
  uint32_t stream = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};

// Followed by interleaved stereo 16-bit frames.
struct AudioSamples {
  uint32_t code = MSG_AUDIO_SAMPLES;
  uint32_t stream = 0;
  uint32_t byteCount = 0;  // frames per buffer * 4
  uint32_t reserved = 0;
  constexpr uint64_t trailingSize() const { return byteCount; }
};

// ---- 3D contexts ----

struct CreateContext3D {
  uint32_t code = MSG_CREATE_CONTEXT_3D;
  uint32_t context = 0;
  int32_t width = 0;
  int32_t height = 0;
  uint8_t redSize = 0;
  uint8_t greenSize = 0;
  uint8_t blueSize = 0;
  uint8_t depthSize = 0;
  uint8_t stencilSize = 0;
  uint8_t samples = 0;
  uint8_t sampleBuffers = 0;
  uint8_t reserved[5] = {};
  ZEMA_NO_TRAILING
};

struct ResizeBuffers {
  uint32_t code = MSG_RESIZE_BUFFERS;
  uint32_t context = 0;
  int32_t width = 0;
  int32_t height = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};

struct SwapBuffers {
  uint32_t code = MSG_SWAP_BUFFERS;
  uint32_t context = 0;
  uint32_t callbackNumber = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};

struct SwapBuffersDone {
  uint32_t code = MSG_SWAP_BUFFERS_DONE;
  uint32_t ignored1 = 0;
  uint32_t callbackNumber = 0;
  uint32_t ignored2 = 0;
  ZEMA_NO_TRAILING
};

struct DestroyContext3D {
  uint32_t code = MSG_DESTROY_CONTEXT_3D;
  uint32_t context = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};

// A texture upload through a mapped buffer; followed by byteCount bytes (every pixel
// counts four, whatever format and type say).
struct GlTexSubImage2D {
  uint32_t code = MSG_GL_TEX_SUB_IMAGE_2D;
  uint32_t context = 0;
  uint32_t target = 0;
  int32_t level = 0;
  int32_t xOffset = 0;
  int32_t yOffset = 0;
  int32_t width = 0;
  int32_t height = 0;
  uint32_t format = 0;
  uint32_t type = 0;
  uint32_t byteCount = 0;  // width * height * 4
  uint32_t reserved = 0;
  constexpr uint64_t trailingSize() const { return byteCount; }
};

// ---- GLES2 commands: code, context number, the entry's arguments ----

#define ZEMA_GL_HEAD(name)       \
  uint32_t code = MSG_GL_##name; \
  uint32_t context = 0;

struct GlActiveTexture {
  ZEMA_GL_HEAD(ACTIVE_TEXTURE)
  uint32_t texture = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
struct GlAttachShader {
  ZEMA_GL_HEAD(ATTACH_SHADER)
  uint32_t shader = 0;  // the shader comes first
  uint32_t program = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
// Followed by the name.
struct GlBindAttribLocation {
  ZEMA_GL_HEAD(BIND_ATTRIB_LOCATION)
  uint32_t program = 0;
  uint32_t index = 0;
  uint32_t nameLength = 0;
  uint32_t reserved = 0;
  constexpr uint64_t trailingSize() const { return nameLength; }
};
struct GlBindBuffer {
  ZEMA_GL_HEAD(BIND_BUFFER)
  uint32_t target = 0;
  uint32_t buffer = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
struct GlBindTexture {
  ZEMA_GL_HEAD(BIND_TEXTURE)
  uint32_t target = 0;
  uint32_t texture = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
struct GlBlendFunc {
  ZEMA_GL_HEAD(BLEND_FUNC)
  uint32_t sfactor = 0;
  uint32_t dfactor = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
// Followed by size bytes of data (zeros when the plug-in gave none).
struct GlBufferData {
  ZEMA_GL_HEAD(BUFFER_DATA)
  uint32_t target = 0;
  uint32_t usage = 0;  // usage comes before size
  uint32_t size = 0;
  uint32_t reserved = 0;
  constexpr uint64_t trailingSize() const { return size; }
};
struct GlClearColor {
  ZEMA_GL_HEAD(CLEAR_COLOR)
  float red = 0;
  float green = 0;
  float blue = 0;
  float alpha = 0;
  ZEMA_NO_TRAILING
};
struct GlColorMask {
  ZEMA_GL_HEAD(COLOR_MASK)
  uint32_t red = 0;  // each 0 or 1
  uint32_t green = 0;
  uint32_t blue = 0;
  uint32_t alpha = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
struct GlCompileShader {
  ZEMA_GL_HEAD(COMPILE_SHADER)
  uint32_t shader = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
// Answered with a value: the program's name.
struct GlCreateProgram {
  ZEMA_GL_HEAD(CREATE_PROGRAM)
  uint32_t unused = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
// Answered with a value: the shader's name.
struct GlCreateShader {
  ZEMA_GL_HEAD(CREATE_SHADER)
  uint32_t type = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
struct GlDeleteShader {
  ZEMA_GL_HEAD(DELETE_SHADER)
  uint32_t shader = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
struct GlDisable {
  ZEMA_GL_HEAD(DISABLE)
  uint32_t cap = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
struct GlDrawArrays {
  ZEMA_GL_HEAD(DRAW_ARRAYS)
  uint32_t mode = 0;
  int32_t first = 0;
  int32_t count = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
struct GlEnable {
  ZEMA_GL_HEAD(ENABLE)
  uint32_t cap = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
struct GlEnableVertexAttribArray {
  ZEMA_GL_HEAD(ENABLE_VERTEX_ATTRIB_ARRAY)
  uint32_t index = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
struct GlFlush {
  ZEMA_GL_HEAD(FLUSH)
  uint32_t unused = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
// Answered with data: n names of four bytes.
struct GlGenBuffers {
  ZEMA_GL_HEAD(GEN_BUFFERS)
  int32_t n = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
// Answered with data: n names of four bytes.
struct GlGenTextures {
  ZEMA_GL_HEAD(GEN_TEXTURES)
  int32_t n = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
// Answered with data: the values pname yields, four bytes each.
struct GlGetIntegerv {
  ZEMA_GL_HEAD(GET_INTEGERV)
  uint32_t pname = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
// Answered with a value.
struct GlGetProgramiv {
  ZEMA_GL_HEAD(GET_PROGRAMIV)
  uint32_t program = 0;
  uint32_t pname = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
// Answered with a value.
struct GlGetShaderiv {
  ZEMA_GL_HEAD(GET_SHADERIV)
  uint32_t shader = 0;
  uint32_t pname = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
// Answered with a string.
struct GlGetString {
  ZEMA_GL_HEAD(GET_STRING)
  uint32_t name = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
// Followed by the name; answered with a value: the location.
struct GlGetUniformLocation {
  ZEMA_GL_HEAD(GET_UNIFORM_LOCATION)
  uint32_t program = 0;
  uint32_t nameLength = 0;
  uint32_t reserved = 0;
  constexpr uint64_t trailingSize() const { return nameLength; }
};
struct GlLinkProgram {
  ZEMA_GL_HEAD(LINK_PROGRAM)
  uint32_t program = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
struct GlPixelStorei {
  ZEMA_GL_HEAD(PIXEL_STOREI)
  uint32_t pname = 0;
  int32_t param = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
// Followed by the strings, concatenated without separators.
struct GlShaderSource {
  ZEMA_GL_HEAD(SHADER_SOURCE)
  uint32_t shader = 0;
  uint32_t totalLength = 0;
  uint32_t reserved = 0;
  constexpr uint64_t trailingSize() const { return totalLength; }
};
// Followed by byteCount bytes of pixels (every pixel counts four; 0 without pixels).
struct GlTexImage2D {
  ZEMA_GL_HEAD(TEX_IMAGE_2D)
  uint32_t target = 0;
  int32_t level = 0;
  int32_t internalFormat = 0;
  int32_t width = 0;
  int32_t height = 0;
  uint32_t format = 0;
  uint32_t type = 0;
  uint32_t byteCount = 0;
  uint32_t reserved = 0;
  constexpr uint64_t trailingSize() const { return byteCount; }
};
struct GlTexParameteri {
  ZEMA_GL_HEAD(TEX_PARAMETERI)
  uint32_t target = 0;
  uint32_t pname = 0;
  int32_t param = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
struct GlUniform1i {
  ZEMA_GL_HEAD(UNIFORM1I)
  int32_t location = 0;
  int32_t x = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
struct GlUniform2f {
  ZEMA_GL_HEAD(UNIFORM2F)
  int32_t location = 0;
  float x = 0;
  float y = 0;
  ZEMA_NO_TRAILING
};
struct GlUseProgram {
  ZEMA_GL_HEAD(USE_PROGRAM)
  uint32_t program = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
// Only the pointer's value travels: an offset into the bound buffer.
struct GlVertexAttribPointer {
  ZEMA_GL_HEAD(VERTEX_ATTRIB_POINTER)
  uint32_t index = 0;
  int32_t size = 0;
  uint32_t type = 0;
  uint32_t normalized = 0;  // 0 or 1
  int32_t stride = 0;
  uint32_t pointer = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};
struct GlViewport {
  ZEMA_GL_HEAD(VIEWPORT)
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  uint32_t reserved = 0;
  ZEMA_NO_TRAILING
};

#undef ZEMA_GL_HEAD
#undef ZEMA_NO_TRAILING

// ---- reply blocks (reply connection) ----

// The answer to a GL query: the value itself (GlValue), or the byte count of the data
// (GlData) or the length of the text (GlString) that follows at once.
struct GlReplyBlock {
  uint32_t unused0 = 0;
  uint32_t value = 0;
  uint32_t unused2 = 0;
};

// The answer to ExecuteScript: the result's PP_VarType; when it is a string (5),
// stringLength bytes of text follow.
struct ScriptReplyBlock {
  uint32_t unused0 = 0;
  uint32_t varType = 0;
  uint32_t stringLength = 0;
  uint32_t unused3 = 0;
};
constexpr uint32_t kScriptResultString = 5;

// The answer to ClipboardReadText: unless ownText is set (the host answers from its own
// plain-text slot), textLength bytes of text follow.
struct ClipboardTextReplyBlock {
  uint32_t unused0 = 0;
  uint32_t textLength = 0;
  uint32_t ownText = 0;
  uint32_t unused3 = 0;
};

static_assert(sizeof(MenuItemBlock) == 20);
static_assert(sizeof(GlReplyBlock) == 12);
static_assert(sizeof(ScriptReplyBlock) == 16);
static_assert(sizeof(ClipboardTextReplyBlock) == 16);

}  // namespace zema::protocol

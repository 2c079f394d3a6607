// "PPB_OpenGLES2;1.0": GLES2 commands.
#include "graphics/opengles2.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "graphics/graphics_3d.h"
#include "host/plugin_instance.h"
#include "resources/not_implemented.h"
#include "resources/resource_table.h"

namespace {

using namespace zema::protocol;

constexpr uint32_t kMaxGlString = uint32_t{1} << 20;

// Writes one GL command, addressed to `context`'s number, then the trailing pieces.
// Every forwarded entry goes through here. False (nothing sent) when `context` names no
// 3D context.
template <class Message>
bool sendGl(PP_Resource context, Message message,
            std::initializer_list<ChannelPiece> trailing = {}) {
  Enter<PPGraphics3D> gl(context);
  if (!gl) return false;
  message.context = gl->contextNumber;
  pluginInstance->send(message, trailing);
  return true;
}

// The reply block of a synchronous GL request: the value, or the byte count of what
// follows.
uint32_t readReplyValue() {
  return pluginInstance->readReplyBlock<GlReplyBlock>().value;
}

// A data reply: stores at most `capacity` bytes into `out`; what the peer sends beyond
// that is read and dropped, so the reply connection stays in step. Returns the bytes
// stored.
size_t readDataReply(void* out, size_t capacity) {
  auto request = pluginInstance->beginRequest();
  uint32_t announced = readReplyValue();
  size_t kept = std::min<size_t>(announced, out != nullptr ? capacity : 0);
  if (kept > 0) pluginInstance->readReply(out, kept);
  char scratch[256];
  for (size_t left = announced - kept; left > 0;) {
    size_t piece = std::min(left, sizeof(scratch));
    pluginInstance->readReply(scratch, piece);
    left -= piece;
  }
  return kept;
}

constexpr GLenum kNumCompressedTextureFormats = 0x86A2, kCompressedTextureFormats = 0x86A3;
constexpr GLenum kNumShaderBinaryFormats = 0x8DF9, kShaderBinaryFormats = 0x8DF8;
// The most values a format list is taken to hold, however many GL reports.
constexpr uint32_t kMaxListLength = 4096;

// How many values GetIntegerv yields for `pname`: one unless known to be more. The two
// format lists hold as many as GL last reported for their count on this context.
size_t integerCount(const PPGraphics3D* gl, GLenum pname) {
  if (pname == kCompressedTextureFormats || pname == kShaderBinaryFormats) {
    auto found = gl->listLengths.find(pname);
    return found != gl->listLengths.end() ? std::max<uint32_t>(found->second, 1) : 1;
  }
  switch (pname) {
    case 0x0BA2:  // GL_VIEWPORT
    case 0x0C10:  // GL_SCISSOR_BOX
    case 0x0C22:  // GL_COLOR_CLEAR_VALUE
    case 0x0C23:  // GL_COLOR_WRITEMASK
    case 0x8005:  // GL_BLEND_COLOR
      return 4;
    case 0x0B70:  // GL_DEPTH_RANGE
    case 0x0D3A:  // GL_MAX_VIEWPORT_DIMS
    case 0x846D:  // GL_ALIASED_POINT_SIZE_RANGE
    case 0x846E:  // GL_ALIASED_LINE_WIDTH_RANGE
      return 2;
    default:
      return 1;
  }
}

uint32_t length(const char* text) {
  return text != nullptr ? static_cast<uint32_t>(strlen(text)) : 0;
}

}  // namespace

static void ZEMA_OpenGLES2_ActiveTexture(PP_Resource c, GLenum texture) {
  sendGl(c, GlActiveTexture{.texture = texture});
}
static void ZEMA_OpenGLES2_AttachShader(PP_Resource c, GLuint program, GLuint shader) {
  sendGl(c, GlAttachShader{.shader = shader, .program = program});
}
static void ZEMA_OpenGLES2_BindAttribLocation(PP_Resource c, GLuint program, GLuint index,
                                              const char* name) {
  sendGl(c, GlBindAttribLocation{.program = program, .index = index, .nameLength = length(name)},
         {{name, length(name)}});
}
static void ZEMA_OpenGLES2_BindBuffer(PP_Resource c, GLenum target, GLuint buffer) {
  sendGl(c, GlBindBuffer{.target = target, .buffer = buffer});
}
static void ZEMA_OpenGLES2_BindTexture(PP_Resource c, GLenum target, GLuint texture) {
  sendGl(c, GlBindTexture{.target = target, .texture = texture});
}
static void ZEMA_OpenGLES2_BlendFunc(PP_Resource c, GLenum sfactor, GLenum dfactor) {
  sendGl(c, GlBlendFunc{.sfactor = sfactor, .dfactor = dfactor});
}
static void ZEMA_OpenGLES2_BufferData(PP_Resource c, GLenum target, GLsizeiptr size,
                                      const void* data, GLenum usage) {
  if (size < 0 || size > INT32_MAX) return;
  auto bytes = static_cast<uint32_t>(size);
  // Without data the buffer is only sized: as many zero bytes stand in for it.
  std::vector<uint8_t> zeros(data == nullptr ? bytes : 0);
  sendGl(c, GlBufferData{.target = target, .usage = usage, .size = bytes},
         {{data != nullptr ? data : zeros.data(), bytes}});
}
static void ZEMA_OpenGLES2_ClearColor(PP_Resource c, GLclampf r, GLclampf g, GLclampf b,
                                      GLclampf a) {
  sendGl(c, GlClearColor{.red = r, .green = g, .blue = b, .alpha = a});
}
static void ZEMA_OpenGLES2_ColorMask(PP_Resource c, GLboolean r, GLboolean g, GLboolean b,
                                     GLboolean a) {
  sendGl(c, GlColorMask{.red = r, .green = g, .blue = b, .alpha = a});
}
static void ZEMA_OpenGLES2_CompileShader(PP_Resource c, GLuint shader) {
  sendGl(c, GlCompileShader{.shader = shader});
}
// CreateProgram and CreateShader share one layout: code, context, argument, reserved.
GLuint ZEMA_OpenGLES2_CreateHelper(PP_Resource c, uint32_t code, uint32_t argument) {
  auto request = pluginInstance->beginRequest();
  bool sent = false;
  if (code == MSG_GL_CREATE_PROGRAM)
    sent = sendGl(c, GlCreateProgram{.unused = argument});
  else if (code == MSG_GL_CREATE_SHADER)
    sent = sendGl(c, GlCreateShader{.type = argument});
  return sent ? readReplyValue() : 0;
}
static GLuint ZEMA_OpenGLES2_CreateProgram(PP_Resource c) {
  return ZEMA_OpenGLES2_CreateHelper(c, MSG_GL_CREATE_PROGRAM, 0);
}
static GLuint ZEMA_OpenGLES2_CreateShader(PP_Resource c, GLenum type) {
  return ZEMA_OpenGLES2_CreateHelper(c, MSG_GL_CREATE_SHADER, type);
}
static void ZEMA_OpenGLES2_DeleteShader(PP_Resource c, GLuint shader) {
  sendGl(c, GlDeleteShader{.shader = shader});
}
static void ZEMA_OpenGLES2_Disable(PP_Resource c, GLenum cap) {
  sendGl(c, GlDisable{.cap = cap});
}
static void ZEMA_OpenGLES2_DrawArrays(PP_Resource c, GLenum mode, GLint first, GLsizei count) {
  sendGl(c, GlDrawArrays{.mode = mode, .first = first, .count = count});
}
static void ZEMA_OpenGLES2_Enable(PP_Resource c, GLenum cap) {
  sendGl(c, GlEnable{.cap = cap});
}
static void ZEMA_OpenGLES2_EnableVertexAttribArray(PP_Resource c, GLuint index) {
  sendGl(c, GlEnableVertexAttribArray{.index = index});
}
static void ZEMA_OpenGLES2_Flush(PP_Resource c) {
  sendGl(c, GlFlush{});
}
static void ZEMA_OpenGLES2_GenBuffers(PP_Resource c, GLsizei n, GLuint* buffers) {
  auto request = pluginInstance->beginRequest();
  if (n >= 0 && sendGl(c, GlGenBuffers{.n = n}))
    readDataReply(buffers, size_t{static_cast<uint32_t>(n)} * 4);
}
static void ZEMA_OpenGLES2_GenTextures(PP_Resource c, GLsizei n, GLuint* textures) {
  auto request = pluginInstance->beginRequest();
  if (n >= 0 && sendGl(c, GlGenTextures{.n = n}))
    readDataReply(textures, size_t{static_cast<uint32_t>(n)} * 4);
}
static void ZEMA_OpenGLES2_GetIntegerv(PP_Resource c, GLenum pname, GLint* params) {
  auto request = pluginInstance->beginRequest();
  Enter<PPGraphics3D> gl(c);
  if (!gl || !sendGl(c, GlGetIntegerv{.pname = pname})) return;
  size_t kept = readDataReply(params, integerCount(gl.get(), pname) * 4);
  GLenum list = pname == kNumCompressedTextureFormats ? kCompressedTextureFormats
                : pname == kNumShaderBinaryFormats    ? kShaderBinaryFormats
                                                      : 0;
  if (list != 0 && kept >= 4)
    gl->listLengths[list] = std::min(static_cast<uint32_t>(std::max(params[0], 0)), kMaxListLength);
}
static void ZEMA_OpenGLES2_GetProgramiv(PP_Resource c, GLuint program, GLenum pname,
                                        GLint* params) {
  auto request = pluginInstance->beginRequest();
  if (!sendGl(c, GlGetProgramiv{.program = program, .pname = pname})) return;
  auto value = static_cast<GLint>(readReplyValue());
  if (params != nullptr) *params = value;
}
static void ZEMA_OpenGLES2_GetShaderiv(PP_Resource c, GLuint shader, GLenum pname, GLint* params) {
  auto request = pluginInstance->beginRequest();
  if (!sendGl(c, GlGetShaderiv{.shader = shader, .pname = pname})) return;
  auto value = static_cast<GLint>(readReplyValue());
  if (params != nullptr) *params = value;
}
static const GLubyte* ZEMA_OpenGLES2_GetString(PP_Resource c, GLenum name) {
  auto request = pluginInstance->beginRequest();
  Enter<PPGraphics3D> gl(c);
  if (!gl) return nullptr;
  auto cached = gl->stringCache.find(name);
  if (cached == gl->stringCache.end()) {
    sendGl(c, GlGetString{.name = name});
    // A string longer than any GL implementation's is read and dropped: no answer.
    std::optional<std::string> text = pluginInstance->readReplyText(readReplyValue(), kMaxGlString);
    if (!text) return nullptr;
    cached = gl->stringCache.emplace(name, std::move(*text)).first;
  }
  // The cached text keeps its NUL and its address until the context goes.
  return reinterpret_cast<const GLubyte*>(cached->second.c_str());
}
static GLint ZEMA_OpenGLES2_GetUniformLocation(PP_Resource c, GLuint program, const char* name) {
  auto request = pluginInstance->beginRequest();
  if (!sendGl(c, GlGetUniformLocation{.program = program, .nameLength = length(name)},
              {{name, length(name)}}))
    return -1;
  return static_cast<GLint>(readReplyValue());
}
static void ZEMA_OpenGLES2_LinkProgram(PP_Resource c, GLuint program) {
  sendGl(c, GlLinkProgram{.program = program});
}
static void ZEMA_OpenGLES2_PixelStorei(PP_Resource c, GLenum pname, GLint param) {
  sendGl(c, GlPixelStorei{.pname = pname, .param = param});
}
static void ZEMA_OpenGLES2_ShaderSource(PP_Resource c, GLuint shader, GLsizei count,
                                        const char** str, const GLint* lengths) {
  if (count < 0 || (count > 0 && str == nullptr)) return;
  // One piece per string: its given length, or up to its NUL where none is given.
  std::string joined;
  for (GLsizei i = 0; i < count; ++i) {
    if (str[i] == nullptr) continue;
    bool given = lengths != nullptr && lengths[i] >= 0;
    joined.append(str[i], given ? static_cast<size_t>(lengths[i]) : strlen(str[i]));
  }
  auto total = static_cast<uint32_t>(joined.size());
  sendGl(c, GlShaderSource{.shader = shader, .totalLength = total}, {{joined.data(), total}});
}
static void ZEMA_OpenGLES2_TexImage2D(PP_Resource c, GLenum target, GLint level,
                                      GLint internalformat, GLsizei width, GLsizei height, GLint,
                                      GLenum format, GLenum type, const void* pixels) {
  // Every pixel counts 4 bytes, whatever format and type say; none without pixels.
  uint64_t bytes = 0;
  if (pixels != nullptr && width > 0 && height > 0)
    bytes = uint64_t{static_cast<uint32_t>(width)} * static_cast<uint32_t>(height) * 4;
  if (bytes > INT32_MAX) return;
  auto count = static_cast<uint32_t>(bytes);
  sendGl(c,
         GlTexImage2D{.target = target,
                      .level = level,
                      .internalFormat = internalformat,
                      .width = width,
                      .height = height,
                      .format = format,
                      .type = type,
                      .byteCount = count},
         {{pixels, count}});
}
static void ZEMA_OpenGLES2_TexParameteri(PP_Resource c, GLenum target, GLenum pname, GLint param) {
  sendGl(c, GlTexParameteri{.target = target, .pname = pname, .param = param});
}
static void ZEMA_OpenGLES2_Uniform1i(PP_Resource c, GLint location, GLint x) {
  sendGl(c, GlUniform1i{.location = location, .x = x});
}
static void ZEMA_OpenGLES2_Uniform2f(PP_Resource c, GLint location, GLfloat x, GLfloat y) {
  sendGl(c, GlUniform2f{.location = location, .x = x, .y = y});
}
static void ZEMA_OpenGLES2_UseProgram(PP_Resource c, GLuint program) {
  sendGl(c, GlUseProgram{.program = program});
}
static void ZEMA_OpenGLES2_VertexAttribPointer(PP_Resource c, GLuint index, GLint size, GLenum type,
                                               GLboolean normalized, GLsizei stride,
                                               const void* ptr) {
  // Only the pointer's value goes: an offset into the bound buffer.
  sendGl(c,
         GlVertexAttribPointer{.index = index,
                               .size = size,
                               .type = type,
                               .normalized = normalized,
                               .stride = stride,
                               .pointer = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(ptr))});
}
static void ZEMA_OpenGLES2_Viewport(PP_Resource c, GLint x, GLint y, GLsizei width,
                                    GLsizei height) {
  sendGl(c, GlViewport{.x = x, .y = y, .width = width, .height = height});
}

using Iface = PPB_OpenGLES2_1_0;

// Not offered; -1 is GL's "no such attribute" (0 would name a real location).
static GLint ZEMA_OpenGLES2_GetAttribLocation(PP_Resource, GLuint, const char*) {
  return -1;
}

const PPB_OpenGLES2_1_0 ppbOpenGLES2 = {
    ZEMA_OpenGLES2_ActiveTexture,
    ZEMA_OpenGLES2_AttachShader,
    ZEMA_OpenGLES2_BindAttribLocation,
    ZEMA_OpenGLES2_BindBuffer,
    /* ZEMA_OpenGLES2_BindFramebuffer */ NotImplemented<decltype(Iface::BindFramebuffer)>::entry,
    /* ZEMA_OpenGLES2_BindRenderbuffer */ NotImplemented<decltype(Iface::BindRenderbuffer)>::entry,
    ZEMA_OpenGLES2_BindTexture,
    /* ZEMA_OpenGLES2_BlendColor */ NotImplemented<decltype(Iface::BlendColor)>::entry,
    /* ZEMA_OpenGLES2_BlendEquation */ NotImplemented<decltype(Iface::BlendEquation)>::entry,
    /* ZEMA_OpenGLES2_BlendEquationSeparate */
    NotImplemented<decltype(Iface::BlendEquationSeparate)>::entry,
    ZEMA_OpenGLES2_BlendFunc,
    /* ZEMA_OpenGLES2_BlendFuncSeparate */
    NotImplemented<decltype(Iface::BlendFuncSeparate)>::entry,
    ZEMA_OpenGLES2_BufferData,
    /* ZEMA_OpenGLES2_BufferSubData */ NotImplemented<decltype(Iface::BufferSubData)>::entry,
    /* ZEMA_OpenGLES2_CheckFramebufferStatus */
    NotImplemented<decltype(Iface::CheckFramebufferStatus)>::entry,
    /* ZEMA_OpenGLES2_Clear */ NotImplemented<decltype(Iface::Clear)>::entry,
    ZEMA_OpenGLES2_ClearColor,
    /* ZEMA_OpenGLES2_ClearDepthf */ NotImplemented<decltype(Iface::ClearDepthf)>::entry,
    /* ZEMA_OpenGLES2_ClearStencil */ NotImplemented<decltype(Iface::ClearStencil)>::entry,
    ZEMA_OpenGLES2_ColorMask,
    ZEMA_OpenGLES2_CompileShader,
    /* ZEMA_OpenGLES2_CompressedTexImage2D */
    NotImplemented<decltype(Iface::CompressedTexImage2D)>::entry,
    /* ZEMA_OpenGLES2_CompressedTexSubImage2D */
    NotImplemented<decltype(Iface::CompressedTexSubImage2D)>::entry,
    /* ZEMA_OpenGLES2_CopyTexImage2D */ NotImplemented<decltype(Iface::CopyTexImage2D)>::entry,
    /* ZEMA_OpenGLES2_CopyTexSubImage2D */
    NotImplemented<decltype(Iface::CopyTexSubImage2D)>::entry,
    ZEMA_OpenGLES2_CreateProgram,
    ZEMA_OpenGLES2_CreateShader,
    /* ZEMA_OpenGLES2_CullFace */ NotImplemented<decltype(Iface::CullFace)>::entry,
    /* ZEMA_OpenGLES2_DeleteBuffers */ NotImplemented<decltype(Iface::DeleteBuffers)>::entry,
    /* ZEMA_OpenGLES2_DeleteFramebuffers */
    NotImplemented<decltype(Iface::DeleteFramebuffers)>::entry,
    /* ZEMA_OpenGLES2_DeleteProgram */ NotImplemented<decltype(Iface::DeleteProgram)>::entry,
    /* ZEMA_OpenGLES2_DeleteRenderbuffers */
    NotImplemented<decltype(Iface::DeleteRenderbuffers)>::entry,
    ZEMA_OpenGLES2_DeleteShader,
    /* ZEMA_OpenGLES2_DeleteTextures */ NotImplemented<decltype(Iface::DeleteTextures)>::entry,
    /* ZEMA_OpenGLES2_DepthFunc */ NotImplemented<decltype(Iface::DepthFunc)>::entry,
    /* ZEMA_OpenGLES2_DepthMask */ NotImplemented<decltype(Iface::DepthMask)>::entry,
    /* ZEMA_OpenGLES2_DepthRangef */ NotImplemented<decltype(Iface::DepthRangef)>::entry,
    /* ZEMA_OpenGLES2_DetachShader */ NotImplemented<decltype(Iface::DetachShader)>::entry,
    ZEMA_OpenGLES2_Disable,
    /* ZEMA_OpenGLES2_DisableVertexAttribArray */
    NotImplemented<decltype(Iface::DisableVertexAttribArray)>::entry,
    ZEMA_OpenGLES2_DrawArrays,
    /* ZEMA_OpenGLES2_DrawElements */ NotImplemented<decltype(Iface::DrawElements)>::entry,
    ZEMA_OpenGLES2_Enable,
    ZEMA_OpenGLES2_EnableVertexAttribArray,
    /* ZEMA_OpenGLES2_Finish */ NotImplemented<decltype(Iface::Finish)>::entry,
    ZEMA_OpenGLES2_Flush,
    /* ZEMA_OpenGLES2_FramebufferRenderbuffer */
    NotImplemented<decltype(Iface::FramebufferRenderbuffer)>::entry,
    /* ZEMA_OpenGLES2_FramebufferTexture2D */
    NotImplemented<decltype(Iface::FramebufferTexture2D)>::entry,
    /* ZEMA_OpenGLES2_FrontFace */ NotImplemented<decltype(Iface::FrontFace)>::entry,
    ZEMA_OpenGLES2_GenBuffers,
    /* ZEMA_OpenGLES2_GenerateMipmap */ NotImplemented<decltype(Iface::GenerateMipmap)>::entry,
    /* ZEMA_OpenGLES2_GenFramebuffers */ NotImplemented<decltype(Iface::GenFramebuffers)>::entry,
    /* ZEMA_OpenGLES2_GenRenderbuffers */ NotImplemented<decltype(Iface::GenRenderbuffers)>::entry,
    ZEMA_OpenGLES2_GenTextures,
    /* ZEMA_OpenGLES2_GetActiveAttrib */ NotImplemented<decltype(Iface::GetActiveAttrib)>::entry,
    /* ZEMA_OpenGLES2_GetActiveUniform */ NotImplemented<decltype(Iface::GetActiveUniform)>::entry,
    /* ZEMA_OpenGLES2_GetAttachedShaders */
    NotImplemented<decltype(Iface::GetAttachedShaders)>::entry,
    ZEMA_OpenGLES2_GetAttribLocation,
    /* ZEMA_OpenGLES2_GetBooleanv */ NotImplemented<decltype(Iface::GetBooleanv)>::entry,
    /* ZEMA_OpenGLES2_GetBufferParameteriv */
    NotImplemented<decltype(Iface::GetBufferParameteriv)>::entry,
    /* ZEMA_OpenGLES2_GetError */ NotImplemented<decltype(Iface::GetError)>::entry,
    /* ZEMA_OpenGLES2_GetFloatv */ NotImplemented<decltype(Iface::GetFloatv)>::entry,
    /* ZEMA_OpenGLES2_GetFramebufferAttachmentParameteriv */
    NotImplemented<decltype(Iface::GetFramebufferAttachmentParameteriv)>::entry,
    ZEMA_OpenGLES2_GetIntegerv,
    ZEMA_OpenGLES2_GetProgramiv,
    /* ZEMA_OpenGLES2_GetProgramInfoLog */
    NotImplemented<decltype(Iface::GetProgramInfoLog)>::entry,
    /* ZEMA_OpenGLES2_GetRenderbufferParameteriv */
    NotImplemented<decltype(Iface::GetRenderbufferParameteriv)>::entry,
    ZEMA_OpenGLES2_GetShaderiv,
    /* ZEMA_OpenGLES2_GetShaderInfoLog */ NotImplemented<decltype(Iface::GetShaderInfoLog)>::entry,
    /* ZEMA_OpenGLES2_GetShaderPrecisionFormat */
    NotImplemented<decltype(Iface::GetShaderPrecisionFormat)>::entry,
    /* ZEMA_OpenGLES2_GetShaderSource */ NotImplemented<decltype(Iface::GetShaderSource)>::entry,
    ZEMA_OpenGLES2_GetString,
    /* ZEMA_OpenGLES2_GetTexParameterfv */
    NotImplemented<decltype(Iface::GetTexParameterfv)>::entry,
    /* ZEMA_OpenGLES2_GetTexParameteriv */
    NotImplemented<decltype(Iface::GetTexParameteriv)>::entry,
    /* ZEMA_OpenGLES2_GetUniformfv */ NotImplemented<decltype(Iface::GetUniformfv)>::entry,
    /* ZEMA_OpenGLES2_GetUniformiv */ NotImplemented<decltype(Iface::GetUniformiv)>::entry,
    ZEMA_OpenGLES2_GetUniformLocation,
    /* ZEMA_OpenGLES2_GetVertexAttribfv */
    NotImplemented<decltype(Iface::GetVertexAttribfv)>::entry,
    /* ZEMA_OpenGLES2_GetVertexAttribiv */
    NotImplemented<decltype(Iface::GetVertexAttribiv)>::entry,
    /* ZEMA_OpenGLES2_GetVertexAttribPointerv */
    NotImplemented<decltype(Iface::GetVertexAttribPointerv)>::entry,
    /* ZEMA_OpenGLES2_Hint */ NotImplemented<decltype(Iface::Hint)>::entry,
    /* ZEMA_OpenGLES2_IsBuffer */ NotImplemented<decltype(Iface::IsBuffer)>::entry,
    /* ZEMA_OpenGLES2_IsEnabled */ NotImplemented<decltype(Iface::IsEnabled)>::entry,
    /* ZEMA_OpenGLES2_IsFramebuffer */ NotImplemented<decltype(Iface::IsFramebuffer)>::entry,
    /* ZEMA_OpenGLES2_IsProgram */ NotImplemented<decltype(Iface::IsProgram)>::entry,
    /* ZEMA_OpenGLES2_IsRenderbuffer */ NotImplemented<decltype(Iface::IsRenderbuffer)>::entry,
    /* ZEMA_OpenGLES2_IsShader */ NotImplemented<decltype(Iface::IsShader)>::entry,
    /* ZEMA_OpenGLES2_IsTexture */ NotImplemented<decltype(Iface::IsTexture)>::entry,
    /* ZEMA_OpenGLES2_LineWidth */ NotImplemented<decltype(Iface::LineWidth)>::entry,
    ZEMA_OpenGLES2_LinkProgram,
    ZEMA_OpenGLES2_PixelStorei,
    /* ZEMA_OpenGLES2_PolygonOffset */ NotImplemented<decltype(Iface::PolygonOffset)>::entry,
    /* ZEMA_OpenGLES2_ReadPixels */ NotImplemented<decltype(Iface::ReadPixels)>::entry,
    /* ZEMA_OpenGLES2_ReleaseShaderCompiler */
    NotImplemented<decltype(Iface::ReleaseShaderCompiler)>::entry,
    /* ZEMA_OpenGLES2_RenderbufferStorage */
    NotImplemented<decltype(Iface::RenderbufferStorage)>::entry,
    /* ZEMA_OpenGLES2_SampleCoverage */ NotImplemented<decltype(Iface::SampleCoverage)>::entry,
    /* ZEMA_OpenGLES2_Scissor */ NotImplemented<decltype(Iface::Scissor)>::entry,
    /* ZEMA_OpenGLES2_ShaderBinary */ NotImplemented<decltype(Iface::ShaderBinary)>::entry,
    ZEMA_OpenGLES2_ShaderSource,
    /* ZEMA_OpenGLES2_StencilFunc */ NotImplemented<decltype(Iface::StencilFunc)>::entry,
    /* ZEMA_OpenGLES2_StencilFuncSeparate */
    NotImplemented<decltype(Iface::StencilFuncSeparate)>::entry,
    /* ZEMA_OpenGLES2_StencilMask */ NotImplemented<decltype(Iface::StencilMask)>::entry,
    /* ZEMA_OpenGLES2_StencilMaskSeparate */
    NotImplemented<decltype(Iface::StencilMaskSeparate)>::entry,
    /* ZEMA_OpenGLES2_StencilOp */ NotImplemented<decltype(Iface::StencilOp)>::entry,
    /* ZEMA_OpenGLES2_StencilOpSeparate */
    NotImplemented<decltype(Iface::StencilOpSeparate)>::entry,
    ZEMA_OpenGLES2_TexImage2D,
    /* ZEMA_OpenGLES2_TexParameterf */ NotImplemented<decltype(Iface::TexParameterf)>::entry,
    /* ZEMA_OpenGLES2_TexParameterfv */ NotImplemented<decltype(Iface::TexParameterfv)>::entry,
    ZEMA_OpenGLES2_TexParameteri,
    /* ZEMA_OpenGLES2_TexParameteriv */ NotImplemented<decltype(Iface::TexParameteriv)>::entry,
    /* ZEMA_OpenGLES2_TexSubImage2D */ NotImplemented<decltype(Iface::TexSubImage2D)>::entry,
    /* ZEMA_OpenGLES2_Uniform1f */ NotImplemented<decltype(Iface::Uniform1f)>::entry,
    /* ZEMA_OpenGLES2_Uniform1fv */ NotImplemented<decltype(Iface::Uniform1fv)>::entry,
    ZEMA_OpenGLES2_Uniform1i,
    /* ZEMA_OpenGLES2_Uniform1iv */ NotImplemented<decltype(Iface::Uniform1iv)>::entry,
    ZEMA_OpenGLES2_Uniform2f,
    /* ZEMA_OpenGLES2_Uniform2fv */ NotImplemented<decltype(Iface::Uniform2fv)>::entry,
    /* ZEMA_OpenGLES2_Uniform2i */ NotImplemented<decltype(Iface::Uniform2i)>::entry,
    /* ZEMA_OpenGLES2_Uniform2iv */ NotImplemented<decltype(Iface::Uniform2iv)>::entry,
    /* ZEMA_OpenGLES2_Uniform3f */ NotImplemented<decltype(Iface::Uniform3f)>::entry,
    /* ZEMA_OpenGLES2_Uniform3fv */ NotImplemented<decltype(Iface::Uniform3fv)>::entry,
    /* ZEMA_OpenGLES2_Uniform3i */ NotImplemented<decltype(Iface::Uniform3i)>::entry,
    /* ZEMA_OpenGLES2_Uniform3iv */ NotImplemented<decltype(Iface::Uniform3iv)>::entry,
    /* ZEMA_OpenGLES2_Uniform4f */ NotImplemented<decltype(Iface::Uniform4f)>::entry,
    /* ZEMA_OpenGLES2_Uniform4fv */ NotImplemented<decltype(Iface::Uniform4fv)>::entry,
    /* ZEMA_OpenGLES2_Uniform4i */ NotImplemented<decltype(Iface::Uniform4i)>::entry,
    /* ZEMA_OpenGLES2_Uniform4iv */ NotImplemented<decltype(Iface::Uniform4iv)>::entry,
    /* ZEMA_OpenGLES2_UniformMatrix2fv */ NotImplemented<decltype(Iface::UniformMatrix2fv)>::entry,
    /* ZEMA_OpenGLES2_UniformMatrix3fv */ NotImplemented<decltype(Iface::UniformMatrix3fv)>::entry,
    /* ZEMA_OpenGLES2_UniformMatrix4fv */ NotImplemented<decltype(Iface::UniformMatrix4fv)>::entry,
    ZEMA_OpenGLES2_UseProgram,
    /* ZEMA_OpenGLES2_ValidateProgram */ NotImplemented<decltype(Iface::ValidateProgram)>::entry,
    /* ZEMA_OpenGLES2_VertexAttrib1f */ NotImplemented<decltype(Iface::VertexAttrib1f)>::entry,
    /* ZEMA_OpenGLES2_VertexAttrib1fv */ NotImplemented<decltype(Iface::VertexAttrib1fv)>::entry,
    /* ZEMA_OpenGLES2_VertexAttrib2f */ NotImplemented<decltype(Iface::VertexAttrib2f)>::entry,
    /* ZEMA_OpenGLES2_VertexAttrib2fv */ NotImplemented<decltype(Iface::VertexAttrib2fv)>::entry,
    /* ZEMA_OpenGLES2_VertexAttrib3f */ NotImplemented<decltype(Iface::VertexAttrib3f)>::entry,
    /* ZEMA_OpenGLES2_VertexAttrib3fv */ NotImplemented<decltype(Iface::VertexAttrib3fv)>::entry,
    /* ZEMA_OpenGLES2_VertexAttrib4f */ NotImplemented<decltype(Iface::VertexAttrib4f)>::entry,
    /* ZEMA_OpenGLES2_VertexAttrib4fv */ NotImplemented<decltype(Iface::VertexAttrib4fv)>::entry,
    ZEMA_OpenGLES2_VertexAttribPointer,
    ZEMA_OpenGLES2_Viewport,
};

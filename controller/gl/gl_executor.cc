// Executes the plug-in's GL on real GLES2 contexts: one overload per message.
#include "controller/gl/gl_executor.h"

#include <GLES2/gl2.h>
#include <GLES2/gl2ext.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "controller/gl/gl_pixels.h"

namespace zema::controller::gl {

using namespace zema::protocol;

namespace {

// The attribute arrays GL may read while drawing, as the plug-in set them.
struct Attribute {
  bool enabled = false;
  GLuint buffer = 0;  // 0: never pointed into a buffer
  uint32_t vertexBytes = 0;
  uint32_t stride = 0;
  uint32_t offset = 0;
};

// A framebuffer is at most this many pixels (256 MiB of colour), and a plug-in has at
// most this many contexts at once.
constexpr uint64_t kMaxFramebufferPixels = uint64_t{8192} * 8192;
constexpr size_t kMaxContexts = 64;

bool framebufferFits(int32_t width, int32_t height, int32_t limit) {
  return width >= 0 && height >= 0 && width <= limit && height <= limit &&
         uint64_t{static_cast<uint32_t>(width)} * static_cast<uint32_t>(height) <=
             kMaxFramebufferPixels;
}

}  // namespace

struct GlExecutor::Context {
  std::unique_ptr<RenderTarget> target;
  Picture picture;
  bool swapped = false;
  GLuint arrayBuffer = 0;                  // bound to GL_ARRAY_BUFFER
  GLuint elementBuffer = 0;                // bound to GL_ELEMENT_ARRAY_BUFFER
  std::map<GLuint, uint64_t> bufferBytes;  // each buffer's data size
  std::vector<Attribute> attributes;       // GL_MAX_VERTEX_ATTRIBS of them
  int32_t unpackAlignment = 4;
};

// One message being executed.
struct GlExecutor::Run {
  GlExecutor& gl;
  HostChannel& channel;
  const HostMessage& message;
  Context* context = nullptr;
  bool refusedHere = false;

  void log(const std::string& line) {
    if (gl.logged_ >= kLogLimit) return;
    if (++gl.logged_ == kLogLimit) {
      emit(line + " (further GL problems are only counted)");
      return;
    }
    emit(line);
  }
  void emit(const std::string& line) {
    if (gl.options_.log)
      gl.options_.log(line);
    else
      fprintf(stderr, "gl: %s\n", line.c_str());
  }
  // Refuses the message: logged and counted; a request is answered neutrally so that
  // the host's reading stays in step.
  void refuse(const std::string& why) {
    refusedHere = true;
    ++gl.refused_;
    log(messageName(message.code) + " refused: " + why);
    channel.replyNeutral(message.code);
  }
  void drainErrors(bool logEach) {
    for (int i = 0; i < 32; ++i) {
      GLenum e = glGetError();
      if (e == GL_NO_ERROR) return;
      ++gl.glErrors_;
      if (logEach) {
        char text[96];
        snprintf(text, sizeof(text), "GL error 0x%04x after %s", e,
                 messageName(message.code).c_str());
        log(text);
      }
    }
  }

  // The context a GL command names, made current; null (the command refused) when
  // there is none.
  template <class T>
  Context* enter(const T& m) {
    auto found = gl.contexts_.find(m.context);
    if (found == gl.contexts_.end()) {
      refuse("no 3D context " + std::to_string(m.context));
      return nullptr;
    }
    if (!found->second->target->makeCurrent()) {
      refuse("context " + std::to_string(m.context) + " cannot be made current");
      return nullptr;
    }
    return context = found->second.get();
  }

  const char* trailingBytes() const {
    return reinterpret_cast<const char*>(message.trailing.data());
  }
  std::string trailingName() const { return message.trailingText(); }

  // ---- contexts and frames ----

  void operator()(const CreateContext3D& m) {
    if (gl.contexts_.count(m.context) != 0) {
      refuse("context " + std::to_string(m.context) + " exists already");
      return;
    }
    if (gl.contexts_.size() >= kMaxContexts) {
      refuse("more than " + std::to_string(kMaxContexts) + " contexts at once");
      return;
    }
    int32_t width = m.width, height = m.height;
    if (!framebufferFits(width, height, 16384)) {
      refuse("size " + std::to_string(width) + "x" + std::to_string(height) +
             "; the context starts empty");
      width = height = 0;
    }
    std::string error;
    auto target = RenderTarget::create(*gl.display_, width, height, m.depthSize > 0,
                                       m.stencilSize > 0, &error);
    if (!target) {
      refuse("context " + std::to_string(m.context) + ": " + error);
      return;
    }
    if (target->width() != width || target->height() != height)
      log("context " + std::to_string(m.context) + " is larger than GL allows; it starts empty");
    auto c = std::make_unique<Context>();
    GLint attributes = 0;
    glGetIntegerv(GL_MAX_VERTEX_ATTRIBS, &attributes);
    c->attributes.resize(static_cast<size_t>(std::clamp(attributes, 0, 64)));
    c->target = std::move(target);
    drainErrors(true);  // the set-up's own; none are expected
    gl.contexts_[m.context] = std::move(c);
  }

  void operator()(const ResizeBuffers& m) {
    if (!enter(m)) return;
    int32_t limit = context->target->maxSize();
    if (!framebufferFits(m.width, m.height, limit)) {
      refuse("size " + std::to_string(m.width) + "x" + std::to_string(m.height) + " (at most " +
             std::to_string(limit) + " each way, " + std::to_string(kMaxFramebufferPixels) +
             " pixels)");
      return;
    }
    if (!context->target->resize(m.width, m.height))
      log("context " + std::to_string(m.context) + ": framebuffer incomplete after resize");
  }

  void operator()(const DestroyContext3D& m) {
    auto found = gl.contexts_.find(m.context);
    if (found == gl.contexts_.end()) {
      refuse("no 3D context " + std::to_string(m.context));
      return;
    }
    gl.contexts_.erase(found);
  }

  void operator()(const SwapBuffers& m) {
    // The plug-in waits for this swap's completion whatever happens to the frame.
    if (enter(m)) {
      drainErrors(gl.options_.checkEachCommand);
      context->target->finishFrame(&context->picture);
      context->swapped = true;
      ++gl.swaps_;
    }
    channel.send(SwapBuffersDone{.callbackNumber = m.callbackNumber});
  }

  // ---- texture uploads ----

  // The pixels of an upload of `announced` bytes: GL reads uploadBytes(...) of them, by
  // format, type and unpack alignment. Null (refused) when the upload is not sound; the
  // bytes GL needs beyond what the wire brought are zeros.
  const void* uploadPixels(uint32_t format, uint32_t type, int32_t width, int32_t height,
                           uint64_t announced, std::vector<uint8_t>* padded, bool* ok) {
    *ok = false;
    if (width < 0 || height < 0) {
      refuse("negative size " + std::to_string(width) + "x" + std::to_string(height));
      return nullptr;
    }
    uint64_t wire = uint64_t{static_cast<uint32_t>(width)} * static_cast<uint32_t>(height) * 4;
    if (announced > wire) {
      refuse(std::to_string(announced) + " bytes for " + std::to_string(width) + "x" +
             std::to_string(height) + " pixels (at most " + std::to_string(wire) + ")");
      return nullptr;
    }
    // A combination not known here (none of GLES2's) might make GL read or allocate
    // more than was sent.
    if (bytesPerPixel(format, type) == 0) {
      char text[80];
      snprintf(text, sizeof(text), "format 0x%04x with type 0x%04x", format, type);
      refuse(text);
      return nullptr;
    }
    uint64_t needed = uploadBytes(format, type, width, height, context->unpackAlignment);
    if (std::max(needed, wire) > kMaxUpload) {
      refuse(std::to_string(needed) + " bytes of texture (at most " + std::to_string(kMaxUpload) +
             ")");
      return nullptr;
    }
    *ok = true;
    if (announced == 0) return nullptr;  // no pixels: the texture's contents are undefined
    if (needed <= announced) return message.trailing.data();
    padded->assign(message.trailing.begin(), message.trailing.end());
    padded->resize(needed, 0);
    return padded->data();
  }

  void operator()(const GlTexImage2D& m) {
    if (!enter(m)) return;
    std::vector<uint8_t> padded;
    bool ok = false;
    const void* pixels =
        uploadPixels(m.format, m.type, m.width, m.height, m.byteCount, &padded, &ok);
    if (ok)
      glTexImage2D(m.target, m.level, m.internalFormat, m.width, m.height, 0, m.format, m.type,
                   pixels);
  }

  void operator()(const GlTexSubImage2D& m) {
    if (!enter(m)) return;
    std::vector<uint8_t> padded;
    bool ok = false;
    const void* pixels =
        uploadPixels(m.format, m.type, m.width, m.height, m.byteCount, &padded, &ok);
    if (!ok) return;
    if (pixels == nullptr && m.width > 0 && m.height > 0) {
      refuse("no pixels");  // GL would read from address 0
      return;
    }
    glTexSubImage2D(m.target, m.level, m.xOffset, m.yOffset, m.width, m.height, m.format, m.type,
                    pixels);
  }

  void operator()(const GlPixelStorei& m) {
    if (!enter(m)) return;
    // Only GLES2's two alignments: a newer GL's row lengths and skips would make it read
    // past the pixels that came.
    if (m.pname != GL_UNPACK_ALIGNMENT && m.pname != GL_PACK_ALIGNMENT) {
      refuse("pname " + std::to_string(m.pname) + " is not a GLES2 pixel store");
      return;
    }
    glPixelStorei(m.pname, m.param);
    if (m.pname == GL_UNPACK_ALIGNMENT &&
        (m.param == 1 || m.param == 2 || m.param == 4 || m.param == 8))
      context->unpackAlignment = m.param;
  }

  // ---- buffers and vertex arrays ----

  void operator()(const GlBindBuffer& m) {
    if (!enter(m)) return;
    // GLES2's two targets; a newer GL's pixel buffers would turn pointers into offsets.
    if (m.target != GL_ARRAY_BUFFER && m.target != GL_ELEMENT_ARRAY_BUFFER) {
      refuse("target " + std::to_string(m.target) + " is not a GLES2 buffer target");
      return;
    }
    glBindBuffer(m.target, m.buffer);
    (m.target == GL_ARRAY_BUFFER ? context->arrayBuffer : context->elementBuffer) = m.buffer;
  }

  void operator()(const GlBufferData& m) {
    if (!enter(m)) return;
    if (m.size > kMaxUpload) {
      refuse(std::to_string(m.size) + " bytes of buffer data");
      return;
    }
    glBufferData(m.target, m.size, message.trailing.data(), m.usage);
    // Whichever target the data went through, the buffer's size is what a draw checks;
    // when GL took none, the buffer keeps its size.
    GLuint bound = m.target == GL_ARRAY_BUFFER           ? context->arrayBuffer
                   : m.target == GL_ELEMENT_ARRAY_BUFFER ? context->elementBuffer
                                                         : 0;
    if (bound == 0) return;
    uint64_t before = gl.glErrors_;
    drainErrors(true);
    if (gl.glErrors_ == before) context->bufferBytes[bound] = m.size;
  }

  void operator()(const GlVertexAttribPointer& m) {
    if (!enter(m)) return;
    if (m.index >= context->attributes.size()) {
      refuse("attribute " + std::to_string(m.index));
      return;
    }
    uint32_t vertexBytes = attributeBytes(m.type, m.size);
    if (vertexBytes == 0 || m.stride < 0) {
      refuse("size " + std::to_string(m.size) + ", type " + std::to_string(m.type) + ", stride " +
             std::to_string(m.stride));
      return;
    }
    // No vertex data travels: without a bound buffer the pointer would be an address
    // in this process.
    if (context->arrayBuffer == 0) {
      refuse("no array buffer bound (client-side arrays are not carried)");
      return;
    }
    glVertexAttribPointer(m.index, m.size, m.type, m.normalized ? GL_TRUE : GL_FALSE, m.stride,
                          reinterpret_cast<const void*>(uintptr_t{m.pointer}));
    context->attributes[m.index] = {context->attributes[m.index].enabled, context->arrayBuffer,
                                    vertexBytes, static_cast<uint32_t>(m.stride), m.pointer};
  }

  void operator()(const GlEnableVertexAttribArray& m) {
    if (!enter(m)) return;
    glEnableVertexAttribArray(m.index);
    if (m.index < context->attributes.size()) context->attributes[m.index].enabled = true;
  }

  void operator()(const GlDrawArrays& m) {
    if (!enter(m)) return;
    if (m.first < 0 || m.count < 0) {
      refuse("first " + std::to_string(m.first) + ", count " + std::to_string(m.count));
      return;
    }
    if (m.count > 0) {
      // Every enabled array must hold the vertices drawn: GL need not check.
      uint64_t last = uint64_t{static_cast<uint32_t>(m.first)} + static_cast<uint32_t>(m.count) - 1;
      for (size_t i = 0; i < context->attributes.size(); ++i) {
        const Attribute& a = context->attributes[i];
        if (!a.enabled) continue;
        uint64_t stride = a.stride != 0 ? a.stride : a.vertexBytes;
        uint64_t end = a.offset + last * stride + a.vertexBytes;
        auto held = context->bufferBytes.find(a.buffer);
        uint64_t have = held != context->bufferBytes.end() ? held->second : 0;
        if (a.buffer == 0 || end > have) {
          refuse("attribute " + std::to_string(i) + " would read " + std::to_string(end) +
                 " bytes of a buffer of " + std::to_string(have));
          return;
        }
      }
    }
    context->target->beginDrawing();
    glDrawArrays(m.mode, m.first, m.count);
  }

  // ---- shaders and programs ----

  void operator()(const GlCreateShader& m) {
    if (!enter(m)) return;
    channel.replyValue(glCreateShader(m.type));
  }
  void operator()(const GlShaderSource& m) {
    if (!enter(m)) return;
    const char* text = message.trailing.empty() ? "" : trailingBytes();
    auto length = static_cast<GLint>(message.trailing.size());
    glShaderSource(m.shader, 1, &text, &length);
  }
  void operator()(const GlCompileShader& m) {
    if (enter(m)) glCompileShader(m.shader);
  }
  void operator()(const GlGetShaderiv& m) {
    if (!enter(m)) return;
    GLint values[4] = {0, 0, 0, 0};
    glGetShaderiv(m.shader, m.pname, values);
    channel.replyValue(static_cast<uint32_t>(values[0]));
  }
  void operator()(const GlDeleteShader& m) {
    if (enter(m)) glDeleteShader(m.shader);
  }
  void operator()(const GlCreateProgram& m) {
    if (!enter(m)) return;
    channel.replyValue(glCreateProgram());
  }
  void operator()(const GlAttachShader& m) {
    if (enter(m)) glAttachShader(m.program, m.shader);
  }
  void operator()(const GlBindAttribLocation& m) {
    if (enter(m)) glBindAttribLocation(m.program, m.index, trailingName().c_str());
  }
  void operator()(const GlLinkProgram& m) {
    if (enter(m)) glLinkProgram(m.program);
  }
  void operator()(const GlGetProgramiv& m) {
    if (!enter(m)) return;
    GLint values[4] = {0, 0, 0, 0};
    glGetProgramiv(m.program, m.pname, values);
    channel.replyValue(static_cast<uint32_t>(values[0]));
  }
  void operator()(const GlUseProgram& m) {
    if (enter(m)) glUseProgram(m.program);
  }
  void operator()(const GlGetUniformLocation& m) {
    if (!enter(m)) return;
    channel.replyValue(
        static_cast<uint32_t>(glGetUniformLocation(m.program, trailingName().c_str())));
  }
  void operator()(const GlUniform1i& m) {
    if (enter(m)) glUniform1i(m.location, m.x);
  }
  void operator()(const GlUniform2f& m) {
    if (enter(m)) glUniform2f(m.location, m.x, m.y);
  }

  // ---- names and queries ----

  void generated(int32_t n, void (*generate)(GLsizei, GLuint*)) {
    if (n < 0 || n > 65536) {
      refuse(std::to_string(n) + " names");
      return;
    }
    std::vector<GLuint> names(static_cast<size_t>(n));
    if (n > 0) generate(n, names.data());
    channel.replyData({reinterpret_cast<const uint8_t*>(names.data()), names.size() * 4});
  }
  void operator()(const GlGenBuffers& m) {
    if (enter(m)) generated(m.n, glGenBuffers);
  }
  void operator()(const GlGenTextures& m) {
    if (enter(m)) generated(m.n, glGenTextures);
  }

  void operator()(const GlGetIntegerv& m) {
    if (!enter(m)) return;
    size_t count = 1;
    switch (m.pname) {
      case GL_VIEWPORT:
      case GL_SCISSOR_BOX:
      case GL_COLOR_CLEAR_VALUE:
      case GL_COLOR_WRITEMASK:
      case GL_BLEND_COLOR:
        count = 4;
        break;
      case GL_DEPTH_RANGE:
      case GL_MAX_VIEWPORT_DIMS:
      case GL_ALIASED_POINT_SIZE_RANGE:
      case GL_ALIASED_LINE_WIDTH_RANGE:
        count = 2;
        break;
      case GL_COMPRESSED_TEXTURE_FORMATS:
      case GL_SHADER_BINARY_FORMATS:
      case 0x87FF: {  // GL_PROGRAM_BINARY_FORMATS of a newer GL
        GLint n = 0;
        glGetIntegerv(m.pname == GL_COMPRESSED_TEXTURE_FORMATS ? GL_NUM_COMPRESSED_TEXTURE_FORMATS
                      : m.pname == GL_SHADER_BINARY_FORMATS    ? GL_NUM_SHADER_BINARY_FORMATS
                                                               : 0x87FE,
                      &n);
        count = static_cast<size_t>(std::max(n, 1));  // GL's own count: it writes that many
        break;
      }
      default:
        break;
    }
    // Room beyond the count: a newer GL may know pnames of more values.
    std::vector<GLint> values(count + 64, 0);
    glGetIntegerv(m.pname, values.data());
    channel.replyData({reinterpret_cast<const uint8_t*>(values.data()), count * 4});
  }

  void operator()(const GlGetString& m) {
    if (!enter(m)) return;
    const GLubyte* text = glGetString(m.name);
    channel.replyString(text != nullptr ? reinterpret_cast<const char*>(text) : "");
  }

  // ---- state ----

  void operator()(const GlActiveTexture& m) {
    if (enter(m)) glActiveTexture(m.texture);
  }
  void operator()(const GlBindTexture& m) {
    if (enter(m)) glBindTexture(m.target, m.texture);
  }
  void operator()(const GlTexParameteri& m) {
    if (enter(m)) glTexParameteri(m.target, m.pname, m.param);
  }
  void operator()(const GlBlendFunc& m) {
    if (enter(m)) glBlendFunc(m.sfactor, m.dfactor);
  }
  void operator()(const GlClearColor& m) {
    if (enter(m)) glClearColor(m.red, m.green, m.blue, m.alpha);
  }
  void operator()(const GlColorMask& m) {
    if (enter(m)) glColorMask(m.red != 0, m.green != 0, m.blue != 0, m.alpha != 0);
  }
  void operator()(const GlEnable& m) {
    if (enter(m)) glEnable(m.cap);
  }
  void operator()(const GlDisable& m) {
    if (enter(m)) glDisable(m.cap);
  }
  void operator()(const GlViewport& m) {
    if (enter(m)) glViewport(m.x, m.y, m.width, m.height);
  }
  void operator()(const GlFlush& m) {
    if (enter(m)) glFlush();
  }

  // Anything else is not the executor's.
  template <class Other>
  void operator()(const Other&) {
    refuse("not a GL message");
  }
};

std::unique_ptr<GlExecutor> GlExecutor::create(Options options, std::string* error) {
  std::unique_ptr<GlExecutor> gl(new GlExecutor);
  gl->options_ = std::move(options);
  gl->display_ = EglDisplay::open(error);
  if (!gl->display_) return nullptr;
  // One context at once tells whether GLES2 contexts can be had, and what GL this is.
  auto probe = RenderTarget::create(*gl->display_, 1, 1, false, false, error);
  if (!probe) return nullptr;
  auto text = [](GLenum name) {
    const GLubyte* s = glGetString(name);
    return s != nullptr ? std::string(reinterpret_cast<const char*>(s)) : std::string("?");
  };
  gl->renderer_ = text(GL_RENDERER) + ", " + text(GL_VERSION);
  return gl;
}

GlExecutor::~GlExecutor() {
  contexts_.clear();  // before the display goes
}

bool GlExecutor::executes(uint32_t code) {
  switch (code) {
    case MSG_CREATE_CONTEXT_3D:
    case MSG_RESIZE_BUFFERS:
    case MSG_SWAP_BUFFERS:
    case MSG_DESTROY_CONTEXT_3D:
      return true;
    default: {
      const char* name = messageInfo(code).name;
      return name != nullptr && strncmp(name, "MSG_GL_", 7) == 0;
    }
  }
}

bool GlExecutor::execute(const HostMessage& message, HostChannel& channel) {
  Run run{*this, channel, message};
  if (message.fixed.size() != messageInfo(message.code).size || !executes(message.code)) {
    run.refuse("not a whole GL message");
    return false;
  }
  ++commands_;
  visit(message, run);
  if (options_.checkEachCommand && run.context != nullptr && message.code != MSG_SWAP_BUFFERS)
    run.drainErrors(true);
  return !run.refusedHere;
}

const Picture* GlExecutor::picture(uint32_t context) const {
  auto found = contexts_.find(context);
  return found != contexts_.end() && found->second->swapped ? &found->second->picture : nullptr;
}

bool GlExecutor::size(uint32_t context, int32_t* width, int32_t* height) const {
  auto found = contexts_.find(context);
  if (found == contexts_.end()) return false;
  *width = found->second->target->width();
  *height = found->second->target->height();
  return true;
}

std::string GlExecutor::describe() const {
  return "EGL " + display_->platform() + ", " + renderer_;
}

}  // namespace zema::controller::gl

// The demo's 3D scene at 1280x720: frames per second when the demo plug-in runs in the
// real host and its GL travels over the channel to the GL executor, against the same
// GL commands issued directly on the same kind of context (headless EGL, a framebuffer
// of the same size, each frame read back as the executor reads back a swap). The ratio
// is the cost of forwarding.
#include <GLES2/gl2.h>
// After GL's own header, which then provides the GL types.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "controller/gl/gl_executor.h"
#include "controller/host_channel.h"
#include "controller/host_process.h"
#include "examples/demo/scene_3d.h"

namespace {

using namespace zema::controller;
using zema::controller::gl::GlExecutor;

constexpr int32_t kWidth = 1280, kHeight = 720;

void Gl3DScene_Forwarded_1280x720(benchmark::State& state) {
  std::string error;
  static bool isolated = isolateNetwork(&error);  // the channel's address, privately
  if (!isolated) {
    state.SkipWithError(("needs root: " + error).c_str());
    return;
  }
  char runRoot[] = "/tmp/zema-bench-XXXXXX";
  if (mkdtemp(runRoot) == nullptr) {
    state.SkipWithError("mkdtemp");
    return;
  }
  HostOptions options;
  options.hostBinary = ZEMA_BENCH_HOST;
  options.pluginFile = ZEMA_BENCH_DEMO;
  options.fontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  options.runRoot = runRoot;
  options.name = "gl-bench";
  auto executor = GlExecutor::create({}, &error);
  if (!executor) {
    state.SkipWithError(("no GL: " + error).c_str());
    return;
  }
  {
    HostChannel channel;
    HostProcess host(options);
    if (!channel.listen() ||
        !host.start({"http://demo.zema.invalid/", "mode", "3d", "pace", "off"}) ||
        !channel.acceptBoth(HostChannel::kDefaultTimeout, [&] { return host.running(); })) {
      state.SkipWithError(
          ("the host did not start: " + channel.lastError() + host.error()).c_str());
      rmdir(runRoot);
      return;
    }
    channel.send(zema::protocol::ViewChanged{.width = kWidth, .height = kHeight, .deviceScale = 1});
    // Serves the host until one more frame has been swapped.
    auto nextFrame = [&]() {
      uint64_t swaps = executor->swaps();
      while (executor->swaps() == swaps) {
        auto m = channel.readMessage();
        if (!m) return false;
        if (GlExecutor::executes(m->code))
          executor->execute(*m, channel);
        else
          channel.replyNeutral(m->code);
      }
      return true;
    };
    for (int i = 0; i < 5; ++i) nextFrame();  // set-up and the first frames
    for (auto _ : state) {
      if (!nextFrame()) {
        state.SkipWithError(("the host stopped: " + channel.lastError()).c_str());
        break;
      }
    }
    state.counters["fps"] = benchmark::Counter(state.iterations(), benchmark::Counter::kIsRate);
    state.counters["glErrors"] = static_cast<double>(executor->glErrors() + executor->refused());
    int32_t width = 0, height = 0;
    executor->size(1, &width, &height);
    state.counters["pixels"] = static_cast<double>(width) * height;
  }
  rmdir(runRoot);
}
BENCHMARK(Gl3DScene_Forwarded_1280x720)->Unit(benchmark::kMillisecond)->UseRealTime();

// The scene's entries, straight onto the current GL context.
PPB_OpenGLES2_1_0 directGl() {
  PPB_OpenGLES2_1_0 t{};
  t.ActiveTexture = [](PP_Resource, GLenum x) { glActiveTexture(x); };
  t.AttachShader = [](PP_Resource, GLuint p, GLuint s) { glAttachShader(p, s); };
  t.BindAttribLocation = [](PP_Resource, GLuint p, GLuint i, const char* n) {
    glBindAttribLocation(p, i, n);
  };
  t.BindBuffer = [](PP_Resource, GLenum target, GLuint b) { glBindBuffer(target, b); };
  t.BindTexture = [](PP_Resource, GLenum target, GLuint x) { glBindTexture(target, x); };
  t.BlendFunc = [](PP_Resource, GLenum s, GLenum d) { glBlendFunc(s, d); };
  t.BufferData = [](PP_Resource, GLenum target, GLsizeiptr size, const void* data, GLenum usage) {
    glBufferData(target, size, data, usage);
  };
  t.ClearColor = [](PP_Resource, GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    glClearColor(r, g, b, a);
  };
  t.CompileShader = [](PP_Resource, GLuint s) { glCompileShader(s); };
  t.CreateProgram = [](PP_Resource) { return glCreateProgram(); };
  t.CreateShader = [](PP_Resource, GLenum type) { return glCreateShader(type); };
  t.DeleteShader = [](PP_Resource, GLuint s) { glDeleteShader(s); };
  t.DrawArrays = [](PP_Resource, GLenum mode, GLint first, GLsizei count) {
    glDrawArrays(mode, first, count);
  };
  t.Enable = [](PP_Resource, GLenum cap) { glEnable(cap); };
  t.EnableVertexAttribArray = [](PP_Resource, GLuint i) { glEnableVertexAttribArray(i); };
  t.GenBuffers = [](PP_Resource, GLsizei n, GLuint* b) { glGenBuffers(n, b); };
  t.GenTextures = [](PP_Resource, GLsizei n, GLuint* x) { glGenTextures(n, x); };
  t.GetProgramiv = [](PP_Resource, GLuint p, GLenum pname, GLint* v) {
    glGetProgramiv(p, pname, v);
  };
  t.GetUniformLocation = [](PP_Resource, GLuint p, const char* n) {
    return glGetUniformLocation(p, n);
  };
  t.LinkProgram = [](PP_Resource, GLuint p) { glLinkProgram(p); };
  t.ShaderSource = [](PP_Resource, GLuint s, GLsizei count, const char** text,
                      const GLint* lengths) { glShaderSource(s, count, text, lengths); };
  t.TexImage2D = [](PP_Resource, GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h,
                    GLint border, GLenum format, GLenum type, const void* pixels) {
    glTexImage2D(target, level, internal, w, h, border, format, type, pixels);
  };
  t.TexParameteri = [](PP_Resource, GLenum target, GLenum pname, GLint v) {
    glTexParameteri(target, pname, v);
  };
  t.Uniform1i = [](PP_Resource, GLint l, GLint x) { glUniform1i(l, x); };
  t.Uniform2f = [](PP_Resource, GLint l, GLfloat x, GLfloat y) { glUniform2f(l, x, y); };
  t.UseProgram = [](PP_Resource, GLuint p) { glUseProgram(p); };
  t.VertexAttribPointer = [](PP_Resource, GLuint i, GLint size, GLenum type, GLboolean normalized,
                             GLsizei stride, const void* p) {
    glVertexAttribPointer(i, size, type, normalized, stride, p);
  };
  t.Viewport = [](PP_Resource, GLint x, GLint y, GLsizei w, GLsizei h) { glViewport(x, y, w, h); };
  return t;
}

// A mapping as the host keeps it: a buffer of width x height x 4 bytes per Map, the
// upload at Unmap.
struct DirectMapping {
  static inline struct {
    GLenum target, format, type;
    GLint level, x, y;
    GLsizei width, height;
    std::unique_ptr<uint8_t[]> buffer;
  } open;
};

PPB_GLESChromiumTextureMapping_Dev_0_1 directMapping() {
  return {
      [](PP_Resource, GLenum target, GLint level, GLint x, GLint y, GLsizei w, GLsizei h,
         GLenum format, GLenum type, GLenum) -> void* {
        DirectMapping::open = {target, format, type,
                               level,  x,      y,
                               w,      h,      std::make_unique<uint8_t[]>(size_t(w) * h * 4)};
        return DirectMapping::open.buffer.get();
      },
      [](PP_Resource, const void*) {
        auto& m = DirectMapping::open;
        glTexSubImage2D(m.target, m.level, m.x, m.y, m.width, m.height, m.format, m.type,
                        m.buffer.get());
        m.buffer.reset();
      },
  };
}

void Gl3DScene_Direct_1280x720(benchmark::State& state) {
  std::string error;
  auto display = gl::EglDisplay::open(&error);
  auto target =
      display ? gl::RenderTarget::create(*display, kWidth, kHeight, false, false, &error) : nullptr;
  if (!target) {
    state.SkipWithError(("no GL: " + error).c_str());
    return;
  }
  PPB_OpenGLES2_1_0 table = directGl();
  PPB_GLESChromiumTextureMapping_Dev_0_1 mapping = directMapping();
  demo3d::Scene scene;
  scene.gl = &table;
  scene.mapping = &mapping;
  scene.width = kWidth;
  scene.height = kHeight;
  if (!scene.setUp()) {
    state.SkipWithError("the scene's program does not link");
    return;
  }
  gl::Picture picture;
  auto frame = [&] {
    target->beginDrawing();
    scene.draw();
    target->finishFrame(&picture);
  };
  for (int i = 0; i < 5; ++i) frame();
  for (auto _ : state) frame();
  state.counters["fps"] = benchmark::Counter(state.iterations(), benchmark::Counter::kIsRate);
  state.counters["glErrors"] = glGetError() != GL_NO_ERROR ? 1 : 0;
  state.counters["pixels"] = static_cast<double>(picture.width) * picture.height;
  target.reset();
}
BENCHMARK(Gl3DScene_Direct_1280x720)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

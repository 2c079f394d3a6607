// A scenario that draws with GLES2 through the forwarded entries, for a controlling
// process that executes them.
//
//   gl-draw [frames N] [contexts 2] [resize WxH]
//     On the first view: a 3D context of the view's size, bound. Reports GL's answers:
//     "gl-draw version=<GL_VERSION>", "gl-draw good=<COMPILE_STATUS> broken=<...>
//     link=<LINK_STATUS> offset=<location> sampler=<location> textures=<a>,<b>
//     max-texture=<GL_MAX_TEXTURE_SIZE>".
//     Each frame: cleared to (0, 0, 0.25, 1); a quad at x -0.8..0, y -0.8..0.8 textured
//     with a 2 x 2 texture (bottom row red, green; top row blue, white), and over it a
//     quad at x -0.4..0.6 (moved there by a Uniform2f of 0.1), y -0.4..0.4 in a 1 x 1
//     texture of white at alpha 128, blended (SRC_ALPHA, ONE_MINUS_SRC_ALPHA). Both come
//     from one vertex buffer.
//     After the first swap the 1 x 1 texture is rewritten through a mapping to magenta
//     at alpha 128, and with `resize` the context is resized (the viewport follows).
//     "gl-draw frame K" after each swap, "gl-draw done" after N (default 3).
//     With `contexts 2` a second context of 40 x 20 gets clear colour green, one texture
//     ("gl-draw second texture=<name>") and one swap ("gl-draw second swapped").
#include <stdio.h>
#include <string.h>

#include "ppapi/ppb_core.h"
#include "ppapi/ppb_graphics_3d.h"
#include "ppapi/ppb_instance.h"
#include "ppapi/ppb_opengles2.h"
#include "ppapi/ppb_view.h"
#include "tests/plugins/gles_tables.h"
#include "tests/plugins/test_plugin.h"

namespace {

using testplugin::report;

constexpr GLenum kTexture2D = 0x0DE1, kRgba = 0x1908, kUnsignedByte = 0x1401, kFloat = 0x1406,
                 kArrayBuffer = 0x8892, kStaticDraw = 0x88E4, kTriangles = 0x0004,
                 kVertexShader = 0x8B31, kFragmentShader = 0x8B30, kCompileStatus = 0x8B81,
                 kLinkStatus = 0x8B82, kMinFilter = 0x2801, kMagFilter = 0x2800, kNearest = 0x2600,
                 kBlend = 0x0BE2, kSrcAlpha = 0x0302, kOneMinusSrcAlpha = 0x0303, kVersion = 0x1F02,
                 kMaxTextureSize = 0x0D33, kTexture0 = 0x84C0, kWriteOnly = 0x88B9;

// The shared 3D interfaces and the view.
struct Tables : testplugin::GlesTables {
  const PPB_View_1_2* view = testplugin::hostInterfaceAs<PPB_View_1_2>("PPB_View;1.2");
};

const Tables& api() {
  static Tables tables;
  return tables;
}

struct State {
  PP_Resource context = 0, second = 0;
  int32_t width = 0, height = 0;
  GLuint program = 0, buffer = 0, quadrants = 0, veil = 0;
  GLint offset = -1, sampler = -1;
  long frames = 3, frame = 0;
  int32_t resizeWidth = 0, resizeHeight = 0;
} s;

GLuint compile(PP_Resource c, GLenum type, const char* source, GLint* status) {
  const PPB_OpenGLES2_1_0* gl = api().gl;
  GLuint shader = gl->CreateShader(c, type);
  gl->ShaderSource(c, shader, 1, &source, nullptr);
  gl->CompileShader(c, shader);
  gl->GetShaderiv(c, shader, kCompileStatus, status);
  return shader;
}

void texture(PP_Resource c, GLuint name, int32_t w, int32_t h, const uint8_t* pixels) {
  const PPB_OpenGLES2_1_0* gl = api().gl;
  gl->BindTexture(c, kTexture2D, name);
  gl->TexParameteri(c, kTexture2D, kMinFilter, kNearest);
  gl->TexParameteri(c, kTexture2D, kMagFilter, kNearest);
  gl->TexImage2D(c, kTexture2D, 0, kRgba, w, h, 0, kRgba, kUnsignedByte, pixels);
}

void setUp() {
  const PPB_OpenGLES2_1_0* gl = api().gl;
  PP_Resource c = s.context;
  report("gl-draw version=%s", reinterpret_cast<const char*>(gl->GetString(c, kVersion)));
  s.program = gl->CreateProgram(c);
  GLint good = -1, fragment = -1, broken = -1, linked = -1;
  GLuint v = compile(c, kVertexShader,
                     "attribute vec2 a_position;\n"
                     "attribute vec2 a_texcoord;\n"
                     "uniform vec2 u_offset;\n"
                     "varying vec2 v_texcoord;\n"
                     "void main() {\n"
                     "  gl_Position = vec4(a_position + u_offset, 0.0, 1.0);\n"
                     "  v_texcoord = a_texcoord;\n"
                     "}\n",
                     &good);
  GLuint f = compile(c, kFragmentShader,
                     "precision mediump float;\n"
                     "uniform sampler2D u_texture;\n"
                     "varying vec2 v_texcoord;\n"
                     "void main() { gl_FragColor = texture2D(u_texture, v_texcoord); }\n",
                     &fragment);
  gl->DeleteShader(c, compile(c, kFragmentShader, "this is not a shader", &broken));
  gl->AttachShader(c, s.program, v);
  gl->AttachShader(c, s.program, f);
  gl->BindAttribLocation(c, s.program, 0, "a_position");
  gl->BindAttribLocation(c, s.program, 1, "a_texcoord");
  gl->LinkProgram(c, s.program);
  gl->GetProgramiv(c, s.program, kLinkStatus, &linked);
  gl->UseProgram(c, s.program);
  s.offset = gl->GetUniformLocation(c, s.program, "u_offset");
  s.sampler = gl->GetUniformLocation(c, s.program, "u_texture");
  gl->Uniform1i(c, s.sampler, 0);

  // x, y, s, t: the textured quad (0-5), then the veil (6-11) before its offset.
  // clang-format off
  const float vertices[] = {
      -0.8f, -0.8f, 0, 0,
      0.0f, -0.8f, 1, 0,
      0.0f, 0.8f, 1, 1,
      -0.8f, -0.8f, 0, 0,
      0.0f, 0.8f, 1, 1,
      -0.8f, 0.8f, 0, 1,
      -0.5f, -0.4f, 0, 0,
      0.5f, -0.4f, 1, 0,
      0.5f, 0.4f, 1, 1,
      -0.5f, -0.4f, 0, 0,
      0.5f, 0.4f, 1, 1,
      -0.5f, 0.4f, 0, 1,
  };
  // clang-format on
  gl->GenBuffers(c, 1, &s.buffer);
  gl->BindBuffer(c, kArrayBuffer, s.buffer);
  gl->BufferData(c, kArrayBuffer, sizeof(vertices), vertices, kStaticDraw);
  gl->VertexAttribPointer(c, 0, 2, kFloat, 0, 16, nullptr);
  gl->VertexAttribPointer(c, 1, 2, kFloat, 0, 16, reinterpret_cast<void*>(8));
  gl->EnableVertexAttribArray(c, 0);
  gl->EnableVertexAttribArray(c, 1);

  GLuint names[2] = {0, 0};
  gl->GenTextures(c, 2, names);
  s.quadrants = names[0];
  s.veil = names[1];
  gl->ActiveTexture(c, kTexture0);
  const uint8_t quadrants[16] = {255, 0, 0,   255, 0,   255, 0,   255,
                                 0,   0, 255, 255, 255, 255, 255, 255};
  texture(c, s.quadrants, 2, 2, quadrants);
  const uint8_t veil[4] = {255, 255, 255, 128};
  texture(c, s.veil, 1, 1, veil);
  GLint maxTexture = 0;
  gl->GetIntegerv(c, kMaxTextureSize, &maxTexture);
  gl->ClearColor(c, 0, 0, 0.25f, 1);
  gl->Enable(c, kBlend);
  gl->BlendFunc(c, kSrcAlpha, kOneMinusSrcAlpha);
  report(
      "gl-draw good=%d fragment=%d broken=%d link=%d offset=%d sampler=%d textures=%u,%u "
      "max-texture=%d",
      good, fragment, broken, linked, s.offset, s.sampler, names[0], names[1], maxTexture);
}

void secondSwapped(void*, int32_t result) {
  report("gl-draw second swapped result=%d", result);
}

void makeSecond(PP_Instance instance) {
  const PPB_OpenGLES2_1_0* gl = api().gl;
  const int32_t attributes[] = {PP_GRAPHICS3DATTRIB_WIDTH, 40, PP_GRAPHICS3DATTRIB_HEIGHT, 20,
                                PP_GRAPHICS3DATTRIB_NONE};
  s.second = api().g3d->Create(instance, 0, attributes);
  gl->ClearColor(s.second, 0, 1, 0, 1);
  GLuint name = 0;
  gl->GenTextures(s.second, 1, &name);
  report("gl-draw second texture=%u", name);
  api().g3d->SwapBuffers(s.second, PP_CompletionCallback{secondSwapped, nullptr, 0});
}

void drawFrame(void*, int32_t);

void swapped(void*, int32_t) {
  const PPB_OpenGLES2_1_0* gl = api().gl;
  report("gl-draw frame %ld", ++s.frame);
  if (s.frame >= s.frames) {
    report("gl-draw done");
    return;
  }
  if (s.frame == 1) {
    gl->BindTexture(s.context, kTexture2D, s.veil);
    auto* p = static_cast<uint8_t*>(api().mapping->MapTexSubImage2DCHROMIUM(
        s.context, kTexture2D, 0, 0, 0, 1, 1, kRgba, kUnsignedByte, kWriteOnly));
    if (p != nullptr) {
      const uint8_t magenta[4] = {255, 0, 255, 128};
      memcpy(p, magenta, 4);
      api().mapping->UnmapTexSubImage2DCHROMIUM(s.context, p);
    }
    if (s.resizeWidth > 0) {
      s.width = s.resizeWidth;
      s.height = s.resizeHeight;
      report("gl-draw resize=%d",
             api().g3d->ResizeBuffers(s.context, s.resizeWidth, s.resizeHeight));
    }
  }
  api().core->CallOnMainThread(10, PP_CompletionCallback{drawFrame, nullptr, 0}, 0);
}

void drawFrame(void*, int32_t) {
  const PPB_OpenGLES2_1_0* gl = api().gl;
  PP_Resource c = s.context;
  gl->Viewport(c, 0, 0, s.width, s.height);
  gl->BindTexture(c, kTexture2D, s.quadrants);
  gl->Uniform2f(c, s.offset, 0, 0);
  gl->DrawArrays(c, kTriangles, 0, 6);
  gl->BindTexture(c, kTexture2D, s.veil);
  gl->Uniform2f(c, s.offset, 0.1f, 0);
  gl->DrawArrays(c, kTriangles, 6, 6);
  api().g3d->SwapBuffers(c, PP_CompletionCallback{swapped, nullptr, 0});
}

void didCreate(const testplugin::Args& args) {
  s.frames = args.getInt("frames", 3);
  const char* resize = args.get("resize", "");
  if (sscanf(resize, "%dx%d", &s.resizeWidth, &s.resizeHeight) != 2) s.resizeWidth = 0;
}

void didChangeView(PP_Resource view) {
  if (s.context != 0) return;
  PP_Rect rect;
  if (api().view->GetRect(view, &rect) != PP_TRUE) return;
  s.width = rect.size.width;
  s.height = rect.size.height;
  PP_Instance instance = testplugin::instance();
  const int32_t attributes[] = {PP_GRAPHICS3DATTRIB_WIDTH, s.width, PP_GRAPHICS3DATTRIB_HEIGHT,
                                s.height, PP_GRAPHICS3DATTRIB_NONE};
  s.context = api().g3d->Create(instance, 0, attributes);
  api().instance->BindGraphics(instance, s.context);
  setUp();
  if (testplugin::args().getInt("contexts", 1) == 2) makeSecond(instance);
  drawFrame(nullptr, 0);
}

testplugin::ScenarioRegistrar registrar("gl-draw", {didCreate, didChangeView, nullptr});

}  // namespace

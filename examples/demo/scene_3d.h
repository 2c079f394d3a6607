// The demo's 3D scene, drawn through a PPB_OpenGLES2 table with the entries the host
// forwards only: a checkered quad that moves every frame (its texture uploaded once
// with TexImage2D) over a striped quad whose texture is rewritten every frame through
// the texture-mapping entries. One shader program, a Uniform2f offset and a Uniform1i
// sampler; both quads come from one vertex buffer.
//
// Header only, so that the benchmarks can issue the very same commands on GL directly.
#pragma once

#include <math.h>
#include <string.h>

#include "ppapi/ppb_opengles2.h"

namespace demo3d {

// The GL enums the scene uses (the plug-in has no GL header of its own).
namespace glc {
constexpr GLenum kTexture2D = 0x0DE1, kTexture0 = 0x84C0, kRgba = 0x1908, kUnsignedByte = 0x1401,
                 kFloat = 0x1406, kArrayBuffer = 0x8892, kStaticDraw = 0x88E4, kTriangles = 0x0004,
                 kVertexShader = 0x8B31, kFragmentShader = 0x8B30, kMinFilter = 0x2801,
                 kMagFilter = 0x2800, kNearest = 0x2600, kWrapS = 0x2802, kWrapT = 0x2803,
                 kClampToEdge = 0x812F, kBlend = 0x0BE2, kSrcAlpha = 0x0302,
                 kOneMinusSrcAlpha = 0x0303, kWriteOnly = 0x88B9, kLinkStatus = 0x8B82;
}  // namespace glc

constexpr int32_t kCheckerSize = 64, kStripeSize = 32;
// The checkered quad's two colours, RGBA.
constexpr uint8_t kOrange[4] = {255, 128, 0, 255}, kCream[4] = {255, 240, 200, 255};

// The quad's horizontal offset in frame `frame` (normalised device coordinates).
inline float quadOffsetX(uint32_t frame) {
  return 0.5f * sinf(static_cast<float>(frame) * 0.05f);
}

struct Scene {
  const PPB_OpenGLES2_1_0* gl = nullptr;
  const PPB_GLESChromiumTextureMapping_Dev_0_1* mapping = nullptr;
  PP_Resource context = 0;
  int32_t width = 0, height = 0;
  GLuint program = 0, buffer = 0, checker = 0, stripes = 0;
  GLint offset = -1, sampler = -1;
  uint32_t frame = 0;

  GLuint shader(GLenum type, const char* source) {
    GLuint s = gl->CreateShader(context, type);
    gl->ShaderSource(context, s, 1, &source, nullptr);
    gl->CompileShader(context, s);
    gl->AttachShader(context, program, s);
    gl->DeleteShader(context, s);
    return s;
  }

  // Everything that is made once. False when the program does not link.
  bool setUp() {
    program = gl->CreateProgram(context);
    shader(glc::kVertexShader,
           "attribute vec2 a_position;\n"
           "attribute vec2 a_texcoord;\n"
           "uniform vec2 u_offset;\n"
           "varying vec2 v_texcoord;\n"
           "void main() {\n"
           "  gl_Position = vec4(a_position + u_offset, 0.0, 1.0);\n"
           "  v_texcoord = a_texcoord;\n"
           "}\n");
    shader(glc::kFragmentShader,
           "precision mediump float;\n"
           "uniform sampler2D u_texture;\n"
           "varying vec2 v_texcoord;\n"
           "void main() { gl_FragColor = texture2D(u_texture, v_texcoord); }\n");
    gl->BindAttribLocation(context, program, 0, "a_position");
    gl->BindAttribLocation(context, program, 1, "a_texcoord");
    gl->LinkProgram(context, program);
    GLint linked = 0;
    gl->GetProgramiv(context, program, glc::kLinkStatus, &linked);
    if (linked != 1) return false;
    gl->UseProgram(context, program);
    offset = gl->GetUniformLocation(context, program, "u_offset");
    sampler = gl->GetUniformLocation(context, program, "u_texture");
    gl->Uniform1i(context, sampler, 0);

    // x, y, s, t: the striped backdrop (0-5), then the checkered quad (6-11).
    // clang-format off
    const float vertices[] = {
        -0.9f, -0.9f, 0, 0,
        0.9f, -0.9f, 1, 0,
        0.9f, -0.2f, 1, 1,
        -0.9f, -0.9f, 0, 0,
        0.9f, -0.2f, 1, 1,
        -0.9f, -0.2f, 0, 1,
        -0.3f, -0.1f, 0, 0,
        0.3f, -0.1f, 1, 0,
        0.3f, 0.8f, 1, 1,
        -0.3f, -0.1f, 0, 0,
        0.3f, 0.8f, 1, 1,
        -0.3f, 0.8f, 0, 1,
    };
    // clang-format on
    gl->GenBuffers(context, 1, &buffer);
    gl->BindBuffer(context, glc::kArrayBuffer, buffer);
    gl->BufferData(context, glc::kArrayBuffer, sizeof(vertices), vertices, glc::kStaticDraw);
    gl->VertexAttribPointer(context, 0, 2, glc::kFloat, 0, 16, nullptr);
    gl->VertexAttribPointer(context, 1, 2, glc::kFloat, 0, 16, reinterpret_cast<void*>(8));
    gl->EnableVertexAttribArray(context, 0);
    gl->EnableVertexAttribArray(context, 1);

    GLuint names[2] = {0, 0};
    gl->GenTextures(context, 2, names);
    checker = names[0];
    stripes = names[1];
    gl->ActiveTexture(context, glc::kTexture0);
    static uint8_t pixels[kCheckerSize * kCheckerSize * 4];
    for (int32_t y = 0; y < kCheckerSize; ++y)
      for (int32_t x = 0; x < kCheckerSize; ++x)
        memcpy(&pixels[(y * kCheckerSize + x) * 4], ((x / 8 + y / 8) % 2) ? kOrange : kCream, 4);
    texture(checker);
    gl->TexImage2D(context, glc::kTexture2D, 0, glc::kRgba, kCheckerSize, kCheckerSize, 0,
                   glc::kRgba, glc::kUnsignedByte, pixels);
    texture(stripes);
    gl->TexImage2D(context, glc::kTexture2D, 0, glc::kRgba, kStripeSize, kStripeSize, 0, glc::kRgba,
                   glc::kUnsignedByte, nullptr);
    gl->ClearColor(context, 0.08f, 0.1f, 0.16f, 1);
    gl->Enable(context, glc::kBlend);
    gl->BlendFunc(context, glc::kSrcAlpha, glc::kOneMinusSrcAlpha);
    return true;
  }

  void texture(GLuint name) {
    gl->BindTexture(context, glc::kTexture2D, name);
    gl->TexParameteri(context, glc::kTexture2D, glc::kMinFilter, glc::kNearest);
    gl->TexParameteri(context, glc::kTexture2D, glc::kMagFilter, glc::kNearest);
    gl->TexParameteri(context, glc::kTexture2D, glc::kWrapS, glc::kClampToEdge);
    gl->TexParameteri(context, glc::kTexture2D, glc::kWrapT, glc::kClampToEdge);
  }

  // One frame's commands; the caller swaps.
  void draw() {
    gl->Viewport(context, 0, 0, width, height);
    // The backdrop's stripes scroll: rewritten through a mapping every frame.
    gl->BindTexture(context, glc::kTexture2D, stripes);
    auto* p = static_cast<uint8_t*>(mapping->MapTexSubImage2DCHROMIUM(
        context, glc::kTexture2D, 0, 0, 0, kStripeSize, kStripeSize, glc::kRgba, glc::kUnsignedByte,
        glc::kWriteOnly));
    if (p != nullptr) {
      for (int32_t y = 0; y < kStripeSize; ++y)
        for (int32_t x = 0; x < kStripeSize; ++x) {
          uint8_t* at = &p[(y * kStripeSize + x) * 4];
          bool light = ((static_cast<uint32_t>(x) + frame) / 4) % 2 == 0;
          at[0] = light ? 40 : 20;
          at[1] = light ? 160 : 90;
          at[2] = light ? 200 : 120;
          at[3] = 255;
        }
      mapping->UnmapTexSubImage2DCHROMIUM(context, p);
    }
    gl->Uniform2f(context, offset, 0, 0);
    gl->DrawArrays(context, glc::kTriangles, 0, 6);
    gl->BindTexture(context, glc::kTexture2D, checker);
    gl->Uniform2f(context, offset, quadOffsetX(frame), 0);
    gl->DrawArrays(context, glc::kTriangles, 6, 6);
    ++frame;
  }
};

}  // namespace demo3d

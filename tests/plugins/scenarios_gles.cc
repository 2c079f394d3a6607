// Scenarios for 3D contexts and GLES2 forwarding; one step per key event (the key code).
//
//   gles
//     step 1  Contexts: one with only NONE, one with RED_SIZE 0x108, an unknown key whose
//             value is WIDTH, then WIDTH 640 and HEIGHT 480; the first is released, and
//             a fourth is made. ResizeBuffers (0, 0) and (-1, 10).
//     step 2  SwapBuffers twice on the second context; step 3 releases the third context
//             while its swap is pending.
//     step 4  Maps a 2 x 3 region, fills it with 0, 1, 2, ... and unmaps it; binds the
//             second context.
//     step 5  Every forwarded entry with distinct arguments, in slot order.
//     step 6  ShaderSource with and without lengths, TexImage2D with and without pixels,
//             GetString twice on one context and once on another, GenTextures of 3,
//             Clear, Scissor and DrawElements.
//     step 7  Every one of the 142 entries through the table, with zero arguments.
//     step 8  The compressed texture formats, as a GL program asks for them: the count,
//             then the list into an array of that many (and one spare set to 77).
#include <string.h>

#include <string>

#include "ppapi/ppb_core.h"
#include "ppapi/ppb_graphics_3d.h"
#include "ppapi/ppb_input_event.h"
#include "ppapi/ppb_instance.h"
#include "ppapi/ppb_opengles2.h"
#include "tests/plugins/gles_tables.h"
#include "tests/plugins/test_plugin.h"

namespace {

using testplugin::Args;
using testplugin::report;

using Tables = testplugin::GlesTables;

const Tables& api() {
  static Tables tables;
  return tables;
}

PP_Resource contexts[4];

// Calls an entry as a plug-in would, with the context and every other argument zero.
template <class R, class... A>
void callWithZeros(R (*entry)(PP_Resource, A...), PP_Resource context) {
  entry(context, A{}...);
}

void swapped(void* tag, int32_t result) {
  report("swapped %s result=%d", static_cast<const char*>(tag), result);
}

void allEntries(PP_Resource context) {
  const Tables& t = api();
  callWithZeros(t.gl->ActiveTexture, context);
  callWithZeros(t.gl->AttachShader, context);
  callWithZeros(t.gl->BindAttribLocation, context);
  callWithZeros(t.gl->BindBuffer, context);
  callWithZeros(t.gl->BindFramebuffer, context);
  callWithZeros(t.gl->BindRenderbuffer, context);
  callWithZeros(t.gl->BindTexture, context);
  callWithZeros(t.gl->BlendColor, context);
  callWithZeros(t.gl->BlendEquation, context);
  callWithZeros(t.gl->BlendEquationSeparate, context);
  callWithZeros(t.gl->BlendFunc, context);
  callWithZeros(t.gl->BlendFuncSeparate, context);
  callWithZeros(t.gl->BufferData, context);
  callWithZeros(t.gl->BufferSubData, context);
  callWithZeros(t.gl->CheckFramebufferStatus, context);
  callWithZeros(t.gl->Clear, context);
  callWithZeros(t.gl->ClearColor, context);
  callWithZeros(t.gl->ClearDepthf, context);
  callWithZeros(t.gl->ClearStencil, context);
  callWithZeros(t.gl->ColorMask, context);
  callWithZeros(t.gl->CompileShader, context);
  callWithZeros(t.gl->CompressedTexImage2D, context);
  callWithZeros(t.gl->CompressedTexSubImage2D, context);
  callWithZeros(t.gl->CopyTexImage2D, context);
  callWithZeros(t.gl->CopyTexSubImage2D, context);
  callWithZeros(t.gl->CreateProgram, context);
  callWithZeros(t.gl->CreateShader, context);
  callWithZeros(t.gl->CullFace, context);
  callWithZeros(t.gl->DeleteBuffers, context);
  callWithZeros(t.gl->DeleteFramebuffers, context);
  callWithZeros(t.gl->DeleteProgram, context);
  callWithZeros(t.gl->DeleteRenderbuffers, context);
  callWithZeros(t.gl->DeleteShader, context);
  callWithZeros(t.gl->DeleteTextures, context);
  callWithZeros(t.gl->DepthFunc, context);
  callWithZeros(t.gl->DepthMask, context);
  callWithZeros(t.gl->DepthRangef, context);
  callWithZeros(t.gl->DetachShader, context);
  callWithZeros(t.gl->Disable, context);
  callWithZeros(t.gl->DisableVertexAttribArray, context);
  callWithZeros(t.gl->DrawArrays, context);
  callWithZeros(t.gl->DrawElements, context);
  callWithZeros(t.gl->Enable, context);
  callWithZeros(t.gl->EnableVertexAttribArray, context);
  callWithZeros(t.gl->Finish, context);
  callWithZeros(t.gl->Flush, context);
  callWithZeros(t.gl->FramebufferRenderbuffer, context);
  callWithZeros(t.gl->FramebufferTexture2D, context);
  callWithZeros(t.gl->FrontFace, context);
  callWithZeros(t.gl->GenBuffers, context);
  callWithZeros(t.gl->GenerateMipmap, context);
  callWithZeros(t.gl->GenFramebuffers, context);
  callWithZeros(t.gl->GenRenderbuffers, context);
  callWithZeros(t.gl->GenTextures, context);
  callWithZeros(t.gl->GetActiveAttrib, context);
  callWithZeros(t.gl->GetActiveUniform, context);
  callWithZeros(t.gl->GetAttachedShaders, context);
  callWithZeros(t.gl->GetAttribLocation, context);
  callWithZeros(t.gl->GetBooleanv, context);
  callWithZeros(t.gl->GetBufferParameteriv, context);
  callWithZeros(t.gl->GetError, context);
  callWithZeros(t.gl->GetFloatv, context);
  callWithZeros(t.gl->GetFramebufferAttachmentParameteriv, context);
  callWithZeros(t.gl->GetIntegerv, context);
  callWithZeros(t.gl->GetProgramiv, context);
  callWithZeros(t.gl->GetProgramInfoLog, context);
  callWithZeros(t.gl->GetRenderbufferParameteriv, context);
  callWithZeros(t.gl->GetShaderiv, context);
  callWithZeros(t.gl->GetShaderInfoLog, context);
  callWithZeros(t.gl->GetShaderPrecisionFormat, context);
  callWithZeros(t.gl->GetShaderSource, context);
  callWithZeros(t.gl->GetString, context);
  callWithZeros(t.gl->GetTexParameterfv, context);
  callWithZeros(t.gl->GetTexParameteriv, context);
  callWithZeros(t.gl->GetUniformfv, context);
  callWithZeros(t.gl->GetUniformiv, context);
  callWithZeros(t.gl->GetUniformLocation, context);
  callWithZeros(t.gl->GetVertexAttribfv, context);
  callWithZeros(t.gl->GetVertexAttribiv, context);
  callWithZeros(t.gl->GetVertexAttribPointerv, context);
  callWithZeros(t.gl->Hint, context);
  callWithZeros(t.gl->IsBuffer, context);
  callWithZeros(t.gl->IsEnabled, context);
  callWithZeros(t.gl->IsFramebuffer, context);
  callWithZeros(t.gl->IsProgram, context);
  callWithZeros(t.gl->IsRenderbuffer, context);
  callWithZeros(t.gl->IsShader, context);
  callWithZeros(t.gl->IsTexture, context);
  callWithZeros(t.gl->LineWidth, context);
  callWithZeros(t.gl->LinkProgram, context);
  callWithZeros(t.gl->PixelStorei, context);
  callWithZeros(t.gl->PolygonOffset, context);
  callWithZeros(t.gl->ReadPixels, context);
  callWithZeros(t.gl->ReleaseShaderCompiler, context);
  callWithZeros(t.gl->RenderbufferStorage, context);
  callWithZeros(t.gl->SampleCoverage, context);
  callWithZeros(t.gl->Scissor, context);
  callWithZeros(t.gl->ShaderBinary, context);
  callWithZeros(t.gl->ShaderSource, context);
  callWithZeros(t.gl->StencilFunc, context);
  callWithZeros(t.gl->StencilFuncSeparate, context);
  callWithZeros(t.gl->StencilMask, context);
  callWithZeros(t.gl->StencilMaskSeparate, context);
  callWithZeros(t.gl->StencilOp, context);
  callWithZeros(t.gl->StencilOpSeparate, context);
  callWithZeros(t.gl->TexImage2D, context);
  callWithZeros(t.gl->TexParameterf, context);
  callWithZeros(t.gl->TexParameterfv, context);
  callWithZeros(t.gl->TexParameteri, context);
  callWithZeros(t.gl->TexParameteriv, context);
  callWithZeros(t.gl->TexSubImage2D, context);
  callWithZeros(t.gl->Uniform1f, context);
  callWithZeros(t.gl->Uniform1fv, context);
  callWithZeros(t.gl->Uniform1i, context);
  callWithZeros(t.gl->Uniform1iv, context);
  callWithZeros(t.gl->Uniform2f, context);
  callWithZeros(t.gl->Uniform2fv, context);
  callWithZeros(t.gl->Uniform2i, context);
  callWithZeros(t.gl->Uniform2iv, context);
  callWithZeros(t.gl->Uniform3f, context);
  callWithZeros(t.gl->Uniform3fv, context);
  callWithZeros(t.gl->Uniform3i, context);
  callWithZeros(t.gl->Uniform3iv, context);
  callWithZeros(t.gl->Uniform4f, context);
  callWithZeros(t.gl->Uniform4fv, context);
  callWithZeros(t.gl->Uniform4i, context);
  callWithZeros(t.gl->Uniform4iv, context);
  callWithZeros(t.gl->UniformMatrix2fv, context);
  callWithZeros(t.gl->UniformMatrix3fv, context);
  callWithZeros(t.gl->UniformMatrix4fv, context);
  callWithZeros(t.gl->UseProgram, context);
  callWithZeros(t.gl->ValidateProgram, context);
  callWithZeros(t.gl->VertexAttrib1f, context);
  callWithZeros(t.gl->VertexAttrib1fv, context);
  callWithZeros(t.gl->VertexAttrib2f, context);
  callWithZeros(t.gl->VertexAttrib2fv, context);
  callWithZeros(t.gl->VertexAttrib3f, context);
  callWithZeros(t.gl->VertexAttrib3fv, context);
  callWithZeros(t.gl->VertexAttrib4f, context);
  callWithZeros(t.gl->VertexAttrib4fv, context);
  callWithZeros(t.gl->VertexAttribPointer, context);
  callWithZeros(t.gl->Viewport, context);
}

void step(uint32_t number) {
  const Tables& t = api();
  PP_Instance inst = testplugin::instance();
  const PPB_OpenGLES2_1_0* gl = t.gl;
  PP_Resource c = contexts[1];
  switch (number) {
    case 1: {
      const int32_t none[] = {PP_GRAPHICS3DATTRIB_NONE};
      const int32_t red[] = {PP_GRAPHICS3DATTRIB_RED_SIZE, 0x108, PP_GRAPHICS3DATTRIB_NONE};
      const int32_t sized[] = {0x1234,
                               PP_GRAPHICS3DATTRIB_WIDTH,
                               PP_GRAPHICS3DATTRIB_WIDTH,
                               640,
                               PP_GRAPHICS3DATTRIB_HEIGHT,
                               480,
                               PP_GRAPHICS3DATTRIB_NONE};
      PP_Resource first = t.g3d->Create(inst, 0, none);
      contexts[1] = t.g3d->Create(inst, 0, red);
      contexts[2] = t.g3d->Create(inst, 0, sized);
      t.core->ReleaseResource(first);
      contexts[3] = t.g3d->Create(inst, 0, nullptr);
      int32_t ok = t.g3d->ResizeBuffers(contexts[1], 0, 0);
      int32_t bad = t.g3d->ResizeBuffers(contexts[1], -1, 10);
      report("step 1 resize=%d bad=%d", ok, bad);
      break;
    }
    case 2: {
      int32_t first =
          t.g3d->SwapBuffers(c, PP_CompletionCallback{swapped, const_cast<char*>("c1"), 0});
      int32_t second =
          t.g3d->SwapBuffers(c, PP_CompletionCallback{swapped, const_cast<char*>("again"), 0});
      report("step 2 swap=%d again=%d", first, second);
      break;
    }
    case 3: {
      int32_t r = t.g3d->SwapBuffers(contexts[2],
                                     PP_CompletionCallback{swapped, const_cast<char*>("c2"), 0});
      t.core->ReleaseResource(contexts[2]);
      report("step 3 swap=%d", r);
      break;
    }
    case 4: {
      auto* mem = static_cast<uint8_t*>(
          t.mapping->MapTexSubImage2DCHROMIUM(c, 0x0DE1, 1, 2, 3, 2, 3, 0x1908, 0x1401, 0x88B9));
      for (int i = 0; i < 24; ++i) mem[i] = static_cast<uint8_t>(i);
      t.mapping->UnmapTexSubImage2DCHROMIUM(c, mem);
      t.mapping->UnmapTexSubImage2DCHROMIUM(c, mem);  // no longer open: nothing
      void* negative = t.mapping->MapTexSubImage2DCHROMIUM(c, 0, 0, 0, 0, -2, 3, 0, 0, 0);
      void* huge = t.mapping->MapTexSubImage2DCHROMIUM(c, 0, 0, 0, 0, 65536, 65536, 0, 0, 0);
      PP_Bool bound = t.instance->BindGraphics(inst, c);
      report("step 4 negative=%d huge=%d bound=%d", negative == nullptr, huge == nullptr, bound);
      break;
    }
    case 5: {
      const char* name = "attr";
      gl->ActiveTexture(c, 0x84C1);
      gl->AttachShader(c, 7, 9);
      gl->BindAttribLocation(c, 3, 4, name);
      gl->BindBuffer(c, 0x8892, 11);
      gl->BindTexture(c, 0x0DE1, 12);
      gl->BlendFunc(c, 0x0302, 0x0303);
      gl->BufferData(c, 0x8892, 6, "abcdef", 0x88E4);
      gl->ClearColor(c, 0.25f, 0.5f, 0.75f, 1.0f);
      gl->ColorMask(c, 1, 0, 1, 0);
      gl->CompileShader(c, 13);
      GLuint program = gl->CreateProgram(c);
      GLuint shader = gl->CreateShader(c, 0x8B31);
      gl->DeleteShader(c, 14);
      gl->Disable(c, 0x0B71);
      gl->DrawArrays(c, 4, 1, 3);
      gl->Enable(c, 0x0BE2);
      gl->EnableVertexAttribArray(c, 2);
      gl->Flush(c);
      GLuint buffers[2] = {0, 0};
      gl->GenBuffers(c, 2, buffers);
      GLuint textures[1] = {0};
      gl->GenTextures(c, 1, textures);
      GLint viewport[4] = {0, 0, 0, 0};
      gl->GetIntegerv(c, 0x0BA2, viewport);
      GLint linked = 0, compiled = 0;
      gl->GetProgramiv(c, 15, 0x8B82, &linked);
      gl->GetShaderiv(c, 16, 0x8B81, &compiled);
      const GLubyte* vendor = gl->GetString(c, 0x1F00);
      GLint location = gl->GetUniformLocation(c, 17, "uv");
      gl->LinkProgram(c, 18);
      gl->PixelStorei(c, 0x0CF5, 4);
      const char* sources[] = {"ab", "cde"};
      gl->ShaderSource(c, 19, 2, sources, nullptr);
      uint8_t pixels[8] = {1, 2, 3, 4, 5, 6, 7, 8};
      gl->TexImage2D(c, 0x0DE1, 0, 0x1908, 2, 1, 0, 0x1908, 0x1401, pixels);
      gl->TexParameteri(c, 0x0DE1, 0x2801, 0x2601);
      gl->Uniform1i(c, 20, -5);
      gl->Uniform2f(c, 21, 1.5f, -2.0f);
      gl->UseProgram(c, 22);
      gl->VertexAttribPointer(c, 1, 2, 0x1406, 1, 16, reinterpret_cast<const void*>(8));
      gl->Viewport(c, -1, 2, 300, 200);
      report(
          "step 5 program=%u shader=%u buffers=%u,%u texture=%u viewport=%d,%d,%d,%d "
          "linked=%d compiled=%d vendor=%s location=%d",
          program, shader, buffers[0], buffers[1], textures[0], viewport[0], viewport[1],
          viewport[2], viewport[3], linked, compiled,
          vendor ? reinterpret_cast<const char*>(vendor) : "(null)", location);
      break;
    }
    case 6: {
      const char* sources[] = {"ab", "cde"};
      const GLint lengths[] = {2, -1};
      gl->ShaderSource(c, 1, 2, sources, lengths);
      gl->ShaderSource(c, 1, -1, sources, lengths);  // refused: nothing sent
      uint8_t pixels[32];
      for (int i = 0; i < 32; ++i) pixels[i] = static_cast<uint8_t>(i);
      gl->TexImage2D(c, 0x0DE1, 0, 0x1908, 4, 2, 0, 0x1908, 0x1401, pixels);
      gl->TexImage2D(c, 0x0DE1, 0, 0x1908, 4, 2, 0, 0x1908, 0x1401, nullptr);
      const GLubyte* first = gl->GetString(c, 0x1F01);
      const GLubyte* again = gl->GetString(c, 0x1F01);
      const GLubyte* other = gl->GetString(contexts[3], 0x1F01);
      GLuint textures[4] = {0, 0, 0, 77};
      gl->GenTextures(c, 3, textures);
      gl->Clear(c, 0x4000);
      gl->Scissor(c, 0, 0, 10, 10);
      gl->DrawElements(c, 4, 3, 0x1403, nullptr);
      gl->ActiveTexture(99999, 1);  // names no context: nothing sent
      report("step 6 same=%d text=%s other=%s textures=%u,%u,%u,%u", first == again,
             reinterpret_cast<const char*>(first), reinterpret_cast<const char*>(other),
             textures[0], textures[1], textures[2], textures[3]);
      break;
    }
    case 7:
      allEntries(c);
      report("step 7 done");
      break;
    case 8: {
      GLint count = 0;
      gl->GetIntegerv(c, 0x86A2, &count);
      GLint formats[8] = {77, 77, 77, 77, 77, 77, 77, 77};
      if (count >= 0 && count < 8) gl->GetIntegerv(c, 0x86A3, formats);
      report("step 8 count=%d formats=%d,%d,%d,%d", count, formats[0], formats[1], formats[2],
             formats[3]);
      break;
    }
  }
}

PP_Bool glesEvent(PP_Resource event) {
  step(testplugin::keyCode(event));
  return PP_TRUE;
}

void glesCreate(const Args&) {
  report("gles ready");
}

testplugin::ScenarioRegistrar registrar("gles", {glesCreate, nullptr, glesEvent});

}  // namespace

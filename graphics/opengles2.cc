// "PPB_OpenGLES2;1.0": GLES2 commands.
#include "graphics/opengles2.h"

#include "resources/not_implemented.h"

using Iface = PPB_OpenGLES2_1_0;

// Not offered; -1 is GL's "no such attribute" (0 would name a real location).
static GLint ZEMA_OpenGLES2_GetAttribLocation(PP_Resource, GLuint, const char*) {
  return -1;
}

const PPB_OpenGLES2_1_0 ppbOpenGLES2 = {
    /* ZEMA_OpenGLES2_ActiveTexture */ NotImplemented<decltype(Iface::ActiveTexture)>::entry,
    /* ZEMA_OpenGLES2_AttachShader */ NotImplemented<decltype(Iface::AttachShader)>::entry,
    /* ZEMA_OpenGLES2_BindAttribLocation */
    NotImplemented<decltype(Iface::BindAttribLocation)>::entry,
    /* ZEMA_OpenGLES2_BindBuffer */ NotImplemented<decltype(Iface::BindBuffer)>::entry,
    /* ZEMA_OpenGLES2_BindFramebuffer */ NotImplemented<decltype(Iface::BindFramebuffer)>::entry,
    /* ZEMA_OpenGLES2_BindRenderbuffer */ NotImplemented<decltype(Iface::BindRenderbuffer)>::entry,
    /* ZEMA_OpenGLES2_BindTexture */ NotImplemented<decltype(Iface::BindTexture)>::entry,
    /* ZEMA_OpenGLES2_BlendColor */ NotImplemented<decltype(Iface::BlendColor)>::entry,
    /* ZEMA_OpenGLES2_BlendEquation */ NotImplemented<decltype(Iface::BlendEquation)>::entry,
    /* ZEMA_OpenGLES2_BlendEquationSeparate */
    NotImplemented<decltype(Iface::BlendEquationSeparate)>::entry,
    /* ZEMA_OpenGLES2_BlendFunc */ NotImplemented<decltype(Iface::BlendFunc)>::entry,
    /* ZEMA_OpenGLES2_BlendFuncSeparate */
    NotImplemented<decltype(Iface::BlendFuncSeparate)>::entry,
    /* ZEMA_OpenGLES2_BufferData */ NotImplemented<decltype(Iface::BufferData)>::entry,
    /* ZEMA_OpenGLES2_BufferSubData */ NotImplemented<decltype(Iface::BufferSubData)>::entry,
    /* ZEMA_OpenGLES2_CheckFramebufferStatus */
    NotImplemented<decltype(Iface::CheckFramebufferStatus)>::entry,
    /* ZEMA_OpenGLES2_Clear */ NotImplemented<decltype(Iface::Clear)>::entry,
    /* ZEMA_OpenGLES2_ClearColor */ NotImplemented<decltype(Iface::ClearColor)>::entry,
    /* ZEMA_OpenGLES2_ClearDepthf */ NotImplemented<decltype(Iface::ClearDepthf)>::entry,
    /* ZEMA_OpenGLES2_ClearStencil */ NotImplemented<decltype(Iface::ClearStencil)>::entry,
    /* ZEMA_OpenGLES2_ColorMask */ NotImplemented<decltype(Iface::ColorMask)>::entry,
    /* ZEMA_OpenGLES2_CompileShader */ NotImplemented<decltype(Iface::CompileShader)>::entry,
    /* ZEMA_OpenGLES2_CompressedTexImage2D */
    NotImplemented<decltype(Iface::CompressedTexImage2D)>::entry,
    /* ZEMA_OpenGLES2_CompressedTexSubImage2D */
    NotImplemented<decltype(Iface::CompressedTexSubImage2D)>::entry,
    /* ZEMA_OpenGLES2_CopyTexImage2D */ NotImplemented<decltype(Iface::CopyTexImage2D)>::entry,
    /* ZEMA_OpenGLES2_CopyTexSubImage2D */
    NotImplemented<decltype(Iface::CopyTexSubImage2D)>::entry,
    /* ZEMA_OpenGLES2_CreateProgram */ NotImplemented<decltype(Iface::CreateProgram)>::entry,
    /* ZEMA_OpenGLES2_CreateShader */ NotImplemented<decltype(Iface::CreateShader)>::entry,
    /* ZEMA_OpenGLES2_CullFace */ NotImplemented<decltype(Iface::CullFace)>::entry,
    /* ZEMA_OpenGLES2_DeleteBuffers */ NotImplemented<decltype(Iface::DeleteBuffers)>::entry,
    /* ZEMA_OpenGLES2_DeleteFramebuffers */
    NotImplemented<decltype(Iface::DeleteFramebuffers)>::entry,
    /* ZEMA_OpenGLES2_DeleteProgram */ NotImplemented<decltype(Iface::DeleteProgram)>::entry,
    /* ZEMA_OpenGLES2_DeleteRenderbuffers */
    NotImplemented<decltype(Iface::DeleteRenderbuffers)>::entry,
    /* ZEMA_OpenGLES2_DeleteShader */ NotImplemented<decltype(Iface::DeleteShader)>::entry,
    /* ZEMA_OpenGLES2_DeleteTextures */ NotImplemented<decltype(Iface::DeleteTextures)>::entry,
    /* ZEMA_OpenGLES2_DepthFunc */ NotImplemented<decltype(Iface::DepthFunc)>::entry,
    /* ZEMA_OpenGLES2_DepthMask */ NotImplemented<decltype(Iface::DepthMask)>::entry,
    /* ZEMA_OpenGLES2_DepthRangef */ NotImplemented<decltype(Iface::DepthRangef)>::entry,
    /* ZEMA_OpenGLES2_DetachShader */ NotImplemented<decltype(Iface::DetachShader)>::entry,
    /* ZEMA_OpenGLES2_Disable */ NotImplemented<decltype(Iface::Disable)>::entry,
    /* ZEMA_OpenGLES2_DisableVertexAttribArray */
    NotImplemented<decltype(Iface::DisableVertexAttribArray)>::entry,
    /* ZEMA_OpenGLES2_DrawArrays */ NotImplemented<decltype(Iface::DrawArrays)>::entry,
    /* ZEMA_OpenGLES2_DrawElements */ NotImplemented<decltype(Iface::DrawElements)>::entry,
    /* ZEMA_OpenGLES2_Enable */ NotImplemented<decltype(Iface::Enable)>::entry,
    /* ZEMA_OpenGLES2_EnableVertexAttribArray */
    NotImplemented<decltype(Iface::EnableVertexAttribArray)>::entry,
    /* ZEMA_OpenGLES2_Finish */ NotImplemented<decltype(Iface::Finish)>::entry,
    /* ZEMA_OpenGLES2_Flush */ NotImplemented<decltype(Iface::Flush)>::entry,
    /* ZEMA_OpenGLES2_FramebufferRenderbuffer */
    NotImplemented<decltype(Iface::FramebufferRenderbuffer)>::entry,
    /* ZEMA_OpenGLES2_FramebufferTexture2D */
    NotImplemented<decltype(Iface::FramebufferTexture2D)>::entry,
    /* ZEMA_OpenGLES2_FrontFace */ NotImplemented<decltype(Iface::FrontFace)>::entry,
    /* ZEMA_OpenGLES2_GenBuffers */ NotImplemented<decltype(Iface::GenBuffers)>::entry,
    /* ZEMA_OpenGLES2_GenerateMipmap */ NotImplemented<decltype(Iface::GenerateMipmap)>::entry,
    /* ZEMA_OpenGLES2_GenFramebuffers */ NotImplemented<decltype(Iface::GenFramebuffers)>::entry,
    /* ZEMA_OpenGLES2_GenRenderbuffers */ NotImplemented<decltype(Iface::GenRenderbuffers)>::entry,
    /* ZEMA_OpenGLES2_GenTextures */ NotImplemented<decltype(Iface::GenTextures)>::entry,
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
    /* ZEMA_OpenGLES2_GetIntegerv */ NotImplemented<decltype(Iface::GetIntegerv)>::entry,
    /* ZEMA_OpenGLES2_GetProgramiv */ NotImplemented<decltype(Iface::GetProgramiv)>::entry,
    /* ZEMA_OpenGLES2_GetProgramInfoLog */
    NotImplemented<decltype(Iface::GetProgramInfoLog)>::entry,
    /* ZEMA_OpenGLES2_GetRenderbufferParameteriv */
    NotImplemented<decltype(Iface::GetRenderbufferParameteriv)>::entry,
    /* ZEMA_OpenGLES2_GetShaderiv */ NotImplemented<decltype(Iface::GetShaderiv)>::entry,
    /* ZEMA_OpenGLES2_GetShaderInfoLog */ NotImplemented<decltype(Iface::GetShaderInfoLog)>::entry,
    /* ZEMA_OpenGLES2_GetShaderPrecisionFormat */
    NotImplemented<decltype(Iface::GetShaderPrecisionFormat)>::entry,
    /* ZEMA_OpenGLES2_GetShaderSource */ NotImplemented<decltype(Iface::GetShaderSource)>::entry,
    /* ZEMA_OpenGLES2_GetString */ NotImplemented<decltype(Iface::GetString)>::entry,
    /* ZEMA_OpenGLES2_GetTexParameterfv */
    NotImplemented<decltype(Iface::GetTexParameterfv)>::entry,
    /* ZEMA_OpenGLES2_GetTexParameteriv */
    NotImplemented<decltype(Iface::GetTexParameteriv)>::entry,
    /* ZEMA_OpenGLES2_GetUniformfv */ NotImplemented<decltype(Iface::GetUniformfv)>::entry,
    /* ZEMA_OpenGLES2_GetUniformiv */ NotImplemented<decltype(Iface::GetUniformiv)>::entry,
    /* ZEMA_OpenGLES2_GetUniformLocation */
    NotImplemented<decltype(Iface::GetUniformLocation)>::entry,
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
    /* ZEMA_OpenGLES2_LinkProgram */ NotImplemented<decltype(Iface::LinkProgram)>::entry,
    /* ZEMA_OpenGLES2_PixelStorei */ NotImplemented<decltype(Iface::PixelStorei)>::entry,
    /* ZEMA_OpenGLES2_PolygonOffset */ NotImplemented<decltype(Iface::PolygonOffset)>::entry,
    /* ZEMA_OpenGLES2_ReadPixels */ NotImplemented<decltype(Iface::ReadPixels)>::entry,
    /* ZEMA_OpenGLES2_ReleaseShaderCompiler */
    NotImplemented<decltype(Iface::ReleaseShaderCompiler)>::entry,
    /* ZEMA_OpenGLES2_RenderbufferStorage */
    NotImplemented<decltype(Iface::RenderbufferStorage)>::entry,
    /* ZEMA_OpenGLES2_SampleCoverage */ NotImplemented<decltype(Iface::SampleCoverage)>::entry,
    /* ZEMA_OpenGLES2_Scissor */ NotImplemented<decltype(Iface::Scissor)>::entry,
    /* ZEMA_OpenGLES2_ShaderBinary */ NotImplemented<decltype(Iface::ShaderBinary)>::entry,
    /* ZEMA_OpenGLES2_ShaderSource */ NotImplemented<decltype(Iface::ShaderSource)>::entry,
    /* ZEMA_OpenGLES2_StencilFunc */ NotImplemented<decltype(Iface::StencilFunc)>::entry,
    /* ZEMA_OpenGLES2_StencilFuncSeparate */
    NotImplemented<decltype(Iface::StencilFuncSeparate)>::entry,
    /* ZEMA_OpenGLES2_StencilMask */ NotImplemented<decltype(Iface::StencilMask)>::entry,
    /* ZEMA_OpenGLES2_StencilMaskSeparate */
    NotImplemented<decltype(Iface::StencilMaskSeparate)>::entry,
    /* ZEMA_OpenGLES2_StencilOp */ NotImplemented<decltype(Iface::StencilOp)>::entry,
    /* ZEMA_OpenGLES2_StencilOpSeparate */
    NotImplemented<decltype(Iface::StencilOpSeparate)>::entry,
    /* ZEMA_OpenGLES2_TexImage2D */ NotImplemented<decltype(Iface::TexImage2D)>::entry,
    /* ZEMA_OpenGLES2_TexParameterf */ NotImplemented<decltype(Iface::TexParameterf)>::entry,
    /* ZEMA_OpenGLES2_TexParameterfv */ NotImplemented<decltype(Iface::TexParameterfv)>::entry,
    /* ZEMA_OpenGLES2_TexParameteri */ NotImplemented<decltype(Iface::TexParameteri)>::entry,
    /* ZEMA_OpenGLES2_TexParameteriv */ NotImplemented<decltype(Iface::TexParameteriv)>::entry,
    /* ZEMA_OpenGLES2_TexSubImage2D */ NotImplemented<decltype(Iface::TexSubImage2D)>::entry,
    /* ZEMA_OpenGLES2_Uniform1f */ NotImplemented<decltype(Iface::Uniform1f)>::entry,
    /* ZEMA_OpenGLES2_Uniform1fv */ NotImplemented<decltype(Iface::Uniform1fv)>::entry,
    /* ZEMA_OpenGLES2_Uniform1i */ NotImplemented<decltype(Iface::Uniform1i)>::entry,
    /* ZEMA_OpenGLES2_Uniform1iv */ NotImplemented<decltype(Iface::Uniform1iv)>::entry,
    /* ZEMA_OpenGLES2_Uniform2f */ NotImplemented<decltype(Iface::Uniform2f)>::entry,
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
    /* ZEMA_OpenGLES2_UseProgram */ NotImplemented<decltype(Iface::UseProgram)>::entry,
    /* ZEMA_OpenGLES2_ValidateProgram */ NotImplemented<decltype(Iface::ValidateProgram)>::entry,
    /* ZEMA_OpenGLES2_VertexAttrib1f */ NotImplemented<decltype(Iface::VertexAttrib1f)>::entry,
    /* ZEMA_OpenGLES2_VertexAttrib1fv */ NotImplemented<decltype(Iface::VertexAttrib1fv)>::entry,
    /* ZEMA_OpenGLES2_VertexAttrib2f */ NotImplemented<decltype(Iface::VertexAttrib2f)>::entry,
    /* ZEMA_OpenGLES2_VertexAttrib2fv */ NotImplemented<decltype(Iface::VertexAttrib2fv)>::entry,
    /* ZEMA_OpenGLES2_VertexAttrib3f */ NotImplemented<decltype(Iface::VertexAttrib3f)>::entry,
    /* ZEMA_OpenGLES2_VertexAttrib3fv */ NotImplemented<decltype(Iface::VertexAttrib3fv)>::entry,
    /* ZEMA_OpenGLES2_VertexAttrib4f */ NotImplemented<decltype(Iface::VertexAttrib4f)>::entry,
    /* ZEMA_OpenGLES2_VertexAttrib4fv */ NotImplemented<decltype(Iface::VertexAttrib4fv)>::entry,
    /* ZEMA_OpenGLES2_VertexAttribPointer */
    NotImplemented<decltype(Iface::VertexAttribPointer)>::entry,
    /* ZEMA_OpenGLES2_Viewport */ NotImplemented<decltype(Iface::Viewport)>::entry,
};

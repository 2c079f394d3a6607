// Headless GLES2 rendering targets on an EGL display.
#include "controller/gl/gl_target.h"

#include <EGL/eglext.h>
#include <GLES2/gl2ext.h>

#include <algorithm>
#include <cstring>

namespace zema::controller::gl {

namespace {

bool hasExtension(const char* list, const char* name) {
  if (list == nullptr) return false;
  size_t n = strlen(name);
  for (const char* p = list; (p = strstr(p, name)) != nullptr; p += n) {
    if ((p == list || p[-1] == ' ') && (p[n] == ' ' || p[n] == '\0')) return true;
  }
  return false;
}

std::string eglFailure(const char* what) {
  char code[16];
  snprintf(code, sizeof(code), "0x%04x", eglGetError());
  return std::string(what) + " failed (EGL error " + code + ")";
}

}  // namespace

std::unique_ptr<EglDisplay> EglDisplay::open(std::string* error) {
  std::unique_ptr<EglDisplay> d(new EglDisplay);
  // Mesa's surfaceless platform needs no window system at all; the default display is
  // the fallback (a display server, or Mesa's own choice of platform).
  const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  if (hasExtension(clientExtensions, "EGL_MESA_platform_surfaceless")) {
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay != nullptr) {
      d->display_ = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
      if (d->display_ != EGL_NO_DISPLAY && eglInitialize(d->display_, nullptr, nullptr)) {
        d->platform_ = "surfaceless";
      } else {
        d->display_ = EGL_NO_DISPLAY;
      }
    }
  }
  if (d->display_ == EGL_NO_DISPLAY) {
    d->display_ = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    if (d->display_ == EGL_NO_DISPLAY || !eglInitialize(d->display_, nullptr, nullptr)) {
      d->display_ = EGL_NO_DISPLAY;
      *error = eglFailure("opening an EGL display (surfaceless or default)");
      return nullptr;
    }
    d->platform_ = "default";
  }
  d->surfaceless_ =
      hasExtension(eglQueryString(d->display_, EGL_EXTENSIONS), "EGL_KHR_surfaceless_context");
  if (!eglBindAPI(EGL_OPENGL_ES_API)) {
    *error = eglFailure("binding the OpenGL ES API");
    return nullptr;
  }
  const EGLint attributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_ES2_BIT, EGL_SURFACE_TYPE,
                               d->surfaceless_ ? 0 : EGL_PBUFFER_BIT, EGL_NONE};
  EGLint found = 0;
  if (!eglChooseConfig(d->display_, attributes, &d->config_, 1, &found) || found < 1) {
    *error = "no GLES2 config on the " + d->platform_ + " EGL display";
    return nullptr;
  }
  return d;
}

EglDisplay::~EglDisplay() {
  if (display_ == EGL_NO_DISPLAY) return;
  eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  // Not terminated: EGL hands every user in the process the same display, and
  // terminating it would end the contexts of another EglDisplay (or of other code)
  // still using it. The contexts made here are all destroyed by now.
  eglReleaseThread();
}

bool EglDisplay::makeCurrent(EGLContext context, EGLSurface surface) {
  if (context == current_) return true;
  if (!eglMakeCurrent(display_, surface, surface, context)) return false;
  current_ = context;
  return true;
}

void EglDisplay::forget(EGLContext context) {
  if (current_ != context) return;
  eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  current_ = EGL_NO_CONTEXT;
}

std::unique_ptr<RenderTarget> RenderTarget::create(EglDisplay& display, int32_t width,
                                                   int32_t height, bool depth, bool stencil,
                                                   std::string* error) {
  std::unique_ptr<RenderTarget> t(new RenderTarget(display));
  t->depth_ = depth;
  t->wantStencil_ = stencil;
  const EGLint contextAttributes[] = {EGL_CONTEXT_CLIENT_VERSION, 2, EGL_NONE};
  t->context_ =
      eglCreateContext(display.display(), display.config(), EGL_NO_CONTEXT, contextAttributes);
  if (t->context_ == EGL_NO_CONTEXT) {
    *error = eglFailure("creating a GLES2 context");
    return nullptr;
  }
  if (!display.surfaceless()) {
    const EGLint pbuffer[] = {EGL_WIDTH, 1, EGL_HEIGHT, 1, EGL_NONE};
    t->surface_ = eglCreatePbufferSurface(display.display(), display.config(), pbuffer);
    if (t->surface_ == EGL_NO_SURFACE) {
      *error = eglFailure("creating a pbuffer");
      return nullptr;
    }
  }
  if (!t->makeCurrent()) {
    *error = eglFailure("making a GLES2 context current");
    return nullptr;
  }
  GLint renderbufferMax = 0, viewportMax[2] = {0, 0};
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbufferMax);
  glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewportMax);
  t->maxSize_ = std::min({renderbufferMax, viewportMax[0], viewportMax[1], 16384});
  glGenFramebuffers(1, &t->framebuffer_);
  glBindFramebuffer(GL_FRAMEBUFFER, t->framebuffer_);
  if (!t->resize(std::clamp(width, 0, t->maxSize_), std::clamp(height, 0, t->maxSize_))) {
    *error = "the framebuffer of a GLES2 context is not complete";
    return nullptr;
  }
  // Without a window the viewport and scissor box would start empty; a new context
  // starts with both covering its framebuffer, as a window's would.
  glViewport(0, 0, t->width_, t->height_);
  glScissor(0, 0, t->width_, t->height_);
  return t;
}

RenderTarget::~RenderTarget() {
  if (context_ == EGL_NO_CONTEXT) return;
  if (makeCurrent()) {
    GLuint renderbuffers[] = {colour_, depthStencil_, stencil_};
    glDeleteRenderbuffers(3, renderbuffers);
    glDeleteFramebuffers(1, &framebuffer_);
  }
  display_.forget(context_);
  eglDestroyContext(display_.display(), context_);
  if (surface_ != EGL_NO_SURFACE) eglDestroySurface(display_.display(), surface_);
}

bool RenderTarget::makeCurrent() {
  return display_.makeCurrent(context_, surface_);
}

bool RenderTarget::allocate() {
  GLuint renderbuffers[] = {colour_, depthStencil_, stencil_};
  glDeleteRenderbuffers(3, renderbuffers);
  colour_ = depthStencil_ = stencil_ = 0;
  if (width_ == 0 || height_ == 0) return true;  // nothing to draw into until a resize
  // The plug-in's renderbuffer binding is never set (its entries are not forwarded), so
  // binding here leaves nothing of the plug-in's behind.
  auto storage = [&](GLuint* name, GLenum format, GLenum attachment) {
    glGenRenderbuffers(1, name);
    glBindRenderbuffer(GL_RENDERBUFFER, *name);
    glRenderbufferStorage(GL_RENDERBUFFER, format, width_, height_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, attachment, GL_RENDERBUFFER, *name);
  };
  storage(&colour_, GL_RGBA8_OES, GL_COLOR_ATTACHMENT0);
  const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  if (depth_ && wantStencil_ && hasExtension(extensions, "GL_OES_packed_depth_stencil")) {
    storage(&depthStencil_, GL_DEPTH24_STENCIL8_OES, GL_DEPTH_ATTACHMENT);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                              depthStencil_);
  } else {
    if (depth_) storage(&depthStencil_, GL_DEPTH_COMPONENT16, GL_DEPTH_ATTACHMENT);
    if (wantStencil_) storage(&stencil_, GL_STENCIL_INDEX8, GL_STENCIL_ATTACHMENT);
  }
  glBindRenderbuffer(GL_RENDERBUFFER, 0);
  return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

bool RenderTarget::resize(int32_t width, int32_t height) {
  if (!makeCurrent()) return false;
  width_ = width;
  height_ = height;
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  bool complete = allocate();
  cleared_ = false;  // the new storage's contents are undefined until the first draw
  return complete;
}

void RenderTarget::clearFrame() {
  cleared_ = true;
  if (width_ == 0 || height_ == 0) return;
  GLboolean mask[4];
  glGetBooleanv(GL_COLOR_WRITEMASK, mask);
  GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glDisable(GL_SCISSOR_TEST);
  glClearDepthf(1);
  glClearStencil(0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  glColorMask(mask[0], mask[1], mask[2], mask[3]);
  if (scissor) glEnable(GL_SCISSOR_TEST);
}

void RenderTarget::finishFrame(Picture* picture) {
  beginDrawing();
  cleared_ = false;
  picture->width = width_;
  picture->height = height_;
  size_t row = size_t{static_cast<uint32_t>(width_)} * 4;
  picture->rgba.resize(row * static_cast<uint32_t>(height_));
  if (picture->rgba.empty()) return;
  // The plug-in may have set its own pack alignment; rows of four-byte pixels need 4.
  GLint alignment = 4;
  glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  scratch_.resize(picture->rgba.size());
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, scratch_.data());
  glPixelStorei(GL_PACK_ALIGNMENT, alignment);
  // GL's rows run bottom to top.
  for (int32_t y = 0; y < height_; ++y)
    memcpy(&picture->rgba[row * static_cast<uint32_t>(y)],
           &scratch_[row * static_cast<uint32_t>(height_ - 1 - y)], row);
}

}  // namespace zema::controller::gl

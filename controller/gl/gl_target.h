// Headless GLES2 rendering: one EGL display (Mesa's surfaceless platform, else the
// default display with a pbuffer per context), and rendering targets on it. A target is
// a GLES2 context of its own with a framebuffer object of the target's size; whatever
// is drawn in the context lands in that framebuffer, which is read back when a frame
// ends. No window, no display server and no GPU are needed (Mesa's software
// rasteriser stands in); a GPU is used where Mesa finds one.
//
// The framebuffer is made of renderbuffers only, so the context's texture and buffer
// names stay entirely the plug-in's.
#pragma once

#include <EGL/egl.h>
#include <GLES2/gl2.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zema::controller::gl {

// A finished frame: width × height pixels, rows top to bottom, red, green, blue, alpha.
struct Picture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> rgba;
};

class EglDisplay {
 public:
  // The display, or null with *error naming what failed (no EGL display, no GLES2
  // config, no GLES2 context).
  static std::unique_ptr<EglDisplay> open(std::string* error);
  ~EglDisplay();
  EglDisplay(const EglDisplay&) = delete;
  EglDisplay& operator=(const EglDisplay&) = delete;

  EGLDisplay display() const { return display_; }
  EGLConfig config() const { return config_; }
  // True when contexts are made current without a surface.
  bool surfaceless() const { return surfaceless_; }
  // Which platform was opened, for messages: "surfaceless" or "default".
  const std::string& platform() const { return platform_; }

  // Makes `context` (with `surface`, or none) current unless it already is.
  bool makeCurrent(EGLContext context, EGLSurface surface);
  void forget(EGLContext context);

 private:
  EglDisplay() = default;
  EGLDisplay display_ = EGL_NO_DISPLAY;
  EGLConfig config_ = nullptr;
  bool surfaceless_ = false;
  std::string platform_;
  EGLContext current_ = EGL_NO_CONTEXT;
};

class RenderTarget {
 public:
  // A context whose framebuffer is width × height (0 × 0 is allowed: nothing is drawn
  // until a resize) with a depth and/or stencil buffer as asked. Null with *error.
  static std::unique_ptr<RenderTarget> create(EglDisplay& display, int32_t width, int32_t height,
                                              bool depth, bool stencil, std::string* error);
  ~RenderTarget();
  RenderTarget(const RenderTarget&) = delete;
  RenderTarget& operator=(const RenderTarget&) = delete;

  // Makes the target's context current (a no-op when it is).
  bool makeCurrent();
  // New storage of the new size, cleared as a new frame. The caller checks the size.
  bool resize(int32_t width, int32_t height);
  // Before drawing into the frame: a frame's first draw first clears it, colour to the
  // context's clear colour at that moment, depth to 1, stencil to 0, whatever colour
  // mask and scissor test the plug-in set. So a plug-in that sets its clear colour at
  // the top of each frame (its Clear is not forwarded) gets that colour.
  void beginDrawing() {
    if (!cleared_) clearFrame();
  }
  // Ends the frame (cleared first when nothing was drawn): waits for the drawing,
  // reads it into *picture top-down; the next frame starts afresh.
  void finishFrame(Picture* picture);

  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  // The largest width and height a target may have on this GL.
  int32_t maxSize() const { return maxSize_; }

 private:
  RenderTarget(EglDisplay& display) : display_(display) {}
  bool allocate();
  void clearFrame();

  EglDisplay& display_;
  EGLContext context_ = EGL_NO_CONTEXT;
  EGLSurface surface_ = EGL_NO_SURFACE;  // a 1 × 1 pbuffer where surfaceless is not offered
  GLuint framebuffer_ = 0, colour_ = 0, depthStencil_ = 0, stencil_ = 0;
  int32_t width_ = 0, height_ = 0, maxSize_ = 0;
  bool depth_ = false, wantStencil_ = false;
  bool cleared_ = false;  // the current frame has been cleared
  std::vector<uint8_t> scratch_;
};

}  // namespace zema::controller::gl

// zema-run's side of the plug-in's GL: the executor runs it, the bound 3D context's
// swapped frames are shown like 2D frames.
#include <cstdio>

#include "zema-run/session.h"

using namespace zema::protocol;
using zema::controller::gl::GlExecutor;

bool Session::startGl() {
  if (glTried_ || !options_.gl) return gl_ != nullptr;
  glTried_ = true;
  std::string error;
  GlExecutor::Options gl;
  gl.checkEachCommand = options_.glDebug;
  gl.log = [](const std::string& line) { fprintf(stderr, "zema-run: gl: %s\n", line.c_str()); };
  gl_ = GlExecutor::create(gl, &error);
  if (!gl_)
    fprintf(stderr, "zema-run: no GL (%s); GL commands are answered with zeros, as --no-gl\n",
            error.c_str());
  return gl_ != nullptr;
}

void Session::operator()(const BindGraphics3D& m) {
  bound3D_ = m.context;
}

void Session::operator()(const SwapBuffers& m) {
  if (!startGl()) {
    unexecuted();  // logged once
    send(SwapBuffersDone{.callbackNumber = m.callbackNumber});
    return;
  }
  {
    std::lock_guard<std::mutex> guard(sendLock_);
    gl_->execute(*current_, channel_);  // acknowledges the swap once the frame is read back
  }
  if (m.context != bound3D_ || bound3D_ == 0) return;
  const zema::controller::gl::Picture* picture = gl_->picture(m.context);
  if (picture != nullptr && picture->width > 0 && picture->height > 0)
    present(picture->width, picture->height,
            std::make_shared<const std::vector<uint8_t>>(picture->rgba));
}

std::string Session::glSummary() const {
  if (!gl_ || gl_->commands() == 0) return "";
  return " GL (" + gl_->describe() + "): " + std::to_string(gl_->commands()) + " commands, " +
         std::to_string(gl_->swaps()) + " swaps, " + std::to_string(gl_->glErrors()) +
         " GL errors, " + std::to_string(gl_->refused()) + " refused.";
}

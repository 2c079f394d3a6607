// Executes the plug-in's GL on real GLES2 contexts, for a controlling process.
//
//   std::string error;
//   auto gl = zema::controller::gl::GlExecutor::create({}, &error);   // null: no GL here
//   while (auto m = channel.readMessage())
//     if (gl && GlExecutor::executes(m->code)) gl->execute(*m, channel);
//
// Each 3D context number gets a GLES2 context of its own (so GL's names need no
// mapping: the names GL hands out are the plug-in's) with a framebuffer of the
// context's size: made by MSG_CREATE_CONTEXT_3D, given new storage by
// MSG_RESIZE_BUFFERS, freed by MSG_DESTROY_CONTEXT_3D. Every forwarded GL command runs
// in order on its context; the requests are answered with GL's own values on the
// channel's reply connection.
//
// Frames: MSG_SWAP_BUFFERS waits for the drawing, reads the framebuffer back as the
// context's current picture (RGBA, top-down) and only then sends MSG_SWAP_BUFFERS_DONE.
// Clear is not forwarded, so every frame starts cleared to the context's clear colour
// (ClearColor is forwarded), depth 1 and stencil 0. The clear happens at the frame's
// first DrawArrays (or at its swap when nothing was drawn), so the clear colour is the
// one the plug-in set at the top of the frame, as it would before its own Clear. A
// plug-in that draws a full-screen quad each frame sees exactly what it drew.
//
// Nothing the host sends can make the executor read or write outside its buffers or
// make GL do so: sizes and counts are checked before any GL call or allocation, and a
// command that fails a check (a texture with more bytes than width × height × 4, a
// negative size, an unknown context, a vertex attribute read past its buffer, a
// client-side vertex array, a GL state beyond GLES2 that would change how GL reads the
// plug-in's bytes) is refused: counted, logged, its request answered neutrally, the
// channel kept in step. GL's own errors are counted (glGetError at each swap, or after
// every command with Options::checkEachCommand) and never end anything.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "controller/gl/gl_target.h"
#include "controller/host_channel.h"

namespace zema::controller::gl {

class GlExecutor {
 public:
  struct Options {
    // glGetError after every command, each error logged with the command's name.
    bool checkEachCommand = false;
    // Where refusals and GL errors are reported (one line each, no newline); stderr
    // with a "gl: " prefix when empty. At most kLogLimit lines are written.
    std::function<void(const std::string&)> log;
  };
  static constexpr int kLogLimit = 20;
  // The largest texture upload or buffer taken, in bytes.
  static constexpr uint64_t kMaxUpload = uint64_t{256} << 20;

  // Opens the EGL display; null with *error naming what failed.
  static std::unique_ptr<GlExecutor> create(Options options, std::string* error);
  ~GlExecutor();

  // True for the messages execute() acts on: the GL commands, the texture upload of a
  // mapping and the 3D context messages (not MSG_BIND_GRAPHICS_3D).
  static bool executes(uint32_t code);
  // Executes one of them; requests are answered and swaps acknowledged on `channel`.
  // False when the message was refused (it has been answered all the same).
  bool execute(const HostMessage& message, HostChannel& channel);

  // The context's last swapped frame; null for no such context or before its first swap.
  const Picture* picture(uint32_t context) const;
  // The size of the context's framebuffer, false for no such context.
  bool size(uint32_t context, int32_t* width, int32_t* height) const;

  uint64_t glErrors() const { return glErrors_; }
  uint64_t refused() const { return refused_; }
  uint64_t commands() const { return commands_; }
  uint64_t swaps() const { return swaps_; }
  // The EGL platform and GL's renderer, for a run's summary.
  std::string describe() const;

  struct Context;
  struct Run;

 private:
  GlExecutor() = default;
  friend struct Run;

  Options options_;
  std::unique_ptr<EglDisplay> display_;
  std::map<uint32_t, std::unique_ptr<Context>> contexts_;
  std::string renderer_;
  uint64_t glErrors_ = 0, refused_ = 0, commands_ = 0, swaps_ = 0;
  int logged_ = 0;
};

}  // namespace zema::controller::gl

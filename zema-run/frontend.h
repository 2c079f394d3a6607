// How zema-run presents a session: the session core (session.h) decides what each host
// message means and what to answer; a front end shows, plays and asks the user. The
// recorder (no front end at all: frames and sound go to files) and the window
// (window.h) are front ends of the same session.
//
// Every call comes from the session's thread and returns at once: a front end that
// needs time (a menu the user has to pick from) answers later through the session.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "controller/host_message.h"

// A frame's pixels, shared between the session (which keeps the latest for the snapshot)
// and the front end, so a frame is never copied on its way to the screen.
using FramePixels = std::shared_ptr<const std::vector<uint8_t>>;

class Frontend {
 public:
  virtual ~Frontend() = default;

  // A frame at its own geometry: width × height RGBA pixels, rows top to bottom.
  virtual void frame(int32_t /*width*/, int32_t /*height*/, const FramePixels& /*rgba*/) {}
  // Sound: a stream starts at its rate, brings interleaved stereo 16-bit frames, stops.
  virtual void audioStart(uint32_t /*stream*/, uint32_t /*rate*/) {}
  virtual void audioSamples(uint32_t /*stream*/, const std::vector<uint8_t>& /*frames*/) {}
  virtual void audioStop(uint32_t /*stream*/) {}
  // The cursor the plug-in asked for, as its keyword ("pointer", "hand", "none", ...).
  virtual void cursor(const std::string& /*keyword*/) {}
  // The desktop clipboard: text the plug-in wrote, and the text to read (false: there is
  // no desktop clipboard, the session answers from its own).
  virtual void clipboardWritten(const std::string& /*text*/) {}
  virtual bool clipboardText(std::string* /*text*/) { return false; }
  // A context menu to show at (x, y) of the view; true when the front end will answer
  // through Session::menuChosen, false to let the session answer (--menu).
  virtual bool showMenu(uint32_t /*number*/, int32_t /*x*/, int32_t /*y*/,
                        const std::vector<zema::controller::MenuItem>& /*items*/) {
    return false;
  }
  // The plug-in navigated the page.
  virtual void navigated(const std::string& /*url*/, const std::string& /*target*/) {}
};

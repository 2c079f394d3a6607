// How the window draws: the renderer for a window, chosen for the least CPU per frame.
//
// A GL renderer is fast where GL runs on a GPU. Where GL is a software rasteriser
// (Mesa's llvmpipe or softpipe: no GPU, a virtual display), drawing each frame as a
// textured quad costs about a core at 1920×1080 and 60 frames a second, while SDL's
// software renderer on the window system's own framebuffer (shared-memory images on X11)
// costs a sixth of that. So a software GL gives way to the software renderer. A user's
// SDL_RENDER_DRIVER is taken as it is.
#pragma once

#include <SDL2/SDL.h>

#include <string>

struct WindowRenderer {
  SDL_Renderer* renderer = nullptr;  // null when none could be made (SDL_GetError says why)
  // What was chosen and why, for the status overlay: "opengl (Mesa Intel ...)",
  // "software (GL is llvmpipe)".
  std::string description;
};

WindowRenderer createWindowRenderer(SDL_Window* window);

// True when GL's renderer string names a software rasteriser.
bool isSoftwareGl(const std::string& glRenderer);

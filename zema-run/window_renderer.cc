// The window's renderer: GL on a GPU, SDL's software renderer where GL is software.
#include "zema-run/window_renderer.h"

#include <cstdlib>

namespace {

// GL's renderer string, asked of the context the GL renderer has just made current.
std::string glRendererName() {
  using GetString = const unsigned char* (*)(unsigned int);
  auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  if (getString == nullptr || SDL_GL_GetCurrentContext() == nullptr) return "";
  constexpr unsigned int kRenderer = 0x1F01;  // GL_RENDERER
  const unsigned char* name = getString(kRenderer);
  return name != nullptr ? reinterpret_cast<const char*>(name) : "";
}

}  // namespace

bool isSoftwareGl(const std::string& glRenderer) {
  for (const char* software : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"})
    if (glRenderer.find(software) != std::string::npos) return true;
  return false;
}

WindowRenderer createWindowRenderer(SDL_Window* window) {
  WindowRenderer chosen;
  const char* asked = getenv("SDL_RENDER_DRIVER");
  bool userChose = asked != nullptr && *asked != '\0';
  chosen.renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
  if (chosen.renderer != nullptr) {
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(chosen.renderer, &info);
    std::string name = info.name != nullptr ? info.name : "?";
    std::string gl = name.rfind("opengl", 0) == 0 ? glRendererName() : "";
    chosen.description = gl.empty() ? name : name + " (" + gl + ")";
    if (userChose || !isSoftwareGl(gl)) return chosen;
    SDL_DestroyRenderer(chosen.renderer);
    chosen.renderer = nullptr;
    // Short enough for the status overlay: "software (GL is llvmpipe)".
    chosen.description = "software (GL is " + gl.substr(0, gl.find(" (")) + ")";
  } else {
    chosen.description = "software (no accelerated renderer)";
  }
  // The window system's own framebuffer, not one SDL would draw through GL again.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  chosen.renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  return chosen;
}

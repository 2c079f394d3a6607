// The command line of zema-run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One line of an events file: a click at (x, y), or a typed character.
struct ScriptedEvent {
  double atMs = 0;
  bool key = false;
  int32_t x = 0, y = 0, button = 0;
  uint32_t codePoint = 0;
};

struct RunOptions {
  std::string plugin;
  std::string documentUrl;
  std::vector<std::string> attributes;  // name, value, name, value, ...
  int32_t width = 800;
  int32_t height = 600;
  float scale = 1.0f;
  std::string font = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  std::string host;  // the host program; chosen from the plug-in's ELF class when empty
  std::string snapshot;
  std::string framesDir;
  uint32_t every = 1;
  std::string audio;
  std::string serveDir;
  std::string serveLog;  // "" : log requests on standard error
  std::vector<ScriptedEvent> events;
  double duration = 0;       // seconds; 0: until the host ends or Ctrl-C
  std::string until;         // stop once the host prints this on its standard output
  int32_t menuChoice = -1;   // -1: dismiss every menu
  std::string dataDir;       // the host's /tmp; "" with privateData
  bool privateData = false;  // a throwaway /tmp for the host, gone with the run
  bool headless = false;     // no window even where a display can be opened
  bool mute = false;         // the window plays no sound
  bool openLinks = false;    // the window hands navigations to the desktop's opener
  bool gl = true;            // execute the plug-in's GL (false: answer zeros and log)
  bool glDebug = false;      // check for GL errors after every command
};

// Where a plug-in's files live between runs: $XDG_DATA_HOME/zema/NAME (by default
// ~/.local/share/zema/NAME), NAME the plug-in file's name without ".so"; "" when neither
// XDG_DATA_HOME nor HOME is set.
std::string defaultDataDir(const std::string& plugin);

// Parses argv; on a mistake returns nothing and sets *error to a one-line reason.
std::optional<RunOptions> parseOptions(int argc, char** argv, std::string* error);

extern const char kUsage[];

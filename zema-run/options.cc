// The command line of zema-run.
#include "zema-run/options.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

const char kUsage[] =
    "usage: zema-run [options] PLUGIN.so DOCUMENT-URL [NAME VALUE]...\n"
    "Runs a Pepper plug-in in zema-host and plays its controlling process: in a window\n"
    "where a display can be opened, headless otherwise (frames and sound to files).\n"
    "\n"
    "  --size WxH        the view size, and the window's (default 800x600)\n"
    "  --headless        no window: the recorder only\n"
    "  --mute            the window plays no sound (F8 toggles, F9 and F10 set the volume)\n"
    "  --open-links      hand the plug-in's navigations to the desktop (xdg-open)\n"
    "  --scale F         the device scale (default 1)\n"
    "  --font FILE       the font the host draws text with (default DejaVu Sans)\n"
    "  --host PROGRAM    the zema-host program (default: the one installed or built beside\n"
    "                    zema-run for the plug-in's 32 or 64 bits)\n"
    "  --snapshot FILE   write the last frame as PNG at the end\n"
    "  --frames DIR      write frames as PNG files into DIR\n"
    "  --every N         with --frames, every Nth frame only (default 1)\n"
    "  --audio FILE      mix the audio streams into a WAV file\n"
    "  --serve DIR       serve URLs under the document's origin from DIR (404 for what\n"
    "                    is missing); file: URLs come from disk, other http and https\n"
    "                    URLs from the network\n"
    "  --serve-log FILE  append one line per URL request to FILE: method, URL, status,\n"
    "                    and a POST's body (default: standard error)\n"
    "  --events FILE     scripted input, one event per line: 'MS mouse X Y [BUTTON]'\n"
    "                    (a click; button 0 left, 1 middle, 2 right) or 'MS key CHAR'\n"
    "                    (a typed character), MS milliseconds after the start\n"
    "  --duration S      stop after S seconds (default: when the host ends, or Ctrl-C)\n"
    "  --until TEXT      stop once the host prints TEXT on its standard output\n"
    "  --menu ID         answer context menus with item ID (default: dismiss them)\n"
    "  --data DIR        the plug-in's files (its /tmp) live in DIR (default:\n"
    "                    $XDG_DATA_HOME/zema/NAME, or ~/.local/share/zema/NAME)\n"
    "  --private         a throwaway folder for the plug-in's files instead\n"
    "  --no-gl           do not execute the plug-in's GL: answer its queries with zeros\n"
    "                    and log (a 3D context's frames are then not shown)\n"
    "  --gl-debug        check for GL errors after every GL command and log each\n"
    "  --help            this text\n";

namespace {

bool number(const char* text, double* out) {
  char* end = nullptr;
  *out = strtod(text, &end);
  return end != text && *end == '\0';
}

// The code point at the start of UTF-8 text, or 0 when it does not start with one.
uint32_t firstCodePoint(const std::string& text) {
  if (text.empty()) return 0;
  auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  uint8_t lead = byte(0);
  size_t length = lead < 0x80         ? 1
                  : (lead >> 5) == 6  ? 2
                  : (lead >> 4) == 14 ? 3
                  : (lead >> 3) == 30 ? 4
                                      : 0;
  if (length == 0 || text.size() < length) return 0;
  uint32_t cp = length == 1 ? lead : lead & (0x7f >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xc0) != 0x80) return 0;
    cp = cp << 6 | (byte(i) & 0x3f);
  }
  return cp;
}

bool readEvents(const char* file, std::vector<ScriptedEvent>* events, std::string* error) {
  std::ifstream in(file);
  if (!in) {
    *error = "cannot read the events file " + std::string(file);
    return false;
  }
  std::string line;
  for (int lineNumber = 1; std::getline(in, line); ++lineNumber) {
    std::istringstream words(line);
    ScriptedEvent e;
    std::string kind;
    if (!(words >> kind) || kind[0] == '#') continue;  // blank line or comment
    bool ok = number(kind.c_str(), &e.atMs);
    if (ok && words >> kind && kind == "mouse") {
      ok = static_cast<bool>(words >> e.x >> e.y);
      if (ok && !(words >> e.button)) e.button = 0;
    } else if (ok && kind == "key") {
      std::string ch;
      e.key = true;
      ok = words >> ch && (e.codePoint = firstCodePoint(ch)) != 0;
    } else {
      ok = false;
    }
    if (!ok || e.atMs < 0 || e.button < 0 || e.button > 2) {
      *error = std::string(file) + ":" + std::to_string(lineNumber) + ": not an event: " + line;
      return false;
    }
    events->push_back(e);
  }
  std::stable_sort(events->begin(), events->end(),
                   [](const ScriptedEvent& a, const ScriptedEvent& b) { return a.atMs < b.atMs; });
  return true;
}

}  // namespace

std::optional<RunOptions> parseOptions(int argc, char** argv, std::string* error) {
  RunOptions o;
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg.rfind("--", 0) != 0 || !positional.empty()) {
      positional.push_back(arg);
      continue;
    }
    if (arg == "--help") {
      *error = "help";
      return std::nullopt;
    }
    if (arg == "--headless" || arg == "--mute" || arg == "--open-links") {
      (arg == "--headless" ? o.headless : arg == "--mute" ? o.mute : o.openLinks) = true;
      continue;
    }
    if (arg == "--private") {
      o.privateData = true;
      continue;
    }
    if (arg == "--no-gl") {
      o.gl = false;
      continue;
    }
    if (arg == "--gl-debug") {
      o.glDebug = true;
      continue;
    }
    if (i + 1 >= argc) {
      *error = "option " + arg + " needs a value";
      return std::nullopt;
    }
    const char* value = argv[++i];
    double n = 0;
    if (arg == "--size") {
      int w = 0, h = 0;
      char extra = 0;
      if (sscanf(value, "%dx%d%c", &w, &h, &extra) != 2 || w <= 0 || h <= 0) {
        *error = "--size wants WIDTHxHEIGHT, not " + std::string(value);
        return std::nullopt;
      }
      o.width = w, o.height = h;
    } else if (arg == "--scale" && number(value, &n) && n > 0) {
      o.scale = static_cast<float>(n);
    } else if (arg == "--font") {
      o.font = value;
    } else if (arg == "--host") {
      o.host = value;
    } else if (arg == "--snapshot") {
      o.snapshot = value;
    } else if (arg == "--frames") {
      o.framesDir = value;
    } else if (arg == "--every" && number(value, &n) && n >= 1) {
      o.every = static_cast<uint32_t>(n);
    } else if (arg == "--audio") {
      o.audio = value;
    } else if (arg == "--serve") {
      o.serveDir = value;
    } else if (arg == "--serve-log") {
      o.serveLog = value;
    } else if (arg == "--events") {
      if (!readEvents(value, &o.events, error)) return std::nullopt;
    } else if (arg == "--duration" && number(value, &n) && n > 0) {
      o.duration = n;
    } else if (arg == "--until" && *value != '\0') {
      o.until = value;
    } else if (arg == "--data" && *value != '\0') {
      o.dataDir = value;
    } else if (arg == "--menu" && number(value, &n)) {
      o.menuChoice = static_cast<int32_t>(n);
    } else {
      *error = "unknown option or bad value: " + arg + " " + value;
      return std::nullopt;
    }
  }
  if (positional.size() < 2 || positional.size() % 2 != 0) {
    *error = "give the plug-in, the document URL and NAME VALUE pairs (see --help)";
    return std::nullopt;
  }
  o.plugin = positional[0];
  o.documentUrl = positional[1];
  o.attributes.assign(positional.begin() + 2, positional.end());
  struct stat st;
  if (stat(o.plugin.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    *error = "no plug-in file " + o.plugin;
    return std::nullopt;
  }
  if (o.privateData) {
    o.dataDir.clear();
  } else if (o.dataDir.empty()) {
    o.dataDir = defaultDataDir(o.plugin);
    if (o.dataDir.empty()) {
      *error =
          "no folder for the plug-in's files: set HOME or XDG_DATA_HOME, or give --data DIR "
          "or --private";
      return std::nullopt;
    }
  }
  return o;
}

std::string defaultDataDir(const std::string& plugin) {
  std::string name = plugin.substr(plugin.find_last_of('/') + 1);
  if (name.size() > 3 && name.compare(name.size() - 3, 3, ".so") == 0) name.resize(name.size() - 3);
  const char* xdg = getenv("XDG_DATA_HOME");
  const char* home = getenv("HOME");
  // Relative values of XDG_DATA_HOME are to be ignored, as the base-directory rules say.
  if (xdg != nullptr && xdg[0] == '/') return std::string(xdg) + "/zema/" + name;
  if (home != nullptr && home[0] == '/') return std::string(home) + "/.local/share/zema/" + name;
  return "";
}

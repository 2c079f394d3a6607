// The command line of zema-run.
#include "zema-run/options.h"

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>

const char kUsage[] =
    "usage: zema-run [options] PLUGIN.so DOCUMENT-URL [NAME VALUE]...\n"
    "Runs a Pepper plug-in in zema-host and plays its controlling process.\n"
    "\n"
    "  --size WxH        the view size (default 800x600)\n"
    "  --scale F         the device scale (default 1)\n"
    "  --font FILE       the font the host draws text with (default DejaVu Sans)\n"
    "  --host PROGRAM    the zema-host program (default: the build's, by the plug-in's class)\n"
    "  --snapshot FILE   write the last frame as PNG at the end\n"
    "  --frames DIR      write frames as PNG files into DIR\n"
    "  --every N         with --frames, every Nth frame only (default 1)\n"
    "  --audio FILE      mix the audio streams into a WAV file\n"
    "  --serve DIR       serve URLs under the document's origin from DIR\n"
    "  --events FILE     scripted input: lines 'MS mouse X Y [BUTTON]' or 'MS key CHAR'\n"
    "  --duration S      stop after S seconds (default: when the host ends, or Ctrl-C)\n"
    "  --menu ID         answer context menus with item ID (default: dismiss them)\n"
    "  --help            this text\n";

namespace {

bool number(const char* text, double* out) {
  char* end = nullptr;
  *out = strtod(text, &end);
  return end != text && *end == '\0';
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
    } else if (arg == "--events") {
      o.events = value;
    } else if (arg == "--duration" && number(value, &n) && n > 0) {
      o.duration = n;
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
  return o;
}

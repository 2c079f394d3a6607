// "persist": a file the plug-in keeps in its writable root between runs. It reports
// what the file held, then writes its "value" attribute into it.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tests/plugins/test_plugin.h"

namespace {

constexpr char kFile[] = "/tmp/WritableRoot/persist.txt";

void persist(const testplugin::Args& args) {
  char held[256] = "(none)";
  if (FILE* in = fopen(kFile, "r")) {
    size_t n = fread(held, 1, sizeof(held) - 1, in);
    held[n] = '\0';
    fclose(in);
  }
  testplugin::report("persist read %s", held);
  const char* value = args.get("value", "");
  FILE* out = fopen(kFile, "w");
  bool written = out != nullptr && fputs(value, out) >= 0;
  if (out != nullptr) written = fclose(out) == 0 && written;
  testplugin::report("persist wrote %s %s", value, written ? "ok" : strerror(errno));
}

testplugin::ScenarioRegistrar persistRegistrar("persist", {persist});

}  // namespace

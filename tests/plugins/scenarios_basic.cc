// Scenarios that exercise start-up itself.
#include <signal.h>
#include <stdio.h>
#include <string.h>

#include "tests/plugins/test_plugin.h"

namespace {

using testplugin::Args;
using testplugin::report;

// Does nothing beyond announcing itself, with the ids the host handed over.
void noop(const Args&) {
  report("noop module=%d instance=%d", testplugin::moduleId(), testplugin::instance());
}

// For every attribute named "interface", says whether the host offers that interface.
void queryInterfaces(const Args& args) {
  for (uint32_t i = 0; i < args.argc; ++i) {
    if (strcmp(args.argn[i], "interface") != 0) continue;
    report("interface %s %s", args.argv[i],
           testplugin::hostInterface(args.argv[i]) != nullptr ? "present" : "absent");
  }
}

// Dies on SIGSEGV at the first view change, after a last word on standard error: a
// plug-in that crashes the host once it is running.
void dieOnView(PP_Resource) {
  fputs("plug-in: giving up\n", stderr);
  fflush(stderr);
  raise(SIGSEGV);
}

testplugin::ScenarioRegistrar noopRegistrar("noop", {noop});
testplugin::ScenarioRegistrar dieRegistrar("die-on-view", {nullptr, dieOnView});
testplugin::ScenarioRegistrar queryRegistrar("query-interfaces", {queryInterfaces});

}  // namespace

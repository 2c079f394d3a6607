// The test plug-in: one shared library, loaded by the host as its plug-in, whose
// DidCreate attribute "scenario" picks what it does. Scenario files in this folder
// register themselves; nothing else needs to change to add one:
//
//   #include "tests/plugins/test_plugin.h"
//   namespace {
//   void run(const testplugin::Args& args) {
//     auto* core = testplugin::hostInterfaceAs<PPB_Core_1_0>("PPB_Core;1.0");
//     testplugin::report("time %f", core->GetTime());
//   }
//   testplugin::ScenarioRegistrar registrar("my-scenario", {run});
//   }  // namespace
//
// Everything the plug-in prints goes to the host's standard output, one line at a time,
// flushed at once, so the test reads it as it happens.
#pragma once

#include <cstdint>

#include "ppapi/pp_types.h"

namespace testplugin {

// The attributes DidCreate received: names and values, pointing at the host's strings.
struct Args {
  uint32_t argc = 0;
  const char** argn = nullptr;
  const char** argv = nullptr;

  // The value of the last attribute named `name`, or `fallback` when there is none.
  const char* get(const char* name, const char* fallback = nullptr) const;
  // The same, as an integer (decimal, or hexadecimal with 0x).
  long getInt(const char* name, long fallback = 0) const;
};

struct Scenario {
  // Runs inside DidCreate, after the DIDCREATE lines are printed.
  void (*didCreate)(const Args& args) = nullptr;
  // Optional hooks; without them the plug-in prints one line per call (see
  // plugin_main.cc) and answers PP_FALSE to input events.
  void (*didChangeView)(PP_Resource view) = nullptr;
  PP_Bool (*handleInputEvent)(PP_Resource event) = nullptr;
};

// Registers a scenario under `name` from a static object's constructor.
class ScenarioRegistrar {
 public:
  ScenarioRegistrar(const char* name, Scenario scenario);
};

// One line on standard output, "PLUGIN " followed by the formatted text, flushed.
void report(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The host's interface table for `name` (through the lookup function the host passed to
// PPP_InitializeModule), or null.
const void* hostInterface(const char* name);
template <class T>
const T* hostInterfaceAs(const char* name) {
  return static_cast<const T*>(hostInterface(name));
}

// The key code of a keyboard event: the step number of the multi-step scenarios, whose
// tests send one key event per step.
uint32_t keyCode(PP_Resource event);

// The module id from PPP_InitializeModule and the instance from DidCreate.
PP_Module moduleId();
PP_Instance instance();
// The attributes of DidCreate; valid for the life of the process once DidCreate ran.
const Args& args();

}  // namespace testplugin

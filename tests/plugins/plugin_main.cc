// Entry points of the test plug-in and its two plug-in interfaces.
//
// Lines printed on standard output (tests match on them):
//   DIDCREATE argc=<n> instance=<i>     when DidCreate is called
//   ARG <index> <name>=<value>          one per attribute pair, in order
//   DIDCHANGEVIEW view=<id>             DidChangeView, when the scenario has no hook
//   INPUTEVENT event=<id>               HandleInputEvent, when the scenario has no hook
//   PLUGIN <text>                       report() from a scenario
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <map>
#include <string>

#include "ppapi/ppb_input_event.h"
#include "ppapi/ppp.h"
#include "tests/plugins/test_plugin.h"

namespace testplugin {
namespace {

PPB_GetInterface hostGetInterface = nullptr;
PP_Module moduleNumber = 0;
PP_Instance currentInstance = 0;
Args currentArgs;
const Scenario* currentScenario = nullptr;

// Built on first use, so registrars in other files may run in any order.
std::map<std::string, Scenario>& registry() {
  static std::map<std::string, Scenario> scenarios;
  return scenarios;
}

void printLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
void vprintLine(const char* prefix, const char* format, va_list ap) {
  fputs(prefix, stdout);
  vprintf(format, ap);
  fputc('\n', stdout);
  fflush(stdout);
}

void printLine(const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  vprintLine("", format, ap);
  va_end(ap);
}

PP_Bool didCreate(PP_Instance instance, uint32_t argc, const char* argn[], const char* argv[]) {
  currentInstance = instance;
  currentArgs = Args{argc, argn, argv};
  printLine("DIDCREATE argc=%u instance=%d", argc, instance);
  for (uint32_t i = 0; i < argc; ++i) printLine("ARG %u %s=%s", i, argn[i], argv[i]);

  const char* name = currentArgs.get("scenario");
  if (name == nullptr) return PP_TRUE;
  auto it = registry().find(name);
  if (it == registry().end()) {
    report("unknown scenario %s", name);
    return PP_TRUE;
  }
  currentScenario = &it->second;
  if (currentScenario->didCreate != nullptr) currentScenario->didCreate(currentArgs);
  return PP_TRUE;
}

void didDestroy(PP_Instance) {
  printLine("DIDDESTROY");
}

void didChangeView(PP_Instance, PP_Resource view) {
  if (currentScenario != nullptr && currentScenario->didChangeView != nullptr) {
    currentScenario->didChangeView(view);
  } else {
    printLine("DIDCHANGEVIEW view=%d", view);
  }
}

void didChangeFocus(PP_Instance, PP_Bool hasFocus) {
  printLine("DIDCHANGEFOCUS %d", hasFocus);
}

PP_Bool handleDocumentLoad(PP_Instance, PP_Resource) {
  return PP_FALSE;
}

PP_Bool handleInputEvent(PP_Instance, PP_Resource event) {
  if (currentScenario != nullptr && currentScenario->handleInputEvent != nullptr) {
    return currentScenario->handleInputEvent(event);
  }
  printLine("INPUTEVENT event=%d", event);
  return PP_FALSE;
}

const PPP_Instance_1_1 instanceInterface = {didCreate, didDestroy, didChangeView, didChangeFocus,
                                            handleDocumentLoad};
const PPP_InputEvent_0_1 inputInterface = {handleInputEvent};

}  // namespace

const char* Args::get(const char* name, const char* fallback) const {
  const char* value = fallback;
  for (uint32_t i = 0; i < argc; ++i) {
    if (argn[i] != nullptr && strcmp(argn[i], name) == 0) value = argv[i];
  }
  return value;
}

long Args::getInt(const char* name, long fallback) const {
  const char* value = get(name);
  if (value == nullptr) return fallback;
  char* end = nullptr;
  long result = strtol(value, &end, 0);
  return end != value ? result : fallback;
}

ScenarioRegistrar::ScenarioRegistrar(const char* name, Scenario scenario) {
  registry()[name] = scenario;
}

void report(const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  vprintLine("PLUGIN ", format, ap);
  va_end(ap);
}

const void* hostInterface(const char* name) {
  return hostGetInterface != nullptr ? hostGetInterface(name) : nullptr;
}

PP_Module moduleId() {
  return moduleNumber;
}

PP_Instance instance() {
  return currentInstance;
}

const Args& args() {
  return currentArgs;
}

}  // namespace testplugin

extern "C" {

__attribute__((visibility("default"))) int32_t PPP_InitializeModule(
    PP_Module hostModule, PPB_GetInterface getBrowserInterface) {
  testplugin::moduleNumber = hostModule;
  testplugin::hostGetInterface = getBrowserInterface;
  // A test that wants start-up refused puts the result to answer in this file.
  if (FILE* f = fopen("/zema/initialize-result", "r")) {
    int result = PP_OK;
    if (fscanf(f, "%d", &result) != 1) result = PP_ERROR_FAILED;
    fclose(f);
    return result;
  }
  return PP_OK;
}

__attribute__((visibility("default"))) const void* PPP_GetInterface(const char* name) {
  if (strcmp(name, "PPP_Instance;1.1") == 0) return &testplugin::instanceInterface;
  if (strcmp(name, "PPP_InputEvent;0.1") == 0) return &testplugin::inputInterface;
  return nullptr;
}

}  // extern "C"

uint32_t testplugin::keyCode(PP_Resource event) {
  static const auto* key =
      hostInterfaceAs<PPB_KeyboardInputEvent_1_0>("PPB_KeyboardInputEvent;1.0");
  return key != nullptr ? key->GetKeyCode(event) : 0;
}

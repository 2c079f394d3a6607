// "PPB_Console;1.0": console messages, printed on standard output.
#include "services/console.h"

#include <stdio.h>

#include "resources/var.h"

static void ZEMA_ConsoleLog(PP_Instance, PP_LogLevel, PP_Var value) {
  if (value.type != PP_VARTYPE_STRING) return;
  const char* text = ZEMA_VarToUtf8(value, nullptr);
  if (text == nullptr) return;
  printf("%s\n", text);  // up to the first NUL
  fflush(stdout);
}

static void ZEMA_ConsoleLogWithSource(PP_Instance, PP_LogLevel, PP_Var, PP_Var) {}

const PPB_Console_1_0 ppbConsole = {
    ZEMA_ConsoleLog,
    ZEMA_ConsoleLogWithSource,
};
